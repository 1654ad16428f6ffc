// Helpers for tests that create the program's windows in the test process.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace qelvane::test {

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(hwnd, name, 64)));
}

inline std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    return text.substr(0, static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
}

// Where a box's selection and caret stand, and its first visible line.
inline std::array<LRESULT, 3> PlaceIn(HWND box) {
    DWORD from = 0, to = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return {from, to, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0)};
}

inline std::wstring BinFolder() {  // where the test executable and the helper programs are
    wchar_t path[MAX_PATH] = {};
    const std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return exe.substr(0, exe.find_last_of(L"\\/"));
}

}  // namespace qelvane::test
