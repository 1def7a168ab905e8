#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/platform.h"
#include "platform/system_info.h"

namespace zv {
namespace {

SystemInfo* g_override = nullptr;

// PRETTY_NAME of /etc/os-release, without its quotes.
std::string DistributionName() {
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
        std::string value = line.substr(12);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return {};
}

}  // namespace

std::optional<std::string> LinuxSystemInfo::ComputerName() const {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return std::nullopt;
    return std::string(name);
}

std::optional<OsVersion> LinuxSystemInfo::Version() const {
    struct utsname uts {};
    if (::uname(&uts) != 0) return std::nullopt;
    OsVersion version;
    version.platform = 3;
    version.platformName = uts.sysname;
    version.servicePack = DistributionName();
    std::sscanf(uts.release, "%d.%d.%d", &version.major, &version.minor, &version.build);
    return version;
}

std::optional<MemoryStatus> LinuxSystemInfo::Memory() const {
    struct sysinfo info {};
    if (::sysinfo(&info) != 0) return std::nullopt;
    MemoryStatus status;
    std::uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
    status.totalPhysicalBytes = static_cast<std::uint64_t>(info.totalram) * unit;
    // Available memory counts page cache as free, as a user would expect.
    std::uint64_t available = static_cast<std::uint64_t>(info.freeram + info.bufferram) * unit;
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kb = 0;
    std::string unitText;
    while (meminfo >> key >> kb >> unitText) {
        if (key == "MemAvailable:") {
            available = kb * 1024;
            break;
        }
    }
    if (status.totalPhysicalBytes > 0 && available <= status.totalPhysicalBytes)
        status.memoryLoadPercent =
            static_cast<int>((status.totalPhysicalBytes - available) * 100 / status.totalPhysicalBytes);
    return status;
}

SystemInfo& CurrentSystemInfo() {
    static LinuxSystemInfo real;
    return g_override != nullptr ? *g_override : real;
}

void SetSystemInfo(SystemInfo* info) { g_override = info; }

int OsKindOf(bool userNameKnown, const std::optional<OsVersion>& version) {
    if (!userNameKnown) return 95;
    return version && version->platform == 1 ? 95 : 0;
}

int CurrentOsKind() {
    if (!CurrentPlatform().SystemUserName()) return OsKindOf(false, std::nullopt);
    return OsKindOf(true, CurrentSystemInfo().Version());
}

}  // namespace zv
