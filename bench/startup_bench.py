"""Start-up time and peak memory of the shipped program against a minimal Win32 program
that shows one empty window, side by side under Wine on a virtual display; and against the
same empty window carrying the program's manifest, which loads version 6 of the common
controls as the program must.

Time: from starting `wine EXE` until its window is mapped on the X display (xdotool).
Memory: the peak resident set (VmHWM) of the program's process, read once its window is up.
Usage, with DISPLAY, WINEPREFIX and WINELOADER set (see use_prefix in scripts/common.sh):
    python3 bench/startup_bench.py build/release-x64 [rounds]"""

import os
import statistics
import subprocess
import sys
import time

PROGRAMS = [("qelvane.exe", "^Qelvane1\\.2$"), ("empty_window.exe", "^Baseline$"),
            ("empty_window_cc6.exe", "^Baseline$")]


def find_pid(exe):
    for pid in os.listdir("/proc"):
        if pid.isdigit():
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    if exe.encode() in f.read().split(b"\0")[0]:
                        return pid
            except OSError:
                pass
    return None


def peak_kib(pid):
    with open("/proc/%s/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def one_start(folder, exe, title):
    path = os.path.join(folder, exe)
    start = time.monotonic()
    # The prefix's own loader starts the program as this very process; /usr/bin/wine may be
    # the 32-bit loader, which hands a 64-bit program on to a second process.
    process = subprocess.Popen([os.environ.get("WINELOADER", "wine"), path], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    while True:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                               capture_output=True).stdout.strip()
        if found:
            break
        if time.monotonic() - start > 60:
            raise RuntimeError(exe + " showed no window")
        time.sleep(0.01)
    elapsed = time.monotonic() - start
    time.sleep(0.5)
    pid = find_pid(path)
    memory = peak_kib(pid) if pid else 0
    # Measured: end it. (Closing the X window would leave the Windows program running.)
    process.kill()
    process.wait()
    if pid and int(pid) != process.pid:
        os.kill(int(pid), 9)
    time.sleep(1)
    return elapsed, memory


def main():
    folder = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    results = {exe: ([], []) for exe, _ in PROGRAMS}
    # Keeps the prefix up between the measured programs: a program started while Wine
    # shuts the prefix down after the last one can hang without a window.
    keeper = subprocess.Popen([os.environ.get("WINELOADER", "wine"), "cmd.exe", "/c", "pause"],
                              stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(2)
    for round_ in range(rounds):
        # Each program takes each place in the order in turn.
        shift = round_ % len(PROGRAMS)
        order = PROGRAMS[shift:] + PROGRAMS[:shift]
        for exe, title in order:
            elapsed, memory = one_start(folder, exe, title)
            results[exe][0].append(elapsed)
            results[exe][1].append(memory)
    keeper.communicate(b"\r\n", timeout=30)
    for exe, (times, memories) in results.items():
        print("%-21s start-up median %.3f s (min %.3f), peak memory median %d KiB"
              % (exe, statistics.median(times), min(times), statistics.median(memories)))
    q_time, q_mem = (statistics.median(v) for v in results["qelvane.exe"])
    for baseline in ("empty_window.exe", "empty_window_cc6.exe"):
        b_time, b_mem = (statistics.median(v) for v in results[baseline])
        print("ratio to %s: start-up %.2f, peak memory %.2f" % (baseline, q_time / b_time, q_mem / b_mem))


if __name__ == "__main__":
    main()
