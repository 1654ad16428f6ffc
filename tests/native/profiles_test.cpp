// The three profile tables, checked through what their runs launch, log and pump.
#include <algorithm>
#include <cstddef>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "profiles/profiles.h"
#include "tests/native/fake_host.h"

namespace qelvane {
namespace {

using test::FakeHost;
using test::SplitLog;

const std::string kSeparator(59, '-');
const std::string kCompletion = "\r\n" + kSeparator + "\r\n优化已经完成！";
const std::string kDone = "优化完成！";

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
std::vector<std::string> RowLines(const FakeHost& host) {
    std::vector<std::string> lines = SplitLog(host.log);
    if (lines.size() < 3) {
        ADD_FAILURE() << "log too short: " << host.log;
        return {};
    }
    EXPECT_EQ(lines[lines.size() - 2], kSeparator);
    EXPECT_EQ(lines.back(), "优化已经完成！");
    lines.resize(lines.size() - 2);
    return lines;
}

std::string RefOf(const std::string& line) { return line.substr(0, line.find(':')); }

// "79.10" -> (79, 10); a whole number sorts ahead of its dotted ones.
std::pair<int, int> RefKey(const std::string& ref) {
    const std::size_t dot = ref.find('.');
    if (dot == std::string::npos) return {std::stoi(ref), 0};
    return {std::stoi(ref.substr(0, dot)), std::stoi(ref.substr(dot + 1))};
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// One row as seen from its launches: NET verb ("" for none), service, start type.
struct Launched {
    std::string verb;
    std::string service;
    std::string mode;
};

std::vector<Launched> LaunchedRows(const std::vector<std::string>& commands) {
    const std::string net = "cmd /c NET ", sc = "cmd /c sc config ", start = " start= ";
    std::vector<Launched> rows;
    std::string verb, netService;
    for (const std::string& command : commands) {
        if (command.rfind(net, 0) == 0) {
            EXPECT_TRUE(verb.empty()) << "two NET lines in a row before " << command;
            const std::size_t blank = command.find(' ', net.size());
            verb = command.substr(net.size(), blank - net.size());
            netService = command.substr(blank + 1);
            continue;
        }
        const std::size_t at = command.rfind(start);
        if (command.rfind(sc, 0) != 0 || at == std::string::npos) {
            ADD_FAILURE() << "unexpected command line: " << command;
            continue;
        }
        Launched row{verb, command.substr(sc.size(), at - sc.size()), command.substr(at + start.size())};
        if (!verb.empty()) {
            EXPECT_EQ(netService, row.service) << "NET line does not belong to " << command;
        }
        rows.push_back(row);
        verb.clear();
    }
    EXPECT_TRUE(verb.empty()) << "NET line without its sc config line";
    return rows;
}

// "start auto", "- demand", or "absent" when the run did not name the service.
std::string Treatment(const std::vector<Launched>& rows, const std::string& service) {
    std::string found = "absent";
    for (const Launched& row : rows) {
        if (row.service != service) continue;
        EXPECT_EQ(found, "absent") << service << " configured twice";
        found = (row.verb.empty() ? "-" : row.verb) + " " + row.mode;
    }
    return found;
}

std::size_t DistinctServices(const std::vector<Launched>& rows) {
    std::set<std::string> services;
    for (const Launched& row : rows) services.insert(row.service);
    return services.size();
}

std::map<std::string, int> ModeCounts(const std::vector<std::string>& commands) {
    std::map<std::string, int> counts;
    for (const Launched& row : LaunchedRows(commands)) ++counts[row.mode];
    return counts;
}

std::vector<std::string> CommandsNaming(const std::vector<std::string>& commands, const std::string& service) {
    std::vector<std::string> found;
    for (const std::string& command : commands) {
        if (command.find(' ' + service + ' ') != std::string::npos || EndsWith(command, ' ' + service))
            found.push_back(command);
    }
    return found;
}

std::string ModeWordOf(StartMode mode) {
    switch (mode) {
    case StartMode::Disabled: return "禁用";
    case StartMode::Demand: return "手动";
    case StartMode::Auto: return "自动";
    }
    return "?";
}

// The whole numbers 1..80 that carry no log line of their own in the optimising tables.
const std::set<int> kUnusedWholeNumbers = {7,  9,  11, 12, 13, 16, 18, 26, 32, 40, 43, 46, 48,
                                           49, 53, 54, 55, 56, 57, 64, 67, 69, 72, 73, 76};

void ExpectWholeAndDottedRefs(const std::vector<std::string>& lines, std::set<int> unusedWhole,
                              const std::multiset<std::string>& dotted) {
    std::multiset<std::string> seenDotted;
    for (const std::string& line : lines) {
        const std::string ref = RefOf(line);
        if (ref.find('.') != std::string::npos) {
            seenDotted.insert(ref);
            continue;
        }
        EXPECT_TRUE(unusedWhole.insert(std::stoi(ref)).second) << "number used twice or listed unused: " << ref;
    }
    std::set<int> all;
    for (int n = 1; n <= 80; ++n) all.insert(n);
    EXPECT_EQ(unusedWhole, all);
    EXPECT_EQ(seenDotted, dotted);
}

// One entry per test, in table order: the letter of the answer it reads, then the arm of
// each of its rows ("W:NY" is a web-server test with its No row ahead of its Yes row).
std::vector<std::string> TestShapes(const Profile& profile, int& alwaysRows) {
    const char* const letters = "DPIW";  // disc burner, printer, imaging device, web server
    std::vector<std::string> tests;
    int lastTest = 0;
    alwaysRows = 0;
    for (const ProfileRow& row : profile) {
        if (row.when.test == 0) {
            ++alwaysRows;
            continue;
        }
        const char letter = letters[static_cast<int>(row.when.answer)];
        if (row.when.test != lastTest) {
            EXPECT_EQ(row.when.test, lastTest + 1) << "tests out of order or split";
            lastTest = row.when.test;
            tests.push_back(std::string(1, letter) + ':');
        }
        EXPECT_EQ(tests.back()[0], letter) << "one test reads one answer";
        tests.back() += row.when.arm ? 'Y' : 'N';
    }
    return tests;
}

// --- Every row of every table -------------------------------------------------------

const std::vector<std::pair<const char*, const Profile*>>& AllTables() {
    static const std::vector<std::pair<const char*, const Profile*>> tables = {
        {"guided", &GuidedProfile()}, {"automatic", &AutomaticProfile()}, {"restore", &RestoreProfile()}};
    return tables;
}

TEST(AllProfiles, LogLineHasNumberNameAndMatchingModeWord) {
    const std::regex shape(R"(^\d+(\.\d+)?:[^:"]+:[^:]+$)");
    for (const auto& [name, profile] : AllTables()) {
        for (const ProfileRow& row : *profile) {
            const std::string line(row.step.logLine);
            SCOPED_TRACE(std::string(name) + " " + line);
            EXPECT_TRUE(std::regex_match(line, shape));
            EXPECT_EQ(line.substr(line.rfind(':') + 1), ModeWordOf(row.step.mode));
        }
    }
}

TEST(AllProfiles, VerbAgreesWithStartType) {
    for (const auto& [name, profile] : AllTables()) {
        for (const ProfileRow& row : *profile) {
            SCOPED_TRACE(std::string(name) + " " + std::string(row.step.logLine));
            // Disabling always stops, automatic start always starts, and a row that
            // touches nothing but the start type only ever sets it to manual.
            if (row.step.mode == StartMode::Disabled) {
                EXPECT_EQ(row.step.verb, NetVerb::Stop);
            }
            if (row.step.mode == StartMode::Auto) {
                EXPECT_EQ(row.step.verb, NetVerb::Start);
            }
            if (row.step.verb == NetVerb::None) {
                EXPECT_EQ(row.step.mode, StartMode::Demand);
            }
        }
    }
}

TEST(AllProfiles, ServiceNamesAreBareOrQuotedWithTheirBlanks) {
    std::set<std::string> quoted;
    for (const auto& [name, profile] : AllTables()) {
        for (const ProfileRow& row : *profile) {
            const std::string service(row.step.service);
            SCOPED_TRACE(std::string(name) + " " + service);
            ASSERT_FALSE(service.empty());
            const bool hasBlank = service.find(' ') != std::string::npos;
            const bool isQuoted = service.size() > 2 && service.front() == '"' && service.back() == '"';
            EXPECT_EQ(hasBlank, isQuoted);
            EXPECT_EQ(std::count(service.begin(), service.end(), '"'), isQuoted ? 2 : 0);
            if (isQuoted) quoted.insert(service);
        }
    }
    EXPECT_EQ(quoted, (std::set<std::string>{"\"Ati HotKey Poller\"", "\"ATI Smart\""}));
}

TEST(AllProfiles, EachServiceHasOneDisplayNameAndNumberAcrossTables) {
    std::map<std::string, std::set<std::string>> labels;  // service -> "number:display name"
    std::map<std::string, std::set<std::string>> services;  // display name -> services
    for (const auto& [name, profile] : AllTables()) {
        for (const ProfileRow& row : *profile) {
            const std::string line(row.step.logLine), service(row.step.service);
            const std::string label = line.substr(0, line.rfind(':'));
            services[label.substr(label.find(':') + 1)].insert(service);
            // The guided web-server No arm numbers its rows apart (79.8 to 79.11).
            const bool guidedLastNoArm = profile == &GuidedProfile() && row.when.test == 7 && !row.when.arm;
            if (!guidedLastNoArm) labels[service].insert(label);
        }
    }
    for (const auto& [service, set] : labels) EXPECT_EQ(set.size(), 1u) << service;
    for (const auto& [display, set] : services) EXPECT_EQ(set.size(), 1u) << display;
    EXPECT_EQ(services.size(), 69u);
}

TEST(AllProfiles, ThemesBelongsToRestoreAlone) {
    EXPECT_EQ(CommandsNaming(RunAlone(RestoreProfile()).commands, "Themes").size(), 2u);
    for (unsigned bits : {0u, 15u}) {
        EXPECT_TRUE(CommandsNaming(RunAlone(GuidedProfile(), FromBits(bits)).commands, "Themes").empty());
    }
    EXPECT_TRUE(CommandsNaming(RunAlone(AutomaticProfile(), FromBits(15)).commands, "Themes").empty());
}

TEST(AllProfiles, QuotedNamesKeepTheirQuotesInBothCommandLinesOnly) {
    for (const Profile* profile : {&GuidedProfile(), &AutomaticProfile()}) {
        const FakeHost host = RunAlone(*profile);
        EXPECT_EQ(CommandsNaming(host.commands, "\"ATI Smart\""),
                  (std::vector<std::string>{"cmd /c NET stop \"ATI Smart\"",
                                            "cmd /c sc config \"ATI Smart\" start= disabled"}));
        EXPECT_EQ(CommandsNaming(host.commands, "\"Ati HotKey Poller\"").size(), 2u);
        EXPECT_NE(host.log.find("\r\n3.3:ATI Smart:禁用\r\n"), std::string::npos);
    }
    const FakeHost restore = RunAlone(RestoreProfile());
    EXPECT_EQ(CommandsNaming(restore.commands, "\"Ati HotKey Poller\""),
              (std::vector<std::string>{"cmd /c sc config \"Ati HotKey Poller\" start= demand"}));
    EXPECT_NE(restore.log.find("\r\n3.2:Ati HotKey Poller:手动\r\n"), std::string::npos);
}

TEST(AllProfiles, TestsStandInTableOrderWithBothArms) {
    int always = 0;
    EXPECT_EQ(TestShapes(GuidedProfile(), always),
              (std::vector<std::string>{"W:NY", "W:NY", "D:YN", "P:YYN", "P:YN", "I:YN", "W:YYYYYYYNNNN"}));
    EXPECT_EQ(always, 53);
    EXPECT_EQ(TestShapes(AutomaticProfile(), always), (std::vector<std::string>{"W:NY"}));
    EXPECT_EQ(always, 58);
    EXPECT_TRUE(TestShapes(RestoreProfile(), always).empty());
    EXPECT_EQ(always, 67);
}

// --- Guided profile ------------------------------------------------------------------

TEST(GuidedProfile, AllNoLogNumbersInOrder) {
    const std::vector<std::string> expected = {
        "1",  "2",  "3.1", "3.2", "3.3", "4",  "5",  "6",  "8",    "10", "14",   "15",   "17",    "19",    "20", "21",
        "22", "23", "24",  "25",  "27",  "28", "29", "30", "31",   "33", "34",   "35",   "36",    "37",    "38", "38.1",
        "39", "41", "42",  "44",  "45",  "47", "50", "51", "52",   "58", "59",   "60",   "61",    "62",    "63", "65",
        "66", "68", "70",  "71",  "74",  "75", "77", "78", "78.1", "79", "79.8", "79.9", "79.10", "79.11", "80"};
    const FakeHost host = RunAlone(GuidedProfile(), FromBits(0));
    std::vector<std::string> refs;
    for (const std::string& line : RowLines(host)) refs.push_back(RefOf(line));
    EXPECT_EQ(refs, expected);
    EXPECT_EQ(host.commands.size(), 126u);
}

TEST(GuidedProfile, AllYesAddsServerAndTakesTheOtherWebServerRange) {
    std::vector<std::string> expected;
    for (const std::string& line : RowLines(RunAlone(GuidedProfile(), FromBits(0)))) {
        const std::string ref = RefOf(line);
        if (ref == "79.8") {
            for (int i = 1; i <= 7; ++i) expected.push_back("79." + std::to_string(i));
        }
        if (ref != "79.8" && ref != "79.9" && ref != "79.10" && ref != "79.11") expected.push_back(ref);
        if (ref == "37") expected.push_back("37.1");
    }
    const FakeHost host = RunAlone(GuidedProfile(), FromBits(15));
    std::vector<std::string> refs;
    for (const std::string& line : RowLines(host)) refs.push_back(RefOf(line));
    EXPECT_EQ(refs, expected);
    EXPECT_EQ(refs.size(), 67u);
    EXPECT_EQ(host.commands.size(), 132u);
}

TEST(GuidedProfile, NoEventHandledAfterTheTwoUnpumpedRows) {
    const FakeHost host = RunAlone(GuidedProfile(), FromBits(15));
    using K = FakeHost::Kind;
    const auto after = [&](const std::string& line) {
        std::vector<std::pair<K, std::string>> next;
        for (std::size_t i = 0; i < host.events.size(); ++i) {
            if (host.events[i].kind != K::Append || host.events[i].text != line + "\r\n") continue;
            for (std::size_t j = i + 1; j < host.events.size() && j <= i + 3; ++j)
                next.emplace_back(host.events[j].kind, host.events[j].text);
        }
        return next;
    };
    EXPECT_EQ(after("37:NT LM Security Support Provider:自动"),
              (std::vector<std::pair<K, std::string>>{{K::Run, "cmd /c NET start lanmanserver"},
                                                      {K::Run, "cmd /c sc config lanmanserver start= auto"},
                                                      {K::Append, "37.1:Server:自动\r\n"}}));
    EXPECT_EQ(after("79.7:Event Log:自动"),
              (std::vector<std::pair<K, std::string>>{{K::Run, "cmd /c NET stop WmiApSrv"},
                                                      {K::Run, "cmd /c sc config WmiApSrv start= disabled"},
                                                      {K::Append, "80:WMI Performance Adapter:禁用" + kCompletion}}));
}

TEST(GuidedProfile, PrinterAnswerChangedBetweenTests4And5IsFollowed) {
    Answers answers = FromBits(2);
    FakeHost host;
    host.onPump = [&](std::size_t) {
        if (EndsWith(host.log, "\r\n37.1:Server:自动\r\n")) answers.UsesPrinter = false;
    };
    ASSERT_EQ(ExecuteProfile(GuidedProfile(), answers, host), RunOutcome::Completed);
    const std::vector<std::string> rows = RowLines(host);
    const auto count = [&](const std::string& line) { return std::count(rows.begin(), rows.end(), line); };
    EXPECT_EQ(count("37:NT LM Security Support Provider:自动"), 1);
    EXPECT_EQ(count("37.1:Server:自动"), 1);
    EXPECT_EQ(count("42:Print Spooler:禁用"), 1);
    EXPECT_EQ(count("42:Print Spooler:自动"), 0);
    EXPECT_EQ(CommandsNaming(host.commands, "Spooler"),
              (std::vector<std::string>{"cmd /c NET stop Spooler", "cmd /c sc config Spooler start= disabled"}));
    EXPECT_EQ(rows.size(), 64u);
}

TEST(GuidedProfile, WebServerAnswerChangedAfterTest1IsSeenByTests2And7) {
    Answers answers = FromBits(0);
    FakeHost host;
    host.onPump = [&](std::size_t) {
        if (EndsWith(host.log, "\r\n8:COM+ System Application:禁用\r\n")) answers.HostsWebServer = true;
    };
    ASSERT_EQ(ExecuteProfile(GuidedProfile(), answers, host), RunOutcome::Completed);
    const std::vector<Launched> rows = LaunchedRows(host.commands);
    EXPECT_EQ(Treatment(rows, "COMSysApp"), "stop disabled");
    EXPECT_EQ(Treatment(rows, "MSDTC"), "start demand");
    EXPECT_EQ(Treatment(rows, "RpcSs"), "start auto");
    EXPECT_EQ(Treatment(rows, "SMTPSVC"), "absent");
}

// Properties of one guided call for each of the 16 answer combinations.
class GuidedCall : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        answers = FromBits(GetParam());
        host = RunAlone(GuidedProfile(), answers);
        rows = RowLines(host);
        launched = LaunchedRows(host.commands);
    }
    Answers answers;
    FakeHost host;
    std::vector<std::string> rows;
    std::vector<Launched> launched;
};

