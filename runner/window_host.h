// The step runner's platform: hidden launches through the system's cmd.exe, the
// program's event pump, and the progress window's single instance.
#pragma once

#include "runner/step_runner.h"
#include "winui/held_launch.h"

namespace qelvane {

class WindowRunnerHost : public RunnerHost {
public:
    WindowRunnerHost() = default;
    WindowRunnerHost(const WindowRunnerHost&) = delete;
    WindowRunnerHost& operator=(const WindowRunnerHost&) = delete;
    ~WindowRunnerHost() override;
    // A held launch is created suspended and runs once the next launch's process has ended.
    LaunchResult RunHidden(const std::string& commandLine, Hold hold) override;
    void PumpEvents() override;
    void AppendLogText(std::string_view text) override;
    void SetProgressCaption(std::string_view caption) override;
    void SetProgressStatus(std::string_view status) override;
    void EnableProgressExit() override;

private:
    winui::HeldKey held_ = 0;  // the held launch that the next launch lets go
};

// Tests put a recorder in place of the system's cmd.exe (no launch is then held); nullptr puts it back.
using CommandLauncher = LaunchResult (*)(const std::string& commandLine);
void SetCommandLauncher(CommandLauncher launcher);

}  // namespace qelvane
