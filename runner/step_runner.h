// The step pattern shared by every run: launch a row's command lines, append its
// log line, let pending events run; and the completion sequence after the last row.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runner/module1.h"
#include "runner/service_step.h"

namespace qelvane {

inline constexpr std::string_view kSeparatorLine =
    "-----------------------------------------------------------";
inline constexpr std::string_view kClosingLogLine = "优化已经完成！";
inline constexpr std::string_view kCompletionCaption = "优化完成！";
inline constexpr std::string_view kLineBreak = "\r\n";

// Whether a launched command may run at once. A held command's process is created now,
// but runs only once the process of the host's next launch has ended, or after
// kHoldLimitMs; when that next launch cannot be started, at once.
enum class Hold { None, UntilNextLaunchEnds };
inline constexpr unsigned kHoldLimitMs = 10000;

struct LaunchResult {
    bool started = false;
    std::string reason;  // the system's words when the launch failed
};

// Everything a run needs from the platform. Each progress-window operation goes
// through the window's single instance, loading a fresh one when it is not loaded.
class RunnerHost {
public:
    virtual ~RunnerHost() = default;
    // Starts the command line with a hidden window and returns without waiting.
    virtual LaunchResult RunHidden(const std::string& commandLine, Hold hold) = 0;
    // Processes every pending window message and returns when none is left.
    virtual void PumpEvents() = 0;
    // Adds `text` at the end of the log box, leaving the text before it as it is.
    virtual void AppendLogText(std::string_view text) = 0;
    virtual void SetProgressCaption(std::string_view caption) = 0;
    virtual void SetProgressStatus(std::string_view status) = 0;
    virtual void EnableProgressExit() = 0;
};

enum class RunOutcome { Completed, LaunchFailed };

void AppendLogLine(RunnerHost& host, std::string_view line);
RunOutcome RunStep(RunnerHost& host, const ServiceStep& step);
RunOutcome FinishRun(RunnerHost& host, const ServiceStep& lastStep);

// The log line written when a command line cannot be started.
std::string LaunchFailureLine(std::string_view commandLine, std::string_view reason);

// When a profile row runs: always (test 0), or in one arm of a numbered test on
// one answer. The answer is read once, when the run reaches the test's first row.
struct When {
    int test = 0;
    Answer answer = Answer::UsesDiscBurner;
    bool arm = false;
};

inline constexpr When kAlways{};
constexpr When IfYes(int test, Answer answer) { return When{test, answer, true}; }
constexpr When IfNo(int test, Answer answer) { return When{test, answer, false}; }

struct ProfileRow {
    When when;
    ServiceStep step;
};

struct Profile {
    const ProfileRow* rows = nullptr;
    std::size_t count = 0;

    template <std::size_t N>
    constexpr Profile(const ProfileRow (&table)[N]) : rows(table), count(N) {}
    constexpr const ProfileRow* begin() const { return rows; }
    constexpr const ProfileRow* end() const { return rows + count; }
};

// Runs every row but the last through RunStep, taking one arm of each test as
// the answers stand when the run reaches it, then the last row through FinishRun.
// A command line that cannot be started stops the run at its row.
RunOutcome ExecuteProfile(const Profile& profile, const Answers& answers, RunnerHost& host);

}  // namespace qelvane
