// A test-only UI automation client: finds the program's windows by class name from
// another process, reads them and presses their controls, the way an accessibility
// tool would. One command per invocation; output is UTF-8.
//
//   uidriver windows                       every top-level window of class Qelvane*
//   uidriver dump CLASS                    the window and its controls
//   uidriver text CLASS ID                 a control's text (ID 0: the caption), \r \n escaped
//   uidriver click CLASS ID [CLASS ID ...]  presses buttons, or clicks labels or pictures,
//                                          all posted at once so that later ones queue
//   uidriver ids CLASS                     process and thread id of the window, as Wine traces print them
//   uidriver close CLASS                   presses the close box
//   uidriver endsession CLASS              tells the window that the Windows session ends
//   uidriver type CLASS ID HEX             types UTF-16 code units given as hex, comma-separated
//   uidriver wait CLASS shown|hidden|gone MS
//   uidriver focus CLASS                   the id of the focused control of that window's thread
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console_out.h"

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
}

std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else if (c == L'\\') out += L"\\\\";
        else out += c;
    }
    return out;
}

struct Search {
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    const std::wstring name = ClassOf(hwnd);
    if (search->className.empty() ? name.rfind(L"Qelvane", 0) == 0 : name == search->className)
        search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevel(const std::wstring& className) {
    Search search{className, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible window of that class, else a hidden one.
HWND Find(const std::wstring& className) {
    HWND hidden = nullptr;
    for (HWND hwnd : TopLevel(className)) {
        if (IsWindowVisible(hwnd)) return hwnd;
        hidden = hwnd;
    }
    return hidden;
}

std::wstring RectText(HWND hwnd, HWND relativeTo) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    if (relativeTo) MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
    wchar_t buffer[96];
    swprintf(buffer, 96, L"%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return buffer;
}

std::wstring Describe(HWND hwnd, HWND parent) {
    wchar_t head[160];
    swprintf(head, 160, L"id=%d class=%ls visible=%d enabled=%d style=%08lx exstyle=%08lx rect=",
             parent ? GetDlgCtrlID(hwnd) : 0, ClassOf(hwnd).c_str(), IsWindowVisible(hwnd) ? 1 : 0,
             IsWindowEnabled(hwnd) ? 1 : 0, static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)),
             static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    std::wstring line = head + RectText(hwnd, parent);
    if (!parent) {
        RECT client{};
        GetClientRect(hwnd, &client);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        wchar_t extra[96];
        swprintf(extra, 96, L" client=%ld,%ld,%ld,%ld", origin.x, origin.y, client.right, client.bottom);
        line += extra;
    }
    return line + L" text=" + Escaped(TextOf(hwnd)) + L"\n";
}

BOOL CALLBACK DumpChild(HWND hwnd, LPARAM parent) {
    WriteOut(Describe(hwnd, reinterpret_cast<HWND>(parent)));
    return TRUE;
}

void Click(HWND control) {
    if (ClassOf(control) == L"Button") {
        PostMessageW(control, BM_CLICK, 0, 0);
    } else {
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
}

int Fail(const wchar_t* message) {
    WriteOut(std::wstring(L"error: ") + message + L"\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Fail(L"usage");
    const std::wstring command = argv[1];
    if (command == L"windows") {
        for (HWND hwnd : TopLevel(L"")) WriteOut(Describe(hwnd, nullptr));
        return 0;
    }
    if (argc < 3) return Fail(L"usage");
    const std::wstring className = argv[2];
    if (command == L"wait") {
        if (argc < 5) return Fail(L"usage");
        const std::wstring state = argv[3];
        const DWORD limit = static_cast<DWORD>(_wtoi(argv[4]));
        const DWORD start = GetTickCount();
        for (;;) {
            HWND hwnd = Find(className);
            const bool met = state == L"gone"    ? hwnd == nullptr
                             : state == L"shown" ? hwnd && IsWindowVisible(hwnd)
                                                 : hwnd && !IsWindowVisible(hwnd);
            if (met) return 0;
            if (GetTickCount() - start > limit) return Fail(L"timeout");
            Sleep(20);
        }
    }
    HWND window = Find(className);
    if (!window) return Fail(L"no such window");
    if (command == L"dump") {
        WriteOut(Describe(window, nullptr));
        EnumChildWindows(window, DumpChild, reinterpret_cast<LPARAM>(window));
        return 0;
    }
    if (command == L"endsession") {
        PostMessageW(window, WM_ENDSESSION, TRUE, 0);
        return 0;
    }
    if (command == L"close") {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (command == L"ids") {
        DWORD process = 0;
        const DWORD thread = GetWindowThreadProcessId(window, &process);
        wchar_t buffer[64];
        swprintf(buffer, 64, L"%04lx %04lx\n", static_cast<unsigned long>(process), static_cast<unsigned long>(thread));
        WriteOut(buffer);
        return 0;
    }
    if (command == L"click") {
        for (int i = 2; i + 1 < argc; i += 2) {
            HWND target = Find(argv[i]);
            HWND control = target ? GetDlgItem(target, _wtoi(argv[i + 1])) : nullptr;
            if (!control) return Fail(L"no such control");
            Click(control);
        }
        return 0;
    }
    if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return Fail(L"no thread info");
        WriteOut(std::to_wstring(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0) + L" " +
              ClassOf(GetAncestor(info.hwndFocus, GA_ROOT)) + L"\n");
        return 0;
    }
    if (argc < 4) return Fail(L"usage");
    const int id = _wtoi(argv[3]);
    HWND control = id ? GetDlgItem(window, id) : window;
    if (!control) return Fail(L"no such control");
    if (command == L"text") {
        WriteOut(Escaped(TextOf(control)) + L"\n");
        return 0;
    }
    if (command == L"type" && argc >= 5) {
        std::wstring units = argv[4];
        std::size_t position = 0;
        while (position < units.size()) {
            const unsigned long unit = std::wcstoul(units.c_str() + position, nullptr, 16);
            PostMessageW(control, WM_CHAR, static_cast<WPARAM>(unit), 1);
            const std::size_t comma = units.find(L',', position);
            if (comma == std::wstring::npos) break;
            position = comma + 1;
        }
        return 0;
    }
    return Fail(L"unknown command");
}
