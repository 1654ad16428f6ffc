// Test-only helper that sets up and inspects the services of a Wine prefix for
// the end-to-end tests. Files are UTF-8, one entry a line; service names contain
// blanks and carry no quotes.
//
//   svctool install EXE NAMES_FILE   create each service (own process, demand start,
//                                    "EXE" "name"), or repoint and stop an existing one;
//                                    exit 3: a service refused to stop, restart the prefix
//   svctool reset STATES_FILE        lines "name<TAB>auto|demand|disabled": stop, set start type
//   svctool query NAMES_FILE         "name<TAB>start<TAB>state" lines
//   svctool config NAMES_FILE        "name<TAB>type<TAB>binary path" lines
//   svctool idle TIMEOUT_MS IMAGE... wait until no process of those image names runs
//   svctool end IMAGE...             end every process of those image names
//   svctool run COMMAND_FILE EXIT_FILE
//                                    run the command line in the file as written (as
//                                    the program passes it to CreateProcessW), wait,
//                                    write its exit code into EXIT_FILE: a Unix exit
//                                    status keeps only 8 bits, sc's codes are larger
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "console_out.h"

namespace {

// install: done, but a service that would not stop runs its old program until the
// prefix restarts.
constexpr int kRestartNeeded = 3;

int Fail(const std::wstring& what, DWORD error) {
    WriteOut(L"error: " + what + L" (" + std::to_wstring(error) + L")\n");
    return 1;
}

bool ReadLines(const wchar_t* path, std::vector<std::wstring>* lines) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) lines->push_back(line);
        start = end + 1;
    }
    return true;
}

class Handle {
public:
    explicit Handle(SC_HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_) CloseServiceHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    SC_HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    SC_HANDLE handle_;
};

