// Reads arbitrary bytes as a CP932 launch.nuc, writes the record back and
// checks that the written form reads back to the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/codec.h"
#include "config/launcher_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zv::LauncherSettings settings;
    zv::ApplyLaunchNuc(settings, zv::FromCp932(std::string_view(reinterpret_cast<const char*>(data), size)));
    auto lines = zv::LaunchNucLines(settings);
    std::string written;  // the lines as the file holds them
    for (const auto& line : lines) {
        written += line;
        written += "\r\n";
    }

    zv::LauncherSettings again;
    zv::ApplyLaunchNuc(again, zv::FromCp932(zv::ToCp932(written)));
    // Whatever was read, the written file must read back as itself (texts
    // that CP932 cannot hold aside, which become '?').
    if (zv::IsCp932Encodable(written) && zv::LaunchNucLines(again) != lines) std::abort();
    zv::NucReleaseAllForTesting();
    return 0;
}
