// A fake platform that records every call a run makes, the three tables as written down
// by hand in tests/data, and the run each table must produce, built from its rows alone.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "profiles/profiles.h"

namespace qelvane::test {

using Events = std::vector<std::string>;

struct FakeHost final : RunnerHost {
    // In call order: "hold" (the launch that follows is held), "run:<command line>", "append:<text>", "pump",
    // "caption:<text>", "status:<text>", "exit".
    Events events;
    std::function<void()> onPump;                           // acts like the user inside each pump
    std::function<LaunchResult(const std::string&)> onRun;  // every launch starts when empty

    LaunchResult RunHidden(const std::string& line, Hold hold) override {
        if (hold == Hold::UntilNextLaunchEnds) events.push_back("hold");
        events.push_back("run:" + line);
        return onRun ? onRun(line) : LaunchResult{true, {}};
    }
    void PumpEvents() override {
        events.push_back("pump");
        if (auto hook = onPump) hook();  // a copy: the hook may replace onPump
    }
    void AppendLogText(std::string_view text) override { events.push_back("append:" + std::string(text)); }
    void SetProgressCaption(std::string_view text) override { events.push_back("caption:" + std::string(text)); }
    void SetProgressStatus(std::string_view text) override { events.push_back("status:" + std::string(text)); }
    void EnableProgressExit() override { events.push_back("exit"); }
};

struct Row {
    std::string answer;  // empty when the row runs always
    bool yes = false;    // the arm the row stands in
    std::string service, verb, mode, log;  // verb empty when the row has no NET line
};
using Table = std::vector<Row>;

// One line per row: | # | When | `Service` | NET | start= | "Log line" |
inline Table LoadTable(const std::string& file) {
    std::ifstream in(std::string(QELVANE_DATA_DIR) + "/" + file);
    EXPECT_TRUE(in) << file;
    Table rows;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream split(line);
        for (std::string cell; std::getline(split, cell, '|');) {
            const std::size_t first = cell.find_first_not_of(' ');
            const std::size_t end = cell.find_last_not_of(' ') + 1;
            cells.push_back(first == std::string::npos ? "" : cell.substr(first, end - first));
        }
        if (cells.size() != 7 || cells[1] != std::to_string(rows.size() + 1)) {
            ADD_FAILURE() << file << " row " << rows.size() + 1 << ": " << line;
            continue;
        }
        const std::size_t tick = cells[2].rfind('`');
        rows.push_back({cells[2] == "always" ? "" : cells[2].substr(1, tick - 1), cells[2].substr(tick + 1) == " Yes",
                        cells[3].substr(1, cells[3].size() - 2), cells[4] == "—" ? "" : cells[4], cells[5],
                        cells[6].substr(1, cells[6].size() - 2)});
    }
    return rows;
}

// Answer i of a combination is its bit i.
inline constexpr std::pair<const char*, bool Answers::*> kAnswers[] = {
    {"UsesDiscBurner", &Answers::UsesDiscBurner}, {"UsesPrinter", &Answers::UsesPrinter},
    {"UsesImagingDevice", &Answers::UsesImagingDevice}, {"HostsWebServer", &Answers::HostsWebServer}};

inline Answers FromBits(unsigned bits) {
    Answers answers;
    for (unsigned i = 0; i < 4; ++i) answers.*kAnswers[i].second = (bits >> i & 1u) != 0;
    return answers;
}

inline bool ValueOf(const Answers& answers, const std::string& name) {
    for (const auto& [answer, field] : kAnswers)
        if (name == answer) return answers.*field;
    ADD_FAILURE() << "no answer named " << name;
    return false;
}

struct Case {
    const char* file;
    const Profile& (*profile)();
    Events unpumped;  // log lines after which the run goes on without a pump
};
// The guided table runs two rows without a pump: the Server line follows the NT LM
// line at once, and the last row's commands follow the Event Log line.
inline const Case kGuided{"guided.txt", GuidedProfile,
                          {"37:NT LM Security Support Provider:自动", "79.7:Event Log:自动"}};
inline const Case kAutomatic{"automatic.txt", AutomaticProfile, {}};
inline const Case kRestore{"restore.txt", RestoreProfile, {}};

// Acts like the user inside a pump: sees the events so far, may change the answers.
using Hook = std::function<void(Answers&, const Events&)>;

// The run of a table. Adjacent rows under a condition form one test, whose answer is read
// when the run reaches its first row. Every row but the last launches its NET line if it
// has a verb, held when the verb is start, then its sc line, appends its log line and pumps;
// the last one closes the run.
inline Events Expected(const Case& c, Answers answers, const Hook& hook = {}) {
    const Table rows = LoadTable(c.file);
    Events events;
    const auto pump = [&] {
        events.push_back("pump");
        if (hook) hook(answers, events);
    };
    bool arm = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        if (!row.answer.empty() && (i == 0 || rows[i - 1].answer.empty())) arm = ValueOf(answers, row.answer);
        if (!row.answer.empty() && row.yes != arm) continue;
        if (row.verb == "start") events.push_back("hold");
        if (!row.verb.empty()) events.push_back("run:cmd /c NET " + row.verb + " " + row.service);
        events.push_back("run:cmd /c sc config " + row.service + " start= " + row.mode);
        if (i + 1 < rows.size()) {
            events.push_back("append:" + row.log + "\r\n");
            if (std::count(c.unpumped.begin(), c.unpumped.end(), row.log) == 0) pump();
            continue;
        }
        events.push_back("append:" + row.log + "\r\n" + std::string(59, '-') + "\r\n优化已经完成！");
        pump();
        events.insert(events.end(), {"caption:优化完成！", "status:优化完成！", "exit"});
    }
    return events;
}

inline Events ProgramRun(const Case& c, Answers answers, const Hook& hook = {}) {
    FakeHost host;
    host.onPump = [&] {
        if (hook) hook(answers, host.events);
    };
    EXPECT_EQ(ExecuteProfile(c.profile(), answers, host), RunOutcome::Completed) << c.file;
    return host.events;
}

inline std::size_t Count(const Events& events, const std::string& event) {
    return std::count(events.begin(), events.end(), event);
}

// Where two runs part; empty when they agree.
inline std::string FirstDifference(const Events& actual, const Events& expected) {
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end()) return "";
    return "event " + std::to_string(a - actual.begin()) + ": got [" + (a == actual.end() ? "end" : *a) +
           "], expected [" + (e == expected.end() ? "end" : *e) + "]";
}

}  // namespace qelvane::test
