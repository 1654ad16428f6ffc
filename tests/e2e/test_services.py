"""The service environment of the end-to-end tests, held to what Wine's control
manager, cmd and NET really do with it, and the start types expected of a run."""

import os
import tempfile
import threading
import time
import unittest

import services
from services import expected_start_types, service_of

OK = b"[SC] ChangeServiceConfig SUCCESS\r\n"
USED = ("Alerter", "ALG", "Ati HotKey Poller", "ATI Smart")
BASELINE = {name: "demand" for name in USED}


class ServiceHelpers(unittest.TestCase):
    """What needs no Wine: expected start types, environment, safety."""

    def test_last_sc_config_naming_a_service_wins(self):
        lines = ["cmd /c NET stop Alerter", "cmd /c sc config Alerter start= disabled",
                 'cmd /c sc config "Ati HotKey Poller" start= demand', "cmd /c sc config Alerter start= auto"]
        baseline = {"Alerter": "demand", "Ati HotKey Poller": "auto", "ALG": "disabled"}
        self.assertEqual(expected_start_types(lines, baseline),
                         {"Alerter": "auto", "Ati HotKey Poller": "demand", "ALG": "disabled"})
        self.assertEqual(baseline["Alerter"], "demand", "the baseline must not change")

    def test_net_lines_and_other_commands_change_no_start_type(self):
        lines = ["cmd /c NET start Alerter", "cmd /c NET stop ALG", "cmd /c sc query Alerter"]
        self.assertEqual(expected_start_types(lines, {"Alerter": "disabled", "ALG": "auto"}),
                         {"Alerter": "disabled", "ALG": "auto"})

    def test_a_name_in_other_letter_case_is_the_same_service(self):
        lines = ["cmd /c sc config ALERTER start= disabled", 'cmd /c sc config "ati smart" start= auto']
        self.assertEqual(expected_start_types(lines, {"Alerter": "auto", "ATI Smart": "demand"}),
                         {"Alerter": "disabled", "ATI Smart": "auto"})

    def test_a_service_outside_the_baseline_is_added(self):
        self.assertEqual(expected_start_types(['cmd /c sc config "ATI Smart" start= disabled'], {}),
                         {"ATI Smart": "disabled"})

    def test_service_of_strips_the_quotes_of_blank_names(self):
        self.assertEqual(service_of('cmd /c NET stop "Ati HotKey Poller"'), "Ati HotKey Poller")
        self.assertEqual(service_of('cmd /c sc config "ATI Smart" start= auto'), "ATI Smart")
        self.assertEqual(service_of("cmd /c NET start wuauserv"), "wuauserv")
        self.assertIsNone(service_of("cmd /c sc query Alerter"))
        self.assertIsNone(service_of("cmd /c NET stop Ati HotKey Poller"))

    def test_wine_env_adds_the_sc_override_and_keeps_the_others(self):
        saved = os.environ.get("WINEDLLOVERRIDES")
        try:
            os.environ["WINEDLLOVERRIDES"] = "mscoree,mshtml=;sc.exe=b;winebrowser.exe=d"
            env = services.wine_env("/tmp/some-prefix")
            self.assertEqual(env["WINEDLLOVERRIDES"], "mscoree,mshtml=;winebrowser.exe=d;sc.exe=n")
            self.assertEqual((env["WINEPREFIX"], env["WINEARCH"]), ("/tmp/some-prefix", "win64"))
        finally:
            if saved is None:
                os.environ.pop("WINEDLLOVERRIDES")
            else:
                os.environ["WINEDLLOVERRIDES"] = saved

    def test_prepare_leaves_a_folder_that_is_no_wine_prefix_alone(self):
        with tempfile.TemporaryDirectory() as folder:
            keep = os.path.join(folder, "notes.txt")
            open(keep, "w").close()
            with self.assertRaises(RuntimeError):
                services.prepare_prefix(folder, folder)
            self.assertTrue(os.path.exists(keep))


