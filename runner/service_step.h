// One row of a profile table and the two command lines formed from it.
#pragma once

#include <string>
#include <string_view>

namespace qelvane {

enum class NetVerb : unsigned char { None, Stop, Start };
enum class StartMode : unsigned char { Disabled, Demand, Auto };

struct ServiceStep {
    // Key name exactly as written into both command lines; names with blanks
    // carry their own double quotes.
    std::string_view service;
    NetVerb verb = NetVerb::None;
    StartMode mode = StartMode::Disabled;
    std::string_view logLine;
    bool pumpAfter = true;
};

std::string_view VerbWord(NetVerb verb);       // "stop", "start", "" for None
std::string_view ModeWord(StartMode mode);     // "disabled", "demand", "auto"
std::string_view ModeLogWord(StartMode mode);  // "禁用", "手动", "自动"

// "cmd /c NET <verb> <service>"; empty when the step has no verb.
std::string NetCommandLine(const ServiceStep& step);
// "cmd /c sc config <service> start= <mode>"
std::string ScCommandLine(const ServiceStep& step);

}  // namespace qelvane
