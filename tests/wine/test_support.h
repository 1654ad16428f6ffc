// Helpers for tests that create the program's windows in the test process.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "winui/handles.h"

namespace qelvane::test {

// Runs `undo` when the scope ends, however the test leaves it (an ASSERT returns at once).
template <typename Undo> class Finally {
public:
    explicit Finally(Undo undo) : undo_(std::move(undo)) {}
    ~Finally() { undo_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    Undo undo_;
};

// Points an import slot of this executable at `with`; the guard returned points it back.
template <typename Function> auto Patch(Function& slot, Function with) {
    const auto write = [&slot](Function value) {
        DWORD old = 0;
        if (VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &old)) slot = value;
    };
    const Function original = slot;
    write(with);
    return Finally([write, original] { write(original); });
}

// A memory DC with a bitmap selected into it, for reading what a picture draws.
struct MemoryDcTraits : winui::NullIsEmpty<HDC> {
    static void Close(HDC h) { DeleteDC(h); }
};
using UniqueMemoryDc = winui::Owner<HDC, MemoryDcTraits>;
using UniqueBitmap = winui::Owner<HBITMAP, winui::GdiTraits<HBITMAP>>;

class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A hook on this thread, removed when the scope ends.
using ThreadHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)>;

inline ThreadHook HookThread(int type, HOOKPROC proc) {
    return ThreadHook(SetWindowsHookExW(type, proc, nullptr, GetCurrentThreadId()), UnhookWindowsHookEx);
}

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(hwnd, name, 64)));
}

// The class name without the program's "Qelvane" prefix, as the tests' messages name a window.
inline std::string NameOf(HWND hwnd) {
    const std::wstring name = ClassOf(hwnd);
    return std::string(name.begin() + (name.rfind(L"Qelvane", 0) == 0 ? 7 : 0), name.end());
}

inline std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int length = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    return text.substr(0, static_cast<std::size_t>(length));
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
