// Stands in for cmd.exe, net.exe, sc.exe or a launched child in the tests: reports
// how it was started in a file of its own, in the folder QELVANE_RECORD_DIR names,
// after QELVANE_RECORD_DELAY_MS milliseconds if that is set. One file per start, so
// that the many copies a run starts at once need no coordination. Its standard input
// too: eof, data, none (no handle, an error), or waits (a read still blocked after 3 s).
// And each handle value in QELVANE_INHERITABLE (blank-separated, decimal), with whether it is
// open in the recorder: values its starter's starter made inheritable.
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "console_out.h"

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

const wchar_t* g_input = L"none";  // what the read met; looked at once its thread has ended

DWORD WINAPI ReadInput(void*) {
    char byte = 0;
    DWORD read = 0;
    if (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr)) g_input = read ? L"data" : L"eof";
    return 0;
}

}  // namespace

int wmain() {
    const std::wstring folder = Variable(L"QELVANE_RECORD_DIR");
    if (folder.empty()) return 0;
    if (const std::wstring delay = Variable(L"QELVANE_RECORD_DELAY_MS"); !delay.empty())
        Sleep(static_cast<DWORD>(_wtoi(delay.c_str())));

    // In a thread, so that a read that never returns still leaves the recorder to report.
    const HANDLE reader = CreateThread(nullptr, 0, ReadInput, nullptr, 0, nullptr);
    const wchar_t* input = !reader ? L"none" : WaitForSingleObject(reader, 3000) == WAIT_OBJECT_0 ? g_input : L"waits";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    wchar_t image[MAX_PATH] = {}, directory[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, image, MAX_PATH);
    GetCurrentDirectoryW(MAX_PATH, directory);
    std::wstring handles;
    std::wistringstream values(Variable(L"QELVANE_INHERITABLE"));
    for (ULONG_PTR value = 0; values >> value;) {
        DWORD flags = 0;
        const bool open = GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags);
        handles += std::to_wstring(value) + (open ? L":open " : L":closed ");
    }
    const std::string record = Encoded(L"image=" + std::wstring(image) + L"\ndirectory=" + directory +
                                           L"\nshow=" + std::to_wstring(startup.wShowWindow) + L"\nflags=" +
                                           std::to_wstring(startup.dwFlags) + L"\ncommandline=" +
                                           GetCommandLineW() + L"\nstdin=" + input +
                                           L"\nhandles=" + handles + L"\n",
                                       CP_UTF8);

    // Written under a temporary name and then renamed, so that a reader never sees half a record.
    const std::wstring stem = folder + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()) + L"-";
    for (int n = 0; n < 1000; ++n) {
        const std::wstring name = stem + std::to_wstring(n);
        HANDLE file = CreateFileW((name + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD written = 0;
        WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
        CloseHandle(file);
        return MoveFileW((name + L".tmp").c_str(), (name + L".rec").c_str()) ? 0 : 1;
    }
    return 1;
}
