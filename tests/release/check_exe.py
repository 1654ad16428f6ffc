"""Reads the shipped .exe files' PE headers, import tables and resources, and fails on anything
Windows XP could not load: a subsystem version above 5.01 (i686) or 5.02 (x86_64), or an import
missing from the reviewed allow-list, which must name exactly the functions the programs import;
an i686 .exe larger than 300 KB, resources included (as shipped); and an .exe not marked
Terminal-Server-aware or reserving less than 8 MiB of main-thread stack.
Usage: check_exe.py ALLOW_LIST EXE..."""

import re
import subprocess
import sys

I686_LIMIT = 300 * 1024
STACK_RESERVE = 8 << 20


def parse(path):
    """What mingw-w64's objdump reads from the headers and the import table."""
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], check=True, capture_output=True,
                          text=True).stdout
    field = lambda name: re.search(r"^%s\s+(\S+)" % name, dump, re.M).group(1)
    imports, dll = set(), None
    for line in dump.splitlines():
        if line.startswith("\tDLL Name: "):
            dll = line.split(": ", 1)[1].upper()
        elif dll and re.match(r"^\t\s*[0-9a-f]+\s+\d+\s+\S", line):
            imports.add((dll, line.split()[2]))
        elif not line.strip():
            dll = None
    return {"format": re.search(r"file format (\S+)", dump).group(1),
            "subsystem": int(field("Subsystem"), 16),
            "subsystem_version": (int(field("MajorSubsystemVersion")), int(field("MinorSubsystemVersion"))),
            "dll_characteristics": int(field("DllCharacteristics"), 16),
            "stack_reserve": int(field("SizeOfStackReserve"), 16),
            "imports": imports, "bytes": open(path, "rb").read()}


def load_allow_list(path):
    allowed = {}
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if line:
            dll, function, version = line.split(None, 2)
            allowed[(dll.upper(), function)] = version
    return allowed


def check(path, allowed):
    problems = []
    info = parse(path)
    limit = {"pei-i386": (5, 1), "pei-x86-64": (5, 2)}.get(info["format"])
    if limit is None:
        problems.append("unknown format %s" % info["format"])
    elif info["subsystem_version"] > limit:
        problems.append("subsystem version %d.%02d above %d.%02d" % (info["subsystem_version"] + limit))
    if info["format"] == "pei-i386" and len(info["bytes"]) > I686_LIMIT:
        problems.append("%d bytes, more than %d" % (len(info["bytes"]), I686_LIMIT))
    if not info["dll_characteristics"] & 0x8000:
        problems.append("DllCharacteristics %04x, expected the Terminal-Server-aware flag 8000"
                        % info["dll_characteristics"])
    if info["stack_reserve"] < STACK_RESERVE:
        problems.append("stack reserve %d bytes, expected at least %d" % (info["stack_reserve"], STACK_RESERVE))
    if info["subsystem"] != 2:
        problems.append("not a GUI program (subsystem %d)" % info["subsystem"])
    for dll, function in sorted(info["imports"]):
        version = allowed.get((dll, function))
        if version is None:
            problems.append("import not on the allow-list: %s!%s" % (dll, function))
        elif not any(v in version for v in ("Windows 95", "Windows NT", "Windows 2000", "Windows XP")):
            problems.append("import needs %s: %s!%s" % (version, dll, function))
    data = info["bytes"]
    if b"urn:schemas-microsoft-com:asm.v2" not in data or b'encoding="UTF-8"' not in data:
        problems.append("no XP-compatible manifest")
    if "Qelvane".encode("utf-16-le") not in data or "1.2.0.0".encode("utf-16-le") not in data:
        problems.append("no version resource")
    return problems, info["imports"]


def main():
    allowed = load_allow_list(sys.argv[1])
    failed = False
    imported = set()
    for path in sys.argv[2:]:
        problems, imports = check(path, allowed)
        imported |= imports
        print("%s: %d imports, %s" % (path, len(imports), "ok" if not problems else "FAILED"))
        for problem in problems:
            print("  " + problem)
        failed = failed or bool(problems)
    for dll, function in sorted(allowed.keys() - imported):
        print("%s: %s!%s is listed but imported by none of the programs" % (sys.argv[1], dll, function))
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
