// Start-up hardening against planted DLLs. A marker DLL lies beside this test under system DLLs' names, and
// the tests run with those names' native copies preferred (WINEDLLOVERRIDES): loaded by name after
// the hardening, each must come from the system folder, and the marker must never run. The
// search is a process's own and a loaded DLL stays, so each case runs in a process of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include "test_support.h"
#include "winui/hardening.h"
#include "winui/launch.h"
#include "winui/text.h"

namespace {

std::string Lower(std::wstring s) {
    CharLowerW(s.data());
    return winui::Narrow(s);
}

// Loads `name` by name, as the system's own components do after start-up.
void ExpectFromTheSystemFolder(const std::wstring& name) {
    ASSERT_NE(GetFileAttributesW((qelvane::test::BinFolder() + L"\\" + name).c_str()), INVALID_FILE_ATTRIBUTES)
        << "no marker planted as " << winui::Narrow(name);
    wchar_t path[MAX_PATH] = {};
    const HMODULE module = LoadLibraryW(name.c_str());
    EXPECT_EQ(Lower(std::wstring(path, module ? GetModuleFileNameW(module, path, MAX_PATH) : 0)),
              Lower(winui::SystemFolder() + L"\\" + name)) << "the file loaded as " << winui::Narrow(name);
    EXPECT_EQ(GetEnvironmentVariableW(L"QELVANE_MARKER_RAN", path, MAX_PATH), 0u) << "the marker ran";
}

// uxtheme (which the common controls load) and msimg32 are loaded beforehand, wtsapi32 is not.
TEST(PlantedDll, NeverRunsOnceTheSearchIsRestricted) {
    winui::RestrictDllSearch();
    winui::LoadCommonControls();
    for (const wchar_t* name : {L"uxtheme.dll", L"msimg32.dll", L"wtsapi32.dll"}) ExpectFromTheSystemFolder(name);
}

// As on Windows XP, which cannot restrict the search: the loads beforehand alone.
TEST(PlantedDll, NeverRunsOnceLoadedFromTheSystemFolder) {
    winui::LoadSystemDllsByPath();
    ExpectFromTheSystemFolder(L"msimg32.dll");
}

}  // namespace
