#!/usr/bin/env python3
"""Writes shutter.wav, the camera shutter sound of quick-shoot: PCM, 2 channels, 44100 Hz,
16 bits, exactly 50,688 bytes of samples (12,672 frames, about 0.29 s).

Two short bursts of filtered noise with a fast decay, the first (the shutter opening) louder
than the second (closing), with a little stereo spread. Deterministic: the noise comes from a
fixed linear congruential generator, so the file is the same on every run.

    python3 resources/sounds/make_shutter_wav.py
"""
import math
import os
import struct

RATE = 44100
CHANNELS = 2
BITS = 16
DATA_BYTES = 50688
FRAMES = DATA_BYTES // (CHANNELS * BITS // 8)

state = 12345


def noise():
    global state
    state = (1103515245 * state + 12345) & 0x7FFFFFFF
    return state / 0x3FFFFFFF - 1.0


def burst(t, start, length, level, tone):
    if t < start or t >= start + length:
        return 0.0
    age = t - start
    envelope = math.exp(-age / (length / 6.0)) * min(1.0, age / 0.0008)
    return level * envelope * (0.75 * noise() + 0.25 * math.sin(2 * math.pi * tone * age))


def main():
    samples = bytearray()
    low = [0.0, 0.0]
    for i in range(FRAMES):
        t = i / RATE
        raw = burst(t, 0.0, 0.060, 0.85, 2400) + burst(t, 0.150, 0.070, 0.55, 1700)
        for channel in range(CHANNELS):
            # A one-pole low-pass, slightly different per side, softens the hiss.
            k = 0.55 if channel == 0 else 0.5
            low[channel] += k * (raw - low[channel])
            value = max(-1.0, min(1.0, low[channel]))
            samples += struct.pack("<h", int(value * 32767))
    assert len(samples) == DATA_BYTES
    header = b"RIFF" + struct.pack("<I", 36 + DATA_BYTES) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, CHANNELS, RATE,
                                    RATE * CHANNELS * BITS // 8, CHANNELS * BITS // 8, BITS)
    header += b"data" + struct.pack("<I", DATA_BYTES)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "shutter.wav")
    with open(path, "wb") as out:
        out.write(header + bytes(samples))


if __name__ == "__main__":
    main()
