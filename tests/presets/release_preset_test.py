#!/usr/bin/env python3
"""The `release` preset configures only a release that names its server and
carries a key of its own (or says it is unsigned), never the test key, and
makes the updater alone, without test hooks. Configures, does not build.

  release_preset_test.py SOURCE_DIR [unittest arguments]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = sys.argv[1]
with open(os.path.join(SOURCE, "tests", "e2e", "test_release_key.pub")) as f:
    TEST_PUBLIC_KEY = f.read().strip()
with open(os.path.join(SOURCE, "tests", "e2e", "test_release_key2.pub")) as f:
    SECOND_TEST_PUBLIC_KEY = f.read().strip()


class ReleasePreset(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="release-preset-test-")
        key = os.path.join(cls.dir, "vendor.pem")
        cls.vendor_key = subprocess.run(["python3", os.path.join(SOURCE, "tools", "publish_manifest.py"),
                                         "keygen", key], check=True, capture_output=True,
                                        text=True).stdout.strip()
        cls.new_key = subprocess.run(["python3", os.path.join(SOURCE, "tools", "publish_manifest.py"),
                                      "keygen", os.path.join(cls.dir, "new.pem")], check=True, capture_output=True,
                                     text=True).stdout.strip()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def configure(self, name, *args):
        """Configures the preset into a fresh folder; returns (exit code, output, folder)."""
        build = os.path.join(self.dir, name)
        result = subprocess.run(["cmake", "--preset", "release", "-B", build, *args], cwd=SOURCE,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return result.returncode, result.stdout, build

    def assert_refused(self, name, message, *args):
        code, output, _ = self.configure(name, *args)
        self.assertNotEqual(code, 0, output)
        self.assertIn(message, " ".join(output.split()))

    def assert_release(self, build):
        with open(os.path.join(build, "CMakeCache.txt")) as f:
            cache = f.read()
        for entry in ("CMAKE_BUILD_TYPE:STRING=Release", "UPDATER_TEST_HOOKS:BOOL=OFF", "UPDATE_REQUIRE_FRESHNESS:BOOL=ON",
                      "UPDATER_BUILD_TESTS:BOOL=OFF", "UPDATE_HOST:STRING=updates.example.com",
                      "CMAKE_CXX_FLAGS_RELEASE:STRING=-O2 -DNDEBUG", "CMAKE_EXE_LINKER_FLAGS_RELEASE:STRING=-s"):
            self.assertIn(entry + "\n", cache)
        self.assertIn("i686-w64-mingw32", cache)
        # The updater's host library is compiled without the environment override.
        with open(os.path.join(build, "app", "CMakeFiles", "release_key.dir", "flags.make")) as f:
            flags = f.read()
        self.assertIn('UPDATE_HOST=\\"updates.example.com\\"', flags)
        self.assertNotIn("UPDATER_TEST_HOOKS", flags)
        self.assertIn("UPDATE_REQUIRE_FRESHNESS=1", flags)
        targets = subprocess.run(["cmake", "--build", build, "--target", "help"], check=True,
                                 capture_output=True, text=True).stdout.split()
        self.assertIn("updater", targets)
        for other in ("uia", "payload", "gallery", "download_bench", "runtime_win_test", "e2e_update",
                      "updater_TESTKEY_DO_NOT_SHIP", "gtest"):
            self.assertNotIn(other, targets)

    def test_refused_configurations(self):
        host = "-DUPDATE_HOST=updates.example.com"
        self.assert_refused("no-host", "needs the update server", f"-DUPDATE_PUBLIC_KEY={self.vendor_key}")
        self.assert_refused("empty-host", "needs the update server", "-DUPDATE_HOST=",
                            f"-DUPDATE_PUBLIC_KEY={self.vendor_key}")
        self.assert_refused("no-key", "needs the release public key", host)
        for name, key, extra in (("test-key", TEST_PUBLIC_KEY.upper(), []),
                                 ("test-key-unsigned-allowed", TEST_PUBLIC_KEY, ["-DUPDATE_ALLOW_UNSIGNED=ON"]),
                                 ("second-test-key-in-a-list", f"{self.vendor_key}, {SECOND_TEST_PUBLIC_KEY}", [])):
            with self.subTest(name):
                self.assert_refused(name, "holds a test key", host, f"-DUPDATE_PUBLIC_KEY={key}", *extra)
        self.assert_refused("short-key-in-a-list", "keys of 128 hexadecimal digits", host,
                            f"-DUPDATE_PUBLIC_KEY={self.vendor_key},{self.vendor_key[:64]}")
        self.assert_refused("test-hooks", "has no test hooks", host, f"-DUPDATE_PUBLIC_KEY={self.vendor_key}",
                            "-DUPDATER_TEST_HOOKS=ON")

    def test_accepted_configurations(self):
        host = "-DUPDATE_HOST=updates.example.com"
        for name, args in (("unsigned", [host, "-DUPDATE_ALLOW_UNSIGNED=ON"]),
                           ("vendor-key", [host, f"-DUPDATE_PUBLIC_KEY={self.vendor_key}"]),
                           ("old-and-new-vendor-keys", [host, f"-DUPDATE_PUBLIC_KEY={self.vendor_key},{self.new_key}"])):
            with self.subTest(name):
                code, output, build = self.configure(name, *args)
                self.assertEqual(code, 0, output)
                self.assert_release(build)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], verbosity=2)
