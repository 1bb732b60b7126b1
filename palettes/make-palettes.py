#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes Greenland.pal, Wasteland.pal and Winter.pal (JASC-PAL, CR LF line ends).

The composed terrain view indexes these palettes: each terrain kind uses a run of indices,
base + (shading - 1) / n. Every run is a dark-to-light ramp whose middle colour sits where a
shading of 64 lands (the flat shading of a generated map), dark toward shading 1 and light
toward shading 128 and beyond, so the shading layer reads as relief. Indices no terrain uses get
a cycle of distinct hues, so single layers shown through the palette still separate their values.

Run from anywhere: python3 palettes/make-palettes.py
"""

import colorsys
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def scale(colour, factor):
    return tuple(max(0, min(255, round(c * factor))) for c in colour)


def towards(colour, target, t):
    return lerp(colour, target, t)


WHITE = (255, 255, 255)


def base_palette():
    pal = [(0, 0, 0)]
    for i in range(1, 256):
        hue = (i * 0.381966) % 1.0  # golden-ratio steps keep neighbours apart
        value = 0.55 + 0.35 * ((i * 7) % 5) / 4
        r, g, b = colorsys.hsv_to_rgb(hue, 0.45, value)
        pal.append((round(r * 255), round(g * 255), round(b * 255)))
    return pal


def terrain_codes(pal, rock, sand, water):
    """Indices 1 to 7 hold terrain-like colours so layers 2 and 3 read when shown raw."""
    pal[1] = rock
    pal[2] = scale(rock, 1.3)
    pal[3] = scale(sand, 0.8)
    pal[4] = sand
    pal[5] = water
    pal[6] = scale(water, 0.85)
    pal[7] = scale(sand, 0.9)


def segment(pal, lo, lo_colour, hi, hi_colour):
    for i in range(lo, hi + 1):
        t = 0.0 if hi == lo else (i - lo) / (hi - lo)
        pal[i] = lerp(lo_colour, hi_colour, t)


def ramp(pal, base, n, mid, last=None, dark=0.55, light=1.3, end_white=0.55):
    """A relief ramp over base + d(s) for s = 1..255: dark at s = 1, `mid` at s = 64,
    lighter at s = 128, fading toward white up to s = 255 (or up to index `last`)."""
    d = lambda s: (s - 1) // n
    i_mid = base + d(64)
    i_light = base + d(128)
    i_end = base + d(255) if last is None else last
    dark_colour = scale(mid, dark)
    light_colour = towards(scale(mid, light), WHITE, 0.15)
    end_colour = towards(light_colour, WHITE, end_white)
    segment(pal, base, dark_colour, i_mid, mid)
    if i_light > i_mid:
        segment(pal, i_mid, mid, i_light, light_colour)
    if i_end > i_light:
        segment(pal, i_light, light_colour, i_end, end_colour)


def flat(pal, index, colour):
    pal[index] = colour


def greenland():
    pal = base_palette()
    water = (38, 92, 178)
    sand = (222, 204, 140)
    rock = (128, 118, 108)
    meadow = (84, 150, 56)
    terrain_codes(pal, rock, sand, water)
    ramp(pal, 8, 16, (120, 122, 70))  # band between mountain and meadow (code 18)
    ramp(pal, 42, 24, (170, 178, 92))  # band between shore and land (code 14)
    flat(pal, 57, (200, 70, 30))  # code 16
    for i in range(58, 64):
        flat(pal, i, scale(water, 0.9 + 0.05 * (i - 58)))
    flat(pal, 61, water)
    ramp(pal, 120, 16, (225, 232, 240))  # code 2
    ramp(pal, 194, 12, sand, last=207)  # shore (codes 4, 7)
    ramp(pal, 208, 10, rock, last=222, light=1.45)  # mountains 13 (208) and 1, 11, 12 (210)
    # Meadow (225 + d10, middle 231); bands 3 (224 + d16) and 0 (229 + d14) fall inside it.
    ramp(pal, 225, 10, meadow, last=250, dark=0.5, light=1.35, end_white=0.35)
    segment(pal, 222, pal[222], 225, pal[225])
    flat(pal, 253, (245, 245, 245))
    flat(pal, 254, (120, 60, 130))  # codes outside the terrain table
    return pal


def wasteland():
    pal = base_palette()
    water = (40, 90, 150)
    sand = (200, 176, 118)
    rock = (96, 82, 72)
    terrain_codes(pal, rock, sand, water)
    flat(pal, 8, (118, 100, 70))  # band between mountain and steppe (code 18)
    ramp(pal, 25, 24, rock, light=1.5)  # mountains 11, 12, 13
    ramp(pal, 40, 43, (150, 120, 80))  # code 3
    flat(pal, 57, (210, 80, 30))
    for i in range(58, 64):
        flat(pal, i, scale(water, 0.9 + 0.05 * (i - 58)))
    flat(pal, 61, water)
    # Steppe (161 + d12, middle 166), its band (160 + d16, middle 163), mountain 1 (164 + d16,
    # middle 167) and shore and band 14 (164 + d12, middle 169) share one run: brown steppe,
    # then a step to sand.
    segment(pal, 160, (70, 56, 36), 163, (118, 96, 58))
    segment(pal, 163, (118, 96, 58), 166, (140, 116, 70))
    segment(pal, 166, (140, 116, 70), 168, (176, 152, 100))
    segment(pal, 168, (176, 152, 100), 169, sand)
    segment(pal, 169, sand, 174, (228, 210, 160))
    segment(pal, 174, (228, 210, 160), 185, (245, 238, 215))
    flat(pal, 253, (245, 245, 245))
    flat(pal, 254, (120, 60, 130))
    return pal


def winter():
    pal = base_palette()
    water = (30, 70, 160)
    shore = (170, 160, 140)
    rock = (96, 102, 116)
    snow = (214, 222, 234)
    terrain_codes(pal, rock, shore, water)
    ramp(pal, 8, 16, (118, 112, 104))  # band between mountain and snow (code 18)
    # Snow variants step through 99..103, 38, 39, 253 as the shading rises (middle: 102).
    for index, colour in zip([99, 100, 101, 102, 103, 38, 39, 253],
                             [(120, 128, 142), (150, 158, 172), (178, 186, 200), (206, 214, 228),
                              (222, 230, 240), (234, 240, 248), (244, 248, 252), (255, 255, 255)]):
        flat(pal, index, colour)
    flat(pal, 57, (200, 70, 30))
    flat(pal, 60, scale(water, 0.8))
    flat(pal, 61, water)
    flat(pal, 62, shore)
    flat(pal, 63, (200, 210, 225))  # code 2 at high shading
    # Mountains (112 + d12, middle 117) run into the shore and snow band (120 + d14, middle 124).
    segment(pal, 112, scale(rock, 0.55), 117, rock)
    segment(pal, 117, rock, 121, (146, 150, 160))
    segment(pal, 121, (146, 150, 160), 124, (188, 190, 192))
    segment(pal, 124, (188, 190, 192), 129, (222, 224, 228))
    segment(pal, 129, (222, 224, 228), 138, (246, 247, 250))
    ramp(pal, 160, 16, (160, 170, 186))  # code 3
    ramp(pal, 168, 16, snow, dark=0.6, light=1.08)  # snow (code 8)
    flat(pal, 254, (120, 60, 130))
    return pal


def write(name, pal):
    assert len(pal) == 256
    lines = ["JASC-PAL", "0100", "256"] + [f"{r} {g} {b}" for r, g, b in pal]
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    write("Greenland.pal", greenland())
    write("Wasteland.pal", wasteland())
    write("Winter.pal", winter())
