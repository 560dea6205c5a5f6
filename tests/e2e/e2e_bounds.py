#!/usr/bin/env python3
"""End-to-end tests of what the updater takes from a server: a manifest and
a signature of bounded size, a download bounded by the size the manifest
publishes, and a partial download continued only when this user made it.

  e2e_bounds.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
from e2e_support import *  # noqa: F401,F403

MANIFEST_LIMIT = 1 << 20
SIGNATURE_LIMIT = 1 << 10
WRITE_ERROR = "写文件出错!"
OPEN_ERROR = "不能打开该URL!"


class Bounds(E2eCase):
    def grow_served_program(self, s, extra):
        """The served program grows after the manifest was published."""
        with open(s.new_program, "rb") as f:
            data = f.read()
        s.serve(data + b"\0" * extra)
        return len(data)

    def test_an_oversize_manifest_or_signature_is_a_failed_request(self):
        def long_manifest(s):
            # Trailing bytes no field marker reaches: read whole, the
            # manifest would update as usual.
            with open(os.path.join(s.served, "GX.txt"), "ab") as f:
                f.write(b" " * MANIFEST_LIMIT)

        def long_signature(s):
            # White space around the signature is allowed: read whole, it
            # would verify.
            with open(os.path.join(s.served, "GX.sig"), "ab") as f:
                f.write(b"\r\n" * SIGNATURE_LIMIT)

        cases = (("GX.txt", long_manifest, {}, ["/GX.txt"], f"the body is over {MANIFEST_LIMIT} bytes"),
                 ("GX.sig", long_signature, {"signed_build": True, "key": TEST_KEY}, ["/GX.txt", "/GX.sig"],
                  f"the body is over {SIGNATURE_LIMIT} bytes"))
        for name, change, options, requested, reason in cases:
            with self.subTest(name):
                s = self.scenario(**options)
                change(s)
                old_sha = s.sha()
                s.run()
                s.answer(CAPTION, IDOK, SERVER_FAILURE)
                self.assertEqual(s.wait(), 0)
                self.assert_untouched(s, old_sha)
                self.assertEqual([r["path"] for r in s.requests()], requested)
                self.assert_logged(s, f"/{name}: HTTP/1.1 200 OK, {reason}; not read on, the request failed",
                                   "decision: server failure")

    def test_the_published_size_is_logged_and_the_update_installs(self):
        s = self.scenario()
        size = os.path.getsize(s.new_program)
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), sha(s.new_program))
        self.assert_logged(s, f"size: {size} bytes published", "renamed into place")

    def test_an_answer_announcing_another_length_writes_nothing(self):
        s = self.scenario()
        with open(s.path("Norvane.exe.tmp"), "wb") as f:  # a partial file stays as it was
            f.write(b"x" * 3000)
        size = self.grow_served_program(s, 5000)
        old_sha = s.sha()
        s.run()
        s.answer("信息：", IDOK, OPEN_ERROR)
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), old_sha)
        with open(s.path("Norvane.exe.tmp"), "rb") as f:
            self.assertEqual(f.read(), b"x" * 3000)
        self.assert_logged(s, f"refused: the answer announces a file of {size + 5000} bytes, the manifest {size}")

    def test_a_body_past_the_published_size_leaves_no_file(self):
        s = self.scenario(server_args=["--no-length", "--fault-path", "/Norvane.exe"])
        size = self.grow_served_program(s, 200000)
        old_sha = s.sha()
        s.run()
        s.answer("信息：", IDOK, WRITE_ERROR)
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)
        self.assert_untouched(s, old_sha)
        self.assert_logged(s, f"the body goes past the published size of {size} bytes; the file is deleted")

    def test_a_malformed_size_refuses_the_update_in_every_build(self):
        for name, options in (("unsigned", {}), ("signed", {"signed_build": True, "key": TEST_KEY})):
            with self.subTest(name):
                s = self.scenario({"大小": "12 345"}, **options)
                old_sha = s.sha()
                s.run()
                s.answer(CAPTION, IDOK, SERVER_FAILURE)
                self.assertEqual(s.wait(), 0)
                self.assert_untouched(s, old_sha)
                self.assertEqual(s.downloads(), [])
                self.assert_logged(s, "update refused: the published size of the main executable is malformed (12 345)")

    def test_a_partial_file_of_another_user_is_not_continued(self):
        if os.geteuid() != 0:
            self.skipTest("giving a file to another user needs root")
        s = self.scenario()
        with open(s.new_program, "rb") as f:
            head = f.read(1000)
        partial = s.path("Norvane.exe.tmp")
        with open(partial, "wb") as f:
            f.write(head)
        os.chown(partial, 12345, 12345)  # Wine shows another Unix user's file as another owner's
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), sha(s.new_program))
        downloads = s.downloads()
        self.assertEqual(len(downloads), 1)
        self.assertNotIn("Range", downloads[0])
        self.assert_logged(s, "belongs to another user: deleted, the download starts again")


if __name__ == "__main__":
    main()
