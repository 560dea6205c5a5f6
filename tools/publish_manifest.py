#!/usr/bin/env python3
"""Writes the update manifest GX.txt (GBK) for a release folder.

  publish_manifest.py RELEASE_DIR --version V --host HOST[:PORT]
      [--kind main|full|both|none] [--name NAME]
      [--changelog TEXT | --changelog-file FILE] [--no-checksum]
      [--set FIELD=VALUE ...] [--omit FIELD ...] [--output FILE]

The release folder holds the new main executable (Norvane.exe) and/or the
full installer (setup.exe). Their addresses are http://HOST/<file name>; their
SHA-256 go into [校验] and [完整校验] unless --no-checksum. --kind selects the
update the clients run: main sets [自动] to 真, full sets [是否完整] to 真.
--set adds or replaces any field, --omit leaves one out (a client then reads
it as empty). A value that holds a field marker, or a text GBK cannot hold,
is refused: the clients would cut the manifest wrongly.
"""
import argparse
import hashlib
import os
import sys
import urllib.parse

MAIN_FILE = "Norvane.exe"
INSTALLER_FILE = "setup.exe"
TRUE, FALSE = "真", "假"
# Every field the clients cut, in the order written.
FIELDS = ["版本", "文件名", "当前版本", "地址", "完整", "自动", "手动", "是否完整",
          "校验", "完整校验", "日介绍", "mal"]


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def address(host, name):
    return f"http://{host}/{urllib.parse.quote(name)}"


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
    if os.path.isfile(main):
        fields["地址"] = address(args.host, MAIN_FILE)
        if not args.no_checksum:
            fields["校验"] = sha256(main)
    if os.path.isfile(installer):
        fields["完整"] = address(args.host, INSTALLER_FILE)
        if not args.no_checksum:
            fields["完整校验"] = sha256(installer)
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


def main(argv=None):
    parser = argparse.ArgumentParser(description="Writes GX.txt for a release folder.")
    parser.add_argument("release")
    parser.add_argument("--version", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--kind", choices=["main", "full", "both", "none"], default="main")
    parser.add_argument("--name", default="Norvane")
    parser.add_argument("--changelog", default="")
    parser.add_argument("--changelog-file")
    parser.add_argument("--no-checksum", action="store_true")
    parser.add_argument("--set", action="append", default=[], metavar="FIELD=VALUE")
    parser.add_argument("--omit", action="append", default=[], metavar="FIELD")
    parser.add_argument("--output")
    args = parser.parse_args(argv)
    text = manifest_text(build_fields(args))
    try:
        data = text.encode("gbk")
    except UnicodeEncodeError as error:
        raise SystemExit(f"publish_manifest: GBK cannot hold {text[error.start:error.end]!r}")
    output = args.output or os.path.join(args.release, "GX.txt")
    with open(output + ".part", "wb") as f:
        f.write(data)
    os.replace(output + ".part", output)
    print(f"publish_manifest: wrote {output} ({len(data)} bytes)")


if __name__ == "__main__":
    main(sys.argv[1:])
