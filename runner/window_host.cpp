#include "runner/window_host.h"

#include "runner/list_window.h"
#include "winui/launch.h"
#include "winui/message_loop.h"
#include "winui/text.h"

namespace qelvane {

namespace {
CommandLauncher g_launcher = nullptr;
}  // namespace

void SetCommandLauncher(CommandLauncher launcher) { g_launcher = launcher; }

LaunchResult WindowRunnerHost::RunHidden(const std::string& commandLine) {
    if (g_launcher) return g_launcher(commandLine);
    // The system's own cmd.exe, started in the system folder, so that no cmd, NET
    // or sc planted beside the program or in its working folder is ever run.
    const std::wstring system = winui::SystemFolder();
    // Without it the path would name the current drive's root: start nothing.
    if (system.empty()) return {false, winui::Narrow(winui::SystemErrorText(GetLastError()))};
    std::wstring reason;
    if (winui::LaunchProcess(system + L"\\cmd.exe", winui::Widen(commandLine), system, SW_HIDE, &reason))
        return {true, {}};
    return {false, winui::Narrow(reason)};
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
