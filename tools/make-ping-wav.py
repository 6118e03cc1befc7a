#!/usr/bin/env python3
"""Writes data/Ping.wav: a soft two-tone chime (a fifth apart, bell-like decay), about
0.35 s, 22050 Hz, 16-bit mono PCM. Run once; the result is committed."""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.35
# (start in seconds, pitch in Hz, loudness)
NOTES = [(0.0, 880.0, 0.5), (0.09, 1318.5, 0.42)]


def chime(t, pitch):
    """A bell-like tone: the fundamental with a quieter octave, decaying fast."""
    attack = min(1.0, t / 0.004)  # no click at the start
    decay = math.exp(-t * 11.0)
    tone = math.sin(2 * math.pi * pitch * t) + 0.25 * math.sin(2 * math.pi * 2 * pitch * t)
    return attack * decay * tone / 1.25


def samples():
    count = int(RATE * LENGTH)
    for i in range(count):
        t = i / RATE
        value = sum(level * chime(t - start, pitch)
                    for start, pitch, level in NOTES if t >= start)
        fade_out = min(1.0, (count - i) / (RATE * 0.02))
        yield int(max(-1.0, min(1.0, value * fade_out)) * 32767 * 0.8)


def main(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data/Ping.wav")
