#pragma once
// When the notes of a Standard MIDI File end: the time from the start of the
// piece at which its last note is released.
//
// The synthesiser behind the background music reports the end of a piece
// only once every voice has died away, seconds after the last note, which
// would leave a long silence before each restart of the loop. The music
// output ends the piece at this time instead.
#include <optional>
#include <string_view>

namespace zv {

// Seconds from the start of the piece to the release of its last note; a
// note still held when its track ends is released there. Tempo changes in
// any track apply to all of them. Nothing when the bytes are not a Standard
// MIDI File of format 0 or 1 that reads cleanly to the end of its tracks, or
// when it holds no note.
std::optional<double> MidiNotesEnd(std::string_view bytes);

}  // namespace zv
