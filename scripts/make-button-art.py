#!/usr/bin/env python3
"""Writes the message box button faces (gui/resources/art/but*.svg) from one template.

Each button comes as a normal face and a highlighted one ("...akt"); the key
letter is underlined. SVG as rendered by Qt has no text-decoration, so the
underline is a rectangle placed from the font's own advance widths.
Run again after changing the template: scripts/make-button-art.py
"""

import pathlib
import struct

ART = pathlib.Path(__file__).resolve().parent.parent / "gui" / "resources" / "art"
FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_FAMILY = "DejaVu Sans"
FONT_SIZE = 13
WIDTH, HEIGHT = 88, 26
BASELINE = 18

# name, word, index of the key letter
BUTTONS = [
    ("buttak", "Tak", 0),
    ("butnie", "Nie", 0),
    ("butanuluj", "Anuluj", 0),
    ("butzamknij", "Zamknij", 0),
    ("butyes", "Yes", 0),
    ("butno", "No", 0),
    ("butcancel", "Cancel", 0),
    ("butclose", "Close", 0),
]

# The face behind the corners is the message box's button row.
ROW = "#F3F6FA"
FACES = {
    "": dict(top="#FFFFFF", bottom="#E4ECF5", edge="#9FB3C8", ink="#1E3A5F", ring=""),
    "akt": dict(top="#3A81C3", bottom="#225A96", edge="#1A4A7E", ink="#FFFFFF",
                ring='<rect x="1.5" y="1.5" width="85" height="23" rx="5" fill="none" '
                     'stroke="#FFFFFF" stroke-opacity="0.35"/>\n'),
}


def advance_widths(path):
    """A function giving a character's advance width in font units, and units per em."""
    data = pathlib.Path(path).read_bytes()
    tables = {}
    for i in range(struct.unpack(">H", data[4:6])[0]):
        tag, _, offset, _ = struct.unpack(">4sIII", data[12 + 16 * i: 28 + 16 * i])
        tables[tag.decode()] = offset
    units_per_em = struct.unpack(">H", data[tables["head"] + 18: tables["head"] + 20])[0]
    metrics_count = struct.unpack(">H", data[tables["hhea"] + 34: tables["hhea"] + 36])[0]
    hmtx = tables["hmtx"]

    def glyph_advance(glyph):
        glyph = min(glyph, metrics_count - 1)
        return struct.unpack(">H", data[hmtx + 4 * glyph: hmtx + 4 * glyph + 2])[0]

    cmap = tables["cmap"]
    for i in range(struct.unpack(">H", data[cmap + 2: cmap + 4])[0]):
        platform, encoding, offset = struct.unpack(">HHI", data[cmap + 4 + 8 * i: cmap + 12 + 8 * i])
        sub = cmap + offset
        if platform == 3 and encoding == 1 and struct.unpack(">H", data[sub: sub + 2])[0] == 4:
            break
    else:
        raise SystemExit("no Unicode character map in " + path)
    segments = struct.unpack(">H", data[sub + 6: sub + 8])[0] // 2

    def words(start):
        return struct.unpack(">%dH" % segments, data[start: start + 2 * segments])
    ends = words(sub + 14)
    starts = words(sub + 16 + 2 * segments)
    deltas = words(sub + 16 + 4 * segments)
    offsets_at = sub + 16 + 6 * segments
    range_offsets = words(offsets_at)

    def advance(char):
        code = ord(char)
        for s in range(segments):
            if starts[s] <= code <= ends[s]:
                if range_offsets[s] == 0:
                    return glyph_advance((code + deltas[s]) & 0xFFFF)
                at = offsets_at + 2 * s + range_offsets[s] + 2 * (code - starts[s])
                glyph = struct.unpack(">H", data[at: at + 2])[0]
                return glyph_advance((glyph + deltas[s]) & 0xFFFF if glyph else 0)
        return glyph_advance(0)
    return advance, units_per_em


def button_svg(word, key, face, advance, units_per_em):
    scale = FONT_SIZE / units_per_em
    advances = [advance(c) * scale for c in word]
    left = (WIDTH - sum(advances)) / 2
    under_x = left + sum(advances[:key])
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">\n'
        '<!-- written by scripts/make-button-art.py; change the script, not this file -->\n'
        '<defs><linearGradient id="face" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient></defs>\n'
        '<rect width="%d" height="%d" fill="%s"/>\n'
        '<rect x="0.5" y="0.5" width="%d" height="%d" rx="6" fill="url(#face)" stroke="%s"/>\n'
        '%s'
        '<text x="%.2f" y="%d" font-family="%s" font-size="%d" font-weight="bold" fill="%s">%s</text>\n'
        '<rect x="%d" y="%d" width="%d" height="1" fill="%s"/>\n'
        '</svg>\n'
    ) % (WIDTH, HEIGHT, face["top"], face["bottom"], WIDTH, HEIGHT, ROW, WIDTH - 1, HEIGHT - 1,
         face["edge"], face["ring"], left, BASELINE, FONT_FAMILY, FONT_SIZE, face["ink"], word,
         round(under_x + 0.5), BASELINE + 2, round(advances[key] - 1), face["ink"])


def main():
    advance, units_per_em = advance_widths(FONT_FILE)
    for name, word, key in BUTTONS:
        for suffix, face in FACES.items():
            (ART / (name + suffix + ".svg")).write_text(
                button_svg(word, key, face, advance, units_per_em), encoding="utf-8")


if __name__ == "__main__":
    main()
