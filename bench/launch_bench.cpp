// Under Wine: a complete automatic run with the program's real launcher, window and
// pump, against the floor, a plain loop that launches the same command lines.
// Phases alternate, with a pause between them for the launched commands to die
// down; prints each phase and the median ratio of the rounds in which every launch
// started (a failed one stops the run early). Usage: launch_bench [rounds] [pause ms]
// or launch_bench alone [runs]: the program's runs with nothing launched.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "profiles/profiles.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "winui/launch.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace {

class CommandRecorder : public qelvane::RunnerHost {
public:
    std::vector<std::wstring> commands;
    qelvane::LaunchResult RunHidden(const std::string& commandLine, qelvane::Hold) override {
        commands.push_back(winui::Widen(commandLine));
        return {true, {}};
    }
    void PumpEvents() override {}
    void AppendLogText(std::string_view) override {}
    void SetProgressCaption(std::string_view) override {}
    void SetProgressStatus(std::string_view) override {}
    void EnableProgressExit() override {}
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A phase's time, or why it does not count: a launch that failed makes the phase
// end early (the program's run stops at that row) or skip work (the floor).
struct Phase {
    double seconds = 0;
    std::wstring failure;
};

std::wstring FailureText(const std::wstring& line, const std::wstring& reason) { return line + L": " + reason; }

Phase Floor(const std::vector<std::wstring>& commands) {
    const std::wstring system = winui::SystemFolder();
    const std::wstring cmd = system + L"\\cmd.exe";
    std::wstring failure;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (const std::wstring& line : commands) {
        std::wstring reason;
        if (!winui::LaunchProcess(cmd, line, system, SW_HIDE, &reason) && failure.empty())
            failure = FailureText(line, reason);
    }
    QueryPerformanceCounter(&end);
    return {Seconds(start, end), failure};
}

// The program's own host, with the time spent in each of its operations added up.
class TimedHost : public qelvane::WindowRunnerHost {
public:
    double launch = 0, append = 0, pump = 0;
    std::wstring failure;  // the first launch that failed, which stopped the run
    qelvane::LaunchResult RunHidden(const std::string& line, qelvane::Hold hold) override {
        const LARGE_INTEGER start = Now();
        qelvane::LaunchResult result = WindowRunnerHost::RunHidden(line, hold);
        launch += Seconds(start, Now());
        if (!result.started && failure.empty()) failure = FailureText(winui::Widen(line), winui::Widen(result.reason));
        return result;
    }
    void PumpEvents() override {
        const LARGE_INTEGER start = Now();
        WindowRunnerHost::PumpEvents();
        pump += Seconds(start, Now());
    }
    void AppendLogText(std::string_view text) override {
        const LARGE_INTEGER start = Now();
        WindowRunnerHost::AppendLogText(text);
        append += Seconds(start, Now());
    }

private:
    static LARGE_INTEGER Now() {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now;
    }
};

Phase ProgramRun() {
    qelvane::list::Instance().Show();
    TimedHost host;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    qelvane::ExecuteProfile(qelvane::AutomaticProfile(), qelvane::Answers{}, host);
    QueryPerformanceCounter(&end);
    qelvane::list::Instance().Unload();
    std::printf("  program: launches %.3f s, appends %.3f s, pumps %.3f s\n", host.launch, host.append, host.pump);
    return {Seconds(start, end), host.failure};
}

void Settle(DWORD pauseMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < pauseMs) {
        winui::PumpEvents();
        Sleep(50);
    }
}

qelvane::LaunchResult LaunchNothing(const std::string&) { return {true, {}}; }

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "alone") {
        qelvane::SetCommandLauncher(LaunchNothing);
        for (int run = argc > 2 ? std::atoi(argv[2]) : 3; run > 0; --run)
            std::printf("run %.3f s\n", ProgramRun().seconds);
        return 0;
    }
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const DWORD pause = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 15000;
    CommandRecorder recorder;
    qelvane::ExecuteProfile(qelvane::AutomaticProfile(), qelvane::Answers{}, recorder);
    std::printf("command lines per run: %zu\n", recorder.commands.size());
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which phase goes first, so neither always meets a quieter system.
        Phase floor, program;
        if (round % 2 == 0) {
            floor = Floor(recorder.commands);
            Settle(pause);
            program = ProgramRun();
        } else {
            program = ProgramRun();
            Settle(pause);
            floor = Floor(recorder.commands);
        }
        Settle(pause);
        const double ratio = program.seconds / floor.seconds;
        std::printf("round %d: floor %.3f s, program %.3f s, ratio %.3f\n", round + 1, floor.seconds,
                    program.seconds, ratio);
        for (const Phase* phase : {&floor, &program}) {
            if (!phase->failure.empty())
                std::printf("  not counted, a launch failed: %s\n", winui::Narrow(phase->failure).c_str());
        }
        if (floor.failure.empty() && program.failure.empty()) ratios.push_back(ratio);
        std::fflush(stdout);
    }
    if (ratios.empty()) return 1;
    std::sort(ratios.begin(), ratios.end());
    const std::size_t n = ratios.size();
    std::printf("median ratio of %zu rounds: %.3f\n", n, (ratios[(n - 1) / 2] + ratios[n / 2]) / 2);
    return 0;
}
