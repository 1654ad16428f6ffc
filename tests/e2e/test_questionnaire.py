"""The questionnaire and the help window of the shipped program, used from outside
as a user would: every way through the four questions, the answers as the runs
see them, and the help text."""

import os
import re
import time
import unittest

from harness import (COMMAND1, COMMAND2, COMMAND5, FORM1, LIST, LIST_COMMAND1, LIST_LABEL1, LIST_TEXT1, ProgramTest,
                     driver, expected_run)

DIALOG, DIALOG1, DIALOG2, DIALOG3 = DIALOGS = ["QelvaneDialog", "QelvaneDialog1", "QelvaneDialog2", "QelvaneDialog3"]
HELP = "QelvaneHelp"
# Controls of every question window, and of the help window.
LABEL1, YES, NO, QUIT = 101, 102, 103, 104
HELP_TEXT1, HELP_OK = 101, 102
DONE = "优化完成！"
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def site_info():
    """The download address, site name and contact values the program is built with."""
    with open(os.path.join(ROOT, "app", "site_info.h"), encoding="utf-8") as header:
        return dict(re.findall(r'\b(k\w+) = L"([^"]*)"', header.read()))


class QuestionnaireTest(ProgramTest):
    def wait(self, window_class, state, ms=30000):
        code, out = driver("wait", window_class, state, ms, timeout=ms / 1000 + 30)
        self.assertEqual(code, 0, "%s not %s: %s" % (window_class, state, out))

    def states(self):
        """{class: visible} of the loaded windows; an unloaded window is absent. The
        hidden owner of the windows without a taskbar button is none of them."""
        shown = self.program.windows()
        shown.pop("QelvaneParking", None)
        return shown

    def dialogs(self):
        shown = self.states()
        return [shown.get(name) for name in DIALOGS]

    def start(self):
        self.program.click((FORM1, COMMAND1))
        self.wait(DIALOG, "shown")

    def answer(self, *buttons):
        """Answers the questions from the first on, waiting for each next one."""
        for index, button in enumerate(buttons):
            self.program.click((DIALOGS[index], button))
            if index < 3:
                self.wait(DIALOGS[index + 1], "shown")
                self.wait(DIALOGS[index], "hidden")

    def assert_progress_window_untouched(self):
        self.assertEqual(self.states().get(LIST), True)
        self.assertEqual(self.program.text(LIST, 0), "正在优化系统服务...")
        self.assertEqual(self.program.text(LIST, LIST_LABEL1), "正在优化系统服务，请稍等......")
        self.assertEqual(self.program.text(LIST, LIST_TEXT1), "")
        self.assertFalse(self.exit_enabled())

    def wait_for_run(self, commands, log):
        self.program.wait_for_launches(len(commands), 300)
        self.assertTrue(self.program.wait_for_text(LIST, LIST_TEXT1, log, 120), "the log is not the expected one")
        self.assertEqual(self.program.commands(), commands)


