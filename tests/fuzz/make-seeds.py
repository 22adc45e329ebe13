#!/usr/bin/env python3
"""Writes the seed corpus of the reply fuzz target: one valid frame of every kind, and a few
sequences that reach the deeper states (a full table, a connection being acknowledged).

The input format is described at the top of FuzzReply.cpp. Run from anywhere; it rewrites
tests/fuzz/corpus/reply/.
"""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "reply"

SEARCH_ON = b"\x01"
SEARCH_OFF = b"\x00"


def datagram(sender, frame):
    assert 0 < len(frame) <= 255
    return bytes([sender, len(frame)]) + frame


def action(kind, argument=0):
    return bytes([(argument << 3) | kind, 0])


def announcement(letter, name, fields):
    return b"%" + letter + b"\x00\x00\x0a\x00\x00\x63" + bytes([len(name)]) + name + fields + b"#"


def arn1(name):
    return announcement(b"D", name, bytes([3, 1, 1, 0, 0, 2]) + b"C0DE0001" + bytes([1, 2, 3]))


def arn1_short(name):
    return announcement(b"D", name, bytes([3, 1, 1, 0, 0, 2]))


def velk(name):
    return announcement(b"D", name, bytes([4, 0, 1, 0, 3]) + b"C0DE0002" + bytes([5, 6, 7]))


def velk_short(name):
    return announcement(b"D", name, bytes([4, 0, 1, 0, 3]))


def pxl2(name):
    def wide(value):
        return bytes([value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF])

    bands = b"".join(struct.pack(">BHHHB", shape, freq, q, gain, 0)
                     for shape, freq, q, gain in ((0, 100, 200, 300), (1, 500, 5, 700),
                                                  (2, 10, 30000, 310), (0, 30000, 500, 0)))
    fields = (bytes([9, 1, 0, 1, 0, 3]) + b"C0DE0003" + wide(0x123456) + wide(0xFF00)
              + wide(0xABCDEF) + bytes([5, 1, 1, 0xFE, 0]) + bands + b"\x00"
              + struct.pack(">HHH", 80, 0, 4))
    assert len(fields) == 67
    return announcement(b"H", name, fields)


def report(letter, values):
    return b"%" + letter + bytes(values) + b"#"


def processor_answer(name):
    return b"\xaa\x55" + bytes([len(name) + 1, 0x07]) + name + b"\xa5"


SEEDS = {
    "announce-arn1": SEARCH_ON + datagram(10, arn1(b"desk")),
    "announce-arn1-short": SEARCH_ON + datagram(10, arn1_short(b"desk")),
    "announce-velk": SEARCH_ON + datagram(10, velk(b"chair")),
    "announce-velk-short": SEARCH_ON + datagram(10, velk_short(b"chair")),
    "announce-pxl2": SEARCH_ON + datagram(10, pxl2(b"podium")),
    "announce-long-name": SEARCH_ON + datagram(10, arn1(b"n" * 40)),
    "announce-empty-names": SEARCH_ON + datagram(10, arn1(b"")) + datagram(11, velk(b"")),
    "report-settings": SEARCH_ON + datagram(10, arn1(b"a")) + datagram(10, report(b"E", [1] * 6))
    + datagram(11, velk(b"b")) + datagram(11, report(b"J", [2] * 5)),
    "report-levels": SEARCH_ON + datagram(10, arn1(b"a"))
    + b"".join(datagram(10, report(b"G", [v])) for v in (10, 20, 30, 40, 50))
    + b"".join(datagram(10, report(b"L", [v])) for v in (10, 20, 30, 40, 50)),
    "ignored-b-and-u": SEARCH_ON + datagram(10, report(b"B", [1, 2])) + datagram(10, report(b"U", [3])),
    "moved-unit": SEARCH_ON + datagram(10, arn1(b"a")) + datagram(12, arn1_short(b"a")),
    "stop-every-type": SEARCH_ON + datagram(10, arn1(b"t1")) + datagram(11, velk(b"t2"))
    + datagram(12, pxl2(b"t3")) + datagram(13, arn1_short(b"t4")) + datagram(14, velk_short(b"t5"))
    + action(4, 2) + action(0) + action(0) + datagram(10, arn1(b"t1")),
    "full-table": SEARCH_ON + b"".join(datagram(i, arn1(b"u%d" % i)) for i in range(1, 66)),
    "processor-answer": SEARCH_OFF + datagram(200, processor_answer(b"RDA-1")),
    "processor-connect": SEARCH_ON + datagram(200, processor_answer(b"RDA-1"))
    + datagram(201, processor_answer(b"")) + action(2, 1) + action(1, 19)
    + datagram(200, processor_answer(b"RDA-1")) + action(2, 2) + action(1, 31) + action(1, 31)
    + action(1, 31),
    "processor-added": SEARCH_OFF + action(3, 7) + action(2, 1) + datagram(7, processor_answer(b"hall")),
}


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for old in OUT.iterdir():
        old.unlink()
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)


if __name__ == "__main__":
    main()
