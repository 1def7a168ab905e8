#include "records/game_records.h"

#include <cstdlib>
#include <cstring>

#include "platform/env.h"
#include "platform/platform.h"

namespace zv {
namespace {

bool EndsWithRecordExtension(const char* name, std::size_t length) {
    return length >= 3 && std::memcmp(name + length - 3, ".fu", 3) == 0;
}

void Collect(const std::string& folder, std::vector<std::string>& found) {
    // Unreadable folders are skipped without a word. The listing is whole
    // before the walk goes down, so one folder is open at most.
    std::optional<std::vector<FolderEntry>> entries = CurrentEnv().ListFolder(folder);
    if (!entries) return;
    for (const FolderEntry& entry : *entries) {
        const bool record =
            entry.kind == EntryKind::File && EndsWithRecordExtension(entry.name.data(), entry.name.size());
        if (!record && entry.kind != EntryKind::Folder) continue;
        std::string path;
        path.reserve(folder.size() + 1 + entry.name.size());
        path.append(folder).append(1, '/').append(entry.name);
        if (entry.kind == EntryKind::Folder) {
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
