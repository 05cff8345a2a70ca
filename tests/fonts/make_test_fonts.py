#!/usr/bin/python3
"""Writes the small fonts the tests use.

Run with the system Python, which has fontTools:

    /usr/bin/python3 tests/fonts/make_test_fonts.py            # rewrite tests/fonts/*
    /usr/bin/python3 tests/fonts/make_test_fonts.py --many 300 /tmp/bench-fonts

The output is deterministic (fixed timestamps, seeded random data), so running the
script again gives byte-identical files and a clean `git status`.

Every font has its own glyph style so a screenshot shows which font was used, and
within a font every character has a different shape so characters can be told apart.
Each font's .notdef is a crossed box with its own proportions.
"""

import argparse
import math
import os
import random
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import newTable
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4
from fontTools.ttLib.ttCollection import TTCollection

HERE = os.path.dirname(os.path.abspath(__file__))

# 2020-01-01 00:00:00 UTC in seconds since 1904-01-01 (the TrueType epoch).
FIXED_TIMESTAMP = 3660681600

UNITS_PER_EM = 1000
ASCENDER = 800
DESCENDER = -200
ADVANCE = 600
SPACE_ADVANCE = 300
VERSION = "Version 1.000"

# OS/2 ulCodePageRange1 bits.
CP_LATIN1 = 1 << 0
CP_SYMBOL = 1 << 31

SYMBOL_BASE = 0xF000


def windows_1252_chars():
    """Codes 32-255 of Windows-1252 as Unicode code points (224 of them).

    The five codes Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map
    to the C1 control with the same value, as the Windows conversion tables do.
    """
    chars = []
    for byte in range(0x20, 0x100):
        try:
            chars.append(ord(bytes([byte]).decode("cp1252")))
        except UnicodeDecodeError:
            chars.append(byte)
    return chars


CP1252 = windows_1252_chars()
ASCII = list(range(0x20, 0x7F))

# --------------------------------------------------------------------------
# Outline helpers. Outer contours are clockwise and holes counter-clockwise
# (TrueType convention, y axis pointing up).


def _signed_area(points):
    return sum(x0 * y1 - x1 * y0
               for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1])) / 2


def filled(points):
    """A filled contour: the points in clockwise order."""
    points = [(round(x), round(y)) for x, y in points]
    return points[::-1] if _signed_area(points) > 0 else points


def hole(points):
    """A hole: the points in counter-clockwise order."""
    return filled(points)[::-1]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]


def frame(x0, y0, x1, y1, stroke):
    """An outlined rectangle: outer contour plus a hole."""
    return [filled(rect(x0, y0, x1, y1)),
            hole(rect(x0 + stroke, y0 + stroke, x1 - stroke, y1 - stroke))]


def crossed_box(x0, y0, x1, y1, stroke):
    """The .notdef shape: an outlined rectangle with an X inside it."""
    ix0, iy0, ix1, iy1 = x0 + stroke, y0 + stroke, x1 - stroke, y1 - stroke
    t = stroke
    contours = frame(x0, y0, x1, y1, stroke)
    contours.append(filled([(ix0, iy0), (ix0 + t, iy0), (ix1, iy1), (ix1 - t, iy1)]))
    contours.append(filled([(ix1 - t, iy0), (ix1, iy0), (ix0 + t, iy1), (ix0, iy1)]))
    return contours


def draw(contours):
    pen = TTGlyphPen(None)
    for contour in contours:
        pen.moveTo(contour[0])
        for point in contour[1:]:
            pen.lineTo(point)
        pen.closePath()
    return pen.glyph()


# --------------------------------------------------------------------------
# Glyph styles. Each takes the character's index among the font's non-space
# characters and returns its contours (style_bits takes the code itself). The
# parameters are chosen so that no two characters get the same shape.


