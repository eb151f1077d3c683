#!/usr/bin/python3
"""Writes a font exported by runeplate-fontgen as OpenType, with fontTools.

    write_opentype.py FONT.json FORMAT OUT

FONT.json is what fontgen hands over: the font's names and line, the 344 jamo
glyphs and every character's glyph (its picture, or the jamo glyphs it is
composed of). FORMAT is one of:

  ttf    outlines in glyf: each ink pixel a square of UNITS_PER_PIXEL units,
         the squares of a picture merged into contours; a syllable is a
         composite of its jamo glyphs, as the engine lays them on each other
  otf    the same outlines in CFF, which has no composites: each jamo glyph's
         outline is a subroutine, and a syllable calls those of its parts
  woff2  the ttf, compressed for the web
  otb    no outlines: one 16-pixel bitmap strike (EBLC/EBDT), for Pango

A failure is one line on standard error and exit status 2.
"""

import json
import sys

from fontTools.cffLib.specializer import commandsToProgram, specializeCommands
from fontTools.fontBuilder import FontBuilder
from fontTools.misc.psCharStrings import T2CharString
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import newTable
from fontTools.ttLib.tables.BitmapGlyphMetrics import SmallGlyphMetrics
from fontTools.ttLib.tables.E_B_D_T_ import ebdt_bitmap_format_1
from fontTools.ttLib.tables.E_B_L_C_ import SbitLineMetrics, Strike, eblc_index_sub_table_1
from fontTools.ttLib.tables._g_l_y_f import table__g_l_y_f

PIXELS_PER_EM = 16
UNITS_PER_PIXEL = 16
UNITS_PER_EM = PIXELS_PER_EM * UNITS_PER_PIXEL
# Set on a composite whose components overlap, so that renderers which fill
# by the even-odd rule (older macOS) still fill the union.
OVERLAP_COMPOUND = 0x0400
# OS/2 code page bits: Korean Wansung (949) and Johab (1361).
CODE_PAGE_KOREAN = (1 << 19) | (1 << 21)


def glyph_id(glyf, name):
    """table__g_l_y_f.getGlyphID by a dictionary: fontTools searches the
    glyph order list for each component, which for 11,172 composites (once
    on saving, once more in the WOFF2 transform) was most of the run."""
    ids = glyf.__dict__.get("_glyph_ids")
    if ids is None or len(ids) != len(glyf.glyphOrder):
        ids = glyf._glyph_ids = {name: i for i, name in enumerate(glyf.glyphOrder)}
    return ids[name]


table__g_l_y_f.getGlyphID = glyph_id


def runs(mask):
    """The runs of set bits of a row mask, bit 15 the leftmost pixel, as
    (first, end) pixel columns."""
    found = []
    x = 0
    while mask & 0xFFFF:
        while not mask >> (15 - x) & 1:
            x += 1
        first = x
        while x < 16 and mask >> (15 - x) & 1:
            x += 1
        found.append((first, x))
        mask &= (1 << (16 - x)) - 1 if x < 16 else 0
    return found


def trace(rows, width, ascent):
    """The outline of a picture's ink: closed contours of pixel corners in
    pixels, y up from the baseline, clockwise around ink (TrueType's
    direction), a hole counter-clockwise."""
    return walk(boundary(rows, width, ascent))


def boundary(rows, width, ascent):
    """The boundary between ink and background as maximal straight pieces,
    each running with the ink on its right: a map from each piece's start to
    the ends of the pieces that start there."""
    mask = ((1 << width) - 1) << (16 - width)
    rows = [bits & mask for bits in rows] + [0]
    height = len(rows) - 1
    pieces = {}
    # Along the line above row y: ink below only runs left to right, ink
    # above only right to left.
    for y in range(height + 1):
        line = ascent - y
        above = rows[y - 1] if y > 0 else 0
        for first, end in runs(rows[y] & ~above):
            pieces.setdefault((first, line), []).append((end, line))
        for first, end in runs(above & ~rows[y]):
            pieces.setdefault((end, line), []).append((first, line))
    # Along the left edge of column x: ink on the right only runs up, ink on
    # the left only runs down. Two bits a row: 1 up, 2 down.
    for x in range(width + 1):
        kinds = 0
        for y in range(height):
            right = x < width and rows[y] >> (15 - x) & 1
            left = x > 0 and rows[y] >> (16 - x) & 1
            kinds |= (1 if right and not left else 2 if left and not right else 0) << (2 * y)
        y = 0
        while y < height:
            kind = kinds >> (2 * y) & 3
            if not kind:
                y += 1
                continue
            first = y
            while y < height and kinds >> (2 * y) & 3 == kind:
                y += 1
            top, bottom = ascent - first, ascent - y
            if kind == 1:
                pieces.setdefault((x, bottom), []).append((x, top))
            else:
                pieces.setdefault((x, top), []).append((x, bottom))
    return pieces