TEST_P(GuidedCall, SizeFollowsPrinterAndWebServerAnswers) {
    const std::size_t p = answers.UsesPrinter, w = answers.HostsWebServer;
    const std::size_t d = answers.UsesDiscBurner, i = answers.UsesImagingDevice;
    EXPECT_EQ(rows.size(), 63 + p + 3 * w);
    EXPECT_EQ(host.commands.size(), 2 * rows.size() - d - i);
    EXPECT_EQ(launched.size(), rows.size());
    EXPECT_EQ(DistinctServices(launched), launched.size()) << "a service configured twice in one call";
    EXPECT_EQ(host.PumpCount(), rows.size() - p - w);
    EXPECT_GE(host.commands.size(), 124u);
    EXPECT_LE(host.commands.size(), 134u);
}

TEST_P(GuidedCall, OpensWithAlerterAndEndsWithTheCompletionSequence) {
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), "1:Alerter:禁用");
    EXPECT_TRUE(EndsWith(host.log, "\r\n80:WMI Performance Adapter:禁用" + kCompletion));
    ASSERT_GE(host.commands.size(), 2u);
    EXPECT_EQ(host.commands.front(), "cmd /c NET stop Alerter");
    EXPECT_EQ(host.commands.back(), "cmd /c sc config WmiApSrv start= disabled");
    EXPECT_EQ(host.caption, kDone);
    EXPECT_EQ(host.status, kDone);
    EXPECT_TRUE(host.exitEnabled);
}

