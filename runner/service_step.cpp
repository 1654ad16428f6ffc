#include "runner/service_step.h"

namespace qelvane {

std::string_view VerbWord(NetVerb verb) {
    switch (verb) {
    case NetVerb::Stop: return "stop";
    case NetVerb::Start: return "start";
    case NetVerb::None: break;
    }
    return {};
}

std::string_view ModeWord(StartMode mode) {
    switch (mode) {
    case StartMode::Disabled: return "disabled";
    case StartMode::Demand: return "demand";
    case StartMode::Auto: return "auto";
    }
    return {};
}

std::string_view ModeLogWord(StartMode mode) {
    switch (mode) {
    case StartMode::Disabled: return "禁用";
    case StartMode::Demand: return "手动";
    case StartMode::Auto: return "自动";
    }
    return {};
}

std::string NetCommandLine(const ServiceStep& step) {
    if (step.verb == NetVerb::None) return {};
    std::string line = "cmd /c NET ";
    line += VerbWord(step.verb);
    line += ' ';
    line += step.service;
    return line;
}

std::string ScCommandLine(const ServiceStep& step) {
    std::string line = "cmd /c sc config ";
    line += step.service;
    line += " start= ";
    line += ModeWord(step.mode);
    return line;
}

}  // namespace qelvane
