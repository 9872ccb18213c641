#!/usr/bin/env python3
"""Writes the picture frame of the text and the picture window (gui/resources/art/okno*.svg)
and their tool buttons (gui/resources/art/but*.svg) from one set of templates.

The frame is a blue title band over light side columns around a white centre.
Edges are stretched by the windows, so they vary only across their length. The
window's outline has its corners cut off by 4 pixels; the corner pieces draw the
outline along the cut. Run again after changing a template: scripts/make-frame-art.py
"""

import pathlib

ART = pathlib.Path(__file__).resolve().parent.parent / "gui" / "resources" / "art"

HEAD_TOP, HEAD_BOTTOM, HEAD_EDGE = "#2A64A3", "#1E4C80", "#173E69"
BODY, LINE, OUTLINE = "#E6EFF8", "#C9D8E8", "#6F8BAA"
FACE_TOP, FACE_BOTTOM, FACE_EDGE = "#FFFFFF", "#E4ECF5", "#9FB3C8"
INK, ACCENT, GRIP = "#1E3A5F", "#F4C542", "#8DA2B8"

BAND = 26       # the title band, as tall as the folded bar
TOP = 40        # the top row; the white centre starts below it
LEFT, RIGHT = 85, 30
CUT = 4

DEFS = (
    '<defs>'
    '<linearGradient id="head" x1="0" y1="0" x2="0" y2="1">'
    '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
    '<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">'
    '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
    '</defs>\n' % (HEAD_TOP, HEAD_BOTTOM, FACE_TOP, FACE_BOTTOM))


def svg(width, height, comment, body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">\n'
            '<!-- %s; written by scripts/make-frame-art.py, change the script, not this file -->\n'
            '%s%s</svg>\n') % (width, height, comment, DEFS, body)


def rect(x, y, w, h, fill, extra=""):
    return '<rect x="%g" y="%g" width="%g" height="%g" fill="%s"%s/>\n' % (x, y, w, h, fill, extra)


def line(points, colour, width=1):
    path = " ".join(("M" if i == 0 else "L") + "%g %g" % p for i, p in enumerate(points))
    return '<path d="%s" fill="none" stroke="%s" stroke-width="%g"/>\n' % (path, colour, width)


def head(width):
    """The title band across a piece, with a light edge above and a dark one below."""
    return (rect(0, 0, width, BAND, "url(#head)")
            + rect(0, 1, width, 1, "#FFFFFF", ' fill-opacity="0.18"')
            + rect(0, BAND - 1, width, 1, HEAD_EDGE))


def top_row(width):
    """Title band, then the light body down to the centre's top border."""
    return head(width) + rect(0, BAND, width, TOP - BAND, BODY) + rect(0, TOP - 1, width, 1, LINE)


def spot(mark):
    """The collapse or expand spot at 5,5 (18 x 17) inside the band."""
    return ('<rect x="5.5" y="5.5" width="17" height="16" rx="3.5" fill="#FFFFFF" fill-opacity="0.16" '
            'stroke="#FFFFFF" stroke-opacity="0.5"/>\n'
            + line(mark, "#FFFFFF", 2).replace("/>", ' stroke-linecap="round" stroke-linejoin="round"/>'))


UP_MARK = [(9.5, 16), (14, 11.5), (18.5, 16)]
DOWN_MARK = [(9.5, 11.5), (14, 16), (18.5, 11.5)]


def title(kind):
    """The window's badge and name at the left of the band."""
    badge = rect(9, 6, 14, 14, ACCENT, ' rx="3.5"')
    if kind == "text":
        glyph = "".join(line([(12, y), (x, y)], HEAD_BOTTOM, 1.6) for y, x in ((10, 20), (13, 20), (16, 17.5)))
        name = "Tekst"
    else:
        glyph = ('<path d="M11 18 L14.5 12.5 L17 16 L18.5 14 L21 18 Z" fill="%s"/>\n'
                 '<circle cx="18.5" cy="10" r="1.6" fill="%s"/>\n' % (HEAD_BOTTOM, HEAD_BOTTOM))
        name = "Obraz"
    text = ('<text x="29" y="18" font-family="DejaVu Sans" font-size="12" font-weight="bold" '
            'fill="#FFFFFF">%s</text>\n' % name)
    return badge + glyph + text


def left_top(kind, height, tools):
    body = (top_row(LEFT) + rect(0, TOP, LEFT, height - TOP, BODY)
            + rect(LEFT - 1, TOP - 1, 1, height - TOP + 1, LINE)
            + line([(0.5, height), (0.5, BAND)], OUTLINE)
            + title(kind) + tools)
    return svg(LEFT, height, "top-left corner of the %s window with its tools" % kind, body)


def left_bottom(kind, height):
    body = (rect(0, 0, LEFT, height, BODY) + rect(LEFT - 1, 0, 1, 1, LINE)
            + line([(0.5, 0), (0.5, height - CUT - 0.5), (CUT + 0.5, height - 0.5), (LEFT, height - 0.5)], OUTLINE))
    return svg(LEFT, height, "bottom-left corner of the %s window" % kind, body)


def bottom(kind, height):
    body = rect(0, 0, 600, height, BODY) + rect(0, 0, 600, 1, LINE) + rect(0, height - 1, 600, 1, OUTLINE)
    return svg(600, height, "bottom edge of the %s window, stretched across" % kind, body)


def right_bottom(kind, height, grip):
    body = (rect(0, 0, RIGHT, height, BODY) + rect(0, 0, 1, 1, LINE) + rect(0, 0, RIGHT, 1, LINE)
            + line([(RIGHT - 0.5, 0), (RIGHT - 0.5, height - CUT - 0.5), (RIGHT - CUT - 0.5, height - 0.5),
                    (0, height - 0.5)], OUTLINE)
            + grip)
    return svg(RIGHT, height, "bottom-right corner of the %s window" % kind, body)