def walk(pieces):
    """The closed contours the pieces make, each piece used once. Where two
    pieces leave a corner (pixels that touch only there), the walk turns
    towards the ink first, so that each such pixel gets a contour of its
    own."""
    contours = []
    while pieces:
        start = min(pieces)
        contour = [start]
        point, direction = start, None
        while True:
            ends = pieces[point]
            if direction is None or len(ends) == 1:
                end = ends[0]
            else:
                dx, dy = direction
                preferred = [(dy, -dx), (dx, dy), (-dy, dx)]  # right, straight on, left
                end = next(e for d in preferred for e in ends if heading(point, e) == d)
            ends.remove(end)
            if not ends:
                del pieces[point]
            direction = heading(point, end)
            point = end
            if point == start:
                break
            contour.append(point)
        contours.append(simplified(contour))
    return contours


def box_of(contours):
    """The bounds of traced contours in font units, None for no ink."""
    if not contours:
        return None
    xs = [x for contour in contours for x, _ in contour]
    ys = [y for contour in contours for _, y in contour]
    return (min(xs) * UNITS_PER_PIXEL, min(ys) * UNITS_PER_PIXEL,
            max(xs) * UNITS_PER_PIXEL, max(ys) * UNITS_PER_PIXEL)


def union(boxes):
    """The bounds of several, None when none has ink."""
    boxes = [box for box in boxes if box]
    if not boxes:
        return None
    return (min(b[0] for b in boxes), min(b[1] for b in boxes),
            max(b[2] for b in boxes), max(b[3] for b in boxes))


def heading(a, b):
    """The unit step from a towards b along a row or column."""
    return ((b[0] > a[0]) - (b[0] < a[0]), (b[1] > a[1]) - (b[1] < a[1]))


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


def subroutine(contours):
    """The charstring subroutine of contours in pixels, drawn from the first
    point of the first (where the caller has moved to) and ending on the last
    point of the last."""
    commands, at = [], None
    for contour in contours:
        points = [scaled(point) for point in contour]
        if at is not None:
            commands.append(("rmoveto", [points[0][0] - at[0], points[0][1] - at[1]]))
        for a, b in zip(points, points[1:]):
            commands.append(("rlineto", [b[0] - a[0], b[1] - a[1]]))
        at = points[-1]
    return commandsToProgram(specializeCommands(commands)) + ["return"]


def scaled(point):
    return (point[0] * UNITS_PER_PIXEL, point[1] * UNITS_PER_PIXEL)


def glyph_name(code):
    return "uni%04X" % code if code <= 0xFFFF else "u%05X" % code


