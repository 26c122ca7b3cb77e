#!/usr/bin/python3
"""Draws every image and synthesises every sound of data/, plus the review
sheets of docs/.  Run it with Debian's python (it needs python3-pil and the
pixel fonts of xfonts-base):

    /usr/bin/python3 tools/make_assets.py            # data/, docs/, web/icons/
    /usr/bin/python3 tools/make_assets.py --zoom 3 /tmp/out
                                                     # also 3x copies of the
                                                     # sheets, for viewing

The output is committed; the game never runs this.  It is deterministic
(fixed seeds, no timestamps in the files), so a second run reproduces data/
byte for byte.
"""

import gzip
import io
import math
import os
import re
import random
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFilter, PcfFontFile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
DOCS = os.path.join(ROOT, "docs")
ICONS = os.path.join(ROOT, "web", "icons")
FONT_DIR = "/usr/share/fonts/X11/misc"

# The colour key.  Nothing visible may come near it: after RGB565 reduction
# (0..7, 252..255, 248..255) would become the key and vanish.
KEY = (0, 255, 255)

# One palette for everything.
INK = (22, 18, 34)          # outlines, text on light things
NIGHT = (28, 30, 62)        # darkest blue, shadows of the panel
NAVY = (40, 44, 92)         # score panel, buttons
NAVY2 = (58, 66, 128)       # button face
NAVY3 = (92, 106, 170)      # highlights on blue
SKY = (132, 176, 236)       # player 1
FELT0 = (20, 66, 54)        # felt shadows
FELT1 = (30, 90, 70)        # the table
FELT2 = (40, 108, 84)       # felt light
CREAM = (246, 238, 214)     # card face
CREAM2 = (216, 202, 172)    # card shade
PAPER = (172, 152, 122)     # card edge
WHITE = (252, 250, 240)
RED = (214, 58, 66)
RED2 = (128, 26, 44)
GOLD = (250, 204, 76)
GOLD2 = (210, 140, 40)
ORANGE = (238, 122, 50)
PINK = (240, 138, 164)      # player 2
PURP = (130, 86, 180)       # the gorvel's fur
PURP2 = (86, 52, 130)
PURP3 = (176, 136, 220)
GREEN = (120, 200, 86)
GREY = (128, 126, 140)


# ---------------------------------------------------------------- fonts

class PixelFont:
    """A bitmap font of xfonts-base, as one mask per character; drawn maps
    characters to hand-drawn cells that replace the font's own."""

    def __init__(self, name, drawn=None, thin=""):
        path = os.path.join(FONT_DIR, name + ".pcf.gz")
        with gzip.open(path) as f:
            pcf = PcfFontFile.PcfFontFile(io.BytesIO(f.read()))
        glyphs = {c: pcf.glyph[c] for c in range(32, 127)}
        self.ascent = max(-g[1][1] for g in glyphs.values() if g)
        descent = max(g[1][3] for g in glyphs.values() if g)
        self.width = glyphs[ord("M")][0][0]
        self.height = self.ascent + descent
        self.masks = {}
        self.thin = thin              # drawn glyphs with one-pixel stems
        for c, g in glyphs.items():
            m = Image.new("L", (self.width, self.height), 0)
            if g:
                (_, _), (x0, y0, _, _), _, im = g
                m.paste(255, (x0, self.ascent + y0), im.convert("L"))
            self.masks[chr(c)] = m
        for ch, rows in (drawn or {}).items():
            rows = rows.split()
            assert (len(rows), len(rows[0])) == (self.height, self.width), ch
            m = Image.new("L", (self.width, self.height), 0)
            m.putdata([255 if c == "#" else 0 for row in rows for c in row])
            self.masks[ch] = m

    def mask(self, text, advance=None, scale=1):
        adv = self.width if advance is None else advance
        m = Image.new("L", (max(1, adv * len(text)), self.height), 0)
        for i, ch in enumerate(text):
            m.paste(self.masks[ch], (i * adv, 0))
        if scale != 1:
            m = m.resize((m.width * scale, m.height * scale), Image.NEAREST)
        return m


    def tight(self, text, scale=1):
        """Text set by ink width, one pixel between letters: a glyph may use
        the whole cell (M and W do), which at a fixed advance of one cell
        would touch its neighbour."""
        x, spots = 0, []
        for ch in text:
            g = self.masks[ch]
            box = g.getbbox()
            if box is None:
                x += 3 * scale
                continue
            g = g.crop((box[0], 0, box[2], self.height))
            g = g.resize((g.width * scale, g.height * scale), Image.NEAREST)
            if scale > 1 and ch in self.thin:
                # Enlarged, a one-pixel stem looks faint beside bold ones.
                wide = Image.new("L", (g.width + 1, g.height), 0)
                wide.paste(255, (0, 0), g)
                wide.paste(255, (1, 0), g)
                g = wide
            spots.append((x, g))
            x += g.width + scale
        m = Image.new("L", (max(1, x - scale), self.height * scale), 0)
        for sx, g in spots:
            m.paste(255, (sx, 0), g)
        return m


# Hand-drawn cells for the glyphs that xfonts-base draws too alike at 1x:
# in the bold face M, N and W differed by one or two pixels ("name" read as
# "nawe"), so did B D O Q, a u, b h and g y. Rows top to bottom, '#' ink.
# M N W X m w take the whole cell width: the game puts a pixel between cells.
BOLD6_DRAWN = {
    "M": "...... #....# ##..## #.##.# #.##.# #....# #....# #....# ...... ......",
    "N": "...... ##..## ###.## ###.## ###### ##.### ##.### ##..## ...... ......",
    "W": "...... #....# #....# #....# #.##.# #.##.# ##..## #....# ...... ......",
    "X": "...... ##..## ##..## .####. ..##.. .####. ##..## ##..## ...... ......",
    "V": "...... ##..## ##..## ##..## ##..## .####. .####. ..##.. ...... ......",
    "1": "...##. ..###. .####. ...##. ...##. ...##. ...##. .##### ...... ......",
    "l": "...... .###.. ..##.. ..##.. ..##.. ..##.. ..##.. ...### ...... ......",
    "{": "...### ...##. ...##. ...##. .###.. ...##. ...##. ...##. ...### ......",
    "}": "###... .##... .##... .##... ..###. .##... .##... .##... ###... ......",
    "D": "...... .###.. .##.#. .##.## .##.## .##.## .##.#. .###.. ...... ......",
    "Q": "...... ..###. .##.## .##.## .##.## .##.## .####. ..#### .....# ......",
    "a": "...... ...... ...... ..###. ....## ..#### .##.## ..#### ...... ......",
    "h": "...... .##... .##... .#.##. .##.## .##.## .##.## .##.## ...... ......",
    "g": "...... ...... ...... ..#### .##.## .##.## .##.## ..#### ....## .####.",
    "m": "...... ...... ...... ####.. ##.##. ##.#.# ##.#.# ##.#.# ...... ......",
    "w": "...... ...... ...... ##...# ##...# ##.#.# ##.#.# .##.#. ...... ......",
}

