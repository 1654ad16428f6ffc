// The three profiles against their hand-written tables, and the totals the tables
// state, checked on the tables themselves and on the program's runs.
#include "run_model.h"

namespace qelvane::test {
namespace {

class ProfileRun : public ::testing::TestWithParam<const Case*> {};

// Every launch, append and pump and the closing sequence, in order, for each of the
// 16 answer combinations.
TEST_P(ProfileRun, FollowsItsTableForEveryAnswerCombination) {
    for (unsigned bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        EXPECT_EQ(FirstDifference(ProgramRun(*GetParam(), FromBits(bits)), Expected(*GetParam(), FromBits(bits))), "");
    }
}

// The answers change in every pump: each test must take the value it finds when the
// run reaches it, and keep it for the whole arm.
TEST_P(ProfileRun, ReadsEachAnswerWhenTheRunReachesItsTest) {
    for (unsigned bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        const Hook user = [bits](Answers& answers, const Events& events) {
            answers = FromBits(bits + static_cast<unsigned>(Count(events, "pump")));
        };
        const Answers start = FromBits(bits);
        EXPECT_EQ(FirstDifference(ProgramRun(*GetParam(), start, user), Expected(*GetParam(), start, user)), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, ProfileRun, ::testing::Values(&kGuided, &kAutomatic, &kRestore),
                         [](const auto& info) { const std::string f = info.param->file; return f.substr(0, f.find('.')); });

// Counts of a run's events: "run", "NET", "sc", "held", "line" (one per append), "pump", each
// start type, each pair of NET verb ("-" for none) and start type, each log number ("#79.1").
std::map<std::string, int> Tally(const Events& events) {
    std::map<std::string, int> tally;
    std::string verb = "-";
    for (const std::string& e : events) {
        const std::string mode = e.substr(e.rfind(' ') + 1);
        if (e.rfind("run:cmd /c NET ", 0) == 0) verb = e.substr(15, e.find(' ', 15) - 15), ++tally["NET"];
        if (e.rfind("run:cmd /c sc config ", 0) == 0) ++tally["sc"], ++tally[mode], ++tally[verb + " " + mode], verb = "-";
        if (e.rfind("append:", 0) == 0) ++tally["line"], ++tally["#" + e.substr(7, e.find(':', 7) - 7)];
        if (e == "pump") ++tally["pump"];
        if (e == "hold") ++tally["held"];
    }
    tally["run"] = tally["NET"] + tally["sc"];
    return tally;
}

// The table's run as built from its rows, then the program's own run.
std::vector<Events> BothRuns(const Case& c, const Answers& a) { return {Expected(c, a), ProgramRun(c, a)}; }

void ExpectTallies(const Events& events, const std::map<std::string, int>& stated) {
    std::map<std::string, int> tally = Tally(events);
    for (const auto& [key, count] : stated) EXPECT_EQ(tally[key], count) << key;
}

TEST(Totals, AutomaticRunsFiftyNineOfItsSixtyRows) {
    EXPECT_EQ(LoadTable(kAutomatic.file).size(), 60u);
    for (int web = 0; web < 2; ++web)
        for (const Events& events : BothRuns(kAutomatic, FromBits(web ? 8u : 0u)))
            ExpectTallies(events, {{"run", 115}, {"NET", 56}, {"sc", 59}, {"line", 59}, {"pump", 59},
                                   {"disabled", 39 - web}, {"demand", 20}, {"auto", web}, {"start auto", web}, {"held", web}});
}

TEST(Totals, RestoreLaunchesNinetyEightLinesInFiveGroups) {
    EXPECT_EQ(LoadTable(kRestore.file).size(), 67u);
    for (const Events& events : BothRuns(kRestore, FromBits(15)))
        ExpectTallies(events, {{"run", 98}, {"NET", 31}, {"sc", 67}, {"line", 67}, {"pump", 67}, {"- demand", 36},
                               {"start auto", 20}, {"start demand", 2}, {"stop disabled", 8}, {"stop demand", 1},
                               {"auto", 20}, {"demand", 39}, {"disabled", 8}, {"#79.1", 2}, {"held", 22}});
    EXPECT_GE(kHoldLimitMs, 10000u) << "how long a held NET start waits for its sc config at most: 10 s or more";
}

TEST(Totals, GuidedRunsSixtyThreeToSixtySevenRows) {
    const Table rows = LoadTable(kGuided.file);
    EXPECT_EQ(rows.size(), 77u);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const Row& r) { return r.answer.empty(); }), 53);
    for (unsigned bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        const Answers a = FromBits(bits);
        for (const Events& events : BothRuns(kGuided, a)) {
            std::map<std::string, int> tally = Tally(events);
            EXPECT_TRUE(tally["line"] >= 63 && tally["line"] <= 67) << tally["line"];
            EXPECT_TRUE(tally["run"] >= 124 && tally["run"] <= 134) << tally["run"];
            // Only the Yes arms of the disc burner and imaging tests launch a single line.
            EXPECT_EQ(tally["run"], 2 * tally["line"] - a.UsesDiscBurner - a.UsesImagingDevice);
            EXPECT_EQ(tally["pump"], tally["line"] - a.UsesPrinter - a.HostsWebServer);
            // NET start: 3 rows in the printer's Yes arm; 9 in the web server's Yes arm, 1 in its No arm.
            EXPECT_EQ(tally["held"], 3 * a.UsesPrinter + (a.HostsWebServer ? 9 : 1));
            EXPECT_EQ(Count(events, "run:cmd /c NET start EventSystem"), 1u);
            EXPECT_EQ(Count(events, "run:cmd /c sc config EventSystem start= demand"), 1u);
            if (bits == 0 || bits == 15) {
                EXPECT_EQ(tally["run"], bits ? 132 : 126);
            }
        }
    }
}

}  // namespace
}  // namespace qelvane::test
