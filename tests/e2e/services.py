"""A Wine prefix whose services stand in for those the program reconfigures, so that
end-to-end tests can check the start types and states the service control manager
reports after the program's commands have run.

Every service the profiles name (but WINE_KEEPS) runs tools/test_service.cpp in a
process of its own, and system32\\sc.exe is tools/test_sc.cpp (Wine's own sc cannot
"config"). Programs must run with wine_env(): its DLL overrides make Wine load that
sc instead of its builtin one. prepare_services.py keeps the prefix's wineserver up
for a whole test session, so that states hold between tests."""

import os
import re
import shutil
import subprocess
import tempfile
import time

BIN = os.environ.get("QELVANE_BIN", "")
PREFIX = os.environ.get("QELVANE_SERVICE_PREFIX", "")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

SERVICE_DIR = "qelvane-test"  # under drive_c
SERVICE_EXE = "C:\\qelvane-test\\test_service.exe"
MARKER = ".qelvane-services-ready"
# Services that keep Wine's own program. Wine's COM starts RpcSs whenever a process
# needs it (explorer's desktop does at every prefix start) and retries without end
# while its endpoint is missing: with the stand-in, explorer.exe and services.exe
# spin. The SCM still records the start types the program sets for it.
WINE_KEEPS = ("RpcSs",)
DEFAULT_OVERRIDES = "mscoree,mshtml=;winebrowser.exe=d"
PROFILE_RUNS = [("automatic", 0, 0, 0, 0), ("restore", 0, 0, 0, 0)] + [
    ("guided", d, p, i, w) for d in (0, 1) for p in (0, 1) for i in (0, 1) for w in (0, 1)]

NET_LINE = re.compile(r'^cmd /c NET (?:stop|start) ("[^"]*"|\S+)$')
SC_LINE = re.compile(r'^cmd /c sc config ("[^"]*"|\S+) start= (\S+)$')


def unquoted(name):
    return name[1:-1] if len(name) >= 2 and name[0] == name[-1] == '"' else name


def service_of(command_line):
    """The service a NET or sc command line of the program acts on, else None."""
    match = NET_LINE.match(command_line) or SC_LINE.match(command_line)
    return unquoted(match.group(1)) if match else None


def expected_start_types(command_lines, baseline):
    """{service: start type} after those command lines ran: the mode of the last
    "sc config" naming a service, else its baseline. Names are matched without
    regard to case, as the control manager does, under the baseline's spelling."""
    result = dict(baseline)
    spelling = {name.lower(): name for name in baseline}
    for line in command_lines:
        match = SC_LINE.match(line)
        if match:
            name = unquoted(match.group(1))
            result[spelling.setdefault(name.lower(), name)] = match.group(2)
    return result


def wine_env(prefix=None):
    """os.environ for programs of the service prefix: Wine loads the test sc.exe."""
    env = dict(os.environ, WINEARCH="win64")
    if prefix or PREFIX:
        env["WINEPREFIX"] = prefix or PREFIX
    overrides = [entry for entry in env.get("WINEDLLOVERRIDES", DEFAULT_OVERRIDES).split(";")
                 if entry and not entry.lower().startswith("sc.exe=")]
    env["WINEDLLOVERRIDES"] = ";".join(overrides + ["sc.exe=n"])
    env.setdefault("WINEDEBUG", "-all")
    return env


def windows_path(path):
    """A Unix path as Wine's Z: drive shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, prefix=None, timeout=60):
    """Runs a Windows program to its end: (exit code, output bytes). Output goes to
    a file: Wine's desktop process may inherit a pipe and hold it open."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(["wine", *[str(a) for a in args]], stdin=subprocess.DEVNULL, stdout=out,
                              stderr=subprocess.DEVNULL, env=wine_env(prefix), timeout=timeout).returncode
        out.seek(0)
        return code, out.read()


_names_cache = {}


def all_services(bin_dir=None, prefix=None):
    """The services the profiles name, in order of first appearance, from what
    profile_dump.exe says each run launches. Cached per bin dir."""
    bin_dir = bin_dir or BIN
    if bin_dir not in _names_cache:
        names, seen = [], set()
        for run in PROFILE_RUNS:
            code, out = wine(os.path.join(bin_dir, "profile_dump.exe"), *run, prefix=prefix)
            if code != 0:
                raise RuntimeError("profile_dump %s failed: %d" % (run, code))
            head = out.partition(b"LOG\n")[0].decode("utf-8")
            for line in head.splitlines():
                name = service_of(line[4:]) if line.startswith("RUN ") else None
                if line.startswith("RUN ") and name is None:
                    raise RuntimeError("not a service command: " + line)
                if name and name.lower() not in seen:
                    seen.add(name.lower())
                    names.append(name)
        _names_cache[bin_dir] = tuple(names)
    return _names_cache[bin_dir]


