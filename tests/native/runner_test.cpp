// The step runner against a fake platform whose progress window follows the
// window model (loaded on reference, fresh after an unload) and whose pump can
// act like a user.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runner/step_runner.h"

namespace qelvane {
namespace {

struct ProgressWindow {
    bool loaded = false;
    bool visible = false;
    std::string text;
    std::string caption;
    std::string status;
    bool exitEnabled = false;
};

class WindowModelHost : public RunnerHost {
public:
    std::vector<std::string> launched;
    std::vector<std::string> trace;  // "run", "append", "pump", "caption", "status", "enable"
    ProgressWindow window;
    int loads = 0;
    std::function<void(int)> onPump;
    std::function<LaunchResult(const std::string&)> onRun;
    int pumps = 0;

    void Show() {
        Reference();
        window.visible = true;
    }
    void Unload() { window = ProgressWindow{}; }

    LaunchResult RunHidden(const std::string& commandLine) override {
        trace.push_back("run");
        launched.push_back(commandLine);
        return onRun ? onRun(commandLine) : LaunchResult{true, {}};
    }
    void PumpEvents() override {
        trace.push_back("pump");
        const int index = pumps++;
        if (auto hook = onPump) hook(index);
    }
    void AppendLogText(std::string_view text) override {
        trace.push_back("append");
        Reference().text += text;
    }
    void SetProgressCaption(std::string_view caption) override {
        trace.push_back("caption");
        Reference().caption = caption;
    }
    void SetProgressStatus(std::string_view status) override {
        trace.push_back("status");
        Reference().status = status;
    }
    void EnableProgressExit() override {
        trace.push_back("enable");
        Reference().exitEnabled = true;
    }

private:
    ProgressWindow& Reference() {
        if (!window.loaded) {
            ++loads;
            window = ProgressWindow{true, false, "", "正在优化系统服务...", "正在优化系统服务，请稍等......", false};
        }
        return window;
    }
};

const std::string kCompletion = std::string("\r\n") + std::string(59, '-') + "\r\n优化已经完成！";

constexpr ProfileRow kSmallProfile[] = {
    {kAlways, {"Alerter", NetVerb::Stop, StartMode::Disabled, "1:Alerter:禁用"}},
    {IfNo(1, Answer::UsesPrinter), {"Spooler", NetVerb::Stop, StartMode::Disabled, "42:Print Spooler:禁用"}},
    {IfYes(1, Answer::UsesPrinter), {"NtLmSsp", NetVerb::Start, StartMode::Auto, "37:NT LM:自动", false}},
    {IfYes(1, Answer::UsesPrinter), {"lanmanserver", NetVerb::Start, StartMode::Auto, "37.1:Server:自动"}},
    {IfYes(1, Answer::UsesPrinter), {"Spooler", NetVerb::Start, StartMode::Auto, "42:Print Spooler:自动"}},
    {kAlways, {"ImapiService", NetVerb::None, StartMode::Demand, "23:IMAPI:手动"}},
    {IfYes(2, Answer::UsesPrinter), {"\"ATI Smart\"", NetVerb::Stop, StartMode::Disabled, "3.3:ATI Smart:禁用"}},
    {IfNo(2, Answer::UsesPrinter), {"W32Time", NetVerb::Stop, StartMode::Disabled, "78:Windows Time:禁用"}},
    {kAlways, {"WmiApSrv", NetVerb::Stop, StartMode::Disabled, "80:WMI Performance Adapter:禁用"}},
};

TEST(CommandLines, FollowTheTemplatesExactly) {
    const ServiceStep stop{"Alerter", NetVerb::Stop, StartMode::Disabled, "x"};
    EXPECT_EQ(NetCommandLine(stop), "cmd /c NET stop Alerter");
    EXPECT_EQ(ScCommandLine(stop), "cmd /c sc config Alerter start= disabled");
    const ServiceStep quoted{"\"Ati HotKey Poller\"", NetVerb::Start, StartMode::Demand, "x"};
    EXPECT_EQ(NetCommandLine(quoted), "cmd /c NET start \"Ati HotKey Poller\"");
    EXPECT_EQ(ScCommandLine(quoted), "cmd /c sc config \"Ati HotKey Poller\" start= demand");
    const ServiceStep bare{"stisvc", NetVerb::None, StartMode::Auto, "x"};
    EXPECT_EQ(NetCommandLine(bare), "");
    EXPECT_EQ(ScCommandLine(bare), "cmd /c sc config stisvc start= auto");
    EXPECT_EQ(kSeparatorLine, std::string(59, '-'));
}

TEST(RunStep, LaunchesThenAppendsThenPumps) {
    WindowModelHost host;
    RunStep(host, {"\"ATI Smart\"", NetVerb::Stop, StartMode::Disabled, "3.3:ATI Smart:禁用"});
    EXPECT_EQ(host.trace, (std::vector<std::string>{"run", "run", "append", "pump"}));
    EXPECT_EQ(host.launched, (std::vector<std::string>{"cmd /c NET stop \"ATI Smart\"",
                                                       "cmd /c sc config \"ATI Smart\" start= disabled"}));
    EXPECT_EQ(host.window.text, "3.3:ATI Smart:禁用\r\n");
}

TEST(RunStep, WithoutVerbLaunchesOneLineAndStillPumps) {
    WindowModelHost host;
    RunStep(host, {"Spooler", NetVerb::None, StartMode::Demand, "42:Print Spooler:手动"});
    EXPECT_EQ(host.launched, std::vector<std::string>{"cmd /c sc config Spooler start= demand"});
    EXPECT_EQ(host.trace, (std::vector<std::string>{"run", "append", "pump"}));
}

TEST(RunStep, WithoutPumpGoesStraightOn) {
    WindowModelHost host;
    RunStep(host, {"NtLmSsp", NetVerb::Start, StartMode::Auto, "37:a:自动", false});
    RunStep(host, {"lanmanserver", NetVerb::Start, StartMode::Auto, "37.1:Server:自动"});
    EXPECT_EQ(host.trace, (std::vector<std::string>{"run", "run", "append", "run", "run", "append", "pump"}));
}

TEST(RunStep, KeepsTextTypedBetweenAppends) {
    WindowModelHost host;
    host.onPump = [&](int) { host.window.text += "typed by the user"; };
    RunStep(host, {"A", NetVerb::Stop, StartMode::Disabled, "1:A:禁用"});
    RunStep(host, {"B", NetVerb::Stop, StartMode::Disabled, "2:B:禁用"});
    EXPECT_EQ(host.window.text, "1:A:禁用\r\ntyped by the user2:B:禁用\r\ntyped by the user");
}

TEST(FinishRun, WritesCompletionInOneAppendThenPumpsAndRetitles) {
    WindowModelHost host;
    host.Show();
    host.window.text = "79:Wireless Zero Configuration:手动\r\n";
    std::string captionDuringPump;
    host.onPump = [&](int) { captionDuringPump = host.window.caption; };
    FinishRun(host, {"WmiApSrv", NetVerb::Stop, StartMode::Disabled, "80:WMI Performance Adapter:禁用"});
    EXPECT_EQ(host.trace,
              (std::vector<std::string>{"run", "run", "append", "pump", "caption", "status", "enable"}));
    EXPECT_EQ(host.window.text,
              "79:Wireless Zero Configuration:手动\r\n80:WMI Performance Adapter:禁用" + kCompletion);
    EXPECT_NE(host.window.text.substr(host.window.text.size() - 2), "\r\n");
    EXPECT_EQ(host.window.caption, "优化完成！");
    EXPECT_EQ(host.window.status, "优化完成！");
    EXPECT_TRUE(host.window.exitEnabled);
    EXPECT_EQ(captionDuringPump, "正在优化系统服务...") << "retitled only after the last pump";
}

TEST(ExecuteProfile, ReadsEachTestOnceWhenTheRunReachesIt) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    // The answer flips in every pump: the second test must see the flipped value,
    // and the multi-row arm of the first test must run whole although the answer
    // changes inside it.
    host.onPump = [&](int) { answers.UsesPrinter = !answers.UsesPrinter; };
    ExecuteProfile(kSmallProfile, answers, host);
    const std::string expected = std::string("1:Alerter:禁用\r\n") +  // pump: printer -> true
                                 "37:NT LM:自动\r\n" +                   // no pump
                                 "37.1:Server:自动\r\n" +                // pump: false
                                 "42:Print Spooler:自动\r\n" +           // pump: true
                                 "23:IMAPI:手动\r\n" +                   // pump: false
                                 "78:Windows Time:禁用\r\n" +            // pump: true
                                 "80:WMI Performance Adapter:禁用" + kCompletion;
    EXPECT_EQ(host.window.text, expected);
}

TEST(ExecuteProfile, TakesTheNoArmsAndCountsLaunches) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    ExecuteProfile(kSmallProfile, answers, host);
    EXPECT_EQ(host.window.text, std::string("1:Alerter:禁用\r\n42:Print Spooler:禁用\r\n23:IMAPI:手动\r\n") +
                                    "78:Windows Time:禁用\r\n80:WMI Performance Adapter:禁用" + kCompletion);
    EXPECT_EQ(host.launched.size(), 9u);
    EXPECT_EQ(host.pumps, 5);
}

