// Starting processes: by full path, in a given folder, with a given show state, and
// never waited for.
#pragma once

#include <windows.h>

#include <string>

#include "winui/handles.h"

namespace winui {

// A started process's handles, for a caller that keeps them.
struct Launched {
    UniqueHandle process;
    UniqueHandle thread;
};

// Starts `application` with `commandLine` (passed byte-identical) in `directory`, its
// window shown as `showWindow` and its standard handles on the null device, and returns
// at once without waiting for it. On failure, `reason` (when given) receives the
// system's words for it. `creationFlags` go to CreateProcessW (CREATE_SUSPENDED); with
// `launched`, the new process's handles are handed back instead of closed.
bool LaunchProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& directory, WORD showWindow, std::wstring* reason,
                   DWORD creationFlags = 0, Launched* launched = nullptr);

// The system's error text for `error`, without its line break.
std::wstring SystemErrorText(DWORD error);

// The system folder (GetSystemDirectory) and the Windows folder (GetWindowsDirectory),
// however long. Empty when the system cannot say where it is; GetLastError then tells why.
std::wstring SystemFolder();
std::wstring WindowsFolder();

}  // namespace winui
