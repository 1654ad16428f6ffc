// The totals that the three tables state, checked on the tables as written down (the program's runs follow the
// tables: profile_run_test.cpp).
#include "run_model.h"

namespace qelvane::test {
namespace {

// Counts of a run's events: "run", "NET", "sc", "held", "line" (one per append), "pump", each
// start type, each pair of NET verb ("-" for none) and start type, each log number ("#79.1").
std::map<std::string, int> Tally(const Events& events) {
    std::map<std::string, int> tally;
    std::string verb = "-";
    for (const std::string& e : events) {
        const std::string mode = e.substr(e.rfind(' ') + 1);
        if (e.rfind("run:cmd /c NET ", 0) == 0) {
            verb = e.substr(15, e.find(' ', 15) - 15);
            ++tally["NET"];
        }
        if (e.rfind("run:cmd /c sc config ", 0) == 0) {
            for (const std::string& key : {std::string("sc"), mode, verb + " " + mode}) ++tally[key];
            verb = "-";
        }
        if (e.rfind("append:", 0) == 0) {
            ++tally["line"];
            ++tally["#" + e.substr(7, e.find(':', 7) - 7)];
        }
        if (e == "pump") ++tally["pump"];
        if (e == "hold") ++tally["held"];
    }
    tally["run"] = tally["NET"] + tally["sc"];
    return tally;
}

void ExpectTallies(const Events& events, const std::map<std::string, int>& stated) {
    std::map<std::string, int> tally = Tally(events);
    for (const auto& [key, count] : stated) EXPECT_EQ(tally[key], count) << "count of " << key;
}

TEST(Totals, AutomaticRunsFiftyNineOfItsSixtyRows) {
    EXPECT_EQ(LoadTable(kAutomatic.file).size(), 60u) << "rows";
    for (int web = 0; web < 2; ++web) {
        SCOPED_TRACE(web ? "web server" : "no web server");
        ExpectTallies(Expected(kAutomatic, FromBits(web ? 8u : 0u)),
                      {{"run", 115}, {"NET", 56}, {"sc", 59}, {"line", 59}, {"pump", 59}, {"disabled", 39 - web},
                       {"demand", 20}, {"auto", web}, {"start auto", web}, {"held", web}});
    }
}

TEST(Totals, RestoreLaunchesNinetyEightLinesInFiveGroups) {
    EXPECT_EQ(LoadTable(kRestore.file).size(), 67u) << "rows";
    ExpectTallies(Expected(kRestore, FromBits(15)),
                  {{"run", 98}, {"NET", 31}, {"sc", 67}, {"line", 67}, {"pump", 67}, {"- demand", 36},
                   {"start auto", 20}, {"start demand", 2}, {"stop disabled", 8}, {"stop demand", 1},
                   {"auto", 20}, {"demand", 39}, {"disabled", 8}, {"#79.1", 2}, {"held", 22}});
    EXPECT_GE(kHoldLimitMs, 10000u) << "how long a held NET start waits for its sc config at most: 10 s or more";
}

TEST(Totals, GuidedRunsSixtyThreeToSixtySevenRows) {
    const Table rows = LoadTable(kGuided.file);
    EXPECT_EQ(rows.size(), 77u) << "rows";
    const auto always = std::count_if(rows.begin(), rows.end(), [](const Row& r) { return r.answer.empty(); });
    EXPECT_EQ(always, 53) << "rows under no condition";
    for (unsigned bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        const Answers a = FromBits(bits);
        const Events events = Expected(kGuided, a);
        std::map<std::string, int> tally = Tally(events);
        EXPECT_GE(tally["line"], 63) << "log lines";
        EXPECT_LE(tally["line"], 67) << "log lines";
        EXPECT_GE(tally["run"], 124) << "launches";
        EXPECT_LE(tally["run"], 134) << "launches";
        // Only the Yes arms of the disc burner and imaging tests launch a single line.
        EXPECT_EQ(tally["run"], 2 * tally["line"] - a.UsesDiscBurner - a.UsesImagingDevice) << "launches";
        EXPECT_EQ(tally["pump"], tally["line"] - a.UsesPrinter - a.HostsWebServer) << "pumps";
        // NET start: 3 rows in the printer's Yes arm; 9 in the web server's Yes arm, 1 in its No arm.
        EXPECT_EQ(tally["held"], 3 * a.UsesPrinter + (a.HostsWebServer ? 9 : 1)) << "held launches";
        EXPECT_EQ(Count(events, "run:cmd /c NET start EventSystem"), 1u) << "NET start EventSystem";
        EXPECT_EQ(Count(events, "run:cmd /c sc config EventSystem start= demand"), 1u) << "EventSystem on demand";
        if (bits == 0 || bits == 15) {
            EXPECT_EQ(tally["run"], bits ? 132 : 126) << "launches";
        }
    }
}

}  // namespace
}  // namespace qelvane::test
