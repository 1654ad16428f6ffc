"""The runs against Wine's own service manager, cmd and NET, with tools/sc_config.cpp at
system32\\sc.exe (Wine's own sc cannot configure a service). Services of a fresh prefix that a
restore row starts are first disabled and stopped, as an optimizing run leaves them; after the
run each must run with its row's start type, however slow sc is; start types are put back.

Environment: as test_program.py, and QELVANE_SC_CONFIG (sc_config.exe for the prefix)."""

import os
import re
import shutil
import subprocess
import time
import unittest

from test_program import COMMAND1, COMMAND3, DIALOGS, FORM1, NO, PREFIX, YES, ProgramTest, wine

SERVICES = ("wuauserv", "Schedule", "Spooler")
START_TYPES = {2: "auto", 3: "demand", 4: "disabled"}


def in_prefix(commands, stand_in=False):
    """Runs `commands` through Wine's cmd; sc is the stand-in or Wine's own."""
    overrides = os.environ.get("WINEDLLOVERRIDES", "") + (";sc.exe=n" if stand_in else "")
    env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES=overrides)
    return wine("cmd", "/c", " & ".join(commands), env=env)[1]


def start_types():
    out = in_prefix([r"reg query HKLM\System\CurrentControlSet\Services /s /v Start"])
    found = re.findall(r"\\Services\\([^\\\r\n]+)\r?\n\s+Start\s+REG_DWORD\s+0x([0-9a-f]+)", out, re.I)
    return {name.lower(): START_TYPES.get(int(value, 16)) for name, value in found}


def states():
    """(state, start type) of each of SERVICES, while a program of the prefix runs."""
    out = in_prefix([f"sc query {name}" for name in SERVICES])
    running = dict(re.findall(r"SERVICE_NAME: (\S+)\s+TYPE[^\n]*\n\s+STATE\s+:\s+\d+\s+(\w+)", out))
    types = start_types()
    return {name: (running.get(name), types.get(name.lower())) for name in SERVICES}


class Services(ProgramTest):
    stand_ins = ("sc.exe",)
    stand_in = os.environ["QELVANE_SC_CONFIG"]

    def setUp(self):
        before = start_types()
        # In place before the program's own set-up puts it there: the services are disabled through it first.
        shutil.copyfile(self.stand_in, os.path.join(PREFIX, "drive_c", "windows", "system32", "sc.exe"))
        self.addCleanup(self.put_back, before)
        in_prefix([f"sc config {name} start= disabled" for name in SERVICES], stand_in=True)
        # Wine's Task Scheduler refuses to stop: the prefix's end stops them all, about 2 s after its last program.
        subprocess.run(["wineserver", "-w"], timeout=60, check=True)
        super().setUp()
        self.expect_states({name: ("STOPPED", "disabled") for name in SERVICES})

    def put_back(self, before):
        now = start_types()
        changed = [name for name, mode in before.items() if mode and now.get(name) not in (None, mode)]
        in_prefix([f"sc config {name} start= {before[name]}" for name in changed], stand_in=True)

    def expect_states(self, expected, seconds=30):
        """Polls, as Wine's StartServiceW and NET stop return before the service is there."""
        deadline = time.time() + seconds
        while True:
            found = {name: value for name, value in states().items() if name in expected}
            if found == expected or time.time() > deadline:
                break
            time.sleep(0.5)
        self.assertEqual(found, expected)


class RestoreWithScAtOnce(Services):
    extra_env = {"QELVANE_SC_DELAY_MS": "0"}

    def test_every_started_service_runs_with_its_start_type(self):
        self.run_profile((FORM1, COMMAND3))
        self.expect_states({"wuauserv": ("RUNNING", "auto"), "Schedule": ("RUNNING", "auto"),
                            "Spooler": ("RUNNING", "demand")})


class RestoreWithSlowSc(RestoreWithScAtOnce):
    extra_env = {"QELVANE_SC_DELAY_MS": "2000"}


class GuidedWithAPrinter(Services):
    extra_env = {"QELVANE_SC_DELAY_MS": "2000"}

    def test_the_spooler_runs_and_starts_with_the_machine(self):
        self.click((FORM1, COMMAND1))
        for dialog, button in zip(DIALOGS, (NO, YES, NO, NO)):
            self.wait(dialog, "shown")
            self.click((dialog, button))
        self.run_profile()
        self.expect_states({"Spooler": ("RUNNING", "auto")})


if __name__ == "__main__":
    unittest.main()
