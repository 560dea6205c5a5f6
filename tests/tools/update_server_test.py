#!/usr/bin/env python3
"""The bundled update server serves the files of its root and nothing else:
raw requests that try to leave the root are refused.

  update_server_test.py SOURCE_DIR [unittest arguments]
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

SOURCE = sys.argv[1]
SECRET = b"outside the served folder"


def request(port, target):
    """Sends one raw GET; returns (status, body)."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(b"GET " + target + b" HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")
        answer = b""
        while True:
            piece = s.recv(65536)
            if not piece:
                break
            answer += piece
    head, _, body = answer.partition(b"\r\n\r\n")
    return int(head.split(b" ", 2)[1]), body


class UpdateServerRoot(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="update-server-test-")
        root = os.path.join(cls.dir, "served")
        os.makedirs(os.path.join(root, "sub"))
        with open(os.path.join(root, "GX.txt"), "wb") as f:
            f.write(b"manifest")
        with open(os.path.join(root, "sub", "inner.bin"), "wb") as f:
            f.write(b"inner")
        os.makedirs(os.path.join(cls.dir, "outside"))
        for path in (os.path.join(cls.dir, "secret.txt"), os.path.join(cls.dir, "outside", "secret.txt")):
            with open(path, "wb") as f:
                f.write(SECRET)
        os.symlink(os.path.join(cls.dir, "secret.txt"), os.path.join(root, "link_out.txt"))
        os.symlink(os.path.join(cls.dir, "outside"), os.path.join(root, "dir_out"))
        os.symlink(os.path.join(root, "sub", "inner.bin"), os.path.join(root, "link_in.bin"))
        port_file = os.path.join(cls.dir, "port")
        cls.server = subprocess.Popen(["python3", os.path.join(SOURCE, "tools", "update_server.py"), root,
                                       "--port-file", port_file])
        deadline = time.time() + 30
        while not os.path.exists(port_file):
            if cls.server.poll() is not None or time.time() > deadline:
                raise RuntimeError("the update server did not start")
            time.sleep(0.05)
        with open(port_file) as f:
            cls.port = int(f.read())

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def test_files_inside_the_root_are_served(self):
        for target, body in ((b"/GX.txt", b"manifest"), (b"/sub/inner.bin", b"inner"),
                             (b"/sub/./inner.bin", b"inner"), (b"/%73ub/inner.bin", b"inner"),
                             (b"/GX.txt?x=1", b"manifest"), (b"/link_in.bin", b"inner")):
            with self.subTest(target=target):
                self.assertEqual(request(self.port, target), (200, body))
        self.assertEqual(request(self.port, b"/missing.exe")[0], 404)
        self.assertEqual(request(self.port, b"/sub")[0], 404)

    def test_paths_out_of_the_root_are_refused(self):
        targets = (b"/../secret.txt", b"/sub/../../secret.txt", b"/%2e%2e/secret.txt", b"/%2E%2E%2Fsecret.txt",
                   b"/sub/..%2f..%2fsecret.txt", b"/..\\secret.txt", b"/%5c..%5csecret.txt",
                   b"/sub\\..\\..\\secret.txt", b"/GX.txt%00.exe",
                   b"http://127.0.0.1/../secret.txt", b"/link_out.txt", b"/dir_out/secret.txt",
                   os.path.join(self.dir, "secret.txt").encode(), b"/" + os.path.join(self.dir, "secret.txt").encode())
        for target in targets:
            with self.subTest(target=target):
                status, body = request(self.port, target)
                self.assertIn(status, (403, 404))
                self.assertNotIn(SECRET, body)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], verbosity=2)
