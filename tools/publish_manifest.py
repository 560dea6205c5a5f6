#!/usr/bin/env python3
"""Writes the update manifest GX.txt (GBK) for a release folder.

  publish_manifest.py RELEASE_DIR --version V --host HOST[:PORT]
      [--kind main|full|both|none] [--name NAME]
      [--changelog TEXT | --changelog-file FILE] [--no-checksum] [--no-size]
      [--set FIELD=VALUE ...] [--omit FIELD ...] [--output FILE] [--key KEY]
      [--published-at TIME] [--expires-in DAYS]
  publish_manifest.py keygen KEY
  publish_manifest.py public-key KEY

The release folder holds the new main executable (Norvane.exe) and/or the
full installer (setup.exe). Their addresses are http://HOST/<file name>; their
SHA-256 go into [校验] and [完整校验] unless --no-checksum, and their sizes in
bytes (decimal) into [大小] and [完整大小] unless --no-size. A client refuses a
download whose server announces another length and never writes more than
the published size; without a size it stops before its disk runs low on free
space. A manifest over 1 MiB is refused: clients read no more. --kind selects the
update the clients run: main sets [自动] to 真, full sets [是否完整] to 真.
[发布时间] is when the manifest was published (--published-at, default now)
and [有效期] when it expires (--expires-in DAYS after that, default 30), both
UTC as 2026-12-08T12:00:00Z: signed updaters refuse an expired manifest and
one published before the newest they accepted, so a vendor republishes
before the expiry. --set adds or replaces any field, --omit leaves one out
(a client then reads it as empty). A value that holds a field marker, or a text GBK cannot hold,
is refused: the clients would cut the manifest wrongly.

Signed releases: `keygen KEY` writes a new ECDSA P-256 private key (PEM,
readable by its owner only) and prints its public key as 128 hexadecimal
digits (X then Y, big-endian), the value of the updater's CMake variable
UPDATE_PUBLIC_KEY; `public-key KEY` prints it again. With --key KEY the
manifest is signed: GX.sig beside GX.txt holds the base64 text of the
64-byte signature r||s (big-endian) over the exact bytes of GX.txt, ECDSA
P-256 with SHA-256. A signed manifest's version must be dot-separated
numbers (signed updaters refuse anything else). Without --key an earlier
GX.sig beside the output is removed, since it no longer matches. To rotate
a key, ship an updater whose UPDATE_PUBLIC_KEY lists the old and the new
public key (comma-separated), then sign with the new key, and drop the old
one from later updaters.
"""
import argparse
import base64
import datetime
import hashlib
import os
import re
import sys
import urllib.parse

MAIN_FILE = "Norvane.exe"
INSTALLER_FILE = "setup.exe"
TRUE, FALSE = "真", "假"
# Every field the clients cut, in the order written.
FIELDS = ["版本", "文件名", "当前版本", "地址", "完整", "自动", "手动", "是否完整",
          "校验", "完整校验", "大小", "完整大小", "发布时间", "有效期", "日介绍", "mal"]
TIME_FORMAT = "%Y-%m-%dT%H:%M:%SZ"
NUMERIC_VERSION = re.compile(r"[0-9]+(\.[0-9]+)*")
# The largest manifest the clients read.
MANIFEST_LIMIT = 1 << 20


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def address(host, name):
    return f"http://{host}/{urllib.parse.quote(name)}"


def utc_time(text):
    """A time as the clients read it: YYYY-MM-DDThh:mm:ssZ."""
    try:
        when = datetime.datetime.strptime(text, TIME_FORMAT).replace(tzinfo=datetime.timezone.utc)
    except ValueError:
        raise argparse.ArgumentTypeError(f"{text!r} is not a UTC time like 2026-12-08T12:00:00Z")
    if when.strftime(TIME_FORMAT) != text or when.year < 1970:
        raise argparse.ArgumentTypeError(f"{text!r} is not a UTC time like 2026-12-08T12:00:00Z")
    return when


def days(text):
    value = float(text)
    if not 0 < value <= 3650:
        raise argparse.ArgumentTypeError("the days until expiry must be above 0 and at most 3650")
    return value


