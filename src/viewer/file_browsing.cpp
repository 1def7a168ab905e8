#include "viewer/file_browsing.h"

#include <cctype>

namespace zv::viewer {

namespace {

std::string Trim(const std::string& text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    auto end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Iterative wildcard match with backtracking to the last '*'.
bool WildMatch(const std::string& name, const std::string& pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

std::vector<Filter> ParseFilterList(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        auto bar = list.find('|', start);
        parts.push_back(list.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<Filter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

std::vector<std::string> SplitMask(const std::string& mask) {
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= mask.size()) {
        auto semi = mask.find(';', start);
        std::string part =
            Trim(mask.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
        if (!part.empty()) patterns.push_back(part);
        if (semi == std::string::npos) break;
        start = semi + 1;
    }
    return patterns;
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    for (const auto& pattern : SplitMask(mask)) {
        if (pattern == "*.*" || pattern == "*") return true;
        if (WildMatch(name, pattern)) return true;
    }
    return false;
}

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

std::string ResolvePath(const std::string& folder, const std::string& path, const std::string& home) {
    std::string full;
    if (!path.empty() && path[0] == '/') {
        full = path;
    } else if (!home.empty() && (path == "~" || path.rfind("~/", 0) == 0)) {
        full = home + "/" + path.substr(1);
    } else {
        full = folder + "/" + path;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= full.size()) {
        auto slash = full.find('/', start);
        std::string part = full.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    std::string result;
    for (const auto& part : parts) result += "/" + part;
    return result.empty() ? "/" : result;
}

FilePathRequest ApplyFilePath(const std::string& currentFolder, const std::string& text,
                              const std::function<bool(const std::string&)>& isDirectory) {
    FilePathRequest request;
    std::string typed = Trim(text);
    if (typed.empty()) return request;

    std::string folderPart, lastPart;
    auto slash = typed.find_last_of('/');
    if (slash == std::string::npos) {
        lastPart = typed;
    } else {
        folderPart = typed.substr(0, slash + 1);
        lastPart = typed.substr(slash + 1);
    }

    std::string folder = currentFolder;
    if (!folderPart.empty()) {
        std::string target = ResolvePath(currentFolder, folderPart);
        if (!isDirectory(target)) {
            request.missing = target;
            return request;
        }
        folder = target;
        request.folder = target;
    }
    if (lastPart.empty()) return request;
    if (HasWildcards(lastPart)) {
        request.mask = lastPart;
    } else if (std::string target = ResolvePath(folder, lastPart); isDirectory(target)) {
        request.folder = target;
    } else {
        request.selectFile = lastPart;
    }
    return request;
}

StartRequest StartFolderFromArgs(const std::vector<std::string>& args, bool platformHasDrives) {
    StartRequest request;
    if (args.empty()) return request;
    const std::string& first = args[0];
    if (platformHasDrives) {
        if (first.size() <= 1) return request;
        if (first[1] == ':') request.drive = first[0];
        request.folder = first;
    } else if (!first.empty()) {
        request.folder = first;
    }
    return request;
}

}  // namespace zv::viewer