TEST_P(GuidedCall, NumbersRiseAndEachLineNamesTheStartTypeLaunched) {
    static const std::map<std::string, std::string> word = {{"disabled", "禁用"}, {"demand", "手动"}, {"auto", "自动"}};
    ASSERT_EQ(launched.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(RefKey(RefOf(rows[i - 1])), RefKey(RefOf(rows[i]))) << rows[i];
        }
        EXPECT_EQ(rows[i].substr(rows[i].rfind(':') + 1), word.at(launched[i].mode)) << rows[i];
    }
}

TEST_P(GuidedCall, PumpsAfterEveryRowLineButTheTwoUnpumpedRows) {
    std::vector<std::size_t> expected;
    std::size_t end = 0;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        end += rows[i].size() + 2;
        if (rows[i] != "37:NT LM Security Support Provider:自动" && rows[i] != "79.7:Event Log:自动")
            expected.push_back(end);
    }
    expected.push_back(host.log.size());
    EXPECT_EQ(host.pumpLogSizes, expected);
}

TEST_P(GuidedCall, AnswersDecideWhichServicesAreTouched) {
    const auto t = [&](const char* service) { return Treatment(launched, service); };
    EXPECT_EQ(CommandsNaming(host.commands, "EventSystem"),
              (std::vector<std::string>{"cmd /c NET start EventSystem", "cmd /c sc config EventSystem start= demand"}));
    const bool web = answers.HostsWebServer;
    const std::string eventSystemLine = web ? "79.4:COM+ Event System:手动" : "79.9:COM+ Event System:手动";
    EXPECT_EQ(std::count(rows.begin(), rows.end(), eventSystemLine), 1);

    using Lines = std::vector<std::string>;
    EXPECT_EQ(CommandsNaming(host.commands, "ImapiService"),
              (answers.UsesDiscBurner
                   ? Lines{"cmd /c sc config ImapiService start= demand"}
                   : Lines{"cmd /c NET stop ImapiService", "cmd /c sc config ImapiService start= disabled"}));
    EXPECT_EQ(CommandsNaming(host.commands, "stisvc"),
              (answers.UsesImagingDevice ? Lines{"cmd /c sc config stisvc start= demand"}
                                         : Lines{"cmd /c NET stop stisvc", "cmd /c sc config stisvc start= disabled"}));

    const bool printer = answers.UsesPrinter;
    EXPECT_EQ(t("NtLmSsp"), printer ? "start auto" : "stop demand");
    EXPECT_EQ(t("lanmanserver"), printer ? "start auto" : "absent");
    EXPECT_EQ(t("Spooler"), printer ? "start auto" : "stop disabled");
    const bool serverLogged = std::any_of(
        rows.begin(), rows.end(), [](const std::string& line) { return line.find(":Server:") != std::string::npos; });
    EXPECT_EQ(serverLogged, printer);

    for (const char* service : {"COMSysApp", "MSDTC"}) EXPECT_EQ(t(service), web ? "start demand" : "stop disabled");
    for (const char* service : {"W3SVC", "IISADMIN"}) EXPECT_EQ(t(service), web ? "start auto" : "stop disabled");
    for (const char* service : {"RpcSs", "SamSs", "DcomLaunch", "Eventlog"})
        EXPECT_EQ(t(service), web ? "start auto" : "absent");
    EXPECT_EQ(t("SMTPSVC"), web ? "absent" : "stop disabled");
}

