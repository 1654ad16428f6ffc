#include "winui/launch.h"

namespace winui {

bool LaunchProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& directory, WORD showWindow, std::wstring* reason,
                   DWORD creationFlags, Launched* launched) {
    // The null device as the child's standard handles: a console command that asks
    // (NET stop of a service with dependants asks Y/N) then reads the end of its input,
    // where it would otherwise wait on its hidden console for a key nobody can press.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE null = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inheritable, OPEN_EXISTING, 0, nullptr);
    if (null == INVALID_HANDLE_VALUE) {
        if (reason) *reason = SystemErrorText(GetLastError());
        return false;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = showWindow;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = null;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line: hand it a private copy.
    std::wstring writable = commandLine;
    // Inheriting hands over the null device alone: the program makes no other handle inheritable.
    const BOOL started = CreateProcessW(application.c_str(), writable.data(), nullptr, nullptr, TRUE, creationFlags,
                                        nullptr, directory.c_str(), &startup, &process);
    const DWORD error = GetLastError();
    CloseHandle(null);
    if (!started) {
        if (reason) *reason = SystemErrorText(error);
        return false;
    }
    UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    if (launched) {
        launched->process = std::move(processHandle);
        launched->thread = std::move(threadHandle);
    }
    return true;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) {
        // user32's formatter: std::to_wstring would bring in the C runtime's whole printf.
        wchar_t number[24];
        text.assign(number, static_cast<std::size_t>(wsprintfW(number, L"error %lu", error)));
    }
    return text;
}

namespace {

std::wstring FolderFrom(UINT(WINAPI* query)(LPWSTR, UINT)) {
    std::wstring path(MAX_PATH, L'\0');
    SetLastError(ERROR_SUCCESS);
    UINT length = query(path.data(), static_cast<UINT>(path.size()));
    if (length >= path.size()) {  // too small: the size it needs, with the terminating null
        path.resize(length);
        length = query(path.data(), static_cast<UINT>(path.size()));
    }
    if (length == 0 || length >= path.size()) {
        if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_PATH_NOT_FOUND);
        return std::wstring();
    }
    path.resize(length);
    return path;
}

}  // namespace

std::wstring SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

std::wstring WindowsFolder() { return FolderFrom(GetWindowsDirectoryW); }

}  // namespace winui
