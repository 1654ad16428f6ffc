// The four answers of the questionnaire, held for the life of the process in Module1,
// the module of shared variables; the runs read them at their tests.
#pragma once

namespace qelvane {

enum class Answer : unsigned char { UsesDiscBurner, UsesPrinter, UsesImagingDevice, HostsWebServer };

struct Answers {
    bool UsesDiscBurner = false;
    bool UsesPrinter = false;
    bool UsesImagingDevice = false;
    bool HostsWebServer = false;

    bool Get(Answer which) const;
    void Set(Answer which, bool value);
};

namespace Module1 {
// Written only by the answer buttons of the question windows; read by the runs
// at the moment they reach a test.
extern Answers answers;
}  // namespace Module1

}  // namespace qelvane
