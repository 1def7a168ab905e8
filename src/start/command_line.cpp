#include "start/command_line.h"

namespace zv {

bool HasConfirmFlag(const std::vector<std::string>& args) {
    for (const auto& arg : args)
        if (arg == "-d") return true;
    return false;
}

std::optional<std::string> UserOverrideArgument(const std::vector<std::string>& args) {
    std::optional<std::string> name;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == "-u" && i + 1 < args.size()) name = args[i + 1];
    return name;
}

std::vector<StartAction> StartActions(const std::vector<std::string>& args) {
    std::vector<StartAction> actions;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-1") actions.push_back(StartAction::DirectPlay);
        if (args[i] == "-help") actions.push_back(StartAction::OpenHelp);
    }
    return actions;
}

}  // namespace zv
