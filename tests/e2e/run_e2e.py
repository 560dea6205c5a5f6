#!/usr/bin/env python3
"""End-to-end tests: the real updater.exe under Wine against the local update
server, its message boxes answered through uia.exe, files checked by SHA-256.

  run_e2e.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
from e2e_support import *  # noqa: F401,F403


class DownloadIntegrity(E2eCase):
    """What is installed is exactly what was published: encoded answers are
    decoded, a partial file of an older release is not continued, a published
    checksum is checked, and updater.log tells what happened."""

    def install_and_answer_no(self, s):
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), sha(s.new_program))
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp.id")))

    def expect_read_error(self, s):
        s.run()
        s.answer("信息：", IDOK, READ_ERROR)
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)

    def assert_logged(self, s, *fragments):
        lines = s.log_lines()
        for line in lines:
            self.assertRegex(line, LOG_LINE)
        text = "\n".join(lines)
        for fragment in fragments:
            self.assertIn(fragment, text)

    def test_encoded_whole_file_is_installed_decoded(self):
        for encoding, extra in (("gzip", ["--chunked"]), ("deflate", [])):
            with self.subTest(encoding=encoding):
                s = self.scenario(server_args=["--encoding", encoding, "--fault-path", "/Norvane.exe", *extra])
                self.install_and_answer_no(s)
                downloads = s.downloads()
                self.assertEqual(len(downloads), 1)
                self.assertIn("Accept-Encoding: gzip, deflate", downloads[0])
                self.assertNotIn("Range", downloads[0])
                self.assert_logged(s, f"Content-Encoding {encoding}", "matches", "renamed into place")

    def test_encoded_200_to_a_ranged_request_is_written_from_the_start(self):
        s = self.scenario(server_args=["--encoding", "gzip", "--fault-path", "/Norvane.exe"])
        with open(s.new_program, "rb") as f:
            head = f.read(1000)
        with open(s.path("Norvane.exe.tmp"), "wb") as f:
            f.write(head)
        self.install_and_answer_no(s)
        downloads = s.downloads()
        self.assertEqual(len(downloads), 1)
        self.assertIn("\r\nRange: bytes=1000-\r\n", downloads[0])
        self.assert_logged(s, "restart from byte 0: 200 to a ranged request")

    def test_encoded_206_fetches_the_whole_file_again(self):
        s = self.scenario(server_args=["--encoding", "gzip", "--encoded-ranges", "--fault-path", "/Norvane.exe"])
        with open(s.new_program, "rb") as f:
            head = f.read(1000)
        with open(s.path("Norvane.exe.tmp"), "wb") as f:
            f.write(head)
        self.install_and_answer_no(s)
        downloads = s.downloads()
        self.assertEqual(len(downloads), 2)
        self.assertIn("\r\nRange: bytes=1000-\r\n", downloads[0])
        self.assertNotIn("Range", downloads[1])
        self.assert_logged(s, "restart from byte 0: 206 with content encoding gzip")

    def test_truncated_encoded_stream_is_a_read_error(self):
        # With a length the short body shows; chunked, only the stream's end does.
        for extra, reason in (([], "the connection ended before"), (["--chunked"], "before its end marker")):
            with self.subTest(server=extra):
                s = self.scenario(server_args=["--encoding", "gzip", "--drop-after", "30000",
                                               "--fault-path", "/Norvane.exe", *extra])
                old_sha = s.sha()
                self.expect_read_error(s)
                self.assertEqual(s.sha(), old_sha)
                self.assertEqual(len(s.downloads()), 1)
                self.assert_logged(s, reason, "message shown: 读文件出错!", "the main window closed: exit code 0")

    def test_partial_file_of_an_older_release_is_not_continued(self):
        with open(os.path.join(BIN, "payload.exe"), "rb") as f:
            new = f.read()
        old = bytes(reversed(new)) + b"older release" * 4000  # longer than the new file
        cases = (("shorter", len(new) // 2, "restart from byte 0: ETag"),
                 ("equal", len(new), "restart from byte 0: 416: ETag"),
                 ("longer", len(new) + 30000, f"restart from byte 0: 416: whole length {len(new)} is not"))
        for name, kept, reason in cases:
            with self.subTest(tmp=name):
                # An update to the older release breaks off after `kept` bytes.
                s = self.scenario(server_args=["--drop-after", str(kept), "--fault-path", "/Norvane.exe"])
                s.serve(old)
                s.write_manifest()
                self.expect_read_error(s)
                self.assertEqual(os.path.getsize(s.path("Norvane.exe.tmp")), kept)
                self.assertTrue(os.path.isfile(s.path("Norvane.exe.tmp.id")))
                # The new release replaces it on the server before the next run.
                s.serve(new)
                s.write_manifest()
                s.start_server([])
                before = len(s.downloads())
                self.install_and_answer_no(s)
                downloads = s.downloads()[before:]
                self.assertEqual(len(downloads), 2)
                self.assertIn(f"\r\nRange: bytes={kept}-\r\n", downloads[0])
                self.assertNotIn("Range", downloads[1])
                self.assert_logged(s, reason)

    def test_published_checksum(self):
        with self.subTest(checksum="right"):
            s = self.scenario()
            self.install_and_answer_no(s)
            self.assert_logged(s, f"checksum: SHA-256 {sha(s.new_program)} matches")
        with self.subTest(checksum="absent"):
            s = self.scenario(checksum=False)
            self.install_and_answer_no(s)
            self.assert_logged(s, "checksum: none published, not checked")
        with self.subTest(checksum="wrong"):
            s = self.scenario()
            old_sha = s.sha()
            # The served file changed after the manifest was published.
            with open(s.new_program, "rb") as f:
                data = bytearray(f.read())
            data[5000] ^= 0xFF
            s.serve(bytes(data))
            s.run()
            s.answer(CAPTION, IDOK, UPDATE_FAILED)
            self.assertEqual(s.wait(), 0)
            self.assertEqual(s.sha(), old_sha)
            self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))
            self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp.id")))
            self.assertEqual(len(s.downloads()), 1)
            self.assert_logged(s, "does not match the published", "message shown: 更新出错，请重新更新！\\r\\n BY:Halvord")

    def test_unwritable_log_does_not_stop_the_update(self):
        s = self.scenario()
        os.makedirs(s.path("updater.log"))
        self.install_and_answer_no(s)


class SignedReleases(E2eCase):
    """An updater built with a release key installs only what a manifest
    signed with that key pins by checksum, and never an older version."""

    def scenario(self, fields=None, server_args=(), **kwargs):
        kwargs.setdefault("key", TEST_KEY)
        s = Scenario(self, fields or {}, server_args, signed_build=True, **kwargs)
        self.addCleanup(s.close)
        return s

    def test_correctly_signed_release_updates(self):
        s = self.scenario()
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), sha(s.new_program))
        # Both manifest fetches are checked against the signature.
        self.assertEqual([r["path"] for r in s.requests()],
                         ["/GX.txt", "/GX.sig", "/GX.txt", "/GX.sig", "/Norvane.exe"])
        lines = s.log_lines()
        self.assertEqual(sum("signature: verified with the built-in public key" in line for line in lines), 2)
        self.assert_logged(s, f"checksum: SHA-256 {sha(s.new_program)} matches", "renamed into place")

    def test_a_manifest_that_is_not_verified_counts_as_empty(self):
        def tampered(s):
            with open(os.path.join(s.served, "GX.txt"), "rb") as f:
                data = f.read()
            at = data.index(b"2.0")
            with open(os.path.join(s.served, "GX.txt"), "wb") as f:
                f.write(data[:at] + b"3" + data[at + 1:])

        def missing(s):
            os.remove(os.path.join(s.served, "GX.sig"))

        def other_key(s):
            s.key = os.path.join(s.root, "other.pem")
            subprocess.run(["python3", os.path.join(SOURCE, "tools", "publish_manifest.py"), "keygen", s.key],
                           check=True, stdout=subprocess.DEVNULL)
            s.write_manifest()

        def malformed(s):
            with open(os.path.join(s.served, "GX.sig"), "w") as f:
                f.write("not a signature")

        cases = (("changed after signing", tampered, {}, "the signature does not match the manifest"),
                 ("no GX.sig", missing, {}, "signature: GX.sig is missing (HTTP/1.1 404"),
                 ("another key", other_key, {}, "the signature does not match the manifest"),
                 ("malformed GX.sig", malformed, {}, "GX.sig is malformed"),
                 ("no checksum", None, {"checksum": False}, "signed manifest refused: no valid checksum [校验]"),
                 ("malformed checksum", None, {"fields": {"校验": "0" * 63}},
                  "signed manifest refused: no valid checksum [校验]"))
        for name, change, options, reason in cases:
            with self.subTest(name):
                s = self.scenario(**options)
                if change:
                    change(s)
                old_sha = s.sha()
                s.run()
                s.answer(CAPTION, IDOK, SERVER_FAILURE)
                self.assertEqual(s.wait(), 0)
                self.assert_untouched(s, old_sha)
                self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt", "/GX.sig"])
                self.assert_logged(s, reason, "the manifest counts as empty", "decision: server failure")

    def test_a_program_that_does_not_match_the_signed_checksum_is_not_installed(self):
        s = self.scenario()
        old_sha = s.sha()
        with open(s.new_program, "rb") as f:
            data = bytearray(f.read())
        data[7000] ^= 0x01
        s.serve(bytes(data))
        s.run()
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)
        self.assert_untouched(s, old_sha)
        self.assertEqual(len(s.downloads()), 1)
        self.assert_logged(s, "does not match the published", "download deleted")

    def test_the_update_threads_manifest_is_checked_again(self):
        # The manifest changes between the start-up fetch and the update
        # thread's: the second one must be the first verified one again.
        differs = "is not byte for byte the first verified one"
        cases = (("unsigned", None, {}, True, "update refused: the second manifest is empty or not verified"),
                 ("signed, older", TEST_KEY, {"版本": "0.9"}, True, differs),
                 ("signed, no checksum", TEST_KEY, {"自动": "假"}, False, differs))
        for name, key, fields, checksum, reason in cases:
            with self.subTest(name):
                s = self.scenario()
                later = os.path.join(s.root, "later")
                os.makedirs(later)
                s.key, s.checksum = key, checksum
                s.write_manifest(os.path.join(later, "GX.txt"), fields)
                s.start_server(["--later-manifest", later])
                old_sha = s.sha()
                s.run()
                s.answer(CAPTION, IDOK, SERVER_FAILURE)
                self.assertEqual(s.wait(), 0)
                self.assert_untouched(s, old_sha)
                self.assertEqual(s.downloads(), [])
                self.assert_logged(s, reason)

    def test_an_older_signed_version_is_not_installed(self):
        # 1.9 is below 1.10 as numbers, though above it byte for byte.
        s = self.scenario({"版本": "1.9"}, local_version="1.10")
        old_sha = s.sha()
        s.run()
        self.assertEqual(s.wait(), 0)
        self.assert_untouched(s, old_sha)
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt", "/GX.sig"])
        self.assert_logged(s, "signature: verified", "decision: no downgrade",
                           "local version 1.10, latest version 1.9")
        self.assertFalse(any("message shown" in line for line in s.log_lines()))


class UpdateEndToEnd(E2eCase):
    def assert_installed_new(self, s, name="Norvane.exe"):
        self.assertEqual(sha(s.path(name)), sha(s.new_program))
        self.assertFalse(os.path.exists(s.path(name + ".tmp")))

    def assert_lines_in_order(self, block, raw):
        lines = raw.split("\r\n")
        at = 0
        for line in block.split("\r\n"):
            self.assertIn(line, lines[at:], raw)
            at = lines.index(line, at) + 1

    def wait_for_file(self, path, seconds=20):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if os.path.exists(path):
                return True
            time.sleep(0.2)
        return False

    def test_no_address_reports_server_failure(self):
        s = self.scenario({"地址": None})
        s.run()
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assertEqual(s.wait(), 0)

    def test_unreachable_server_reports_server_failure(self):
        s = self.scenario(host="127.0.0.1:9")
        s.run()
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assertEqual(s.wait(), 0)

    def test_equal_versions_end_silently(self):
        s = self.scenario(local_version="2.0")
        s.run()
        self.assertEqual(s.wait(), 0)
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt"])

    def test_main_executable_update_yes_starts_the_new_program(self):
        s = self.scenario()
        old = subprocess.Popen([WINE_RUN, s.path("Norvane.exe"), "wait", "never-shown", "60000"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(old.kill)
        time.sleep(1)
        s.run()
        s.answer(CAPTION, IDYES, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(old.wait(timeout=10), 0)  # the running client was ended
        self.assert_installed_new(s)
        self.assertTrue(self.wait_for_file(s.path("started.txt")), "new program not started")
        requests = s.requests()
        self.assertEqual([r["path"] for r in requests], ["/GX.txt", "/GX.txt", "/Norvane.exe"])
        manifest_url = f"http://{s.host}/GX.txt"
        self.assertIn(MANIFEST_HEADERS.format(url=manifest_url), requests[0]["raw"])
        self.assertIn("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)", requests[0]["raw"])
        self.assert_lines_in_order(DOWNLOAD_HEADERS, requests[2]["raw"])
        self.assertNotIn("Range", requests[2]["raw"])

    def test_main_executable_update_no_closes_without_starting(self):
        s = self.scenario()
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)
        time.sleep(1)
        self.assertFalse(os.path.exists(s.path("started.txt")))

    def test_full_installer_update(self):
        s = self.scenario({"自动": "假", "是否完整": "真"})
        # The installer differs from the main program (bytes after the image
        # do not stop it from running), so the one fetched can be told apart.
        installer = os.path.join(s.served, "setup.exe")
        with open(installer, "ab") as f:
            f.write(b"full installer")
        self.assertNotEqual(sha(installer), sha(s.new_program))
        s.write_manifest()  # its published checksum is of the installer served now
        s.run()
        s.answer(CAPTION, IDYES, INSTALLER_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(sha(s.path("setup.exe")), sha(installer))
        self.assertTrue(self.wait_for_file(s.path("started.txt")))
        # The address of [完整] is fetched, never the main program's (标签8).
        paths = [r["path"] for r in s.requests()]
        self.assertIn("/setup.exe", paths)
        self.assertNotIn("/Norvane.exe", paths)
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))

    def test_without_config_file_the_update_runs(self):
        s = self.scenario(local_version=None)
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)

    def test_both_flags_update_only_the_main_executable(self):
        s = self.scenario({"自动": "真", "是否完整": "真"})
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)
        self.assertFalse(os.path.exists(s.path("setup.exe")))
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt", "/GX.txt", "/Norvane.exe"])

    def test_neither_flag_leaves_the_window_open(self):
        s = self.scenario({"自动": "", "是否完整": ""})
        s.run()
        time.sleep(4)
        self.assertIsNone(s.updater.poll())
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt"])

    def test_partial_download_is_resumed(self):
        s = self.scenario()
        with open(s.new_program, "rb") as f:
            head = f.read(1000)
        with open(s.path("Norvane.exe.tmp"), "wb") as f:
            f.write(head)
        s.run()
        s.answer(CAPTION, IDNO)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)
        download = s.requests()[-1]
        # WinINet writes a header line "Range:bytes=N-" as "Range: bytes=N-".
        self.assert_lines_in_order(DOWNLOAD_HEADERS + "\r\nRange: bytes=1000-", download["raw"])

    def test_dropped_connection_keeps_everything_and_resumes(self):
        s = self.scenario(server_args=["--drop-after", "20000", "--fault-path", "/Norvane.exe"])
        old_sha = sha(s.path("Norvane.exe"))
        s.run()
        s.answer("信息：", IDOK, "读文件出错!")
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(sha(s.path("Norvane.exe")), old_sha)
        self.assertEqual(os.path.getsize(s.path("Norvane.exe.tmp")), 20000)
        s.start_server([])
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)
        self.assertIn("\r\nRange: bytes=20000-\r\n", s.requests()[-1]["raw"])

    def test_ignored_range_rewrites_the_whole_file(self):
        s = self.scenario(server_args=["--ignore-range"])
        with open(s.path("Norvane.exe.tmp"), "wb") as f:
            f.write(b"x" * 3000)
        s.run()
        s.answer(CAPTION, IDNO)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)

    def test_misplaced_range_fetches_the_whole_file_again(self):
        s = self.scenario(server_args=["--misplaced-range"])
        with open(s.path("Norvane.exe.tmp"), "wb") as f:
            f.write(b"x" * 3000)
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)
        downloads = [r for r in s.requests() if r["path"] == "/Norvane.exe"]
        self.assertEqual(len(downloads), 2)
        self.assertIn("\r\nRange: bytes=3000-\r\n", downloads[0]["raw"])
        self.assertNotIn("Range", downloads[1]["raw"])

    def test_error_status_keeps_the_installed_program_and_the_partial_file(self):
        for status in ("404", "500"):
            with self.subTest(status=status):
                s = self.scenario(server_args=["--status", status])
                old_sha = sha(s.path("Norvane.exe"))
                with open(s.path("Norvane.exe.tmp"), "wb") as f:
                    f.write(b"x" * 3000)
                s.run()
                s.answer("信息：", IDOK, "不能打开该URL!")
                s.answer(CAPTION, IDOK, UPDATE_FAILED)
                self.assertEqual(s.wait(), 0)
                self.assertEqual(sha(s.path("Norvane.exe")), old_sha)
                with open(s.path("Norvane.exe.tmp"), "rb") as f:
                    self.assertEqual(f.read(), b"x" * 3000)

    def test_complete_partial_file_is_put_in_place(self):
        s = self.scenario()
        shutil.copy(s.new_program, s.path("Norvane.exe.tmp"))
        s.run()
        s.answer(CAPTION, IDNO)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)

    def test_missing_content_length_completes(self):
        s = self.scenario(server_args=["--no-length", "--fault-path", "/Norvane.exe"])
        s.run()
        s.answer(CAPTION, IDNO)
        self.assertEqual(s.wait(), 0)
        self.assert_installed_new(s)

    def test_locked_target_keeps_the_download(self):
        s = self.scenario()
        locker = subprocess.Popen([WINE_RUN, os.path.join(BIN, "file_locker.exe"), s.path("Norvane.exe"), "30000"],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(locker.kill)
        self.assertEqual(locker.stdout.readline().strip(), b"locked")
        s.run()
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(sha(s.path("Norvane.exe.tmp")), sha(s.new_program))


def read_window(scenario, class_name="UpdaterForm", timeout_ms=20000):
    """What the scenario's updater main window shows, read by uia.exe from
    outside: (title, {(class, left, top, width, height): (style, text, position)})."""
    # The program path's end tells this updater from one another test runs.
    program = "\\".join([os.path.basename(scenario.root), "install", "updater.exe"])
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([WINE_RUN, os.path.join(BIN, "uia.exe"), "window", class_name, str(timeout_ms),
                                 program],
                                stdout=out, stderr=subprocess.DEVNULL, timeout=timeout_ms / 1000 + 30)
        out.seek(0)
        lines = out.read().decode("ascii").split()
    if result.returncode != 0:
        return None, {}

    def text(field):
        return bytes.fromhex(field[1:]).decode("gbk")

    title, controls = None, {}
    words = iter(lines)
    for word in words:
        if word == "title":
            title = text(next(words))
            continue
        rect = tuple(int(next(words)) for _ in range(4))
        style = int(next(words), 16)
        shown = text(next(words))
        position = int(next(words)) if word == "msctls_progress32" else None
        controls[(word, *rect)] = (style, shown, position)
    return title, controls


# Every control the update client writes, by its place on the main window.
PROGRESS = ("msctls_progress32", 38, 50, 418, 32)
LABEL2 = ("Static", 43, 106, 64, 15)
LABEL4 = ("Static", 121, 90, 335, 12)
LABEL6 = ("Static", 121, 122, 335, 12)
LABEL8 = ("Static", 120, 138, 336, 12)
EDITS = {n: ("Edit", *r) for n, r in {1: (37, 158, 419, 79), 2: (824, 344, 72, 32), 3: (48, 384, 96, 24),
                                       4: (48, 416, 96, 24), 5: (160, 384, 128, 24), 6: (680, 520, 208, 48)}.items()}
SS_NOPREFIX = 0x80


def kilobytes(size):
    """A byte count as the statistics show it in KB (two decimals at most)."""
    return f"{round(size / 1024, 2):.2f}".rstrip("0").rstrip(".")


class WindowContentsEndToEnd(E2eCase):
    def test_before_a_download_the_window_shows_the_manifest(self):
        s = self.scenario({"自动": "", "是否完整": ""})
        # An address with a query: "&" must show as it is.
        address = f"http://127.0.0.1:{s.port}/Norvane.exe?from=e2e&lang=zh"
        full = f"http://127.0.0.1:{s.port}/setup.exe?x=1&y=2"
        s.manifest_fields.update({"地址": address, "完整": full})
        s.write_manifest()
        s.run()
        deadline = time.time() + 30
        while True:
            title, controls = read_window(s)
            if controls.get(EDITS[1], (0, ""))[1] or time.time() > deadline:
                break
            time.sleep(0.3)
        self.assertEqual(title, "软件更新")
        style, label8, _ = controls[LABEL8]
        self.assertEqual(label8, address)
        self.assertTrue(style & SS_NOPREFIX, "labels must draw '&' as it is")
        information = ("------------------------文件版本信息-----------------------\r\n"
                       "文件名称：Norvane.exe | 当前版本：1.0 | 最新版本：2.0\r\n"
                       "------------------------ 更新日志 ------------------------\r\n"
                       "修复了若干问题\r\n"
                       "--------------------------更新地址-----------------------\r\n" + address)
        self.assertEqual(controls[EDITS[1]][1], information)
        expected_edits = {2: "Norvane.exe", 3: "1.0", 4: "2.0", 5: full, 6: "2.0"}
        for number, text in expected_edits.items():
            self.assertEqual(controls[EDITS[number]][1], text, f"编辑框{number}")
        # Nothing was downloaded, so the statistics are still empty.
        self.assertEqual(controls[LABEL2][1], "已下载:")
        self.assertEqual(controls[LABEL4][1], "")
        self.assertEqual(controls[LABEL6][1], "")
        self.assertEqual(controls[PROGRESS][2], 0)

    def test_during_and_after_a_download_the_window_shows_the_statistics(self):
        size = os.path.getsize(os.path.join(BIN, "payload.exe"))
        s = self.scenario(server_args=["--rate", str(size // 6)])
        s.run()
        # During: wait until the bar has moved but the file is not complete.
        during = None
        deadline = time.time() + 60
        while time.time() < deadline:
            title, controls = read_window(s)
            position = controls.get(PROGRESS, (0, "", 0))[2]
            if position and position < 100:
                during = title, controls
                break
            time.sleep(0.2)
        self.assertIsNotNone(during, "never saw the download half way")
        title, controls = during
        self.assertEqual(title, "软件自动更新")
        self.assertEqual(controls[LABEL2][1], f"Norvane      |      文件大小:{kilobytes(size)}KB\r\n")
        self.assertRegex(controls[LABEL4][1], r"^[0-9.]+KB {11}\|      所用时间:\d+秒\r\n$")
        self.assertRegex(controls[LABEL6][1], r"^[0-9.]+KB/s(        \|       剩余时间:\d+时\d+分\d+秒)?$")
        done = float(controls[LABEL4][1].split("KB")[0])
        self.assertLess(done, size / 1024)

        # After: the question is up and the window shows the whole file.
        found, _ = uia("wait", CAPTION)
        self.assertTrue(found)
        title, controls = read_window(s)
        self.assertEqual(title, "软件自动更新")
        self.assertEqual(controls[PROGRESS][2], 100)
        self.assertEqual(controls[LABEL2][1], f"Norvane      |      文件大小:{kilobytes(size)}KB\r\n")
        self.assertTrue(controls[LABEL4][1].startswith(f"{kilobytes(size)}KB "), controls[LABEL4][1])
        self.assertRegex(controls[LABEL6][1], r"^[0-9.]+KB/s        \|       剩余时间:0时0分0秒$")
        self.assertEqual(controls[LABEL8][1], f"http://127.0.0.1:{s.port}/Norvane.exe")
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)

    def test_a_running_setup_is_ended_before_the_installer_update(self):
        s = self.scenario({"自动": "假", "是否完整": "真"})
        shutil.copy(os.path.join(BIN, "uia.exe"), s.path("setup.exe"))
        running = subprocess.Popen([WINE_RUN, s.path("setup.exe"), "wait", "never-shown", "60000"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(running.kill)
        time.sleep(1)
        s.run()
        s.answer(CAPTION, IDNO, INSTALLER_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(running.wait(timeout=10), 0)  # ended, not timed out (1)
        self.assertEqual(sha(s.path("setup.exe")), sha(os.path.join(s.served, "setup.exe")))

    def test_a_failed_write_keeps_what_was_written(self):
        # Files of the updater may not grow past 100,000 bytes: the write
        # beyond fails (EFBIG) like a full disk, instead of ending the process.
        limit = 100000

        def limit_file_size():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

        s = self.scenario()
        old_sha = sha(s.path("Norvane.exe"))
        env = dict(os.environ, UPDATER_HOST=s.host)
        s.updater = subprocess.Popen([WINE_RUN, s.path("updater.exe")], env=env, preexec_fn=limit_file_size,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        s.answer("信息：", IDOK, "写文件出错!")
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(sha(s.path("Norvane.exe")), old_sha)
        partial = s.path("Norvane.exe.tmp")
        self.assertLessEqual(os.path.getsize(partial), limit)
        with open(partial, "rb") as f, open(s.new_program, "rb") as new:
            written = f.read()
            self.assertGreater(len(written), 0)
            self.assertEqual(written, new.read(len(written)))


def box_skin(caption, timeout_ms=20000):
    """How the box is skinned, read from outside by uia.exe once its fade-in
    ended (or the time is up): {"skinned": 0|1, "region": ..., "alpha": N,
    "statics": (skinned, total)}."""
    found, text = uia("skin", caption, timeout_ms=timeout_ms)
    if not found:
        return None
    words = text.split()
    return {"skinned": int(words[1]), "region": words[3], "alpha": int(words[5]),
            "statics": (int(words[7]), int(words[8]))}


class SkinnedBoxesEndToEnd(E2eCase):
    """Every box of the update run is skinned in the updater, on the window
    thread (server failure) and on the update thread (questions, error), and
    still answers as before."""

    def assert_skinned(self, caption=CAPTION):
        report = box_skin(caption)
        self.assertIsNotNone(report, f"no box '{caption}'")
        self.assertEqual(report["skinned"], 1)
        self.assertEqual(report["region"], "rounded")
        self.assertEqual(report["alpha"], 250)
        return report

    def assert_answered(self, s, answer):
        self.assertEqual(s.wait(), 0)
        self.assertIn("answer: " + answer, [line.split("] ", 1)[-1] for line in s.log_lines()])

    def test_server_failure_box_is_skinned(self):
        s = self.scenario({"地址": None})
        s.run()
        self.assert_skinned()
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assert_answered(s, "OK")

    def test_main_question_is_skinned_and_yes_starts_the_new_program(self):
        s = self.scenario()
        s.run()
        self.assert_skinned()
        s.answer(CAPTION, IDYES, MAIN_QUESTION)
        self.assert_answered(s, "Yes")
        deadline = time.time() + 20
        while time.time() < deadline and not os.path.exists(s.path("started.txt")):
            time.sleep(0.2)
        self.assertTrue(os.path.exists(s.path("started.txt")), "new program not started")

    def test_installer_question_is_skinned_and_no_closes(self):
        s = self.scenario({"自动": "假", "是否完整": "真"})
        s.run()
        self.assert_skinned()
        s.answer(CAPTION, IDNO, INSTALLER_QUESTION)
        self.assert_answered(s, "No")
        time.sleep(1)
        self.assertFalse(os.path.exists(s.path("started.txt")))

    def test_update_failed_box_is_skinned(self):
        s = self.scenario(server_args=["--status", "404"])
        s.run()
        s.answer("信息：", IDOK, "不能打开该URL!")
        self.assert_skinned()
        s.answer(CAPTION, IDOK, UPDATE_FAILED)
        self.assert_answered(s, "OK")

    def test_box_text_and_icon_are_drawn_by_the_static_skin(self):
        s = self.scenario({"地址": None})
        s.run()
        report = self.assert_skinned()
        skinned, total = report["statics"]
        self.assertGreaterEqual(total, 2)
        self.assertEqual(skinned, total)
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assertEqual(s.wait(), 0)


if __name__ == "__main__":
    main()
