// Planted by the safety test as cmd.exe, net.exe and sc.exe where the program must
// never look for them: if it ever runs, it says so in planted.log beside itself.
#include <windows.h>

int wmain() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    wchar_t* slash = path;
    for (wchar_t* p = path; *p; ++p)
        if (*p == L'\\') slash = p;
    lstrcpyW(slash + 1, L"planted.log");
    HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    const wchar_t* line = GetCommandLineW();
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
    WriteFile(log, L"\r\n", 4, &written, nullptr);
    CloseHandle(log);
    return 0;
}
