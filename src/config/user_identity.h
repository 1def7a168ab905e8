#pragma once
// Who the user is and where their files live: usr/<name>/ below the
// installation directory. Characters use the same layout.
#include <optional>
#include <string>

namespace zv {

class MessageDialogs;
struct LauncherSettings;

enum class RegistryRoot { LocalMachine };

enum class UserNameSources {
    Launcher,      // the system, then three registry values
    WithWinlogon,  // the same, then the Winlogon default user name
};

// The first user name the sources give (each cut to 255 bytes), or nothing.
std::optional<std::string> FindUserName(UserNameSources sources = UserNameSources::Launcher);

// The user name: the system's, then three registry values, then "unknown";
// a non-empty `userOverride` (-u) replaces whatever was found.
std::string LookupUserName(const std::string& userOverride);

// Reads a registry value into `buffer` (at most 255 bytes kept); true when
// the key and value exist.
bool ReadRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        std::string& buffer);

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

// True when the name can be one directory directly below usr/: not empty,
// not "." or "..", no '/' or NUL, at most 255 bytes in CP932. Nor may it hold
// '"' or '\', which would end or escape the quotes around the name in the
// engines' command lines.
bool IsSafeDirectoryName(const std::string& name);

// Sets UserName and UserDir. A name that cannot name a directory below usr/
// is refused with an error dialog, and the looked-up system name (or
// "unknown") is used instead.
void SettleUser(LauncherSettings& settings, MessageDialogs& dialogs);

// Creates usr/ and the user directory when missing; reports problems.
void EnsureUserDirectory(const std::string& installDir, const std::string& userDir, MessageDialogs& dialogs);

}  // namespace zv
