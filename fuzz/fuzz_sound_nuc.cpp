// Reads arbitrary bytes as a CP932 sound.nuc, writes the values back and
// checks that the written file reads back to the same lines; every value
// also goes through the path rules of the test play and the music.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/codec.h"
#include "config/file_io.h"
#include "config/nuclear.h"
#include "sound/sound_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zv::SoundValues values = zv::DefaultSoundValues();
    zv::ApplySoundNuc(values, zv::FromCp932(std::string_view(reinterpret_cast<const char*>(data), size)));
    auto lines = zv::SoundNucLines(values);
    if (lines.size() != zv::kSoundEventCount) std::abort();

    std::string written;  // the lines as the file holds them
    for (const auto& line : lines) {
        written += line;
        written += "\r\n";
    }
    if (zv::IsCp932Encodable(written)) {
        zv::SoundValues again = zv::DefaultSoundValues();
        again[0] = "(changed)";  // the file must set every value itself
        zv::ApplySoundNuc(again, zv::FromCp932(zv::EncodeCrLfLines(lines)));
        if (zv::SoundNucLines(again) != lines) std::abort();
    }

    for (const auto& value : values) {
        // Paths are built with '/' whatever separators the name used.
        if (zv::SoundTestPath(value, "/i/").find('\\') != std::string::npos) std::abort();
        if (zv::MusicPath(value, "/i/").find('\\') != std::string::npos) std::abort();
    }
    zv::NucReleaseAllForTesting();
    return 0;
}
