"""Every way a user reaches a run, checked to the end: the launched command lines in
order, the log byte for byte, the windows, and the start types the service control
manager reports once every launched command has finished. Also: nothing planted
beside the program or in its working folder is ever run."""

import os
import shutil
import time
import unittest

from harness import (COMMAND2, COMMAND3, FORM1, IMAGE1, LABEL4, LIST, LIST_COMMAND1, LIST_LABEL1, LIST_TEXT1,
                     BIN, EXE, Program, driver, expected_run, wine)
from test_questionnaire import DIALOG3, DONE, NO, YES, QuestionnaireTest

SEPARATOR_AND_CLOSING = "\r\n" + "-" * 59 + "\r\n优化已经完成！"


class PathTest(QuestionnaireTest):
    def finish(self, commands, log):
        """Waits for the run that ends with `log` in the progress window, then checks
        the window, the launches and the services."""
        self.assertTrue(self.program.wait_for_text(LIST, 0, DONE, 600), "the run did not complete")
        self.assertTrue(self.program.wait_for_launches(len(commands), 60))
        self.assertEqual(self.program.text(LIST, LIST_TEXT1), log)
        self.assertEqual(self.program.commands(), commands)
        self.assertEqual(self.program.text(LIST, LIST_LABEL1), DONE)
        self.assertTrue(self.exit_enabled())
        self.check_services()

    def close_progress_window(self):
        self.program.click((LIST, LIST_COMMAND1))
        self.wait(LIST, "gone")


def guided_case(answers):
    def test(self):
        commands, log = expected_run("guided", *answers)
        self.prime(commands)
        self.start()
        self.answer(*[YES if a else NO for a in answers[:3]])
        # "否" on the third question brings the progress window up before the fourth.
        if not answers[2]:
            self.wait(LIST, "shown")
        self.assertEqual(self.states().get(LIST), None if answers[2] else True)
        self.program.click((DIALOG3, YES if answers[3] else NO))
        self.finish(commands, log)
        self.assertEqual(self.dialogs(), [False, False, False, False], "all four stay loaded, hidden")
        self.assertEqual(self.states()[FORM1], True)
    test.__doc__ = "Answers %s through the four question windows" % (answers,)
    return test


class GuidedAnswersNoDiscBurner(PathTest):
    pass


class GuidedAnswersDiscBurner(PathTest):
    pass


for bits in range(16):
    combination = tuple((bits >> shift) & 1 for shift in (3, 2, 1, 0))
    target = GuidedAnswersDiscBurner if combination[0] else GuidedAnswersNoDiscBurner
    setattr(target, "test_answers_%d%d%d%d" % combination, guided_case(combination))


class AutomaticAroundTheQuestionnaire(PathTest):
    def test_automatic_run_before_and_after_yes_to_the_fourth_question(self):
        before_commands, before_log = expected_run("automatic", web=0)
        guided_commands, guided_log = expected_run("guided", 0, 0, 0, 1)
        after_commands, after_log = expected_run("automatic", web=1)
        self.assertIn("cmd /c sc config COMSysApp start= auto", after_commands)
        self.prime(before_commands + guided_commands + after_commands)

        self.program.click((FORM1, COMMAND2))
        self.finish(before_commands, before_log)
        self.close_progress_window()

        self.start()
        self.answer(NO, NO, NO)
        self.program.click((DIALOG3, YES))
        self.finish(before_commands + guided_commands, guided_log)
        self.close_progress_window()

        self.program.click((FORM1, COMMAND2))
        self.finish(before_commands + guided_commands + after_commands, after_log)


class RestoreDefaults(PathTest):
    def test_restore_after_the_automatic_run_puts_the_default_start_types_back(self):
        auto_commands, auto_log = expected_run("automatic")
        restore_commands, restore_log = expected_run("restore")
        self.prime(auto_commands + restore_commands)
        self.program.click((FORM1, COMMAND2))
        self.finish(auto_commands, auto_log)
        self.close_progress_window()
        self.program.click((FORM1, COMMAND3))
        self.finish(auto_commands + restore_commands, restore_log)


