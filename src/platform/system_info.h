#pragma once
// Facts about the machine: its name, the operating system and the memory.
// The class is abstract; LinuxSystemInfo answers from the running system, and
// tests install a double with SetSystemInfo.
#include <cstdint>
#include <optional>
#include <string>

namespace zv {

struct OsVersion {
    int platform = -1;         // 0 Win32s, 1 the 95 family, 2 NT; 3 for Linux
    std::string platformName;  // e.g. "Linux"
    std::string servicePack;   // extra text: the distribution's name
    int major = 0;
    int minor = 0;
    int build = 0;
};

struct MemoryStatus {
    std::uint64_t totalPhysicalBytes = 0;
    int memoryLoadPercent = 0;  // share of physical memory in use
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::optional<std::string> ComputerName() const = 0;
    virtual std::optional<OsVersion> Version() const = 0;
    virtual std::optional<MemoryStatus> Memory() const = 0;
};

// The running Linux system.
class LinuxSystemInfo : public SystemInfo {
public:
    std::optional<std::string> ComputerName() const override;
    std::optional<OsVersion> Version() const override;
    std::optional<MemoryStatus> Memory() const override;
};

SystemInfo& CurrentSystemInfo();
void SetSystemInfo(SystemInfo* info);

// Which family of systems the hosts-file lookup reckons with: 95 when the
// system counts as the 95 family, or when the user's name cannot be read (the
// version is then not asked for); else 0.
int OsKindOf(bool userNameKnown, const std::optional<OsVersion>& version);
// The same for the current platform and system facts.
int CurrentOsKind();

}  // namespace zv
