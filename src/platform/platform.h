#pragma once
// The operating-system layer. Everything the launcher asks of the system goes
// through one Platform object, so that tests can put a fake in its place and a
// port to another system adds one implementation beside the Linux one.
//
// The base class *is* the Linux implementation: each virtual answers from the
// running system. Fakes override only what a test needs.
#include <optional>
#include <string>

namespace zv {

class Platform {
public:
    virtual ~Platform() = default;

    // Directory of the running executable, with a trailing separator. Every
    // data path is built from it; the current directory is never used.
    virtual std::string InstallDir() const;

    // The logged-on user's name (GetUserNameA): at most 255 bytes, or nothing
    // when the system cannot tell.
    virtual std::optional<std::string> SystemUserName() const;

    // Read-only registry below HKEY_LOCAL_MACHINE. `keyPath` uses backslashes
    // as on Windows ("System\\CurrentControlSet\\control"). On Linux only the
    // values that have a real counterpart answer; all others are missing.
    virtual std::optional<std::string> ReadRegistryValue(const std::string& keyPath,
                                                         const std::string& valueName) const;
};

// The process-wide platform. Defaults to the real system.
Platform& CurrentPlatform();

// Replaces the process-wide platform (tests); nullptr restores the real one.
void SetPlatform(Platform* platform);

// Directory of the running executable with a trailing '/', from /proc/self/exe.
std::string ExecutableDir();

}  // namespace zv
