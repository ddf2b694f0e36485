#!/usr/bin/env python3
"""Compares two 32-bit float WAV files sample by sample.

Usage: compare-renders.py A.wav B.wav [tolerance]
Exits 0 when both hold the same number of channels and frames and no sample differs by more
than the tolerance (1e-6 by default); prints the largest difference either way.
"""
import struct
import sys


def read_float_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"{path}: not a WAV file")
    position, channels, samples = 12, None, None
    while position + 8 <= len(data):
        chunk, size = data[position:position + 4], struct.unpack_from("<I", data, position + 4)[0]
        body = data[position + 8:position + 8 + size]
        if chunk == b"fmt ":
            code, channels = struct.unpack_from("<HH", body, 0)
            bits = struct.unpack_from("<H", body, 14)[0]
            if code == 0xFFFE:
                code = struct.unpack_from("<H", body, 24)[0]
            if code != 3 or bits != 32:
                sys.exit(f"{path}: not 32-bit float samples")
        elif chunk == b"data":
            samples = struct.unpack(f"<{size // 4}f", body[: size // 4 * 4])
        position += 8 + size + (size & 1)
    if channels is None or samples is None:
        sys.exit(f"{path}: no format or no samples")
    return channels, samples


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    tolerance = float(sys.argv[3]) if len(sys.argv) == 4 else 1e-6
    channels_a, a = read_float_wav(sys.argv[1])
    channels_b, b = read_float_wav(sys.argv[2])
    if channels_a != channels_b or len(a) != len(b):
        sys.exit(f"different shapes: {channels_a} x {len(a)} against {channels_b} x {len(b)}")
    largest = max((abs(x - y) for x, y in zip(a, b)), default=0.0)
    identical = a == b
    print(f"{len(a) // channels_a} frames, largest difference {largest:.3g}"
          + (" (bit for bit)" if identical else ""))
    sys.exit(0 if largest <= tolerance else 1)


if __name__ == "__main__":
    main()
