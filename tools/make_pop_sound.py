#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes resources/sounds/pop.wav: the short "Pop" Tessel plays after pasting.

A sine whose pitch falls quickly from 900 Hz to 300 Hz under a fast attack and an exponential
decay, 70 ms, 16-bit mono at 44.1 kHz. Deterministic: running it again gives the same bytes.

    python3 tools/make_pop_sound.py [output.wav]
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 44100
DURATION = 0.07
START_HZ, END_HZ = 900.0, 300.0
ATTACK = 0.003
DECAY = 0.018
PEAK = 0.6


def samples():
    phase = 0.0
    for i in range(int(RATE * DURATION)):
        t = i / RATE
        freq = END_HZ + (START_HZ - END_HZ) * math.exp(-t / 0.012)
        phase += 2 * math.pi * freq / RATE
        envelope = min(1.0, t / ATTACK) * math.exp(-t / DECAY)
        yield int(PEAK * envelope * math.sin(phase) * 32767)


def main():
    default = Path(__file__).resolve().parent.parent / "resources" / "sounds" / "pop.wav"
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    with wave.open(str(out), "wb") as wav:
        wav.setnchannels(1)
        wav.setsampwidth(2)
        wav.setframerate(RATE)
        wav.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main()
