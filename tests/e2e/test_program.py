"""The shipped program driven from outside under Wine, as a user would, for what only
the real process shows: where its commands are launched from, in which folder, how
shown and with what input; and the end of the process, which lets every held NET start go.

Environment: QELVANE_EXE (the program), QELVANE_DRIVER (uidriver.exe), QELVANE_RECORDER (recorder.exe
for the prefix), WINEPREFIX and WINELOADER (the prefix and the loader that starts its programs)."""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

EXE, DRIVER, RECORDER = (os.environ[name] for name in ("QELVANE_EXE", "QELVANE_DRIVER", "QELVANE_RECORDER"))
LOADER, PREFIX = os.environ["WINELOADER"], os.environ["WINEPREFIX"]
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
SYSTEM = r"c:\windows\system32"
FORM1, LIST, HELP = "QelvaneForm1", "QelvaneList", "QelvaneHelp"
DIALOGS = ["QelvaneDialog", "QelvaneDialog1", "QelvaneDialog2", "QelvaneDialog3"]
# The buttons, by caption.
COMMAND1, COMMAND2, COMMAND3, COMMAND5, COMMAND4 = "按提问优化(建议)", "自动优化", "恢复系统默认", "帮助", "退出"
LIST_COMMAND1, YES, NO = "退出", "是", "否"
DONE = "优化完成！"
ROW = re.compile(r'^\| \d+ \| (always|`(\w+)` (Yes|No)) \| `(.+)` \| (stop|start|—) \| (\w+) \| "(.+)" \|$')


def rows(profile):
    """(service, verb or None, mode) of each row that runs with every answer No, from tests/data."""
    with open(os.path.join(DATA, profile + ".txt"), encoding="utf-8") as table:
        matches = [ROW.match(line.rstrip("\n")) for line in table]
    return [(m.group(4), None if m.group(5) == "—" else m.group(5), m.group(6))
            for m in matches if m.group(1) == "always" or m.group(3) == "No"]


def command_lines(run):
    lines = []
    for service, verb, mode in run:
        if verb:
            lines.append(f"cmd /c NET {verb} {service}")
        lines.append(f"cmd /c sc config {service} start= {mode}")
    return sorted(lines)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, env=None, timeout=90):
    """Runs a Windows program to its end; output through a file, not a pipe, because a
    desktop process that Wine starts from inside it would hold a pipe open."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run([LOADER, *map(str, args)], stdout=out, stderr=subprocess.DEVNULL, env=env,
                              timeout=timeout).returncode
        out.seek(0)
        return code, out.read().decode("utf-8", "replace").rstrip("\n")


def driver(*args, timeout=150):
    return wine(DRIVER, *args, timeout=timeout)


class ProgramTest(unittest.TestCase):
    """One process of the program, copied into a folder of its own and started from
    another working folder, both holding recorders named cmd.exe, net.exe and sc.exe
    that must never run. `stand_ins` names the system tools that `stand_in` replaces; with
    `inheriting`, the program is started by a parent handing it inheritable handles; each
    recorder reports after `delay_ms`; `extra_env` goes into the program's environment."""
    stand_ins = ()
    stand_in = RECORDER
    extra_env = {}
    inheriting = False
    delay_ms = 0

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(dir=os.environ.get("QELVANE_TMP"))
        self.addCleanup(self.tmp.cleanup)
        folders = [os.path.join(self.tmp.name, name) for name in ("program", "work", "records")]
        self.program_dir, work, self.records = folders
        for folder in folders:
            os.mkdir(folder)
        planted = [os.path.join(f, n) for f in folders[:2] for n in ("cmd.exe", "net.exe", "sc.exe")]
        self.planted = {windows_path(path).lower() for path in planted}
        for path in planted:
            shutil.copyfile(RECORDER, path)
        system = os.path.join(PREFIX, "drive_c", "windows", "system32")
        for name in self.stand_ins:
            shutil.copyfile(self.stand_in, os.path.join(system, name))
        overrides = os.environ.get("WINEDLLOVERRIDES", "") + "".join(f";{n}=n" for n in self.stand_ins)
        self.env = dict(os.environ, **self.extra_env, QELVANE_RECORD_DIR=windows_path(self.records),
                        QELVANE_RECORD_DELAY_MS=str(self.delay_ms), WINEDLLOVERRIDES=overrides)
        exe = shutil.copy(EXE, os.path.join(self.program_dir, "qelvane.exe"))
        # No address randomisation: Wine's process start then never collides with it. Its
        # input a pipe held open and never written (here or by the driver), so that a child
        # handed it would wait too.
        start = [DRIVER, "start", windows_path(exe)] if self.inheriting else [exe]
        self.process = subprocess.Popen(["setarch", os.uname().machine, "-R", LOADER, *start], cwd=work, env=self.env,
                                        stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop)
        self.wait(FORM1, "shown")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stdin.close()

    def wait(self, window, state, ms=120000):
        code, out = driver("wait", window, state, ms)
        self.assertEqual(code, 0, f"{window} not {state}: {out}")

    def click(self, *pairs):
        code, out = driver("click", *[item for pair in pairs for item in pair])
        self.assertEqual(code, 0, f"{out}; program exit code {self.process.poll()}; windows: {driver('windows')}")

    def read_records(self):
        found = []
        for name in sorted(os.listdir(self.records)):
            if name.endswith(".rec"):
                with open(os.path.join(self.records, name), encoding="utf-8") as record:
                    found.append(dict(line.rstrip("\n").split("=", 1) for line in record))
        return found

    def records_after(self, count, seconds=120):
        """The records, once there are at least `count`, and a moment more for any extra."""
        deadline = time.time() + seconds
        while len(self.read_records()) < count and time.time() < deadline:
            time.sleep(0.3)
        time.sleep(1.5)
        found = self.read_records()
        shutil.rmtree(self.records)
        os.mkdir(self.records)
        self.assertFalse({r["image"].lower() for r in found} & self.planted, "a planted program ran")
        return found

    def run_profile(self, *clicks):
        """Clicks through to a run, waits for it to complete, and closes its window."""
        for pair in clicks:
            self.click(pair)
        self.wait(LIST, DONE)
        self.click((LIST, LIST_COMMAND1))
        self.wait(LIST, "gone")

    def ended(self, seconds=60):
        try:
            self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return False
        code, out = driver("windows")
        return code == 0 and out == ""