INSTANTIATE_TEST_SUITE_P(AllAnswers, GuidedCall, ::testing::Range(0u, 16u));

// --- Automatic profile ---------------------------------------------------------------

TEST(AutomaticProfile, FreshProcessRunTotals) {
    const FakeHost host = RunAlone(AutomaticProfile());
    const std::vector<std::string> rows = RowLines(host);
    ASSERT_EQ(rows.size(), 59u);
    EXPECT_EQ(host.commands.size(), 115u);
    const std::vector<Launched> launched = LaunchedRows(host.commands);
    EXPECT_EQ(launched.size(), 59u);
    EXPECT_EQ(DistinctServices(launched), 59u);
    EXPECT_EQ(host.PumpCount(), 59u);
    EXPECT_EQ(std::vector<std::string>(host.commands.begin(), host.commands.begin() + 2),
              (std::vector<std::string>{"cmd /c NET stop Alerter", "cmd /c sc config Alerter start= disabled"}));
    EXPECT_EQ(std::vector<std::string>(host.commands.end() - 2, host.commands.end()),
              (std::vector<std::string>{"cmd /c NET stop WmiApSrv", "cmd /c sc config WmiApSrv start= disabled"}));
    EXPECT_EQ(rows.front(), "1:Alerter:禁用");
    EXPECT_EQ(rows[8], "8:COM+ System Application:禁用");
    EXPECT_TRUE(EndsWith(host.log, "\r\n80:WMI Performance Adapter:禁用" + kCompletion));
    EXPECT_EQ(host.caption, kDone);
    EXPECT_EQ(host.status, kDone);
    EXPECT_TRUE(host.exitEnabled);
}

