#!/usr/bin/env python3
"""End-to-end tests of what a release relies on: a malformed checksum
refuses the update in an unsigned build too, a build without test hooks
ignores UPDATER_HOST, and the committed nginx site (tools/nginx) serves a
release the updater installs, resuming a partial download.

  e2e_release.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
import http.client
import socket

from e2e_support import *  # noqa: F401,F403

NO_TEST_HOOKS_UPDATER = os.path.join(TEST_ONLY, "updater_no_test_hooks.exe")
NGINX_SITE = os.path.join(SOURCE, "tools", "nginx", "norvane-updates.conf")
NGINX = shutil.which("nginx") or "/usr/sbin/nginx"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Nginx:
    """nginx in the foreground on 127.0.0.1, serving `served` with the
    committed site; its pid file, logs and temporary files in `folder`. The
    http block around the site compresses everything it may, as a host's
    own configuration might: the site must turn that off."""

    def __init__(self, folder, served):
        self.folder = folder
        self.access_log = os.path.join(folder, "access.log")
        with open(NGINX_SITE) as f:
            site = f.read()
        for attempt in range(5):
            self.port = free_port()
            derived = site
            for directive, value in (("listen", f"127.0.0.1:{self.port}"), ("root", served)):
                derived, count = re.subn(rf"(?m)^    {directive} [^;]*;", f"    {directive} {value};", derived)
                assert count == 1, f"the site has no single '{directive}' line"
            with open(os.path.join(folder, "site.conf"), "w") as f:
                f.write(derived)
            temp = os.path.join(folder, "temp")
            os.makedirs(temp, exist_ok=True)
            with open(os.path.join(folder, "nginx.conf"), "w") as f:
                f.write(f"""daemon off;
