"""Exported fonts judged by fontTools and Pillow, readers other than ours.

    FontToolsTest.py FONTGEN ASSETS_DIR

For every committed atlas and every OpenType format fontgen writes: fontTools
opens every table (every glyph of glyf and CFF decompiled) without a
warning, and the ttx dump of the KS X 1001 font read back, compiled and
dumped again is the same dump (a value fontTools would recalculate that we
wrote otherwise: bounds, maxp counts, offsets). If Pillow is installed, a
line it draws with the TrueType font at 16 px in 1-bit mode, as programs
using it draw, is pixel for pixel the line it draws with the bitmap strike.
Prints a line per check; exit status 1 when any failed.
"""

import io
import logging
import os
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTFont

FORMATS = ("ttf", "otf", "woff2", "otb")
ATLASES = ("round", "unifont", "dotum")
LINE = "똠방각하 깄다, 슌이 뷁! 다람쥐 헌 쳇바퀴에 타고파. Hangul & ABC 123"
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


class Warnings(logging.Handler):
    def __init__(self):
        super().__init__(logging.WARNING)
        self.seen = []

    def emit(self, record):
        self.seen.append(record.getMessage())


def export(fontgen, atlas, out, *extra):
    made = subprocess.run([fontgen, atlas, "-o", out, *extra], capture_output=True, text=True)
    if made.returncode != 0:
        raise SystemExit("fontgen failed on %s: %s" % (out, made.stderr.strip()))


def opens_every_table(path):
    """Warnings fontTools gives reading every table; a table it cannot read
    is an exception, which counts too."""
    warnings = Warnings()
    logging.getLogger("fontTools").addHandler(warnings)
    try:
        font = TTFont(path)
        for tag in font.keys():
            table = font[tag]
            if tag == "glyf":
                for name in font.getGlyphOrder():
                    table[name].expand(table)
            elif tag == "CFF ":
                charstrings = table.cff.topDictIndex[0].CharStrings
                for name in charstrings.keys():
                    charstrings[name].decompile()
    except Exception as error:  # a table fontTools cannot read
        warnings.seen.append("%s: %s" % (type(error).__name__, error))
    finally:
        logging.getLogger("fontTools").removeHandler(warnings)
    return warnings.seen


def check_header(path, what):
    """head.fontRevision as the name table's version says; hhea's widest
    advance the widest of hmtx (a bitmap-only font once said 0)."""
    font = TTFont(path)
    version = font["name"].getDebugName(5).split()[-1]  # "Version 1.1.0"
    major, minor = version.split(".")[:2]
    check(abs(font["head"].fontRevision - float(major + "." + minor)) < 1e-4,
          "%s: head.fontRevision %.4f is version %s" % (what, font["head"].fontRevision, version))
    widest = max(advance for advance, _ in font["hmtx"].metrics.values())
    check(font["hhea"].advanceWidthMax == widest,
          "%s: hhea.advanceWidthMax %d is the widest advance %d" % (what, font["hhea"].advanceWidthMax, widest))


def dump(font):
    text = io.StringIO()
    font.saveXML(text)
    return text.getvalue()


def compared(text):
    # The only field a compile must change: the bytes it sums are its own.
    return [line for line in text.splitlines() if "checkSumAdjustment" not in line]


def round_trips(path):
    text = dump(TTFont(path, recalcTimestamp=False))
    rebuilt = TTFont(recalcTimestamp=False)
    rebuilt.importXML(io.StringIO(text))
    compiled = io.BytesIO()
    rebuilt.save(compiled)
    first = compared(text)
    second = compared(dump(TTFont(io.BytesIO(compiled.getvalue()), recalcTimestamp=False)))
    differing = [(a, b) for a, b in zip(first, second) if a != b]
    return len(first) == len(second) and not differing, differing[:3]


def pillow_line(work, ttf, otb):
    try:
        from PIL import Image, ImageDraw, ImageFont
    except ImportError:
        print("skipped Pillow is not installed")
        return

    def draw(path):
        font = ImageFont.truetype(path, 16)
        image = Image.new("1", (16 * len(LINE), 16), 0)
        canvas = ImageDraw.Draw(image)
        canvas.fontmode = "1"
        canvas.text((0, 0), LINE, font=font, fill=1)
        return image.tobytes()

    strike = draw(otb)
    check(any(strike), "Pillow draws ink from the bitmap strike")
    check(draw(ttf) == strike, "Pillow's 1-bit line from the TrueType font is the bitmap strike's")


def main(argv):
    if len(argv) != 3:
        raise SystemExit("usage: FontToolsTest.py FONTGEN ASSETS_DIR")
    fontgen, assets = argv[1], argv[2]
    with tempfile.TemporaryDirectory(prefix="runeplate-fonttools-") as work:
        for atlas in ATLASES:
            source = os.path.join(assets, "fonts", atlas, "a1bit.bmp")
            for kind in FORMATS:
                path = os.path.join(work, "%s.%s" % (atlas, kind))
                export(fontgen, source, path)
                warnings = opens_every_table(path)
                check(not warnings, "fontTools reads every table of %s.%s%s" %
                      (atlas, kind, "" if not warnings else ": " + "; ".join(warnings[:3])))
                if atlas == "round":
                    check_header(path, "%s.%s" % (atlas, kind))
        source = os.path.join(assets, "fonts", "round", "a1bit.bmp")
        for kind in FORMATS:
            path = os.path.join(work, "ks.%s" % kind)
            export(fontgen, source, path, "--chars", "ksx1001")
            same, differing = round_trips(path)
            check(same, "the ttx dump of round --chars ksx1001 .%s round-trips%s" %
                  (kind, "" if same else ": " + repr(differing)))
        pillow_line(work, os.path.join(work, "round.ttf"), os.path.join(work, "round.otb"))
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
