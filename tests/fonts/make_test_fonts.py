#!/usr/bin/python3
"""Writes the small fonts the tests use (see README.md); needs fontTools (system Python).

    /usr/bin/python3 tests/fonts/make_test_fonts.py              # rewrite tests/fonts/*
    /usr/bin/python3 tests/fonts/make_test_fonts.py --root DIR   # the same set into DIR
    /usr/bin/python3 tests/fonts/make_test_fonts.py --many 300 /tmp/bench-fonts
    /usr/bin/python3 tests/fonts/make_test_fonts.py --many 4000 DIR --family "Tavoret Many"

The output is deterministic (fixed timestamps, seeded random data): running the script
again gives byte-identical files.
"""

import argparse
import math
import os
import random
import struct

from fontTools.fontBuilder import FontBuilder
from fontTools.ttLib.tables.DefaultTable import DefaultTable
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.ttCollection import TTCollection

HERE = os.path.dirname(os.path.abspath(__file__))
FIXED_TIMESTAMP = 3660681600  # 2020-01-01 00:00:00 UTC in seconds since 1904 (TrueType's epoch)
ASCENDER, DESCENDER, ADVANCE, SPACE_ADVANCE = 800, -200, 600, 300
CP_LATIN1, CP_SYMBOL = 1 << 0, 1 << 31  # OS/2 ulCodePageRange1 bits
SYMBOL_BASE = 0xF000  # a symbol font maps its characters at U+F020-U+F0FF

# Codes 32-255 of Windows-1252 as Unicode (224 characters); the five codes it leaves
# unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
CP1252 = [ord(bytes([b]).decode("cp1252", "ignore") or chr(b)) for b in range(0x20, 0x100)]
ASCII = list(range(0x20, 0x7F))
SYMBOL = [SYMBOL_BASE + byte for byte in range(0x20, 0x100)]


# Outlines: outer contours clockwise, holes counter-clockwise (TrueType, y axis up).
def filled(points):
    """A filled contour: the points, rounded, in clockwise order."""
    points = [(round(x), round(y)) for x, y in points]
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))
    return points[::-1] if area > 0 else points


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]


def frame(x0, y0, x1, y1, t):
    """An outlined rectangle: outer contour plus a hole."""
    return [filled(rect(x0, y0, x1, y1)), filled(rect(x0 + t, y0 + t, x1 - t, y1 - t))[::-1]]


def crossed_box(x0, y0, x1, y1, t):
    """The .notdef shape: an outlined rectangle with an X inside it."""
    a, b, c, d = x0 + t, y0 + t, x1 - t, y1 - t
    return frame(x0, y0, x1, y1, t) + [filled([(a, b), (a + t, b), (c, d), (c - t, d)]),
                                       filled([(c - t, b), (c, b), (a + t, d), (a, d)])]


def draw(contours):
    pen = TTGlyphPen(None)
    for contour in contours:
        pen.moveTo(contour[0])
        for point in contour[1:]:
            pen.lineTo(point)
        pen.closePath()
    return pen.glyph()


# Glyph styles: each gives the contours of the font's i-th non-space character (style_bits:
# of the code itself), so that a screenshot shows the font and every character differs.
def style_bars(i):
    """A filled rectangle on the baseline: height by i % 16, width by i // 16."""
    width = 100 + i // 16 * 30
    x0 = (ADVANCE - width) // 2
    return [filled(rect(x0, 0, x0 + width, 80 + i % 16 * 40))]