class Launches(ProgramTest):
    stand_ins = ("cmd.exe",)
    inheriting = True
    delay_ms = 3000  # a run that waited for each command would not end within the time allowed

    def test_commands_run_hidden_from_the_system_folder_without_waiting_or_inheriting(self):
        self.run_profile((FORM1, COMMAND2))
        found = self.records_after(115)
        self.assertEqual(sorted(r["commandline"] for r in found), command_lines(rows("automatic")))
        for record in found:
            line = record["commandline"]
            self.assertEqual(record["image"].lower(), SYSTEM + r"\cmd.exe", line)
            self.assertEqual(record["directory"].lower(), SYSTEM, f"working folder of {line}")
            self.assertEqual(record["show"], "0", f"SW_HIDE for {line}")
            self.assertEqual(int(record["flags"]) & 0x101, 0x101, f"USESHOWWINDOW, USESTDHANDLES for {line}")
            self.assertEqual(record["stdin"], "eof", f"input of {line}, at its end")
            handles = record["handles"].split()
            self.assertEqual(len(handles), 3, "the handles the program's parent handed it")
            self.assertEqual([h for h in handles if not h.endswith(":closed")], [], f"handed handles open in {line}")


class EndOfProgram(ProgramTest):
    stand_ins = ("cmd.exe",)
    delay_ms = 5000  # so that the run's last NET starts are still held at its end

    def test_exit_queued_behind_a_run_ends_the_program_after_its_first_row(self):
        self.click((FORM1, COMMAND2), (FORM1, COMMAND4))
        self.assertTrue(self.ended())
        self.assertEqual(sorted(r["commandline"] for r in self.records_after(2)),
                         ["cmd /c NET stop Alerter", "cmd /c sc config Alerter start= disabled"])

    def test_exit_lets_the_held_starts_go_before_the_program_ends(self):
        self.click((FORM1, COMMAND3))
        self.wait(LIST, DONE)
        self.click((FORM1, COMMAND4))
        self.assertTrue(self.ended())
        found = self.records_after(len(command_lines(rows("restore"))))
        self.assertEqual(sorted(r["commandline"] for r in found), command_lines(rows("restore")))

    def test_close_box_ends_the_program_with_other_windows_open(self):
        self.click((FORM1, COMMAND5), (FORM1, COMMAND1))
        self.wait(HELP, "shown")
        self.wait(DIALOGS[0], "shown")
        code, out = driver("close", FORM1)
        self.assertTrue(self.ended(), out)

    def test_end_of_the_windows_session_ends_the_program(self):
        code, out = driver("endsession", FORM1)
        self.assertTrue(self.ended(), out)


if __name__ == "__main__":
    unittest.main()
