// Reading and saving launch.nuc in a temporary user folder. A save writes a
// new file, flushes it to disk and renames it, so its time is mostly the
// file system's.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/launcher_settings.h"
#include "config/nuclear.h"
#include "support/recording_dialogs.h"

namespace {

class UserFolder {
public:
    UserFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zvbench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~UserFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

zv::LauncherSettings SettingsIn(const std::string& folder) {
    zv::LauncherSettings settings;
    settings.UserDir = folder;
    settings.player1 = "トド";
    settings.count = 5;
    return settings;
}

void BM_ReadLauncherSettings(benchmark::State& state) {
    UserFolder folder;
    zv::RecordingDialogs dialogs;
    zv::WriteLauncherSettings(SettingsIn(folder.path()), dialogs);
    if (!dialogs.calls.empty()) state.SkipWithError("cannot write launch.nuc");
    for (auto _ : state) {
        zv::LauncherSettings settings;
        settings.UserDir = folder.path();
        zv::ReadLauncherSettings(settings);
        benchmark::DoNotOptimize(settings.count);
        zv::NucReleaseAllForTesting();
    }
}
BENCHMARK(BM_ReadLauncherSettings);

void BM_WriteLauncherSettings(benchmark::State& state) {
    UserFolder folder;
    const zv::LauncherSettings settings = SettingsIn(folder.path());
    zv::RecordingDialogs dialogs;
    for (auto _ : state) zv::WriteLauncherSettings(settings, dialogs);
    if (!dialogs.calls.empty()) state.SkipWithError("a save failed");
}
BENCHMARK(BM_WriteLauncherSettings)->Unit(benchmark::kMicrosecond);

void BM_LaunchNucLines(benchmark::State& state) {
    const zv::LauncherSettings settings = SettingsIn("/tmp");
    for (auto _ : state) benchmark::DoNotOptimize(zv::LaunchNucLines(settings));
}
BENCHMARK(BM_LaunchNucLines);

}  // namespace
