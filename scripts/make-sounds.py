#!/usr/bin/env python3
"""Synthesises the launcher's default sounds into data/sound/.

Writes one short WAV file per game event (small tones and chords, each event
with its own pitch, rhythm and timbre) and the background piece "jan#7.mid",
a short tune written out as a Standard MIDI File. Standard library only; the
generated files are committed, so building never needs Python.

Usage: scripts/make-sounds.py [OUTPUT_DIR]
"""
import math
import os
import struct
import sys
import wave

RATE = 22050

# Event sound files with (notes as MIDI numbers, pattern, timbre, seconds).
# Patterns: "chord" sounds the notes together, "up"/"down" arpeggiates them.
EVENTS = [
    ("tumo.wav", [72, 76, 79], "up", "bell", 0.45),
    ("ron.wav", [67, 71, 74, 79], "up", "bright", 0.6),
    ("reach.wav", [69, 76], "chord", "bright", 0.5),
    ("kan.wav", [60, 67], "chord", "square", 0.35),
    ("pon.wav", [74], "chord", "square", 0.2),
    ("tie.wav", [77], "chord", "soft", 0.2),
    ("advice.wav", [79, 84, 88], "down", "bell", 0.5),
    ("choice.wav", [81], "chord", "soft", 0.15),
    ("choiceend.wav", [81, 76], "down", "soft", 0.3),
    ("res.wav", [83], "chord", "bell", 0.15),
    ("resend.wav", [83, 79], "down", "bell", 0.3),
    ("declron.wav", [62, 66, 69, 74], "chord", "bright", 0.7),
    ("decltumo.wav", [64, 67, 71, 76], "chord", "bright", 0.7),
    ("declreach.wav", [65, 69, 72], "up", "square", 0.55),
    ("declpon.wav", [70, 74], "up", "square", 0.3),
    ("decltie.wav", [72, 75], "up", "soft", 0.3),
    ("declkan.wav", [55, 62, 67], "chord", "square", 0.5),
    ("gameend.wav", [72, 67, 64, 60], "down", "bell", 1.0),
    ("1st.wav", [60, 64, 67, 72, 76], "up", "bright", 1.0),
    ("2nd.wav", [62, 65, 69, 74], "up", "bright", 0.8),
    ("3rd.wav", [64, 67, 71], "up", "soft", 0.7),
    ("4th.wav", [67, 63, 60], "down", "soft", 0.8),
    ("yaku.wav", [69, 72, 76], "chord", "bell", 0.6),
    ("cmdbutton.wav", [86], "chord", "square", 0.08),
    ("info.wav", [88, 91], "up", "bell", 0.2),
    ("color.wav", [84, 88, 91], "up", "soft", 0.25),
    ("openning.wav", [60, 67, 72, 76, 79], "up", "bell", 1.2),
    ("rank.wav", [79, 83], "chord", "bell", 0.3),
    ("tumogiri.wav", [90], "chord", "soft", 0.08),
    ("quicklog.wav", [86, 89], "up", "square", 0.15),
    ("cancel.wav", [76, 72], "down", "square", 0.2),
    ("furi.wav", [58, 61, 64], "chord", "square", 0.6),
    ("mangan.wav", [67, 72, 76, 79, 84], "up", "bright", 1.0),
    ("ryukyoku1.wav", [65, 62, 58], "down", "soft", 0.7),
    ("ryukyoku2.wav", [64, 60, 57, 53], "down", "soft", 0.9),
    ("pai.wav", [93], "chord", "bell", 0.06),
]


