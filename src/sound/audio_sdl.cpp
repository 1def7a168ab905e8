#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <fstream>
#include <mutex>

#include "sound/audio_output.h"

namespace zv {

struct SdlAudio::State {
    bool tried = false;   // Open() was attempted
    bool opened = false;  // the device is open
    Mix_Chunk* chunk = nullptr;
    Mix_Music* music = nullptr;

    // Shared with the mixer's thread, which runs MusicFinished().
    std::mutex mutex;
    std::function<void()> ended;
    bool stopping = false;  // set while we halt the music ourselves

    void HaltMusic() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
            ended = nullptr;
        }
        Mix_HaltMusic();  // calls the finished hook on this thread
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
        ended = std::move(g_active->ended);
        g_active->ended = nullptr;
    }
    if (ended) ended();
}

bool IsWaveFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[12] = {};
    if (!in.read(head, sizeof head)) return false;
    return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

}  // namespace

SdlAudio::SdlAudio() : state_(std::make_unique<State>()) {}

SdlAudio::~SdlAudio() {
    if (!state_->opened) return;
    {
        std::lock_guard active(g_activeMutex);
        g_active = nullptr;
    }
    Mix_HookMusicFinished(nullptr);
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    if (state_->music != nullptr) Mix_FreeMusic(state_->music);
    if (state_->chunk != nullptr) Mix_FreeChunk(state_->chunk);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::Open() {
    if (state_->tried) return state_->opened;
    state_->tried = true;
    // The application owns the signals; SDL must not catch Ctrl+C.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MID);  // without it WAV still plays
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    state_->opened = true;
    {
        std::lock_guard active(g_activeMutex);
        g_active = state_.get();
    }
    Mix_HookMusicFinished(MusicFinished);
    return true;
}

SdlAudio::Format SdlAudio::DeviceFormat() const {
    Format format;
    if (!state_->opened) return format;
    Uint16 sdlFormat = 0;
    if (Mix_QuerySpec(&format.frequency, &sdlFormat, &format.channels) == 0) return {};
    format.bytesPerSample = SDL_AUDIO_BITSIZE(sdlFormat) / 8;
    return format;
}

bool SdlAudio::PlaySoundFile(const std::string& path) {
    // Event sounds are wave files. The mixer would also decode other formats
    // (a MIDI file is rendered whole before it starts), which is neither what
    // the engines can play nor quick enough to return at once.
    if (!IsWaveFile(path) || !Open()) return false;
    Mix_HaltChannel(-1);
    if (state_->chunk != nullptr) {
        Mix_FreeChunk(state_->chunk);
        state_->chunk = nullptr;
    }
    state_->chunk = Mix_LoadWAV(path.c_str());
    if (state_->chunk == nullptr) return false;
    return Mix_PlayChannel(-1, state_->chunk, 0) >= 0;
}

bool SdlAudio::OpenMusic(const std::string& path) {
    if (!Open()) return false;
    CloseMusic();
    state_->music = Mix_LoadMUS(path.c_str());
    return state_->music != nullptr;
}

bool SdlAudio::PlayMusic(std::function<void()> ended) {
    if (!state_->opened || state_->music == nullptr) return false;
    state_->HaltMusic();
    {
        std::lock_guard lock(state_->mutex);
        state_->ended = std::move(ended);
    }
    if (Mix_PlayMusic(state_->music, 0) == 0) return true;
    std::lock_guard lock(state_->mutex);
    state_->ended = nullptr;
    return false;
}

void SdlAudio::CloseMusic() {
    if (state_->music == nullptr) return;
    state_->HaltMusic();
    Mix_FreeMusic(state_->music);
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
