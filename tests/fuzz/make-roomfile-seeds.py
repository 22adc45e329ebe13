#!/usr/bin/env python3
"""Writes the seed corpus of the room file fuzz target: a room of every family with a
processor, the lowest and highest values, codes no control names, a name in Chinese, one value
just outside its range, another version, a file that is not a room file, and one that is not
JSON. Each is written compactly, so that it fits the fuzzer's input length. Beside them, the
datagrams of a few units' announcements and reports taken from the reply parser's seeds, one
after the other with 0xFF between them, for the target's second use of its input.

Run from anywhere; it rewrites tests/fuzz/corpus/roomfile/.
"""
import copy
import json
import pathlib

OUT = pathlib.Path(__file__).resolve().parent / "corpus" / "roomfile"
REPLY = OUT.parent / "reply"

FAMILIES = {1: "ARN1", 2: "VEL-K", 3: "PXL2", 4: "ARN1", 5: "VEL-K"}
BAND_FREQUENCIES = (50, 200, 800, 1000, 3000, 8000, 12000)


def unit(number, kind, name=None):
    name = name or f"Seat {number:02}"
    entry = {"number": number, "name": name, "name_gbk": name.encode("gbk").hex(),
             "address": f"127.0.160.{9 + number}", "family": FAMILIES[kind], "type": kind,
             "gain": -6 if kind in (2, 5) else 6, "low_cut": False, "mute": False, "mode": "ON"}
    if kind in (1, 4):
        entry["phantom"] = True
    if kind in (1, 2):
        entry.update(colour_open="GREEN", colour_mute="RED", colour_call="LIGHT_BLUE")
    if kind == 3:
        entry.update(colour_open="#00FF00", colour_mute="#FF0000", colour_call="#FFA000")
        for band, frequency in enumerate((100, 500, 2000, 5000), 1):
            entry[f"eq{band}"] = {"frequency": frequency, "gain": 0.0, "q": 2.0,
                                  "shape": "peaking", "enabled": True}
        entry["eq_low_cut"] = {"frequency": 20, "shape": 4}
    return entry


def processor():
    entry = {"address": "127.0.160.200", "name": "HALL", "name_gbk": b"HALL".hex(),
             "level_main": 24.0}
    for channel in "ab":
        entry[f"level_{channel}"] = 24.0
        entry[f"phase_{channel}"] = False
        for band, frequency in enumerate(BAND_FREQUENCIES, 1):
            entry[f"{channel}_band{band}_frequency"] = frequency
            entry[f"{channel}_band{band}_gain"] = 0.0
            entry[f"{channel}_band{band}_q"] = 2.0
        for cut, frequency in (("hp", 20), ("lp", 20000)):
            entry[f"{channel}_{cut}_type"] = "Butterworth 1"
            entry[f"{channel}_{cut}_frequency"] = frequency
            entry[f"{channel}_{cut}_q"] = 0.0
        entry.update({f"{channel}_threshold": 0, f"{channel}_ratio": 1.0,
                      f"{channel}_attack": 1, f"{channel}_release": 1})
    return entry


def room(units, with_processor=True):
    top = {"format": "arx-room", "version": 1, "saved": "2026-01-31 12:00:31",
           "saved_by": "ARX 1.2.0", "units": units}
    if with_processor:
        top["processor"] = processor()
    return top


def every_family():
    return room([unit(number, kind) for number, kind in enumerate((1, 2, 3, 4, 5), 1)])


def extremes(low):
    top = every_family()
    for entry in top["units"]:
        entry["gain"] = (-6 if entry["type"] in (2, 5) else 0) if low else 15
        entry["mode"] = "OFF" if low else "PTM"
        for band in range(1, 5):
            if f"eq{band}" in entry:
                entry[f"eq{band}"].update(frequency=20 if low else 20000,
                                          gain=-15.0 if low else 15.0, q=0.1 if low else 100.0)
        if "eq_low_cut" in entry:
            entry["eq_low_cut"]["frequency"] = 20 if low else 200
    p = top["processor"]
    p["level_main"] = -103.0 if low else 24.0
    for channel in "ab":
        p[f"level_{channel}"] = -103.0 if low else 24.0
        for band in range(1, 8):
            p[f"{channel}_band{band}_frequency"] = 20 if low else 20000
            p[f"{channel}_band{band}_gain"] = -18.0 if low else 12.0
            p[f"{channel}_band{band}_q"] = 0.1 if low else 100.0
        for cut in ("hp", "lp"):
            p[f"{channel}_{cut}_type"] = "Butterworth 1" if low else "Variable"
            p[f"{channel}_{cut}_q"] = 0.0 if low else 100.0
        p.update({f"{channel}_threshold": 0 if low else -60,
                  f"{channel}_ratio": 1.0 if low else 200.0,
                  f"{channel}_attack": 1 if low else 100, f"{channel}_release": 1 if low else 100})
    return top


def codes():
    top = every_family()
    first, second, pxl2 = top["units"][0], top["units"][1], top["units"][2]
    first["gain"] = {"code": 9}
    first["colour_open"] = {"code": 12}
    first["mute"] = {"code": 2}
    second["mode"] = {"code": 7}
    pxl2["gain"] = {"code": 7}
    pxl2["colour_call"] = {"code": 16777216}
    pxl2["eq2"] = {"frequency": {"code": 5}, "gain": {"code": 100}, "q": {"code": 0},
                   "shape": {"code": 9}, "enabled": {"code": 3}}
    top["processor"]["phase_b"] = {"code": 2}
    return top


def datagrams(name):
    """A reply seed's datagrams: after its flags byte, records of [sender][length][bytes]."""
    data = (REPLY / name).read_bytes()[1:]
    pieces = []
    while len(data) >= 2:
        length = data[1]
        if length:
            pieces.append(data[2:2 + length])
        data = data[2 + length:]
    return b"\xff".join(pieces)


def write(name, content):
    data = content if isinstance(content, bytes) else json.dumps(
        content, ensure_ascii=False, separators=(",", ":")).encode()
    (OUT / name).write_bytes(data)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for old in OUT.iterdir():
        old.unlink()
    write("every-family", every_family())
    write("lowest", extremes(True))
    write("highest", extremes(False))
    write("codes", codes())
    write("chinese-name", room([unit(1, 3, "主席 01")], with_processor=False))
    write("empty-room", room([]))
    outside = every_family()
    outside["processor"]["b_band3_frequency"] = 20001
    write("frequency-too-high", outside)
    off_step = every_family()
    off_step["processor"]["a_band1_gain"] = 1.25
    write("gain-off-step", off_step)
    not_listed = every_family()
    not_listed["units"][0]["gain"] = 7
    write("gain-not-listed", not_listed)
    later = copy.deepcopy(every_family())
    later["version"] = 2
    write("version-2", later)
    write("not-a-room", {"format": "something else", "version": 1})
    write("not-json", b'{"format": "arx-room", "version": 1, "units": [')
    write("empty", b"")
    for seed in ("announce-arn1", "announce-pxl2", "announce-velk-short", "report-settings"):
        write("unit-" + seed, datagrams(seed))


if __name__ == "__main__":
    main()
