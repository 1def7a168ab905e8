#pragma once
// The invoker's work: take the first line of command/zvcomm.arg below the
// installation directory, fill in the installation directory and the user's
// name, and start the result as a program.
#include <optional>
#include <string>

namespace zv {

class ProcessStarter;

inline constexpr const char* kExeDirMarker = "$(EXEDIR)";
inline constexpr const char* kUserMarker = "$(USER)";

// Replaces every "$(EXEDIR)" with `installDir` and every "$(USER)" with
// `userName` (markers are case-sensitive). The template is read once from
// left to right and inserted text is never looked at again, so a directory
// or name that itself contains a marker is taken literally.
std::string SubstituteMarkers(const std::string& commandTemplate, const std::string& installDir,
                              const std::string& userName);

// The user name as the invoker settles it: the system's user name, then the
// registry values of the launcher's lookup, then the Winlogon default user
// name, else "unknown". No command-line override exists.
std::string InvokerUserName();

// The first line of `installDir` + "command/zvcomm.arg", decoded from CP932
// (further lines are ignored); nothing when the file cannot be read.
std::optional<std::string> ReadCommandTemplate(const std::string& installDir);

// Reads the template, substitutes and starts the command line shown
// normally. Returns the command line started, or nothing when the file is
// missing or its first line is empty. The start's result is not examined.
std::optional<std::string> InvokeCommand(const std::string& installDir, const std::string& userName,
                                         ProcessStarter& starter);

}  // namespace zv
