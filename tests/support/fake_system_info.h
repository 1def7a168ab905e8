#pragma once
// A SystemInfo whose answers the test sets; installs itself for its lifetime.
#include "platform/system_info.h"

namespace zv::test {

class FakeSystemInfo : public SystemInfo {
public:
    FakeSystemInfo() { SetSystemInfo(this); }
    ~FakeSystemInfo() override { SetSystemInfo(nullptr); }

    std::optional<std::string> ComputerName() const override { return computerName; }
    std::optional<OsVersion> Version() const override { return version; }
    std::optional<MemoryStatus> Memory() const override { return memory; }

    std::optional<std::string> computerName;
    std::optional<OsVersion> version;
    std::optional<MemoryStatus> memory;
};

}  // namespace zv::test
