// Prints what a run of one profile launches and logs for given answers, from the
// program's own tables: the reference the end-to-end tests hold the shipped
// program to. Usage: profile_dump guided|automatic|restore DISC PRINTER IMAGING WEB
// (each 0 or 1). Output: "RUN <command line>" lines, then "LOG" and the log text.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "profiles/profiles.h"

namespace {

class RecordingHost : public qelvane::RunnerHost {
public:
    std::string log;
    qelvane::LaunchResult RunHidden(const std::string& commandLine) override {
        std::printf("RUN %s\n", commandLine.c_str());
        return {true, {}};
    }
    void PumpEvents() override {}
    void AppendLogText(std::string_view text) override { log += text; }
    void SetProgressCaption(std::string_view) override {}
    void SetProgressStatus(std::string_view) override {}
    void EnableProgressExit() override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    _setmode(_fileno(stdout), _O_BINARY);  // the log's CR LF must come out unchanged
    const char* name = argv[1];
    const qelvane::Profile& profile = std::strcmp(name, "guided") == 0      ? qelvane::GuidedProfile()
                                      : std::strcmp(name, "automatic") == 0 ? qelvane::AutomaticProfile()
                                                                            : qelvane::RestoreProfile();
    qelvane::Answers answers;
    answers.UsesDiscBurner = argv[2][0] == '1';
    answers.UsesPrinter = argv[3][0] == '1';
    answers.UsesImagingDevice = argv[4][0] == '1';
    answers.HostsWebServer = argv[5][0] == '1';
    RecordingHost host;
    qelvane::ExecuteProfile(profile, answers, host);
    std::printf("LOG\n");
    std::fwrite(host.log.data(), 1, host.log.size(), stdout);
    return 0;
}