def __getattr__(name):  # ALL_SERVICES, computed on first use from QELVANE_BIN
    if name == "ALL_SERVICES":
        return all_services()
    raise AttributeError(name)


def svctool(*args, prefix=None, bin_dir=None, lines=None, timeout=120):
    """Runs svctool.exe; `lines` go into a UTF-8 file passed as the last argument."""
    with tempfile.TemporaryDirectory(prefix="qelvane-svc-") as work:
        args = [str(a) for a in args]
        if lines is not None:
            path = os.path.join(work, "input.txt")
            with open(path, "w", encoding="utf-8", newline="\n") as f:
                f.writelines(line + "\n" for line in lines)
            args.append(windows_path(path))
        code, out = wine(os.path.join(bin_dir or BIN, "svctool.exe"), *args, prefix=prefix, timeout=timeout)
        return code, out.decode("utf-8", "replace")


def journal_dir(prefix=None):
    return os.path.join(prefix or PREFIX, "drive_c", SERVICE_DIR, "sc-journal")


def clear_journal(prefix=None):
    """Empties the test sc's journal (see tools/test_sc.cpp); sc writes one only
    while its folder exists."""
    shutil.rmtree(journal_dir(prefix), ignore_errors=True)
    os.makedirs(journal_dir(prefix))


def journal(prefix=None):
    """What each test sc did since clear_journal: [(service, mode, function, code)]."""
    entries = []
    for name in sorted(os.listdir(journal_dir(prefix))):
        with open(os.path.join(journal_dir(prefix), name), encoding="utf-8") as f:
            for line in f.read().splitlines():
                service, mode, function, code = line.split("\t")
                entries.append((service, mode, function, int(code)))
    return entries


def run_command(command_line, prefix=None, bin_dir=None, timeout=60):
    """Runs one command line exactly as the program hands it to CreateProcessW
    (quotes and all), waits for it: (exit code, output bytes)."""
    with tempfile.TemporaryDirectory(prefix="qelvane-svc-") as work:
        command, exit_file = os.path.join(work, "command.txt"), os.path.join(work, "exit.txt")
        with open(command, "w", encoding="utf-8", newline="\n") as f:
            f.write(command_line + "\n")
        code, out = wine(os.path.join(bin_dir or BIN, "svctool.exe"), "run", windows_path(command),
                         windows_path(exit_file), prefix=prefix, timeout=timeout)
        if code != 0:
            raise RuntimeError("svctool run failed: " + out.decode("utf-8", "replace"))
        with open(exit_file) as f:
            return int(f.read()), out


def reset(states, prefix=None, bin_dir=None):
    """Stops each service of {name: auto|demand|disabled} and sets its start type.
    A service Wine keeps (WINE_KEEPS) is never stopped: only its start type is set."""
    keep = {name.lower() for name in WINE_KEEPS}
    code, out = svctool("reset", prefix=prefix, bin_dir=bin_dir,
                        lines=["%s\t%s" % (name, mode) for name, mode in states.items() if name.lower() not in keep])
    if code != 0:
        raise RuntimeError("svctool reset failed: " + out)
    for name, mode in states.items():
        if name.lower() in keep:
            code, _ = run_command("cmd /c sc config %s start= %s" % (name, mode), prefix, bin_dir)
            if code != 0:
                raise RuntimeError("sc config %s failed: %d" % (name, code))


def query(names, prefix=None, bin_dir=None):
    """{name: (start type, state)}; a service that does not exist: ("missing", "missing")."""
    names = list(names)
    code, out = svctool("query", prefix=prefix, bin_dir=bin_dir, lines=names)
    if code != 0:
        raise RuntimeError("svctool query failed: " + out)
    rows = [line.split("\t") for line in out.splitlines()]
    result = {row[0]: (row[1], row[2]) for row in rows if len(row) == 3}
    if sorted(result) != sorted(names):
        raise RuntimeError("svctool query answered for other names: " + out)
    return result


def query_settled(names, timeout=10, prefix=None, bin_dir=None):
    """query(), once no service is half-way (*_pending) or the time is up. Wine's
    NET stop returns as soon as the stop is asked for, not when it is done."""
    deadline = time.time() + timeout
    while True:
        result = query(names, prefix, bin_dir)
        if time.time() > deadline or not any(state.endswith("_pending") for _, state in result.values()):
            return result
        time.sleep(0.1)


def binaries(names, prefix=None, bin_dir=None):
    """{name: (service type as 0x.., binary path)}."""
    code, out = svctool("config", prefix=prefix, bin_dir=bin_dir, lines=list(names))
    if code != 0:
        raise RuntimeError("svctool config failed: " + out)
    return {row[0]: (row[1], row[2]) for row in (line.split("\t") for line in out.splitlines()) if len(row) == 3}


