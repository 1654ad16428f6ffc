// Planted beside a test program under a system DLL's name: says in the process's environment
// that it ran.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"QELVANE_MARKER_RAN", L"yes");
    return TRUE;
}
