// Time the runner spends on its own in a complete automatic run: nothing is launched and
// nothing pumped; each append adds its text at the log's end, as the window inserts it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "profiles/profiles.h"

namespace {

class SilentHost final : public qelvane::RunnerHost {
public:
    qelvane::LaunchResult RunHidden(const std::string&, qelvane::Hold) override { return {true, {}}; }
    void PumpEvents() override {}
    void AppendLogText(std::string_view text) override { log_ += text; }
    void SetProgressCaption(std::string_view caption) override { caption_ = caption; }
    void SetProgressStatus(std::string_view status) override { status_ = status; }
    void EnableProgressExit() override { exitEnabled_ = true; }

    std::size_t LogSize() const { return log_.size(); }

private:
    std::string log_;
    std::string caption_;
    std::string status_;
    bool exitEnabled_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const long runs = argc > 1 ? std::atol(argv[1]) : 10000;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: %s [runs]\n", argv[0]);
        return 2;
    }
    const qelvane::Answers answers;
    const std::size_t rowsPerRun = qelvane::AutomaticProfile().count - 1;  // one arm of the branch runs
    std::size_t logBytes = 0;

    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < runs; ++i) {
        SilentHost host;  // each run into a freshly loaded window
        if (qelvane::ExecuteProfile(qelvane::AutomaticProfile(), answers, host) != qelvane::RunOutcome::Completed)
            return 1;
        logBytes += host.LogSize();
    }
    const auto elapsed = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();

    std::printf("%ld runs, %zu rows each, %zu log bytes each\n", runs, rowsPerRun, logBytes / runs);
    std::printf("%.0f ns per run, %.0f ns per row\n", elapsed / runs, elapsed / (runs * double(rowsPerRun)));
    return 0;
}
