"""Notices a process launch that Wine never completes.

Under load, Wine 8 has left a thread blocked for good inside NtCreateUserProcess
(docs/wine-notes.md): the child never starts, the caller never returns. Windows'
CreateProcessW does not wait for the child to start, so this is the test
platform's fault, not the program's. The watch follows the +process trace that
every thread of the program and its children writes: a thread prints nothing
while it is blocked, so a thread whose last line opens an NtCreateUserProcess
and that has stayed silent for a long time is stuck there."""

import os
import re
import subprocess
import time

# A launch takes well under a second even at a load of 15 on two cores.
STUCK_AFTER = 90

LINE = re.compile(r'^([0-9a-f]{4}):')
OPENS = re.compile(r'^([0-9a-f]{4}):trace:process:NtCreateUserProcess (L".*?") image .* cmdline (L".*?") parent')


class LaunchWatch:
    """Reads a trace file as it grows; stuck() names the launches that have not
    returned for STUCK_AFTER seconds."""

    def __init__(self, path, stuck_after=STUCK_AFTER, clock=time.monotonic):
        self.path = path
        self.stuck_after = stuck_after
        self.clock = clock
        self.offset = 0
        self.partial = b""
        self.open = {}  # thread id: (image, command line, when first seen)

    def poll(self):
        try:
            with open(self.path, "rb") as trace:
                trace.seek(self.offset)
                data = trace.read()
        except FileNotFoundError:
            return
        self.offset += len(data)
        lines = (self.partial + data).split(b"\n")
        self.partial = lines.pop()
        now = self.clock()
        for raw in lines:
            line = raw.decode("utf-8", "replace").rstrip("\r")
            match = OPENS.match(line)
            if match:
                self.open[match.group(1)] = (match.group(2), match.group(3), now)
                continue
            match = LINE.match(line)
            if match:  # the thread is running again
                self.open.pop(match.group(1), None)

    def stuck(self):
        """[(thread id, image, command line)] of launches silent for too long."""
        self.poll()
        now = self.clock()
        return [(tid, image, command) for tid, (image, command, since) in sorted(self.open.items())
                if now - since >= self.stuck_after]


def environment_of(pid):
    """The environment block process `pid` was started with, or None."""
    try:
        with open("/proc/%d/environ" % pid, "rb") as f:
            return f.read()
    except OSError:
        return None


def forks_of(pid):
    """Processes that are copies of process `pid` that never executed anything of
    their own: the same program file and the same environment block. A Wine launch
    forks the caller twice before it executes the new program."""
    environment = environment_of(pid)
    try:
        image = os.readlink("/proc/%d/exe" % pid)
    except OSError:
        return []
    if environment is None:
        return []
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == pid or environment_of(int(entry)) != environment:
            continue
        try:
            if os.readlink("/proc/%s/exe" % entry) == image:
                found.append(int(entry))
        except OSError:
            continue
    return found


def in_prefix(pid, prefix):
    return ("WINEPREFIX=" + prefix).encode() in (environment_of(pid) or b"").split(b"\0")


def describe(pids, prefix=None):
    """The processes of that Wine prefix, and what the kernel says the threads of
    `pids` are waiting in."""
    table = subprocess.run(["ps", "-eo", "pid,ppid,stat,wchan:24,etimes,args"],
                           capture_output=True, text=True).stdout.splitlines()
    report = table[:1] + [line for line in table[1:]
                          if int(line.split()[0]) in pids or (prefix and in_prefix(int(line.split()[0]), prefix))]
    for pid in pids:
        try:
            for task in sorted(os.listdir("/proc/%d/task" % pid)):
                base = "/proc/%d/task/%s/" % (pid, task)
                with open(base + "wchan") as f:
                    wchan = f.read()
                with open(base + "stat") as f:
                    state = f.read().rsplit(")", 1)[1].split()[0]
                report.append("process %d thread %s: state %s, waiting in %s" % (pid, task, state, wchan or "-"))
                try:
                    with open(base + "stack") as f:
                        report.append(f.read().rstrip())
                except OSError:
                    pass
        except OSError as error:
            report.append("process %d: %s" % (pid, error))
    return "\n".join(report)
