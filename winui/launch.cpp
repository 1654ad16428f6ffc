#include "winui/launch.h"

namespace winui {

bool LaunchProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& directory, WORD showWindow, std::wstring* reason) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line: hand it a private copy.
    std::wstring writable = commandLine;
    if (!CreateProcessW(application.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        if (reason) *reason = SystemErrorText(GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
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
    if (text.empty()) text = L"error " + std::to_wstring(error);
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