class Font:
    def __init__(self, description):
        self.description = description
        self.ascent = description["ascent"]
        self.descent = description["descent"]
        self.order = [".notdef"]
        self.widths = {".notdef": PIXELS_PER_EM // 2}
        self.cmap = {}
        self.characters = []  # (name, glyph description)
        for glyph in description["glyphs"]:
            name = glyph_name(glyph["codes"][0])
            self.order.append(name)
            self.widths[name] = glyph["width"]
            for code in glyph["codes"]:
                self.cmap[code] = name
            self.characters.append((name, glyph))
        self.jamo = []
        for glyph in description["jamo"]:
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
            self.setup_cff(fb)
        metrics = {name: (self.advance(name), (self.bounds[name] or (0,))[0]) for name in self.order}
        fb.setupHorizontalMetrics(metrics)
        self.finish(fb)
        self.fill_in_bounds(fb.font)
        return fb.font

    def setup_cff(self, fb):
        """The CFF table. CFF has no composite glyphs, but it has
        subroutines: each jamo glyph's outline is one, drawn from its first
        point, and a syllable moves to each of its parts' first points and
        calls their subroutines, which is what a composite does and keeps
        the font about as small."""
        fb.setupCFF(self.postscript_name(), {"FullName": self.full_name()}, {},
                    {"defaultWidthX": PIXELS_PER_EM * UNITS_PER_PIXEL, "nominalWidthX": 0})
        cff = fb.font["CFF "].cff
        top = cff.topDictIndex[0]
        private, subrs = top.Private, cff.GlobalSubrs
        bias = 107 if len(self.jamo) < 1240 else 1131
        self.bounds, self.composites, parts = {".notdef": None}, [], {}
        for name, glyph in self.jamo:
            # CFF runs the other way round: ink on the left.
            outline = [list(reversed(contour)) for contour in self.outline(name, glyph)]
            self.bounds[name] = box_of(outline)
            if outline:
                parts[name] = (scaled(outline[0][0]), scaled(outline[-1][-1]), len(subrs) - bias)
                subrs.append(T2CharString(program=subroutine(outline), private=private, globalSubrs=subrs))
        charstrings = {".notdef": self.charstring(".notdef", [], parts, private, subrs)}
        for name, glyph in self.jamo:
            charstrings[name] = self.charstring(name, [name], parts, private, subrs)
        for name, glyph in self.characters:
            if "parts" in glyph:
                charstrings[name] = self.charstring(name, glyph["parts"], parts, private, subrs)
                self.bounds[name] = union([self.bounds[part] for part in glyph["parts"]])
            else:
                pen = T2CharStringPen(self.advance(name) - private.nominalWidthX, None)
                outline = self.outline(name, glyph)
                draw(pen, outline, reverse=True)
                charstrings[name] = pen.getCharString(private, subrs)
                self.bounds[name] = box_of(outline)
        for name in self.order:
            top.CharStrings[name] = charstrings[name]
        top.FontBBox = list(self.font_box())

    def charstring(self, name, names, parts, private, subrs):
        """A glyph drawn by the subroutines of the jamo glyphs `names`."""
        program, at = [], (0, 0)
        for part in names:
            if part not in parts:
                continue  # a jamo glyph without ink
            first, last, index = parts[part]
            program += [first[0] - at[0], first[1] - at[1], "rmoveto", index, "callgsubr"]
            at = last
        if self.advance(name) != private.defaultWidthX:
            program.insert(0, self.advance(name) - private.nominalWidthX)
        return T2CharString(program=program + ["endchar"], private=private, globalSubrs=subrs)

    def setup_glyf(self, fb):
        """The glyf table with every bound worked out here. fontTools would
        find a composite's bounds by expanding its components, three times
        over and 11,172 syllables long; a composite of unmoved components
        is bounded by the union of theirs."""
        glyf, loca = newTable("glyf"), newTable("loca")
        glyf.glyphOrder = self.order
        names = set(self.order)
        glyphs = {".notdef": TTGlyphPen(None).glyph()}
        self.bounds = {".notdef": None}
        self.composites = []
        for name, glyph in self.jamo + self.characters:
            pen = TTGlyphPen(names)
            if "parts" in glyph:
                for part in glyph["parts"]:
                    pen.addComponent(part, (1, 0, 0, 1, 0, 0))
                made = pen.glyph()
                made.components[0].flags |= OVERLAP_COMPOUND
                box = union([self.bounds[part] for part in glyph["parts"]])
                made.xMin, made.yMin, made.xMax, made.yMax = box or (0, 0, 0, 0)
                self.composites.append((name, glyph["parts"]))
            else:
                draw(pen, self.outline(name, glyph))
                made = pen.glyph()
                box = box_of(self.outline(name, glyph))
                if box:
                    made.xMin, made.yMin, made.xMax, made.yMax = box
            glyphs[name] = made
            self.bounds[name] = box
        glyf.glyphs = glyphs
        fb.font["glyf"], fb.font["loca"] = glyf, loca

    def font_box(self):
        return union(list(self.bounds.values())) or (0, 0, 0, 0)

    def fill_in_bounds(self, font):
        """What fontTools would recalculate on saving (the font's bounds, the
        hhea extents, the maxp counts), from the bounds worked out above:
        fontTools would run every outline again, twice."""
        font.recalcBBoxes = False
        head, hhea = font["head"], font["hhea"]
        head.xMin, head.yMin, head.xMax, head.yMax = self.font_box()
        inked = [n for n in self.order if self.bounds.get(n)]
        hhea.advanceWidthMax = max(self.advance(n) for n in self.order)
        hhea.minLeftSideBearing = min((self.bounds[n][0] for n in inked), default=0)
        hhea.minRightSideBearing = min((self.advance(n) - self.bounds[n][2] for n in inked), default=0)
        hhea.xMaxExtent = max((self.bounds[n][2] for n in inked), default=0)
        head.flags |= 1 << 1  # left side bearing point at x = 0
        if "glyf" not in font:
            return
        glyf, maxp = font["glyf"], font["maxp"]
        simple = [glyf.glyphs[n] for n in self.order if glyf.glyphs[n].numberOfContours > 0]
        maxp.maxPoints = max((len(g.coordinates) for g in simple), default=0)
        maxp.maxContours = max((g.numberOfContours for g in simple), default=0)
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
        allowed = "".join(c for c in self.description["family"] if c.isascii() and c.isalnum())
        return (allowed or "Runeplate") + "-Regular"

    def full_name(self):
        return self.description["family"]

    def finish(self, fb):
        description = self.description
        ascent, descent = self.ascent * UNITS_PER_PIXEL, self.descent * UNITS_PER_PIXEL
        fb.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=0)
        names = {
            "familyName": description["family"],
            "styleName": "Regular",
            "uniqueFontIdentifier": "Runeplate: %s %s" % (description["family"], description["version"]),
            "fullName": self.full_name(),
            "psName": self.postscript_name(),
            "version": "Version %s" % description["version"],
        }
        for key, field in (("copyright", "copyright"), ("description", "notice"),
                           ("licenseDescription", "licence"), ("licenseInfoURL", "licence_url")):
            if description.get(field):
                names[key] = description[field]
        fb.setupNameTable(names, mac=False)  # Windows names only, as fonts now carry them
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
        with open(argv[1], encoding="utf-8") as description_file:
            description = json.load(description_file)
        font = Font(description)
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
