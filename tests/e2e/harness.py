"""Drives the program under Wine from outside, as a user would: through the UI
automation tool, with Wine tracing every process the program creates."""

import collections
import functools
import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import launchwatch
import services

BIN = os.environ.get("QELVANE_BIN", "")
# The shipped program (the release build) when given, else the test tree's build.
EXE = os.environ.get("QELVANE_EXE") or os.path.join(BIN, "qelvane.exe")
FORM1, LIST = "QelvaneForm1", "QelvaneList"
# Control ids of the main window and the progress window.
COMMAND1, LABEL1, COMMAND2, LABEL2, COMMAND3, LABEL3, IMAGE1, COMMAND5, COMMAND4, LABEL4 = range(101, 111)
LIST_LABEL1, LIST_TEXT1, LIST_COMMAND1 = 101, 102, 103

TRACE = re.compile(r'^([0-9a-f]{4}):trace:process:CreateProcessInternalW app (.*?) cmdline L"(.*)"$')

STARTED = re.compile(r'^([0-9a-f]{4}):trace:process:CreateProcessInternalW started process pid [0-9a-f]+ tid ([0-9a-f]+)')


def unescape_trace(text):
    return text.replace('\\\\', '\x00').replace('\\"', '"').replace('\x00', '\\')


def unescape_driver(text):
    return text.replace('\\\\', '\x00').replace('\\r', '\r').replace('\\n', '\n').replace('\x00', '\\')


def wine(*args, timeout=60):
    """Runs a Windows program to its end and returns its exit code and output.

    The output goes through a file, not a pipe: Wine may start its desktop process
    from inside this one, and that process would inherit a pipe and hold it open."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(["wine", *args], stdout=out, stderr=subprocess.DEVNULL, env=services.wine_env(),
                              timeout=timeout).returncode
        out.seek(0)
        return code, out.read()


def driver(*args, timeout=60):
    code, out = wine(os.path.join(BIN, "uidriver.exe"), *[str(a) for a in args], timeout=timeout)
    return code, out.decode("utf-8", "replace")


def expected_run(profile, disc=0, printer=0, imaging=0, web=0):
    """The command lines and log text that the program's tables call for."""
    code, out = wine(os.path.join(BIN, "profile_dump.exe"), profile,
                     str(disc), str(printer), str(imaging), str(web))
    assert code == 0, "profile_dump failed"
    head, _, log = out.partition(b"LOG\n")
    commands = [line[4:] for line in head.decode("utf-8").splitlines() if line.startswith("RUN ")]
    return commands, log.decode("utf-8")


