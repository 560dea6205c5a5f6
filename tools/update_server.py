#!/usr/bin/env python3
"""Local update server: serves a folder on 127.0.0.1 with byte ranges.

  update_server.py ROOT [--port N] [--port-file F] [--log F] [--rate BYTES_PER_S]
                   [--drop-after N] [--ignore-range] [--status CODE]
                   [--no-length] [--misplaced-range] [--fault-path PATH]
                   [--encoding gzip|deflate] [--encoded-ranges] [--chunked]
                   [--no-identity] [--etag-salt S] [--tls CERT KEY]
                   [--later-manifest DIR]

Faults apply to every file except /GX.txt, or only to --fault-path when given:
  --drop-after N   close the connection after N body bytes
  --ignore-range   answer 200 with the whole file even when a Range is asked
  --status CODE    answer CODE with a short body instead of the file
  --no-length      send no Content-Length (the connection end marks the end)
  --misplaced-range  answer a Range with 206 and the whole file from byte 0
  --encoding E     send the body gzip- or deflate-encoded (Content-Encoding),
                   answering a Range with 200 and the whole encoded file
  --encoded-ranges with --encoding: answer a Range with 206 and that range of
                   the encoded form
  --chunked        chunked transfer coding, no Content-Length
  (--drop-after counts the bytes of the body as sent, encoded or not)
Files are served with an ETag made from their content and a Last-Modified
from their time, also on 416 answers; --no-identity sends neither, and
--etag-salt S makes the ETag differ for the same content. Replacing a file
in ROOT between two runs changes both.
Each request's line and headers are appended to --log as one JSON object.
With --tls the server speaks HTTPS with that certificate and key.
--later-manifest DIR serves /GX.txt and /GX.sig from DIR from the second
request of /GX.txt on: a manifest that changes while an update runs.
Only files inside ROOT are served: a path with "..", a backslash or a NUL
(also percent-encoded), a target that is not a path, or a symbolic link
leading out of ROOT is answered 403.
"""
import argparse
import email.utils
import gzip
import hashlib
import json
import os
import re
import ssl
import threading
import time
import urllib.parse
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ARGS = None
LOG_LOCK = threading.Lock()
MANIFEST_REQUESTS = [0]


TAGS = {}


def content_tag(file):
    """An ETag made from the file's bytes (kept while its time and size stay)."""
    stat = os.stat(file)
    key = (file, stat.st_mtime_ns, stat.st_size, ARGS.etag_salt)
    if key not in TAGS:
        digest = hashlib.sha256(ARGS.etag_salt.encode())
        with open(file, "rb") as f:
            for block in iter(lambda: f.read(1 << 20), b""):
                digest.update(block)
        TAGS[key] = digest.hexdigest()[:20]
    return TAGS[key]


def served_file(root, target):
    """The file of ROOT a request target names: (path, None), or (None, 403)
    when the target would leave ROOT, or (None, 404) when there is no such
    file."""
    if not target.startswith("/"):
        return None, 403  # "*", or an absolute URI: nothing here is served so
    decoded = urllib.parse.unquote(target, errors="surrogateescape")
    if "\\" in decoded or "\0" in decoded:
        return None, 403
    parts = decoded.split("/")
    if ".." in parts:
        return None, 403
    real_root = os.path.realpath(root)
    file = os.path.realpath(os.path.join(real_root, *[p for p in parts if p not in ("", ".")]))
    # A symbolic link inside ROOT may lead anywhere: what counts is where.
    if os.path.commonpath([real_root, file]) != real_root:
        return None, 403
    if not os.path.isfile(file):
        return None, 404
    return file, None


