// Launching: hidden, without waiting, through the system's cmd.exe in the system
// folder; and a launch that cannot start reports the system's reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "runner/window_host.h"
#include "test_support.h"
#include "winui/form.h"
#include "winui/text.h"

namespace qelvane {
namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    DeleteFileW(path.c_str());
    return path;
}

// Waits for the probe's report and returns it; empty after the time limit.
std::wstring WaitForReport(const std::wstring& path, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < limitMs) {
        FILE* in = _wfopen(path.c_str(), L"r, ccs=UTF-8");
        if (in) {
            std::wstring text;
            wchar_t buffer[512];
            while (fgetws(buffer, 512, in)) text += buffer;
            fclose(in);
            if (text.find(L"commandline=") != std::wstring::npos && text.back() == L'\n') return text;
        }
        Sleep(50);
    }
    return {};
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

TEST(Launch, StartsHiddenAndReturnsWithoutWaiting) {
    const std::wstring report = TempFile(L"qelvane-probe-hidden.txt");
    const std::wstring probe = test::BinFolder() + L"\\probe_child.exe";
    const std::wstring commandLine = L"probe_child \"" + report + L"\" 1500";
    std::wstring reason;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(winui::LaunchProcess(probe, commandLine, winui::SystemFolder(), SW_HIDE, &reason)) << reason.c_str();
    EXPECT_LT(GetTickCount() - start, 1000u) << "the launch must not wait for the process";
    EXPECT_EQ(GetFileAttributesW(report.c_str()), INVALID_FILE_ATTRIBUTES) << "the probe is still sleeping";

    const std::wstring text = WaitForReport(report, 20000);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find(L"show=0\n"), std::wstring::npos) << winui::Narrow(text);
    EXPECT_NE(text.find(L"flags=1\n"), std::wstring::npos) << "STARTF_USESHOWWINDOW";
    EXPECT_NE(Lower(text).find(L"directory=" + Lower(winui::SystemFolder()) + L"\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"commandline=" + commandLine + L"\n"), std::wstring::npos) << "byte-identical";
}

TEST(Launch, RunHiddenGoesThroughTheSystemCmdInTheSystemFolder) {
    const std::wstring report = TempFile(L"qelvane-probe-cmd.txt");
    const std::string commandLine =
        "cmd /c \"\"" + winui::Narrow(test::BinFolder()) + "\\probe_child.exe\" \"" + winui::Narrow(report) + "\" 1500\"";
    WindowRunnerHost host;
    const DWORD start = GetTickCount();
    const LaunchResult result = host.RunHidden(commandLine);
    ASSERT_TRUE(result.started) << result.reason;
    EXPECT_LT(GetTickCount() - start, 1000u);
    const std::wstring text = WaitForReport(report, 20000);
    ASSERT_FALSE(text.empty());
    // cmd.exe was started in the system folder, and its child inherits that folder.
    EXPECT_NE(Lower(text).find(L"directory=" + Lower(winui::SystemFolder()) + L"\n"), std::wstring::npos)
        << winui::Narrow(text);
}

TEST(Launch, FailureGivesTheSystemsReason) {
    std::wstring reason;
    EXPECT_FALSE(winui::LaunchProcess(L"C:\\no\\such\\folder\\cmd.exe", L"cmd /c NET stop Alerter",
                                      winui::SystemFolder(), SW_HIDE, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), L'\n');
    EXPECT_EQ(reason, winui::SystemErrorText(ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace qelvane
