#include "viewer/drives.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace zv::viewer {

namespace {

// /proc/mounts writes blanks, tabs, newlines and backslashes as \ooo.
std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            bool octal =
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; });
            if (octal) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::vector<MountEntry> ParseMounts(const std::string& text) {
    std::vector<MountEntry> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fsType;
        if (!(fields >> device >> mountPoint >> fsType)) continue;
        if (mountPoint.empty() || mountPoint[0] != '/') continue;
        entries.push_back({Unescape(device), Unescape(mountPoint), fsType});
    }
    return entries;
}

bool IsRealFileSystem(const MountEntry& entry) {
    static const std::set<std::string> kNetwork = {"nfs",      "nfs4",   "cifs", "smbfs", "smb3",  "9p",
                                                   "virtiofs", "vboxsf", "afs",  "ceph",  "davfs", "sshfs"};
    static const std::set<std::string> kNotFiles = {"fuse.gvfsd-fuse", "fuse.portal", "fusectl",
                                                    "fuse.lxcfs"};
    if (kNotFiles.count(entry.fsType)) return false;
    if (StartsWith(entry.device, "/dev/") && entry.fsType != "devtmpfs") return true;
    if (kNetwork.count(entry.fsType)) return true;
    if (StartsWith(entry.fsType, "fuse.") || entry.fsType == "fuseblk") return true;
    return false;
}

bool FolderIsBelow(const std::string& folder, const std::string& root) {
    std::string f = WithoutTrailingSlash(folder);
    std::string r = WithoutTrailingSlash(root);
    if (r == "/") return StartsWith(f, "/");
    return f == r || StartsWith(f, r + "/");
}

std::vector<std::string> DriveRoots(const std::string& mountsText, const std::string& homeDir) {
    std::vector<std::string> roots = {"/"};
    std::string home = WithoutTrailingSlash(homeDir);
    if (!home.empty() && home != "/" && home[0] == '/') roots.push_back(home);

    std::set<std::string> volumes;
    for (const auto& entry : ParseMounts(mountsText)) {
        if (!IsRealFileSystem(entry)) continue;
        std::string point = WithoutTrailingSlash(entry.mountPoint);
        for (const char* area : {"/media/", "/run/media/", "/mnt/"}) {
            if (StartsWith(point, area) && point.size() > std::string(area).size()) volumes.insert(point);
        }
    }
    for (const auto& volume : volumes)
        if (std::find(roots.begin(), roots.end(), volume) == roots.end()) roots.push_back(volume);
    return roots;
}

std::optional<std::size_t> DriveOfFolder(const std::vector<std::string>& roots, const std::string& folder) {
    std::optional<std::size_t> best;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        std::string root = WithoutTrailingSlash(roots[i]);
        if (!FolderIsBelow(folder, root)) continue;
        if (!best || root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

}  // namespace zv::viewer
