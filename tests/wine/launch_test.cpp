// Launching: the download page through explorer, minimized (how a row's command is started
// is seen from outside, in tests/e2e); a launch that cannot start gives the system's reason;
// a held launch runs when its gate cannot start. Each patch of an import slot is undone as its scope ends.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/form1.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "test_support.h"
#include "winui/launch.h"
#include "winui/text.h"

// The executable's import slot of CreateProcessW, through which every launch reaches the system: the recorder
// cannot see how cmd.exe itself was started, and the test launcher hook replaces a row's launch as a whole; so
// the test watches this one call, and passes it on.
extern "C" decltype(&CreateProcessW) __imp_CreateProcessW;
extern "C" decltype(&GetSystemDirectoryW) __imp_GetSystemDirectoryW;
extern "C" decltype(&GetWindowsDirectoryW) __imp_GetWindowsDirectoryW;
extern "C" decltype(&CreateFileW) __imp_CreateFileW;

namespace qelvane {
namespace {

struct Call { std::wstring application, commandLine, directory; DWORD startFlags = 0; WORD show = 0; } g_call;
decltype(&CreateProcessW) g_system = nullptr;
bool g_passOn = true;
const std::wstring g_records = L"records-" + std::to_wstring(GetCurrentProcessId()) + L"\\";  // the recorder's reports

BOOL WINAPI Watch(LPCWSTR app, LPWSTR line, LPSECURITY_ATTRIBUTES pa, LPSECURITY_ATTRIBUTES ta, BOOL inherit,
                  DWORD flags, LPVOID env, LPCWSTR dir, LPSTARTUPINFOW si, LPPROCESS_INFORMATION pi) {
    g_call = {app ? app : L"", line, dir ? dir : L"", si->dwFlags, si->wShowWindow};
    if (g_passOn) return g_system(app, line, pa, ta, inherit, flags, env, dir, si, pi);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

HANDLE WINAPI NoNullDevice(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

// The recorder's report, field by field, once it has come (within 20 s). It is read only once.
std::map<std::wstring, std::wstring> Record() {
    WIN32_FIND_DATAW found{};
    HANDLE find = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 400 && find == INVALID_HANDLE_VALUE; ++i) {
        find = FindFirstFileW((g_records + L"*.rec").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) Sleep(50);
    }
    std::map<std::wstring, std::wstring> fields;
    if (find == INVALID_HANDLE_VALUE || !FindClose(find)) return fields;
    const std::wstring file = g_records + found.cFileName;
    std::wistringstream lines(winui::Widen(std::string(
        std::istreambuf_iterator<char>(std::ifstream(file.c_str(), std::ios::binary).rdbuf()), {})));
    for (std::wstring line; std::getline(lines, line);)
        fields[line.substr(0, line.find(L'='))] = line.substr(line.find(L'=') + 1);
    DeleteFileW(file.c_str());
    return fields;
}

std::wstring Lower(std::wstring s) {
    CharLowerW(s.data());
    return s;
}

TEST(Launch, ThePageThroughExplorerMinimizedAndAFailedLaunchWithItsReason) {
    g_system = __imp_CreateProcessW;
    const auto createProcess = test::Patch(__imp_CreateProcessW, Watch);
    g_passOn = false;  // no browser, nor a command that went ahead without its input
    for (int id : {Form1::Image1, Form1::Label4}) {
        g_call = {};
        SendMessageW(Form1::Instance().Control(id), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(Form1::Instance().Control(id), WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(Lower(g_call.application), Lower(winui::WindowsFolder()) + L"\\explorer.exe") << id;
        EXPECT_EQ(g_call.commandLine, L"explorer http://qv.example") << id;
        EXPECT_TRUE(g_call.startFlags & STARTF_USESHOWWINDOW) << "shown as asked: " << id;
        EXPECT_EQ(g_call.show, SW_SHOWMINIMIZED) << id;
    }
    LaunchResult noInput;
    g_call = {};
    {
        const auto open = test::Patch(__imp_CreateFileW, NoNullDevice);
        noInput = WindowRunnerHost().RunHidden("cmd /c NET stop Alerter", Hold::None);
    }
    EXPECT_FALSE(noInput.started) << "started without its input";
    EXPECT_EQ(g_call.application, L"") << "started without its input";
    EXPECT_EQ(noInput.reason, winui::Narrow(winui::SystemErrorText(ERROR_ACCESS_DENIED))) << "the system's reason";
}

// The folders as this test's system gives them: none, with its reason; or one past MAX_PATH.
const std::wstring g_longFolder = L"C:\\" + std::wstring(300, L'x');
bool g_noFolder = true;

UINT WINAPI Folder(LPWSTR buffer, UINT size) {
    if (g_noFolder) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    if (size <= g_longFolder.size()) return static_cast<UINT>(g_longFolder.size() + 1);
    lstrcpyW(buffer, g_longFolder.c_str());
    return static_cast<UINT>(g_longFolder.size());
}

TEST(Launch, WithoutItsFolderNothingStartsAndTheLogSaysWhy) {
    g_system = __imp_CreateProcessW;
    const auto createProcess = test::Patch(__imp_CreateProcessW, Watch);
    const auto system = test::Patch(__imp_GetSystemDirectoryW, Folder);
    const auto windows = test::Patch(__imp_GetWindowsDirectoryW, Folder);
    g_passOn = false;
    g_call = {};
    SendMessageW(Form1::Instance().Control(Form1::Command2), BM_CLICK, 0, 0);
    SendMessageW(Form1::Instance().Control(Form1::Image1), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Form1::Instance().Control(Form1::Image1), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(g_call.application + g_call.commandLine, L"") << "started";
    const std::wstring log = list::Instance().ControlText(list::Text1);
    EXPECT_NE(log.find(winui::SystemErrorText(ERROR_ACCESS_DENIED)), std::wstring::npos)
        << "the system's reason in the log: " << winui::Narrow(log);

    g_noFolder = false;
    EXPECT_FALSE(WindowRunnerHost().RunHidden("cmd /c sc config Alerter start= disabled", Hold::None).started);
    EXPECT_EQ(g_call.application, g_longFolder + L"\\cmd.exe") << "the program, past MAX_PATH";
    EXPECT_EQ(g_call.directory, g_longFolder) << "its working folder, past MAX_PATH";
}

// The host, with a recorder as the system's cmd.exe: a held NET start runs at once when its sc config cannot be
// started. (Once its sc config has ended: Services and EndOfProgram in tests/e2e.)
const std::wstring g_system32 = L"system-" + std::to_wstring(GetCurrentProcessId());
UINT WINAPI RecorderFolder(LPWSTR buffer, UINT size) {
    return GetFullPathNameW(g_system32.c_str(), size, buffer, nullptr);
}

TEST(Launch, HostLetsANetStartGoWhenItsScConfigCannotStart) {
    const test::Finally remove([] {
        DeleteFileW((g_system32 + L"\\cmd.exe").c_str());
        RemoveDirectoryW(g_system32.c_str());
        RemoveDirectoryW(g_records.c_str());
    });
    CreateDirectoryW(g_records.c_str(), nullptr);
    CreateDirectoryW(g_system32.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((test::BinFolder() + L"\\recorder.exe").c_str(), (g_system32 + L"\\cmd.exe").c_str(), FALSE))
        << "no recorder as cmd.exe";
    wchar_t records[MAX_PATH] = {};
    GetFullPathNameW(g_records.c_str(), MAX_PATH, records, nullptr);
    SetEnvironmentVariableW(L"QELVANE_RECORD_DIR", records);
    const auto system = test::Patch(__imp_GetSystemDirectoryW, RecorderFolder);
    g_system = __imp_CreateProcessW;
    const auto createProcess = test::Patch(__imp_CreateProcessW, Watch);
    g_passOn = true;
    WindowRunnerHost host;
    EXPECT_TRUE(host.RunHidden("cmd /c NET start Spooler", Hold::UntilNextLaunchEnds).started) << "held";
    g_passOn = false;  // a launch the system refuses
    EXPECT_EQ(host.RunHidden("cmd /c sc config Spooler start= auto", Hold::None).reason,
              winui::Narrow(winui::SystemErrorText(ERROR_FILE_NOT_FOUND))) << "the system's reason";
    EXPECT_EQ(Record()[L"commandline"], L"cmd /c NET start Spooler") << "let go, its gate not started";
}

}  // namespace
}  // namespace qelvane