def build_fields(args):
    main = os.path.join(args.release, MAIN_FILE)
    installer = os.path.join(args.release, INSTALLER_FILE)
    needed = {"main": [main], "full": [installer], "both": [main, installer], "none": []}[args.kind]
    for path in needed:
        if not os.path.isfile(path):
            raise SystemExit(f"publish_manifest: {path} is missing for --kind {args.kind}")
    changelog = args.changelog
    if args.changelog_file:
        with open(args.changelog_file, encoding="utf-8") as f:
            changelog = f.read()
    fields = {"版本": args.version, "文件名": args.name,
              "自动": TRUE if args.kind in ("main", "both") else FALSE,
              "是否完整": TRUE if args.kind in ("full", "both") else FALSE,
              "mal": changelog or ""}
    published = args.published_at or datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    fields["发布时间"] = published.strftime(TIME_FORMAT)
    fields["有效期"] = (published + datetime.timedelta(days=args.expires_in)).strftime(TIME_FORMAT)
    if os.path.isfile(main):
        fields["地址"] = address(args.host, MAIN_FILE)
        if not args.no_checksum:
            fields["校验"] = sha256(main)
        if not args.no_size:
            fields["大小"] = str(os.path.getsize(main))
    if os.path.isfile(installer):
        fields["完整"] = address(args.host, INSTALLER_FILE)
        if not args.no_checksum:
            fields["完整校验"] = sha256(installer)
        if not args.no_size:
            fields["完整大小"] = str(os.path.getsize(installer))
    for item in args.set:
        name, sep, value = item.partition("=")
        if not sep or name not in FIELDS:
            raise SystemExit(f"publish_manifest: --set {item}: not FIELD=VALUE with a known field")
        fields[name] = value
    for name in args.omit:
        fields.pop(name, None)
    return fields


def manifest_text(fields):
    markers = [m for name in FIELDS for m in (f"[{name}]", f"[/{name}]")]
    lines = []
    for name in FIELDS:
        if name not in fields:
            continue
        value = fields[name]
        for marker in markers:
            if marker in value:
                raise SystemExit(f"publish_manifest: the value of {name} holds the marker {marker}")
        lines.append(f"[{name}]{value}[/{name}]\r\n")
    return "".join(lines)


def load_key(path):
    """The private key of a key file; only P-256 keys are accepted."""
    from cryptography.hazmat.primitives import serialization
    from cryptography.hazmat.primitives.asymmetric import ec
    try:
        with open(path, "rb") as f:
            key = serialization.load_pem_private_key(f.read(), password=None)
    except (OSError, ValueError, TypeError) as error:
        raise SystemExit(f"publish_manifest: cannot read the key {path}: {error}")
    if not isinstance(key, ec.EllipticCurvePrivateKey) or key.curve.name != "secp256r1":
        raise SystemExit(f"publish_manifest: {path} is not an ECDSA P-256 private key")
    return key


def public_key_hex(key):
    numbers = key.public_key().public_numbers()
    return (numbers.x.to_bytes(32, "big") + numbers.y.to_bytes(32, "big")).hex()


def signature_text(key, data):
    """base64 of r||s, 32 big-endian bytes each."""
    from cryptography.hazmat.primitives import hashes
    from cryptography.hazmat.primitives.asymmetric import ec
    from cryptography.hazmat.primitives.asymmetric.utils import decode_dss_signature
    r, s = decode_dss_signature(key.sign(data, ec.ECDSA(hashes.SHA256())))
    return base64.b64encode(r.to_bytes(32, "big") + s.to_bytes(32, "big")).decode("ascii")


