#!/usr/bin/python3
"""Writes the generated starting inputs of the fuzz harnesses.

Usage: make_corpus.py FOLDER

Makes FOLDER/<harness>/ with a few small inputs each: WAVE files in the
layouts the reader knows (plain, extra chunks, odd sizes, extensible format,
other bit depths), .TIM files with empty, short, long and damaged heads,
number fields and answer lines, and command lines as the front end builds
them, filter files good and damaged, and impulse responses in every
container the analysis reads (.TIM, WAVE integer and float, extensible,
RF64, AIFF, FLAC), each behind the byte that picks its name. The WAVE
harness also starts from testdata/wav-external, the response harness from
its smaller files.
"""
import math
import os
import struct
import sys


def chunk(tag, body, pad=True):
    data = tag + struct.pack("<I", len(body)) + body
    if pad and len(body) % 2:
        data += b"\0"
    return data


def fmt_body(channels=1, rate=44100, bits=16, tag=1, extra=b""):
    align = channels * bits // 8
    return struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits) + extra


def riff(*chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def samples(n, step=997):
    return b"".join(struct.pack("<h", (i * step) % 65536 - 32768) for i in range(n))


def waves():
    pcm_guid = struct.pack("<H", 1) + bytes.fromhex("000000001000800000aa00389b71")
    extensible = fmt_body(2, 48000, 16, 0xFFFE, struct.pack("<HHI", 22, 16, 3) + pcm_guid)
    return {
        "mono_3_frames.wav": riff(chunk(b"fmt ", fmt_body()), chunk(b"data", samples(3))),
        "stereo_no_frames.wav": riff(chunk(b"fmt ", fmt_body(2)), chunk(b"data", b"")),
        "stereo_64_frames.wav": riff(chunk(b"fmt ", fmt_body(2, 96000)),
                                     chunk(b"data", samples(128))),
        "list_before_data.wav": riff(chunk(b"fmt ", fmt_body()),
                                     chunk(b"LIST", b"INFOISFT\x05\0\0\0test\0"),
                                     chunk(b"data", samples(8))),
        "odd_chunk_padded.wav": riff(chunk(b"JUNK", b"abc"), chunk(b"fmt ", fmt_body()),
                                     chunk(b"fact", b"\x01\0\0\0x"), chunk(b"data", samples(5))),
        "format_18.wav": riff(chunk(b"fmt ", fmt_body(extra=b"\0\0")),
                              chunk(b"data", samples(4))),
        "extensible_stereo.wav": riff(chunk(b"fmt ", extensible), chunk(b"data", samples(8))),
        "eight_bit.wav": riff(chunk(b"fmt ", fmt_body(bits=8)), chunk(b"data", b"\x80" * 6)),
        "data_size_10_align_4.wav": riff(chunk(b"fmt ", fmt_body(2)),
                                         chunk(b"data", samples(5))),
        "data_longer_than_file.wav": riff(chunk(b"fmt ", fmt_body()),
                                          b"data" + struct.pack("<I", 1000) + samples(4)),
        "no_data.wav": riff(chunk(b"fmt ", fmt_body())),
    }


def tim(points, values, mode=0, interval=1000 / 44100, trailer=True):
    head = struct.pack("<ihfi", -21555, mode, interval, points)
    body = b"".join(struct.pack("<f", v) for v in values)
    tail = (b"Waveform (from DAT recording)    - Volts\0".ljust(80) if trailer else b"")
    return head + body + tail


def tims():
    inf = float("inf")
    return {
        "no_points.tim": tim(0, []),
        "four_points.tim": tim(4, [0.5, -1.0, 0.999969482421875, 1e-40], mode=1),
        "not_finite.tim": tim(3, [inf, -inf, float("nan")]),
        "short.tim": tim(16, [0.25] * 5, trailer=False),
        "negative_count.tim": tim(-1, [0.0]),
        "count_too_large.tim": tim(65537, [0.0] * 4),
        "head_only.tim": tim(2, [])[:14],
        "cut_head.tim": tim(2, [])[:9],
    }


def decay(n, t60_points, seed=1):
    """A decaying response of n values, random signs, 60 dB in t60_points."""
    state = seed
    out = []
    for i in range(n):
        state = (1103515245 * state + 12345) & 0x7FFFFFFF
        sign = 1.0 if state & 0x10000 else -1.0
        out.append(sign * 0.8 * math.exp(-6.9078 * i / t60_points))
    return out


def tim_trailer():
    block = bytearray(b" " * 700)
    block[412:432] = b" 8/12/2026 16: 5: 0\0"
    block[440:475] = b"take1.wav".ljust(35)
    block[612:616] = struct.pack("<f", 0.125)
    return (b"Impulse Response (from gun shot) - Volts\0".ljust(80) +
            b"File transferred from a .WAV original file\0".ljust(60) + bytes(block))


def wave_file(values, channels=1, rate=44100, encoding="pcm16", container="riff"):
    if encoding == "pcm16":
        tag, bits = 1, 16
        data = b"".join(struct.pack("<h", int(v * 32767)) for v in values)
    elif encoding == "pcm24":
        tag, bits = 1, 24
        data = b"".join(struct.pack("<i", int(v * 8388607))[:3] for v in values)
    else:
        tag, bits = 3, 32
        data = b"".join(struct.pack("<f", v) for v in values)
    if container == "extensible":
        guid = struct.pack("<H", tag) + bytes.fromhex("000000001000800000aa00389b71")
        fmt = fmt_body(channels, rate, bits, 0xFFFE, struct.pack("<HHI", 22, bits, 3) + guid)
    else:
        fmt = fmt_body(channels, rate, bits, tag)
    if container != "rf64":
        return riff(chunk(b"fmt ", fmt), chunk(b"data", data))
    ds64 = struct.pack("<QQQI", 36 + 24 + len(fmt) + len(data) + 8, len(data),
                       len(data) // (channels * bits // 8), 0)
    body = (b"WAVE" + chunk(b"ds64", ds64) + chunk(b"fmt ", fmt) +
            b"data" + struct.pack("<I", 0xFFFFFFFF) + data)
    return b"RF64" + struct.pack("<I", 0xFFFFFFFF) + body


def aiff_file(values, rate=48000):
    data = b"".join(struct.pack(">h", int(v * 32767)) for v in values)
    exponent = 16383 + int(math.floor(math.log2(rate)))
    mantissa = int(rate * 2 ** (63 - int(math.floor(math.log2(rate)))))
    comm = struct.pack(">hIh", 1, len(values), 16) + struct.pack(">HQ", exponent, mantissa)
    body = (b"AIFF" + b"COMM" + struct.pack(">I", len(comm)) + comm +
            b"SSND" + struct.pack(">III", len(data) + 8, 0, 0) + data)
    return b"FORM" + struct.pack(">I", len(body)) + body


def crc8(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = ((crc << 1) ^ 0x07) & 0xFF if crc & 0x80 else (crc << 1) & 0xFF
    return crc


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x8005) & 0xFFFF if crc & 0x8000 else (crc << 1) & 0xFFFF
    return crc


def flac_file(values, rate=44100):
    """One mono frame of 16-bit samples, stored verbatim."""
    n = len(values)
    info = struct.pack(">HH", n, n) + b"\0" * 6
    bits = (rate << 44) | (0 << 41) | (15 << 36) | n  # rate, channels - 1, bits - 1, samples
    info += bits.to_bytes(8, "big") + b"\0" * 16
    header = bytes([0xFF, 0xF8, 0x70, 0x08, 0x00]) + struct.pack(">H", n - 1)
    header += bytes([crc8(header)])
    frame = header + b"\x02" + b"".join(struct.pack(">h", int(v * 32767)) for v in values)
    frame += struct.pack(">H", crc16(frame))
    return b"fLaC" + bytes([0x80, 0, 0, 34]) + info + frame


def responses():
    short = decay(600, 300)
    stereo = [v for pair in zip(decay(500, 200, 2), decay(500, 250, 3)) for v in pair]
    as_tim, as_wav = b"\1", b"\0"
    files = {
        "decay.tim": as_tim + tim(600, short, mode=1, trailer=False) + tim_trailer(),
        "decay_no_trailer.tim": as_tim + tim(600, short, trailer=False),
        "decay_untagged.tim": as_tim + b"\0\0\0\0" + tim(300, short[:300], trailer=False)[4:],
        "zeros.tim": as_tim + tim(64, [0.0] * 64, trailer=False),
        "pcm16.wav": as_wav + wave_file(short),
        "pcm24_stereo.wav": as_wav + wave_file(stereo, 2, 48000, "pcm24"),
        "float_extensible.wav": as_wav + wave_file(short, 1, 96000, "float", "extensible"),
        "rf64.wav": as_wav + wave_file(short, 1, 48000, "pcm16", "rf64"),
        "aiff.aif": as_wav + aiff_file(short),
        "flac.flac": as_wav + flac_file(short),
    }
    external = os.path.join(os.path.dirname(__file__), "..", "testdata", "wav-external")
    for sub in ("valid", "invalid"):
        folder = os.path.join(external, sub)
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if name.endswith(".wav") and os.path.getsize(path) <= 12000:
                with open(path, "rb") as f:
                    files["external_" + sub + "_" + name] = as_wav + f.read()
    return files


def numbers():
    # First byte: implied decimals. Then the field or answer line.
    texts = [
        (3, "94.5"), (3, "94"), (3, "-12.25"), (3, "  9 4 . 5 "), (3, ""),
        (3, "1.5E+3"), (3, "2d-2"), (3, "+.5e-45"), (3, "3.4e38"), (3, "1e39"),
        (0, " 94.0, 3"), (0, "1"), (0, "-3"), (0, "-9223372036854775808"),
        (0, "9223372036854775808"), (0, ",5"), (0, "MLS"), (0, "1.5"),
    ]
    return {"number_%02d.txt" % i: bytes([d]) + t.encode() for i, (d, t) in enumerate(texts)}


def command_lines():
    lines = [
        r'IRGEN.EXE "take1.WAV" "left.TIM" "NONE" 94.5 1',
        r'fenwix.exe "h._01" "o.TIM"  22050 White ',
        'a\tb  \t c',
        r'a"b c"d x "" y',
        r'C:\dir\file.wav "C:\dir\file.wav" a\\b a\"b',
        r'a\\"b c" a\\\"b "dir\" x "open ended',
        r'trail\ ',
    ]
    return {"line_%02d.txt" % i: t.encode() for i, t in enumerate(lines)}


def filter_files():
    centres = [31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000]
    plain = "".join(" %g  0 \r\n" % f for f in centres)
    return {
        "flat.dat": plain.encode(),
        "gains.dat": "".join("%g,%g\n" % (f, -3.5 * i) for i, f in enumerate(centres)).encode(),
        "bom_and_exponents.dat": b"\xef\xbb\xbf" + "".join(
            "%.3E\t+%dD-1\r" % (f, i) for i, f in enumerate(centres)).encode(),
        "too_few.dat": b" 31.5 0 \r\n 63 1\r\n",
        "not_a_number.dat": b" 31.5 zero \r\n",
        "gain_too_large.dat": b" 31.5 1e39 \r\n",
        # The largest finite values, as text and as twenty raw doubles.
        "largest.dat": "".join(
            "%r %r\r\n" % (sign * 1.7976931348623157e308, sign * 3.4028234663852886e38)
            for sign in (1, -1) * 5).encode(),
        "largest_doubles.bin": struct.pack(
            "<20d", *[v for sign in (1, -1) * 5
                      for v in (sign * 1.7976931348623157e308, sign * 3.4028234663852886e38)]),
    }


def signals():
    """Channel counts, block length, lead and trail, then 16-bit samples."""
    def case(dry, response, block, lead, trail, n):
        head = bytes([dry - 1, response - 1, block // 2 - 1, lead, trail])
        return head + samples(n)
    return {
        "mono_mono.bin": case(1, 1, 16, 0, 0, 300),
        "mono_stereo.bin": case(1, 2, 64, 3, 2, 500),
        "stereo_mono.bin": case(2, 1, 2, 0, 7, 120),
        "stereo_stereo.bin": case(2, 2, 512, 7, 0, 900),
        "three_channels.bin": case(3, 1, 8, 0, 0, 60),
    }


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    top = sys.argv[1]
    for harness, files in (("wave_reader_fuzz", waves()), ("tim_file_fuzz", tims()),
                           ("number_parse_fuzz", numbers()),
                           ("command_words_fuzz", command_lines()),
                           ("filter_file_fuzz", filter_files()),
                           ("response_reader_fuzz", responses()),
                           ("convolution_fuzz", signals())):
        folder = os.path.join(top, harness)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