class RecordingReader:
    """Keeps the raw request lines, so the log shows the bytes as sent."""

    def __init__(self, stream):
        self.stream = stream
        self.lines = []

    def readline(self, *args):
        line = self.stream.readline(*args)
        self.lines.append(line)
        return line

    def __getattr__(self, name):
        return getattr(self.stream, name)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def setup(self):
        super().setup()
        self.rfile = RecordingReader(self.rfile)

    def handle_one_request(self):
        self.rfile.lines = []
        super().handle_one_request()

    def log_message(self, *args):
        pass

    def log_request_headers(self):
        if not ARGS.log:
            return
        entry = {"line": self.requestline, "path": self.path,
                 "headers": [[k, v] for k, v in self.headers.items()],
                 "raw": b"".join(self.rfile.lines[1:]).decode("latin-1")}
        with LOG_LOCK, open(ARGS.log, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def faulted(self, path):
        return path != "/GX.txt" and (not ARGS.fault_path or ARGS.fault_path == path)

    def write_piece(self, piece, chunked):
        if chunked and piece:
            self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
        elif piece:
            self.wfile.write(piece)

    def send_body(self, data, drop_after=None, chunked=False):
        sent = 0
        chunk = 16384
        while sent < len(data):
            piece = data[sent:sent + chunk]
            if drop_after is not None and sent + len(piece) > drop_after:
                piece = piece[:max(0, drop_after - sent)]
                self.write_piece(piece, chunked)
                self.wfile.flush()
                self.close_connection = True
                self.connection.shutdown(2)
                return
            self.write_piece(piece, chunked)
            sent += len(piece)
            if ARGS.rate:
                time.sleep(len(piece) / ARGS.rate)
        if chunked:
            self.wfile.write(b"0\r\n\r\n")

    def send_identity(self, file):
        if ARGS.no_identity:
            return
        self.send_header("ETag", f'"{content_tag(file)}"')
        self.send_header("Last-Modified", email.utils.formatdate(os.path.getmtime(file), usegmt=True))

    def send_encoded(self, file, data, asked, faulted):
        """The file encoded as --encoding says; a Range gets 200 with the
        whole encoded file, or with --encoded-ranges 206 and that range of
        the encoded form."""
        if ARGS.encoding == "gzip":
            body = gzip.compress(data, mtime=0)
        else:
            body = zlib.compress(data)
        status, start = 200, 0
        if asked and ARGS.encoded_ranges and int(asked.group(1)) < len(body):
            status, start = 206, int(asked.group(1))
        self.send_response(status)
        self.send_header("Content-Encoding", ARGS.encoding)
        if status == 206:
            self.send_header("Content-Range", f"bytes {start}-{len(body) - 1}/{len(body)}")
        self.send_identity(file)
        self.send_length_or_chunked(len(body) - start, faulted)
        self.end_headers()
        self.send_body(body[start:], ARGS.drop_after if faulted else None, self.chunked(faulted))

    def chunked(self, faulted):
        return faulted and ARGS.chunked

    def send_length_or_chunked(self, length, faulted):
        if self.chunked(faulted):
            self.send_header("Transfer-Encoding", "chunked")
        elif faulted and ARGS.no_length:
            self.close_connection = True
            self.send_header("Connection", "close")
        else:
            self.send_header("Content-Length", str(length))

    def send_refusal(self, status):
        body = b"not found" if status == 404 else b"forbidden"
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.log_request_headers()
        path = self.path.split("?")[0]
        faulted = self.faulted(path)
        if faulted and ARGS.status:
            body = f"status {ARGS.status}".encode()
            self.send_response(ARGS.status)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        root = ARGS.root
        if ARGS.later_manifest and path in ("/GX.txt", "/GX.sig"):
            with LOG_LOCK:
                MANIFEST_REQUESTS[0] += path == "/GX.txt"
                if MANIFEST_REQUESTS[0] >= 2:
                    root = ARGS.later_manifest
        file, refusal = served_file(root, path)
        if refusal:
            self.send_refusal(refusal)
            return
        total = os.path.getsize(file)
        status, start = 200, 0
        asked = re.match(r"bytes\s*=\s*(\d+)-$", self.headers.get("Range", "").strip())
        if faulted and ARGS.encoding:
            with open(file, "rb") as f:
                self.send_encoded(file, f.read(), asked, faulted)
            return
        if asked and not (faulted and ARGS.ignore_range):
            start = int(asked.group(1))
            if start >= total:
                self.send_response(416)
                self.send_header("Content-Range", f"bytes */{total}")
                self.send_identity(file)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            status = 206
            if faulted and ARGS.misplaced_range:
                start = 0
        self.send_response(status)
        if status == 206:
            self.send_header("Content-Range", f"bytes {start}-{total - 1}/{total}")
        self.send_identity(file)
        self.send_length_or_chunked(total - start, faulted)
        self.send_header("Content-Type", "application/octet-stream")
        self.end_headers()
        with open(file, "rb") as f:
            drop_after = ARGS.drop_after if faulted else None
            if self.chunked(faulted):
                f.seek(start)
                self.send_body(f.read(), drop_after, True)
                return
            if drop_after is None and not ARGS.rate:
                # Plain transfers go straight from the file to the socket, so
                # the server does not limit what a benchmark measures.
                self.wfile.flush()
                self.connection.sendfile(f, start)
                return
            f.seek(start)
            self.send_body(f.read(), drop_after)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    parser.add_argument("--rate", type=float, default=0)
    parser.add_argument("--drop-after", type=int)
    parser.add_argument("--ignore-range", action="store_true")
    parser.add_argument("--status", type=int)
    parser.add_argument("--no-length", action="store_true")
    parser.add_argument("--misplaced-range", action="store_true")
    parser.add_argument("--fault-path")
    parser.add_argument("--encoding", choices=["gzip", "deflate"])
    parser.add_argument("--encoded-ranges", action="store_true")
    parser.add_argument("--chunked", action="store_true")
    parser.add_argument("--no-identity", action="store_true")
    parser.add_argument("--etag-salt", default="")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--later-manifest")
    ARGS = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", ARGS.port), Handler)
    if ARGS.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*ARGS.tls)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    server.daemon_threads = True
    if ARGS.port_file:
        with open(ARGS.port_file + ".part", "w") as f:
            f.write(str(server.server_address[1]))
        os.replace(ARGS.port_file + ".part", ARGS.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
