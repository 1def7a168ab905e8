#pragma once
// The launcher's own command line. Arguments are compared exactly and every
// one is looked at, so an option may stand anywhere and a later one wins.
//   -d         ask before every program start
//   -u NAME    use NAME instead of the looked-up user name
//   -1         direct play: start the one-player engine, wait, end
//   -help      open the help pages beside the normal start
#include <optional>
#include <string>
#include <vector>

namespace zv {

// True when any argument, the program's own path included, is "-d".
bool HasConfirmFlag(const std::vector<std::string>& args);

// The name after the last "-u" that has a following argument; nothing when
// no "-u" has one.
std::optional<std::string> UserOverrideArgument(const std::vector<std::string>& args);

enum class StartAction { DirectPlay, OpenHelp };

// The "-1" and "-help" arguments after the program path, in their order.
std::vector<StartAction> StartActions(const std::vector<std::string>& args);

}  // namespace zv
