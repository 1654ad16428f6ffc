// The step runner as the user meets it: a run nested in a pump, text already in the log,
// failed launches. (Every command line and pump of each profile: profiles_test.cpp.)
#include "run_model.h"

namespace qelvane::test {
namespace {

TEST(Runs, NestedRunAppendsItsWholeBlockBetweenTwoRowLines) {
    FakeHost host;
    Answers answers;
    RunOutcome nested = RunOutcome::LaunchFailed;
    host.onPump = [&] {
        if (Count(host.events, "pump") == 1) nested = ExecuteProfile(RestoreProfile(), answers, host);
    };
    EXPECT_EQ(ExecuteProfile(AutomaticProfile(), answers, host), RunOutcome::Completed);
    EXPECT_EQ(nested, RunOutcome::Completed);
    Events expected = Expected(kAutomatic, answers);
    const Events inner = Expected(kRestore, answers);
    expected.insert(std::find(expected.begin(), expected.end(), "pump") + 1, inner.begin(), inner.end());
    EXPECT_EQ(FirstDifference(host.events, expected), "");
    EXPECT_NE(host.log.find("优化已经完成！2:Application Layer Gateway Service:禁用\r\n"), std::string::npos);
}

// An earlier run's closing line and what the user typed during a pump stay, and the
// next line follows each of them directly.
TEST(Runs, TextAlreadyInTheLogStays) {
    const std::string earlier = "80:WMI Performance Adapter:手动\r\n" + std::string(59, '-') + "\r\n优化已经完成！";
    FakeHost host;
    host.log = earlier;
    host.onPump = [&] {
        if (Count(host.events, "pump") == 1) host.log += "typed by the user";
    };
    EXPECT_EQ(ExecuteProfile(RestoreProfile(), Answers{}, host), RunOutcome::Completed);
    EXPECT_EQ(host.log.rfind(earlier + "1:Alerter:禁用\r\ntyped by the user2:Application Layer Gateway Service:手动\r\n", 0), 0u);
}

// A command line that cannot be started is logged with the system's reason, if any,
// and ends the run at its row: no later launch, no closing lines.
TEST(Runs, LaunchFailureStopsTheRunAtItsRow) {
    const struct {
        const Case& profile;
        std::string commandLine, reason, logged;
    } failures[] = {{kAutomatic, "cmd /c NET stop \"ATI Smart\"", "系统找不到指定的文件。",
                     "无法启动命令行：cmd /c NET stop \"ATI Smart\"（系统找不到指定的文件。）\r\n"},
                    {kRestore, "cmd /c sc config WmiApSrv start= demand", "",
                     "无法启动命令行：cmd /c sc config WmiApSrv start= demand\r\n"}};
    for (const auto& f : failures) {
        SCOPED_TRACE(f.commandLine);
        FakeHost host;
        host.onRun = [&](const std::string& line) { return LaunchResult{line != f.commandLine, f.reason}; };
        EXPECT_EQ(ExecuteProfile(f.profile.profile(), Answers{}, host), RunOutcome::LaunchFailed);
        Events expected = Expected(f.profile, Answers{});
        const auto failed = std::find(expected.begin(), expected.end(), "run:" + f.commandLine);
        ASSERT_NE(failed, expected.end());
        expected.erase(failed + 1, expected.end());
        expected.push_back("append:" + f.logged);
        EXPECT_EQ(FirstDifference(host.events, expected), "");
    }
}

}  // namespace
}  // namespace qelvane::test
