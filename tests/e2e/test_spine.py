"""The main window, the download page, and the end of the program."""

import time
import unittest

from harness import (COMMAND1, COMMAND2, COMMAND4, FORM1, IMAGE1, LABEL4, LIST, LIST_COMMAND1, LIST_TEXT1,
                     ProgramTest, driver)


class StartUp(ProgramTest):
    def test_only_the_main_window_with_focus_on_the_first_button(self):
        self.assertEqual(self.program.windows().get(FORM1), True)
        self.assertFalse(self.program.windows().get(LIST, False))
        _, focus = driver("focus", FORM1)
        self.assertEqual(focus.split()[0], str(COMMAND1))
        time.sleep(1)
        self.assertEqual(self.program.launches(), [])


class DownloadPage(ProgramTest):
    def test_banner_and_link_each_launch_one_explorer_command(self):
        self.program.click((FORM1, IMAGE1))
        self.program.wait_for_launches(1)
        self.program.click((FORM1, LABEL4))
        launches = self.program.wait_for_launches(2)
        time.sleep(1)
        self.assertEqual(len(self.program.launches()), 2)
        for application, command_line in launches:
            self.assertEqual(application.lower(), 'l"c:\\windows\\explorer.exe"')
            self.assertEqual(command_line, "explorer http://qv.example")


class EndOfProgram(ProgramTest):
    def test_closing_the_main_window_ends_the_program_with_other_windows_open(self):
        self.program.click((FORM1, COMMAND2))
        code, out = driver("wait", LIST, "shown", 60000, timeout=90)
        self.assertEqual(code, 0, out)
        driver("close", FORM1)
        self.assertTrue(self.program.ended(60))
        self.assertEqual(self.program.windows(), {})

    def test_close_box_during_a_run_ends_the_program_before_its_next_row(self):
        self.program.click((FORM1, COMMAND2))
        self.program.wait_for_launches(4)
        driver("close", FORM1)
        self.assertTrue(self.program.ended(60))
        launched = len(self.program.commands())
        self.assertLess(launched, 115)
        time.sleep(2)
        self.assertEqual(len(self.program.commands()), launched, "nothing is launched after the end")

    def test_end_of_the_windows_session_ends_the_program(self):
        driver("endsession", FORM1)
        self.assertTrue(self.program.ended(60))
        self.assertEqual(self.program.launches(), [])

    def test_exit_queued_behind_a_run_ends_it_after_the_first_row(self):
        self.program.click((FORM1, COMMAND2), (FORM1, COMMAND4))
        self.assertTrue(self.program.ended(60))
        time.sleep(1)
        self.assertEqual(self.program.commands(),
                         ["cmd /c NET stop Alerter", "cmd /c sc config Alerter start= disabled"])
        apps = {application.lower() for application, _ in self.program.launches()}
        self.assertEqual(apps, {'l"c:\\windows\\system32\\cmd.exe"'})
        self.check_services()


class ProgressWindow(ProgramTest):
    def test_log_typed_text_and_exit_button_after_a_run(self):
        self.program.click((FORM1, COMMAND2))
        self.assertTrue(self.program.wait_for_text(LIST, 0, "优化完成！"))
        self.assertEqual(self.program.text(LIST, 101), "优化完成！")
        log = self.program.text(LIST, LIST_TEXT1)
        self.assertTrue(log.startswith("1:Alerter:禁用\r\n"))
        self.assertTrue(log.endswith("\r\n" + "-" * 59 + "\r\n优化已经完成！"))
        # The exit button is enabled now and unloads the window.
        self.program.click((LIST, LIST_COMMAND1))
        code, out = driver("wait", LIST, "gone", 30000)
        self.assertEqual(code, 0, out)


if __name__ == "__main__":
    unittest.main()