def frequency(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def voice(timbre, phase):
    if timbre == "square":
        return 0.6 if math.sin(phase) >= 0 else -0.6
    if timbre == "bright":
        return math.sin(phase) + 0.4 * math.sin(2 * phase) + 0.2 * math.sin(3 * phase)
    if timbre == "bell":
        return math.sin(phase) + 0.3 * math.sin(2.76 * phase)
    return math.sin(phase)


def render(notes, pattern, timbre, seconds):
    total = int(RATE * seconds)
    samples = [0.0] * total
    if pattern == "chord":
        starts = [0] * len(notes)
    else:  # "up" and "down" lists are written in the order they sound
        step = total // (len(notes) + 1)
        starts = [i * step for i in range(len(notes))]
    for note, start in zip(notes, starts):
        f = frequency(note)
        length = total - start
        for i in range(length):
            t = i / RATE
            attack = min(1.0, i / (0.005 * RATE))
            decay = math.exp(-3.5 * t / seconds)
            release = min(1.0, (length - i) / (0.01 * RATE))
            samples[start + i] += voice(timbre, 2 * math.pi * f * t) * attack * decay * release
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.7 * 32767 / peak
    return b"".join(struct.pack("<h", int(s * scale)) for s in samples)


def write_wav(path, frames):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def var_len(value):
    data = [value & 0x7F]
    value >>= 7
    while value:
        data.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(data)


def midi_track(events):
    """events: list of (absolute tick, bytes); returns an MTrk chunk."""
    events = sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80))
    body = b""
    now = 0
    for tick, data in events:
        body += var_len(tick - now) + data
        now = tick
    body += var_len(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body


# The background piece: a calm tune on a pentatonic scale over a walking bass.
# Each entry is (note or None for a rest, length in eighths).
MELODY = [
    (69, 2), (72, 2), (74, 3), (76, 1), (74, 2), (72, 2), (69, 4),
    (67, 2), (69, 2), (72, 2), (74, 2), (76, 6), (None, 2),
    (79, 2), (76, 2), (74, 3), (72, 1), (74, 2), (76, 2), (69, 4),
    (72, 2), (74, 2), (72, 2), (67, 2), (69, 6), (None, 2),
    (76, 2), (79, 2), (81, 3), (79, 1), (76, 2), (74, 2), (76, 4),
    (74, 2), (72, 2), (69, 2), (72, 2), (74, 6), (None, 2),
    (69, 2), (72, 2), (74, 2), (76, 2), (79, 2), (76, 2), (74, 2), (72, 2),
    (74, 2), (72, 2), (67, 2), (64, 2), (69, 8),
]
BASS = [45, 45, 43, 43, 41, 41, 43, 45, 45, 45, 43, 43, 41, 43, 45, 45]


def write_midi(path):
    division = 240  # ticks per quarter note; an eighth is 120
    eighth = division // 2
    events = [
        (0, b"\xff\x51\x03" + (600000).to_bytes(3, "big")),  # 100 beats a minute
        (0, b"\xc0\x49"),  # channel 1: flute
        (0, b"\xc1\x20"),  # channel 2: acoustic bass
        (0, b"\xc2\x58"),  # channel 3: pad
    ]
    tick = 0
    for note, length in MELODY:
        if note is not None:
            events.append((tick, bytes([0x90, note, 92])))
            events.append((tick + length * eighth - 10, bytes([0x80, note, 0])))
        tick += length * eighth
    for bar, root in enumerate(BASS):
        start = bar * 8 * eighth
        for beat, offset in enumerate([0, 7, 12, 7]):
            at = start + beat * 2 * eighth
            events.append((at, bytes([0x91, root + offset, 80])))
            events.append((at + 2 * eighth - 10, bytes([0x81, root + offset, 0])))
        chord = [root + 24, root + 28 if bar % 4 != 3 else root + 27, root + 31]
        for n in chord:
            events.append((start, bytes([0x92, n, 40])))
            events.append((start + 8 * eighth - 10, bytes([0x82, n, 0])))
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, division)
    with open(path, "wb") as out:
        out.write(header + midi_track(events))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "sound")
    os.makedirs(out_dir, exist_ok=True)
    for name, notes, pattern, timbre, seconds in EVENTS:
        write_wav(os.path.join(out_dir, name), render(notes, pattern, timbre, seconds))
    write_midi(os.path.join(out_dir, "jan#7.mid"))


if __name__ == "__main__":
    main()
