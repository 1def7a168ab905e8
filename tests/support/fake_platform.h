#pragma once
// A Platform whose answers the test sets; installs itself for its lifetime.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace zv::test {

class FakePlatform : public Platform {
public:
    FakePlatform() { SetPlatform(this); }
    ~FakePlatform() override { SetPlatform(nullptr); }

    std::string InstallDir() const override { return installDir; }
    std::optional<std::string> SystemUserName() const override { return userName; }
    std::optional<std::string> ReadRegistryValue(const std::string& key,
                                                 const std::string& value) const override {
        auto found = registry.find({key, value});
        if (found == registry.end()) return std::nullopt;
        return found->second;
    }

    std::string installDir = "/nonexistent/";
    std::optional<std::string> userName;
    std::map<std::pair<std::string, std::string>, std::string> registry;
};

}  // namespace zv::test
