#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "config/file_io.h"
#include "platform/env.h"
#include "sound/audio_output.h"
#include "sound/midi_length.h"

namespace zv {
namespace {

// The mixer library and the audio stack below it (SDL, FluidSynth, the sound
// servers' client libraries) are loaded on first use instead of at program
// start: they are dozens of shared objects the main window does not need.
// The headers still give every function its type.
#define ZV_MIXER_FUNCTIONS(X) \
    X(SDL_SetHint)            \
    X(SDL_InitSubSystem)      \
    X(SDL_QuitSubSystem)      \
    X(Mix_Init)               \
    X(Mix_Quit)               \
    X(Mix_OpenAudio)          \
    X(Mix_CloseAudio)         \
    X(Mix_QuerySpec)          \
    X(Mix_HookMusicFinished)  \
    X(Mix_LoadWAV)            \
    X(Mix_FreeChunk)          \
    X(Mix_PlayChannel)        \
    X(Mix_HaltChannel)        \
    X(Mix_LoadMUS)            \
    X(Mix_FreeMusic)          \
    X(Mix_PlayMusic)          \
    X(Mix_HaltMusic)          \
    X(Mix_PlayingMusic)       \
    X(Mix_SetPostMix)

struct MixerLibrary {
#define ZV_DECLARE(name) decltype(&::name) name = nullptr;
    ZV_MIXER_FUNCTIONS(ZV_DECLARE)
#undef ZV_DECLARE
};

// The loaded library, or null when it or one of its functions is missing;
// the sound then stays silent as on a machine without a device. Loaded once
// and never unloaded.
const MixerLibrary* Mixer() {
    static const MixerLibrary* const loaded = []() -> const MixerLibrary* {
        Env& env = CurrentEnv();
        void* handle = env.LoadLibrary("libSDL2_mixer-2.0.so.0");
        if (handle == nullptr) return nullptr;
        static MixerLibrary library;
        bool complete = true;
#define ZV_RESOLVE(name)                                                                    \
    library.name = reinterpret_cast<decltype(library.name)>(env.FindSymbol(handle, #name)); \
    complete = complete && library.name != nullptr;
        ZV_MIXER_FUNCTIONS(ZV_RESOLVE)
#undef ZV_RESOLVE
        return complete ? &library : nullptr;
    }();
    return loaded;
}

}  // namespace

struct SdlAudio::State {
    // Calls come from the user-interface thread (test plays) and from the
    // thread that opens the background music at start; one runs at a time.
    std::recursive_mutex calls;

    bool tried = false;   // Open() was attempted
    bool opened = false;  // the device is open
    Mix_Chunk* chunk = nullptr;
    Mix_Music* music = nullptr;

    int frameBytes = 0;  // bytes of one sample of every channel in the mixed output
    int frequency = 0;   // frames a second
    // Where the loaded piece ends, in frames from its start: the release of
    // its last note. 0 when unknown; the mixer's own end notice then counts.
    std::uint64_t musicEndFrame = 0;

    // Shared with the mixer's thread, which runs MusicFinished() and
    // MusicMixed(). No mixer function is called while `mutex` is held.
    std::mutex mutex;
    std::function<void()> ended;
    bool stopping = false;          // set while we halt the music ourselves
    bool counting = false;          // frames of the playing piece are being counted
    std::uint64_t musicFrames = 0;  // frames of the piece mixed since it started

    // Takes the end notice when the piece has just ended; called with `mutex`
    // held.
    std::function<void()> TakeEnded() {
        counting = false;
        std::function<void()> taken = std::move(ended);
        ended = nullptr;
        return taken;
    }

    void HaltMusic() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
            ended = nullptr;
            counting = false;
        }
        Mixer()->Mix_HaltMusic();  // calls the finished hook on this thread
        std::lock_guard lock(mutex);
        stopping = false;
    }
};

namespace {

// SDL_mixer has one music channel and one plain-function hook, so one open
// SdlAudio at a time receives it.
SdlAudio::State* g_active = nullptr;
std::mutex g_activeMutex;

void MusicFinished() {
    std::function<void()> ended;
    {
        std::lock_guard active(g_activeMutex);
        if (g_active == nullptr) return;
        std::lock_guard lock(g_active->mutex);
        if (g_active->stopping) return;
        ended = g_active->TakeEnded();
    }
    if (ended) ended();
}

// Runs on the mixer's thread after each buffer of output has been mixed,
// with the device locked (so the music cannot be started or stopped in
// between). The synthesiser lets every voice die away before it calls a
// piece finished, seconds of near-silence after the last note; so the
// frames of the piece are counted here, and the piece is reported ended
// once the release of its last note has been mixed. The music keeps
// sounding until the receiver of the notice starts it again.
void MusicMixed(void* /*unused*/, Uint8* /*stream*/, int length) {
    std::function<void()> ended;
    {
        std::lock_guard active(g_activeMutex);
        if (g_active == nullptr) return;
        SdlAudio::State& state = *g_active;
        {
            std::lock_guard lock(state.mutex);
            if (!state.counting || state.stopping || state.frameBytes <= 0) return;
        }
        // Frames count only from the first buffer that holds the piece.
        const bool playing = Mixer()->Mix_PlayingMusic() != 0;
        std::lock_guard lock(state.mutex);
        if (!playing || !state.counting) return;
        state.musicFrames += static_cast<std::uint64_t>(length / state.frameBytes);
        if (state.musicFrames < state.musicEndFrame) return;
        ended = state.TakeEnded();
    }
    if (ended) ended();
}

// The frame at which a piece of music ends, from the file's notes; 0 when
// the file gives no such time.
std::uint64_t MusicEndFrame(const std::string& path, int frequency) {
    constexpr std::uint64_t kLargestPiece = 16u << 20;  // longer than any tune
    if (frequency <= 0) return 0;
    std::unique_ptr<ReadableFile> file = CurrentEnv().OpenForReading(path);
    std::optional<std::uint64_t> size = file ? file->RegularFileSize() : std::nullopt;
    if (!size || *size > kLargestPiece) return 0;
    auto bytes = ReadToEnd(*file);
    auto seconds = bytes ? MidiNotesEnd(*bytes) : std::nullopt;
    if (!seconds) return 0;
    return static_cast<std::uint64_t>(std::ceil(*seconds * frequency));
}

bool IsWaveFile(const std::string& path) {
    std::unique_ptr<ReadableFile> file = CurrentEnv().OpenForReading(path);
    char head[12] = {};
    if (!file || file->ReadAt(head, sizeof head, 0) != static_cast<std::int64_t>(sizeof head)) return false;
    return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

}  // namespace

SdlAudio::SdlAudio() : state_(std::make_unique<State>()) {}

SdlAudio::~SdlAudio() {
    std::lock_guard serial(state_->calls);
    if (!state_->opened) return;
    {
        std::lock_guard active(g_activeMutex);
        g_active = nullptr;
    }
    Mixer()->Mix_HookMusicFinished(nullptr);
    Mixer()->Mix_SetPostMix(nullptr, nullptr);
    Mixer()->Mix_HaltMusic();
    Mixer()->Mix_HaltChannel(-1);
    if (state_->music != nullptr) Mixer()->Mix_FreeMusic(state_->music);
    if (state_->chunk != nullptr) Mixer()->Mix_FreeChunk(state_->chunk);
    Mixer()->Mix_CloseAudio();
    Mixer()->Mix_Quit();
    Mixer()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::Open() {
    std::lock_guard serial(state_->calls);
    if (state_->tried) return state_->opened;
    state_->tried = true;
    if (Mixer() == nullptr) return false;
    // The application owns the signals; SDL must not catch Ctrl+C.
    Mixer()->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (Mixer()->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mixer()->Mix_Init(MIX_INIT_MID);  // without it WAV still plays
    if (Mixer()->Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        Mixer()->Mix_Quit();
        Mixer()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    state_->opened = true;
    Uint16 sdlFormat = 0;
    int channels = 0;
    if (Mixer()->Mix_QuerySpec(&state_->frequency, &sdlFormat, &channels) != 0)
        state_->frameBytes = channels * static_cast<int>(SDL_AUDIO_BITSIZE(sdlFormat) / 8);
    {
        std::lock_guard active(g_activeMutex);
        g_active = state_.get();
    }
    Mixer()->Mix_HookMusicFinished(MusicFinished);
    Mixer()->Mix_SetPostMix(MusicMixed, nullptr);
    return true;
}

SdlAudio::Format SdlAudio::DeviceFormat() const {
    std::lock_guard serial(state_->calls);
    Format format;
    if (!state_->opened) return format;
    Uint16 sdlFormat = 0;
    if (Mixer()->Mix_QuerySpec(&format.frequency, &sdlFormat, &format.channels) == 0) return {};
    format.bytesPerSample = SDL_AUDIO_BITSIZE(sdlFormat) / 8;
    return format;
}

bool SdlAudio::PlaySoundFile(const std::string& path) {
    // Event sounds are wave files. The mixer would also decode other formats
    // (a MIDI file is rendered whole before it starts), which is neither what
    // the engines can play nor quick enough to return at once.
    if (!IsWaveFile(path)) return false;
    std::lock_guard serial(state_->calls);
    if (!Open()) return false;
    Mixer()->Mix_HaltChannel(-1);
    if (state_->chunk != nullptr) {
        Mixer()->Mix_FreeChunk(state_->chunk);
        state_->chunk = nullptr;
    }
    state_->chunk = Mixer()->Mix_LoadWAV(path.c_str());
    if (state_->chunk == nullptr) return false;
    return Mixer()->Mix_PlayChannel(-1, state_->chunk, 0) >= 0;
}

bool SdlAudio::OpenMusic(const std::string& path) {
    std::lock_guard serial(state_->calls);
    if (!Open()) return false;
    CloseMusic();
    state_->music = Mixer()->Mix_LoadMUS(path.c_str());
    if (state_->music == nullptr) return false;
    const std::uint64_t endFrame = MusicEndFrame(path, state_->frequency);
    std::lock_guard lock(state_->mutex);
    state_->musicEndFrame = endFrame;
    return true;
}

bool SdlAudio::PlayMusic(std::function<void()> ended) {
    std::lock_guard serial(state_->calls);
    if (!state_->opened || state_->music == nullptr) return false;
    state_->HaltMusic();
    {
        std::lock_guard lock(state_->mutex);
        state_->ended = std::move(ended);
        state_->musicFrames = 0;
        state_->counting = state_->musicEndFrame > 0;
    }
    if (Mixer()->Mix_PlayMusic(state_->music, 0) == 0) return true;
    std::lock_guard lock(state_->mutex);
    state_->ended = nullptr;
    state_->counting = false;
    return false;
}

void SdlAudio::CloseMusic() {
    std::lock_guard serial(state_->calls);
    if (state_->music == nullptr) return;
    state_->HaltMusic();
    Mixer()->Mix_FreeMusic(state_->music);
    state_->music = nullptr;
}

namespace {
AudioOutput* g_audio = nullptr;
}

AudioOutput& CurrentAudio() {
    if (g_audio != nullptr) return *g_audio;
    static SdlAudio real;
    return real;
}

void SetAudio(AudioOutput* audio) { g_audio = audio; }

}  // namespace zv
