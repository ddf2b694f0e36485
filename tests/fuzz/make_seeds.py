#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into tests/fuzz/corpus/.

The input formats are described at the top of each *Fuzzer.cpp. Inputs that the fuzzers found
themselves may sit beside these seeds in the corpus folders; this script leaves them alone.
"""
import math
import struct
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"
PROGRAM, BYPASS = 22, 23
LOW_FREQ, HIGH_FREQ, TONES, WAVE, PLAY_ANYWAY, VOLUME = 1, 2, 3, 8, 11, 12
COMMON_RATES = [8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000,
                352800, 384000]


def share(x):
    """A value kind 3: a share of 0..1."""
    return b"\x03" + struct.pack("<I", round(x * 0xFFFFFFFF))


def special(index):
    return b"\x00" + bytes([index])


def slot(k):
    return b"\x01" + bytes([k])


def hertz(value):
    """Normalised value of "Low Freq" and "High Freq": 5 to 10000 Hz on a square curve."""
    return math.sqrt((value - 5) / 9995)


def block(frames, changes=(), note=False):
    out = b"\x00" + bytes([len(changes)])
    for param, values in changes:
        values = values if isinstance(values, list) else [values]
        out += bytes([param, len(values) - 1])
        for offset, value in enumerate(values):
            out += value + struct.pack("<i", offset)
    out += b"\x01" + struct.pack("<ihf", 3, 60, 0.8) if note else b"\x00"
    return out + struct.pack("<H", frames)


def reconfigure(rate, max_block, double=False):
    if rate in COMMON_RATES:
        out = b"\x01\x00" + bytes([COMMON_RATES.index(rate)])
    else:
        out = b"\x01\x01" + struct.pack("<I", round((rate - 8000) / 376000 * 0xFFFFFFFF))
    return out + struct.pack("<H", max_block - 1) + (b"\x01" if double else b"\x00")


def transport(kind, position=None):
    out = b"\x02" + bytes([kind])
    if kind == 3:
        out += b"\x01" + struct.pack("<q", position) if position < 0 or position >= 1 << 30 \
            else b"\x00" + struct.pack("<I", position)
    return out


PLAY, STOP, RECORD, JUMP = 1, 0, 2, 3


def process_seeds():
    seeds = {"defaults-playing": transport(PLAY) + block(512) * 16}
    # Tones above the sample rate, for every wave.
    for wave in range(7):
        seeds[f"low-rate-wave-{wave}"] = (
            reconfigure(8000, 4096) + transport(PLAY)
            + block(4096, [(LOW_FREQ, share(hertz(9000))), (HIGH_FREQ, share(1.0)),
                           (WAVE, share(wave / 6)), (TONES, share(15 / 15))])
            + block(4096) * 15)
    sweep = transport(PLAY)
    for k in range(0, 150, 7):
        sweep += block(256, [(PROGRAM, slot(k))])
    seeds["program-sweep"] = sweep + block(256, [(PROGRAM, slot(149))]) + block(256)
    rates = transport(PLAY) + block(64, [(PLAY_ANYWAY, share(1.0)), (VOLUME, share(1.0))])
    for i, rate in enumerate(COMMON_RATES + [12345.5, 300000.25]):
        rates += reconfigure(rate, [1, 64, 1000, 8192][i % 4], double=i % 2 == 1)
        rates += block([1, 8192, 777, 4096][i % 4]) + block(0)
    seeds["rates-and-block-sizes"] = rates
    seeds["transport-jumps"] = (
        transport(PLAY) + block(1024) + transport(JUMP, 960000) + block(1024)
        + transport(STOP) + block(1024) * 2 + transport(RECORD) + block(1024)
        + transport(JUMP, -(1 << 40)) + block(1024) + transport(JUMP, (1 << 63) - 100)
        + block(1024) + transport(PLAY) + transport(JUMP, 0) + block(1024))
    every = transport(PLAY)
    for param in range(22):
        every += block(300, [(param, [share(0.3), special(0)])])
        every += block(300, [(param, special(6))]) + block(300, [(param, special(5))])
    seeds["every-parameter-and-odd-values"] = every + block(300, [(BYPASS, special(6))], True) \
        + block(300, [(BYPASS, special(5)), (0xFF, share(0.5))])
    return seeds


def state_seeds():
    defaults = [11, 10, 1500, 7, 25, 50, 50, 50, 0, 60, 2, 0, 50, 0, 18, 24, -24, 24, -24, 25,
                50, 75]
    state = struct.pack("<22d", *defaults)
    odd = struct.pack("<22d", 1e9, -1e9, math.nan, 3.7, math.inf, -math.inf, 0.5, 100, 6.5, 0.1,
                      -0.0, 1.5, 101, 2, 91, -91, 1e-310, 0, 0, 100, 0, 100)
    return {
        "default-state": b"\x00\x00\x00\x00" + state,
        "default-state-trailing": b"\x00\x00\x00\x00" + state + b"\x00" * 4,
        "odd-values": b"\x00\x00\x00\x00" + odd,
        "short-state": b"\x00\x00\x00\x00" + state[:100],
        "awkward-stream": b"\x00\x07\x01\x01" + state,
        "wavelab-awkward-stream": b"\x01\x05\x01\x00" + state + state,
        "empty": b"\x00\x00\x00\x00",
    }


def text(characters, append=True):
    out = bytes([len(characters)])
    for c in characters:
        out += struct.pack("<H", ord(c)) + (b"\x01" if append else b"\x00")
    return out


def text_seeds():
    typed = b""
    for param, words in [(0, "11.5"), (1, "440"), (3, "16"), (8, "Triangle"), (8, "gold. square"),
                         (10, "Left"), (11, "Yes"), (13, "Real Freq"), (14, "-90"), (21, "0.0"),
                         (9, "180.0 s"), (2, " 1e3"), (12, "nan"), (5, "-inf")]:
        typed += bytes([param, 0, 0]) + text(words)
    shown = b""
    for param in range(22):
        shown += bytes([param, 0, 1, param]) + struct.pack("<I", 0x9E3779B9 * (param + 1) % 2**32)
        shown += text(" %")
    numbers = b""
    for param in list(range(22)) + [PROGRAM, BYPASS]:
        numbers += bytes([param, 1, 1, param % 8]) + bytes([param, 1, 0]) + struct.pack("<d", 0.25)
    return {"typed-words": typed, "shown-texts": shown, "numbers": numbers,
            "program-text": bytes([PROGRAM, 0, 0]) + text("user preset 1")}


def main():
    for target, seeds in [("process", process_seeds()), ("state", state_seeds()),
                          ("text", text_seeds())]:
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
