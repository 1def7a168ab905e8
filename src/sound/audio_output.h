#pragma once
// The sound device as the launcher uses it: one short sound at a time for the
// sound test, and one piece of music that can be played from its start and
// tells when it has played to its end.
//
// The real implementation (SdlAudio) opens the device on first use. A machine
// without a usable device runs silently: every call then reports failure and
// nothing else happens. Tests install a fake with SetAudio().
#include <functional>
#include <memory>
#include <string>

namespace zv {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Starts playing a sound file (WAV) and returns at once; a sound still
    // playing from an earlier call is stopped. False when the device is
    // unusable or the file cannot be read or played.
    virtual bool PlaySoundFile(const std::string& path) = 0;

    // Loads a piece of music (MIDI), replacing any piece loaded before.
    virtual bool OpenMusic(const std::string& path) = 0;

    // Plays the loaded piece once from its start, stopping it first if it is
    // playing. `ended` is called once when the piece has played to its end
    // (for a MIDI piece: when its last note has been released, so that a
    // loop that plays it again leaves no pause), from the audio thread, never
    // when it is stopped by PlayMusic or CloseMusic; it must only hand the
    // news on (post it to another thread) and never call back into the
    // output. False when no piece is loaded or playing cannot start.
    virtual bool PlayMusic(std::function<void()> ended) = 0;

    // Stops and unloads the piece; nothing when none is loaded.
    virtual void CloseMusic() = 0;
};

// Real playback through SDL2_mixer. Environment variables of SDL choose the
// driver (SDL_AUDIODRIVER=dummy plays into nothing; =disk writes the mixed
// PCM to SDL_DISKAUDIOFILE).
class SdlAudio : public AudioOutput {
public:
    SdlAudio();
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool PlaySoundFile(const std::string& path) override;
    bool OpenMusic(const std::string& path) override;
    bool PlayMusic(std::function<void()> ended) override;
    void CloseMusic() override;

    // Opens the device now (it is otherwise opened on first use); false when
    // there is no usable device.
    bool Open();

    // Output format of the open device, for tests reading the PCM.
    struct Format {
        int frequency = 0;
        int channels = 0;
        int bytesPerSample = 0;
    };
    Format DeviceFormat() const;

    struct State;  // device state, shared with the mixer's callback

private:
    std::unique_ptr<State> state_;
};

// The process-wide output; defaults to an SdlAudio created on first use.
AudioOutput& CurrentAudio();

// Replaces the process-wide output (tests); nullptr restores the real one.
void SetAudio(AudioOutput* audio);

}  // namespace zv
