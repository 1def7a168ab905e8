#pragma once
// The operating-system layer. Everything the launcher asks of the system goes
// through one Platform object, so that tests can put a fake in its place and a
// port to another system adds one implementation beside the Linux one.
//
// The class is abstract: LinuxPlatform answers from the running system, and a
// test double either answers every question itself or derives from
// LinuxPlatform to say that the rest comes from the real system.
#include <optional>
#include <string>

namespace zv {

class Platform {
public:
    virtual ~Platform() = default;

    // Directory of the running executable, with a trailing separator. Every
    // data path is built from it; the current directory is never used.
    virtual std::string InstallDir() const = 0;

    // The logged-on user's name (GetUserNameA): at most 255 bytes, or nothing
    // when the system cannot tell.
    virtual std::optional<std::string> SystemUserName() const = 0;

    // Read-only registry below HKEY_LOCAL_MACHINE. `keyPath` uses backslashes
    // as on Windows ("System\\CurrentControlSet\\control"). On Linux only the
    // values that have a real counterpart answer; all others are missing.
    virtual std::optional<std::string> ReadRegistryValue(const std::string& keyPath,
                                                         const std::string& valueName) const = 0;
};

// The running Linux system.
class LinuxPlatform : public Platform {
public:
    std::string InstallDir() const override;
    std::optional<std::string> SystemUserName() const override;
    std::optional<std::string> ReadRegistryValue(const std::string& keyPath,
                                                 const std::string& valueName) const override;
};

// The process-wide platform. Defaults to the real system.
Platform& CurrentPlatform();

// Replaces the process-wide platform (tests); nullptr restores the real one.
void SetPlatform(Platform* platform);

// Directory of the running executable with a trailing '/', from /proc/self/exe.
std::string ExecutableDir();

}  // namespace zv
