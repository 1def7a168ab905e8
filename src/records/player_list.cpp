#include "records/player_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include "config/launcher_settings.h"
#include "platform/platform.h"

namespace zv {

std::vector<std::string> ListPlayerDirectories() {
    std::vector<std::string> names;
    const std::string usr = CurrentPlatform().InstallDir() + "usr/";
    DIR* dir = ::opendir(usr.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || name == "_default") continue;
        bool directory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            directory = ::stat((usr + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (directory) names.push_back(std::move(name));
    }
    ::closedir(dir);
    return names;
}

std::string PlayerFacePath(const std::string& name) {
    const std::string usr = CurrentPlatform().InstallDir() + "usr/";
    const bool hiColor = Settings().hicolorchar != 0;
    std::string own = usr + name + "/" + (hiColor ? name + ".bmp" : std::string("_16.bmp"));
    struct stat info {};
    if (::stat(own.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return own;
    return usr + "_default/" + (hiColor ? "_default.bmp" : "_16.bmp");
}

}  // namespace zv
