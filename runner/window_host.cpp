#include "runner/window_host.h"

#include <utility>

#include "runner/list_window.h"
#include "winui/launch.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace qelvane {

namespace {

CommandLauncher g_launcher = nullptr;

LaunchResult Start(const std::string& commandLine, DWORD creationFlags, winui::Launched* launched) {
    if (g_launcher) return g_launcher(commandLine);
    // The system's own cmd.exe, started in the system folder, so that no cmd, NET
    // or sc planted beside the program or in its working folder is ever run.
    const std::wstring system = winui::SystemFolder();
    // Without it the path would name the current drive's root: start nothing.
    if (system.empty()) return {false, winui::Narrow(winui::SystemErrorText(GetLastError()))};
    std::wstring reason;
    if (winui::LaunchProcess(system + L"\\cmd.exe", winui::Widen(commandLine), system, SW_HIDE, &reason,
                             creationFlags, launched))
        return {true, {}};
    return {false, winui::Narrow(reason)};
}

}  // namespace

void SetCommandLauncher(CommandLauncher launcher) { g_launcher = launcher; }

WindowRunnerHost::~WindowRunnerHost() { winui::Release(held_); }

LaunchResult WindowRunnerHost::RunHidden(const std::string& commandLine, Hold hold) {
    const winui::HeldKey gated = std::exchange(held_, 0);  // held until this launch's process ends
    const bool holds = hold == Hold::UntilNextLaunchEnds;
    winui::Launched launched;
    const LaunchResult result = Start(commandLine, holds ? CREATE_SUSPENDED : 0, &launched);
    if (launched.process.valid() && gated != 0)
        winui::ReleaseWhenEnded(gated, std::move(launched.process), kHoldLimitMs);
    else
        winui::Release(gated);  // nothing to wait for
    if (holds && launched.thread.valid()) held_ = winui::Hold(std::move(launched.thread));
    return result;
}

void WindowRunnerHost::PumpEvents() { winui::PumpEvents(); }

void WindowRunnerHost::AppendLogText(std::string_view text) {
    list::Instance().AppendControlText(list::Text1, winui::Widen(text));
}

void WindowRunnerHost::SetProgressCaption(std::string_view caption) {
    list::Instance().SetCaption(winui::Widen(caption));
}

void WindowRunnerHost::SetProgressStatus(std::string_view status) {
    list::Instance().SetControlText(list::Label1, winui::Widen(status));
}

void WindowRunnerHost::EnableProgressExit() { list::Instance().EnableControl(list::Command1, true); }

}  // namespace qelvane
