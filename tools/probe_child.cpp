// Started by the launch tests: writes how it was started into the file named by
// its first argument, optionally after a delay given in milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    if (argc >= 3) Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    FILE* out = _wfopen(argv[1], L"w, ccs=UTF-8");
    if (!out) return 3;
    std::fwprintf(out, L"flags=%lu\nshow=%u\ndirectory=%ls\ncommandline=%ls\n",
                  static_cast<unsigned long>(startup.dwFlags), static_cast<unsigned>(startup.wShowWindow),
                  directory, GetCommandLineW());
    std::fclose(out);
    return 0;
}
