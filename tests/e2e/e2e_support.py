#!/usr/bin/env python3
"""What every end-to-end test shares: the installation and server folders of
one scenario, the local update server, uia.exe, file hashes and the
updater's log. Each e2e_*.py / run_e2e.py script is run as

  SCRIPT SOURCE_DIR BIN_DIR [unittest arguments]

and calls main() at its end.
"""
import hashlib
import json
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

SOURCE, BIN = sys.argv[1], sys.argv[2]
WINE_RUN = os.path.join(SOURCE, "scripts", "wine-run")
CAPTION = "提示信息"
IDOK, IDYES, IDNO = 1, 6, 7

SERVER_FAILURE = " 服务器连接失败请重试！    BY:Halvord"
MAIN_QUESTION = "更新完成！是否启动新程序！选择是启动新程序选择否关闭退出程序   BY:Halvord"
INSTALLER_QUESTION = "更新完成！建议选择是安装新版本！选择是启动新程序选择否关闭退出程序   BY:Halvord"
UPDATE_FAILED = "更新出错，请重新更新！ BY:Halvord"
READ_ERROR = "读文件出错!"
# The e2e test release key (a test key only): the test-only updater
# updater_TESTKEY_DO_NOT_SHIP.exe, built beside BIN in test-only/, trusts its
# public half, tests/e2e/test_release_key.pub, and that of a second test key
# (test_release_key2.pem), as an updater does while a key is rotated.
TEST_KEY = os.path.join(SOURCE, "tests", "e2e", "test_release_key.pem")
TEST_ONLY = os.path.join(os.path.dirname(os.path.normpath(BIN)), "test-only")
SIGNED_UPDATER = os.path.join(TEST_ONLY, "updater_TESTKEY_DO_NOT_SHIP.exe")
LOG_LINE = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+\] \S")

MANIFEST_HEADERS = ("Accept: */*\r\nReferer: {url}\r\nAccept-Language: zh-cn\r\n"
                    "Content-Type: application/x-www-form-urlencoded")
DOWNLOAD_HEADERS = ("Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
                    "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)")