class ProgressWindowClosedMidRun(PathTest):
    def test_the_run_goes_on_in_a_fresh_hidden_window_shown_by_the_next_run(self):
        auto_commands, auto_log = expected_run("automatic")
        restore_commands, restore_log = expected_run("restore")
        self.program.click((FORM1, COMMAND2))
        self.program.wait_for_launches(20, 120)
        driver("close", LIST)
        # The rest of the run lands in a new window that nobody shows.
        self.assertTrue(self.program.wait_for_launches(len(auto_commands), 300))
        self.assertTrue(self.program.wait_for_text(LIST, 0, DONE, 120))
        self.assertEqual(self.states().get(LIST), False)
        self.assertEqual(self.program.commands(), auto_commands)

        self.program.click((FORM1, COMMAND3))
        self.wait(LIST, "shown")
        # The caption says done from the first run already: wait for the log instead.
        deadline = time.time() + 600
        while not (self.program.text(LIST, LIST_TEXT1) or "").endswith(restore_log) and time.time() < deadline:
            time.sleep(1)
        log = self.program.text(LIST, LIST_TEXT1)
        self.assertTrue(log.endswith(restore_log))
        kept = log[:-len(restore_log)]
        # What the first run wrote after the close: whole lines, up to its completion.
        self.assertTrue(kept.endswith(SEPARATOR_AND_CLOSING))
        self.assertTrue(auto_log.endswith(kept))
        self.assertGreater(len(kept), len(SEPARATOR_AND_CLOSING))
        self.assertTrue(auto_log[:-len(kept)].endswith("\r\n"), "the close fell between two lines")
        self.assertEqual(self.program.commands(), auto_commands + restore_commands)
        self.check_services()


class PlantedPrograms(PathTest):
    """cmd.exe, net.exe and sc.exe planted beside the program and in its working
    folder are never run: not by the program, not by the commands it launches."""

    PLANTED = ("cmd.exe", "net.exe", "sc.exe")

    def start_program(self):
        self.program_dir = os.path.join(self.workdir, "program")
        self.working_dir = os.path.join(self.workdir, "working")
        for folder in (self.program_dir, self.working_dir):
            os.makedirs(folder)
            for name in self.PLANTED:
                shutil.copy(os.path.join(BIN, "planted.exe"), os.path.join(folder, name))
        exe = os.path.join(self.program_dir, "qelvane.exe")
        shutil.copy(EXE, exe)
        return Program(self.workdir, exe=exe, cwd=self.working_dir)

    def planted_runs(self):
        return [os.path.join(folder, "planted.log") for folder in (self.program_dir, self.working_dir)
                if os.path.exists(os.path.join(folder, "planted.log"))]

    def test_no_planted_program_ever_runs(self):
        commands, log = expected_run("automatic")
        self.prime(commands)
        self.program.click((FORM1, COMMAND2))
        self.finish(commands, log)
        self.program.click((FORM1, IMAGE1), (FORM1, LABEL4))
        self.program.wait_for_launches(len(commands) + 2, 60)
        self.assertEqual(self.planted_runs(), [])
        apps = {application.lower() for application, _ in self.program.launches()}
        self.assertEqual(apps, {'l"c:\\windows\\system32\\cmd.exe"', 'l"c:\\windows\\explorer.exe"'})

    def test_a_planted_program_does_run_when_started_by_its_path(self):
        # Guards the test above: a planted program that could not run would prove nothing.
        code, _ = wine(os.path.join(self.working_dir, "net.exe"), "stop", "Alerter")
        self.assertEqual(code, 0)
        self.assertEqual(self.planted_runs(), [os.path.join(self.working_dir, "planted.log")])


if __name__ == "__main__":
    unittest.main()
