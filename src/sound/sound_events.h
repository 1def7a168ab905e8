#pragma once
// The 36 game events that have a sound of their own, as the engines know them
// from sound.nuc, and how the sound dialog shows them: the key in the file,
// the edit's component name, its label, the default file, and the pages.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace zv {

struct SoundEvent {
    const char* key;        // key in sound.nuc ("sound_tumo")
    const char* component;  // objectName of the event's edit ("TumoButton")
    const char* label;      // caption shown beside the edit
    const char* fallback;   // file used when sound.nuc lacks the key
};

inline constexpr std::size_t kSoundEventCount = 36;

// The events in file order.
const std::array<SoundEvent, kSoundEventCount>& SoundEvents();

// Index of an event by its key, or -1.
int SoundEventIndex(const std::string& key);

// One page of the dialog: tab caption, hint, and the events it shows top to
// bottom (indices into SoundEvents()).
struct SoundPage {
    const char* caption;
    const char* hint;  // may be empty
    std::vector<int> events;
};

// The six event pages in tab order (the BGM page follows them).
const std::vector<SoundPage>& SoundPages();

// The texts of all events, one per event in file order.
using SoundValues = std::array<std::string, kSoundEventCount>;

// Every event set to its default file.
SoundValues DefaultSoundValues();

}  // namespace zv
