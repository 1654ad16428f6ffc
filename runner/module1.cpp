#include "runner/module1.h"

namespace qelvane {

namespace Module1 {
Answers answers;
}  // namespace Module1

bool Answers::Get(Answer which) const {
    switch (which) {
    case Answer::UsesDiscBurner: return UsesDiscBurner;
    case Answer::UsesPrinter: return UsesPrinter;
    case Answer::UsesImagingDevice: return UsesImagingDevice;
    case Answer::HostsWebServer: return HostsWebServer;
    }
    return false;
}

void Answers::Set(Answer which, bool value) {
    switch (which) {
    case Answer::UsesDiscBurner: UsesDiscBurner = value; break;
    case Answer::UsesPrinter: UsesPrinter = value; break;
    case Answer::UsesImagingDevice: UsesImagingDevice = value; break;
    case Answer::HostsWebServer: HostsWebServer = value; break;
    }
}

}  // namespace qelvane
