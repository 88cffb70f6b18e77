#!/usr/bin/env python3
"""Writes data/1.wav, the chime Longhand loops when a calculation has ended.

Two soft bell strokes a fifth apart (C6, then G6), each a sum of decaying
partials, followed by a short rest so that the loop breathes. The output
is deterministic: running the script again gives the same bytes.

Usage: scripts/make_chime.py [output.wav]   (default: data/1.wav)
"""

import math
import os
import struct
import sys
import wave

RATE = 22050          # samples per second, mono
LENGTH = 1.1          # seconds, including the rest before the loop repeats
PEAK = 0.45           # loudest sample as a fraction of full scale
ATTACK = 0.004        # seconds of fade-in per stroke (no click)
FADE_OUT = 0.05       # seconds of fade-out at the end (a seamless loop)

# (start in seconds, fundamental in Hz, decay time constant in seconds)
STROKES = [(0.0, 1046.50, 0.28), (0.16, 1567.98, 0.34)]
# Bell-like partials: (frequency ratio, relative amplitude, decay factor)
PARTIALS = [(1.0, 1.0, 1.0), (2.0, 0.30, 0.6), (2.76, 0.12, 0.45), (5.40, 0.04, 0.3)]


def sample(t):
    value = 0.0
    for start, freq, tau in STROKES:
        u = t - start
        if u < 0:
            continue
        attack = min(1.0, u / ATTACK)
        for ratio, amp, decay in PARTIALS:
            value += attack * amp * math.exp(-u / (tau * decay)) * math.sin(
                2 * math.pi * freq * ratio * u)
    remaining = LENGTH - t
    if remaining < FADE_OUT:
        value *= max(0.0, remaining / FADE_OUT)
    return value


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", "data", "1.wav"))
    count = int(RATE * LENGTH)
    raw = [sample(i / RATE) for i in range(count)]
    scale = PEAK / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", int(round(v * scale * 32767))) for v in raw)
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print(f"{out}: {count} samples, {os.path.getsize(out)} bytes")


if __name__ == "__main__":
    main()