TEST(AutomaticProfile, FinalStartTypesFromTheLaunchedLines) {
    EXPECT_EQ(ModeCounts(RunAlone(AutomaticProfile(), FromBits(0)).commands),
              (std::map<std::string, int>{{"disabled", 39}, {"demand", 20}}));
    EXPECT_EQ(ModeCounts(RunAlone(AutomaticProfile(), FromBits(8)).commands),
              (std::map<std::string, int>{{"disabled", 38}, {"demand", 20}, {"auto", 1}}));
}

TEST(AutomaticProfile, WebServerYesChangesOnlyTheNinthRow) {
    const FakeHost no = RunAlone(AutomaticProfile(), FromBits(0)), yes = RunAlone(AutomaticProfile(), FromBits(15));
    ASSERT_EQ(no.commands.size(), yes.commands.size());
    for (std::size_t i = 0; i < no.commands.size(); ++i) {
        if (i != 16 && i != 17) {
            EXPECT_EQ(no.commands[i], yes.commands[i]);
        }
    }
    EXPECT_EQ(yes.commands[16], "cmd /c NET start COMSysApp");
    EXPECT_EQ(yes.commands[17], "cmd /c sc config COMSysApp start= auto");
    const std::vector<std::string> noRows = RowLines(no), yesRows = RowLines(yes);
    ASSERT_EQ(noRows.size(), yesRows.size());
    for (std::size_t i = 0; i < noRows.size(); ++i) {
        if (i != 8) {
            EXPECT_EQ(noRows[i], yesRows[i]);
        }
    }
    EXPECT_EQ(yesRows[8], "8:COM+ System Application:自动");
}

