#include "sound/sound_settings.h"

#include "config/codec.h"
#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "config/message_dialogs.h"
#include "config/nuclear.h"

namespace zv {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "X:..." names a drive. There is one file tree here, so the drive is dropped
// and what follows is taken from the root.
std::string FromRoot(const std::string& name) {
    std::string rest = name.substr(2);
    if (rest.empty() || !IsSeparator(rest.front())) rest.insert(rest.begin(), '/');
    return WithSlashes(rest);
}

// Lengths are those of the CP932 text, as the engines and the file count them.
// (A text is never wider than its UTF-8 bytes, so a short one needs no measuring.)
bool HasDrive(const std::string& name) { return name.size() > 2 && name[1] == ':' && Cp932Width(name) > 2; }

// Turns the separators ('\\') of path from `from` on into '/'.
void ToSlashes(std::string& path, std::size_t from) {
    for (std::size_t at = path.find('\\', from); at != std::string::npos; at = path.find('\\', at + 1))
        path[at] = '/';
}

// installDir + "sound/" + name with '/' separators, built in one piece.
std::string InSoundFolder(const std::string& installDir, const std::string& name) {
    std::string path;
    path.reserve(installDir.size() + 6 + name.size());
    path += installDir;
    path += "sound/";
    path += name;
    ToSlashes(path, installDir.size());
    return path;
}

}  // namespace

std::string SoundNucPath(const LauncherSettings& settings) { return settings.UserDir + "/sound.nuc"; }

void ApplySoundNuc(SoundValues& values, const std::string& text) {
    NucOpen(text);
    while (NucNode* form = NucRead()) {
        std::string key;
        NucGetString(form, 1, key);
        int index = SoundEventIndex(key);
        if (index >= 0) NucGetString(form, 2, values[static_cast<std::size_t>(index)]);
    }
}

bool ReadSoundNuc(const std::string& path, SoundValues& values) {
    auto text = ReadTextFile(path);
    if (!text) return false;
    ApplySoundNuc(values, *text);
    return true;
}

std::vector<std::string> SoundNucLines(const SoundValues& values) {
    std::vector<std::string> lines;
    lines.reserve(kSoundEventCount);
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        std::string& line = lines.emplace_back();
        line.reserve(32 + values[i].size());
        line += "(define ";
        line += SoundEvents()[i].key;
        line += " \"";
        AppendStorableText(line, values[i]);
        line += "\")";
    }
    return lines;
}

bool WriteSoundNuc(const std::string& path, const SoundValues& values, MessageDialogs& dialogs) {
    switch (SaveFileAtomically(path, EncodeCrLfLines(SoundNucLines(values)))) {
        case SaveResult::Saved:
            return true;
        case SaveResult::CannotCreate:
            dialogs.ShowErrorDialog(path, "ファイルをオープンできません", "");
            return false;
        case SaveResult::WriteFailed:
            dialogs.ShowErrorDialog(path, "ファイルを書き出し時にエラーです", "");
            return false;
    }
    return false;
}

std::string WithSlashes(std::string path) {
    ToSlashes(path, 0);
    return path;
}

std::string SoundTestPath(const std::string& name, const std::string& installDir) {
    if (HasDrive(name)) return FromRoot(name);
    if (!name.empty() && IsSeparator(name.front())) return WithSlashes(name);
    if (Cp932Width(name) <= 2) return WithSlashes(name);
    return InSoundFolder(installDir, name);
}

std::string MusicPath(const std::string& bgm, const std::string& installDir) {
    if (HasDrive(bgm)) return FromRoot(bgm);
    if (!bgm.empty() && bgm.front() == '/') return WithSlashes(bgm);
    return InSoundFolder(installDir, bgm);
}

}  // namespace zv
