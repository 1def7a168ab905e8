#include "sound/midi_length.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace zv {
namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds a quarter note: 120 beats a minute

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t microsPerQuarter;
};

// Reads big-endian numbers, variable-length quantities and bytes from a
// range, remembering whether it ever ran past its end.
class Reader {
public:
    Reader(const unsigned char* begin, const unsigned char* end) : p_(begin), end_(end) {}

    bool AtEnd() const { return p_ >= end_; }
    bool Failed() const { return failed_; }
    std::size_t Left() const { return static_cast<std::size_t>(end_ - p_); }

    std::uint32_t Byte() {
        if (p_ >= end_) return Fail();
        return *p_++;
    }
    std::uint32_t Peek() const { return p_ < end_ ? *p_ : 0; }
    std::uint32_t BigEndian(int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value = (value << 8) | Byte();
        return value;
    }
    // At most four bytes, seven bits each, the high bit set on all but the
    // last.
    std::uint32_t Quantity() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint32_t b = Byte();
            value = (value << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        return Fail();
    }
    const unsigned char* Skip(std::size_t count) {
        if (count > Left()) {
            Fail();
            return end_;
        }
        const unsigned char* at = p_;
        p_ += count;
        return at;
    }

private:
    std::uint32_t Fail() {
        failed_ = true;
        p_ = end_;
        return 0;
    }

    const unsigned char* p_;
    const unsigned char* end_;
    bool failed_ = false;
};

// The tick at which the last note of one track is released, or nothing for
// a track without notes or one that cannot be read. Tempo changes are
// added to `tempos`.
std::optional<std::uint64_t> TrackNotesEnd(Reader track, std::vector<TempoChange>& tempos) {
    std::array<std::uint16_t, 16 * 128> held{};  // notes sounding, by channel and key
    int sounding = 0;
    std::optional<std::uint64_t> lastRelease;
    std::uint64_t tick = 0;
    std::uint32_t running = 0;  // running status: the last channel message's status byte
    while (!track.AtEnd()) {
        tick += track.Quantity();
        std::uint32_t status = track.Peek();
        if (status >= 0x80) {
            track.Byte();
        } else if (running != 0) {
            status = running;  // data byte: the status of the message before
        } else {
            return std::nullopt;
        }
        if (status == 0xFF) {  // meta event
            std::uint32_t type = track.Byte();
            std::uint32_t length = track.Quantity();
            const unsigned char* data = track.Skip(length);
            if (track.Failed()) return std::nullopt;
            if (type == 0x51 && length == 3) {
                std::uint32_t tempo =
                    (std::uint32_t{data[0]} << 16) | (std::uint32_t{data[1]} << 8) | data[2];
                if (tempo != 0) tempos.push_back({tick, tempo});
            }
            if (type == 0x2F) break;  // end of track
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {  // system exclusive
            track.Skip(track.Quantity());
            continue;
        }
        if (status > 0xEF) return std::nullopt;  // real-time and common messages have no place in a file
        running = status;
        const std::uint32_t kind = status & 0xF0, channel = status & 0x0F;
        const std::uint32_t first = track.Byte();
        const std::uint32_t second = (kind == 0xC0 || kind == 0xD0) ? 0 : track.Byte();
        if (track.Failed() || first > 0x7F || second > 0x7F) return std::nullopt;
        std::uint16_t& count = held[channel * 128 + first];
        if (kind == 0x90 && second != 0) {
            if (count == 0xFFFF) continue;  // a key struck that often without release counts no further
            ++count;
            ++sounding;
        } else if ((kind == 0x80 || kind == 0x90) && count > 0) {
            --count;
            --sounding;
            lastRelease = tick;
        }
    }
    if (track.Failed()) return std::nullopt;
    if (sounding > 0) lastRelease = tick;  // the end of the track releases them
    return lastRelease;
}

// Seconds of `ticks` under the tempo changes (sorted by tick).
double TicksToSeconds(std::uint64_t ticks, std::uint32_t ticksPerQuarter,
                      const std::vector<TempoChange>& tempos) {
    double seconds = 0;
    std::uint64_t from = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const TempoChange& change : tempos) {
        if (change.tick >= ticks) break;
        seconds += static_cast<double>(change.tick - from) * tempo / ticksPerQuarter / 1e6;
        from = change.tick;
        tempo = change.microsPerQuarter;
    }
    return seconds + static_cast<double>(ticks - from) * tempo / ticksPerQuarter / 1e6;
}

}  // namespace

std::optional<double> MidiNotesEnd(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    Reader file(data, data + bytes.size());
    if (bytes.substr(0, 4) != "MThd") return std::nullopt;
    file.Skip(4);
    const std::uint32_t headerLength = file.BigEndian(4);
    if (headerLength < 6) return std::nullopt;
    const std::uint32_t format = file.BigEndian(2);
    const std::uint32_t tracks = file.BigEndian(2);
    const std::uint32_t division = file.BigEndian(2);
    file.Skip(headerLength - 6);
    // Format 2 holds independent patterns played one after another.
    if (file.Failed() || format > 1 || division == 0) return std::nullopt;

    std::vector<TempoChange> tempos;
    std::optional<std::uint64_t> lastRelease;
    std::uint32_t found = 0;
    while (found < tracks && !file.AtEnd()) {
        const unsigned char* id = file.Skip(4);
        const std::uint32_t length = file.BigEndian(4);
        const unsigned char* body = file.Skip(length);
        if (file.Failed()) return std::nullopt;
        // Chunks of other kinds are passed over.
        if (std::string_view(reinterpret_cast<const char*>(id), 4) != "MTrk") continue;
        ++found;
        auto end = TrackNotesEnd(Reader(body, body + length), tempos);
        if (end) lastRelease = std::max(lastRelease.value_or(0), *end);
    }
    if (!lastRelease) return std::nullopt;

    if ((division & 0x8000) != 0) {
        // Time code: frames a second (negative in the high byte; 29 stands
        // for 29.97) and ticks a frame. Tempo plays no part.
        const int frames = -static_cast<std::int8_t>(division >> 8);
        const std::uint32_t ticksPerFrame = division & 0xFF;
        if (frames <= 0 || ticksPerFrame == 0) return std::nullopt;
        const double framesPerSecond = frames == 29 ? 29.97 : frames;
        return static_cast<double>(*lastRelease) / (framesPerSecond * ticksPerFrame);
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    return TicksToSeconds(*lastRelease, division, tempos);
}

}  // namespace zv