TEST(AutomaticProfile, OnlyImapiSpoolerAndStisvcGoWithoutNetCommand) {
    std::set<std::string> bare, started;
    for (const Launched& row : LaunchedRows(RunAlone(AutomaticProfile(), FromBits(8)).commands)) {
        if (row.verb.empty()) bare.insert(row.service + " " + row.mode);
        if (row.verb == "start") started.insert(row.service);
    }
    EXPECT_EQ(bare, (std::set<std::string>{"ImapiService demand", "Spooler demand", "stisvc demand"}));
    EXPECT_EQ(started, (std::set<std::string>{"COMSysApp"}));
}

TEST(AutomaticProfile, NumbersRiseWithTheKnownGapsAndSubNumbers) {
    const std::vector<std::string> rows = RowLines(RunAlone(AutomaticProfile()));
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(RefKey(RefOf(rows[i - 1])), RefKey(RefOf(rows[i])));
    std::set<int> unused = kUnusedWholeNumbers;
    unused.insert(3);
    ExpectWholeAndDottedRefs(rows, unused, {"3.1", "3.2", "3.3", "38.1", "78.1"});
}

TEST(AutomaticProfile, AnswerStoredInOneOfTheFirstEightPumpsDecidesTheBranch) {
    for (std::size_t pump = 0; pump <= 8; ++pump) {
        SCOPED_TRACE(pump);
        Answers answers;
        FakeHost host;
        host.onPump = [&](std::size_t index) {
            if (index == pump) answers.HostsWebServer = true;
        };
        ASSERT_EQ(ExecuteProfile(AutomaticProfile(), answers, host), RunOutcome::Completed);
        const std::vector<std::string> rows = RowLines(host);
        ASSERT_EQ(rows.size(), 59u);
        // The ninth pump follows the branch's own row: too late for this run.
        EXPECT_EQ(rows[8], pump < 8 ? "8:COM+ System Application:自动" : "8:COM+ System Application:禁用");
        EXPECT_EQ(Treatment(LaunchedRows(host.commands), "COMSysApp"), pump < 8 ? "start auto" : "stop disabled");
    }
}