class Program:
    """One process of the shipped program, its windows and its launches."""

    def __init__(self, workdir, exe=None, cwd=None):
        self.trace_path = os.path.join(workdir, "trace.txt")
        env = dict(services.wine_env(), WINEDEBUG="+process")
        self.trace_file = open(self.trace_path, "wb")
        self.process = subprocess.Popen(["wine", exe or EXE], env=env, cwd=cwd,
                                        stdout=subprocess.DEVNULL, stderr=self.trace_file)
        # Set when Wine left a launch stuck: the program is ended then (see launchwatch).
        self.stuck = None
        self.watching = True
        threading.Thread(target=self.watch_launches, daemon=True).start()
        code, out = driver("wait", FORM1, "shown", 60000, timeout=90)
        if code != 0:
            self.stop()
            raise AssertionError("the main window did not appear: " + out)
        code, out = driver("ids", FORM1)
        self.thread = out.split()[1]

    def watch_launches(self):
        watch = launchwatch.LaunchWatch(self.trace_path)
        while self.watching and self.process.poll() is None:
            stuck = watch.stuck()
            if stuck:
                self.end_stuck(stuck)
                return
            time.sleep(2)

    def end_stuck(self, stuck):
        """Reports where Wine is stuck, then ends the program, the copies of it that
        never became the new process, and every command it launched."""
        forks = launchwatch.forks_of(self.process.pid)
        self.stuck = "; ".join("Wine never finished launching %s %s (thread %s)" % (image, command, tid)
                               for tid, image, command in stuck)
        sys.stderr.write("\n%s\n%s\n" % (self.stuck, launchwatch.describe([self.process.pid] + forks, services.PREFIX)))
        for pid in forks:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        self.process.kill()
        services.svctool("end", "cmd.exe", "net.exe", "sc.exe")

    def launch_records(self):
        """[application, command line, thread of the process started or None] of every
        launch by the program itself, and all lines of the trace."""
        with open(self.trace_path, "rb") as trace:
            lines = trace.read().decode("utf-8", "replace").splitlines()
        records = []
        for raw in lines:
            if not raw.startswith(self.thread + ":"):
                continue
            launch, started = TRACE.match(raw), STARTED.match(raw)
            if launch:
                records.append([unescape_trace(launch.group(2)), unescape_trace(launch.group(3)), None])
            elif started and records and records[-1][2] is None:
                records[-1][2] = started.group(2)
        return records, lines

    def launches(self):
        """(application, command line) of every process the program itself created."""
        return [(application, line) for application, line, _ in self.launch_records()[0]]

    def commands(self):
        return [line for _, line in self.launches()]

    def fate_of(self, command_line):
        """For a failure message: what the trace shows of each launch of that command
        line, its start and then the main thread of the process it started."""
        records, lines = self.launch_records()

        def doings(thread, depth):
            # Its launches and complaints, then those of what it launched (cmd's NET or sc).
            found = []
            for raw in lines:
                if raw.startswith(thread + ":") and any(k in raw for k in ("CreateProcessInternalW", ":err:",
                                                                             ":fixme:", ":warn:")):
                    found.append("    " + raw[:240])
                    started = STARTED.match(raw)
                    if started and depth:
                        found += doings(started.group(2), depth - 1)
            return found

        report = []
        for _, line, child in records:
            if line != command_line:
                continue
            if child is None:
                report.append("  %s: no process started" % command_line)
            else:
                report.append("  %s: thread %s started; what it did:" % (command_line, child))
                report += doings(child, 1)
        return report or ["  %s: never launched" % command_line]

    def text(self, window_class, control=0):
        code, out = driver("text", window_class, control)
        if code != 0:
            return None
        return unescape_driver(out[:-1] if out.endswith("\n") else out)

    def click(self, *pairs):
        args = []
        for window_class, control in pairs:
            args += [window_class, control]
        code, out = driver("click", *args)
        assert code == 0, out

    def windows(self):
        """{class: visible} of the program's top-level windows."""
        _, out = driver("windows")
        shown = {}
        for line in out.splitlines():
            match = re.search(r"class=(\S+) visible=(\d)", line)
            if match:
                shown[match.group(1)] = shown.get(match.group(1), False) or match.group(2) == "1"
        return shown

    def wait_for_text(self, window_class, control, text, timeout=900):
        deadline = time.time() + timeout
        while time.time() < deadline and self.process.poll() is None:
            if self.text(window_class, control) == text:
                return True
            time.sleep(1)
        found = self.text(window_class, control)
        sys.stderr.write("\nwaited for %r in %s/%s; it shows %r; the program %s; %d launches\n" % (
            text[-80:], window_class, control, None if found is None else found[-80:],
            "runs" if self.process.poll() is None else "has ended", len(self.launches())))
        return False

    def wait_for_launches(self, count, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline and len(self.launches()) < count:
            time.sleep(0.2)
        return self.launches()

    def ended(self, timeout=30):
        try:
            self.process.wait(timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        self.watching = False
        if self.process.poll() is None:
            driver("close", FORM1)
            if not self.ended(20):
                self.process.kill()
        self.trace_file.close()


# Start types the services get before each test: one the runs rarely set.
BASELINE = "auto"
# Two "sc config" of one service launched closer than this may finish in either order.
RACE_WINDOW = 12


def settled_start_types(command_lines, baseline):
    """The start types those command lines leave, leaving out the services whose
    outcome depends on which of two close-launched "sc config" lines finished last."""
    expected = services.expected_start_types(command_lines, baseline)
    last = {}
    uncertain = set()
    for index, line in enumerate(command_lines):
        match = services.SC_LINE.match(line)
        if not match:
            continue
        name = services.unquoted(match.group(1)).lower()
        if name in last and index - last[name][0] < RACE_WINDOW and last[name][1] != match.group(2):
            uncertain.add(name)
        last[name] = (index, match.group(2))
    return {name: mode for name, mode in expected.items() if name.lower() not in uncertain}


class PrefixLostCommand(AssertionError):
    """A command line the program launched never had its effect: Wine's fault
    (the launch or the control manager), not the program's."""


class ProgramTest(unittest.TestCase):
    """Each test runs against a fresh process of the program, with every service
    stopped and at the baseline start type."""

    def __init__(self, methodName="runTest"):
        super().__init__(methodName)
        if methodName.startswith("test"):
            setattr(self, methodName, functools.partial(self.again_if_wine_failed, getattr(self, methodName)))

    def again_if_wine_failed(self, test):
        """Runs the test once more, from a fresh start, when it failed because Wine
        left one of the launches stuck or lost an "sc config" the program launched;
        a second failure stands."""
        try:
            return test()
        except Exception as error:
            reason = self.program.stuck or (str(error) if isinstance(error, PrefixLostCommand) else None)
            if not reason:
                raise
            sys.stderr.write("%s: %s; running the test again\n" % (self.id(), reason))
        self.tearDown()
        self.setUp()
        return test()

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="qelvane-e2e-")
        self.assertTrue(services.wait_idle(180), "commands of an earlier test still running")
        self.baseline = {name: BASELINE for name in services.ALL_SERVICES}
        services.reset(self.baseline)
        services.clear_journal()
        self.program = self.start_program()

    def start_program(self):
        return Program(self.workdir)

    def tearDown(self):
        self.program.stop()

    def exit_enabled(self):
        """Whether the progress window's "退出" button is enabled."""
        _, out = driver("dump", LIST)
        line = next(l for l in out.splitlines() if l.startswith("id=%d " % LIST_COMMAND1))
        return re.search(r"enabled=(\d)", line).group(1) == "1"

    def prime(self, command_lines):
        """Moves every service that those command lines leave at the baseline type to
        another one first, so that a lost "sc config" shows."""
        final = services.expected_start_types(command_lines, self.baseline)
        configured = {services.service_of(line).lower() for line in command_lines if services.SC_LINE.match(line)}
        changed = {name: "demand" for name, mode in final.items() if mode == BASELINE and name.lower() in configured}
        services.reset(changed)
        self.baseline.update(changed)

    def check_services(self):
        """Once every launched command has finished, the control manager reports the
        start type that the last "sc config" of each service set."""
        self.assertTrue(services.wait_idle(300), "launched commands did not finish")
        self.check_sc_journal()
        expected = settled_start_types(self.program.commands(), self.baseline)
        reported = services.query_settled(expected)
        self.assertEqual({name: start for name, (start, _) in reported.items()}, expected)

    def check_sc_journal(self):
        """Every "sc config" the program launched reached sc and the control manager
        took it. A failure here is the test prefix's, not the program's."""
        launched, line_of = collections.Counter(), {}
        for line in self.program.commands():
            match = services.SC_LINE.match(line)
            if match:
                key = (services.unquoted(match.group(1)), match.group(2))
                launched[key] += 1
                line_of[key] = line
        done = services.journal()
        reached = collections.Counter((service, mode) for service, mode, _, _ in done)
        lost = sorted(launched - reached)
        problems = ["never reached sc: sc config %s start= %s" % key for key in lost]
        problems += ["sc config %s start= %s: %s failed with %d" % entry for entry in done if entry[3] != 0]
        if problems:
            trail = [entry for key in lost for entry in self.program.fate_of(line_of[key])]
            raise PrefixLostCommand("the test prefix lost an sc config:\n" + "\n".join(problems + trail))
