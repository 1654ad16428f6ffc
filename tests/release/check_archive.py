"""Reads a release archive back: its entries, names that read the same in code pages 437
and 936, fixed times and Unix modes, no extra fields, SHA256SUMS against the bytes, the
readmes. Usage: check_archive.py ZIP [ZIP_PACKED_AGAIN], the second with the same bytes."""

import hashlib
import re
import sys
import zipfile

TOP = "qelvane-1.2/"
FILES = ["README-en.txt", "README-zh.txt", "SHA256SUMS", "qelvane-x64.exe", "qelvane-x86.exe"]


def check(path):
    problems = []
    raw = open(path, "rb").read()
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        if [info.filename for info in infos] != [TOP] + [TOP + name for name in FILES]:
            problems.append("entries %s" % [info.filename for info in infos])
        for info in infos:
            # Without the UTF-8 flag zipfile decodes in 437, which maps every byte back.
            stored = info.orig_filename.encode("utf-8" if info.flag_bits & 0x800 else "cp437")
            seen = stored.decode("cp437"), stored.decode("cp936", "replace")
            if info.flag_bits & 0x800 or not stored.isascii() or seen[0] != seen[1]:
                problems.append("%r reads %r in 437 and %r in 936" % ((stored,) + seen))
            if info.date_time != (2026, 12, 6, 0, 0, 0):
                problems.append("%s: time %s" % (info.filename, info.date_time))
            mode, local_extra = 0o40755 if info.is_dir() else 0o100644, raw[info.header_offset + 28:][:2]
            if (info.create_system, info.external_attr >> 16, info.extra, local_extra) != (3, mode, b"", b"\0\0"):
                problems.append("%s: mode %o, system %d, extra fields %r, local %r (not %o, 3, none)" % (
                    info.filename, info.external_attr >> 16, info.create_system, info.extra, local_extra, mode))
        # Reading an entry also checks its local header's name and its CRC.
        data = {info.filename[len(TOP):]: archive.read(info) for info in infos if not info.is_dir()}
    sums = data.get("SHA256SUMS", b"").decode("ascii", "replace")
    expected = ["%s  %s" % (hashlib.sha256(data.get(name, b"")).hexdigest(), name)
                for name in FILES if name != "SHA256SUMS"]
    lines = sums.split("\n")
    if lines.pop() != "" or sorted(lines) != sorted(expected):
        problems.append("SHA256SUMS is %r, not the lines %s" % (sums, expected))
    for name in ("README-en.txt", "README-zh.txt"):
        text = data.get(name, b"")
        if b"certutil -hashfile" not in text or text.count(b"\n") != text.count(b"\r\n"):
            problems.append("%s: no certutil -hashfile, or not in CR LF" % name)
    zh = data.get("README-zh.txt", b"")
    text = zh.decode("utf-8", "replace")
    if not zh.startswith(b"\xef\xbb\xbf") or "\ufffd" in text or not re.search("[\u4e00-\u9fff]", text):
        problems.append("README-zh.txt is not Chinese text in UTF-8 with a byte-order mark")
    return problems


def main():
    problems = check(sys.argv[1])
    if len(sys.argv) > 2 and open(sys.argv[1], "rb").read() != open(sys.argv[2], "rb").read():
        problems.append("packed again, %s has other bytes" % sys.argv[2])
    print("%s: %s" % (sys.argv[1], "ok" if not problems else "FAILED"))
    for problem in problems:
        print("  " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
