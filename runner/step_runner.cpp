#include "runner/step_runner.h"

namespace qelvane {

namespace {

bool Launch(RunnerHost& host, const std::string& commandLine, Hold hold) {
    LaunchResult result = host.RunHidden(commandLine, hold);
    if (result.started) return true;
    AppendLogLine(host, LaunchFailureLine(commandLine, result.reason));
    return false;
}

// A NET start waits for its row's sc config, the launch after it: a service that is
// disabled when the run begins can only start once its new start type is set.
bool LaunchCommands(RunnerHost& host, const ServiceStep& step) {
    const Hold hold = step.verb == NetVerb::Start ? Hold::UntilNextLaunchEnds : Hold::None;
    if (step.verb != NetVerb::None && !Launch(host, NetCommandLine(step), hold)) return false;
    return Launch(host, ScCommandLine(step), Hold::None);
}

}  // namespace

std::string LaunchFailureLine(std::string_view commandLine, std::string_view reason) {
    std::string line = "无法启动命令行：";
    line += commandLine;
    if (!reason.empty()) {
        line += "（";
        line += reason;
        line += "）";
    }
    return line;
}

void AppendLogLine(RunnerHost& host, std::string_view line) {
    std::string text(line);
    text += kLineBreak;
    host.AppendLogText(text);
}

RunOutcome RunStep(RunnerHost& host, const ServiceStep& step) {
    if (!LaunchCommands(host, step)) return RunOutcome::LaunchFailed;
    AppendLogLine(host, step.logLine);
    if (step.pumpAfter) host.PumpEvents();
    return RunOutcome::Completed;
}

RunOutcome FinishRun(RunnerHost& host, const ServiceStep& lastStep) {
    if (!LaunchCommands(host, lastStep)) return RunOutcome::LaunchFailed;
    std::string text(lastStep.logLine);
    text += kLineBreak;
    text += kSeparatorLine;
    text += kLineBreak;
    text += kClosingLogLine;
    host.AppendLogText(text);
    host.PumpEvents();
    host.SetProgressCaption(kCompletionCaption);
    host.SetProgressStatus(kCompletionCaption);
    host.EnableProgressExit();
    return RunOutcome::Completed;
}

RunOutcome ExecuteProfile(const Profile& profile, const Answers& answers, RunnerHost& host) {
    if (profile.count == 0) return RunOutcome::Completed;
    const std::size_t last = profile.count - 1;
    std::size_t i = 0;
    while (i < last) {
        const When when = profile.rows[i].when;
        if (when.test == 0) {
            if (RunStep(host, profile.rows[i].step) != RunOutcome::Completed) return RunOutcome::LaunchFailed;
            ++i;
            continue;
        }
        const bool value = answers.Get(when.answer);
        for (; i < last && profile.rows[i].when.test == when.test; ++i) {
            if (profile.rows[i].when.arm != value) continue;
            if (RunStep(host, profile.rows[i].step) != RunOutcome::Completed) return RunOutcome::LaunchFailed;
        }
    }
    return FinishRun(host, profile.rows[last].step);
}

}  // namespace qelvane
