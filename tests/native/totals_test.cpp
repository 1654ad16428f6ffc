// The totals that the restore table states, checked on the table as written down (the program's runs follow
// the tables: profile_run_test.cpp).
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

TEST(Totals, RestoreLaunchesNinetyEightLinesInFiveGroups) {
    EXPECT_EQ(LoadTable(kRestore.file).size(), 67u) << "rows";
    ExpectTallies(Expected(kRestore, FromBits(15)),
                  {{"run", 98}, {"NET", 31}, {"sc", 67}, {"line", 67}, {"pump", 67}, {"- demand", 36},
                   {"start auto", 20}, {"start demand", 2}, {"stop disabled", 8}, {"stop demand", 1},
                   {"auto", 20}, {"demand", 39}, {"disabled", 8}, {"#79.1", 2}, {"held", 22}});
    EXPECT_GE(kHoldLimitMs, 10000u) << "how long a held NET start waits for its sc config at most: 10 s or more";
}

}  // namespace
}  // namespace qelvane::test
