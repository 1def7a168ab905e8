#include "sound/midi_length.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "config/file_io.h"

namespace zv {
namespace {

using Bytes = std::vector<unsigned char>;

void PutBigEndian(std::string& out, unsigned value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A Standard MIDI File of the given format and division, one chunk a track
// (each track's events as written, end-of-track included by the caller).
std::string Midi(unsigned format, unsigned division, std::initializer_list<Bytes> tracks) {
    std::string out = "MThd";
    PutBigEndian(out, 6, 4);
    PutBigEndian(out, format, 2);
    PutBigEndian(out, static_cast<unsigned>(tracks.size()), 2);
    PutBigEndian(out, division, 2);
    for (const Bytes& track : tracks) {
        out += "MTrk";
        PutBigEndian(out, static_cast<unsigned>(track.size()), 4);
        out.append(track.begin(), track.end());
    }
    return out;
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(MidiNotesEnd, ShippedBackgroundMusic) {
    // 15350 ticks of 240 a quarter note at 0.6 s a quarter note; its last
    // notes are released with the end of the track.
    auto bytes = ReadWholeFile(std::string(ZV_SOURCE_DIR) + "data/sound/jan#7.mid");
    ASSERT_TRUE(bytes);
    auto end = MidiNotesEnd(*bytes);
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 38.375, 1e-9);
}

TEST(MidiNotesEnd, ReleaseOfTheLastNoteUnderTheTempoMap) {
    // 96 ticks a quarter; the default tempo (0.5 s a quarter) until tick
    // 192, then 1 s a quarter. Note-on with velocity 0 releases, running
    // status carries the note messages, and the end of the track comes
    // later than the last release.
    const Bytes notes = {0x00, 0x90, 0x40, 0x70,         // note on at 0
                         0x81, 0x40, 0x40, 0x00,         // running status: released at 192
                         0x60, 0x42, 0x50,               // on at 288
                         0x60, 0x80, 0x42, 0x00,         // off at 384
                         0x83, 0x00, 0xFF, 0x2F, 0x00};  // end of track at 768
    const Bytes tempo = Join({{0x81, 0x40, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}, kEnd});
    auto end = MidiNotesEnd(Midi(1, 96, {tempo, notes}));
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 1.0 + 2.0, 1e-9);  // 192 ticks at 0.5 s a quarter, 192 at 1 s

    // The same in one track (format 0), the tempo change among the notes.
    const Bytes single = {0x00, 0x90, 0x40, 0x70, 0x81, 0x40, 0x40, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42,
                          0x40, 0x60, 0x90, 0x42, 0x50, 0x60, 0x80, 0x42, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    end = MidiNotesEnd(Midi(0, 96, {single}));
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 3.0, 1e-9);
}

TEST(MidiNotesEnd, HeldNotesEndWithTheirTrackAndOtherEventsAreSkipped) {
    const Bytes track = {0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,  // system exclusive
                         0x00, 0xC0, 0x05,                    // programme change: one data byte
                         0x00, 0xFF, 0x03, 0x02, 'h',  'i',   // track name
                         0x00, 0x91, 0x3C, 0x40,              // never released
                         0x30, 0xB1, 0x07, 0x64,              // controller at 48
                         0x30, 0xFF, 0x2F, 0x00};             // end of track at 96
    auto end = MidiNotesEnd(Midi(0, 96, {track}));
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 0.5, 1e-9);

    // Chunks of unknown kinds are passed over.
    std::string withAlien = Midi(0, 96, {track});
    withAlien.insert(14, std::string("XTRA\0\0\0\2ab", 10));
    end = MidiNotesEnd(withAlien);
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 0.5, 1e-9);
}

TEST(MidiNotesEnd, TimeCodeDivision) {
    // 25 frames a second, 40 ticks a frame: 1000 ticks a second; tempo
    // changes do not count.
    const Bytes track = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0x90, 0x40,
                         0x70, 0x87, 0x68, 0x80, 0x40, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    auto end = MidiNotesEnd(Midi(0, 0xE728, {track}));
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 1.0, 1e-9);
}

TEST(MidiNotesEnd, NothingForFilesThatGiveNoTime) {
    const Bytes note = Join({{0x00, 0x90, 0x40, 0x70, 0x60, 0x80, 0x40, 0x00}, kEnd});
    ASSERT_TRUE(MidiNotesEnd(Midi(0, 96, {note})));

    EXPECT_FALSE(MidiNotesEnd(""));
    EXPECT_FALSE(MidiNotesEnd("RIFF....WAVEfmt "));
    EXPECT_FALSE(MidiNotesEnd(Midi(2, 96, {note})));  // patterns played one after another
    EXPECT_FALSE(MidiNotesEnd(Midi(0, 0, {note})));   // no ticks a quarter note
    EXPECT_FALSE(MidiNotesEnd(Midi(0, 96, {kEnd})));  // no notes
    EXPECT_FALSE(MidiNotesEnd(Midi(0, 96, {Join({{0x00, 0x90, 0x40, 0x00}, kEnd})})));  // only a release
    // A data byte with no status before it, a status a file cannot hold,
    // and a delta time longer than four bytes.
    EXPECT_FALSE(MidiNotesEnd(Midi(0, 96, {Join({{0x00, 0x40, 0x70}, note})})));
    EXPECT_FALSE(MidiNotesEnd(Midi(0, 96, {Join({{0x00, 0xF8}, note})})));
    EXPECT_FALSE(MidiNotesEnd(Midi(0, 96, {Join({{0x80, 0x80, 0x80, 0x80, 0x00, 0xFF, 0x2F, 0x00}, note})})));

    // Cut short anywhere: in the header, in a chunk, in an event.
    std::string whole = Midi(0, 96, {note});
    for (std::size_t length : {std::size_t{4}, std::size_t{13}, std::size_t{20}, whole.size() - 6}) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(MidiNotesEnd(whole.substr(0, length)));
    }
}

}  // namespace
}  // namespace zv
