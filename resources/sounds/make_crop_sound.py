#!/usr/bin/env python3
"""Writes crop.wav: the program's own short cutting sound (a scissor-like snip).

PCM, 2 channels, 44,100 Hz, 16 bits, exactly 40,000 bytes of samples (10,000 frames,
about 0.23 s): two short clicks of filtered noise with a falling metallic ring.
"""
import math
import random
import struct
import wave

RATE = 44100
FRAMES = 10000

random.seed(7)
samples = []
low = 0.0
for n in range(FRAMES):
    t = n / RATE
    value = 0.0
    for start, strength in ((0.0, 1.0), (0.085, 0.8)):
        u = t - start
        if u >= 0:
            envelope = math.exp(-u * 60.0)
            low = 0.6 * low + 0.4 * random.uniform(-1, 1)
            ring = math.sin(2 * math.pi * (3200 - 4000 * u) * u)
            value += strength * envelope * (0.7 * low + 0.3 * ring)
    fade = min(1.0, (FRAMES - n) / 400.0)
    sample = int(max(-1.0, min(1.0, value * 0.8 * fade)) * 32767)
    samples.append(sample)

with wave.open("crop.wav", "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(RATE)
    out.writeframes(b"".join(struct.pack("<hh", s, s) for s in samples))
