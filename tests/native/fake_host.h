// A RunnerHost that starts nothing and records everything a run asks of the platform,
// in order, so that native tests can check launches, log text and pumps. Its pump can
// call back into the test, which then acts like the user during that pump.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runner/step_runner.h"

namespace qelvane::test {

class FakeHost final : public RunnerHost {
public:
    enum class Kind { Run, Append, Pump, Caption, Status, EnableExit };
    struct Event {
        Kind kind;
        std::string text;  // command line, appended text, caption or status; empty otherwise
    };

    // Every call, in the order the run made it.
    std::vector<Event> events;
    // Every command line passed to RunHidden, started or not.
    std::vector<std::string> commands;
    // The log box's whole text.
    std::string log;
    // For each pump, in order: log.size() and commands.size() when it began.
    std::vector<std::size_t> pumpLogSizes;
    std::vector<std::size_t> pumpCommandCounts;
    std::string caption;
    std::string status;
    bool exitEnabled = false;

    // Called inside PumpEvents with the pump's index (0 for the first pump of this host).
    // It may change the log, the answers, or start a nested run on this same host.
    std::function<void(std::size_t pumpIndex)> onPump;
    // Decides each launch; every launch starts when it is empty.
    std::function<LaunchResult(const std::string& commandLine)> onRun;

    std::size_t PumpCount() const { return pumpLogSizes.size(); }

    LaunchResult RunHidden(const std::string& commandLine) override {
        events.push_back({Kind::Run, commandLine});
        commands.push_back(commandLine);
        return onRun ? onRun(commandLine) : LaunchResult{true, {}};
    }

    void PumpEvents() override {
        const std::size_t index = pumpLogSizes.size();
        events.push_back({Kind::Pump, {}});
        pumpLogSizes.push_back(log.size());
        pumpCommandCounts.push_back(commands.size());
        // A copy, so that a hook may replace onPump without destroying itself mid-call.
        if (auto hook = onPump) hook(index);
    }

    void AppendLogText(std::string_view text) override {
        events.push_back({Kind::Append, std::string(text)});
        log += text;
    }

    void SetProgressCaption(std::string_view text) override {
        events.push_back({Kind::Caption, std::string(text)});
        caption = text;
    }

    void SetProgressStatus(std::string_view text) override {
        events.push_back({Kind::Status, std::string(text)});
        status = text;
    }

    void EnableProgressExit() override {
        events.push_back({Kind::EnableExit, {}});
        exitEnabled = true;
    }
};

// The log split at each CR LF; the last element is what follows the last CR LF.
inline std::vector<std::string> SplitLog(std::string_view log) {
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = log.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(log.substr(start));
            return lines;
        }
        lines.emplace_back(log.substr(start, end - start));
        start = end + 2;
    }
}

}  // namespace qelvane::test
