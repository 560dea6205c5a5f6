#!/usr/bin/env python3
"""Local HTTP test server for the web-request tests.

/echo          body = request line, headers and body as received; sets cookies
/redirect      302 to /echo
/missing       404
/bigheaders    more than 5,000 bytes of response headers and one cookie
/bytes/N       a body of N bytes ("x"); /bytes/N/chunked sends it without a length
Writes the port it listens on to the file given as the first argument.
Each "--tls CERT KEY PORT_FILE" adds a listener serving the same paths over TLS
with that certificate, and writes its port to PORT_FILE.
"""
import argparse
import ssl
import threading
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

    def send_bytes(self, count, chunked):
        self.send_response(200)
        if chunked:
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Content-Length", str(count))
        self.end_headers()
        piece = b"x" * 65536
        while count > 0:
            part = piece[:count]
            try:
                self.wfile.write(b"%x\r\n%s\r\n" % (len(part), part) if chunked else part)
            except OSError:  # the client stopped reading
                self.close_connection = True
                return
            count -= len(part)
        if chunked:
            self.wfile.write(b"0\r\n\r\n")

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
        elif path.startswith("/bytes/"):
            self.received()
            parts = path.split("/")
            self.send_bytes(int(parts[2]), parts[3:] == ["chunked"])
        elif path == "/bigheaders":
            self.received()
            filler = [(f"X-Filler-{i}", "f" * 100) for i in range(60)]
            self.answer(200, b"big", filler + [("Set-Cookie", "big=1; path=/")])
        else:
            self.received()
            self.answer(404, b"not here")

    do_GET = do_POST = do_HEAD = route


def listen(port_file, tls=None):
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    if tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*tls)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    with open(port_file, "w") as f:
        f.write(str(server.server_address[1]))
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port_file")
    parser.add_argument("--tls", nargs=3, action="append", default=[],
                        metavar=("CERT", "KEY", "PORT_FILE"))
    args = parser.parse_args()
    plain = listen(args.port_file)
    for cert, key, port_file in args.tls:
        secure = listen(port_file, tls=(cert, key))
        threading.Thread(target=secure.serve_forever, daemon=True).start()
    plain.serve_forever()


if __name__ == "__main__":
    main()
