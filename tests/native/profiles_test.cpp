// The three profile tables, checked through what their runs launch, log and pump.
// How a single row or a nested run is executed belongs to runner_test.cpp.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profiles/profiles.h"
#include "tests/native/fake_host.h"

namespace qelvane {
namespace {

using test::FakeHost;
using Lines = std::vector<std::string>;
using Tally = std::map<std::string, int>;

Answers FromBits(unsigned bits) {
    Answers answers;
    answers.UsesDiscBurner = (bits & 1u) != 0;
    answers.UsesPrinter = (bits & 2u) != 0;
    answers.UsesImagingDevice = (bits & 4u) != 0;
    answers.HostsWebServer = (bits & 8u) != 0;
    return answers;
}

FakeHost RunAlone(const Profile& profile, const Answers& answers = {}) {
    FakeHost host;
    EXPECT_EQ(ExecuteProfile(profile, answers, host), RunOutcome::Completed);
    return host;
}

// The row lines of one complete run into an empty log, once its two closing lines are checked.
Lines RowLines(const FakeHost& host) {
    Lines lines = test::SplitLog(host.log);
    if (lines.size() < 3) {
        ADD_FAILURE() << "log too short: " << host.log;
        return {};
    }
    EXPECT_EQ(lines[lines.size() - 2], std::string(59, '-'));
    EXPECT_EQ(lines.back(), "优化已经完成！");
    lines.resize(lines.size() - 2);
    return lines;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int Count(const Lines& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

Lines Refs(const Lines& rows) {
    Lines refs;
    for (const std::string& line : rows) refs.push_back(line.substr(0, line.find(':')));
    return refs;
}

// One row as read back from its launched command lines; verb "-" when it has no NET line.
struct Launched {
    std::string verb, service, mode;
};

std::vector<Launched> LaunchedRows(const Lines& commands) {
    const std::string net = "cmd /c NET ", sc = "cmd /c sc config ", start = " start= ";
    std::vector<Launched> rows;
    std::string verb = "-";
    for (const std::string& command : commands) {
        if (command.rfind(net, 0) == 0) {
            verb = command.substr(net.size(), command.find(' ', net.size()) - net.size());
            continue;
        }
        const std::size_t at = command.rfind(start);
        if (command.rfind(sc, 0) != 0 || at == std::string::npos) {
            ADD_FAILURE() << "unexpected command line: " << command;
            continue;
        }
        rows.push_back({verb, command.substr(sc.size(), at - sc.size()), command.substr(at + start.size())});
        verb = "-";
    }
    return rows;
}

// "start auto", "- demand", ... for each row naming the service, comma-separated; "absent" for none.
std::string Treatment(const std::vector<Launched>& rows, const std::string& service) {
    std::string found;
    for (const Launched& row : rows) {
        if (row.service == service) found += (found.empty() ? "" : ", ") + row.verb + " " + row.mode;
    }
    return found.empty() ? "absent" : found;
}

Tally Tallied(const std::vector<Launched>& rows, bool withVerb) {
    Tally tally;
    for (const Launched& row : rows) ++tally[withVerb ? row.verb + " " + row.mode : row.mode];
    return tally;
}

// The guided log numbers with all four answers No, in order.
const Lines kAllNoRefs = {
    "1",  "2",  "3.1", "3.2", "3.3", "4",  "5",  "6",  "8",    "10", "14",   "15",   "17",    "19",    "20", "21",
    "22", "23", "24",  "25",  "27",  "28", "29", "30", "31",   "33", "34",   "35",   "36",    "37",    "38", "38.1",
    "39", "41", "42",  "44",  "45",  "47", "50", "51", "52",   "58", "59",   "60",   "61",    "62",    "63", "65",
    "66", "68", "70",  "71",  "74",  "75", "77", "78", "78.1", "79", "79.8", "79.9", "79.10", "79.11", "80"};

// kAllNoRefs with its web-server range 79.8 to 79.11 replaced by `range`, and 37.1 after 37 when `server`.
Lines RefsWith(bool server, const Lines& range) {
    Lines refs;
    for (const std::string& ref : kAllNoRefs) {
        if (ref == "80") refs.insert(refs.end(), range.begin(), range.end());
        if (ref.rfind("79.", 0) != 0) refs.push_back(ref);
        if (server && ref == "37") refs.push_back("37.1");
    }
    return refs;
}

const Lines kWebYesRange = {"79.1", "79.2", "79.3", "79.4", "79.5", "79.6", "79.7"};

// The commands naming the two services whose names hold blanks.
Lines QuotedServiceCommands(const Lines& commands) {
    Lines found;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(found), [](const std::string& command) {
        return command.find("Ati HotKey Poller") != std::string::npos || command.find("ATI Smart") != std::string::npos;
    });
    return found;
}

const Lines kQuotedStopped = {
    "cmd /c NET stop \"Ati HotKey Poller\"", "cmd /c sc config \"Ati HotKey Poller\" start= disabled",
    "cmd /c NET stop \"ATI Smart\"", "cmd /c sc config \"ATI Smart\" start= disabled"};

// --- Every row of every table ----------------------------------------------------------

TEST(AllProfiles, LogModeWordAgreesWithStartType) {
    const char* const words[] = {"禁用", "手动", "自动"};  // Disabled, Demand, Auto
    for (const Profile* profile : {&GuidedProfile(), &AutomaticProfile(), &RestoreProfile()}) {
        for (const ProfileRow& row : *profile) {
            const std::string line(row.step.logLine);
            EXPECT_EQ(line.substr(line.rfind(':') + 1), words[static_cast<int>(row.step.mode)]) << line;
        }
    }
}

// --- Totals of whole runs ----------------------------------------------------------------

struct RunCase {
    const char* name;
    const Profile& (*profile)();
    unsigned answerBits;
    std::size_t commands, pumps;
    Lines refs, quoted;
    Tally modes, groups;  // start types, and (NET verb, start type) pairs, of the launched rows
};

class ProfileRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(ProfileRun, TotalsNumbersQuotesAndStartTypes) {
    const RunCase& c = GetParam();
    const FakeHost host = RunAlone(c.profile(), FromBits(c.answerBits));
    const Lines rows = RowLines(host);
    const std::vector<Launched> launched = LaunchedRows(host.commands);
    EXPECT_EQ(Refs(rows), c.refs);
    EXPECT_EQ(host.commands.size(), c.commands);
    EXPECT_EQ(launched.size(), rows.size());
    EXPECT_EQ(host.PumpCount(), c.pumps);
    EXPECT_EQ(QuotedServiceCommands(host.commands), c.quoted);
    EXPECT_EQ(Tallied(launched, false), c.modes);
    EXPECT_EQ(Tallied(launched, true), c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ProfileRun,
    ::testing::Values(
        RunCase{"GuidedAllNo", GuidedProfile, 0u, 126, 63, kAllNoRefs, kQuotedStopped,
                {{"disabled", 45}, {"demand", 18}},
                {{"stop disabled", 45}, {"stop demand", 17}, {"start demand", 1}}},
        RunCase{"GuidedAllYes", GuidedProfile, 15u, 132, 65, RefsWith(true, kWebYesRange), kQuotedStopped,
                {{"disabled", 37}, {"demand", 21}, {"auto", 9}},
                {{"stop disabled", 37}, {"stop demand", 16}, {"start auto", 9}, {"start demand", 3}, {"- demand", 2}}},
        RunCase{"Automatic", AutomaticProfile, 0u, 115, 59, RefsWith(false, {}), kQuotedStopped,
                {{"disabled", 39}, {"demand", 20}},
                {{"stop disabled", 39}, {"stop demand", 17}, {"- demand", 3}}},
        RunCase{"AutomaticWebServer", AutomaticProfile, 8u, 115, 59, RefsWith(false, {}), kQuotedStopped,
                {{"disabled", 38}, {"demand", 20}, {"auto", 1}},
                {{"stop disabled", 38}, {"stop demand", 17}, {"- demand", 3}, {"start auto", 1}}},
        RunCase{"Restore", RestoreProfile, 0u, 98, 67,
                RefsWith(false, {"79.1", "79.1", "79.2", "79.3", "79.4", "79.5", "79.6", "79.7"}),
                {"cmd /c sc config \"Ati HotKey Poller\" start= demand", "cmd /c sc config \"ATI Smart\" start= demand"},
                {{"auto", 20}, {"demand", 39}, {"disabled", 8}},
                {{"- demand", 36}, {"start auto", 20}, {"start demand", 2}, {"stop disabled", 8}, {"stop demand", 1}}}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

// --- Guided profile -------------------------------------------------------------------

class GuidedCall : public ::testing::TestWithParam<unsigned> {};

TEST_P(GuidedCall, SizePumpsAndServicesFollowTheAnswers) {
    const Answers answers = FromBits(GetParam());
    const FakeHost host = RunAlone(GuidedProfile(), answers);
    const Lines rows = RowLines(host);
    const std::vector<Launched> launched = LaunchedRows(host.commands);
    const std::size_t d = answers.UsesDiscBurner, p = answers.UsesPrinter;
    const std::size_t i = answers.UsesImagingDevice, w = answers.HostsWebServer;
    ASSERT_EQ(rows.size(), 63 + p + 3 * w);
    EXPECT_EQ(host.commands.size(), 2 * rows.size() - d - i);

    // One pump after every row line but "37 ... 自动" and "79.7 ...", and one in FinishRun.
    std::vector<std::size_t> pumps;
    std::size_t end = 0;
    for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
        end += rows[r].size() + 2;
        if (rows[r] != "37:NT LM Security Support Provider:自动" && rows[r] != "79.7:Event Log:自动")
            pumps.push_back(end);
    }
    pumps.push_back(host.log.size());
    EXPECT_EQ(host.pumpLogSizes, pumps);

    const auto t = [&](const char* service) { return Treatment(launched, service); };
    EXPECT_EQ(t("ImapiService"), d ? "- demand" : "stop disabled");
    EXPECT_EQ(t("stisvc"), i ? "- demand" : "stop disabled");
    EXPECT_EQ(t("NtLmSsp"), p ? "start auto" : "stop demand");
    EXPECT_EQ(t("lanmanserver"), p ? "start auto" : "absent");
    EXPECT_EQ(t("Spooler"), p ? "start auto" : "stop disabled");
    EXPECT_EQ(Count(rows, "37.1:Server:自动"), static_cast<int>(p));
    EXPECT_EQ(t("EventSystem"), "start demand");
    EXPECT_EQ(Count(rows, w ? "79.4:COM+ Event System:手动" : "79.9:COM+ Event System:手动"), 1);
    for (const char* s : {"COMSysApp", "MSDTC"}) EXPECT_EQ(t(s), w ? "start demand" : "stop disabled") << s;
    for (const char* s : {"W3SVC", "IISADMIN"}) EXPECT_EQ(t(s), w ? "start auto" : "stop disabled") << s;
    for (const char* s : {"RpcSs", "SamSs", "DcomLaunch", "Eventlog"}) EXPECT_EQ(t(s), w ? "start auto" : "absent") << s;
    EXPECT_EQ(t("SMTPSVC"), w ? "absent" : "stop disabled");
}

INSTANTIATE_TEST_SUITE_P(AllAnswers, GuidedCall, ::testing::Range(0u, 16u));

TEST(GuidedProfile, PrinterAnswerChangedBetweenTests4And5IsFollowed) {
    Answers answers = FromBits(2);
    FakeHost host;
    host.onPump = [&](std::size_t) {
        if (EndsWith(host.log, "\r\n37.1:Server:自动\r\n")) answers.UsesPrinter = false;
    };
    ASSERT_EQ(ExecuteProfile(GuidedProfile(), answers, host), RunOutcome::Completed);
    const std::vector<Launched> launched = LaunchedRows(host.commands);
    EXPECT_EQ(Treatment(launched, "NtLmSsp"), "start auto");
    EXPECT_EQ(Treatment(launched, "lanmanserver"), "start auto");
    EXPECT_EQ(Treatment(launched, "Spooler"), "stop disabled");
    EXPECT_EQ(Count(RowLines(host), "42:Print Spooler:禁用"), 1);
}

// --- Automatic profile ----------------------------------------------------------------

TEST(AutomaticProfile, AnswerStoredInOneOfTheFirstEightPumpsDecidesTheBranch) {
    for (std::size_t pump = 0; pump <= 8; ++pump) {
        SCOPED_TRACE(pump);
        Answers answers;
        FakeHost host;
        host.onPump = [&](std::size_t index) {
            if (index == pump) answers.HostsWebServer = true;
        };
        ASSERT_EQ(ExecuteProfile(AutomaticProfile(), answers, host), RunOutcome::Completed);
        const Lines rows = RowLines(host);
        ASSERT_EQ(rows.size(), 59u);
        // The ninth pump follows the branch's own row: too late for this run.
        EXPECT_EQ(rows[8], pump < 8 ? "8:COM+ System Application:自动" : "8:COM+ System Application:禁用");
        const std::vector<Launched> launched = LaunchedRows(host.commands);
        EXPECT_EQ(Treatment(launched, "COMSysApp"), pump < 8 ? "start auto" : "stop disabled");
        // The profile's only rows without a NET line.
        for (const char* s : {"ImapiService", "Spooler", "stisvc"}) EXPECT_EQ(Treatment(launched, s), "- demand") << s;
    }
}

// --- Restore-defaults profile ---------------------------------------------------------

TEST(RestoreProfile, RowsFallIntoFiveGroupsByVerbAndStartType) {
    const FakeHost host = RunAlone(RestoreProfile());
    std::map<std::string, std::vector<int>> groups;
    int number = 0;
    for (const Launched& row : LaunchedRows(host.commands)) groups[row.verb + " " + row.mode].push_back(++number);
    const std::map<std::string, std::vector<int>> expected = {
        {"- demand", {2,  3,  4,  5,  7,  9,  12, 14, 16, 18, 19, 21, 23, 24, 25, 28, 29, 30,
                      31, 32, 33, 34, 36, 37, 38, 40, 42, 43, 49, 50, 51, 53, 54, 55, 57, 67}},
        {"start auto", {6, 10, 11, 13, 15, 20, 39, 44, 46, 47, 52, 56, 58, 59, 60, 61, 62, 64, 65, 66}},
        {"start demand", {35, 63}},
        {"stop disabled", {1, 8, 17, 22, 26, 41, 45, 48}},
        {"stop demand", {27}}};
    EXPECT_EQ(groups, expected);
    // Rows 59 and 60 share the number 79.1; the Themes line comes first.
    const Lines rows = RowLines(host);
    ASSERT_EQ(rows.size(), 67u);
    EXPECT_EQ(rows[58], "79.1:Themes:自动");
}

}  // namespace
}  // namespace qelvane
