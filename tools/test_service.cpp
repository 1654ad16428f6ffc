// Test-only stand-in for the services the program reconfigures: one process per
// service, registered as  "C:\qelvane-test\test_service.exe" "<service name>".
// It starts for real (START_PENDING, then RUNNING), stops on STOP or SHUTDOWN and
// then exits, so the end-to-end tests see the states a real service goes through.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring g_name;
SERVICE_STATUS_HANDLE g_handle = nullptr;
SERVICE_STATUS g_status{};
HANDLE g_stop = nullptr;
CRITICAL_SECTION g_lock;

void Report(DWORD state, DWORD waitHint) {
    EnterCriticalSection(&g_lock);
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_status.dwCurrentState = state;
    // Controls only while running: a stop during START_PENDING must be refused, as
    // the control manager expects from a service that has not finished starting.
    g_status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    g_status.dwWin32ExitCode = NO_ERROR;
    g_status.dwServiceSpecificExitCode = 0;
    g_status.dwWaitHint = waitHint;
    if (state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING) ++g_status.dwCheckPoint;
    else g_status.dwCheckPoint = 0;
    SetServiceStatus(g_handle, &g_status);
    LeaveCriticalSection(&g_lock);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        Report(SERVICE_STOP_PENDING, 3000);
        SetEvent(g_stop);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        EnterCriticalSection(&g_lock);
        SetServiceStatus(g_handle, &g_status);
        LeaveCriticalSection(&g_lock);
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
    g_handle = RegisterServiceCtrlHandlerExW(g_name.c_str(), Handler, nullptr);
    if (!g_handle) return;
    Report(SERVICE_START_PENDING, 3000);
    Report(SERVICE_RUNNING, 0);
    WaitForSingleObject(g_stop, INFINITE);
    Report(SERVICE_STOPPED, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: test_service NAME (started by the service control manager)\n");
        return 2;
    }
    g_name = argv[1];
    InitializeCriticalSection(&g_lock);
    g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SERVICE_TABLE_ENTRYW table[] = {{&g_name[0], ServiceMain}, {nullptr, nullptr}};
    if (!StartServiceCtrlDispatcherW(table)) {
        std::fprintf(stderr, "test_service: not started as a service (error %lu)\n",
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    return 0;
}
