#include "invoker/command_template.h"

#include <algorithm>
#include <string_view>

#include "config/file_io.h"
#include "config/user_identity.h"
#include "platform/platform.h"
#include "platform/process.h"

namespace zv {

std::string SubstituteMarkers(const std::string& commandTemplate, const std::string& installDir,
                              const std::string& userName) {
    const std::string_view exeDir = kExeDirMarker;
    const std::string_view user = kUserMarker;
    std::string result;
    std::size_t pos = 0;
    while (pos < commandTemplate.size()) {
        std::size_t atExeDir = commandTemplate.find(exeDir, pos);
        std::size_t atUser = commandTemplate.find(user, pos);
        std::size_t at = std::min(atExeDir, atUser);
        if (at == std::string::npos) break;
        result.append(commandTemplate, pos, at - pos);
        if (at == atExeDir) {
            result += installDir;
            pos = at + exeDir.size();
        } else {
            result += userName;
            pos = at + user.size();
        }
    }
    if (pos < commandTemplate.size()) result.append(commandTemplate, pos, std::string::npos);
    return result;
}

std::string InvokerUserName() { return FindUserName(UserNameSources::WithWinlogon).value_or("unknown"); }

std::optional<std::string> ReadCommandTemplate(const std::string& installDir) {
    auto text = ReadTextFile(installDir + "command/zvcomm.arg");
    if (!text) return std::nullopt;
    std::string line = text->substr(0, text->find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> InvokeCommand(const std::string& installDir, const std::string& userName,
                                         ProcessStarter& starter) {
    auto commandTemplate = ReadCommandTemplate(installDir);
    if (!commandTemplate || commandTemplate->empty()) return std::nullopt;
    std::string commandLine = SubstituteMarkers(*commandTemplate, installDir, userName);
    starter.WinExec(commandLine, kShowNormal);
    return commandLine;
}

}  // namespace zv