TEST(AutomaticProfile, TextTypedDuringAPumpStaysAheadOfTheNextLine) {
    const FakeHost alone = RunAlone(AutomaticProfile());
    FakeHost host;
    host.onPump = [&](std::size_t index) {
        if (index == 3) host.log += "typed";
    };
    ASSERT_EQ(ExecuteProfile(AutomaticProfile(), Answers{}, host), RunOutcome::Completed);
    const std::size_t cut = alone.pumpLogSizes[3];
    EXPECT_EQ(host.log, alone.log.substr(0, cut) + "typed" + alone.log.substr(cut));
    EXPECT_NE(host.log.find("\r\n3.2:Ati HotKey Poller:禁用\r\ntyped3.3:ATI Smart:禁用\r\n"), std::string::npos);
}

// --- Restore-defaults profile --------------------------------------------------------

TEST(RestoreProfile, CommandLogAndPumpTotals) {
    const FakeHost host = RunAlone(RestoreProfile());
    const std::vector<Launched> launched = LaunchedRows(host.commands);
    EXPECT_EQ(host.commands.size(), 98u);
    EXPECT_EQ(launched.size(), 67u);
    EXPECT_EQ(DistinctServices(launched), 67u);
    EXPECT_EQ(std::count_if(launched.begin(), launched.end(), [](const Launched& r) { return r.verb == "start"; }), 22);
    EXPECT_EQ(std::count_if(launched.begin(), launched.end(), [](const Launched& r) { return r.verb == "stop"; }), 9);
    EXPECT_EQ(host.PumpCount(), 67u);
    EXPECT_EQ(host.commands[0], "cmd /c NET stop Alerter");
    EXPECT_EQ(host.commands[1], "cmd /c sc config Alerter start= disabled");
    EXPECT_EQ(host.commands.back(), "cmd /c sc config WmiApSrv start= demand");

    const std::vector<std::string> lines = SplitLog(host.log);
    ASSERT_EQ(lines.size(), 69u);
    EXPECT_EQ(lines[58], "79.1:Themes:自动");
    EXPECT_EQ(RefOf(lines[59]), "79.1");
    EXPECT_TRUE(EndsWith(host.log, "\r\n80:WMI Performance Adapter:手动" + kCompletion));
    EXPECT_EQ(host.caption, kDone);
    EXPECT_TRUE(host.exitEnabled);
}

TEST(RestoreProfile, SameRunWhateverTheAnswers) {
    const FakeHost reference = RunAlone(RestoreProfile(), FromBits(0));
    for (unsigned bits = 1; bits < 16; ++bits) {
        const FakeHost host = RunAlone(RestoreProfile(), FromBits(bits));
        EXPECT_EQ(host.commands, reference.commands) << bits;
        EXPECT_EQ(host.log, reference.log) << bits;
    }
    const std::vector<Launched> launched = LaunchedRows(reference.commands);
    EXPECT_EQ(Treatment(launched, "IISADMIN"), "start auto");
    EXPECT_EQ(Treatment(launched, "W3SVC"), "start auto");
}

TEST(RestoreProfile, RowsFallIntoFiveGroupsByVerbAndStartType) {
    std::map<std::string, std::vector<int>> groups;
    int number = 0;
    for (const Launched& row : LaunchedRows(RunAlone(RestoreProfile()).commands))
        groups[(row.verb.empty() ? "-" : row.verb) + " " + row.mode].push_back(++number);
    const std::map<std::string, std::vector<int>> expected = {
        {"- demand", {2,  3,  4,  5,  7,  9,  12, 14, 16, 18, 19, 21, 23, 24, 25, 28, 29, 30,
                      31, 32, 33, 34, 36, 37, 38, 40, 42, 43, 49, 50, 51, 53, 54, 55, 57, 67}},
        {"start auto", {6, 10, 11, 13, 15, 20, 39, 44, 46, 47, 52, 56, 58, 59, 60, 61, 62, 64, 65, 66}},
        {"start demand", {35, 63}},
        {"stop disabled", {1, 8, 17, 22, 26, 41, 45, 48}},
        {"stop demand", {27}}};
    EXPECT_EQ(groups, expected);
}

TEST(RestoreProfile, FinalStartTypesFromTheLaunchedLines) {
    EXPECT_EQ(ModeCounts(RunAlone(RestoreProfile()).commands),
              (std::map<std::string, int>{{"auto", 20}, {"demand", 39}, {"disabled", 8}}));
}

