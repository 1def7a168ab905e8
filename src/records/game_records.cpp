#include "records/game_records.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace zv {
namespace {

bool EndsWithRecordExtension(const char* name, std::size_t length) {
    return length >= 3 && std::memcmp(name + length - 3, ".fu", 3) == 0;
}

struct Entry {
    std::string name;
    bool directory;
};

// What an entry is, without a stat call when the folder listing says.
bool IsDirectoryEntry(const std::string& folder, const dirent* entry, bool& isFile) {
    unsigned char type = entry->d_type;
    if (type == DT_DIR) {
        isFile = false;
        return true;
    }
    if (type == DT_REG) {
        isFile = true;
        return false;
    }
    std::string path = folder + "/" + entry->d_name;
    struct stat info {};
    if (type == DT_LNK) {
        // A link counts as the file it names; links to folders are left out.
        isFile = ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
        return false;
    }
    if (type != DT_UNKNOWN) {
        isFile = true;  // devices, pipes, sockets: listed like any file
        return false;
    }
    if (::lstat(path.c_str(), &info) != 0) {
        isFile = false;
        return false;
    }
    if (S_ISLNK(info.st_mode)) {
        isFile = ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
        return false;
    }
    isFile = !S_ISDIR(info.st_mode);
    return S_ISDIR(info.st_mode);
}

void Collect(const std::string& folder, std::vector<std::string>& found) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;  // unreadable: skipped without a word
    // The folder is read whole and closed before descending, so that a deep
    // tree never holds more than one folder open.
    std::vector<Entry> entries;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        std::size_t length = std::strlen(name);
        bool isFile = false;
        if (entry->d_type == DT_REG) {
            if (EndsWithRecordExtension(name, length)) entries.push_back({std::string(name, length), false});
            continue;
        }
        if (IsDirectoryEntry(folder, entry, isFile)) {
            entries.push_back({std::string(name, length), true});
        } else if (isFile && EndsWithRecordExtension(name, length)) {
            entries.push_back({std::string(name, length), false});
        }
    }
    ::closedir(dir);
    for (const Entry& entry : entries) {
        std::string path;
        path.reserve(folder.size() + 1 + entry.name.size());
        path.append(folder).append(1, '/').append(entry.name);
        if (entry.directory) {
            Collect(path, found);
        } else {
            found.push_back(std::move(path));
        }
    }
}

std::string Quoted(const std::string& path) { return QuoteArgument(path); }

}  // namespace

std::vector<std::string> CollectRecordFiles(const std::string& folder) {
    std::vector<std::string> found;
    Collect(folder, found);
    return found;
}

std::vector<std::string> CollectUserRecords() {
    return CollectRecordFiles(CurrentPlatform().InstallDir() + "usr");
}

std::string TextViewerProgram() {
    const char* chosen = std::getenv("ZELVAN_TEXT_VIEWER");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    return "xdg-open";
}

std::string QuoteArgument(const std::string& text) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            // Backslashes before a quote are doubled, and the quote escaped.
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing quote are doubled too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string ViewRecordCommand(const std::string& path) { return TextViewerProgram() + " " + Quoted(path); }
std::string AnalyseRecordCommand(const std::string& path) { return "pad.exe " + Quoted(path); }
std::string AnalyserCommand() { return "pad.exe"; }
std::string ReplayRecordCommand(const std::string& path) { return "plview.exe " + path; }

}  // namespace zv
