// Planted beside a test program under a system DLL's name: says in the process's environment
// that it ran (QELVANE_MARKER_RAN names the file it was loaded from).
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(self, path, MAX_PATH);
        SetEnvironmentVariableW(L"QELVANE_MARKER_RAN", path);
    }
    return TRUE;
}
