#!/usr/bin/env python3
"""Judges screenshots of the saver (binary PPM, 8 bits a channel, as `import -depth 8`
writes them).

    analyse_screen.py early <ppm>...  only black and pure green
    analyse_screen.py late <ppm>...   only black and the two re-targeted swarm colours:
                                      red 255 with green 0..254, or green 255 with red
                                      0..254, blue 0 in both; each swarm present
    analyse_screen.py green <ppm>     exits 0 when any pure green pixel is present
    analyse_screen.py lit <ppm>...    prints the mean number of non-black pixels (a figure)

Prints one line per file with the colours found; exits 1 when a file fails.
"""
import collections
import sys

BLACK = (0, 0, 0)
GREEN = (0, 255, 0)


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    at += 1  # the single blank after the maximum value
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at:at + width * height * 3]
    if len(pixels) != width * height * 3:
        raise SystemExit(f"{path}: truncated")
    return width, height, collections.Counter(zip(*[iter(pixels)] * 3))


def swarm_a(colour):
    red, green, blue = colour
    return red == 255 and green <= 254 and blue == 0


def swarm_b(colour):
    red, green, blue = colour
    return green == 255 and red <= 254 and blue == 0


def describe(colours):
    shown = ", ".join(f"{c}x{n}" for c, n in colours.most_common(6))
    more = len(colours) - 6
    return shown + (f" and {more} more" if more > 0 else "")


def judge(mode, path):
    width, height, colours = read_ppm(path)
    non_black = {c: n for c, n in colours.items() if c != BLACK}
    if mode == "early":
        wrong = [c for c in non_black if c != GREEN]
        passed = not wrong
        why = f"not black or pure green: {wrong[:5]}" if wrong else ""
    elif mode == "late":
        wrong = [c for c in non_black if not (swarm_a(c) or swarm_b(c))]
        a = [c for c in non_black if swarm_a(c)]
        b = [c for c in non_black if swarm_b(c)]
        passed = not wrong and a and b
        why = (f"outside both swarms: {wrong[:5]}" if wrong else
               "" if (a and b) else f"a swarm is missing (red-255 colours {a}, green-255 colours {b})")
    elif mode == "green":
        passed = GREEN in colours
        why = "" if passed else "no pure green pixel"
    else:
        raise SystemExit(f"unknown mode {mode}")
    print(f"{path}: {width}x{height} {describe(collections.Counter(colours))}"
          + (f" -- {why}" if why else ""))
    return passed


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    mode = sys.argv[1]
    if mode == "lit":
        counts = [sum(n for c, n in read_ppm(path)[2].items() if c != BLACK)
                  for path in sys.argv[2:]]
        print(sum(counts) // len(counts))
        return
    results = [judge(mode, path) for path in sys.argv[2:]]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
