#include "config/launcher_settings.h"

#include <limits>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "config/char_assoc.h"
#include "config/file_io.h"
#include "config/message_dialogs.h"

namespace zv {
namespace {

using TextField = std::string LauncherSettings::*;
using IntField = std::int32_t LauncherSettings::*;
struct ListField {};  // charassoc

struct Key {
    const char* name;
    std::variant<TextField, IntField, ListField> field;
};

// The stored keys in file order.
const Key kKeys[] = {
    {"protocol", &LauncherSettings::protocol},
    {"hostname", &LauncherSettings::hostname},
    {"port", &LauncherSettings::port},
    {"nodenum", &LauncherSettings::nodenum},
    {"socknum", &LauncherSettings::socknum},
    {"servertonpu", &LauncherSettings::servertonpu},
    {"serverhaihu", &LauncherSettings::serverhaihu},
    {"clienthaihu", &LauncherSettings::clienthaihu},
    {"zelvan1tonpu", &LauncherSettings::zelvan1tonpu},
    {"zelvan1haihu", &LauncherSettings::zelvan1haihu},
    {"launchpage", &LauncherSettings::launchpage},
    {"execdlg_server", &LauncherSettings::execdlg_server},
    {"execdlg_auto", &LauncherSettings::execdlg_auto},
    {"execdlg_client", &LauncherSettings::execdlg_client},
    {"execdlg_zelvan1", &LauncherSettings::execdlg_zelvan1},
    {"launchleft", &LauncherSettings::launchleft},
    {"launchtop", &LauncherSettings::launchtop},
    {"bgm", &LauncherSettings::bgm},
    {"playbgm", &LauncherSettings::playbgm},
    {"liststyle", &LauncherSettings::liststyle},
    {"autononterm", &LauncherSettings::autononterm},
    {"clienttalk", &LauncherSettings::clienttalk},
    {"player1", &LauncherSettings::player1},
    {"player2", &LauncherSettings::player2},
    {"player3", &LauncherSettings::player3},
    {"auto1", &LauncherSettings::auto1},
    {"auto2", &LauncherSettings::auto2},
    {"auto3", &LauncherSettings::auto3},
    {"auto4", &LauncherSettings::auto4},
    {"readhosts", &LauncherSettings::readhosts},
    {"readface", &LauncherSettings::readface},
    {"real1", &LauncherSettings::real1},
    {"real4", &LauncherSettings::real4},
    {"kanji", &LauncherSettings::kanji},
    {"zv1form", &LauncherSettings::zv1form},
    {"zv4form", &LauncherSettings::zv4form},
    {"count", &LauncherSettings::count},
    {"hicolorchar", &LauncherSettings::hicolorchar},
    {"charassoc", ListField{}},
    {"resident", &LauncherSettings::resident},
};
static_assert(std::size(kKeys) == 40);

// The power-up switch: read like the others, written only while on.
constexpr std::string_view kPowerUpKey = "powerup_edition";

// The key of a stored name, or null for a name that is not stored.
const Key* FindKey(std::string_view name) {
    static const std::unordered_map<std::string_view, const Key*> byName = [] {
        std::unordered_map<std::string_view, const Key*> map;
        for (const Key& key : kKeys) map.emplace(key.name, &key);
        return map;
    }();
    auto found = byName.find(name);
    return found == byName.end() ? nullptr : found->second;
}

}  // namespace

LauncherSettings& Settings() {
    static LauncherSettings settings;
    return settings;
}

std::int32_t NextStartCount(std::int32_t count) {
    return count == std::numeric_limits<std::int32_t>::max() ? count : count + 1;
}

std::string LaunchNucPath(const LauncherSettings& settings) { return settings.UserDir + "/launch.nuc"; }

bool IsStorableText(const std::string& text) { return text.find('"') == std::string::npos; }

std::string StorableText(const std::string& text) { return text.substr(0, text.find('"')); }

void AppendStorableText(std::string& out, const std::string& text) { out.append(text, 0, text.find('"')); }

void ApplyLaunchNuc(LauncherSettings& settings, const std::string& text) {
    NucOpen(text);
    while (NucNode* form = NucRead()) {
        std::string name;
        NucGetString(form, 1, name);
        if (name == kPowerUpKey) {
            settings.powerup_edition = NucGetInt(form, 2);
            continue;
        }
        const Key* key = FindKey(name);
        if (key == nullptr) continue;
        if (auto* textField = std::get_if<TextField>(&key->field))
            NucGetString(form, 2, settings.*(*textField));
        else if (auto* number = std::get_if<IntField>(&key->field))
            settings.*(*number) = NucGetInt(form, 2);
        else
            settings.charassoc = NucNth(form, 2);
    }
}

void ReadLauncherSettings(LauncherSettings& settings) {
    auto text = ReadTextFile(LaunchNucPath(settings));
    if (!text) return;
    ApplyLaunchNuc(settings, *text);
}

std::vector<std::string> LaunchNucLines(const LauncherSettings& settings) {
    std::vector<std::string> lines;
    lines.reserve(std::size(kKeys) + 1);
    for (const Key& key : kKeys) {
        std::string& line = lines.emplace_back();
        auto* text = std::get_if<TextField>(&key.field);
        line.reserve(32 + (text != nullptr ? (settings.*(*text)).size() : 0));
        line += "(define ";
        line += key.name;
        line += ' ';
        if (text != nullptr) {
            line += '"';
            AppendStorableText(line, settings.*(*text));
            line += '"';
        } else if (auto* number = std::get_if<IntField>(&key.field)) {
            line += std::to_string(settings.*(*number));
        } else {
            line += CharAssocText(settings.charassoc);
        }
        line += ')';
    }
    if (settings.powerup_edition != 0) lines.push_back("(define " + std::string(kPowerUpKey) + " 1)");
    return lines;
}

void WriteLauncherSettings(const LauncherSettings& settings, MessageDialogs& dialogs) {
    std::string path = LaunchNucPath(settings);
    switch (SaveFileAtomically(path, EncodeCrLfLines(LaunchNucLines(settings)))) {
        case SaveResult::Saved:
            break;
        case SaveResult::CannotCreate:
            dialogs.ShowErrorDialog(path, "ファイルをオープンできません", "");
            break;
        case SaveResult::WriteFailed:
            dialogs.ShowErrorDialog(path, "ファイルを書き出し時にエラーです", "");
            break;
    }
}

}  // namespace zv
