// Launching: the download page through explorer, minimized; and a launch that cannot start
// gives the system's reason. How a row's command is started (hidden, without waiting, in the
// system folder, its command line untouched) is seen from outside, in tests/e2e.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "winui/launch.h"
#include "winui/text.h"

// The executable's import slot of CreateProcessW, through which every launch reaches the system: the recorder cannot
// see how cmd.exe itself was started, and the test launcher hook replaces a row's launch as a whole; so the test
// watches this one call, and passes it on.
extern "C" decltype(&CreateProcessW) __imp_CreateProcessW;
extern "C" decltype(&GetSystemDirectoryW) __imp_GetSystemDirectoryW;
extern "C" decltype(&GetWindowsDirectoryW) __imp_GetWindowsDirectoryW;
extern "C" decltype(&CreateFileW) __imp_CreateFileW;

namespace qelvane {
namespace {

struct Call { std::wstring application, commandLine, directory; DWORD startFlags = 0, creationFlags = 0; WORD show = 0; } g_call;
decltype(&CreateProcessW) g_system = nullptr;
bool g_passOn = true;

BOOL WINAPI Watch(LPCWSTR app, LPWSTR line, LPSECURITY_ATTRIBUTES pa, LPSECURITY_ATTRIBUTES ta, BOOL inherit,
                  DWORD flags, LPVOID env, LPCWSTR dir, LPSTARTUPINFOW si, LPPROCESS_INFORMATION pi) {
    g_call = {app ? app : L"", line, dir ? dir : L"", si->dwFlags, flags, si->wShowWindow};
    if (g_passOn) return g_system(app, line, pa, ta, inherit, flags, env, dir, si, pi);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

HANDLE WINAPI NoNullDevice(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    return SetLastError(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
}

std::wstring Lower(std::wstring s) { return CharLowerW(s.data()), s; }

template <typename Function> Function Swap(Function& slot, Function with) {
    DWORD old = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &old);
    return std::exchange(slot, with);
}

TEST(Launch, ThePageThroughExplorerAndTheReasonWhenNothingStarts) {
    g_system = Swap(__imp_CreateProcessW, Watch);
    g_passOn = false;  // no browser, nor a command that went ahead without its input
    for (int id : {Form1::Image1, Form1::Label4}) {
        g_call = {};
        SendMessageW(Form1::Instance().Control(id), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(Form1::Instance().Control(id), WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(Lower(g_call.application) + L" " + g_call.commandLine,
                  Lower(winui::WindowsFolder()) + L"\\explorer.exe explorer http://qv.example");
        EXPECT_TRUE(g_call.show == SW_SHOWMINIMIZED && (g_call.startFlags & STARTF_USESHOWWINDOW));
    }
    const auto open = Swap(__imp_CreateFileW, NoNullDevice);
    g_call = {};
    const LaunchResult noInput = WindowRunnerHost().RunHidden("cmd /c NET stop Alerter");
    Swap(__imp_CreateFileW, open);
    EXPECT_FALSE(noInput.started);
    EXPECT_EQ(noInput.reason + winui::Narrow(g_call.application), winui::Narrow(winui::SystemErrorText(ERROR_ACCESS_DENIED)))
        << "nothing started, and the system's reason";
    g_passOn = true;  // a launch the system refuses
    std::wstring reason;
    EXPECT_FALSE(winui::LaunchProcess(L"C:\\no\\such\\folder\\cmd.exe", L"cmd", winui::SystemFolder(), SW_HIDE, &reason));
    EXPECT_EQ(reason, winui::SystemErrorText(ERROR_PATH_NOT_FOUND));
    Swap(__imp_CreateProcessW, g_system);
}

// The folders as this test's system gives them: none, with its reason; or one past MAX_PATH.
const std::wstring g_longFolder = L"C:\\" + std::wstring(300, L'x');
bool g_noFolder = true;

UINT WINAPI Folder(LPWSTR buffer, UINT size) {
    if (g_noFolder) return SetLastError(ERROR_ACCESS_DENIED), 0;
    if (size <= g_longFolder.size()) return static_cast<UINT>(g_longFolder.size() + 1);
    return lstrcpyW(buffer, g_longFolder.c_str()), static_cast<UINT>(g_longFolder.size());
}

TEST(Launch, WithoutItsFolderNothingStartsAndTheLogSaysWhy) {
    g_system = Swap(__imp_CreateProcessW, Watch);
    const auto system = Swap(__imp_GetSystemDirectoryW, Folder), windows = Swap(__imp_GetWindowsDirectoryW, Folder);
    g_passOn = false;
    g_call = {};
    SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);
    SendMessageW(Form1::Instance().Control(Form1::Image1), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Form1::Instance().Control(Form1::Image1), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(g_call.application + g_call.commandLine, L"") << "started";
    const std::wstring log = list::Instance().ControlText(list::Text1);
    EXPECT_NE(log.find(L"cmd /c NET stop Alerter"), std::wstring::npos) << winui::Narrow(log);
    EXPECT_NE(log.find(winui::SystemErrorText(ERROR_ACCESS_DENIED)), std::wstring::npos) << winui::Narrow(log);
    EXPECT_EQ(log.find(L"\r\n"), log.size() - 2) << "the run stops at its first row";

    g_noFolder = false;
    EXPECT_FALSE(WindowRunnerHost().RunHidden("cmd /c sc config Alerter start= disabled").started);
    EXPECT_EQ(g_call.application + L" in " + g_call.directory, g_longFolder + L"\\cmd.exe in " + g_longFolder);
    Swap(__imp_GetSystemDirectoryW, system);
    Swap(__imp_GetWindowsDirectoryW, windows);
    Swap(__imp_CreateProcessW, g_system);
}

}  // namespace
}  // namespace qelvane
