#!/usr/bin/env python3
"""Writes the seed theme files built around the picture budget's edges into the corpus folders
given as arguments: a picture at exactly the largest side and the largest decoded size, one pixel
over each, and a 1-bit 5000 x 5000 picture. Only the bitmap headers and a few rows are stored
(bodies are truncated), so the seeds stay small while their headers claim the large sizes."""
import struct
import sys
from pathlib import Path

MAX_SIDE = 4096
SQUARE = 2048  # 2048 x 2048 x 4 bytes is exactly the decoded budget
RECORD = 77


def bitmap(width, height, bits, body_bytes):
    palette = b"\x00\x00\x00\x00\xff\xff\xff\x00" if bits == 1 else b""
    offset = 14 + 40 + len(palette)
    row = ((width * bits + 31) // 32) * 4
    declared = min(offset + row * height, 0x7FFFFFFF)
    header = b"BM" + struct.pack("<IHHI", declared, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2835, 2835,
                       2 if bits == 1 else 0, 0)
    return header + info + palette + b"\x80" * body_bytes


def record(name, kind, data_offset, data_size, next_offset):
    return name.encode().ljust(64, b"\0") + bytes([kind]) + struct.pack("<iii", data_offset, data_size, next_offset)


def theme(pictures):
    out = b"Corvane_TB\0\0" + struct.pack("<iii", 24, 1, 24)
    for name, data in pictures:
        data_at = len(out) + RECORD
        out += record(name, 0, data_at, len(data), data_at + len(data)) + data
    return out + record("", 2, 0, 0, 0)


SEEDS = {
    "budget_widest.kav": [("ButtonImage", bitmap(MAX_SIDE, 1, 24, 256))],
    "budget_too_wide.kav": [("ButtonImage", bitmap(MAX_SIDE + 1, 1, 24, 256))],
    "budget_tallest.kav": [("CheckBoxImage", bitmap(1, MAX_SIDE, 24, 256))],
    "budget_square.kav": [("TitleBarClientImage", bitmap(SQUARE, SQUARE, 1, 1024))],
    "budget_square_over.kav": [("TitleBarClientImage", bitmap(SQUARE, SQUARE + 1, 1, 1024))],
    "huge_1bit_truncated.kav": [("ButtonImage", bitmap(5000, 5000, 1, 2048)),
                                ("ButtonImage@2x", bitmap(5000, 5000, 1, 64))],
}

for folder in sys.argv[1:]:
    for name, pictures in SEEDS.items():
        (Path(folder) / name).write_bytes(theme(pictures))
