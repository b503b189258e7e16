#!/usr/bin/python3
"""Writes samples/stereo_ir.wav: a short synthetic stereo room impulse response.

A direct-sound spike, two early reflections and an exponentially decaying
noise tail per channel, 16-bit PCM at 44.1 kHz, 0.4 s long. The noise comes
from a fixed linear congruential generator so that the file is the same on
every run and every machine.

Usage: make_sample.py [PATH [FRAMES [FLOOR_DB]]]: a longer response (the
benchmark's 65535 frames), and with FLOOR_DB a noise floor that many dB
below the direct sound over the whole file, as a measured response has.
"""
import math
import struct
import sys
import wave

RATE = 44100
FRAMES = int(RATE * 0.4)


def lcg(state):
    while True:
        state = (1103515245 * state + 12345) & 0x7FFFFFFF
        yield state / 0x7FFFFFFF * 2.0 - 1.0


def channel(delay, reflections, decay_s, noise_seed, frames=FRAMES, floor_db=None):
    noise = lcg(noise_seed)
    out = [0.0] * frames
    if floor_db is not None:
        floor = lcg(noise_seed + 100)
        level = 0.9 * 10 ** (-floor_db / 20)
        out = [level * next(floor) for _ in range(frames)]
    out[delay] += 0.9
    for offset, gain in reflections:
        out[delay + offset] += gain
    for i in range(delay, frames):
        t = (i - delay) / RATE
        out[i] += 0.25 * math.exp(-6.9 * t / decay_s) * next(noise)
    return out


def main(path, frames=FRAMES, floor_db=None):
    left = channel(40, [(310, -0.45), (780, 0.3)], 0.30, 1, frames, floor_db)
    right = channel(55, [(260, 0.5), (905, -0.25)], 0.32, 2, frames, floor_db)
    frames = bytearray()
    for l, r in zip(left, right):
        for v in (l, r):
            s = max(-32768, min(32767, int(round(v * 32767))))
            frames += struct.pack("<h", s)
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "samples/stereo_ir.wav",
         int(sys.argv[2]) if len(sys.argv) > 2 else FRAMES,
         float(sys.argv[3]) if len(sys.argv) > 3 else None)