TEST(ExecuteProfile, NestedRunFromAPumpPlacesItsWholeBlockBetweenTwoLines) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    host.onPump = [&](int index) {
        if (index != 0) return;
        ExecuteProfile(kSmallProfile, answers, host);  // the user clicks another run button
    };
    ExecuteProfile(kSmallProfile, answers, host);
    const std::string block = std::string("1:Alerter:禁用\r\n42:Print Spooler:禁用\r\n23:IMAPI:手动\r\n") +
                              "78:Windows Time:禁用\r\n80:WMI Performance Adapter:禁用" + kCompletion;
    const std::string rest = std::string("42:Print Spooler:禁用\r\n23:IMAPI:手动\r\n") +
                             "78:Windows Time:禁用\r\n80:WMI Performance Adapter:禁用" + kCompletion;
    // The nested block's closing line carries no line break, so the outer run's
    // next line follows it on the same line.
    EXPECT_EQ(host.window.text, "1:Alerter:禁用\r\n" + block + rest);
    EXPECT_EQ(host.launched.size(), 18u);
}

TEST(ExecuteProfile, SecondRunInAnOpenWindowAppendsAfterTheClosingLine) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    ExecuteProfile(kSmallProfile, answers, host);
    std::string captionDuringSecondRun;
    bool exitEnabledDuringSecondRun = false;
    host.onPump = [&](int) {
        captionDuringSecondRun = host.window.caption;
        exitEnabledDuringSecondRun = host.window.exitEnabled;
    };
    ExecuteProfile(kSmallProfile, answers, host);
    EXPECT_NE(host.window.text.find("优化已经完成！1:Alerter:禁用\r\n"), std::string::npos);
    EXPECT_EQ(captionDuringSecondRun, "优化完成！");
    EXPECT_TRUE(exitEnabledDuringSecondRun);
    EXPECT_EQ(host.loads, 1);
}