def running_images(images, prefix=None, bin_dir=None):
    """Process ids of running processes with those image names, as "image pid" lines."""
    code, out = svctool("idle", 0, *images, prefix=prefix, bin_dir=bin_dir)
    return [] if code == 0 else [line for line in out.splitlines()[1:] if line.strip()]


def wait_idle(timeout_s, prefix=None, bin_dir=None):
    """True once no cmd.exe, net.exe or sc.exe runs in the prefix; False on timeout."""
    code, _ = svctool("idle", int(timeout_s * 1000), "cmd.exe", "net.exe", "sc.exe", prefix=prefix,
                      bin_dir=bin_dir, timeout=timeout_s + 60)
    return code == 0


def _replace_if_changed(source, target):
    """Copies by rename, so that a running service keeps its old file intact."""
    with open(source, "rb") as f:
        data = f.read()
    if os.path.exists(target):
        with open(target, "rb") as f:
            if f.read() == data:
                return
    with open(target + ".new", "wb") as f:
        f.write(data)
    os.chmod(target + ".new", 0o755)
    os.replace(target + ".new", target)


def install_binaries(prefix, bin_dir):
    """The test service into C:\\qelvane-test, the test sc over Wine's."""
    windows = os.path.join(prefix, "drive_c", "windows")
    os.makedirs(os.path.join(prefix, "drive_c", SERVICE_DIR), exist_ok=True)
    _replace_if_changed(os.path.join(bin_dir, "test_service.exe"),
                        os.path.join(prefix, "drive_c", SERVICE_DIR, "test_service.exe"))
    for system in ("system32", "syswow64"):
        if os.path.isdir(os.path.join(windows, system)):
            _replace_if_changed(os.path.join(bin_dir, "testsc", "sc.exe"), os.path.join(windows, system, "sc.exe"))


def prepare_prefix(prefix=None, bin_dir=None, root=None):
    """Creates the service prefix once (a marker file says it is done): Wine's
    defaults, the project's prefix settings, the test service and sc, and every
    profile service installed. Later calls only refresh the two programs.
    Returns True if it created the prefix."""
    prefix, bin_dir, root = prefix or PREFIX, bin_dir or BIN, root or ROOT
    if not prefix or not bin_dir:
        raise RuntimeError("no prefix or bin dir (QELVANE_SERVICE_PREFIX, QELVANE_BIN)")
    if os.path.exists(os.path.join(prefix, MARKER)):
        install_binaries(prefix, bin_dir)
        return False
    if os.path.isdir(prefix) and os.listdir(prefix) and not os.path.exists(os.path.join(prefix, "system.reg")):
        raise RuntimeError(prefix + " is neither empty nor a Wine prefix; not removing it")
    stop_server(prefix)  # a half-made prefix from an interrupted attempt
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(os.path.dirname(os.path.abspath(prefix)), exist_ok=True)
    env = wine_env(prefix)
    # common.sh picks its prefix from QELVANE_WINEPREFIX, not WINEPREFIX.
    env["QELVANE_WINEPREFIX"] = prefix
    quiet = {"env": env, "stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    subprocess.run(["wineboot", "-i"], timeout=300, check=True, **quiet)
    subprocess.run(["wineserver", "-w"], timeout=300, check=True, **quiet)
    subprocess.run(["bash", "-c", "source scripts/common.sh; write_prefix_settings"], cwd=root, timeout=120,
                   check=True, **quiet)
    install_binaries(prefix, bin_dir)

    keep = {name.lower() for name in WINE_KEEPS}
    names = [name for name in all_services(bin_dir, prefix) if name.lower() not in keep]
    code, out = svctool("install", SERVICE_EXE, prefix=prefix, bin_dir=bin_dir, lines=names, timeout=300)
    if code == 3:  # a service of Wine's would not stop: restart the prefix, check again
        stop_server(prefix)
        code, out = svctool("install", SERVICE_EXE, prefix=prefix, bin_dir=bin_dir, lines=names, timeout=300)
    if code != 0:
        raise RuntimeError("svctool install failed: " + out)
    with open(os.path.join(prefix, MARKER), "w") as f:
        f.write(time.strftime("%Y-%m-%d %H:%M:%S\n"))
    return True


def keep_server(prefix=None):
    """Starts a wineserver that stays until stop_server. Without it the prefix shuts
    down about 2 s after its last program, ending the running services, and its next
    start starts every auto-start service: states would change between tests."""
    stop_server(prefix)
    subprocess.run(["wineserver", "-p"], env=wine_env(prefix), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60, check=True)


def stop_server(prefix=None):
    """Ends the prefix's wineserver and every program in it, if one runs."""
    quiet = {"env": wine_env(prefix), "stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL,
             "stderr": subprocess.DEVNULL}
    subprocess.run(["wineserver", "-k"], timeout=60, **quiet)
    subprocess.run(["wineserver", "-w"], timeout=60, **quiet)
