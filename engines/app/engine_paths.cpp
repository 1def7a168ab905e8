#include "app/engine_paths.h"

#include <filesystem>

#include "base/utf8_text.h"
#include "platform/env.h"

namespace zv::engine {

bool IsPlainName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ' ' || c == ':' || c == '"') return false;
    }
    return true;
}

std::string OneWord(const std::string& name) {
    std::string word;
    for (unsigned char c : name) {
        bool bad = c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ' ' || c == '"';
        word += bad ? '_' : static_cast<char>(c);
    }
    word = CutUtf8(word, 64);
    return word.empty() ? "_" : word;
}

bool IsDirectory(const std::string& path) { return !path.empty() && CurrentEnv().IsFolder(path); }

std::string JoinPath(const std::string& dir, const std::string& file) {
    if (dir.empty()) return file;
    return dir.back() == '/' ? dir + file : dir + "/" + file;
}

std::string CheckRecordPath(const std::string& path) {
    if (path.empty()) return "the record file name is empty";
    if (CurrentEnv().IsFolder(path)) return path + ": is a directory, not a record file";
    const std::string parent = std::filesystem::path(path).parent_path().string();
    if (!parent.empty() && !CurrentEnv().IsFolder(parent))
        return path + ": the folder of the record file does not exist";
    return {};
}

}  // namespace zv::engine
