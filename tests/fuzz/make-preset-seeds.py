#!/usr/bin/env python3
"""Writes the seed corpus of the preset fuzz target: the start-up setting, settings at the
limits of every range, one value just outside, and files a byte too short or too long.

Run from anywhere; it rewrites tests/fuzz/corpus/preset/.
"""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "preset"

BAND_FREQUENCIES = (50, 200, 800, 1000, 3000, 8000, 12000)


def channel(band=None, hp=(20, 0, 0), lp=(20000, 0, 0), level=0, phase=0,
            dynamics=(0, 1, 1, 10), unused=0):
    """344 bytes: 7 bands of (frequency, gain, q, spare, spare, flag), 19 unused words,
    the crossovers with an unused word after each, level, phase, unused, threshold, attack,
    release, unused, ratio, 9 unused words."""
    words = []
    for i in range(7):
        frequency, gain, q = band(i) if band else (BAND_FREQUENCIES[i], 180, 20)
        words += [frequency, gain, q, unused, unused, 1]
    words += [unused] * 19
    words += [*hp, unused, *lp, unused, level, phase, unused]
    threshold, attack, release, ratio = dynamics
    words += [threshold, attack, release, unused, ratio] + [unused] * 9
    assert len(words) == 86
    return struct.pack("<86i", *words)


def preset(a=None, b=None, main=0, reserved=bytes(16), name=bytes(16)):
    data = (a or channel()) + (b or channel()) + struct.pack("<i", main) + reserved + name
    assert len(data) == 724
    return data


LOWEST = channel(band=lambda i: (20, 0, 1), hp=(20, 0, 0), lp=(20, 0, 0), level=0,
                 dynamics=(0, 1, 1, 10))
HIGHEST = channel(band=lambda i: (20000, 300, 1000), hp=(20000, 4, 1000), lp=(20000, 4, 1000),
                  level=254, phase=1, dynamics=(60, 100, 100, 2000), unused=-1)

SEEDS = {
    "start-up": preset(),
    "lowest": preset(LOWEST, LOWEST),
    "highest": preset(HIGHEST, HIGHEST, main=254, reserved=b"\xff" * 16, name=b"\xff" * 16),
    "variable-q-zero": preset(channel(hp=(120, 4, 0), lp=(8000, 4, 0)), main=100,
                              name=b"RDA-1".ljust(16, b"\0")),
    "frequency-too-high": preset(b=channel(band=lambda i: (20001, 180, 20))),
    "ratio-too-low": preset(channel(dynamics=(0, 1, 1, 9))),
    "main-level-too-high": preset(main=255),
    "one-byte-short": preset()[:723],
    "one-byte-long": preset() + b"\0",
    "empty": b"",
}


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for old in OUT.iterdir():
        old.unlink()
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)


if __name__ == "__main__":
    main()