master_process off;
pid {folder}/nginx.pid;
error_log {folder}/error.log;
events {{ worker_connections 64; }}
http {{
    log_format e2e escape=json
        '{{"line":"$request","path":"$uri","range":"$http_range","status":"$status",'
        '"encoding":"$sent_http_content_encoding"}}';
    access_log {self.access_log} e2e;
    client_body_temp_path {temp}/body;
    proxy_temp_path {temp}/proxy;
    fastcgi_temp_path {temp}/fastcgi;
    uwsgi_temp_path {temp}/uwsgi;
    scgi_temp_path {temp}/scgi;
    gzip on;
    gzip_types *;
    gzip_min_length 1;
    include {folder}/site.conf;
}}
""")
            self.process = subprocess.Popen([NGINX, "-c", os.path.join(folder, "nginx.conf"),
                                             "-e", os.path.join(folder, "error.log")],
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.time() + 20
            while self.process.poll() is None and time.time() < deadline:
                try:
                    socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                    return
                except OSError:
                    time.sleep(0.05)
            self.stop()  # the port was taken meanwhile: another one
        with open(os.path.join(folder, "error.log")) as f:
            raise RuntimeError("nginx did not start: " + f.read())

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=20)

    def requests(self):
        if not os.path.exists(self.access_log):
            return []
        with open(self.access_log, encoding="utf-8") as f:
            return [json.loads(line) for line in f]


class NginxScenario(Scenario):
    """A scenario whose server is nginx with the committed site."""

    def start_server(self, server_args):
        assert not server_args, "nginx takes no fault options"
        if self.server:
            self.server.stop()
        self.server = Nginx(self.root, self.served)
        self.port = self.server.port

    def requests(self):
        return self.server.requests()

    def close(self):
        server, self.server = self.server, None
        if server:
            server.stop()
        super().close()


class MalformedChecksum(E2eCase):
    """A checksum field that is there but not 64 hexadecimal digits stops
    the update before anything is downloaded, in an unsigned build too."""

    def test_the_update_is_refused_before_the_download(self):
        cases = (("main executable", {"校验": "0" * 63}, "Norvane.exe",
                  "decision: update refused, the published checksum [校验] is malformed (" + "0" * 63),
                 ("full installer", {"自动": "假", "是否完整": "真", "完整校验": "sha256:abc"}, "setup.exe",
                  "decision: update refused, the published checksum [完整校验] is malformed (sha256:abc"))
        for name, fields, target, reason in cases:
            with self.subTest(name):
                s = self.scenario(fields)
                shutil.copy(os.path.join(BIN, "uia.exe"), s.path(target))
                old_sha = s.sha(target)
                s.run()
                s.answer(CAPTION, IDOK, SERVER_FAILURE)
                self.assertEqual(s.wait(), 0)
                self.assertEqual(s.sha(target), old_sha)
                self.assertFalse(os.path.exists(s.path(target + ".tmp")))
                self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt"])
                self.assert_logged(s, "manifest not authenticated: this updater was built without a release key",
                                   reason, "message shown:  服务器连接失败请重试！")

    def test_a_malformed_checksum_in_the_update_threads_manifest_is_refused(self):
        s = self.scenario()
        later = os.path.join(s.root, "later")
        os.makedirs(later)
        s.write_manifest(os.path.join(later, "GX.txt"), {"校验": "Z" * 64})
        s.start_server(["--later-manifest", later])
        old_sha = s.sha()
        s.run()
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assertEqual(s.wait(), 0)
        self.assert_untouched(s, old_sha)
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt", "/GX.txt"])
        self.assert_logged(s, "update refused: the second manifest's checksum of the main executable is malformed")


class WithoutTestHooks(E2eCase):
    def test_UPDATER_HOST_is_ignored(self):
        # Built as a release is, with 127.0.0.1:9 (where nothing listens)
        # compiled in: the scenario's server, named in UPDATER_HOST, is
        # never asked.
        s = self.scenario()
        shutil.copy(NO_TEST_HOOKS_UPDATER, s.path("updater.exe"))
        old_sha = s.sha()
        s.run()
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assertEqual(s.wait(), 0)
        self.assert_untouched(s, old_sha)
        self.assertEqual(s.requests(), [])
        self.assert_logged(s, "manifest http://127.0.0.1:9/GX.txt: no answer")


class ServedByNginx(E2eCase):
    """The committed nginx site, as a vendor would run it."""

    def test_a_signed_release_is_installed_resuming_a_partial_download(self):
        s = self.scenario(kind=NginxScenario, signed_build=True, key=TEST_KEY)
        kept = 40000
        with open(s.new_program, "rb") as f:
            head = f.read(kept)
        with open(s.path("Norvane.exe.tmp"), "wb") as f:
            f.write(head)
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), sha(s.new_program))
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))
        requests = s.requests()
        self.assertEqual([(r["path"], r["status"]) for r in requests],
                         [("/GX.txt", "200"), ("/GX.sig", "200"), ("/GX.txt", "200"), ("/GX.sig", "200"),
                          ("/Norvane.exe", "206")])
        self.assertEqual(requests[-1]["range"], f"bytes={kept}-")
        self.assertTrue(all(r["encoding"] == "" for r in requests), requests)
        self.assert_logged(s, "signature: verified with the built-in public key",
                           f"resuming a partial file of {kept} bytes", f"SHA-256 {sha(s.new_program)} matches",
                           "renamed into place")
        self.assertNotIn("not authenticated", "\n".join(s.log_lines()))

    def test_the_site_serves_files_only_unencoded_with_ranges_and_validators(self):
        folder = tempfile.mkdtemp(prefix="e2e-nginx-", dir=os.path.join(SOURCE, "build"))
        self.addCleanup(shutil.rmtree, folder, True)
        served = os.path.join(folder, "served")
        os.makedirs(os.path.join(served, "old"))
        program = bytes(range(256)) * 400
        for name, data in (("Norvane.exe", program), ("GX.txt", "[版本]2.0[/版本]".encode("gbk") * 100),
                           ("GX.sig", b"c2lnbmF0dXJl" * 20), (".hidden", b"x"), ("old/setup.exe", b"y")):
            with open(os.path.join(served, name), "wb") as f:
                f.write(data)
        nginx = Nginx(folder, served)
        self.addCleanup(nginx.stop)

        def get(path, **headers):
            connection = http.client.HTTPConnection("127.0.0.1", nginx.port, timeout=20)
            connection.request("GET", path, headers={"Accept-Encoding": "gzip, deflate", **headers})
            answer = connection.getresponse()
            body = answer.read()
            connection.close()
            return answer, body

        for path, content_type in (("/GX.txt", "text/plain; charset=gbk"), ("/GX.sig", "text/plain; charset=gbk"),
                                   ("/Norvane.exe", "application/octet-stream")):
            with self.subTest(path):
                answer, body = get(path)
                self.assertEqual(answer.status, 200)
                self.assertEqual(answer.getheader("Content-Type"), content_type)
                self.assertIsNone(answer.getheader("Content-Encoding"))
                with open(os.path.join(served, path[1:]), "rb") as f:
                    self.assertEqual(body, f.read())
                self.assertTrue(answer.getheader("ETag"))
                self.assertTrue(answer.getheader("Last-Modified"))
                self.assertEqual(answer.getheader("Accept-Ranges"), "bytes")
        answer, body = get("/Norvane.exe", Range="bytes=1000-")
        self.assertEqual(answer.status, 206)
        self.assertEqual(answer.getheader("Content-Range"), f"bytes 1000-{len(program) - 1}/{len(program)}")
        self.assertIsNone(answer.getheader("Content-Encoding"))
        self.assertEqual(body, program[1000:])
        answer, _ = get("/Norvane.exe", Range=f"bytes={len(program)}-")
        self.assertEqual(answer.status, 416)
        self.assertEqual(answer.getheader("Content-Range"), f"bytes */{len(program)}")
        for path in ("/", "/old/", "/old", "/.hidden", "/GX.txt/"):
            with self.subTest(path):
                answer, body = get(path)
                self.assertIn(answer.status, (403, 404))
                self.assertNotIn(b"setup.exe", body)


if __name__ == "__main__":
    main()