DWORD StateOf(SC_HANDLE service) {
    SERVICE_STATUS status{};
    return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

// Asks a service to stop unless it already is stopped; a service still starting
// is waited for first, since it cannot take a stop yet.
bool RequestStop(SC_HANDLE service, DWORD deadline) {
    for (;;) {
        const DWORD state = StateOf(service);
        if (state == SERVICE_STOPPED || state == SERVICE_STOP_PENDING) return true;
        if (state != SERVICE_START_PENDING) {
            SERVICE_STATUS status{};
            if (ControlService(service, SERVICE_CONTROL_STOP, &status)) return true;
            const DWORD error = GetLastError();
            if (error == ERROR_SERVICE_NOT_ACTIVE) return true;
            if (error != ERROR_SERVICE_CANNOT_ACCEPT_CTRL) return false;
        }
        if (GetTickCount() > deadline) return false;
        Sleep(50);
    }
}

bool WaitStopped(SC_HANDLE service, DWORD deadline) {
    while (StateOf(service) != SERVICE_STOPPED) {
        if (GetTickCount() > deadline) return false;
        Sleep(50);
    }
    return true;
}

std::wstring ImagePath(const wchar_t* exe, const std::wstring& name) {
    return L"\"" + std::wstring(exe) + L"\" \"" + name + L"\"";
}

int Install(const wchar_t* exe, const wchar_t* namesFile) {
    std::vector<std::wstring> names;
    if (!ReadLines(namesFile, &names)) return Fail(L"cannot read names", GetLastError());
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return Fail(L"OpenSCManager", GetLastError());
    int result = 0;
    for (const std::wstring& name : names) {
        const std::wstring path = ImagePath(exe, name);
        Handle created(CreateServiceW(manager.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                      SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                      path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
        if (created) continue;
        if (GetLastError() != ERROR_SERVICE_EXISTS) {
            result = Fail(L"CreateService " + name, GetLastError());
            continue;
        }
        // Wine registers some of these names itself (svchost-hosted, with
        // dependencies): repoint them so that every name runs our program alone.
        Handle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
        if (!service || !ChangeServiceConfigW(service.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                              SERVICE_ERROR_NORMAL, path.c_str(), L"", nullptr, L"\0", nullptr,
                                              nullptr, nullptr)) {
            result = Fail(L"ChangeServiceConfig " + name, GetLastError());
            continue;
        }
        // Wine's Eventlog refuses to stop (1052); it stays until the prefix restarts.
        const DWORD deadline = GetTickCount() + 10000;
        if (!RequestStop(service.get(), deadline)) {
            if (GetLastError() != ERROR_INVALID_SERVICE_CONTROL) {
                result = Fail(L"cannot stop " + name, GetLastError());
                continue;
            }
            WriteOut(L"restart needed: " + name + L" still runs Wine's program\n");
            if (result == 0) result = kRestartNeeded;
        } else if (!WaitStopped(service.get(), deadline)) {
            result = Fail(L"still not stopped: " + name, 0);
        }
    }
    return result;
}

int Reset(const wchar_t* statesFile) {
    std::vector<std::wstring> lines;
    if (!ReadLines(statesFile, &lines)) return Fail(L"cannot read states", GetLastError());
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return Fail(L"OpenSCManager", GetLastError());
    struct Entry {
        std::wstring name;
        DWORD startType;
        SC_HANDLE service;
    };
    std::vector<Entry> entries;
    int result = 0;
    for (const std::wstring& line : lines) {
        const std::size_t tab = line.find(L'\t');
        const std::wstring name = line.substr(0, tab);
        const std::wstring mode = tab == std::wstring::npos ? L"" : line.substr(tab + 1);
        const DWORD type = mode == L"auto"       ? SERVICE_AUTO_START
                           : mode == L"demand"   ? SERVICE_DEMAND_START
                           : mode == L"disabled" ? SERVICE_DISABLED
                                                 : SERVICE_NO_CHANGE;
        if (type == SERVICE_NO_CHANGE) {
            result = Fail(L"bad line: " + line, ERROR_INVALID_PARAMETER);
            continue;
        }
        SC_HANDLE service = OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS);
        if (!service) {
            result = Fail(L"OpenService " + name, GetLastError());
            continue;
        }
        entries.push_back({name, type, service});
    }
    // All stops first, then the waits: the services wind down side by side.
    const DWORD deadline = GetTickCount() + 10000;
    for (const Entry& entry : entries)
        if (!RequestStop(entry.service, deadline)) result = Fail(L"cannot stop " + entry.name, GetLastError());
    for (const Entry& entry : entries) {
        if (!WaitStopped(entry.service, deadline)) result = Fail(L"still not stopped: " + entry.name, 0);
        if (!ChangeServiceConfigW(entry.service, SERVICE_NO_CHANGE, entry.startType, SERVICE_NO_CHANGE, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            result = Fail(L"ChangeServiceConfig " + entry.name, GetLastError());
        CloseServiceHandle(entry.service);
    }
    return result;
}

const wchar_t* StartWord(DWORD type) {
    switch (type) {
    case SERVICE_BOOT_START: return L"boot";
    case SERVICE_SYSTEM_START: return L"system";
    case SERVICE_AUTO_START: return L"auto";
    case SERVICE_DEMAND_START: return L"demand";
    case SERVICE_DISABLED: return L"disabled";
    default: return L"unknown";
    }
}

const wchar_t* StateWord(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return L"stopped";
    case SERVICE_START_PENDING: return L"start_pending";
    case SERVICE_STOP_PENDING: return L"stop_pending";
    case SERVICE_RUNNING: return L"running";
    case SERVICE_CONTINUE_PENDING: return L"continue_pending";
    case SERVICE_PAUSE_PENDING: return L"pause_pending";
    case SERVICE_PAUSED: return L"paused";
    default: return L"unknown";
    }
}

bool ConfigOf(SC_HANDLE service, std::vector<BYTE>* buffer) {
    DWORD needed = 0;
    QueryServiceConfigW(service, nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer->resize(needed);
    return QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer->data()), needed, &needed);
}

// query: start type and state; config: type and binary path.
int Inspect(const wchar_t* namesFile, bool withPath) {
    std::vector<std::wstring> names;
    if (!ReadLines(namesFile, &names)) return Fail(L"cannot read names", GetLastError());
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return Fail(L"OpenSCManager", GetLastError());
    std::wstring out;
    for (const std::wstring& name : names) {
        Handle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS));
        std::vector<BYTE> buffer;
        if (!service || !ConfigOf(service.get(), &buffer)) {
            out += name + L"\tmissing\tmissing\n";
            continue;
        }
        const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer.data());
        if (withPath) {
            wchar_t type[16];
            swprintf(type, 16, L"0x%lx", static_cast<unsigned long>(config->dwServiceType));
            out += name + L"\t" + type + L"\t" + config->lpBinaryPathName + L"\n";
        } else {
            out += name + L"\t" + StartWord(config->dwStartType) + L"\t" + StateWord(StateOf(service.get())) + L"\n";
        }
    }
    WriteOut(out);
    return 0;
}

