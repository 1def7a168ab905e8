#pragma once
// The "drives" of the browser's drive chooser. Linux has no drive letters, so
// the chooser offers the places a user would look for pictures: the root of
// the file system, the home folder, and the removable and mounted volumes
// below /media, /run/media and /mnt that hold real file systems.
#include <optional>
#include <string>
#include <vector>

namespace zv::viewer {

struct MountEntry {
    std::string device;
    std::string mountPoint;
    std::string fsType;
};

// Parses the text of /proc/mounts (or /etc/mtab). Octal escapes such as
// "\040" for a blank are decoded; malformed lines are skipped.
std::vector<MountEntry> ParseMounts(const std::string& text);

// True for file systems that hold files a user put there: block devices,
// network shares and user-space file systems; false for kernel pseudo file
// systems (proc, sysfs, cgroup, tmpfs, ...).
bool IsRealFileSystem(const MountEntry& entry);

// The chooser's entries, in order: "/", the home folder (when given and not
// "/"), then the mount points of real file systems below /media/, /run/media/
// and /mnt/, sorted, without duplicates.
std::vector<std::string> DriveRoots(const std::string& mountsText, const std::string& homeDir);

// The entry holding the folder: the longest root that is the folder itself or
// one of its parents. Nothing when no root holds it.
std::optional<std::size_t> DriveOfFolder(const std::vector<std::string>& roots, const std::string& folder);

// True when `folder` is `root` or lies below it (whole path components).
bool FolderIsBelow(const std::string& folder, const std::string& root);

}  // namespace zv::viewer
