#pragma once
// A small command-string interface to the music device, in the manner of a
// multimedia command interpreter: the caller sends whole commands as text and
// names a receiver for the notification that a play has ended.
//
// Understood commands (words separated by blanks, as written here):
//   open "<path>" type sequencer alias bgm   loads a MIDI file as device "bgm"
//   play bgm from 0 notify                   plays it from its start once and
//                                            notifies when it has played out
//   close bgm                                stops and closes the device
// Anything else is refused with an error code. No command shows anything.
#include <functional>
#include <string>

namespace zv {

class AudioOutput;

// Error codes (0 is success).
enum MediaError : int {
    kMediaOk = 0,
    kMediaUnrecognizedCommand = 261,
    kMediaDeviceNotOpen = 263,  // no device is known by that alias
    kMediaAliasInUse = 289,
    kMediaCannotLoad = 275,  // the file is missing or not playable
    kMediaPlayFailed = 277,
};

// Notification codes.
enum MediaNotifyCode : int {
    kMediaNotifySuccessful = 1,
};

// Receives the notification of a finished play. It may be called from the
// audio thread: a window posts it to its own thread (a queued call).
using MediaNotify = std::function<void(int code)>;

// Size of the reply buffer callers pass, as the interpreter's own callers do.
inline constexpr std::size_t kMediaReplySize = 255;

// The interpreter as callers see it; tests replace it with a recorder.
class MediaCommands {
public:
    virtual ~MediaCommands() = default;
    // Executes one command. `reply` receives the command's text result (at
    // most kMediaReplySize - 1 bytes; empty for the commands above).
    virtual int SendString(const std::string& command, std::string& reply, const MediaNotify& notify) = 0;
};

// The real interpreter, driving an AudioOutput (the process-wide one when
// none is given).
class DeviceMediaCommands : public MediaCommands {
public:
    explicit DeviceMediaCommands(AudioOutput* output = nullptr) : output_(output) {}
    int SendString(const std::string& command, std::string& reply, const MediaNotify& notify) override;

private:
    AudioOutput& Output();

    AudioOutput* output_;
    bool open_ = false;
};

// The process-wide interpreter; defaults to a DeviceMediaCommands on the
// process-wide audio output.
MediaCommands& CurrentMediaCommands();

// Replaces the process-wide interpreter (tests); nullptr restores the real one.
void SetMediaCommands(MediaCommands* commands);

// Sends a command to the process-wide interpreter.
int MediaSendString(const std::string& command, std::string& reply, const MediaNotify& notify = {});

}  // namespace zv
