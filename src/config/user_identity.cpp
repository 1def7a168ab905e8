#include "config/user_identity.h"

#include <string_view>

#include "config/codec.h"
#include "config/launcher_settings.h"
#include "config/message_dialogs.h"
#include "platform/env.h"
#include "platform/platform.h"

namespace zv {
namespace {

constexpr std::size_t kNameBuffer = 255;

std::string LookupSystemName() { return FindUserName().value_or("unknown"); }

bool MakeDirectory(const std::string& path) { return CurrentEnv().CreateFolder(path); }

}  // namespace

bool ReadRegistryString(RegistryRoot, const std::string& keyPath, const std::string& valueName,
                        std::string& buffer) {
    auto value = CurrentPlatform().ReadRegistryValue(keyPath, valueName);
    if (!value) return false;
    buffer = value->substr(0, kNameBuffer);
    return true;
}

std::optional<std::string> FindUserName(UserNameSources sources) {
    if (auto name = CurrentPlatform().SystemUserName(); name && !name->empty())
        return name->substr(0, kNameBuffer);
    static const struct {
        const char* key;
        const char* value;
    } kRegistrySources[] = {
        {"Network\\Logon", "username"},
        {"System\\CurrentControlSet\\control", "Current User"},
        {"SOFTWARE\\Microsoft\\Windows\\Current\\Version", "Registered Owner"},
        {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DefaultUserName"},
    };
    std::size_t count = std::size(kRegistrySources) - (sources == UserNameSources::Launcher ? 1 : 0);
    for (std::size_t i = 0; i < count; ++i) {
        std::string buffer;
        if (ReadRegistryString(RegistryRoot::LocalMachine, kRegistrySources[i].key, kRegistrySources[i].value,
                               buffer) &&
            !buffer.empty())
            return buffer;
    }
    return std::nullopt;
}

std::string LookupUserName(const std::string& userOverride) {
    if (!userOverride.empty()) return userOverride;
    return LookupSystemName();
}

bool PathExists(const std::string& path) { return CurrentEnv().Exists(path); }

bool IsDirectory(const std::string& path) { return CurrentEnv().IsFolder(path); }

bool IsSafeDirectoryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\"\\\0", 4)) == std::string::npos &&
           Cp932Width(name) <= kNameBuffer;
}

void SettleUser(LauncherSettings& settings, MessageDialogs& dialogs) {
    std::string name = LookupUserName(settings.UserOverride);
    if (!IsSafeDirectoryName(name)) {
        dialogs.ShowErrorDialog(name, "このユーザ名はディレクトリ名に使えません",
                                "システムのユーザ名で起動します");
        name = LookupSystemName();
        if (!IsSafeDirectoryName(name)) name = "unknown";
    }
    settings.UserName = name;
    settings.UserDir = CurrentPlatform().InstallDir() + "usr/" + name;
}

void EnsureUserDirectory(const std::string& installDir, const std::string& userDir, MessageDialogs& dialogs) {
    std::string usr = installDir + "usr";
    if (!PathExists(usr) && !MakeDirectory(usr)) {
        dialogs.ShowErrorDialog(usr, "ユーザ情報用ディレクトリを作成できませんでした",
                                "パーミッションを確認してください");
        return;
    }
    if (PathExists(userDir)) {
        if (!IsDirectory(userDir))
            dialogs.ShowErrorDialog(userDir, "ユーザ情報用ディレクトリが誤っています",
                                    "ディレクトリではありません");
        return;
    }
    if (!MakeDirectory(userDir))
        dialogs.ShowErrorDialog(userDir, "ユーザ情報用ディレクトリを作成できませんでした",
                                "パーミッションを確認してください");
}

}  // namespace zv