TEST(RestoreProfile, NumbersRiseWithOneRepeatAndTheKnownGaps) {
    const std::vector<std::string> rows = RowLines(RunAlone(RestoreProfile()));
    int repeats = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto previous = RefKey(RefOf(rows[i - 1])), current = RefKey(RefOf(rows[i]));
        EXPECT_LE(previous, current) << rows[i];
        if (previous == current) {
            EXPECT_EQ(RefOf(rows[i]), "79.1") << "only 79.1 repeats";
        }
        repeats += previous == current ? 1 : 0;
    }
    EXPECT_EQ(repeats, 1);
    std::set<int> unused = kUnusedWholeNumbers;
    unused.insert(3);
    ExpectWholeAndDottedRefs(
        rows, unused,
        {"3.1", "3.2", "3.3", "38.1", "78.1", "79.1", "79.1", "79.2", "79.3", "79.4", "79.5", "79.6", "79.7"});
}

// --- Runs sharing one log ------------------------------------------------------------

TEST(SharedLog, SecondRunContinuesRightAfterTheFirstRunsClosingLine) {
    FakeHost host;
    ASSERT_EQ(ExecuteProfile(AutomaticProfile(), Answers{}, host), RunOutcome::Completed);
    const std::string first = host.log;
    bool sawFinishedState = false;
    host.onPump = [&](std::size_t) {
        if (sawFinishedState) return;
        sawFinishedState = true;
        // The window still shows the first run's end until the second run replaces it.
        EXPECT_EQ(host.caption, kDone);
        EXPECT_TRUE(host.exitEnabled);
    };
    ASSERT_EQ(ExecuteProfile(RestoreProfile(), Answers{}, host), RunOutcome::Completed);
    EXPECT_TRUE(sawFinishedState);
    EXPECT_EQ(host.log, first + RunAlone(RestoreProfile()).log);
    EXPECT_NE(host.log.find("优化已经完成！1:Alerter:禁用\r\n"), std::string::npos);
}

// Runs `outer`; in the pump that follows its line `afterLine`, runs `inner` on the same
// host, and expects the inner run's whole output at exactly that point of the outer's.
void ExpectNestedRunInPlace(const Profile& outer, const Profile& inner, const std::string& afterLine) {
    const Answers answers;
    const FakeHost outerAlone = RunAlone(outer, answers), innerAlone = RunAlone(inner, answers);
    const std::string marker = "\r\n" + afterLine + "\r\n";
    const std::size_t found = outerAlone.log.find(marker);
    ASSERT_NE(found, std::string::npos);
    const std::size_t cut = found + marker.size();
    const auto pump = std::find(outerAlone.pumpLogSizes.begin(), outerAlone.pumpLogSizes.end(), cut);
    ASSERT_NE(pump, outerAlone.pumpLogSizes.end()) << "no pump after " << afterLine;
    const std::size_t commandCut = outerAlone.pumpCommandCounts[pump - outerAlone.pumpLogSizes.begin()];

    FakeHost host;
    bool nested = false;
    host.onPump = [&](std::size_t) {
        if (nested || !EndsWith(host.log, marker)) return;
        nested = true;
        EXPECT_EQ(ExecuteProfile(inner, answers, host), RunOutcome::Completed);
        EXPECT_TRUE(host.exitEnabled);
    };
    ASSERT_EQ(ExecuteProfile(outer, answers, host), RunOutcome::Completed);
    ASSERT_TRUE(nested);

    EXPECT_EQ(host.log, outerAlone.log.substr(0, cut) + innerAlone.log + outerAlone.log.substr(cut));
    std::vector<std::string> commands(outerAlone.commands.begin(), outerAlone.commands.begin() + commandCut);
    commands.insert(commands.end(), innerAlone.commands.begin(), innerAlone.commands.end());
    commands.insert(commands.end(), outerAlone.commands.begin() + commandCut, outerAlone.commands.end());
    EXPECT_EQ(host.commands, commands);
    EXPECT_EQ(host.PumpCount(), outerAlone.PumpCount() + innerAlone.PumpCount());
    // The interrupted run's next line lands on the nested closing line's own line.
    const std::string next = SplitLog(outerAlone.log.substr(cut)).front();
    EXPECT_NE(host.log.find("优化已经完成！" + next + "\r\n"), std::string::npos);
    EXPECT_EQ(host.caption, kDone);
}

TEST(SharedLog, GuidedRunStartedFromAGuidedPumpSitsBetweenTwoRowLines) {
    ExpectNestedRunInPlace(GuidedProfile(), GuidedProfile(), "24:Indexing Service:禁用");
}

TEST(SharedLog, RestoreRunStartedFromAnAutomaticPumpSitsBetweenTwoRowLines) {
    ExpectNestedRunInPlace(AutomaticProfile(), RestoreProfile(), "8:COM+ System Application:禁用");
}

}  // namespace
}  // namespace qelvane
