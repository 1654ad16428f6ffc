// The step runner as the user meets it: a run nested in a pump, failed launches.
// (Every command line and pump of each profile: profiles_test.cpp.)
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