def style_frame(i):
    """A hollow frame with an inner bar: bar height by i % 16, bar length by i // 16."""
    y0 = 50 + i % 16 * 36
    return frame(60, 0, 540, 700, 40) + [filled(rect(100, y0, 130 + i // 16 * 25, y0 + 30))]


def style_bits(code):
    """The low eight bits of the code as filled cells in a 2 x 4 grid above a baseline bar."""
    contours = [filled(rect(60, 0, 540, 40))]
    for bit in range(8):
        if code & (1 << (7 - bit)):
            x0, y0 = 100 + bit % 2 * 220, 580 - bit // 2 * 150
            contours.append(filled(rect(x0, y0, x0 + 180, y0 + 120)))
    return contours


def style_diamonds(i):
    """A diamond (even i) or triangle (odd i); width and height by i // 2."""
    width, height = 100 + i // 2 % 8 * 55, 150 + i // 2 // 8 * 38
    x0, mid = (ADVANCE - width) / 2, 20 + height / 2
    if i % 2 == 0:
        return [filled([(x0, mid), (300, 20 + height), (x0 + width, mid), (300, 20)])]
    return [filled([(x0, 20), (300, 20 + height), (x0 + width, 20)])]


def style_circles(i):
    """A regular polygon around (300, 350): radius by i % 16, 5 to 18 sides by i // 16."""
    radius, sides = 80 + i % 16 * 13, 5 + i // 16
    return [filled([(300 + radius * math.sin(2 * math.pi * s / sides),
                     350 + radius * math.cos(2 * math.pi * s / sides)) for s in range(sides)])]


def style_plus(i):
    """A plus sign: vertical arm position by i % 16, horizontal arm position by i // 16."""
    x, y = 80 + i % 16 * 25, 60 + i // 16 * 40
    return [filled(rect(x, 20, x + 60, 680)), filled(rect(60, y, 540, y + 50))]


def style_corner(i):
    """An L-shaped bracket: width by i % 16, height by i // 16."""
    right, height = 80 + 150 + i % 16 * 24, 160 + i // 16 * 38
    return [filled([(80, 0), (80, height), (140, height), (140, 60), (right, 60), (right, 0)])]


def glyph_name(code):
    return "space" if code in (0x20, SYMBOL_BASE + 0x20) else "uni%04X" % code


def build_font(family, codes, style, notdef, code_pages=CP_LATIN1, marker=None):
    """A glyf-based font drawing `codes` (space blank, the rest in `style`) with a .notdef
    crossed box at `notdef` (x0, y0, x1, y1, stroke). Codes in the symbol range give a symbol
    font: only a (3,0) cmap. `marker` places a small square to make benchmark fonts differ.
    """
    names = [".notdef"] + [glyph_name(code) for code in codes]
    glyphs, advances, index = {".notdef": draw(crossed_box(*notdef))}, {".notdef": ADVANCE}, 0
    for code, name in zip(codes, names[1:]):
        if name == "space":
            glyphs[name], advances[name] = draw([]), SPACE_ADVANCE
            continue
        contours = style(code & 0xFF if style is style_bits else index)
        index += 1
        if marker is not None:
            mx, my = 40 + marker % 20 * 24, 720 + marker // 20 % 3 * 20
            contours.append(filled(rect(mx, my, mx + 16, my + 16)))
        glyphs[name], advances[name] = draw(contours), ADVANCE
    fb = FontBuilder(1000, isTTF=True)
    fb.updateHead(created=FIXED_TIMESTAMP, modified=FIXED_TIMESTAMP, fontRevision=1.0)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({code: glyph_name(code) for code in codes})
    if codes[0] >= SYMBOL_BASE:
        symbol = fb.font["cmap"].getcmap(3, 1)
        symbol.platEncID = 0
        fb.font["cmap"].tables = [symbol]
    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    fb.setupHorizontalMetrics({n: (advances[n], getattr(glyf[n], "xMin", 0)) for n in names})
    fb.setupHorizontalHeader(ascent=ASCENDER, descent=DESCENDER, lineGap=0)
    ps_name = family.replace(" ", "") + "-Regular"
    fb.setupNameTable({"familyName": family, "styleName": "Regular",
                       "uniqueFontIdentifier": "1.000;TAVT;" + ps_name,
                       "fullName": family + " Regular", "version": "Version 1.000",
                       "psName": ps_name})
    fb.setupOS2(version=4, achVendID="TAVT", usWeightClass=400, usWidthClass=5, fsType=0,
                fsSelection=0x40, sTypoAscender=ASCENDER, sTypoDescender=DESCENDER,
                sTypoLineGap=0, usWinAscent=ASCENDER, usWinDescent=-DESCENDER, sxHeight=500,
                sCapHeight=700, usFirstCharIndex=min(codes), usLastCharIndex=max(codes),
                ulCodePageRange1=code_pages, ulCodePageRange2=0)
    fb.setupPost()
    fb.font.recalcTimestamp = False
    return fb.font


def write_test_fonts(root):
    for folder in ("installed", "files", "broken"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    fonts = [  # file, family, characters, style, .notdef box, code pages
        ("installed/TimesNewRoman-Test.ttf", "Times New Roman", CP1252, style_bits,
         (80, 0, 520, 700, 30), CP_LATIN1),
        ("files/TavoretAlpha.ttf", "Tavoret Test Alpha", ASCII, style_bars,
         (60, 0, 540, 700, 50), 0),
        ("files/TavoretBeta.ttf", "Tavoret Test Beta", CP1252, style_frame,
         (120, 0, 480, 560, 30), CP_LATIN1),
        ("files/TavoretSymbol.ttf", "Tavoret Test Symbol", SYMBOL, style_diamonds,
         (100, 100, 500, 500, 45), CP_SYMBOL),
        ("files/DejaVuSansCopy.ttf", "DejaVu Sans", CP1252, style_circles,
         (40, 0, 560, 760, 20), CP_LATIN1),
    ]
    for path, family, codes, style, notdef, code_pages in fonts:
        build_font(family, codes, style, notdef, code_pages).save(os.path.join(root, path))
    pair = TTCollection()
    pair.fonts = [
        build_font("Tavoret Test Pair One", CP1252, style_plus, (40, 100, 560, 600, 40)),
        build_font("Tavoret Test Pair Two", CP1252, style_corner, (150, 0, 450, 740, 25)),
    ]
    pair.save(os.path.join(root, "files", "TavoretPair.ttc"))
    twins = TTCollection()
    twins.fonts = [
        build_font("Tavoret Test Twin", CP1252, style_bits, (40, 100, 560, 600, 40)),
        build_font("Tavoret Test Twin", CP1252, style_circles, (150, 0, 450, 740, 25)),
    ]
    twins.save(os.path.join(root, "files", "TavoretTwins.ttc"))
    names = build_font("Tavoret Test Names", CP1252, style_frame, (60, 0, 540, 700, 30))
    names["name"].setName("Tavoret Test Namen", 1, 3, 1, 0x407)  # a German family name besides
    names.save(os.path.join(root, "files", "TavoretNames.ttf"))
    rng = random.Random(20200101)
    with open(os.path.join(root, "files", "TavoretBeta.ttf"), "rb") as f:
        beta = f.read()
    broken = {"random.ttf": bytes(rng.getrandbits(8) for _ in range(2048)), "empty.ttf": b"",
              "truncated.ttf": beta[:len(beta) // 2]}
    for name, data in broken.items():
        with open(os.path.join(root, "broken", name), "wb") as f:
            f.write(data)
    write_seeds(root)


def build_cff_font(family, codes):
    """A small OpenType font with CFF outlines (bars) for `codes`."""
    names = [".notdef"] + [glyph_name(code) for code in codes]
    charstrings = {}
    for i, name in enumerate(names):
        pen = T2CharStringPen(ADVANCE, None)
        for contour in (crossed_box(60, 0, 540, 700, 50) if i == 0 else style_bars(i)):
            pen.moveTo(contour[0])
            for point in contour[1:]:
                pen.lineTo(point)
            pen.closePath()
        charstrings[name] = pen.getCharString()
    fb = FontBuilder(1000, isTTF=False)
    fb.updateHead(created=FIXED_TIMESTAMP, modified=FIXED_TIMESTAMP, fontRevision=1.0)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({code: glyph_name(code) for code in codes})
    ps_name = family.replace(" ", "") + "-Regular"
    fb.setupCFF(ps_name, {"FullName": family}, charstrings, {})
    fb.setupHorizontalMetrics({n: (ADVANCE, 0) for n in names})
    fb.setupHorizontalHeader(ascent=ASCENDER, descent=DESCENDER)
    fb.setupNameTable({"familyName": family, "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=ASCENDER, sTypoDescender=DESCENDER, usWinAscent=ASCENDER,
                usWinDescent=-DESCENDER)
    fb.setupPost()
    fb.font.recalcTimestamp = False
    return fb.font


def write_seeds(root):
    """Small fonts of kinds the test fonts do not cover, as a seed corpus for the fuzz target."""
    folder = os.path.join(root, "seeds")
    os.makedirs(folder, exist_ok=True)
    few = [0x20, 0x41, 0xE9]
    build_cff_font("Tavoret Seed CFF", few).save(os.path.join(folder, "cff.otf"))
    build_font("Tavoret Seed Symbol", [SYMBOL_BASE + 0x20, SYMBOL_BASE + 0x41], style_diamonds,
               (100, 100, 500, 500, 45), CP_SYMBOL).save(os.path.join(folder, "symbol.ttf"))
    # A character past U+FFFF gives a format 12 character map beside format 4.
    build_font("Tavoret Seed Wide", few + [0x1F600], style_bits,
               (80, 0, 520, 700, 30)).save(os.path.join(folder, "wide.ttf"))
    pair = TTCollection()
    pair.fonts = [build_font("Tavoret Seed One", few, style_plus, (40, 100, 560, 600, 40)),
                  build_font("Tavoret Seed Two", few, style_corner, (150, 0, 450, 740, 25))]
    pair.save(os.path.join(folder, "pair.ttc"))
    with open(os.path.join(folder, "pair.ttc"), "rb") as f:
        collection = bytearray(f.read())
    collection[16:20] = (len(collection) + 4).to_bytes(4, "big")  # second face past the end
    with open(os.path.join(folder, "pair-past-end.ttc"), "wb") as f:
        f.write(collection)
    write_hostile_seeds(folder)


def write_hostile_seeds(folder):
    """Fonts built to make reading them cost unbounded memory or time, kept as regressions."""
    # A collection whose second face lists, besides its real tables, 1000 records that each
    # claim the whole file: taken out naively, the face would be 1000 times the file's size.
    pair = TTCollection()
    pair.fonts = [build_font("Tavoret Seed One", [0x20, 0x41], style_plus, (40, 100, 560, 600, 40)),
                  build_font("Tavoret Seed Two", [0x20, 0x41], style_corner, (150, 0, 450, 740, 25))]
    path = os.path.join(folder, "tables-claim-the-file.ttc")
    pair.save(path)
    with open(path, "rb") as f:
        data = bytearray(f.read())
    second = int.from_bytes(data[16:20], "big")
    tables = int.from_bytes(data[second + 4:second + 6], "big")
    records = data[second + 12:second + 12 + 16 * tables]
    extra = 1000
    directory = bytearray(data[second:second + 12]) + records
    directory[4:6] = (tables + extra).to_bytes(2, "big")
    new_second = len(data)
    size = new_second + len(directory) + 16 * extra
    for n in range(extra):
        directory += b"zz%02d" % (n % 100) + bytes(4) + (0).to_bytes(4, "big") + size.to_bytes(4, "big")
    data[16:20] = new_second.to_bytes(4, "big")
    data += directory
    with open(path, "wb") as f:
        f.write(data)
    # A symbol font whose character map (format 13, many-to-one) maps every code from 0x20 to
    # 0xFFFFFFFF: fontconfig would walk four billion codes.
    font = build_font("Tavoret Seed Endless", [SYMBOL_BASE + 0x20, SYMBOL_BASE + 0x41],
                      style_diamonds, (100, 100, 500, 500, 45), CP_SYMBOL)
    groups = [(0x20, 0xFFFFFFFF, 1)]
    subtable = struct.pack(">HHIII", 13, 0, 16 + 12 * len(groups), 0, len(groups))
    subtable += b"".join(struct.pack(">III", *group) for group in groups)
    cmap = DefaultTable("cmap")
    cmap.data = struct.pack(">HHHHI", 0, 1, 3, 0, 12) + subtable
    font["cmap"] = cmap
    font.save(os.path.join(folder, "map-past-unicode.ttf"))
    # A font whose "A" runs three hundred times past the em square it claims, its lower edge
    # slanting through one row of pixels: more cells in one row than FreeType's rasteriser
    # holds, so it gives up on the glyph, and Qt's renderer copies the glyph's bitmap anyway.
    font = build_font("Tavoret Seed Vast", [0x20, 0x41], style_plus, (40, 100, 560, 600, 40))
    steps = range(0, 300001, 30000)
    vast = [(x, x // 10000) for x in steps] + [(300000, 20500)] + [(x, 41000) for x in reversed(steps)] + [(0, 20500)]
    glyph = draw([filled(vast)])
    glyph.xMin, glyph.yMin, glyph.xMax, glyph.yMax = 0, 0, 600, 700  # the bounds it claims
    font["glyf"]["uni0041"] = glyph
    font.recalcBBoxes = False
    font.save(os.path.join(folder, "outline-past-the-raster.ttf"))


def write_bench_fonts(count, outdir, family="Tavoret Bench"):
    """Writes `count` distinct fonts bench-NNN.ttf, families "<family> NNN"."""
    os.makedirs(outdir, exist_ok=True)
    styles = [style_bars, style_frame, style_bits, style_circles, style_plus, style_corner]
    for n in range(1, count + 1):
        number = str(n).zfill(max(3, len(str(count))))
        font = build_font(family + " " + number, CP1252, styles[n % len(styles)],
                          (60 + n % 50, 0, 540 - n % 50, 700, 20 + n % 7 * 5), marker=n)
        font.save(os.path.join(outdir, "bench-%s.ttf" % number))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description="Write the test fonts.")
    parser.add_argument("--many", nargs=2, metavar=("N", "DIR"), help="write N bench fonts to DIR")
    parser.add_argument("--family", default="Tavoret Bench", help="family name prefix for --many")
    parser.add_argument("--root", default=HERE, help="folder to write the test fonts into")
    args = parser.parse_args()
    if not args.many:
        write_test_fonts(args.root)
    elif int(args.many[0]) < 1:
        parser.error("N must be at least 1")
    else:
        write_bench_fonts(int(args.many[0]), args.many[1], args.family)