def keygen(argv):
    parser = argparse.ArgumentParser(prog="publish_manifest.py keygen",
                                     description="Writes a new release signing key and prints its public key.")
    parser.add_argument("key")
    args = parser.parse_args(argv)
    from cryptography.hazmat.primitives import serialization
    from cryptography.hazmat.primitives.asymmetric import ec
    key = ec.generate_private_key(ec.SECP256R1())
    pem = key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                            serialization.NoEncryption())
    try:
        # Never overwrite a key: releases signed with it would lose their updater.
        fd = os.open(args.key, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
    except FileExistsError:
        raise SystemExit(f"publish_manifest: {args.key} exists; a key is never overwritten")
    with os.fdopen(fd, "wb") as f:
        f.write(pem)
    print(public_key_hex(key))


def public_key(argv):
    parser = argparse.ArgumentParser(prog="publish_manifest.py public-key",
                                     description="Prints the public key of a release signing key.")
    parser.add_argument("key")
    print(public_key_hex(load_key(parser.parse_args(argv).key)))


def write_atomically(path, data):
    with open(path + ".part", "wb") as f:
        f.write(data)
    os.replace(path + ".part", path)


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if argv[:1] == ["keygen"]:
        return keygen(argv[1:])
    if argv[:1] == ["public-key"]:
        return public_key(argv[1:])
    parser = argparse.ArgumentParser(
        description="Writes GX.txt for a release folder: addresses, SHA-256 ([校验], [完整校验]) and sizes "
                    "in bytes ([大小], [完整大小]) of Norvane.exe and setup.exe found there.",
        epilog="With a published size a client refuses a download whose server announces another length and "
               "never writes more than that size. Clients read at most 1 MiB of manifest; a larger one is "
               "refused here.")
    parser.add_argument("release")
    parser.add_argument("--version", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--kind", choices=["main", "full", "both", "none"], default="main")
    parser.add_argument("--name", default="Norvane")
    parser.add_argument("--changelog", default="")
    parser.add_argument("--changelog-file")
    parser.add_argument("--no-checksum", action="store_true", help="leave out [校验] and [完整校验]")
    parser.add_argument("--no-size", action="store_true",
                        help="leave out [大小] and [完整大小]: clients then bound a download by their free "
                             "disk space only")
    parser.add_argument("--set", action="append", default=[], metavar="FIELD=VALUE")
    parser.add_argument("--omit", action="append", default=[], metavar="FIELD")
    parser.add_argument("--output")
    parser.add_argument("--key", help="private key file: also write GX.sig")
    parser.add_argument("--published-at", type=utc_time, metavar="TIME",
                        help="[发布时间], UTC as 2026-12-08T12:00:00Z (default now)")
    parser.add_argument("--expires-in", type=days, default=30.0, metavar="DAYS",
                        help="[有效期] is this many days after [发布时间] (default 30)")
    args = parser.parse_args(argv)
    key = load_key(args.key) if args.key else None
    fields = build_fields(args)
    if key and not NUMERIC_VERSION.fullmatch(fields.get("版本", "")):
        raise SystemExit(f"publish_manifest: a signed manifest needs a version of dot-separated numbers, "
                         f"not {fields.get('版本', '')!r}")
    text = manifest_text(fields)
    try:
        data = text.encode("gbk")
    except UnicodeEncodeError as error:
        raise SystemExit(f"publish_manifest: GBK cannot hold {text[error.start:error.end]!r}")
    if len(data) > MANIFEST_LIMIT:
        raise SystemExit(f"publish_manifest: the manifest is {len(data)} bytes; clients read at most "
                         f"{MANIFEST_LIMIT}")
    output = args.output or os.path.join(args.release, "GX.txt")
    signature = os.path.splitext(output)[0] + ".sig"
    if key:
        chosen = "校验" if fields.get("自动") == TRUE else "完整校验" if fields.get("是否完整") == TRUE else None
        if chosen and not fields.get(chosen):
            print(f"publish_manifest: warning: no [{chosen}] checksum; signed updaters refuse this manifest",
                  file=sys.stderr)
        # The signature first: a client between the two writes sees a
        # mismatch and refuses, never an unsigned manifest.
        write_atomically(signature, signature_text(key, data).encode("ascii"))
        write_atomically(output, data)
        print(f"publish_manifest: wrote {output} ({len(data)} bytes) and {signature}")
        return
    write_atomically(output, data)
    print(f"publish_manifest: wrote {output} ({len(data)} bytes)")
    if os.path.exists(signature):
        os.remove(signature)
        print(f"publish_manifest: removed {signature}, which signed an earlier manifest")


if __name__ == "__main__":
    main(sys.argv[1:])
