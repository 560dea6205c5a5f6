#!/usr/bin/env python3
"""Local HTTP test server for the web-request tests.

/echo          body = request line, headers and body as received; sets cookies
/redirect      302 to /echo
/missing       404
/bigheaders    more than 5,000 bytes of response headers and one cookie
Writes the port it listens on to the file given as the first argument.
"""
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def received(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        head = self.requestline + "\r\n" + "".join(f"{k}: {v}\r\n" for k, v in self.headers.items())
        return head.encode("latin-1") + b"\r\n" + body

    def answer(self, status, body, extra=()):
        self.send_response(status)
        for name, value in extra:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def route(self):
        path = self.path.split("?")[0]
        if path.startswith("http://"):  # absolute form from a proxy
            path = "/" + path.split("/", 3)[3]
        if path == "/echo":
            cookies = [("Set-Cookie", "a=1; path=/"), ("set-cookie", "b=2"),
                       ("SET-COOKIE", "gone=deleted")]
            self.answer(200, self.received(), cookies)
        elif path == "/redirect":
            self.received()
            self.answer(302, b"moved", [("Location", "/echo")])
        elif path == "/bigheaders":
            self.received()
            filler = [(f"X-Filler-{i}", "f" * 100) for i in range(60)]
            self.answer(200, b"big", filler + [("Set-Cookie", "big=1; path=/")])
        else:
            self.received()
            self.answer(404, b"not here")

    do_GET = do_POST = do_HEAD = route


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    with open(sys.argv[1], "w") as f:
        f.write(str(server.server_address[1]))
    server.serve_forever()


if __name__ == "__main__":
    main()
