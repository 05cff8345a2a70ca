#!/usr/bin/python3
"""Builds aboutsymbol.ttf, the small symbol font that draws the About box's pulsing symbol.

The font maps the backslash (code 92) to a rosette: a ring in the middle and eight petals
around it. Its metrics are chosen so that at 64 pixels (48 points at 96 dpi) the glyph's
line box is 57 x 71 pixels, the size the About box's symbol label is laid out for.

The program loads this file from its resources without registering it with the font
database, so it never shows up among the installed fonts.

Run with the system Python that has fontTools:  /usr/bin/python3 make_about_symbol.py
"""

import math
import os

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen

UNITS_PER_EM = 1024
ASCENT = 896         # 56 px at 64 px
DESCENT = 240        # 15 px at 64 px: 56 + 15 = 71 px line height
ADVANCE = 912        # 57 px at 64 px
CENTRE = (ADVANCE / 2, (ASCENT - DESCENT) / 2)
KAPPA = 0.5522847498  # cubic Bezier approximation of a quarter circle

FAMILY = "Tavoret About Rosette"
FIXED_TIME = 0x7C259DC0  # a fixed time stamp so that every build gives the same bytes


def ellipse(pen, cx, cy, rx, ry, angle, clockwise=True):
    """Draws an ellipse with semi-axes rx (along `angle`) and ry as four cubic arcs."""
    ca, sa = math.cos(angle), math.sin(angle)

    def at(u, v):
        return (round(cx + u * ca - v * sa), round(cy + u * sa + v * ca))

    # Quarter points and their control points, counter-clockwise in (u, v).
    quarters = [(rx, 0), (0, ry), (-rx, 0), (0, -ry)]
    tangents = [(0, ry), (-rx, 0), (0, -ry), (rx, 0)]
    if clockwise:
        quarters = [quarters[0]] + quarters[:0:-1]
        tangents = [(-t[0], -t[1]) for t in [tangents[0]] + tangents[:0:-1]]
    pen.moveTo(at(*quarters[0]))
    for i in range(4):
        p0, p1 = quarters[i], quarters[(i + 1) % 4]
        t0, t1 = tangents[i], tangents[(i + 1) % 4]
        c0 = (p0[0] + KAPPA * t0[0], p0[1] + KAPPA * t0[1])
        c1 = (p1[0] - KAPPA * t1[0], p1[1] - KAPPA * t1[1])
        pen.curveTo(at(*c0), at(*c1), at(*p1))
    pen.closePath()


def rosette():
    tt = TTGlyphPen(None)
    pen = Cu2QuPen(tt, max_err=1.0, reverse_direction=False)
    cx, cy = CENTRE
    ellipse(pen, cx, cy, 104, 104, 0)                      # the ring ...
    ellipse(pen, cx, cy, 44, 44, 0, clockwise=False)      # ... with its hole
    for k in range(8):
        angle = math.radians(90 + 45 * k)
        ellipse(pen, cx + 288 * math.cos(angle), cy + 288 * math.sin(angle), 148, 60, angle)
    return tt.glyph()


def notdef():
    tt = TTGlyphPen(None)
    for (x0, y0, x1, y1, cw) in [(64, 0, 576, 704, True), (128, 64, 512, 640, False)]:
        pts = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
        if not cw:
            pts.reverse()
        tt.moveTo(pts[0])
        for p in pts[1:]:
            tt.lineTo(p)
        tt.closePath()
    return tt.glyph()


def build(path):
    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    order = [".notdef", "space", "rosette"]
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({0x20: "space", 0x5C: "rosette"})
    fb.setupGlyf({".notdef": notdef(), "space": TTGlyphPen(None).glyph(), "rosette": rosette()})
    fb.setupHorizontalMetrics({".notdef": (640, 64), "space": (ADVANCE, 0), "rosette": (ADVANCE, 0)})
    glyf = fb.font["glyf"]
    for name in order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        fb.font["hmtx"][name] = (fb.font["hmtx"][name][0], getattr(glyph, "xMin", 0))
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)
    fb.setupNameTable({"familyName": FAMILY, "styleName": "Regular",
                       "uniqueFontIdentifier": FAMILY + " 1.0", "version": "Version 1.0"})
    fb.setupOS2(version=4, sTypoAscender=ASCENT, sTypoDescender=-DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=DESCENT, fsSelection=0x40 | 0x80,
                achVendID="NONE")
    fb.setupPost()
    fb.setupHead(unitsPerEm=UNITS_PER_EM, created=FIXED_TIME, modified=FIXED_TIME)
    fb.save(path)


if __name__ == "__main__":
    build(os.path.join(os.path.dirname(os.path.abspath(__file__)), "aboutsymbol.ttf"))