# The resize corner's grip under 12,10 (13 x 14): three short diagonals.
RESIZE_GRIP = "".join(line([(24 - d, 22), (24, 22 - d)], GRIP, 1.4) for d in (3, 7, 11))


def bar_left(kind):
    return svg(LEFT, BAND, "left end of the folded %s window" % kind, head(LEFT) + title(kind))


def face(width, height, x=0, y=0):
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="6" fill="url(#face)" stroke="%s"/>\n'
            % (x + 0.5, y + 0.5, width - 1, height - 1, FACE_EDGE))


def button(name, comment, glyph):
    return name, svg(40, 45, comment, rect(0, 0, 40, 45, BODY) + face(40, 45) + glyph)


def letter(x, size, sign):
    """A letter A with a plus or minus beside it."""
    text = ('<text x="%g" y="30" font-family="DejaVu Sans" font-size="%d" font-weight="bold" fill="%s">A</text>\n'
            % (x, size, INK))
    mark = line([(25, 16), (33, 16)], INK, 2)
    if sign == "+":
        mark += line([(29, 12), (29, 20)], INK, 2)
    return text + mark


def sheets(x, y, inner):
    """Two overlapping sheets, the front one holding the given drawing."""
    return (rect(x + 0.5, y + 0.5, 13, 17, "#FFFFFF", ' stroke="%s" rx="1.5"' % INK)
            + rect(x + 5.5, y + 5.5, 13, 17, "#FFFFFF", ' stroke="%s" rx="1.5"' % INK) + inner)


COPY_TEXT = sheets(10, 10, "".join(line([(18.5, y), (26, y)], INK, 1.2) for y in (20, 23, 26, 29)))


def arrows(outwards):
    """Two diagonal arrows, pointing out of the centre or into it."""
    parts = []
    for (cx, cy), (dx, dy) in (((20, 22.5), (1, -1)), ((20, 22.5), (-1, 1))):
        near, far = (cx + 3 * dx, cy + 3 * dy), (cx + 10 * dx, cy + 10 * dy)
        start, tip = (near, far) if outwards else (far, near)
        hx, hy = (dx, dy) if outwards else (-dx, -dy)
        head_ = [(tip[0] - 5 * hx, tip[1]), tip, (tip[0], tip[1] - 5 * hy)]
        parts.append(line([start, tip], INK, 2) + line(head_, INK, 2))
    return "".join(parts).replace("/>", ' stroke-linecap="round" stroke-linejoin="round"/>')


# The picture's copy icon under the copy spot at 29,101 (29 x 30) of its top-left corner.
COPY_PICTURE = (face(29, 30, 29, 101)
                + sheets(33, 105, '<path d="M40.5 124 L44 118.5 L46.5 121.5 L48 119.5 L51 124 Z" fill="%s"/>\n'
                         '<circle cx="48" cy="114.5" r="1.6" fill="%s"/>\n' % (INK, ACCENT)))


def pieces():
    yield "oknoramkagora", svg(600, TOP, "top edge of both windows, stretched across", top_row(600))
    yield "oknoramkaprawagora", svg(
        RIGHT, TOP, "top-right corner of both windows with the collapse spot",
        top_row(RIGHT) + rect(0, TOP - 1, 1, 1, LINE) + line([(RIGHT - 0.5, BAND), (RIGHT - 0.5, TOP)], OUTLINE)
        + spot(UP_MARK))
    yield "oknoramkalewa", svg(LEFT, 500, "left edge of both windows, stretched down",
                               rect(0, 0, LEFT, 500, BODY) + rect(LEFT - 1, 0, 1, 500, LINE) + rect(0, 0, 1, 500, OUTLINE))
    yield "oknoramkaprawa", svg(RIGHT, 500, "right edge of both windows, stretched down",
                                rect(0, 0, RIGHT, 500, BODY) + rect(0, 0, 1, 500, LINE)
                                + rect(RIGHT - 1, 0, 1, 500, OUTLINE))
    yield "oknolistwasrodek", svg(600, BAND, "middle of the folded bar of both windows, stretched across", head(600))
    yield "oknolistwaprawa", svg(RIGHT, BAND, "right end of the folded bar with the expand spot",
                                 head(RIGHT) + spot(DOWN_MARK))

    yield "oknotekstulewagora", left_top("text", 200, "")
    yield "oknotekstulewadol", left_bottom("text", 30)
    yield "oknotekstudol", bottom("text", 30)
    yield "oknotekstuprawadol", right_bottom("text", 30, RESIZE_GRIP)
    yield "oknotekstulistwalewa", bar_left("text")
    yield button("butmniejszaczcionka", "smaller-font button", letter(8, 14, "-"))
    yield button("butwiekszaczcionka", "larger-font button", letter(6, 19, "+"))
    yield button("butkopiujtekst", "copy-text button", COPY_TEXT)

    yield "oknografikilewagora", left_top("picture", 160, COPY_PICTURE)
    yield "oknografikilewadol", left_bottom("picture", 25)
    yield "oknografikidol", bottom("picture", 25)
    yield "oknografikiprawadol", right_bottom("picture", 25, "")
    yield "oknografikilistwalewa", bar_left("picture")
    yield button("butpowiekszokno", "enlarge button", arrows(True))
    yield button("butzmniejszokno", "shrink button", arrows(False))


def main():
    for name, text in pieces():
        (ART / (name + ".svg")).write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
