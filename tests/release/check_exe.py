"""Reads a shipped .exe's PE header, import table and resources, and fails on anything
Windows XP could not load: a subsystem version above 5.01 (i686) or 5.02 (x86_64), or an
imported function missing from the reviewed allow-list in resources/xp-imports.txt; and
an i686 .exe larger than 300 KB, resources included (the size the program is shipped at).
Usage: check_exe.py ALLOW_LIST EXE..."""

import struct
import sys

I686_LIMIT = 300 * 1024


def parse(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    wide = magic == 0x20B
    subsystem_version = struct.unpack_from("<HH", data, opt + 48)
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    directories = opt + (112 if wide else 96)
    table = opt + optional_size
    section_list = []
    for i in range(sections):
        _, vsize, vaddr, rsize, rptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        section_list.append((vaddr, max(vsize, rsize), rptr))

    def at(rva):
        for vaddr, size, rptr in section_list:
            if vaddr <= rva < vaddr + size:
                return rptr + rva - vaddr
        raise ValueError("RVA %x outside every section" % rva)

    def cstring(offset):
        return data[offset:data.index(b"\0", offset)].decode("ascii")

    imports = set()
    import_rva = struct.unpack_from("<I", data, directories + 8)[0]
    descriptor = at(import_rva)
    while True:
        lookup, _, _, name, first = struct.unpack_from("<IIIII", data, descriptor)
        if name == 0:
            break
        dll = cstring(at(name)).upper()
        thunk = at(lookup or first)
        step, ordinal_flag = (8, 1 << 63) if wide else (4, 1 << 31)
        while True:
            value = struct.unpack_from("<Q" if wide else "<I", data, thunk)[0]
            if value == 0:
                break
            imports.add((dll, "#%d" % (value & 0xFFFF) if value & ordinal_flag else cstring(at(value) + 2)))
            thunk += step
        descriptor += 20
    resource_rva = struct.unpack_from("<I", data, directories + 16)[0]
    return {"machine": machine, "subsystem": subsystem, "subsystem_version": subsystem_version,
            "imports": imports, "has_resources": resource_rva != 0, "bytes": data}


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
    limit = {0x14C: (5, 1), 0x8664: (5, 2)}.get(info["machine"])
    if limit is None:
        problems.append("unknown machine %#x" % info["machine"])
    elif info["subsystem_version"] > limit:
        problems.append("subsystem version %d.%02d above %d.%02d" % (info["subsystem_version"] + limit))
    if info["machine"] == 0x14C and len(info["bytes"]) > I686_LIMIT:
        problems.append("%d bytes, more than %d" % (len(info["bytes"]), I686_LIMIT))
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
    return problems, len(info["imports"])


def main():
    allowed = load_allow_list(sys.argv[1])
    failed = False
    for path in sys.argv[2:]:
        problems, count = check(path, allowed)
        print("%s: %d imports, %s" % (path, count, "ok" if not problems else "FAILED"))
        for problem in problems:
            print("  " + problem)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
