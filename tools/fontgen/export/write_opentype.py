#!/usr/bin/python3
"""Writes a font exported by runeplate-fontgen as OpenType, with fontTools.

    write_opentype.py FONT.json FORMAT OUT

FONT.json is what fontgen hands over: the font's names and line, the 344 jamo
glyphs and every character's glyph (its picture, or the jamo glyphs it is
composed of). FORMAT is one of:

  ttf    outlines in glyf: each ink pixel a square of UNITS_PER_PIXEL units,
         the squares of a picture merged into contours; a syllable is a
         composite of its jamo glyphs, as the engine lays them on each other
  otf    the same outlines in CFF, which has no composites: a syllable is its
         whole picture traced
  woff2  the ttf, compressed for the web
  otb    no outlines: one 16-pixel bitmap strike (EBLC/EBDT), for Pango

A failure is one line on standard error and exit status 2.
"""

import json
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import newTable
from fontTools.ttLib.tables.BitmapGlyphMetrics import SmallGlyphMetrics
from fontTools.ttLib.tables.E_B_D_T_ import ebdt_bitmap_format_1
from fontTools.ttLib.tables.E_B_L_C_ import SbitLineMetrics, Strike, eblc_index_sub_table_1

PIXELS_PER_EM = 16
UNITS_PER_PIXEL = 16
UNITS_PER_EM = PIXELS_PER_EM * UNITS_PER_PIXEL
# Set on a composite whose components overlap, so that renderers which fill
# by the even-odd rule (older macOS) still fill the union.
OVERLAP_COMPOUND = 0x0400
# OS/2 code page bits: Korean Wansung (949) and Johab (1361).
CODE_PAGE_KOREAN = (1 << 19) | (1 << 21)


def ink(rows, width):
    """The ink pixels of a picture as (x, row) pairs, row 0 at the top."""
    return [(x, y) for y, bits in enumerate(rows) for x in range(width) if bits >> (15 - x) & 1]


def trace(rows, width, ascent):
    """The outline of a picture's ink: closed contours of pixel corners in
    pixels, y up from the baseline, clockwise around ink (TrueType's
    direction), a hole counter-clockwise. Edges two ink pixels share cancel;
    what is left is walked turning towards the ink first, so pixels that
    touch only at a corner get contours of their own."""
    edges = {}

    def add(a, b):
        ends = edges.get(b)
        if ends is not None and a in ends:
            ends.remove(a)
            if not ends:
                del edges[b]
            return
        edges.setdefault(a, []).append(b)

    for x, y in ink(rows, width):
        top, bottom = ascent - y, ascent - y - 1
        add((x, bottom), (x, top))
        add((x, top), (x + 1, top))
        add((x + 1, top), (x + 1, bottom))
        add((x + 1, bottom), (x, bottom))

    contours = []
    while edges:
        start = min(edges)
        contour = [start]
        point, direction = start, None
        while True:
            ends = edges[point]
            if direction is None or len(ends) == 1:
                end = ends[0]
            else:
                # Right turn first (towards the ink), then straight on.
                dx, dy = direction
                preferred = [(dy, -dx), (dx, dy), (-dy, dx)]
                end = next(e for d in preferred for e in ends if (e[0] - point[0], e[1] - point[1]) == d)
            ends.remove(end)
            if not ends:
                del edges[point]
            direction = (end[0] - point[0], end[1] - point[1])
            point = end
            if point == start:
                break
            contour.append(point)
        contours.append(simplified(contour))
    return contours


def simplified(contour):
    """The contour without the points that lie on a straight run."""
    kept = []
    count = len(contour)
    for i, (x, y) in enumerate(contour):
        px, py = contour[i - 1]
        nx, ny = contour[(i + 1) % count]
        if (x - px) * (ny - y) != (y - py) * (nx - x):
            kept.append((x, y))
    return kept


