// The step runner's platform: hidden launches through the system's cmd.exe, the
// program's event pump, and the progress window's single instance.
#pragma once

#include "runner/step_runner.h"

namespace qelvane {

class WindowRunnerHost : public RunnerHost {
public:
    LaunchResult RunHidden(const std::string& commandLine) override;
    void PumpEvents() override;
    void AppendLogText(std::string_view text) override;
    void SetProgressCaption(std::string_view caption) override;
    void SetProgressStatus(std::string_view status) override;
    void EnableProgressExit() override;
};

// Tests put a recorder in place of the system's cmd.exe; nullptr puts it back.
using CommandLauncher = LaunchResult (*)(const std::string& commandLine);
void SetCommandLauncher(CommandLauncher launcher);

}  // namespace qelvane