def style_bars(i):
    """A filled rectangle standing on the baseline: height by i % 16, width by i // 16."""
    height = 80 + (i % 16) * 40
    width = 100 + (i // 16) * 30
    x0 = (ADVANCE - width) // 2
    return [filled(rect(x0, 0, x0 + width, height))]


def style_frame(i):
    """A hollow frame with an inner bar: bar height by i % 16, bar length by i // 16."""
    contours = frame(60, 0, 540, 700, 40)
    y0 = 50 + (i % 16) * 36
    x1 = 130 + (i // 16) * 25
    contours.append(filled(rect(100, y0, x1, y0 + 30)))
    return contours


def style_bits(code):
    """The low eight bits of the code as filled cells in a 2 x 4 grid above a baseline bar."""
    byte = code & 0xFF
    contours = [filled(rect(60, 0, 540, 40))]
    for bit in range(8):
        if byte & (1 << (7 - bit)):
            row, col = bit // 2, bit % 2
            x0 = 100 + col * 220
            y0 = 580 - row * 150
            contours.append(filled(rect(x0, y0, x0 + 180, y0 + 120)))
    return contours


def style_diamonds(i):
    """A diamond (even i) or triangle (odd i); width and height by i // 2."""
    k = i // 2
    width = 100 + (k % 8) * 55
    height = 150 + (k // 8) * 38
    x0 = (ADVANCE - width) / 2
    x1 = x0 + width
    if i % 2 == 0:
        mid = 20 + height / 2
        return [filled([(x0, mid), (300, 20 + height), (x1, mid), (300, 20)])]
    return [filled([(x0, 20), (300, 20 + height), (x1, 20)])]


def style_circles(i):
    """A regular polygon around (300, 350): radius by i % 16, 5 to 18 sides by i // 16."""
    radius = 80 + (i % 16) * 13
    sides = 5 + i // 16
    return [filled([(300 + radius * math.sin(2 * math.pi * s / sides),
                     350 + radius * math.cos(2 * math.pi * s / sides))
                    for s in range(sides)])]


def style_plus(i):
    """A plus sign: vertical arm position by i % 16, horizontal arm position by i // 16."""
    x = 80 + (i % 16) * 25
    y = 60 + (i // 16) * 40
    return [filled(rect(x, 20, x + 60, 680)),
            filled(rect(60, y, 540, y + 50))]


def style_corner(i):
    """An L-shaped bracket: width by i % 16, height by i // 16."""
    width = 150 + (i % 16) * 24
    height = 160 + (i // 16) * 38
    return [filled([(80, 0), (80, height), (140, height), (140, 60),
                    (80 + width, 60), (80 + width, 0)])]


# --------------------------------------------------------------------------
# Font assembly.


def is_space(code):
    # A symbol font keeps its space at 0xF020.
    return code in (0x20, SYMBOL_BASE + 0x20)


def glyph_name(code):
    return "space" if is_space(code) else "uni%04X" % code


def build_font(family, codes, style, notdef_box, cmap_codes=None, code_pages=CP_LATIN1,
               marker=None):
    """Returns a glyf-based TTFont.

    codes: the characters the font draws (code points). Space is blank.
    style: glyph style function; gets the code for style_bits, otherwise the
        character's index among the font's non-space characters.
    notdef_box: (x0, y0, x1, y1, stroke) of the .notdef crossed box.
    cmap_codes: the code each character is mapped at in a symbol (3,0) cmap; when
        given, the font gets only that subtable and no Unicode cmap.
    marker: optional index that adds a small square whose position depends on it,
        used to make otherwise identical benchmark fonts differ.
    """
    names = [".notdef"] + [glyph_name(c) for c in codes]
    glyphs = {".notdef": draw(crossed_box(*notdef_box))}
    advances = {".notdef": ADVANCE}
    index = 0
    for code in codes:
        name = glyph_name(code)
        if is_space(code):
            glyphs[name] = draw([])
            advances[name] = SPACE_ADVANCE
            continue
        contours = style(code) if style is style_bits else style(index)
        index += 1
        if marker is not None:
            mx = 40 + (marker % 20) * 24
            my = 720 + ((marker // 20) % 3) * 20
            contours = contours + [filled(rect(mx, my, mx + 16, my + 16))]
        glyphs[name] = draw(contours)
        advances[name] = ADVANCE

    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    fb.updateHead(created=FIXED_TIMESTAMP, modified=FIXED_TIMESTAMP, fontRevision=1.0)
    fb.setupGlyphOrder(names)

    if cmap_codes is None:
        fb.setupCharacterMap({code: glyph_name(code) for code in codes})
    else:
        subtable = cmap_format_4(4)
        subtable.platformID = 3
        subtable.platEncID = 0
        subtable.language = 0
        subtable.cmap = {mapped: glyph_name(code) for code, mapped in zip(codes, cmap_codes)}
        cmap = newTable("cmap")
        cmap.tableVersion = 0
        cmap.tables = [subtable]
        fb.font["cmap"] = cmap

    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    fb.setupHorizontalMetrics(
        {name: (advances[name], getattr(glyf[name], "xMin", 0)) for name in names})
    fb.setupHorizontalHeader(ascent=ASCENDER, descent=DESCENDER, lineGap=0)

    ps_family = family.replace(" ", "")
    fb.setupNameTable({
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": "1.000;TAVT;%s-Regular" % ps_family,
        "fullName": family + " Regular",
        "version": VERSION,
        "psName": ps_family + "-Regular",
    })

    mapped = sorted(cmap_codes if cmap_codes is not None else codes)
    fb.setupOS2(
        version=4,
        achVendID="TAVT",
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        fsSelection=0x40,  # regular
        sTypoAscender=ASCENDER,
        sTypoDescender=DESCENDER,
        sTypoLineGap=0,
        usWinAscent=ASCENDER,
        usWinDescent=-DESCENDER,
        sxHeight=500,
        sCapHeight=700,
        usFirstCharIndex=mapped[0],
        usLastCharIndex=mapped[-1],
        ulCodePageRange1=code_pages,
        ulCodePageRange2=0,
    )
    fb.setupPost()
    fb.font.recalcTimestamp = False
    return fb.font


def save(font, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    font.save(path)


def write_test_fonts(root):
    files = os.path.join(root, "files")
    beta_path = os.path.join(files, "TavoretBeta.ttf")

    save(build_font("Times New Roman", CP1252, style_bits, (80, 0, 520, 700, 30)),
         os.path.join(root, "installed", "TimesNewRoman-Test.ttf"))
    save(build_font("Tavoret Test Alpha", ASCII, style_bars, (60, 0, 540, 700, 50),
                    code_pages=0),
         os.path.join(files, "TavoretAlpha.ttf"))
    save(build_font("Tavoret Test Beta", CP1252, style_frame, (120, 0, 480, 560, 30)),
         beta_path)

    pair = TTCollection()
    pair.fonts = [
        build_font("Tavoret Test Pair One", CP1252, style_plus, (40, 100, 560, 600, 40)),
        build_font("Tavoret Test Pair Two", CP1252, style_corner, (150, 0, 450, 740, 25)),
    ]
    pair.save(os.path.join(files, "TavoretPair.ttc"))

    symbol_codes = [SYMBOL_BASE + c for c in range(0x20, 0x100)]
    save(build_font("Tavoret Test Symbol", symbol_codes, style_diamonds,
                    (100, 100, 500, 500, 45), cmap_codes=symbol_codes,
                    code_pages=CP_SYMBOL),
         os.path.join(files, "TavoretSymbol.ttf"))
    save(build_font("DejaVu Sans", CP1252, style_circles, (40, 0, 560, 760, 20)),
         os.path.join(files, "DejaVuSansCopy.ttf"))

    broken = os.path.join(root, "broken")
    os.makedirs(broken, exist_ok=True)
    rng = random.Random(20200101)
    with open(os.path.join(broken, "random.ttf"), "wb") as f:
        f.write(bytes(rng.getrandbits(8) for _ in range(2048)))
    with open(os.path.join(broken, "empty.ttf"), "wb"):
        pass
    with open(beta_path, "rb") as f:
        beta = f.read()
    with open(os.path.join(broken, "truncated.ttf"), "wb") as f:
        f.write(beta[:len(beta) // 2])


BENCH_STYLES = [style_bars, style_frame, style_bits, style_circles, style_plus, style_corner]


def write_bench_fonts(count, outdir):
    """Writes `count` distinct fonts bench-NNN.ttf for browsing a large folder."""
    digits = max(3, len(str(count)))
    for n in range(1, count + 1):
        number = str(n).zfill(digits)
        style = BENCH_STYLES[n % len(BENCH_STYLES)]
        stroke = 20 + (n % 7) * 5
        font = build_font("Tavoret Bench " + number, CP1252, style,
                          (60 + n % 50, 0, 540 - n % 50, 700, stroke), marker=n)
        save(font, os.path.join(outdir, "bench-%s.ttf" % number))


def main(argv):
    parser = argparse.ArgumentParser(description="Write the test fonts.")
    parser.add_argument("--many", nargs=2, metavar=("N", "OUTDIR"),
                        help="write N benchmark fonts bench-NNN.ttf into OUTDIR instead")
    parser.add_argument("--root", default=HERE,
                        help="folder to write the test fonts into (default: this script's)")
    args = parser.parse_args(argv)
    if args.many:
        count = int(args.many[0])
        if count < 1:
            parser.error("N must be at least 1")
        write_bench_fonts(count, args.many[1])
    else:
        write_test_fonts(args.root)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
