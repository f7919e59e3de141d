#!/usr/bin/env python3
"""Writes the seed theme files built around the picture budget's edges into the corpus folders
given as arguments: a picture at exactly the largest side and the largest decoded size, one pixel
over each, and a 1-bit 5000 x 5000 picture. Only the bitmap headers and a few rows are stored
(bodies are truncated), so the seeds stay small while their headers claim the large sizes.

Also pictures that cannot be decoded (a width or height of 0 or less, bit depths no bitmap has, a
header size of 0xFFFFFFF0, no pixels), one stored top row first, and a picture key holding no
bitmap at all, each among good entries: they must read as missing and be reported, never crash.

Usage: make_budget_seeds.py fuzz/themefile/corpus fuzz/themeload/corpus"""
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


def patched_bitmap(width, height, bits, header_size=40, body_bytes=48):
    """A 24-bit-sized 4 x 4 bitmap file whose header fields are set as given, right or wrong."""
    header = b"BM" + struct.pack("<IHHI", 14 + 40 + body_bytes, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, 0, 0, 2835, 2835, 0, 0)
    return header + info + b"\x40" * body_bytes


def good_bitmap():
    return patched_bitmap(4, 4, 24)


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


def with_good_entries(name, data):
    """The broken picture between two good ones, as a theme file of many pictures has it."""
    return [("ButtonImage", good_bitmap()), (name, data), ("ProgressBarImage", good_bitmap())]


SEEDS.update({
    "undecodable_width0.kav": with_good_entries("CheckBoxImage", patched_bitmap(0, 4, 24)),
    "undecodable_width_negative.kav": with_good_entries("CheckBoxImage", patched_bitmap(-4, 4, 24)),
    "undecodable_height_min.kav": with_good_entries("RadioButtonImage", patched_bitmap(4, -2**31, 24)),
    "undecodable_bits0.kav": with_good_entries("ScrollBarButtonImage", patched_bitmap(4, 4, 0)),
    "undecodable_bits2.kav": with_good_entries("ScrollBarSliderImage", patched_bitmap(4, 4, 2)),
    "undecodable_bits7.kav": with_good_entries("TitleBarButtonImage", patched_bitmap(4, 4, 7)),
    "undecodable_bits64.kav": with_good_entries("TitleBarLeftImage", patched_bitmap(4, 4, 64)),
    "undecodable_header_size.kav": with_good_entries("TabControlTabImage", patched_bitmap(4, 4, 24, 0xFFFFFFF0)),
    "undecodable_no_pixels.kav": with_good_entries("TrackBarSliderImage", patched_bitmap(4, 4, 24, body_bytes=0)),
    "undecodable_not_bitmap.kav": with_good_entries("SideChannelBarImage", b"GIF89a, a picture of another kind"),
    "undecodable_2x.kav": [("ButtonImage", patched_bitmap(8, 4, 24, body_bytes=96)),
                           ("ButtonImage@2x", patched_bitmap(16, 8, 7))],
    "top_row_first.kav": with_good_entries("CheckBoxImage", patched_bitmap(16, -4, 24, body_bytes=192)),
})

for folder in sys.argv[1:]:
    for name, pictures in SEEDS.items():
        (Path(folder) / name).write_bytes(theme(pictures))
