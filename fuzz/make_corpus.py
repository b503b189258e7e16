#!/usr/bin/python3
"""Writes the generated starting inputs of the fuzz harnesses.

Usage: make_corpus.py FOLDER

Makes FOLDER/<harness>/ with a few small inputs each: WAVE files in the
layouts the reader knows (plain, extra chunks, odd sizes, extensible format,
other bit depths), .TIM files with empty, short, long and damaged heads,
number fields and answer lines, and command lines as the front end builds
them, filter files good and damaged. The WAVE harness also starts from
testdata/wav-external.
"""
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


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    top = sys.argv[1]
    for harness, files in (("wave_reader_fuzz", waves()), ("tim_file_fuzz", tims()),
                           ("number_parse_fuzz", numbers()),
                           ("command_words_fuzz", command_lines()),
                           ("filter_file_fuzz", filter_files())):
        folder = os.path.join(top, harness)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
