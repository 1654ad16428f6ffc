// A test-only UI automation client: finds the program's windows by class name from
// another process and presses their controls, the way an accessibility tool would.
// One command per invocation; output is UTF-8; exit code 0 on success.
//
//   uidriver windows                      the visible top-level windows of class Qelvane*
//   uidriver click CLASS CAPTION [CLASS CAPTION …]  presses the buttons of those captions, all
//                                         posted at once, so that later ones queue
//   uidriver close CLASS                  presses the close box
//   uidriver endsession CLASS             tells the window that the Windows session ends
//   uidriver wait CLASS shown|gone|TEXT MS  until the window is shown, gone, or has that caption
//   uidriver start PROGRAM                starts it holding inheritable handles, as a script or an
//                                         installer may, and ends with it (or ends it)
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "console_out.h"

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM found) {
    if (ClassOf(hwnd).rfind(L"Qelvane", 0) == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> ProgramWindows() {
    std::vector<HWND> found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The visible window of that class, else a hidden one.
HWND Find(const std::wstring& className) {
    HWND hidden = nullptr;
    for (HWND hwnd : ProgramWindows()) {
        if (ClassOf(hwnd) != className) continue;
        if (IsWindowVisible(hwnd)) return hwnd;
        hidden = hwnd;
    }
    return hidden;
}

// Starts `program` with handles inheritable and handed on: an event, and a pipe's ends as its
// input and output, so that a read of its input waits. Their values go in QELVANE_INHERITABLE;
// it and all it starts are in a job that ends when this process does.
int StartInheriting(const wchar_t* program) {
    // Values above any that a small child holds of its own, which would read as inherited.
    for (int i = 0; i < 256; ++i) CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE event = CreateEventW(&inheritable, TRUE, FALSE, nullptr), input = nullptr, output = nullptr;
    if (!event || !CreatePipe(&input, &output, &inheritable, 0)) return 3;
    std::wstring values;
    for (HANDLE handle : {event, input, output}) values += std::to_wstring(reinterpret_cast<ULONG_PTR>(handle)) + L" ";
    SetEnvironmentVariableW(L"QELVANE_INHERITABLE", values.c_str());

    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limit{};
    limit.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limit, sizeof limit)) return 3;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = startup.hStdError = output;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program, nullptr, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &process) ||
        !AssignProcessToJobObject(job, process.hProcess) || ResumeThread(process.hThread) == static_cast<DWORD>(-1))
        return 3;
    return WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 ? 0 : 3;
}

int Fail(const wchar_t* message) {
    WriteOut(std::wstring(L"error: ") + message + L"\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"windows") {
        for (HWND hwnd : ProgramWindows())
            if (IsWindowVisible(hwnd)) WriteOut(ClassOf(hwnd) + L" " + TextOf(hwnd) + L"\n");
        return 0;
    }
    if (argc < 3) return Fail(L"usage");
    if (command == L"start") return StartInheriting(argv[2]);
    if (command == L"wait" && argc >= 5) {
        const std::wstring state = argv[3];
        const DWORD start = GetTickCount(), limit = static_cast<DWORD>(_wtoi(argv[4]));
        for (;;) {
            HWND hwnd = Find(argv[2]);
            if (state == L"gone" ? !hwnd
                : state == L"shown" ? hwnd && IsWindowVisible(hwnd)
                                    : hwnd && TextOf(hwnd) == state)
                return 0;
            if (GetTickCount() - start > limit) return Fail(L"timeout");
            Sleep(50);
        }
    }
    if (command == L"click") {
        for (int i = 2; i + 1 < argc; i += 2) {
            HWND window = Find(argv[i]);
            HWND control = window ? FindWindowExW(window, nullptr, L"Button", argv[i + 1]) : nullptr;
            if (!control) return Fail(L"no such control");
            PostMessageW(control, BM_CLICK, 0, 0);
        }
        return 0;
    }
    HWND window = Find(argv[2]);
    if (!window) return Fail(L"no such window");
    if (command == L"close") return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    if (command == L"endsession") return PostMessageW(window, WM_ENDSESSION, TRUE, 0) ? 0 : 1;
    return Fail(L"unknown command");
}
