#!/usr/bin/env python3
"""tools/publish_manifest.py writes the manifest's publish and expiry times
and signs only a version of dot-separated numbers.

  publish_manifest_test.py SOURCE_DIR [unittest arguments]
"""
import datetime
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = sys.argv[1]
TOOL = os.path.join(SOURCE, "tools", "publish_manifest.py")
TEST_KEY = os.path.join(SOURCE, "tests", "e2e", "test_release_key.pem")
TIME_FORMAT = "%Y-%m-%dT%H:%M:%SZ"


class PublishManifest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="publish-manifest-test-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        with open(os.path.join(self.dir, "Norvane.exe"), "wb") as f:
            f.write(b"MZ program")

    def publish(self, *args):
        return subprocess.run(["python3", TOOL, self.dir, "--host", "h", *args], capture_output=True, text=True)

    def field(self, name):
        with open(os.path.join(self.dir, "GX.txt"), "rb") as f:
            text = f.read().decode("gbk")
        start = text.index(f"[{name}]") + len(name) + 2
        return text[start:text.index(f"[/{name}]")]

    def test_publish_and_expiry_times(self):
        self.assertEqual(self.publish("--version", "2.0", "--published-at", "2026-12-08T12:00:00Z",
                                      "--expires-in", "1.5").returncode, 0)
        self.assertEqual(self.field("发布时间"), "2026-12-08T12:00:00Z")
        self.assertEqual(self.field("有效期"), "2026-12-10T00:00:00Z")

        before = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
        self.assertEqual(self.publish("--version", "2.0").returncode, 0)
        after = datetime.datetime.now(datetime.timezone.utc)
        published = datetime.datetime.strptime(self.field("发布时间"), TIME_FORMAT).replace(
            tzinfo=datetime.timezone.utc)
        expires = datetime.datetime.strptime(self.field("有效期"), TIME_FORMAT).replace(tzinfo=datetime.timezone.utc)
        self.assertTrue(before <= published <= after)
        self.assertEqual(expires - published, datetime.timedelta(days=30))

        for bad in (["--published-at", "2026-12-08 12:00:00"], ["--published-at", "2026-02-30T00:00:00Z"],
                    ["--expires-in", "0"], ["--expires-in", "-3"]):
            with self.subTest(bad):
                result = self.publish("--version", "2.0", *bad)
                self.assertNotEqual(result.returncode, 0)

    def test_a_signed_version_must_be_numeric(self):
        for version, extra in (("2.0b", []), (" 2.1", []), ("1..2", []), ("", []), ("2.0", ["--set", "版本=2.0b"])):
            with self.subTest(version=version, extra=extra):
                result = self.publish("--version", version, "--key", TEST_KEY, *extra)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("needs a version of dot-separated numbers", result.stderr)
                self.assertFalse(os.path.exists(os.path.join(self.dir, "GX.sig")))
        self.assertEqual(self.publish("--version", "2.10.3", "--key", TEST_KEY).returncode, 0)
        self.assertTrue(os.path.exists(os.path.join(self.dir, "GX.sig")))
        # Unsigned manifests keep any version.
        self.assertEqual(self.publish("--version", "2.0b").returncode, 0)
        self.assertEqual(self.field("版本"), "2.0b")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], verbosity=2)
