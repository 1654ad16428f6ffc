// Stands in for sc.exe in the tests, where Wine's own cannot configure a service:
// `sc config NAME start= disabled|demand|auto` sets the start type through the service
// manager, after QELVANE_SC_DELAY_MS milliseconds if that is set, and exits as sc does:
// 0, or the system's error code (1060 for a service that does not exist). Anything else
// exits 1.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {

struct Mode {
    const wchar_t* word;
    DWORD startType;
};
const Mode kModes[] = {
    {L"disabled", SERVICE_DISABLED}, {L"demand", SERVICE_DEMAND_START}, {L"auto", SERVICE_AUTO_START}};

DWORD Configure(const wchar_t* name, DWORD startType) {
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return GetLastError();
    const SC_HANDLE service = OpenServiceW(manager, name, SERVICE_CHANGE_CONFIG);
    DWORD error = service ? ERROR_SUCCESS : GetLastError();
    if (service && !ChangeServiceConfigW(service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr))
        error = GetLastError();
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return error;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 || std::wcscmp(argv[1], L"config") != 0 || std::wcscmp(argv[3], L"start=") != 0) return 1;
    wchar_t delay[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"QELVANE_SC_DELAY_MS", delay, 16);
    if (length > 0 && length < 16) Sleep(static_cast<DWORD>(_wtoi(delay)));
    for (const Mode& mode : kModes)
        if (_wcsicmp(argv[4], mode.word) == 0) return static_cast<int>(Configure(argv[2], mode.startType));
    return 1;
}