def draw(pen, contours, reverse=False):
    for contour in contours:
        points = list(reversed(contour)) if reverse else contour
        pen.moveTo(scaled(points[0]))
        for point in points[1:]:
            pen.lineTo(scaled(point))
        pen.closePath()


def scaled(point):
    return (point[0] * UNITS_PER_PIXEL, point[1] * UNITS_PER_PIXEL)


def glyph_name(code):
    return "uni%04X" % code if code <= 0xFFFF else "u%05X" % code


class Font:
    def __init__(self, spec):
        self.spec = spec
        self.ascent = spec["ascent"]
        self.descent = spec["descent"]
        self.order = [".notdef"]
        self.widths = {".notdef": PIXELS_PER_EM // 2}
        self.cmap = {}
        self.characters = []  # (name, glyph spec)
        for glyph in spec["glyphs"]:
            name = glyph_name(glyph["codes"][0])
            self.order.append(name)
            self.widths[name] = glyph["width"]
            for code in glyph["codes"]:
                self.cmap[code] = name
            self.characters.append((name, glyph))
        self.jamo = []
        for glyph in spec["jamo"]:
            self.order.append(glyph["name"])
            self.widths[glyph["name"]] = PIXELS_PER_EM
            self.jamo.append((glyph["name"], glyph))

    def builder(self, ttf):
        fb = FontBuilder(UNITS_PER_EM, isTTF=ttf)
        fb.setupGlyphOrder(self.order)
        fb.setupCharacterMap(self.cmap)
        return fb

    def outline_font(self, ttf):
        fb = self.builder(ttf)
        if ttf:
            self.setup_glyf(fb)
        else:
            charstrings = {".notdef": T2CharStringPen(self.advance(".notdef"), None).getCharString()}
            for name, glyph in self.characters + self.jamo:
                pen = T2CharStringPen(self.advance(name), None)
                # CFF runs the other way round: ink on the left.
                draw(pen, self.outline(name, glyph), reverse=True)
                charstrings[name] = pen.getCharString()
            fb.setupCFF(self.postscript_name(), {"FullName": self.full_name()}, charstrings, {})
        if ttf:
            metrics = {name: (self.advance(name), self.bounds[name][0]) for name in self.order}
        else:
            charstrings = fb.font["CFF "].cff.topDictIndex[0].CharStrings
            metrics = {}
            for name in self.order:
                bounds = charstrings[name].calcBounds(charstrings)
                metrics[name] = (self.advance(name), bounds[0] if bounds else 0)
        fb.setupHorizontalMetrics(metrics)
        self.finish(fb)
        if ttf:
            self.fill_in_bounds(fb.font)
        return fb.font

    def setup_glyf(self, fb):
        """The glyf table with every bound worked out here. fontTools would
        find a composite's bounds by expanding its components, three times
        over and 11,172 syllables long; a composite of unmoved components
        is bounded by the union of theirs."""
        glyf, loca = newTable("glyf"), newTable("loca")
        glyf.glyphOrder = self.order
        ids = {name: i for i, name in enumerate(self.order)}
        glyf.getGlyphID = ids.__getitem__  # fontTools looks names up in a list
        names = set(self.order)
        glyphs = {".notdef": TTGlyphPen(None).glyph()}
        self.bounds = {".notdef": (0, 0, 0, 0)}
        self.composites = []
        for name, glyph in self.jamo + self.characters:
            pen = TTGlyphPen(names)
            if "parts" in glyph:
                for part in glyph["parts"]:
                    pen.addComponent(part, (1, 0, 0, 1, 0, 0))
                made = pen.glyph()
                made.components[0].flags |= OVERLAP_COMPOUND
                boxes = [self.bounds[part] for part in glyph["parts"] if glyphs[part].numberOfContours]
                box = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                       max(b[2] for b in boxes), max(b[3] for b in boxes)) if boxes else (0, 0, 0, 0)
                made.xMin, made.yMin, made.xMax, made.yMax = box
                self.composites.append((name, glyph["parts"]))
            else:
                draw(pen, self.outline(name, glyph))
                made = pen.glyph()
                if made.numberOfContours:
                    made.recalcBounds(glyf)
                    box = (made.xMin, made.yMin, made.xMax, made.yMax)
                else:
                    box = (0, 0, 0, 0)
            glyphs[name] = made
            self.bounds[name] = box
        glyf.glyphs = glyphs
        fb.font["glyf"], fb.font["loca"] = glyf, loca

    def fill_in_bounds(self, font):
        """What fontTools would recalculate on saving (the font's bounds, the
        maxp counts, the hhea extents), from the bounds worked out above."""
        font.recalcBBoxes = False
        glyf, maxp, head, hhea = font["glyf"], font["maxp"], font["head"], font["hhea"]
        inked = [self.bounds[n] for n in self.order if glyf.glyphs[n].numberOfContours]
        head.xMin, head.yMin = min(b[0] for b in inked), min(b[1] for b in inked)
        head.xMax, head.yMax = max(b[2] for b in inked), max(b[3] for b in inked)
        simple = [glyf.glyphs[n] for n in self.order if glyf.glyphs[n].numberOfContours > 0]
        maxp.maxPoints = max(len(g.coordinates) for g in simple)
        maxp.maxContours = max(g.numberOfContours for g in simple)
        points = contours = 0
        for name, parts in self.composites:
            points = max(points, sum(len(glyf.glyphs[p].coordinates) for p in parts if glyf.glyphs[p].numberOfContours))
            contours = max(contours, sum(max(glyf.glyphs[p].numberOfContours, 0) for p in parts))
        maxp.maxCompositePoints, maxp.maxCompositeContours = points, contours
        maxp.maxComponentElements = max((len(parts) for _, parts in self.composites), default=0)
        maxp.maxComponentDepth = 1 if self.composites else 0
        maxp.maxZones, maxp.maxTwilightPoints, maxp.maxStorage = 1, 0, 0
        maxp.maxFunctionDefs = maxp.maxInstructionDefs = maxp.maxStackElements = 0
        maxp.maxSizeOfInstructions = 0
        advances = [self.advance(n) for n in self.order]
        hhea.advanceWidthMax = max(advances)
        hhea.minLeftSideBearing = min(self.bounds[n][0] for n in self.order if glyf.glyphs[n].numberOfContours)
        hhea.minRightSideBearing = min(self.advance(n) - self.bounds[n][2]
                                       for n in self.order if glyf.glyphs[n].numberOfContours)
        hhea.xMaxExtent = max(self.bounds[n][2] for n in self.order if glyf.glyphs[n].numberOfContours)
        head.flags |= 1 << 1  # left side bearing point at x = 0

    def bitmap_font(self):
        fb = self.builder(False)
        fb.font.sfntVersion = "\x00\x01\x00\x00"
        fb.setupHorizontalMetrics({name: (self.advance(name), 0) for name in self.order})
        self.finish(fb)
        ebdt, eblc = newTable("EBDT"), newTable("EBLC")
        ebdt.version = eblc.version = 2.0
        bitmaps = {}
        names = [name for name, _ in self.characters]
        for name, glyph in self.characters:
            bitmap = ebdt_bitmap_format_1(None, None)
            bitmap.metrics = SmallGlyphMetrics()
            bitmap.metrics.height, bitmap.metrics.width = len(glyph["rows"]), glyph["width"]
            bitmap.metrics.BearingX, bitmap.metrics.BearingY = 0, self.ascent
            bitmap.metrics.Advance = glyph["width"]
            row_bytes = (glyph["width"] + 7) // 8
            bitmap.imageData = b"".join((bits >> (16 - 8 * row_bytes)).to_bytes(row_bytes, "big")
                                        for bits in glyph["rows"])
            bitmaps[name] = bitmap
        ebdt.strikeData = [bitmaps]
        strike = Strike()
        size = strike.bitmapSizeTable
        for direction in ("hori", "vert"):
            line = SbitLineMetrics()
            line.ascender, line.descender, line.widthMax = self.ascent, -self.descent, PIXELS_PER_EM
            line.caretSlopeNumerator, line.caretSlopeDenominator, line.caretOffset = 0, 0, 0
            line.minOriginSB, line.minAdvanceSB = 0, 0
            line.maxBeforeBL, line.minAfterBL = self.ascent, -self.descent
            line.pad1 = line.pad2 = 0
            setattr(size, direction, line)
        size.colorRef, size.ppemX, size.ppemY, size.bitDepth = 0, PIXELS_PER_EM, PIXELS_PER_EM, 1
        size.flags = 1  # horizontal metrics
        index = eblc_index_sub_table_1(None, None)
        index.indexFormat, index.imageFormat, index.names = 1, 1, names
        strike.indexSubTables = [index]
        eblc.strikes = [strike]
        fb.font["EBDT"], fb.font["EBLC"] = ebdt, eblc
        return fb.font

    def outline(self, name, glyph):
        return trace(glyph["rows"], self.widths[name], self.ascent)

    def advance(self, name):
        return self.widths[name] * UNITS_PER_PIXEL

    def postscript_name(self):
        allowed = "".join(c for c in self.spec["family"] if c.isascii() and c.isalnum())
        return (allowed or "Runeplate") + "-Regular"

    def full_name(self):
        return self.spec["family"]

    def finish(self, fb):
        spec = self.spec
        ascent, descent = self.ascent * UNITS_PER_PIXEL, self.descent * UNITS_PER_PIXEL
        fb.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=0)
        names = {
            "familyName": spec["family"],
            "styleName": "Regular",
            "uniqueFontIdentifier": "Runeplate: %s %s" % (spec["family"], spec["version"]),
            "fullName": self.full_name(),
            "psName": self.postscript_name(),
            "version": "Version %s" % spec["version"],
        }
        for key, field in (("copyright", "copyright"), ("description", "notice"),
                           ("licenseDescription", "licence"), ("licenseInfoURL", "licence_url")):
            if spec.get(field):
                names[key] = spec[field]
        fb.setupNameTable(names)
        korean = any(0xAC00 <= code <= 0xD7A3 or 0x3131 <= code <= 0x3163 for code in self.cmap)
        fb.setupOS2(version=4, sTypoAscender=ascent, sTypoDescender=-descent, sTypoLineGap=0,
                    usWinAscent=ascent, usWinDescent=descent, achVendID="RNPL", fsType=0,
                    fsSelection=0x40 | 0x80,  # regular, use the typo metrics
                    ulCodePageRange1=CODE_PAGE_KOREAN if korean else 0, ulCodePageRange2=0,
                    usDefaultChar=0, usBreakChar=32, usMaxContext=0)
        os2 = fb.font["OS/2"]
        os2.recalcUnicodeRanges(fb.font)
        os2.recalcAvgCharWidth(fb.font)
        fb.setupPost(isFixedPitch=1, underlinePosition=-self.descent * UNITS_PER_PIXEL // 2,
                     underlineThickness=UNITS_PER_PIXEL)


def main(argv):
    if len(argv) != 4 or argv[2] not in ("ttf", "otf", "woff2", "otb"):
        print("usage: write_opentype.py FONT.json ttf|otf|woff2|otb OUT", file=sys.stderr)
        return 2
    try:
        with open(argv[1], encoding="utf-8") as spec_file:
            spec = json.load(spec_file)
        font = Font(spec)
        kind = argv[2]
        if kind == "otb":
            made = font.bitmap_font()
        else:
            made = font.outline_font(ttf=kind != "otf")
            if kind == "woff2":
                made.flavor = "woff2"
        made.save(argv[3])
    except Exception as error:  # one line, whatever went wrong
        print("%s: %s" % (type(error).__name__, str(error).splitlines()[0] if str(error) else ""), file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
