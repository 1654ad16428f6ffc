#include "winui/hardening.h"

#include <windows.h>

#include <string>

#include "winui/kernel32.h"
#include "winui/launch.h"

namespace winui {
namespace {

// Not KnownDLLs on every system, and loaded by name after start-up by the window manager, the
// visual styles, the input methods and text shaping. Missing ones (dwmapi, cryptbase and
// textshaping on XP) are skipped.
constexpr const wchar_t* kLateLoadedDlls[] = {L"uxtheme.dll", L"dwmapi.dll", L"msimg32.dll",   L"version.dll",
                                              L"usp10.dll",   L"imm32.dll",  L"cryptbase.dll", L"textshaping.dll"};

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32, Windows 8 and KB2533623

}  // namespace

void HardenProcess() {
    RestrictDllSearch();
    KeepStandardHandlesFromChildren();
}

void RestrictDllSearch() {
    // Both looked up at run time: XP before Service Pack 1 lacks the first, XP and an
    // unpatched Vista or 7 the second.
    if (const auto setDllDirectory = Kernel32Function<BOOL(WINAPI*)(LPCWSTR)>("SetDllDirectoryW"))
        setDllDirectory(L"");
    if (const auto setDefault = Kernel32Function<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories"))
        setDefault(kSearchSystem32);
    // On every system: Wine's own DLLs load these by name ignoring the default directories, and a
    // Windows component may ask for its own search; a module already loaded is taken whatever it asks.
    LoadSystemDllsByPath();
}

void LoadSystemDllsByPath() {
    const std::wstring system = SystemFolder();
    if (system.empty()) return;  // nothing to load from; the default directories still apply
    for (const wchar_t* name : kLateLoadedDlls) {
        // Their own dependencies are then searched for from the system folder too. Never
        // freed: they must stay loaded for the later loads by name to find them.
        LoadLibraryExW((system + L"\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

void LoadCommonControls() {
    // By name: the manifest's activation context takes it to version 6.
    if (const HMODULE controls = LoadLibraryW(L"comctl32.dll")) {
        if (const auto init = reinterpret_cast<void(WINAPI*)()>(
                reinterpret_cast<void*>(GetProcAddress(controls, "InitCommonControls"))))
            init();
    }
}

void KeepStandardHandlesFromChildren() {
    // A parent that made them inheritable (a script, an installer, an elevated console) would
    // otherwise have them handed on to every command. A handle that refuses is left as it is.
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    }
}

}  // namespace winui
