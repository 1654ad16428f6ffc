"""The watch for launches Wine never completes, on written traces (no Wine needed)."""

import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import launchwatch

OPEN = ('%s:trace:process:NtCreateUserProcess L"\\\\??\\\\C:\\\\windows\\\\system32\\\\cmd.exe" image '
        'L"C:\\\\windows\\\\system32\\\\cmd.exe" cmdline L"cmd /c NET stop %s" parent (nil)\n')
DONE = '%s:trace:process:NtCreateUserProcess L"\\\\??\\\\C:\\\\windows\\\\system32\\\\cmd.exe" pid 0084 tid 0718 handles 0x94/0x98\n'


class Clock:
    def __init__(self):
        self.now = 1000.0

    def __call__(self):
        return self.now


class LaunchWatchTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.directory.name, "trace.txt")
        self.clock = Clock()
        self.watch = launchwatch.LaunchWatch(self.path, stuck_after=90, clock=self.clock)

    def tearDown(self):
        self.directory.cleanup()

    def write(self, text):
        with open(self.path, "ab") as trace:
            trace.write(text.encode("utf-8"))

    def test_a_launch_silent_for_the_whole_delay_is_stuck_until_its_thread_speaks(self):
        self.write(OPEN % ("02ac", "Alerter"))
        self.assertEqual(self.watch.stuck(), [])
        self.clock.now += 89
        self.assertEqual(self.watch.stuck(), [])
        self.clock.now += 1
        self.assertEqual(self.watch.stuck(),
                         [("02ac", 'L"\\\\??\\\\C:\\\\windows\\\\system32\\\\cmd.exe"', 'L"cmd /c NET stop Alerter"')])
        self.write("02ac:trace:process:CreateProcessInternalW started process pid 0084 tid 0718\n")
        self.assertEqual(self.watch.stuck(), [])

    def test_completed_failed_and_other_threads_launches(self):
        self.write(OPEN % ("02ac", "Alerter") + DONE % "02ac")         # completed
        self.write(OPEN % ("0718", "ALG") + "0718:err:process:failed\n")  # failed, the thread went on
        self.write(OPEN % ("0264", "UPS"))                              # stuck ...
        self.write("0718:trace:process:NtQueryInformationProcess ()\n")  # ... whatever others print
        self.write("it looks like wine32 is missing\n")
        self.watch.poll()
        self.clock.now += 600
        self.assertEqual([tid for tid, _, _ in self.watch.stuck()], ["0264"])

    def test_a_line_written_in_two_pieces_is_read_once_whole(self):
        line = OPEN % ("02ac", "Alerter")
        self.write(line[:40])
        self.watch.poll()
        self.write(line[40:])
        self.clock.now += 100
        self.assertEqual(self.watch.stuck(), [])  # first seen when whole, 100 s ago is not yet
        self.clock.now += 90
        self.assertEqual(len(self.watch.stuck()), 1)

    def test_the_time_counts_from_when_the_launch_was_first_read(self):
        self.write(OPEN % ("02ac", "Alerter"))
        self.clock.now += 300  # nothing read meanwhile: the watch cannot know it is old
        self.assertEqual(self.watch.stuck(), [])
        self.clock.now += 90
        self.assertEqual(len(self.watch.stuck()), 1)

    def test_no_trace_yet(self):
        self.assertEqual(self.watch.stuck(), [])


class ForksTest(unittest.TestCase):
    def test_a_copy_that_executed_nothing_is_found_and_another_program_is_not(self):
        child = os.fork()
        if child == 0:
            time.sleep(60)
            os._exit(0)
        other = subprocess.Popen([sys.executable, "-c", "import time; time.sleep(60)"],
                                 env=dict(os.environ, QELVANE_OTHER="1"))
        try:
            time.sleep(0.2)
            found = launchwatch.forks_of(os.getpid())
            self.assertIn(child, found)
            self.assertNotIn(other.pid, found)
            self.assertNotIn(os.getpid(), found)
            report = launchwatch.describe([child], "/no/such/prefix")
            self.assertIn("process %d thread %d: state S" % (child, child), report)
            self.assertEqual([line.split()[0] for line in report.splitlines()[:2]], ["PID", str(child)])
        finally:
            os.kill(child, signal.SIGKILL)
            os.waitpid(child, 0)
            other.kill()
            other.wait()


if __name__ == "__main__":
    unittest.main()
