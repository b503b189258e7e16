#!/usr/bin/python3
"""Writes samples/dry.wav: a short dry (anechoic) signal to auralise.

A plucked-string phrase (Karplus-Strong: a delay line one period long, filled
with a noise burst and fed back through a two-point average, so that the
string's upper partials die first) and a few hand claps (bursts of noise,
band-limited and decaying within 30 ms, each of a few quick hits), 16-bit PCM
mono at 44.1 kHz, 8 s long. Every random number comes from a fixed linear
congruential generator: the file is the same on every run and every machine.

Usage: make_dry.py [PATH]
"""
import math
import struct
import sys
import wave

RATE = 44100
SECONDS = 8.0


class Lcg:
    def __init__(self, seed):
        self.state = seed

    def uniform(self):
        """-1 .. 1."""
        self.state = (1103515245 * self.state + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF * 2.0 - 1.0


def pluck(out, start_s, frequency, level, random, ring_s=2.0):
    """Adds one plucked note to `out`."""
    period = RATE / frequency
    length = int(period)
    fraction = period - length  # tuned by a first-order all-pass
    coefficient = (1.0 - fraction) / (1.0 + fraction)
    line = [random.uniform() for _ in range(length)]
    # A softer pluck: the burst smoothed once.
    line = [0.5 * (line[i] + line[i - 1]) for i in range(length)]
    start = int(start_s * RATE)
    previous_in = previous_out = 0.0
    for n in range(min(int(ring_s * RATE), len(out) - start)):
        i = n % length
        current = line[i]
        averaged = 0.996 * 0.5 * (current + line[i - 1])
        tuned = coefficient * averaged + previous_in - coefficient * previous_out
        previous_in, previous_out = averaged, tuned
        line[i] = tuned
        out[start + n] += level * current


def clap(out, start_s, level, random):
    """Adds one clap: three hits 8 ms apart, then a short noise tail."""
    start = int(start_s * RATE)
    low = 0.0
    for n in range(int(0.06 * RATE)):
        t = n / RATE
        envelope = sum(math.exp(-(t - k * 0.008) / 0.004) for k in range(3) if t >= k * 0.008)
        envelope += 0.3 * math.exp(-t / 0.03)
        noise = random.uniform()
        low += 0.35 * (noise - low)  # takes off the top octave
        if start + n < len(out):
            out[start + n] += level * envelope * (noise - low)


def dry():
    random = Lcg(20261209)
    out = [0.0] * int(SECONDS * RATE)
    a = 220.0
    semitone = 2.0 ** (1.0 / 12.0)
    # A minor phrase: (time s, semitones above A3, level).
    phrase = [(0.10, 0, 0.5), (0.45, 3, 0.4), (0.80, 7, 0.4), (1.15, 12, 0.45),
              (1.50, 10, 0.35), (1.85, 7, 0.35), (2.20, 8, 0.4), (2.90, 5, 0.4),
              (3.25, 3, 0.35), (3.60, 2, 0.35), (3.95, 0, 0.5), (4.00, 7, 0.3)]
    for start, step, level in phrase:
        pluck(out, start, a * semitone ** step, level, random)
    for start in (5.2, 5.7, 6.2, 6.45):
        clap(out, start, 0.35, random)
    peak = max(abs(x) for x in out)
    return [x / peak * 0.7 for x in out]


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "samples/dry.wav"
    samples = dry()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(round(x * 32767))) for x in samples))


if __name__ == "__main__":
    main()