# The small faces draw M N W with a filled band, so they ran together too;
# their wider letters take the fifth column, which the fonts leave empty.
SMALL5_DRAWN = {
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...# .....",
    "N": "#...# ##..# ##..# #.#.# #..## #..## #...# .....",
    "W": "#...# #...# #...# #.#.# #.#.# ##.## #...# .....",
    "V": "#...# #...# #...# #...# .#.#. .#.#. ..#.. .....",
    "O": ".###. #...# #...# #...# #...# #...# .###. .....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.# .....",
    "D": "###.. #..#. #...# #...# #...# #..#. ###.. .....",
    "h": "##... .#... .###. .#..# .#..# .#..# .#..# .....",
    "l": ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. ...## .....",
    "1": "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###. .....",
    "3": ".#### ....# ...#. ..##. ....# .#..# ..##. .....",
    "S": "..##. .#..# .#... ..##. ....# ....# .###. .....",
    "{": "...## ..#.. ..#.. .#... ..#.. ..#.. ...## .....",
    "}": "##... ..#.. ..#.. ...#. ..#.. ..#.. ##... .....",
}
TINY5_DRAWN = {
    "M": "#...# ##.## #.#.# #...# #...# #...# .....",
    "N": "#...# ##..# #.#.# #..## #...# #...# .....",
    "W": "#...# #...# #...# #.#.# ##.## #...# .....",
    "O": ".###. #...# #...# #...# #...# .###. .....",
    "m": "..... ..... ##.#. #.#.# #.#.# #.#.# .....",
    "w": "..... ..... #...# #.#.# #.#.# .#.#. .....",
    "g": "..... ..... .###. #..#. .###. ...#. .##..",
    "e": "..... ..... .##.. ####. #.... .###. .....",
    "{": "..##. .#... .#... #.... .#... .#... ..##.",
    "}": ".##.. ...#. ...#. ....# ...#. ...#. .##..",
}


def trim(mask):
    box = mask.getbbox()
    return mask.crop(box) if box else mask


def grow(mask, n=1):
    for _ in range(n):
        mask = mask.filter(ImageFilter.MaxFilter(3))
    return mask


def pad(mask, n):
    out = Image.new("L", (mask.width + 2 * n, mask.height + 2 * n), 0)
    out.paste(mask, (n, n))
    return out


def stamp(img, xy, mask, colour):
    img.paste(colour, xy, mask)


def outlined_text(mask, fill, outline=INK, lower=None, border=1, shadow=0):
    """A keyed picture of a text mask with a hard outline; lower, if given,
    colours the lower half of the letters for a two-tone look."""
    m = pad(mask, border + shadow)
    out = Image.new("RGB", m.size, KEY)
    ring = grow(m, border)
    if shadow:
        sh = Image.new("L", m.size, 0)
        sh.paste(ring, (shadow, shadow))
        stamp(out, (0, 0), sh, outline)
    stamp(out, (0, 0), ring, outline)
    stamp(out, (0, 0), m, fill)
    if lower:
        half = Image.new("L", m.size, 0)
        box = m.getbbox()
        mid = (box[1] + box[3]) // 2 + 1
        half.paste(m.crop((0, mid, m.width, m.height)), (0, mid))
        stamp(out, (0, 0), half, lower)
    return out


def font_strip(font, colour, outline=None):
    """95 cells for the characters 32..126 on the key colour."""
    b = 1 if outline else 0
    cw, ch = font.width + 2 * b, font.height + 2 * b
    img = Image.new("RGB", (95 * cw, ch), KEY)
    for i in range(95):
        m = pad(font.masks[chr(32 + i)], b)
        if outline:
            stamp(img, (i * cw, 0), grow(m), outline)
        stamp(img, (i * cw, 0), m, colour)
    return img


# ---------------------------------------------------------------- shapes

def rounded(d, box, fill, r=2):
    """A filled rectangle with its corners cut in hard steps."""
    x0, y0, x1, y1 = box
    d.rectangle((x0 + r, y0, x1 - r, y1), fill=fill)
    d.rectangle((x0, y0 + r, x1, y1 - r), fill=fill)
    if r >= 2:
        d.rectangle((x0 + 1, y0 + 1, x1 - 1, y1 - 1), fill=fill)


def plate(w, h, face, rim=INK, light=None, dark=None, r=2):
    img = Image.new("RGB", (w, h), KEY)
    d = ImageDraw.Draw(img)
    rounded(d, (0, 0, w - 1, h - 1), rim, r)
    rounded(d, (1, 1, w - 2, h - 2), face, max(0, r - 1))
    if light:
        d.line((r, 1, w - 1 - r, 1), fill=light)
        d.line((1, r, 1, h - 1 - r), fill=light)
    if dark:
        d.line((r, h - 2, w - 1 - r, h - 2), fill=dark)
        d.line((w - 2, r, w - 2, h - 1 - r), fill=dark)
    return img, d


def paste_keyed(dst, src, xy):
    """Blit with the colour key, as the game does."""
    src = src.convert("RGB")
    px = src.load()
    m = Image.new("L", src.size, 255)
    mp = m.load()
    for y in range(src.height):
        for x in range(src.width):
            if px[x, y] == KEY:
                mp[x, y] = 0
    dst.paste(src, xy, m)


# ---------------------------------------------------------------- cards

TILE_W, TILE_H = 36, 46

# Card values, 5x8 designs doubled into 2-pixel strokes.
VALUE_GLYPHS = {
    "A": ["..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "3": [".###.", "#...#", "....#", "..##.", "....#", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "...#.", "..#..", "..#..", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "0": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", "#...#"],
}
VALUE_NAMES = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]


def value_mask(name):
    rows = [""] * 8
    for i, ch in enumerate(name):
        for r in range(8):
            rows[r] += ("." if i else "") + VALUE_GLYPHS[ch][r]
    m = Image.new("L", (len(rows[0]), 8), 0)
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c == "#":
                m.putpixel((x, y), 255)
    return m.resize((m.width * 2, 16), Image.NEAREST)