class ServiceEnvironment(unittest.TestCase):
    """Needs the prefix of the CTest fixture "services" (prepare_services.py)."""

    @classmethod
    def setUpClass(cls):
        if not services.BIN or not services.PREFIX:
            raise unittest.SkipTest("QELVANE_BIN and QELVANE_SERVICE_PREFIX are not set")
        services.prepare_prefix()
        cls.names = services.all_services()

    def setUp(self):
        services.reset(BASELINE)

    def tearDown(self):
        services.wait_idle(30)
        services.reset(BASELINE)  # the next test of this prefix starts from the baseline

    def run_line(self, line):
        return services.run_command(line)

    def test_every_profile_service_runs_the_test_program_alone(self):
        self.assertEqual(len(self.names), 69, "the README's fixed set of 69 services")
        self.assertIn("Ati HotKey Poller", self.names)
        keep = {name.lower() for name in services.WINE_KEEPS}
        found = services.binaries(self.names)
        for name in self.names:
            service_type, path = found[name]
            if name.lower() in keep:
                self.assertNotEqual(service_type, "missing", name)
            else:
                self.assertEqual((service_type, path), ("0x10", '"%s" "%s"' % (services.SERVICE_EXE, name)))
        self.assertEqual(services.query(["NoSuchService"]), {"NoSuchService": ("missing", "missing")})

    def test_net_start_and_stop_run_and_end_one_process_per_service(self):
        before = len(services.running_images(["test_service.exe"]))
        for line in ("cmd /c NET start Alerter", 'cmd /c NET start "Ati HotKey Poller"'):
            self.assertEqual(self.run_line(line)[0], 0, line)
        self.assertEqual(services.query(["Alerter", "Ati HotKey Poller"]),
                         {"Alerter": ("demand", "running"), "Ati HotKey Poller": ("demand", "running")})
        self.assertEqual(len(services.running_images(["test_service.exe"])), before + 2)

        for line in ("cmd /c NET stop Alerter", 'cmd /c NET stop "Ati HotKey Poller"'):
            self.assertEqual(self.run_line(line)[0], 0, line)
        self.assertEqual(services.query_settled(["Alerter", "Ati HotKey Poller"]),
                         {"Alerter": ("demand", "stopped"), "Ati HotKey Poller": ("demand", "stopped")})
        deadline = time.time() + 10
        while len(services.running_images(["test_service.exe"])) > before and time.time() < deadline:
            time.sleep(0.2)
        self.assertEqual(len(services.running_images(["test_service.exe"])), before, "a stopped service's process")

    def test_net_stop_of_a_stopped_service_changes_nothing(self):
        code, _ = self.run_line("cmd /c NET stop ALG")
        self.assertNotEqual(code, 0)
        self.assertEqual(services.query(["ALG"]), {"ALG": ("demand", "stopped")})

    def test_sc_config_sets_the_start_type_the_manager_reports(self):
        for mode in ("disabled", "auto", "demand"):
            self.assertEqual(self.run_line('cmd /c sc config "ATI Smart" start= %s' % mode), (0, OK))
            self.assertEqual(services.query(["ATI Smart"]), {"ATI Smart": (mode, "stopped")})

    def test_sc_config_of_a_missing_service_fails_as_on_windows(self):
        self.assertEqual(self.run_line("cmd /c sc config NoSuchService start= auto"),
                         (1060, b"[SC] OpenService FAILED 1060:\r\n\r\n"
                                b"The specified service does not exist as an installed service.\r\n\r\n"))

    def test_sc_refuses_what_windows_sc_refuses(self):
        for line in ("cmd /c sc config Alerter start=auto", "cmd /c sc config Alerter start= sometimes",
                     "cmd /c sc config Alerter", "cmd /c sc query Alerter"):
            code, out = self.run_line(line)
            self.assertEqual(code, 1639, line)
            self.assertIn(b"USAGE:", out)
        code, out = self.run_line("cmd /c sc config Alerter start= boot")  # for drivers only
        self.assertEqual((code, out.splitlines()[0]), (87, b"[SC] ChangeServiceConfig FAILED 87:"))
        self.assertEqual(services.query(["Alerter"]), {"Alerter": ("demand", "stopped")})

    def test_net_start_of_a_disabled_service_fails_and_leaves_it_stopped(self):
        self.assertEqual(self.run_line("cmd /c sc config ALG start= disabled"), (0, OK))
        code, _ = self.run_line("cmd /c NET start ALG")
        self.assertNotEqual(code, 0)
        self.assertEqual(services.query(["ALG"]), {"ALG": ("disabled", "stopped")})

    def test_reset_stops_services_and_restores_start_types(self):
        self.assertEqual(self.run_line("cmd /c NET start Alerter")[0], 0)
        self.assertEqual(self.run_line("cmd /c sc config Alerter start= auto")[0], 0)
        self.assertEqual(self.run_line('cmd /c sc config "Ati HotKey Poller" start= disabled')[0], 0)
        states = {"Alerter": "disabled", "Ati HotKey Poller": "auto", "ALG": "demand"}
        services.reset(states)
        self.assertEqual(services.query(states), {name: (mode, "stopped") for name, mode in states.items()})

    def test_reset_refuses_an_unknown_start_type(self):
        with self.assertRaises(RuntimeError):
            services.reset({"Alerter": "sometimes"})
        self.assertEqual(services.query(["Alerter"]), {"Alerter": ("demand", "stopped")})

    def test_install_again_puts_a_service_back_to_demand_start(self):
        self.assertEqual(self.run_line("cmd /c sc config Alerter start= disabled")[0], 0)
        code, out = services.svctool("install", services.SERVICE_EXE, lines=["Alerter", "Spooler"])
        self.assertEqual(code, 0, out)
        self.assertEqual(services.query(["Alerter", "Spooler"]),
                         {"Alerter": ("demand", "stopped"), "Spooler": ("demand", "stopped")})
        self.assertEqual(services.binaries(["Spooler"])["Spooler"],
                         ("0x10", '"%s" "Spooler"' % services.SERVICE_EXE))

    def test_wait_idle_waits_for_commands_still_running(self):
        svctool = services.windows_path(os.path.join(services.BIN, "svctool.exe"))
        if " " in svctool:
            self.skipTest("cmd /c would need quotes around " + svctool)
        # cmd stays busy for 3 s (services.exe always runs), then starts ALG.
        line = "cmd /c %s idle 3000 services.exe & NET start ALG" % svctool
        launched = threading.Thread(target=self.run_line, args=(line,))
        launched.start()
        try:
            deadline = time.time() + 30
            while not services.running_images(["cmd.exe"]) and time.time() < deadline:
                time.sleep(0.1)
            self.assertFalse(services.wait_idle(0.5))
            self.assertTrue(services.wait_idle(60))
            self.assertEqual(services.query(["ALG"]), {"ALG": ("demand", "running")})
        finally:
            launched.join(90)


if __name__ == "__main__":
    unittest.main()