class QuestionnairePaths(QuestionnaireTest):
    def test_all_yes_then_all_no_each_run_the_guided_table_for_the_latest_answers(self):
        yes_commands, yes_log = expected_run("guided", 1, 1, 1, 1)
        no_commands, no_log = expected_run("guided", 0, 0, 0, 0)
        self.assertNotEqual(yes_commands, no_commands)

        self.start()
        self.assertEqual(self.dialogs(), [True, None, None, None])
        self.answer(YES, YES, YES)
        self.assertEqual(self.dialogs(), [False, False, False, True])
        self.assertNotIn(LIST, self.states(), "是 on the third question leaves the progress window alone")
        self.assertEqual(self.program.launches(), [])
        self.program.click((DIALOG3, YES))
        self.assertTrue(self.program.wait_for_text(LIST, 0, DONE, 300))
        self.wait_for_run(yes_commands, yes_log)
        self.assertEqual(self.dialogs(), [False, False, False, False], "all four stay loaded, hidden")

        # A second questionnaire overwrites every answer; "否" on the third question
        # brings a fresh progress window up before the fourth is answered.
        self.program.click((LIST, LIST_COMMAND1))
        self.wait(LIST, "gone")
        self.start()
        self.answer(NO, NO, NO)
        self.wait(LIST, "shown")
        self.assertEqual(self.dialogs(), [False, False, False, True])
        self.assert_progress_window_untouched()
        self.assertEqual(len(self.program.launches()), len(yes_commands))
        self.program.click((DIALOG3, NO))
        self.wait_for_run(yes_commands + no_commands, no_log)
        self.assertEqual(self.program.text(LIST, 0), DONE)

    def test_quitting_at_each_question_answers_nothing_more_and_starts_nothing(self):
        close = lambda name: driver("close", name)
        quit_ = lambda name: self.program.click((name, QUIT))
        # Question 1, by "退出" and by the close box: the window is unloaded.
        for leave in (quit_, close):
            self.start()
            leave(DIALOG)
            self.wait(DIALOG, "gone")
            self.assertEqual(self.states(), {FORM1: True})
        # Question 2 by the close box, question 3 by "退出".
        self.start()
        self.answer(YES)
        close(DIALOG1)
        self.wait(DIALOG1, "gone")
        self.assertEqual(self.dialogs(), [False, None, None, None])
        self.start()
        self.answer(YES, NO)
        quit_(DIALOG2)
        self.wait(DIALOG2, "gone")
        self.assertEqual(self.dialogs(), [False, False, None, None])
        # Question 4 after "是" on question 3: no progress window at all.
        self.start()
        self.answer(NO, YES, YES)
        quit_(DIALOG3)
        self.wait(DIALOG3, "gone")
        self.assertEqual(self.dialogs(), [False, False, False, None])
        self.assertNotIn(LIST, self.states())
        # Question 4 after "否" on question 3: the progress window stays as it came up.
        self.start()
        self.answer(NO, NO, NO)
        self.wait(LIST, "shown")
        close(DIALOG3)
        self.wait(DIALOG3, "gone")
        time.sleep(1)
        self.assert_progress_window_untouched()
        self.assertEqual(self.program.launches(), [])

    def test_main_window_starts_a_second_chain_while_the_third_question_waits(self):
        self.start()
        self.answer(YES, YES)
        self.start()
        self.assertEqual(self.dialogs(), [True, False, True, None])
        self.program.click((DIALOG, NO))
        self.wait(DIALOG1, "shown")
        self.assertEqual(self.dialogs(), [False, True, True, None])
        self.program.click((DIALOG2, YES))
        self.wait(DIALOG3, "shown")
        self.assertEqual(self.dialogs(), [False, True, False, True])
        self.assertEqual(self.program.launches(), [])


class AnswersDuringRuns(QuestionnaireTest):
    """Clicks posted together wait in the queue; the first starts the guided run,
    and the others are handled, in order, in that run's first pump."""

    def setUp(self):
        super().setUp()
        self.start()
        self.answer(YES, YES, YES)

    def test_a_second_questionnaire_in_a_pump_steers_the_rest_of_the_run(self):
        yes_commands, _ = expected_run("guided", 1, 1, 1, 1)
        commands, log = expected_run("guided", 0, 0, 1, 1)
        self.assertNotEqual(commands[2:], yes_commands[2:])
        # The second chain answers 否, 否, 是 and quits at the fourth question,
        # unloading Dialog3 while its own answer's run is still going.
        self.program.click((DIALOG3, YES), (FORM1, COMMAND1), (DIALOG, NO), (DIALOG1, NO), (DIALOG2, YES),
                           (DIALOG3, QUIT))
        self.wait_for_run(yes_commands[:2] + commands[2:], log)
        self.assertTrue(self.program.wait_for_text(LIST, 0, DONE, 30))
        self.assertEqual(self.dialogs(), [False, False, False, None])
        # The program goes on working after the run returned.
        self.program.click((FORM1, COMMAND5))
        self.wait(HELP, "shown")

    def test_fourth_answer_in_a_pump_runs_a_whole_guided_run_nested(self):
        yes_commands, yes_log = expected_run("guided", 1, 1, 1, 1)
        no_commands, no_log = expected_run("guided", 0, 0, 0, 0)
        self.program.click((DIALOG3, YES), (FORM1, COMMAND1), (DIALOG, NO), (DIALOG1, NO), (DIALOG2, NO),
                           (DIALOG3, NO))
        first_line = yes_log.split("\r\n", 1)[0] + "\r\n"
        self.assertTrue(no_log.startswith(first_line))
        # The interrupted run follows the new answers at every test it had not reached.
        self.wait_for_run(yes_commands[:2] + no_commands + no_commands[2:], first_line + no_log + no_log[len(first_line):])
        self.assertEqual(self.program.text(LIST, 0), DONE)