struct Running {
    std::wstring image;
    DWORD id;
};

// The running processes with one of those image names. Wine gives the bare file
// name; Windows too, but be safe with a path.
bool ProcessesNamed(int count, wchar_t** images, std::vector<Running>* found) {
    found->clear();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        const wchar_t* slash = std::wcsrchr(entry.szExeFile, L'\\');
        const wchar_t* base = slash ? slash + 1 : entry.szExeFile;
        for (int i = 0; i < count; ++i)
            if (_wcsicmp(base, images[i]) == 0) found->push_back({base, entry.th32ProcessID});
    }
    CloseHandle(snapshot);
    return true;
}

std::wstring Listed(const std::vector<Running>& processes) {
    std::wstring text;
    for (const Running& process : processes) text += process.image + L" " + std::to_wstring(process.id) + L"\n";
    return text;
}

int Idle(DWORD timeout, int count, wchar_t** images) {
    const DWORD start = GetTickCount();
    std::vector<Running> running;
    for (;;) {
        if (!ProcessesNamed(count, images, &running)) return Fail(L"CreateToolhelp32Snapshot", GetLastError());
        if (running.empty()) return 0;
        if (GetTickCount() - start > timeout) {
            WriteOut(L"still running:\n" + Listed(running));
            return 1;
        }
        Sleep(100);
    }
}

// Ends every process with one of those image names (a launch Wine left stuck keeps
// its caller alive for good).
int End(int count, wchar_t** images) {
    std::vector<Running> running, ended;
    if (!ProcessesNamed(count, images, &running)) return Fail(L"CreateToolhelp32Snapshot", GetLastError());
    for (const Running& process : running) {
        HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, process.id);
        if (!handle) continue;
        if (TerminateProcess(handle, 1)) ended.push_back(process);
        CloseHandle(handle);
    }
    WriteOut(Listed(ended));
    return 0;
}

int Run(const wchar_t* commandFile, const wchar_t* exitFile) {
    std::vector<std::wstring> lines;
    if (!ReadLines(commandFile, &lines) || lines.size() != 1) return Fail(L"cannot read one command line", 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &lines[0][0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return Fail(L"CreateProcess", GetLastError());
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    HANDLE file = CreateFileW(exitFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(L"cannot write the exit code", GetLastError());
    const std::string text = std::to_string(code) + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"install" && argc == 4) return Install(argv[2], argv[3]);
    if (command == L"reset" && argc == 3) return Reset(argv[2]);
    if (command == L"query" && argc == 3) return Inspect(argv[2], false);
    if (command == L"config" && argc == 3) return Inspect(argv[2], true);
    if (command == L"idle" && argc >= 4)
        return Idle(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)), argc - 3, argv + 3);
    if (command == L"end" && argc >= 3) return End(argc - 2, argv + 2);
    if (command == L"run" && argc == 4) return Run(argv[2], argv[3]);
    WriteOut(L"usage: svctool install EXE NAMES | reset STATES | query NAMES | config NAMES | idle MS IMAGE... | "
          L"end IMAGE... | run COMMAND_FILE EXIT_FILE\n");
    return 2;
}
