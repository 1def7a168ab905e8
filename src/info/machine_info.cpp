#include "info/machine_info.h"

#include "config/user_identity.h"
#include "platform/platform.h"
#include "platform/system_info.h"

namespace zv {
namespace {

std::string RegistryOrUnknown(const char* key, const char* value) {
    std::string buffer;
    if (ReadRegistryString(RegistryRoot::LocalMachine, key, value, buffer)) return buffer;
    return "unknown";
}

std::string PlatformName(const OsVersion& version) {
    switch (version.platform) {
        case 0:
            return "Win32s on Windows 3.1";
        case 1:
            return "Windows 95";
        case 2:
            return "Windows NT";
        default:
            return version.platformName.empty() ? "unknown" : version.platformName;
    }
}

}  // namespace

MachineInfo GatherMachineInfo(int bitsPerPixel) {
    MachineInfo info;
    if (auto user = CurrentPlatform().SystemUserName()) {
        info.User = *user;
        if (auto computer = CurrentSystemInfo().ComputerName()) info.Comp = computer->substr(0, 255);
        if (auto version = CurrentSystemInfo().Version()) {
            info.OS = PlatformName(*version) + " " + version->servicePack;
            info.OSversion = std::to_string(version->major) + "." + std::to_string(version->minor) + " " +
                             std::to_string(version->build);
        }
    } else {
        info.User = LookupUserName("");
        info.Comp = RegistryOrUnknown("System\\CurrentControlSet\\control\\ComputerName\\ComputerName",
                                      "ComputerName");
        info.OS = RegistryOrUnknown("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Version");
        info.OSversion = RegistryOrUnknown("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "VersionNumber");
    }
    info.InstallFolder = CurrentPlatform().InstallDir();
    info.disp = ColorDepthName(bitsPerPixel);
    return info;
}

std::string ColorDepthName(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return "Mono";
        case 4:
            return "16 色";
        case 8:
            return "256 色";
        case 16:
            return "65535 色";
        default:
            return bitsPerPixel >= 24 ? "True Color" : "不明";
    }
}

std::string FormatPhysicalMemory(std::uint64_t bytes) {
    std::string digits = std::to_string((bytes + 512) / 1024);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped + " KB";
}

std::string FormatMemoryLoad(int percent) { return std::to_string(percent) + " %"; }

}  // namespace zv
