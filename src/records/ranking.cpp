#include "records/ranking.h"

#include <array>

#include "config/codec.h"
#include "platform/env.h"
#include "platform/platform.h"

namespace zv {
namespace {

constexpr std::array<std::size_t, 10> kWidths = {10, 6, 6, 6, 4, 8, 4, 4, 4, 4};

std::string JoinColumns(const std::array<std::string, 10>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ' ';
        line += PadLeftCp932(fields[i], kWidths[i]);
    }
    return line;
}

}  // namespace

std::string PadLeftCp932(const std::string& text, std::size_t width) {
    std::size_t used = Cp932Width(text);
    if (used >= width) return text;
    return std::string(width - used, ' ') + text;
}

std::string RankingHeader() {
    return JoinColumns(
        {"ﾌﾟﾚｰﾔ名", "ｹﾞｰﾑ数", "ﾌﾟﾚｲ数", "ﾎﾟｲﾝﾄ", "ﾁｯﾌﾟ", "持ち金", "1位", "2位", "3位", "4位"});
}

std::string RankingRow(const std::string& playerName, const PlayerResults& r) {
    using std::to_string;
    return JoinColumns({playerName, to_string(r.games), to_string(r.plays), to_string(r.points),
                        to_string(r.chips), to_string(r.Money()), to_string(r.places[0]),
                        to_string(r.places[1]), to_string(r.places[2]), to_string(r.places[3])});
}

std::vector<std::string> CollectRankingRows(bool network) {
    std::vector<std::string> rows;
    std::string usr = CurrentPlatform().InstallDir() + "usr";
    std::optional<std::vector<FolderEntry>> entries = CurrentEnv().ListFolder(usr);
    if (!entries) return rows;
    for (const FolderEntry& entry : *entries) {
        if (entry.name == "_default") continue;
        PlayerResults results;
        if (ReadResults(results, entry.name, network)) rows.push_back(RankingRow(entry.name, results));
    }
    return rows;
}

}  // namespace zv