class AutomaticRunAnswer(QuestionnaireTest):
    """The automatic run asks nothing and takes its branch from the latest fourth answer."""

    def setUp(self):
        super().setUp()
        self.start()
        self.answer(YES, YES, YES)

    def check_automatic_prefix(self, before, web, start_pair):
        commands, _ = expected_run("automatic", web=web)
        last = commands.index(start_pair[1])
        self.assertEqual(commands[last - 1], start_pair[0])
        expected = before + commands[:last + 1]
        self.program.wait_for_launches(len(expected), 120)
        self.assertEqual(self.program.commands()[:len(expected)], expected)

    def test_yes_on_the_fourth_question_starts_and_autostarts_com_plus(self):
        guided, _ = expected_run("guided", 1, 1, 1, 1)
        # A later questionnaire that quits at the fourth question keeps the answer.
        self.program.click((DIALOG3, YES), (FORM1, COMMAND1), (DIALOG, NO), (DIALOG1, NO), (DIALOG2, YES),
                           (DIALOG3, QUIT), (FORM1, COMMAND2))
        self.check_automatic_prefix(guided[:2], 1,
                                    ("cmd /c NET start COMSysApp", "cmd /c sc config COMSysApp start= auto"))

    def test_no_given_later_stops_and_disables_com_plus(self):
        guided, _ = expected_run("guided", 1, 1, 1, 1)
        # The second fourth answer starts a nested guided run; the automatic run
        # comes in that one's first pump.
        self.program.click((DIALOG3, YES), (FORM1, COMMAND1), (DIALOG, YES), (DIALOG1, YES), (DIALOG2, YES),
                           (DIALOG3, NO), (FORM1, COMMAND2))
        self.check_automatic_prefix(guided[:2] * 2, 0,
                                    ("cmd /c NET stop COMSysApp", "cmd /c sc config COMSysApp start= disabled"))


class HelpWindow(QuestionnaireTest):
    def help_text_lines(self):
        site = site_info()
        return ["",
                "    对XP系统服务进行优化的软件，这个软件是免费的，你可以无偿获",
                "取，下载网址为" + site["kDownloadHost"] + "，它对系统常用的近百个服务进行优化，",
                "大大提高系统运行速度，对于未优化过的系统来说，开机速度可以提高",
                "20%以上，并减少内存的占用。建议使用“按提问优化”以达到最好效果",
                "，对于不懂电脑的人来说，可以使用“自动优化”，另外，“恢复默认",
                "设置”可以恢复到优化前的系统默认状态，可能对解决一些系统问题有",
                "帮助！",
                "",
                site["kSiteName"] + site["kDownloadAddress"],
                "QQ:" + site["kMessengerAccount"],
                "mail:" + site["kMailAddress"],
                "当前版本:v1.2",
                ""]

    def help_windows(self):
        _, out = driver("windows")
        return len(re.findall(r"class=%s " % HELP, out))

    def open_help(self):
        self.program.click((FORM1, COMMAND5))
        self.wait(HELP, "shown")

    def test_text_place_focus_single_window_and_reload(self):
        self.open_help()
        self.assertEqual(self.program.text(HELP, 0), "帮助")
        self.assertEqual(self.program.text(HELP, HELP_TEXT1).split("\r\n"), self.help_text_lines())
        _, out = driver("dump", HELP)
        self.assertIn(" client=184,250,484,392 ", out.splitlines()[0])
        _, focus = driver("focus", HELP)
        self.assertEqual(focus.split(), [str(HELP_OK), HELP])

        # Typed text stays while the window is open, also through another "帮助".
        original = self.program.text(HELP, HELP_TEXT1)
        driver("type", HELP, HELP_TEXT1, "7b14,8bb0")
        self.assertTrue(self.program.wait_for_text(HELP, HELP_TEXT1, "笔记" + original, 10))
        self.open_help()
        time.sleep(0.5)
        self.assertEqual(self.help_windows(), 1)
        self.assertEqual(self.program.text(HELP, HELP_TEXT1), "笔记" + original)

        # "退出" and the close box unload it; the next "帮助" brings the text back.
        for leave in (lambda: self.program.click((HELP, HELP_OK)), lambda: driver("close", HELP)):
            leave()
            self.wait(HELP, "gone")
            self.open_help()
            self.assertEqual(self.program.text(HELP, HELP_TEXT1), original)
            self.assertIn(" client=184,250,484,392 ", driver("dump", HELP)[1].splitlines()[0])
            driver("type", HELP, HELP_TEXT1, "78")
        self.assertEqual(self.states(), {FORM1: True, HELP: True})
        self.assertEqual(self.program.launches(), [])


if __name__ == "__main__":
    unittest.main()
