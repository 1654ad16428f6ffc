// Test-only sc.exe: Wine's own sc cannot "config", so the end-to-end tests put
// this one in system32 (with WINEDLLOVERRIDES sc.exe=n) to let the program's
// "sc config <service> start= <mode>" lines act on the control manager.
// Output and exit codes follow Windows' sc: "[SC] <Function> FAILED <code>:", a
// blank line, the system message, a blank line; the exit code is the error code.
// Each "config" also leaves one file in C:\qelvane-test\sc-journal (when that
// folder exists), "<service>\t<mode>\t<function>\t<code>", so that the tests can
// tell a command that never reached sc from one the control manager refused.
#include <windows.h>

#include <cwchar>
#include <string>

#include "console_out.h"

namespace {

constexpr DWORD kInvalidCommandLine = 1639;  // ERROR_INVALID_COMMAND_LINE

// In the console's code page, as Windows' sc writes.
void Write(const std::wstring& text) {
    const UINT codePage = GetConsoleOutputCP();
    WriteOut(text, codePage ? codePage : GetOEMCP());
}

// Windows' wording where Wine's message table words it differently; the tests
// compare sc's output with what Windows prints.
const wchar_t* WindowsMessage(DWORD code) {
    switch (code) {
    case ERROR_ACCESS_DENIED: return L"Access is denied.";
    case ERROR_INVALID_PARAMETER: return L"The parameter is incorrect.";
    case ERROR_SERVICE_DOES_NOT_EXIST: return L"The specified service does not exist as an installed service.";
    case ERROR_SERVICE_MARKED_FOR_DELETE: return L"The specified service has been marked for deletion.";
    case ERROR_INVALID_NAME: return L"The filename, directory name, or volume label syntax is incorrect.";
    default: return nullptr;
    }
}

std::wstring SystemMessage(DWORD code) {
    if (const wchar_t* known = WindowsMessage(code)) return std::wstring(known) + L"\r\n";
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text + L"\r\n";
}

const wchar_t kJournal[] = L"C:\\qelvane-test\\sc-journal\\";

// One new file per call: many sc run at once, and a file of their own needs no
// coordination between them.
void Journal(const wchar_t* service, const wchar_t* mode, const wchar_t* function, DWORD code) {
    const std::string bytes = Encoded(std::wstring(service) + L"\t" + mode + L"\t" + function + L"\t" +
                                          std::to_wstring(code) + L"\n",
                                      CP_UTF8);
    const std::wstring stem = kJournal + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()) + L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path = stem + std::to_wstring(attempt) + L".txt";
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return;  // no journal folder: not a test prefix
        }
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return;
    }
}

int Failed(const wchar_t* function, DWORD code) {
    Write(L"[SC] " + std::wstring(function) + L" FAILED " + std::to_wstring(code) + L":\r\n\r\n" +
          SystemMessage(code) + L"\r\n");
    return static_cast<int>(code);
}

int Usage() {
    Write(L"DESCRIPTION:\r\n"
          L"        Modifies a service's start type (test build: only \"config ... start=\").\r\n"
          L"USAGE:\r\n"
          L"        sc <server> config [service name] start= <boot|system|auto|demand|disabled>\r\n"
          L"\r\n"
          L"NOTE: The option name includes the equal sign.\r\n"
          L"      A space is required between the equal sign and the value.\r\n");
    return static_cast<int>(kInvalidCommandLine);
}

bool StartTypeOf(const wchar_t* word, DWORD* type) {
    static const struct {
        const wchar_t* word;
        DWORD type;
    } kTypes[] = {{L"boot", SERVICE_BOOT_START},
                  {L"system", SERVICE_SYSTEM_START},
                  {L"auto", SERVICE_AUTO_START},
                  {L"demand", SERVICE_DEMAND_START},
                  {L"disabled", SERVICE_DISABLED}};
    for (const auto& entry : kTypes) {
        if (_wcsicmp(word, entry.word) == 0) {
            *type = entry.type;
            return true;
        }
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int next = 1;
    const wchar_t* server = nullptr;
    if (next < argc && std::wcsncmp(argv[next], L"\\\\", 2) == 0) server = argv[next++];
    if (next >= argc || _wcsicmp(argv[next], L"config") != 0) return Usage();
    ++next;
    if (next >= argc) return Usage();
    const wchar_t* service = argv[next++];

    // Options are "name=" and the value as two arguments; "start=auto" is not one.
    DWORD startType = SERVICE_NO_CHANGE;
    const wchar_t* mode = nullptr;
    for (; next < argc; next += 2) {
        if (_wcsicmp(argv[next], L"start=") != 0 || next + 1 >= argc) return Usage();
        if (!StartTypeOf(argv[next + 1], &startType)) return Usage();
        mode = argv[next + 1];
    }
    if (startType == SERVICE_NO_CHANGE) return Usage();

    const auto fail = [&](const wchar_t* function, DWORD code) {
        Journal(service, mode, function, code);
        return Failed(function, code);
    };
    SC_HANDLE manager = OpenSCManagerW(server, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return fail(L"OpenSCManager", GetLastError());
    SC_HANDLE handle = OpenServiceW(manager, service, SERVICE_CHANGE_CONFIG);
    if (!handle) {
        const DWORD error = GetLastError();
        CloseServiceHandle(manager);
        return fail(L"OpenService", error);
    }
    const BOOL changed = ChangeServiceConfigW(handle, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    const DWORD error = GetLastError();
    CloseServiceHandle(handle);
    CloseServiceHandle(manager);
    if (!changed) return fail(L"ChangeServiceConfig", error);
    Journal(service, mode, L"ChangeServiceConfig", 0);
    Write(L"[SC] ChangeServiceConfig SUCCESS\r\n");
    return 0;
}