def make_numbers():
    img = Image.new("RGB", (260, 20), KEY)
    for i, name in enumerate(VALUE_NAMES):
        m = value_mask(name)
        # Letters in dark red, digits in ink: faces and numbers part at a glance.
        colour = RED2 if name in ("A", "J", "Q", "K") else INK
        # Rows 1..16 of the cell: a covered card shows only cell rows 0..18.
        stamp(img, (20 * i + (20 - m.width) // 2, 1), m, colour)
    return img


def make_tile(highlighted):
    w, h = TILE_W, TILE_H
    if highlighted:
        img, d = plate(w, h, GOLD, INK, r=3)
        d.rectangle((1, 3, w - 2, h - 4), outline=RED)
        d.rectangle((3, 1, w - 4, h - 2), outline=RED)
        d.rectangle((2, 2, w - 3, h - 3), outline=RED)
        d.rectangle((3, 3, w - 4, h - 4), outline=ORANGE)
        d.line((4, 4, w - 5, 4), fill=WHITE)
        emblem = GOLD2
    else:
        img, d = plate(w, h, CREAM, INK, r=3)
        d.line((3, 1, w - 4, 1), fill=WHITE)
        d.line((1, 3, 1, h - 4), fill=WHITE)
        d.line((3, h - 2, w - 4, h - 2), fill=PAPER)
        d.line((w - 2, 3, w - 2, h - 4), fill=PAPER)
        d.point((2, 2), fill=WHITE)
        emblem = CREAM2
    # A quiet diamond under the value; the cursor lands on it.
    cx, cy = w // 2, 33
    d.polygon([(cx, cy - 7), (cx + 6, cy), (cx, cy + 7), (cx - 6, cy)], fill=emblem)
    d.polygon([(cx, cy - 3), (cx + 2, cy), (cx, cy + 3), (cx - 2, cy)],
              fill=ORANGE if highlighted else CREAM)
    return img


def card_back(w, h):
    img, d = plate(w, h, RED2, INK, r=2)
    d.rectangle((2, 2, w - 3, h - 3), outline=GOLD2)
    for y in range(4, h - 4, 4):
        for x in range(4 + (y // 4) % 2 * 2, w - 4, 4):
            d.point((x, y), fill=RED)
    cx, cy = w // 2, h // 2
    d.polygon([(cx, cy - 4), (cx + 3, cy), (cx, cy + 4), (cx - 3, cy)], fill=GOLD)
    return img


# ---------------------------------------------------------------- the gorvel

def draw_gorvel(img, ox, oy, arm="rest", mood="happy", scale=1):
    """The mascot: a round purple creature with gold horns and big eyes,
    about 34x34 at scale 1, its feet on oy+33."""
    s = scale
    d = ImageDraw.Draw(img)

    def e(box, fill, outline=None):
        x0, y0, x1, y1 = box
        d.ellipse((ox + x0 * s, oy + y0 * s, ox + (x1 + 1) * s - 1,
                   oy + (y1 + 1) * s - 1), fill=fill, outline=outline)

    def r(box, fill):
        x0, y0, x1, y1 = box
        d.rectangle((ox + x0 * s, oy + y0 * s, ox + (x1 + 1) * s - 1,
                     oy + (y1 + 1) * s - 1), fill=fill)

    def poly(pts, fill):
        d.polygon([(ox + x * s, oy + y * s) for x, y in pts], fill=fill, outline=INK)

    # horns
    poly([(6, 8), (4, 0), (11, 5)], GOLD)
    poly([(27, 8), (29, 0), (22, 5)], GOLD)
    # feet
    e((5, 28, 13, 33), INK)
    e((20, 28, 28, 33), INK)
    e((6, 29, 12, 32), PURP2)
    e((21, 29, 27, 32), PURP2)
    # body
    e((1, 4, 32, 31), INK)
    e((2, 5, 31, 30), PURP)
    e((4, 6, 14, 12), PURP3)
    e((9, 18, 24, 29), PURP3)     # belly
    # eyes
    e((7, 9, 15, 18), INK)
    e((18, 9, 26, 18), INK)
    e((8, 10, 14, 17), WHITE)
    e((19, 10, 25, 17), WHITE)
    if mood == "sad":
        r((10, 13, 12, 16), INK)
        r((21, 13, 23, 16), INK)
        r((7, 9, 15, 10), PURP)
        r((18, 9, 26, 10), PURP)
        r((8, 9, 10, 9), INK)
        r((23, 9, 25, 9), INK)
        r((14, 22, 19, 22), INK)
        r((13, 23, 13, 23), INK)
        r((20, 23, 20, 23), INK)
    else:
        r((11, 12, 13, 15), INK)
        r((20, 12, 22, 15), INK)
        r((12, 12, 12, 12), WHITE)
        r((21, 12, 21, 12), WHITE)
        r((13, 21, 20, 21), INK)
        r((12, 20, 12, 20), INK)
        r((21, 20, 21, 20), INK)
        r((15, 22, 18, 23), RED)
    # left arm always rests on the belly side
    e((0, 17, 5, 23), INK)
    e((1, 18, 4, 22), PURP)
    if arm == "rest":
        e((28, 17, 34, 23), INK)
        e((29, 18, 33, 22), PURP)
    elif arm == "up":
        e((28, 6, 34, 13), INK)
        e((29, 7, 33, 12), PURP)
    elif arm == "out":
        e((29, 12, 37, 18), INK)
        e((30, 13, 36, 17), PURP)


GORVEL_W, GORVEL_H = 64, 48


def make_gorvel(frame):
    img = Image.new("RGB", (GORVEL_W, GORVEL_H), KEY)
    d = ImageDraw.Draw(img)
    gx, gy = 1, 13                       # creature's box; feet on row 46
    stack_x, stack_y = 35, 22            # the stock: card backs, 20x24;
                                         # the resting arm lies on it
    if frame == 4:
        # An empty place where the stock was.
        for x in range(stack_x, stack_x + 20, 3):
            d.point((x, stack_y + 1), fill=CREAM2)
            d.point((x, stack_y + 23), fill=CREAM2)
        for y in range(stack_y + 1, stack_y + 24, 3):
            d.point((stack_x, y), fill=CREAM2)
            d.point((stack_x + 19, y), fill=CREAM2)
        draw_gorvel(img, gx, gy, "up", "sad")
        # a question mark over the empty place
        m = SMALL5.mask("?", scale=2)
        paste_keyed(img, outlined_text(trim(m), GOLD), (stack_x + 4, 0))
        return img
    back = card_back(20, 24)
    for i in range(3, 0, -1):
        paste_keyed(img, back, (stack_x + i, stack_y + i))
    if frame in (1, 2):
        paste_keyed(img, back, (stack_x, stack_y))
    if frame == 1:
        draw_gorvel(img, gx, gy, "rest")
    elif frame == 2:
        # The top card is lifted edge-on, halfway through its turn.
        draw_gorvel(img, gx, gy, "up")
        # The top card stands on its edge, halfway through its turn: seen
        # narrow, its back still on the left, its face on the right.
        d.rectangle((stack_x + 6, 0, stack_x + 14, 21), fill=CREAM, outline=INK)
        d.rectangle((stack_x + 7, 1, stack_x + 9, 20), fill=RED2)
        d.line((stack_x + 10, 1, stack_x + 10, 20), fill=CREAM2)
    elif frame == 3:
        # Face up, on its way to the waste on the right.
        draw_gorvel(img, gx, gy, "out")
        face, fd = plate(20, 24, CREAM, INK, r=2)
        fd.line((2, 1, 17, 1), fill=WHITE)
        fd.polygon([(10, 7), (14, 12), (10, 17), (6, 12)], fill=CREAM2)
        paste_keyed(img, face, (stack_x + 9, 0))
    return img


def make_popup():
    # Only the top 20 rows are ever on screen: horns, eyes and two paws
    # gripping the bottom edge must all sit there.
    img = Image.new("RGB", (40, 40), KEY)
    draw_gorvel(img, 3, 1, "none")
    d = ImageDraw.Draw(img)
    for px in (2, 29):
        d.ellipse((px, 15, px + 8, 21), fill=INK)
        d.ellipse((px + 1, 16, px + 7, 20), fill=PURP3)
        d.line((px + 3, 16, px + 3, 18), fill=PURP2)
        d.line((px + 5, 16, px + 5, 18), fill=PURP2)
    return img


# ---------------------------------------------------------------- UI parts

def button(w, h, label, face=NAVY2, ink=WHITE, font=None, advance=None,
           rim=INK, light=NAVY3, dark=NAVY, lines=None):
    img, d = plate(w, h, face, rim, light, dark, r=2)
    font = font or BOLD6
    texts = lines or [label]
    total = len(texts) * font.height - (len(texts) - 1) * 1
    y = (h - total) // 2
    for t in texts:
        full = font.mask(t, advance) if advance else font.tight(t)
        m, bb = trim(full), full.getbbox()
        x = (w - m.width) // 2
        yy = y + bb[1]
        stamp(img, (x + 1, yy + 1), m, INK)
        stamp(img, (x, yy), m, ink)
        y += font.height - 1
    return img


def banner(text, fill=GOLD, lower=GOLD2, face=NAVY, rim=GOLD, min_w=0, pad_x=10):
    m = trim(BOLD6.tight(text, scale=2))
    t = outlined_text(m, fill, INK, lower, shadow=1)
    w = max(min_w, t.width + 2 * pad_x)
    h = max(30, t.height + 10)     # one height for every banner
    img, d = plate(w, h, face, INK, r=3)
    d.rectangle((2, 2, w - 3, h - 3), outline=rim)
    d.line((4, 4, w - 5, 4), fill=NAVY3)
    paste_keyed(img, t, ((w - t.width) // 2, (h - t.height) // 2))
    return img


def make_selector():
    # A left-pointing arrow: beside the menu buttons it points at them. A
    # light rim keeps it visible over dark and red art too (the mascot).
    img = Image.new("RGB", (18, 14), KEY)
    d = ImageDraw.Draw(img)
    pts = [(1, 6), (7, 1), (8, 1), (8, 4), (16, 4), (16, 9), (8, 9), (8, 12),
           (7, 12), (1, 7)]
    d.polygon(pts, fill=RED, outline=INK)
    d.line((7, 3, 3, 6), fill=(255, 170, 170))
    d.line((8, 5, 14, 5), fill=(255, 170, 170))
    px = img.load()
    rim = [(x, y) for y in range(14) for x in range(18) if px[x, y] == KEY and any(
        0 <= x + dx < 18 and 0 <= y + dy < 14 and px[x + dx, y + dy] != KEY
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))]
    for xy in rim:
        px[xy] = WHITE
    return img


def make_timer():
    img = Image.new("RGB", (125, 9), INK)
    d = ImageDraw.Draw(img)
    # Red at the left end: the bar is cut from the right, so its colour
    # warns as time runs out.
    bands = [(0, RED, RED2), (25, ORANGE, GOLD2), (55, GOLD, GOLD2),
             (90, GREEN, (70, 140, 60))]
    for i, (x0, c, dark) in enumerate(bands):
        x1 = bands[i + 1][0] - 1 if i + 1 < len(bands) else 124
        d.rectangle((x0, 1, x1, 7), fill=c)
        d.line((x0, 7, x1, 7), fill=dark)
        d.line((x0, 2, x1, 2), fill=WHITE if c != GREEN else (190, 240, 160))
    for x in range(4, 125, 5):
        d.line((x, 3, x, 6), fill=INK)
    return img


def small_label(img, xy, text, colour=CREAM2, font=None):
    font = font or SMALL5
    stamp(img, xy, font.mask(text, font.width + 1), colour)


def make_background():
    rnd = random.Random(20240601)
    img = Image.new("RGB", (320, 240), FELT1)
    px = img.load()
    for y in range(240):
        for x in range(320):
            v = rnd.random()
            if v < 0.06:
                px[x, y] = FELT2
            elif v < 0.12:
                px[x, y] = FELT0
    d = ImageDraw.Draw(img)
    # Top bar with the timer trough and the table number.
    d.rectangle((66, 0, 319, 13), fill=NIGHT)
    d.line((66, 13, 319, 13), fill=INK)
    d.rectangle((124, 1, 250, 11), fill=INK)
    small_label(img, (95, 3), "TIME", CREAM2)
    small_label(img, (262, 3), "TABLE", CREAM2)
    small_label(img, (305, 3), "/3", CREAM2)
    # Score panel on the left.
    d.rectangle((0, 0, 64, 239), fill=NAVY)
    d.line((65, 0, 65, 239), fill=INK)
    d.line((64, 0, 64, 239), fill=NAVY3)
    for y in range(0, 240, 2):
        d.point((62, y), fill=NIGHT)
    olv = BOLD6.tight("OLVANE")
    gor = BOLD6.tight("GORVEL")
    stamp(img, ((64 - olv.width) // 2 + 1, 5), olv, INK)
    stamp(img, ((64 - olv.width) // 2, 4), olv, PURP3)
    stamp(img, ((64 - gor.width) // 2 + 1, 15), gor, INK)
    stamp(img, ((64 - gor.width) // 2, 14), gor, GOLD)

    def rule(y):
        d.line((4, y, 59, y), fill=NIGHT)
        d.line((4, y + 1, 59, y + 1), fill=NAVY3)

    rule(26)
    rule(82)
    # Pair counters: a mini pair of neighbours above "adjacent" at x=10,
    # an equal pair above "equal" at x=39.
    small_label(img, (17, 88), "PAIRS", CREAM2)
    for x0, a, b in ((6, "5", "6"), (35, "5", "5")):
        for i, v in enumerate((a, b)):
            cx = x0 + i * 10
            card, cd = plate(11, 14, CREAM, INK, r=1)
            m = SMALL5.mask(v)
            stamp(card, (3, 3), m, INK)
            paste_keyed(img, card, (cx, 104 - i * 2 + 2 * i))
    d.line((33, 104, 33, 136), fill=NIGHT)
    rule(140)
    small_label(img, (17, 147), "BONUS", CREAM2)
    rule(174)
    # Waste slot and stock counter.
    d.rectangle((205, 190, 240, 235), outline=FELT0)
    for x in range(207, 239, 2):
        d.point((x, 192), fill=FELT2)
        d.point((x, 233), fill=FELT2)
    for y in range(192, 234, 2):
        d.point((207, y), fill=FELT2)
        d.point((238, y), fill=FELT2)
    d.rectangle((84, 228, 104, 239), fill=FELT0)
    small_label(img, (107, 231), "LEFT", CREAM2)
    return img


def make_backdrop_tile():
    img = Image.new("RGB", (64, 64), NIGHT)
    d = ImageDraw.Draw(img)
    line = (36, 40, 80)
    # A lattice of diamonds whose period divides 64, so the tile wraps.
    for k in range(-64, 128, 32):
        d.line((k, 0, k + 64, 64), fill=line)
        d.line((k, 64, k + 64, 0), fill=line)
    dot = (48, 54, 102)
    for cx, cy in ((16, 16), (48, 48), (48, 16), (16, 48)):
        for dx, dy in ((0, -2), (2, 0), (0, 2), (-2, 0), (0, 0)):
            d.point(((cx + dx) % 64, (cy + dy) % 64), fill=dot)
    return img


def make_title():
    w, h = 176, 130
    img = Image.new("RGB", (w, h), KEY)
    olv = outlined_text(trim(BOLD6.tight("OLVANE", scale=2)), PURP3, INK,
                        PURP, shadow=1)
    gor = outlined_text(trim(BOLD8.mask("GORVEL", 8, scale=3)), GOLD, INK,
                        GOLD2, border=2, shadow=2)
    paste_keyed(img, olv, ((w - olv.width) // 2, 0))
    paste_keyed(img, gor, ((w - gor.width) // 2, olv.height))
    y = olv.height + gor.height + 4
    # The mascot, doubled, with a fan of cards.
    back = card_back(20, 24)
    for i, v in enumerate(("K", "A")):
        m = value_mask(v)
        card, cd = plate(26, 34, CREAM, INK, r=2)
        cd.line((2, 1, 23, 1), fill=WHITE)
        stamp(card, ((26 - m.width) // 2, 4), m, RED2)
        paste_keyed(img, card, (112 + i * 22, y + 18 + i * 4))
    paste_keyed(img, back, (16, y + 34))
    paste_keyed(img, back, (20, y + 30))
    draw_gorvel(img, 46, y - 2, "out", scale=2)
    sub = SMALL5.mask("A CARD SOLITAIRE", 6)
    stamp(img, ((w - sub.width) // 2 + 1, h - 8 + 1), sub, INK)
    stamp(img, ((w - sub.width) // 2, h - 8), sub, CREAM)
    return img


def marked_text(img, xy, line, colour=CREAM, accent=GOLD, font=None):
    """One line set by ink width; words between asterisks in the accent
    colour, so a key word stands out without a line of its own."""
    font = font or TINY5
    x, y = xy
    ink = colour
    for ch in line:
        if ch == "*":
            ink = accent if ink == colour else colour
            continue
        box = font.masks[ch].getbbox()
        if box is None:
            x += 3
            continue
        stamp(img, (x - box[0], y), font.masks[ch], ink)
        x += box[2] - box[0] + 1
    return x - 1


def make_instructions():
    # Everything a first game needs, in the 5x7 face at 1x: the pair rules,
    # the three buttons below the table, the clock and scoring, the keys of
    # both the pad and a keyboard, and the name grid's two special cells.
    w, h = 194, 230
    img, d = plate(w, h, NIGHT, INK, NAVY2, INK, r=3)
    d.rectangle((2, 2, w - 3, h - 3), outline=NAVY2)
    head = outlined_text(trim(BOLD6.tight("HOW TO PLAY")), GOLD, INK)
    paste_keyed(img, head, ((w - head.width) // 2, 5))
    lines = [
        "*Pairs:* choose a free card, then",
        "another; choose it again to undo.",
        "Equal values *1200*, neighbours *400*",
        "(K and A too), plus a *bonus* up to",
        "500 that shrinks while none is made.",
        None,
        "*Down*/*Up*: the table or the buttons",
        "below it. *Take score*: press twice.",
        "*Stock* (the gorvel): the waste card",
        "fills the lowest gap, the next turns.",
        "*Waste*: pairs like a free card.",
        None,
        "Each table is timed (the top bar);",
        "time left scores. *Cleared:* 10000",
        "+ 1000 a stock card. 3 tables a game.",
        None,
        "*Click* or *tap* a card or a button.",
    ]
    y = 18
    for text in lines:
        if text is None:          # a little air between topics
            y += 3
            continue
        assert marked_text(img, (8, y), text) < w - 6, text
        y += 9
    keys = [
        ("", "PAD", "KEYBOARD"),
        ("move", "pad", "arrows"),
        ("choose", "A B X Y", "Space Z X C"),
        ("pause", "START", "Return Esc"),
        ("volume", "VOL+ VOL-", "+ -"),
        ("mute", "VOL+ & VOL-", "+ & -"),
    ]
    d.rectangle((6, y - 2, w - 7, y + 8 * len(keys) - 1), fill=NAVY)
    for i, (what, pad_k, key) in enumerate(keys):
        colours = (SKY, SKY) if i == 0 else (CREAM, CREAM)
        marked_text(img, (10, y), what, GOLD)
        marked_text(img, (50, y), pad_k, colours[0])
        marked_text(img, (110, y), key, colours[1])
        y += 8
    y += 4
    for text in ("*Name:* type it, or pick; { or BackSpace", "deletes, } or *START* (Return) accepts."):
        assert marked_text(img, (8, y), text) < w - 6, text
        y += 8
    assert y <= h - 4, y
    return img


def make_headers():
    one = outlined_text(trim(SMALL5.mask("SCORE", 6)), GOLD, INK)
    two = Image.new("RGB", (56, 36), KEY)
    for i, (text, colour) in enumerate((("PLAYER 1", SKY), ("PLAYER 2", PINK))):
        t = outlined_text(trim(SMALL5.mask(text, 6)), colour, INK)
        paste_keyed(two, t, (0, 26 * i))
    return one, two


def make_takescore(sure):
    w, h = 52, 30
    if sure:
        img = button(w, h, "", face=RED, light=(240, 120, 120), dark=RED2,
                     lines=["SURE?"], font=BOLD6)
    else:
        img = button(w, h, "", face=NAVY2, lines=["TAKE", "SCORE"],
                     font=SMALL5, advance=6, ink=GOLD)
    return img


def make_player_button(n):
    w, h = 26, 27
    img, d = plate(w, h, NAVY2, INK, NAVY3, NAVY, r=2)
    # One or two figures above the label; the second player's stands behind.
    xs = [(9, SKY)] if n == 1 else [(12, PINK), (5, SKY)]
    for x, c in xs:
        d.ellipse((x + 1, 2, x + 7, 8), fill=c, outline=INK)
        d.rectangle((x, 9, x + 8, 13), fill=c, outline=INK)
        d.line((x + 1, 9, x + 7, 9), fill=c)
        d.point((x + 3, 5), fill=INK)
        d.point((x + 5, 5), fill=INK)
    lbl = trim(BOLD6.tight("%iP" % n))
    stamp(img, ((w - lbl.width) // 2 + 1, 16), lbl, INK)
    stamp(img, ((w - lbl.width) // 2, 15), lbl, WHITE)
    return img


def make_topgorvels():
    t = outlined_text(trim(BOLD6.tight("TOP GORVELS", scale=2)), GOLD, INK,
                      GOLD2, shadow=1)
    img = Image.new("RGB", (t.width + 26, t.height + 2), KEY)
    paste_keyed(img, t, (13, 0))
    # little horns either side
    for x in (2, img.width - 11):
        d = ImageDraw.Draw(img)
        d.polygon([(x, 20), (x + 4, 6), (x + 8, 20)], fill=GOLD, outline=INK)
    return img


def make_congrats():
    t = outlined_text(trim(BOLD6.tight("CONGRATULATIONS!", scale=2)), GOLD,
                      INK, ORANGE, shadow=1)
    return t


# ---------------------------------------------------------------- sounds

RATE = 22050


def write_wav(path, samples, level):
    """samples: floats in -1..1; written as 16-bit stereo at 22050 Hz."""
    # A last short fade at both ends, whatever the sound: no pops.
    env = envelope(len(samples), int(0.002 * RATE), int(0.005 * RATE))
    samples = [s * e for s, e in zip(samples, env)]
    peak = max(abs(s) for s in samples) or 1.0
    gain = level / peak                  # level < 1: never full scale
    frames = bytearray()
    for s in samples:
        v = int(round(s * gain * 32767))
        frames += struct.pack("<hh", v, v)
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


def envelope(n, attack, release):
    """Linear fade in and out, in samples, so nothing starts or stops with a pop."""
    out = []
    for i in range(n):
        a = min(1.0, i / attack) if attack else 1.0
        r = min(1.0, (n - 1 - i) / release) if release else 1.0
        out.append(a * r)
    return out


def tone(freq, dur, decay=0.0, harmonics=((1, 1.0),), attack=0.003,
         release=0.01, glide=0.0):
    n = int(dur * RATE)
    env = envelope(n, int(attack * RATE), int(release * RATE))
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = freq * (1 + glide * t / dur)
        phase += 2 * math.pi * f / RATE
        v = sum(a * math.sin(k * phase) for k, a in harmonics)
        out.append(v * env[i] * math.exp(-decay * t))
    return out


def mix(*parts):
    n = max(off + len(p) for off, p in parts)
    out = [0.0] * n
    for off, p in parts:
        for i, v in enumerate(p):
            out[off + i] += v
    return out


def make_sounds():
    rnd = random.Random(7)
    at = lambda s: int(s * RATE)
    sounds = {}
    # click1: a wooden tick, for confirming and turning a card.
    n = at(0.045)
    noise = [rnd.uniform(-1, 1) * math.exp(-i / at(0.004)) * 0.5 for i in range(n)]
    body = tone(1100, 0.045, decay=90, harmonics=((1, 1), (2, 0.3)), attack=0.001,
                release=0.006)
    sounds["click1"] = [a + b for a, b in zip(noise, body)]
    # click2: a bright rising pop, a pair taken away.
    sounds["click2"] = mix((0, tone(900, 0.05, decay=40, glide=0.5,
                                    harmonics=((1, 1), (3, 0.2)))),
                           (at(0.03), tone(1500, 0.05, decay=60,
                                           harmonics=((1, 0.7),))))
    # click3: the lightest tick, a cursor step.
    sounds["click3"] = [v * 0.5 for v in
                        tone(2400, 0.022, decay=200, attack=0.001, release=0.004)]
    # chime1: a small bell, one per stock card counted.
    bell = ((1, 1.0), (2.76, 0.35), (5.4, 0.12))
    n = at(0.42)
    env = envelope(n, at(0.002), at(0.05))
    sounds["chime1"] = [env[i] * math.exp(-7 * i / RATE) *
                        sum(a * math.sin(2 * math.pi * 1318 * k * i / RATE)
                            for k, a in bell) for i in range(n)]
    # nono: a low buzzy "uh-uh", falling.
    buzz = ((1, 1), (3, 0.33), (5, 0.2), (7, 0.14))
    sounds["nono"] = mix((0, tone(233, 0.13, harmonics=buzz, release=0.02)),
                         (at(0.17), tone(175, 0.17, harmonics=buzz,
                                         release=0.04)))
    # good: a fanfare, C E G then a held C chord.
    brass = ((1, 1), (2, 0.5), (3, 0.3), (4, 0.15))
    notes = [(0.0, 523.25, 0.14), (0.14, 659.25, 0.14), (0.28, 783.99, 0.14),
             (0.42, 1046.5, 0.75)]
    parts = [(at(t0), tone(f, d, decay=2.0, harmonics=brass, release=0.08))
             for t0, f, d in notes]
    parts += [(at(0.42), [v * 0.5 for v in tone(f, 0.75, decay=2.5,
                                                  harmonics=brass, release=0.12)])
              for f in (659.25, 783.99)]
    sounds["good"] = mix(*parts)
    return sounds


# ---------------------------------------------------------------- output

def save_png(img, path):
    # Plain RGB, no text chunks: the same pixels give the same bytes.
    img.convert("RGB").save(path, "PNG", optimize=True)


def read_catalogue():
    """The game's own catalogue (src/platform/assets.cpp), in load order: the
    images and the sounds this script must write, and no others."""
    path = os.path.join(ROOT, "src", "platform", "assets.cpp")
    rows = re.findall(r"^\s*(IMAGE|SHEET|SOUND)\((\w+)", open(path).read(), re.M)
    return ([name for kind, name in rows if kind != "SOUND"],
            [name for kind, name in rows if kind == "SOUND"])


IMAGE_ORDER, SOUND_ORDER = read_catalogue()
# Peak levels: the cursor tick is heard most often and is the quietest; the
# buzz of a refusal is loud for its peak, so it peaks lower.
SOUND_LEVEL = {"chime1": 0.6, "click1": 0.6, "click2": 0.7, "click3": 0.45,
               "nono": 0.45, "good": 0.75}


def make_images():
    im = {}
    im["tile_normal"] = make_tile(False)
    im["tile_highlighted"] = make_tile(True)
    im["numbers"] = make_numbers()
    im["tablecleared"] = banner("TABLE CLEARED!", GREEN, (70, 150, 60))
    im["ready"] = banner("GET READY!", min_w=150)
    im["timesup"] = banner("TIME'S UP!", ORANGE, RED, min_w=150)
    im["gameover"] = banner("GAME OVER", RED, RED2, min_w=150)
    im["winner"] = banner("WINS!", GOLD, GOLD2, min_w=110)
    im["player1"] = banner("PLAYER 1", SKY, NAVY3, rim=SKY, min_w=114, pad_x=8)
    im["player2"] = banner("PLAYER 2", PINK, RED, rim=PINK, min_w=114, pad_x=8)
    for i in range(1, 5):
        im["gorvel%i" % i] = make_gorvel(i)
    im["gorvel_popup"] = make_popup()
    im["font1"] = font_strip(BOLD6, WHITE)
    im["font1_hilite"] = font_strip(BOLD6, GOLD)
    im["font2"] = font_strip(SMALL5, (206, 218, 244))
    im["font2_hilite"] = font_strip(SMALL5, (255, 184, 48))
    im["font3"] = font_strip(TINY5, WHITE, INK)
    im["selector"] = make_selector()
    im["background"] = make_background()
    im["congrats"] = make_congrats()
    im["topgorvels"] = make_topgorvels()
    im["oneplayerscore_header"], im["twoplayerscore_header"] = make_headers()
    for name, label in (("newgame", "NEW GAME"), ("resume", "RESUME"),
                        ("quit", "QUIT"), ("highscores", "HIGH SCORES"),
                        ("instructions", "HOW TO PLAY"), ("menu", "MENU"),
                        ("ok", "OK")):
        im["button_" + name] = button(76, 20, label)
    im["button_takescore"] = make_takescore(False)
    im["button_takescore_sure"] = make_takescore(True)
    im["button_player1"] = make_player_button(1)
    im["button_player2"] = make_player_button(2)
    im["timer_image"] = make_timer()
    im["title"] = make_title()
    im["background_tile"] = make_backdrop_tile()
    im["instructions"] = make_instructions()
    assert sorted(im) == sorted(IMAGE_ORDER), "the images are not the catalogue's"
    return im


# ---------------------------------------------------------------- web icons

def icon_art():
    """The mascot before an ace on the felt, 64x64; the web icons enlarge it
    by whole factors so that its pixels stay square."""
    img = Image.new("RGB", (64, 64), FELT1)
    m = value_mask("A")
    card, cd = plate(26, 34, CREAM, INK, r=2)
    cd.line((2, 1, 23, 1), fill=WHITE)
    stamp(card, ((26 - m.width) // 2, 4), m, RED2)
    paste_keyed(img, card, (31, 9))
    draw_gorvel(img, 7, 19, "up")
    return img


def make_icons():
    """Each icon by name: the whole art at 192 and 512 pixels, and a
    "maskable" one whose art keeps to the middle circle that a phone's
    launcher may cut it to."""
    art = icon_art()
    big = lambda k: art.resize((64 * k, 64 * k), Image.NEAREST)
    maskable = Image.new("RGB", (512, 512), FELT1)
    maskable.paste(big(6), (64, 64))
    return {"icon-192": big(3), "icon-512": big(8), "icon-maskable-512": maskable}


# ---------------------------------------------------------------- review sheets

def text_on(img, xy, text, font, colour):
    """Draws text the way the game's draw_text does: cell + 1 pixel."""
    x, y = xy
    if x == -1:
        x = 160 - (len(text) * (font.width + 1)) // 2
    for i, ch in enumerate(text):
        stamp(img, (x + i * (font.width + 1), y), font.masks[ch], colour)


def mock_table(im):
    scr = im["background"].copy()
    rnd = random.Random(3)
    row_len = [6, 5, 6, 5, 6, 5]
    values = [rnd.randint(1, 13) for _ in range(33)]
    gone = {5, 10, 16, 27, 32}
    slot = 0
    pos = {}
    for r, n in enumerate(row_len):
        for c in range(n):
            x = (70 if r % 2 == 0 else 85) + 40 * c
            y = 15 + 22 * r
            pos[slot] = (x, y)
            slot += 1
    selected = {29}
    cursor = 30
    numbers = im["numbers"]
    def card(s, v, x, y):
        tile = im["tile_highlighted" if s in selected else "tile_normal"]
        paste_keyed(scr, tile, (x, y))
        paste_keyed(scr, numbers.crop((20 * (v - 1), 0, 20 * v, 20)), (x + 8, y + 3))
        if s == cursor:
            paste_keyed(scr, im["selector"], (x + 10, y + 25))
    for s in range(33):
        if s not in gone:
            card(s, values[s], *pos[s])
    card(33, 10, 205, 190)
    paste_keyed(scr, im["gorvel1"], (80, 180))
    paste_keyed(scr, im["button_takescore"], (10, 200))
    paste_keyed(scr, im["twoplayerscore_header"], (4, 30))
    f1 = BOLD6
    text_on(scr, (1, 41), "%6i" % 12400, f1, WHITE)
    text_on(scr, (1, 67), "%6i" % 9850, f1, WHITE)
    tm = im["timer_image"].crop((0, 0, 83, 9))
    scr.paste(tm, (125, 2))
    text_on(scr, (10, 158), "%4i" % 430, f1, WHITE)
    text_on(scr, (39, 125), "%2i" % 3, f1, WHITE)
    text_on(scr, (10, 125), "%2i" % 5, f1, WHITE)
    text_on(scr, (87, 229), "%2i" % 14, f1, WHITE)
    text_on(scr, (297, 0), "%1i" % 2, f1, WHITE)
    return scr


def mock_table_banner(im):
    scr = mock_table(im)
    lab, rd = im["player2"], im["ready"]
    paste_keyed(scr, lab, (190 - lab.width // 2, 120 - lab.height))
    paste_keyed(scr, rd, (190 - rd.width // 2, 120))
    sure = im["button_takescore_sure"]
    paste_keyed(scr, sure, (10, 200))
    paste_keyed(scr, im["selector"], (20, 225))
    font_text(scr, im["font3"], (-1, 215), "VOLUME %3i%%" % 70)
    return scr


def backdrop(im, scroll=20):
    scr = Image.new("RGB", (320, 240))
    for c in range(6):
        for r in range(-1, 5):
            scr.paste(im["background_tile"], (64 * c - scroll, scroll + 64 * r))
    return scr


def font_text(scr, font_img, xy, text):
    cw = font_img.width // 95
    x, y = xy
    if x == -1:
        x = 160 - (len(text) * (cw + 1)) // 2
    for i, ch in enumerate(text):
        c = ord(ch) - 32
        paste_keyed(scr, font_img.crop((c * cw, 0, c * cw + cw, font_img.height)),
                    (x + i * (cw + 1), y))


def mock_menu(im):
    scr = backdrop(im)
    paste_keyed(scr, im["title"], (20, 50))
    font_text(scr, im["font3"], (10, 225), "v1.0")
    paste_keyed(scr, im["gorvel_popup"], (230, 220))
    for i, name in enumerate(("resume", "newgame", "highscores",
                              "instructions", "quit")):
        paste_keyed(scr, im["button_" + name], (200, 50 + 25 * i))
    paste_keyed(scr, im["selector"], (280, 25 * 2 + 35))
    return scr


def mock_scores(im):
    scr = backdrop(im, 41)
    h = im["topgorvels"].height
    paste_keyed(scr, im["topgorvels"], (30, 40 - h))
    names = ["Gorvelina", "Olvane", "Player 1", "ABCDEFGHIJKLM", "zz top",
             "Player 2", "Mo", "Qwerty", "Pip", "Nobody"]
    for i in range(10):
        f = im["font2_hilite" if i == 3 else "font2"]
        y = 64 + 12 * i
        font_text(scr, f, (2, y), "%2i" % (i + 1))
        font_text(scr, f, (19, y), ".")
        font_text(scr, f, (30, y), names[i])
        font_text(scr, f, (120, y), "%7i" % (98000 - 8750 * i))
    font_text(scr, im["font2"], (200, 38), "Number of")
    font_text(scr, im["font2"], (200, 50), "Players?")
    paste_keyed(scr, im["button_player1"], (200, 75))
    paste_keyed(scr, im["button_player2"], (250, 75))
    paste_keyed(scr, im["selector"], (280, 85))
    paste_keyed(scr, im["gorvel_popup"], (230, 228))
    return scr


def mock_names(im):
    scr = backdrop(im, 7)
    f = im["font1"]
    c = im["congrats"]
    paste_keyed(scr, c, (160 - c.width // 2, 5))
    font_text(scr, f, (-1, 30), "Player 2")
    font_text(scr, f, (-1, 40), "You are in the top ten!")
    font_text(scr, f, (-1, 50), "23450")
    font_text(scr, f, (-1, 60), "Enter your name:")
    d = ImageDraw.Draw(scr)
    d.rectangle((60, 72, 259, 86), fill=(16, 0, 80))
    d.rectangle((60, 73, 149, 85), fill=(176, 176, 0))
    font_text(scr, f, (-1, 225), "Press Start to accept")
    font_text(scr, f, (61, 74), "Player 2")
    grid = ("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
            "1234567890.?!@#$%&*()/- {}")
    for i, ch in enumerate(grid):
        font_text(scr, f, (84 + 12 * (i % 13), 140 + 12 * (i // 13)), ch)
    cur = 17
    d.rectangle((82 + 12 * (cur % 13), 138 + 12 * (cur // 13),
                 93 + 12 * (cur % 13), 149 + 12 * (cur // 13)), fill=(176, 176, 0))
    font_text(scr, f, (84 + 12 * (cur % 13), 140 + 12 * (cur // 13)), grid[cur])
    return scr


def mock_instructions(im):
    scr = backdrop(im, 33)
    paste_keyed(scr, im["instructions"], (5, 5))
    for i, name in enumerate(("newgame", "highscores", "instructions", "quit")):
        paste_keyed(scr, im["button_" + name], (200, 75 + 25 * i))
    paste_keyed(scr, im["selector"], (280, 4 * 25 + 35))
    return scr


def contact_sheet(im):
    bg = (150, 150, 156)
    label_font = SMALL5
    cells = []
    for name in IMAGE_ORDER:
        img = im[name]
        if name.startswith("font"):
            # Fonts are long strips; show them folded in rows of 32 cells.
            cw = img.width // 95
            rows = [img.crop((k * cw, 0, min(95, k + 32) * cw, img.height))
                    for k in range(0, 95, 32)]
            folded = Image.new("RGB", (32 * cw, len(rows) * (img.height + 1)), KEY)
            for i, r in enumerate(rows):
                folded.paste(r, (0, i * (img.height + 1)))
            img = folded
        cells.append((name, im[name].size, img))
    W = 640
    x = y = 4
    line_h = 0
    placed = []
    for name, size, img in cells:
        w = max(img.width, len(name) * 6 + 30)
        h = img.height + 12
        if x + w > W - 4:
            x, y = 4, y + line_h + 6
            line_h = 0
        placed.append((name, size, img, x, y))
        x += w + 8
        line_h = max(line_h, h)
    sheet = Image.new("RGB", (W, y + line_h + 4), bg)
    for name, size, img, x, y in placed:
        stamp(sheet, (x, y), label_font.mask("%s %ix%i" % ((name,) + size), 6), INK)
        paste_keyed(sheet, img, (x, y + 10))
    return sheet


# ---------------------------------------------------------------- main

BOLD6 = BOLD8 = SMALL5 = TINY5 = None


def load_fonts():
    global BOLD6, BOLD8, SMALL5, TINY5
    BOLD6 = PixelFont("clB6x10", BOLD6_DRAWN, "MW")   # font1, buttons, banners
    BOLD8 = PixelFont("clB8x10")       # the title
    SMALL5 = PixelFont("clR5x8", SMALL5_DRAWN)       # font2, labels, instructions
    TINY5 = PixelFont("5x7", TINY5_DRAWN)           # font3, outlined


def main(argv):
    zoom, zoom_dir = 0, None
    if len(argv) >= 3 and argv[0] == "--zoom":
        zoom, zoom_dir = int(argv[1]), argv[2]
    load_fonts()
    os.makedirs(DATA, exist_ok=True)
    os.makedirs(DOCS, exist_ok=True)
    im = make_images()
    for name in IMAGE_ORDER:
        save_png(im[name], os.path.join(DATA, name + ".png"))
    sounds = make_sounds()
    assert sorted(sounds) == sorted(SOUND_ORDER), "the sounds are not the catalogue's"
    for name in SOUND_ORDER:
        write_wav(os.path.join(DATA, name + ".wav"), sounds[name], SOUND_LEVEL[name])
    os.makedirs(ICONS, exist_ok=True)
    for name, img in make_icons().items():
        save_png(img, os.path.join(ICONS, name + ".png"))
    sheets = {
        "contact_sheet": contact_sheet(im),
        "mock_table": mock_table(im),
        "mock_table_banner": mock_table_banner(im),
        "mock_menu": mock_menu(im),
        "mock_scores": mock_scores(im),
        "mock_names": mock_names(im),
        "mock_instructions": mock_instructions(im),
    }
    for name, img in sheets.items():
        save_png(img, os.path.join(DOCS, name + ".png"))
        if zoom:
            os.makedirs(zoom_dir, exist_ok=True)
            img.resize((img.width * zoom, img.height * zoom), Image.NEAREST).save(
                os.path.join(zoom_dir, name + ".png"))


if __name__ == "__main__":
    main(sys.argv[1:])
