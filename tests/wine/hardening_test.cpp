// Start-up hardening. A marker DLL lies beside this test under system DLLs' names, and the
// tests run with those names' native copies preferred (WINEDLLOVERRIDES): loaded by name after
// the hardening, each must come from the system folder, and the marker must never run. The
// search is a process's own and a loaded DLL stays, so each case runs in a process of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "test_support.h"
#include "winui/hardening.h"
#include "winui/launch.h"
#include "winui/text.h"

namespace {

std::string Lower(std::wstring s) { return CharLowerW(s.data()), winui::Narrow(s); }

// Loads `name` by name, as the system's own components do after start-up, and says from where.
void ExpectFromTheSystemFolder(const std::wstring& name) {
    ASSERT_NE(GetFileAttributesW((qelvane::test::BinFolder() + L"\\" + name).c_str()), INVALID_FILE_ATTRIBUTES)
        << "no marker planted as " << winui::Narrow(name);
    wchar_t path[MAX_PATH] = {};
    const HMODULE module = LoadLibraryW(name.c_str());
    EXPECT_EQ(Lower(std::wstring(path, module ? GetModuleFileNameW(module, path, MAX_PATH) : 0)),
              Lower(winui::SystemFolder() + L"\\" + name));
    EXPECT_EQ(GetEnvironmentVariableW(L"QELVANE_MARKER_RAN", path, MAX_PATH), 0u) << "the marker ran: " << Lower(path);
}

// msimg32 and uxtheme are loaded by Wine's own DLLs alone, later: not yet in a test process.
TEST(PlantedDll, NeverRunsOnceTheSearchIsRestricted) {
    ASSERT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr) << "loaded before the hardening";
    ASSERT_EQ(GetModuleHandleW(L"uxtheme.dll"), nullptr) << "loaded before the hardening";
    winui::RestrictDllSearch();
    winui::LoadCommonControls();  // which load uxtheme
    ExpectFromTheSystemFolder(L"uxtheme.dll");
    ExpectFromTheSystemFolder(L"msimg32.dll");
    ExpectFromTheSystemFolder(L"wtsapi32.dll");  // not among those loaded beforehand
}

// As on Windows XP, which cannot restrict the search: the loads beforehand alone.
TEST(PlantedDll, NeverRunsOnceLoadedFromTheSystemFolder) {
    ASSERT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr) << "loaded before the hardening";
    winui::LoadSystemDllsByPath();
    ExpectFromTheSystemFolder(L"msimg32.dll");
}

TEST(StandardHandles, AreNotHandedOn) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, &inheritable, 0));
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE), error = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, read);
    SetStdHandle(STD_ERROR_HANDLE, write);
    winui::KeepStandardHandlesFromChildren();
    SetStdHandle(STD_INPUT_HANDLE, input);
    SetStdHandle(STD_ERROR_HANDLE, error);
    for (HANDLE handle : {read, write}) {
        DWORD flags = HANDLE_FLAG_INHERIT;
        EXPECT_TRUE(GetHandleInformation(handle, &flags) && !(flags & HANDLE_FLAG_INHERIT)) << "flags " << flags;
        CloseHandle(handle);
    }
}

}  // namespace
