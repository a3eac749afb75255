#!/usr/bin/env python3
"""Builds the fonts that draw the i-mode emoji (private-use U+E63E-U+E757) as pictures.

Usage: make_emoji_font.py NotoColorEmoji.ttf EmojiSources.txt OUT_DIR

OUT_DIR/KotoriEmoji.ttf: the colour glyphs of Noto Color Emoji, each reached from the
private-use character of the i-mode emoji that Unicode's EmojiSources.txt (DoCoMo column)
pairs with its Unicode counterpart; keycaps point at their ligature glyphs. Subset to those
glyphs and renamed, under the SIL Open Font License 1.1 like the font it comes from.

OUT_DIR/KotoriEmojiCodes.ttf: for the codes without a counterpart, a box showing the
Shift_JIS code in two rows (F9 over B1), so that no i-mode emoji shows as an empty box.

Run by the build with Debian's python3-fonttools; the fonts are not committed.
"""

import os
import sys

from fontTools import subset
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_emoji_sources import docomo_mappings  # noqa: E402

FIRST, LAST = 0xE63E, 0xE757
FAMILY = "Kotori Emoji"
CODES_FAMILY = "Kotori Emoji Codes"


def ligatures(font):
    """(first glyph, rest of the components) -> ligature glyph, from every ligature lookup."""
    out = {}
    if "GSUB" not in font:
        return out
    for lookup in font["GSUB"].table.LookupList.Lookup:
        for sub in lookup.SubTable:
            if lookup.LookupType == 7:
                sub = sub.ExtSubTable
            if getattr(sub, "LookupType", lookup.LookupType) != 4:
                continue
            for first, ligs in sub.ligatures.items():
                for lig in ligs:
                    out.setdefault((first, tuple(lig.Component)), lig.LigGlyph)
    return out


def glyph_of(sequence, cmap, ligs):
    if len(sequence) == 1:
        return cmap.get(sequence[0])
    names = [cmap.get(c) for c in sequence]
    if None in names:
        return None
    # Fonts of today ligate the emoji presentation (with U+FE0F) as well as the bare sequence.
    for rest in (tuple(names[1:]), (cmap.get(0xFE0F),) + tuple(names[1:])):
        glyph = ligs.get((names[0], rest))
        if glyph:
            return glyph
    return None


def rename(font, family, postscript):
    name = font["name"]
    keep = []
    for record in name.names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID == 4:
            record.string = family
        elif record.nameID == 6:
            record.string = postscript
        elif record.nameID == 3:
            record.string = postscript + ";kotori"
        elif record.nameID in (2, 17):
            record.string = "Regular"
        keep.append(record)
    name.names = keep


def colour_font(source, mappings, target):
    font = TTFont(source)
    cmap = font.getBestCmap()
    ligs = ligatures(font)
    chosen = {}
    for pua, sequence in mappings:
        glyph = glyph_of(sequence, cmap, ligs)
        if glyph:
            chosen[pua] = glyph
    options = subset.Options()
    options.layout_features = []
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = False
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "vhea", "vmtx"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(glyphs=sorted(set(chosen.values())))
    subsetter.subset(font)
    table = cmap_format_4(4)
    table.platformID, table.platEncID, table.language = 3, 1, 0
    table.cmap = dict(chosen)
    font["cmap"].tables = [table]
    rename(font, FAMILY, "KotoriEmoji-Regular")
    font.save(target)
    return chosen


# Segments of a seven-segment digit: a top, b upper right, c lower right, d bottom,
# e lower left, f upper left, g middle.
SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg", "5": "acdfg",
    "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg", "A": "abcefg", "B": "cdefg",
    "C": "adef", "D": "bcdeg", "E": "adefg", "F": "aefg",
}


def rect(pen, x0, y0, x1, y1, clockwise=True):
    points = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
    if not clockwise:
        points.reverse()
    pen.moveTo(points[0])
    for p in points[1:]:
        pen.lineTo(p)
    pen.closePath()


def digit(pen, ch, x, y, w=300, h=400, t=64):
    mid = y + h // 2
    parts = {
        "a": (x, y + h - t, x + w, y + h),
        "b": (x + w - t, mid, x + w, y + h),
        "c": (x + w - t, y, x + w, mid),
        "d": (x, y, x + w, y + t),
        "e": (x, y, x + t, mid),
        "f": (x, mid, x + t, y + h),
        "g": (x, mid - t // 2, x + w, mid + t // 2),
    }
    for s in SEGMENTS[ch]:
        rect(pen, *parts[s])


def code_glyph(sjis):
    pen = TTGlyphPen(None)
    # As large and bold as the box allows: they are read at text sizes.
    rect(pen, 60, -110, 940, 870)
    rect(pen, 96, -74, 904, 834, clockwise=False)
    text = "%04X" % sjis
    for row, pair in enumerate((text[:2], text[2:])):
        y = 410 if row == 0 else -10
        for col, ch in enumerate(pair):
            digit(pen, ch, 160 + col * 380, y)
    return pen.glyph()


def sjis_of(pua):
    index = pua - 0xE000
    lead, trail = 0xF0 + index // 188, index % 188
    return lead << 8 | (0x40 + trail + (1 if trail >= 0x3F else 0))


def codes_font(missing, target):
    names = [".notdef"] + ["code%04X" % sjis_of(c) for c in missing]
    glyphs = {".notdef": TTGlyphPen(None).glyph()}
    for c in missing:
        glyphs["code%04X" % sjis_of(c)] = code_glyph(sjis_of(c))
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({c: "code%04X" % sjis_of(c) for c in missing})
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({n: (1000 if n != ".notdef" else 500, 0) for n in names})
    fb.setupHorizontalHeader(ascent=880, descent=-120)
    fb.setupNameTable({"familyName": CODES_FAMILY, "styleName": "Regular",
                       "psName": "KotoriEmojiCodes-Regular", "uniqueFontIdentifier": "KotoriEmojiCodes;kotori",
                       "version": "Version 1.0"})
    fb.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    fb.setupPost()
    fb.save(target)


def main():
    source, table, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    mappings = docomo_mappings(table)
    chosen = colour_font(source, mappings, os.path.join(out, "KotoriEmoji.ttf"))
    missing = [c for c in range(FIRST, LAST + 1) if c not in chosen]
    codes_font(missing, os.path.join(out, "KotoriEmojiCodes.ttf"))
    print("emoji font: %d pictures, %d codes shown as boxes" % (len(chosen), len(missing)))


if __name__ == "__main__":
    main()