def sha(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def flat(text):
    return text.replace("\r", "").replace("\n", "")


def uia(*args, timeout_ms=60000):
    """Runs uia.exe; returns (found, text). The wait is generous: it costs
    time only when a box never comes, and two Wine test runs side by side on
    a loaded machine can hold a program's start for many seconds.

    Its output goes through a file, not a pipe: a Wine program may start the
    prefix's desktop process, which inherits the standard handles and lives
    as long as the updater, so a pipe would not reach its end."""
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([WINE_RUN, os.path.join(BIN, "uia.exe"), *args, str(timeout_ms)],
                                stdout=out, stderr=subprocess.DEVNULL, timeout=timeout_ms / 1000 + 30)
        out.seek(0)
        text = out.read().decode("gbk", "replace")
    return result.returncode == 0, flat(text.rstrip("\r\n"))


class Scenario:
    """An installation directory, a server folder with a manifest published by
    tools/publish_manifest.py (with checksums unless checksum=False, signed
    with `key` when given), and the updater (SIGNED_UPDATER, which checks
    signatures with the test key, when signed_build)."""

    def __init__(self, test, manifest_fields, server_args=(), local_version="1.0", host=None, checksum=True,
                 signed_build=False, key=None):
        self.test = test
        self.root = tempfile.mkdtemp(prefix="e2e-", dir=os.path.join(SOURCE, "build"))
        self.install = os.path.join(self.root, "install")
        self.served = os.path.join(self.root, "served")
        os.makedirs(self.install)
        os.makedirs(self.served)
        program = SIGNED_UPDATER if signed_build else os.path.join(BIN, "updater.exe")
        shutil.copy(program, os.path.join(self.install, "updater.exe"))
        # The installed program: any file that is not the new one.
        shutil.copy(os.path.join(BIN, "uia.exe"), os.path.join(self.install, "Norvane.exe"))
        if local_version is not None:
            with open(os.path.join(self.install, "config.ini"), "wb") as f:
                f.write(f"[配置]\r\n当前版本号={local_version}\r\n".encode("gbk"))
        self.new_program = os.path.join(self.served, "Norvane.exe")
        shutil.copy(os.path.join(BIN, "payload.exe"), self.new_program)
        shutil.copy(os.path.join(BIN, "payload.exe"), os.path.join(self.served, "setup.exe"))
        self.log = os.path.join(self.root, "requests.jsonl")
        self.server = None
        self.port = None
        self.manifest_fields = manifest_fields
        self.checksum = checksum
        self.key = key
        self.start_server(server_args)
        self.host = host or f"127.0.0.1:{self.port}"
        self.write_manifest()
        self.updater = None

    def start_server(self, server_args):
        if self.server:
            self.server.terminate()
            self.server.wait()
        port_file = os.path.join(self.root, "port")
        if os.path.exists(port_file):
            os.remove(port_file)
        args = ["python3", os.path.join(SOURCE, "tools", "update_server.py"), self.served,
                "--port-file", port_file, "--log", self.log, *server_args]
        if self.port:
            args += ["--port", str(self.port)]
        self.server = subprocess.Popen(args)
        deadline = time.time() + 30
        while not os.path.exists(port_file):
            self.test.assertIsNone(self.server.poll(), "the update server ended at start")
            self.test.assertLess(time.time(), deadline, "the update server did not start")
            time.sleep(0.05)
        with open(port_file) as f:
            self.port = int(f.read())

    def write_manifest(self, output=None, fields=None):
        """Publishes the served folder (to GX.txt there unless output); a
        field given as None is left out."""
        args = ["python3", os.path.join(SOURCE, "tools", "publish_manifest.py"), self.served,
                "--version", "2.0", "--host", f"127.0.0.1:{self.port}", "--kind", "main",
                "--name", "Norvane", "--changelog", "修复了若干问题&nbsp;"]
        if not self.checksum:
            args.append("--no-checksum")
        if self.key:
            args += ["--key", self.key]
        if output:
            args += ["--output", output]
        for name, value in (self.manifest_fields if fields is None else fields).items():
            args += ["--omit", name] if value is None else ["--set", f"{name}={value}"]
        subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def serve(self, data, name="Norvane.exe"):
        """Replaces a served file (a new release), without publishing it."""
        with open(os.path.join(self.served, name), "wb") as f:
            f.write(data)

    def run(self):
        env = dict(os.environ, UPDATER_HOST=self.host)
        # Wine's own messages go to a file: a failure message shows them.
        with open(os.path.join(self.root, "wine.out"), "ab") as out:
            self.updater = subprocess.Popen([WINE_RUN, os.path.join(self.install, "updater.exe")], env=env,
                                            stdout=out, stderr=subprocess.STDOUT)

    def wait(self, seconds=60):
        try:
            return self.updater.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.test.fail(f"the updater did not end within {seconds} s; {self.log_tail()}")

    def answer(self, caption, button, expected_text=None):
        found, text = uia("press", caption, str(button))
        self.test.assertTrue(found, f"no box '{caption}'; {self.log_tail()}")
        if expected_text is not None:
            self.test.assertEqual(text, flat(expected_text))
        return text

    def path(self, name):
        return os.path.join(self.install, name)

    def requests(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def downloads(self, path="/Norvane.exe"):
        """The raw header blocks of the requests for one served file."""
        return [r["raw"] for r in self.requests() if r["path"] == path]

    def log_lines(self):
        """updater.log of the installation (GBK), one event per line."""
        path = self.path("updater.log")
        if not os.path.isfile(path):
            return []
        with open(path, "rb") as f:
            return f.read().decode("gbk", "replace").split("\r\n")[:-1]

    def log_tail(self, lines=12):
        """The end of updater.log and of the server's request log, for a
        failure message: what the updater did before it stalled."""
        served = [str(r.get("line", r) if isinstance(r, dict) else r) for r in self.requests()[-6:]]
        state = "not started" if not self.updater else \
            "running" if self.updater.poll() is None else f"ended with {self.updater.returncode}"
        wine_out = os.path.join(self.root, "wine.out")
        wine = []
        if os.path.isfile(wine_out):
            with open(wine_out, "rb") as f:
                wine = f.read().decode("utf-8", "replace").splitlines()[-lines:]
        return "updater.log ends:\n  " + "\n  ".join(self.log_lines()[-lines:]) + \
            "\nlast requests: " + ", ".join(served) + f"\nthe updater is {state}; Wine printed:\n  " + \
            "\n  ".join(wine)

    def sha(self, name="Norvane.exe"):
        return sha(self.path(name))

    def close(self):
        if self.updater and self.updater.poll() is None:
            self.updater.kill()
        if self.server:
            self.server.terminate()
            self.server.wait()
        subprocess.run([WINE_RUN, "taskkill", "/f", "/im", "payload.exe"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.root, ignore_errors=True)


class E2eCase(unittest.TestCase):
    """A test case whose scenarios are closed when it ends."""

    def scenario(self, fields=None, server_args=(), kind=Scenario, **kwargs):
        s = kind(self, fields or {}, server_args, **kwargs)
        self.addCleanup(s.close)
        return s

    def assert_logged(self, s, *fragments):
        text = "\n".join(s.log_lines())
        for fragment in fragments:
            self.assertIn(fragment, text)

    def assert_untouched(self, s, old_sha):
        """The installed program as it was, and no download left beside it."""
        self.assertEqual(s.sha(), old_sha)
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp.id")))


def main():
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