TEST(ExecuteProfile, WindowClosedMidRunReceivesTheRestInAFreshHiddenWindow) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    host.onPump = [&](int index) {
        if (index == 1) host.Unload();  // the close box during the second pump
    };
    ExecuteProfile(kSmallProfile, answers, host);
    EXPECT_EQ(host.loads, 2);
    EXPECT_FALSE(host.window.visible);
    EXPECT_EQ(host.window.text, std::string("23:IMAPI:手动\r\n78:Windows Time:禁用\r\n") +
                                    "80:WMI Performance Adapter:禁用" + kCompletion);
    EXPECT_EQ(host.window.caption, "优化完成！");
    EXPECT_TRUE(host.window.exitEnabled);
}

TEST(ExecuteProfile, LaunchFailureStopsTheRunAtItsRowAndSaysWhy) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    host.onRun = [](const std::string& line) {
        if (line == "cmd /c sc config Spooler start= disabled") return LaunchResult{false, "系统找不到指定的文件。"};
        return LaunchResult{true, {}};
    };
    const RunOutcome outcome = ExecuteProfile(kSmallProfile, answers, host);
    EXPECT_EQ(outcome, RunOutcome::LaunchFailed);
    EXPECT_EQ(host.window.text,
              "1:Alerter:禁用\r\n无法启动命令行：cmd /c sc config Spooler start= disabled（系统找不到指定的文件。）\r\n");
    EXPECT_EQ(host.launched.back(), "cmd /c sc config Spooler start= disabled");
    EXPECT_EQ(host.launched.size(), 4u);
    EXPECT_EQ(host.window.caption, "正在优化系统服务...");
    EXPECT_EQ(host.window.status, "正在优化系统服务，请稍等......");
    EXPECT_FALSE(host.window.exitEnabled);
    EXPECT_EQ(host.pumps, 1);
}

TEST(ExecuteProfile, LaunchFailureOfTheLastRowWritesNoCompletion) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    host.onRun = [](const std::string& line) {
        return LaunchResult{line.find("WmiApSrv") == std::string::npos, "denied"};
    };
    EXPECT_EQ(ExecuteProfile(kSmallProfile, answers, host), RunOutcome::LaunchFailed);
    EXPECT_EQ(host.window.text.find("优化已经完成"), std::string::npos);
    EXPECT_NE(host.window.text.find("无法启动命令行：cmd /c NET stop WmiApSrv（denied）\r\n"), std::string::npos);
    EXPECT_FALSE(host.window.exitEnabled);
}

TEST(ExecuteProfile, FailedNestedRunLetsTheInterruptedRunFinish) {
    Answers answers;
    WindowModelHost host;
    host.Show();
    bool failNext = false;
    host.onRun = [&](const std::string&) {
        const bool fail = failNext;
        failNext = false;
        return LaunchResult{!fail, "busy"};
    };
    host.onPump = [&](int index) {
        if (index != 0) return;
        failNext = true;
        ExecuteProfile(kSmallProfile, answers, host);
    };
    EXPECT_EQ(ExecuteProfile(kSmallProfile, answers, host), RunOutcome::Completed);
    EXPECT_NE(host.window.text.find("1:Alerter:禁用\r\n无法启动命令行：cmd /c NET stop Alerter（busy）\r\n42:"),
              std::string::npos);
    EXPECT_TRUE(host.window.exitEnabled);
}

}  // namespace
}  // namespace qelvane
