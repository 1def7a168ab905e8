// Reads arbitrary bytes as a Standard MIDI File and asks where its notes
// end: never a crash, and a time that is a finite number of seconds, not
// negative.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sound/midi_length.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto end = zv::MidiNotesEnd(std::string_view(reinterpret_cast<const char*>(data), size));
    if (end && (!std::isfinite(*end) || *end < 0)) std::abort();
    return 0;
}
