#!/usr/bin/env python3
"""Draws the tree control's bitmaps: check-image strips, utility images, the XP-style
expand buttons, the wheel-panning images and the move and header-split cursors.

Run it from anywhere; it writes the PNGs next to itself. Only the standard library is
used, so the images can be rebuilt on any machine:  python3 make_images.py

Colour conventions the control relies on when it loads a strip:
  * the pixel at (0, 0) is the mask colour (magenta here): every pixel of that colour
    becomes transparent;
  * white, silver (192,192,192) and grey (128,128,128) are replaced by the window,
    button-face and button-shadow colours of the palette (except in LT_XP);
  * a strip is a row of square images, as many as its width holds its height.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

MAGENTA = (255, 0, 255, 255)
WHITE = (255, 255, 255, 255)
SILVER = (192, 192, 192, 255)
GREY = (128, 128, 128, 255)
BLACK = (0, 0, 0, 255)
DARK = (64, 64, 64, 255)
CLEAR = (0, 0, 0, 0)
HOT_FILL = (255, 244, 214, 255)     # a warm tint under the mouse
HOT_FRAME = (230, 150, 30, 255)


class Canvas:
    def __init__(self, w, h, fill=MAGENTA):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):          # inclusive, filled
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
                if r - 1.0 < d <= r:
                    self.set(x, y, c)

    def polygon(self, pts, c):
        for y in range(self.h):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(self.w):
                    if a <= x + 0.5 <= b:
                        self.set(x, y, c)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.px[y][x])


def write_png(path, canvas):
    raw = b"".join(b"\x00" + b"".join(struct.pack("BBBB", *p) for p in row) for row in canvas.px)

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# ---- Check images -------------------------------------------------------------------------
# Index layout (25 cells of 16x16): 0 empty; 1-8 radio buttons and 9-16 check boxes, each as
# unchecked normal, hot, pressed, disabled, then checked normal, hot, pressed, disabled;
# 17-20 mixed boxes (normal, hot, pressed, disabled); 21-24 push buttons (same order).

NORMAL, HOT, PRESSED, DISABLED = range(4)


class Look:
    def __init__(self, frame, inner_dark, inner_light, fill, mark, tick, flat=False, xp=False):
        self.frame, self.inner_dark, self.inner_light = frame, inner_dark, inner_light
        self.fill, self.mark, self.tick, self.flat, self.xp = fill, mark, tick, flat, xp

    def box_fill(self, mode):
        if mode == PRESSED or mode == DISABLED:
            return (222, 222, 216, 255) if self.xp else SILVER
        if mode == HOT:
            return (253, 230, 176, 255) if self.xp else HOT_FILL
        return self.fill

    def mark_colour(self, mode):
        return GREY if mode == DISABLED else self.mark


def draw_box(c, look, mode):
    # 13x13 box at (1,1)
    if look.flat or look.xp:
        frame = GREY if mode == DISABLED and look.xp else look.frame
        if mode == HOT and not look.xp:
            frame = HOT_FRAME
        c.frame(1, 1, 13, 13, frame)
        c.rect(2, 2, 12, 12, look.box_fill(mode))
        if look.xp and mode == HOT:
            c.frame(2, 2, 12, 12, (248, 179, 48, 255))
        return
    c.rect(1, 1, 13, 13, WHITE)
    c.line(1, 1, 12, 1, look.frame)          # sunken 3D frame
    c.line(1, 1, 1, 12, look.frame)
    c.line(2, 2, 11, 2, look.inner_dark)
    c.line(2, 2, 2, 11, look.inner_dark)
    c.line(1, 13, 13, 13, WHITE)
    c.line(13, 1, 13, 13, WHITE)
    c.line(2, 12, 12, 12, look.inner_light)
    c.line(12, 2, 12, 12, look.inner_light)
    c.rect(3, 3, 11, 11, look.box_fill(mode))
    if mode == HOT:
        c.frame(3, 3, 11, 11, HOT_FRAME)


def draw_check_mark(c, look, mode):
    col = look.mark_colour(mode)
    if look.tick:
        # a bold tick that reaches beyond the box, as hand-ticked lists show
        c.polygon([(3, 7), (6, 10), (13, 1), (15, 2), (6, 13), (1, 8)], col)
    else:
        for dx in range(3):
            c.line(4, 6 + dx, 6, 8 + dx, col)
            c.line(6, 8 + dx, 10, 4 + dx, col)


def draw_mixed_mark(c, look, mode):
    col = look.mark_colour(mode)
    if mode != DISABLED and not look.xp:
        col = GREY if look.mark == BLACK else look.mark
    c.rect(4, 4, 10, 10, col)


def draw_radio(c, look, mode, checked):
    frame = look.frame
    if mode == HOT:
        frame = (248, 179, 48, 255) if look.xp else HOT_FRAME
    c.disc(7.5, 7.5, 6.5, frame)
    c.disc(7.5, 7.5, 5.5, look.box_fill(mode))
    if not (look.flat or look.xp):
        c.ring(7.5, 7.5, 5.5, look.inner_dark)
    if checked:
        c.disc(7.5, 7.5, 2.6, look.mark_colour(mode))


def draw_button(c, look, mode):
    face = SILVER if not look.xp else (236, 233, 216, 255)
    c.rect(0, 1, 15, 14, face)
    light, dark = (WHITE, GREY) if mode != PRESSED else (GREY, WHITE)
    if look.xp:
        light, dark = ((255, 255, 255, 255), (0, 60, 116, 255)) if mode != PRESSED else ((0, 60, 116, 255), (255, 255, 255, 255))
    c.line(0, 1, 15, 1, light)
    c.line(0, 1, 0, 14, light)
    c.line(0, 14, 15, 14, dark)
    c.line(15, 1, 15, 14, dark)
    if mode == HOT:
        c.frame(1, 2, 14, 13, HOT_FRAME)
    if mode == DISABLED:
        c.rect(5, 6, 10, 9, GREY)


def check_strip(look):
    strip = Canvas(16 * 25, 16)
    for i in range(25):
        cell = Canvas(16, 16)
        if 1 <= i <= 8:
            k = i - 1
            draw_radio(cell, look, k % 4, k >= 4)
        elif 9 <= i <= 16:
            k = i - 9
            draw_box(cell, look, k % 4)
            if k >= 4:
                draw_check_mark(cell, look, k % 4)
        elif 17 <= i <= 20:
            draw_box(cell, look, i - 17)
            draw_mixed_mark(cell, look, i - 17)
        elif 21 <= i <= 24:
            draw_button(cell, look, i - 21)
        strip.blit(cell, 16 * i, 0)
    return strip


LOOKS = {
    "LT_CHECK_LIGHT": Look(GREY, SILVER, SILVER, WHITE, BLACK, tick=False),
    "LT_CHECK_DARK": Look(GREY, BLACK, SILVER, WHITE, BLACK, tick=False),
    "LT_TICK_LIGHT": Look(GREY, SILVER, SILVER, WHITE, (0, 128, 0, 255), tick=True),
    "LT_TICK_DARK": Look(GREY, BLACK, SILVER, WHITE, BLACK, tick=True),
    "LT_FLAT": Look(GREY, GREY, GREY, WHITE, BLACK, tick=False, flat=True),
    "LT_XP": Look((28, 81, 128, 255), (28, 81, 128, 255), (28, 81, 128, 255), (244, 244, 240, 255),
                  (33, 161, 33, 255), tick=False, xp=True),
}


# ---- Utility images ------------------------------------------------------------------------
# 0 drop mark at a column's left edge, 1 at its right edge, 2 descending and 3 ascending sort
# glyphs, 4 and 5 their themed forms, 6-8 the hot bar of a hand-drawn XP header button (left
# end, middle repeated every 16 pixels, right end).

def utilities():
    strip = Canvas(16 * 9, 16)
    cells = [Canvas(16, 16) for _ in range(9)]
    # drop marks: an arrow pointing at the edge and a bar along it
    # (the strip's first pixel stays the mask colour)
    cells[0].rect(0, 1, 1, 14, BLACK)
    cells[0].polygon([(2, 8), (7, 3), (7, 13)], BLACK)
    cells[1].rect(14, 1, 15, 14, BLACK)
    cells[1].polygon([(14, 8), (9, 3), (9, 13)], BLACK)
    # sort glyphs: grey shadowed triangles (remapped to the palette) and flat dark ones
    cells[2].polygon([(3, 5), (12, 5), (7.5, 10.5)], GREY)     # descending: points down
    cells[2].line(7, 10, 12, 5, WHITE)
    cells[3].polygon([(3, 10), (12, 10), (7.5, 4.5)], GREY)    # ascending: points up
    cells[3].line(3, 10, 12, 10, WHITE)
    cells[4].polygon([(4, 6), (11, 6), (7.5, 9.5)], (90, 90, 90, 255))
    cells[5].polygon([(4, 9), (11, 9), (7.5, 5.5)], (90, 90, 90, 255))
    orange = [(248, 169, 0, 255), (248, 179, 48, 255), (255, 200, 60, 255)]
    for row, col in enumerate(orange):
        y = 13 + row
        cells[6].line(1, y, 15, y, col)
        cells[7].line(0, y, 15, y, col)
        cells[8].line(0, y, 14, y, col)
    for i, cell in enumerate(cells):
        strip.blit(cell, 16 * i, 0)
    return strip


def xp_button(plus):
    c = Canvas(9, 9)
    c.frame(0, 0, 8, 8, (122, 152, 175, 255))
    for y in range(1, 8):
        shade = 255 - y * 6
        c.line(1, y, 7, y, (shade, shade, shade - 8, 255))
    c.line(2, 4, 6, 4, BLACK)
    if plus:
        c.line(4, 2, 4, 6, BLACK)
    return c


# ---- Wheel panning images and move cursors --------------------------------------------------

def arrow(c, cx, cy, dx, dy, colour, size=4):
    # a filled arrow head whose tip is (cx + dx*size, cy + dy*size)
    tip = (cx + dx * size, cy + dy * size)
    px, py = -dy, dx
    base = (cx + dx * (size - 3), cy + dy * (size - 3))
    c.polygon([(tip[0] + 0.5, tip[1] + 0.5), (base[0] + px * 3 + 0.5, base[1] + py * 3 + 0.5),
               (base[0] - px * 3 + 0.5, base[1] - py * 3 + 0.5)], colour)


def panning_image(horizontal, vertical):
    c = Canvas(28, 28)
    c.disc(14, 14, 13.5, BLACK)
    c.disc(14, 14, 12.5, WHITE)
    c.disc(14, 14, 2, BLACK)
    if vertical:
        c.polygon([(14, 3), (10, 8), (18, 8)], BLACK)
        c.polygon([(14, 25), (10, 20), (18, 20)], BLACK)
    if horizontal:
        c.polygon([(3, 14), (8, 10), (8, 18)], BLACK)
        c.polygon([(25, 14), (20, 10), (20, 18)], BLACK)
    return c


DIRS = {"N": (0, -1), "S": (0, 1), "E": (1, 0), "W": (-1, 0),
        "NE": (1, -1), "NW": (-1, -1), "SE": (1, 1), "SW": (-1, 1)}


def move_cursor(name):
    c = Canvas(32, 32, CLEAR)
    c.disc(16, 16, 3.5, BLACK)
    c.disc(16, 16, 2.5, WHITE)
    c.disc(16, 16, 1, BLACK)
    suffix = name[len("LT_MOVE"):]
    heads = {"ALL": ["N", "S", "E", "W"], "EW": ["E", "W"], "NS": ["N", "S"]}.get(suffix, [suffix])
    for h in heads:
        dx, dy = DIRS[h]
        step = 11 if dx == 0 or dy == 0 else 8
        tip = (16 + dx * step, 16 + dy * step)
        outline = Canvas(32, 32, CLEAR)
        for ox in (-1, 0, 1):
            for oy in (-1, 0, 1):
                px, py = -dy, dx
                outline.polygon([(tip[0] + ox + dx * 1.5, tip[1] + oy + dy * 1.5),
                                 (tip[0] + ox - dx * 5 + px * 5, tip[1] + oy - dy * 5 + py * 5),
                                 (tip[0] + ox - dx * 5 - px * 5, tip[1] + oy - dy * 5 - py * 5)], WHITE)
        for y in range(32):
            for x in range(32):
                if outline.get(x, y) != CLEAR and c.get(x, y) == CLEAR:
                    c.set(x, y, WHITE)
        px, py = -dy, dx
        c.polygon([(tip[0] + dx * 0.5, tip[1] + dy * 0.5),
                   (tip[0] - dx * 4.5 + px * 4, tip[1] - dy * 4.5 + py * 4),
                   (tip[0] - dx * 4.5 - px * 4, tip[1] - dy * 4.5 - py * 4)], BLACK)
    return c


def header_split_cursor():
    c = Canvas(32, 32, CLEAR)
    c.rect(14, 6, 17, 25, WHITE)
    c.rect(15, 7, 16, 24, BLACK)
    for dx, x0 in ((-1, 13), (1, 18)):
        c.polygon([(x0 + dx * 9, 16), (x0, 10), (x0, 22)], WHITE)
        c.polygon([(x0 + dx * 7.5, 16), (x0 + dx * 0.5, 11.5), (x0 + dx * 0.5, 20.5)], BLACK)
    return c


def main():
    out = HERE
    os.makedirs(os.path.join(out, "cursors"), exist_ok=True)
    for name, look in LOOKS.items():
        write_png(os.path.join(out, name + ".png"), check_strip(look))
    write_png(os.path.join(out, "LT_UTILITIES.png"), utilities())
    write_png(os.path.join(out, "LT_XPBUTTONPLUS.png"), xp_button(True))
    write_png(os.path.join(out, "LT_XPBUTTONMINUS.png"), xp_button(False))
    write_png(os.path.join(out, "LT_MOVEALL.png"), panning_image(True, True))
    write_png(os.path.join(out, "LT_MOVEEW.png"), panning_image(True, False))
    write_png(os.path.join(out, "LT_MOVENS.png"), panning_image(False, True))
    for suffix in ["ALL", "EW", "NS", "N", "S", "E", "W", "NE", "NW", "SE", "SW"]:
        write_png(os.path.join(out, "cursors", "LT_MOVE" + suffix + ".png"), move_cursor("LT_MOVE" + suffix))
    write_png(os.path.join(out, "cursors", "LT_HEADERSPLIT.png"), header_split_cursor())


if __name__ == "__main__":
    main()
