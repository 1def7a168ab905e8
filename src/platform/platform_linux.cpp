#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"
#include "platform/system_info.h"

namespace zv {
namespace {

Platform* g_override = nullptr;

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

}  // namespace

std::string ExecutableDir() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string dir = ec ? std::string(".") : exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string LinuxPlatform::InstallDir() const {
    static const std::string dir = ExecutableDir();
    return dir;
}

std::optional<std::string> LinuxPlatform::SystemUserName() const {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    std::string name = found->pw_name != nullptr ? found->pw_name : "";
    if (name.empty() || name.size() > 255) return std::nullopt;
    return name;
}

std::optional<std::string> LinuxPlatform::ReadRegistryValue(const std::string& keyPath,
                                                            const std::string& valueName) const {
    // Values with a real counterpart on Linux: the login environment's user,
    // the host name and the system's name and version. Nothing else exists.
    if (keyPath == "System\\CurrentControlSet\\control" && valueName == "Current User") {
        auto name = Environment("LOGNAME");
        if (!name) name = Environment("USER");
        if (name && name->size() <= 255) return name;
    } else if (keyPath == "System\\CurrentControlSet\\control\\ComputerName\\ComputerName" &&
               valueName == "ComputerName") {
        return CurrentSystemInfo().ComputerName();
    } else if (keyPath == "SOFTWARE\\Microsoft\\Windows\\CurrentVersion") {
        auto version = CurrentSystemInfo().Version();
        if (!version) return std::nullopt;
        if (valueName == "Version") return version->platformName;
        if (valueName == "VersionNumber")
            return std::to_string(version->major) + "." + std::to_string(version->minor) + "." +
                   std::to_string(version->build);
    }
    return std::nullopt;
}

Platform& CurrentPlatform() {
    static LinuxPlatform real;
    return g_override != nullptr ? *g_override : real;
}

void SetPlatform(Platform* platform) { g_override = platform; }

}  // namespace zv
