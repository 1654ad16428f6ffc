"""The automatic and restore-defaults runs of the shipped program, observed from
outside: launched command lines in order, the log byte for byte, the progress
window's caption, status line and exit button."""

import unittest

from harness import (COMMAND2, COMMAND3, FORM1, LIST, LIST_COMMAND1, LIST_LABEL1, LIST_TEXT1, ProgramTest,
                     driver, expected_run)

DONE = "优化完成！"
CMD = 'l"c:\\windows\\system32\\cmd.exe"'


class RunTest(ProgramTest):
    def run_to_end(self, button, window_count_before=0):
        self.program.click((FORM1, button))
        self.assertTrue(self.program.wait_for_text(LIST, 0, DONE), "the run did not complete")

    def log(self):
        return self.program.text(LIST, LIST_TEXT1)

    def check_completed_run(self, profile, button, count):
        commands, log = expected_run(profile)
        self.assertEqual(len(commands), count)
        self.prime(commands)
        self.run_to_end(button)
        self.assertEqual(self.program.commands(), commands)
        self.assertEqual({app.lower() for app, _ in self.program.launches()}, {CMD})
        self.assertEqual(self.log(), log)
        self.assertEqual(self.program.text(LIST, LIST_LABEL1), DONE)
        self.assertTrue(self.exit_enabled())
        self.check_services()


class AutomaticRun(RunTest):
    def test_launches_and_logs_the_automatic_table(self):
        self.check_completed_run("automatic", COMMAND2, 115)


class RestoreRun(RunTest):
    def test_launches_and_logs_the_restore_table(self):
        self.check_completed_run("restore", COMMAND3, 98)


class RepeatedRuns(RunTest):
    def test_second_run_appends_and_a_closed_window_starts_afresh(self):
        auto_commands, auto_log = expected_run("automatic")
        restore_commands, restore_log = expected_run("restore")
        self.run_to_end(COMMAND2)
        self.program.click((FORM1, COMMAND3))
        self.assertTrue(self.program.wait_for_launches(len(auto_commands) + len(restore_commands), 300))
        self.assertTrue(self.program.wait_for_text(LIST, LIST_TEXT1, auto_log + restore_log, 120))
        self.assertEqual(self.program.commands(), auto_commands + restore_commands)

        self.program.click((LIST, LIST_COMMAND1))
        self.assertEqual(driver("wait", LIST, "gone", 30000)[0], 0)
        self.run_to_end(COMMAND3)
        self.assertEqual(self.log(), restore_log)
        self.assertEqual(self.program.commands(), auto_commands + restore_commands * 2)
        self.check_services()

    def test_run_clicked_during_a_pump_runs_whole_inside_the_other(self):
        auto_commands, auto_log = expected_run("automatic")
        restore_commands, restore_log = expected_run("restore")
        # The second click waits in the queue and runs in the first run's first pump.
        self.program.click((FORM1, COMMAND3), (FORM1, COMMAND2))
        first_line, rest = restore_log.split("\r\n", 1)
        self.assertTrue(self.program.wait_for_text(LIST, LIST_TEXT1, first_line + "\r\n" + auto_log + rest))
        self.assertEqual(self.program.commands(),
                         restore_commands[:2] + auto_commands + restore_commands[2:])
        self.check_services()

    def test_text_typed_during_a_run_survives(self):
        _, auto_log = expected_run("automatic")
        self.program.click((FORM1, COMMAND2))
        self.assertEqual(driver("wait", LIST, "shown", 60000)[0], 0)
        typed = "手打"
        driver("type", LIST, LIST_TEXT1, ",".join("%x" % ord(c) for c in typed))
        self.assertTrue(self.program.wait_for_text(LIST, 0, DONE))
        log = self.log()
        self.assertIn(typed, log)
        self.assertEqual(log.replace(typed, "", 1), auto_log)


if __name__ == "__main__":
    unittest.main()
