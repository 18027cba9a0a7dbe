#!/usr/bin/python3
"""Draws the skin of Wavelorn and of its setup program.

Writes every picture and image-list strip of the skin store, the about box logo, the pictures of
setup's window, the IP entry frame's two backgrounds, the program icon, the link page's four
animation clips and resources/skin/manifest.txt, from which the resource scripts are made.

Needs Pillow (Debian: python3-pil) and the DejaVu fonts. The output is deterministic: running
the script twice gives the same bytes. Options:
    --sheet PATH   also render a contact sheet of everything (PNG)
    --mock DIR     also render assembled windows for a visual check (PNG)
"""

import argparse
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
RES = os.path.join(ROOT, "resources")
SKIN = os.path.join(RES, "skin")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

SS = 4  # shapes are drawn this many times larger and averaged down
KEY = (255, 0, 255)  # mask colour of the image-list strips
JPEG_QUALITY = 86

# Palette: dark navy chrome, light cards for content, teal accents.
NAVY0 = (20, 41, 66)
NAVY1 = (9, 21, 36)
STRIP = (25, 51, 80)
STRIP_LINE = (40, 76, 112)
TAB_OFF = (19, 39, 62)
SLOT = (15, 32, 52)
CARD = (240, 244, 249)
CARD_DEEP = (226, 234, 243)
CARD_LINE = (204, 216, 229)
ROW_LINE = (229, 235, 242)
FIELD = (255, 255, 255)
INK = (26, 40, 58)
INK_MUTED = (92, 112, 134)
LIGHT = (236, 243, 249)
LIGHT_MUTED = (147, 172, 197)
TEAL = (24, 168, 154)
TEAL_HI = (50, 212, 194)
TEAL_DK = (13, 116, 107)
BLUE = (52, 124, 206)
GREEN = (44, 182, 110)
AMBER = (234, 164, 46)
RED = (218, 76, 76)
GREY = (150, 162, 176)
DEVICE = (44, 66, 92)
PROGRESS_BG = (21, 43, 68)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------------------------------------
# Fonts and text

_fonts = {}


def font(size, bold=False, cond=False):
    name = "DejaVuSans" + ("Condensed" if cond else "") + ("-Bold" if bold else "") + ".ttf"
    key = (name, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(os.path.join(FONT_DIR, name), size)
    return _fonts[key]


def fit_font(text, maxw, size, bold=False, cond=False, minsize=8):
    """Largest font not above size that fits maxw; tries the condensed face before shrinking."""
    for s in range(size, minsize - 1, -1):
        for c in ([cond] if cond else [False, True]):
            f = font(s, bold, c)
            if f.getlength(text) <= maxw:
                return f
    raise ValueError("text does not fit: %r in %d px" % (text, maxw))


def cap_height(f):
    return -f.getbbox("H", anchor="ls")[1]


def wrap(text, f, maxw):
    lines, cur = [], ""
    for word in text.split():
        trial = (cur + " " + word).strip()
        if f.getlength(trial) <= maxw:
            cur = trial
        else:
            if not cur:
                raise ValueError("word too wide: %r" % word)
            lines.append(cur)
            cur = word
    if cur:
        lines.append(cur)
    return lines


# ---------------------------------------------------------------------------------------------
# Drawing surface: shapes supersampled, text rendered at the final size on top.


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0), base=None, mode="RGB"):
        self.w, self.h = w, h
        self.mode = mode
        if base is not None:
            assert base.size == (w, h), (base.size, w, h)
            self.big = base.convert(mode).resize((w * SS, h * SS), Image.NEAREST)
        else:
            self.big = Image.new(mode, (w * SS, h * SS), fill)
        self.d = ImageDraw.Draw(self.big)
        self.post = []

    # coordinates: logical pixels, boxes as (x0, y0, x1, y1) with x1, y1 exclusive
    def _box(self, box):
        x0, y0, x1, y1 = box
        return (round(x0 * SS), round(y0 * SS), round(x1 * SS) - 1, round(y1 * SS) - 1)

    def _pts(self, pts):
        return [(x * SS, y * SS) for x, y in pts]

    def rect(self, box, fill=None, outline=None, width=1, r=0):
        b = self._box(box)
        if r > 0:
            self.d.rounded_rectangle(b, radius=round(r * SS), fill=fill, outline=outline,
                                     width=round(width * SS))
        else:
            self.d.rectangle(b, fill=fill, outline=outline, width=round(width * SS))

    def grad(self, box, c0, c1, r=0, horizontal=False):
        b = self._box(box)
        w, h = b[2] - b[0] + 1, b[3] - b[1] + 1
        g = gradient(w, h, c0, c1, horizontal)
        if self.mode == "RGBA":
            g = g.convert("RGBA")
        mask = Image.new("L", (w, h), 0)
        if r > 0:
            ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius=round(r * SS),
                                                   fill=255)
        else:
            mask.paste(255, (0, 0, w, h))
        self.big.paste(g, (b[0], b[1]), mask)

    def ellipse(self, box, fill=None, outline=None, width=1):
        self.d.ellipse(self._box(box), fill=fill, outline=outline, width=round(width * SS))

    def circle(self, cx, cy, r, fill=None, outline=None, width=1):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill, outline, width)

    def line(self, pts, fill, width=1, caps=True):
        self.d.line(self._pts(pts), fill=fill, width=max(1, round(width * SS)), joint="curve")
        if caps:
            for x, y in (pts[0], pts[-1]):
                self.circle(x, y, width / 2, fill=fill)

    def polygon(self, pts, fill):
        self.d.polygon(self._pts(pts), fill=fill)

    def arc(self, cx, cy, r, start, end, fill, width=1):
        b = self._box((cx - r, cy - r, cx + r, cy + r))
        self.d.arc(b, start, end, fill=fill, width=max(1, round(width * SS)))

    def shadow(self, box, r, blur=5, alpha=70, offset=(0, 2)):
        """Soft shadow under a rounded box; drawn into the region around it only."""
        m = blur * 3
        x0, y0, x1, y1 = box
        rx0, ry0 = max(0, int(x0 - m)), max(0, int(y0 - m))
        rx1, ry1 = min(self.w, int(math.ceil(x1 + m))), min(self.h, int(math.ceil(y1 + m)))
        reg = (rx0 * SS, ry0 * SS, rx1 * SS, ry1 * SS)
        mask = Image.new("L", (reg[2] - reg[0], reg[3] - reg[1]), 0)
        md = ImageDraw.Draw(mask)
        ox, oy = offset
        md.rounded_rectangle(((x0 - rx0 + ox) * SS, (y0 - ry0 + oy) * SS,
                              (x1 - rx0 + ox) * SS - 1, (y1 - ry0 + oy) * SS - 1),
                             radius=r * SS, fill=alpha)
        mask = mask.filter(ImageFilter.GaussianBlur(blur * SS / 2))
        region = self.big.crop(reg)
        dark = Image.new(self.mode, region.size, (0, 0, 0))
        self.big.paste(Image.composite(dark, region, mask), reg[:2])

    # text, queued and drawn at the final size
    def text(self, xy, s, f, fill, anchor="ls"):
        self.post.append(("text", xy, s, f, fill, anchor))

    def ctext(self, cx, cy, s, f, fill):
        """Centred on (cx, cy) by the capital height, so labels sit level whatever their letters."""
        self.text((cx, round(cy + cap_height(f) / 2)), s, f, fill, "ms")

    def ltext(self, x, cy, s, f, fill):
        self.text((x, round(cy + cap_height(f) / 2)), s, f, fill, "ls")

    def rtext(self, x, cy, s, f, fill):
        self.text((x, round(cy + cap_height(f) / 2)), s, f, fill, "rs")

    def paste(self, img, xy):
        self.post.append(("paste", img, xy))

    def finish(self):
        if self.mode == "RGBA":
            small = self.big.convert("RGBa").reduce(SS).convert("RGBA")
        else:
            small = self.big.reduce(SS)
        d = ImageDraw.Draw(small)
        for op in self.post:
            if op[0] == "text":
                _, xy, s, f, fill, anchor = op
                bb = d.textbbox(xy, s, font=f, anchor=anchor)
                if bb[0] < 0 or bb[1] < 0 or bb[2] > self.w or bb[3] > self.h:
                    raise ValueError("text clipped: %r at %r in %dx%d" % (s, bb, self.w, self.h))
                d.text(xy, s, font=f, fill=fill, anchor=anchor)
            else:
                _, img, xy = op
                small.paste(img, xy, img if img.mode == "RGBA" else None)
        return small


def gradient(w, h, c0, c1, horizontal=False):
    n = w if horizontal else h
    col = Image.new("RGB", (n, 1) if horizontal else (1, n))
    col.putdata([mix(c0, c1, i / max(1, n - 1)) for i in range(n)])
    return col.resize((w, h), Image.NEAREST)


def crop(img, x, y, w, h):
    return img.crop((x, y, x + w, y + h))


def keyed(rgba):
    """Hard-edged picture on the mask colour, as an image list with a mask colour wants it."""
    out = Image.new("RGB", rgba.size, KEY)
    alpha = rgba.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    out.paste(rgba.convert("RGB"), (0, 0), alpha)
    return out


def unkeyed(img):
    """Back from the mask colour to transparency, to place a strip image on a picture."""
    rgba = img.convert("RGBA")
    rgba.putdata([(0, 0, 0, 0) if p[:3] == KEY else p for p in rgba.getdata()])
    return rgba


# ---------------------------------------------------------------------------------------------
# Output and manifest

manifest = []
written = {}

MANIFEST_HEAD = """\
# Generated by scripts/make-skin.py; do not edit.
# name file kind width height
# file: relative to resources/. skin/ holds the skin store (FormRes), skin/about/ the about
# box, skin/frameip/ the IP entry frame, skin/setup/ the pictures of setup.exe.
# kind: jpeg | bitmap (24-bit BMP) | imagelist (one horizontal strip of equal images; width
# and height are one image's; mask colour 0xFF00FF) | icon (16, 32 and 48 pixels) | avi (a
# clip shipped beside the program, not linked in).
"""


def _out(rel):
    path = os.path.join(RES, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def save_jpeg(name, img, sub="skin", size=None):
    assert size is None or img.size == size, (name, img.size, size)
    rel = "%s/%s.jpg" % (sub, name)
    img.convert("RGB").save(_out(rel), "JPEG", quality=JPEG_QUALITY, optimize=False,
                            progressive=False)
    manifest.append((name, rel, "jpeg", img.size[0], img.size[1]))
    written[name] = img


def save_bmp(name, img, sub="skin", size=None):
    assert size is None or img.size == size, (name, img.size, size)
    rel = "%s/%s.bmp" % (sub, name)
    img.convert("RGB").save(_out(rel), "BMP")
    manifest.append((name, rel, "bitmap", img.size[0], img.size[1]))
    written[name] = img


def save_strip(name, images, cell):
    strip = Image.new("RGB", (cell[0] * len(images), cell[1]), KEY)
    for i, im in enumerate(images):
        assert im.size == cell, (name, i, im.size)
        strip.paste(im, (i * cell[0], 0))
    rel = "skin/%s.bmp" % name
    strip.save(_out(rel), "BMP")
    manifest.append((name, rel, "imagelist", cell[0], cell[1]))
    written[name] = strip


# ---------------------------------------------------------------------------------------------
# Shared pieces


def draw_mark(c, x, y, s, tile=True):
    """Our mark: a teal tile with a wave and the point it rises from."""
    if tile:
        c.grad((x, y, x + s, y + s), (56, 216, 198), (20, 120, 166), r=s * 0.26)
    pts = []
    for i in range(49):
        t = i / 48
        pts.append((x + s * (0.18 + 0.64 * t), y + s * (0.63 - 0.13 * math.sin(t * 3 * math.pi))))
    c.line(pts, fill=(255, 255, 255), width=max(1.3, s * 0.1))
    c.circle(x + s * 0.5, y + s * 0.3, max(1.0, s * 0.085), fill=(255, 255, 255))


def draw_waves(c, x0, x1, y, h, color, base):
    """Faint sine lines that decorate title bands; base(x, y) is the colour underneath."""
    for k in range(4):
        steps = int((x1 - x0) / 4)
        pts = []
        for i in range(steps + 1):
            px = x0 + (x1 - x0) * i / steps
            ph = (px - x0) / 150.0 * 2 * math.pi + k * 0.9
            pts.append((px, y + k * h / 4 + 5 * math.sin(ph)))
        for i in range(len(pts) - 1):
            t = i / (len(pts) - 1)
            fade = min(1.0, t * 2.5) * (1 - k * 0.18)
            col = mix(base(*pts[i]), color, 0.16 * fade)
            c.line([pts[i], pts[i + 1]], fill=col, width=1.2, caps=False)


def window_bg(w, h, band, title, subtitle, mark=44):
    c = Canvas(w, h)
    c.grad((0, 0, w, h), NAVY0, NAVY1)
    draw_waves(c, w * 0.42, w - 6, band * 0.3, band * 0.5, TEAL_HI,
               lambda x, y: mix(NAVY0, NAVY1, y / h))
    my = (band - mark) / 2
    draw_mark(c, 18, my, mark)
    big = font(24 if band >= 70 else 20, bold=True)
    c.text((18 + mark + 14, round(band / 2 + 2)), title, big, LIGHT, "ls")
    c.text((18 + mark + 15, round(band / 2 + 18)), subtitle, font(11), LIGHT_MUTED, "ls")
    return c


def strip_and_card(c, strip_h=38, card_bottom=None):
    card_bottom = c.h if card_bottom is None else card_bottom
    c.rect((0, 0, c.w, strip_h), fill=STRIP)
    c.rect((0, strip_h - 1, c.w, strip_h), fill=STRIP_LINE)
    c.rect((0, strip_h, c.w, card_bottom), fill=CARD)


def table_box(c, box, rows, caption_x, captions, caption_w, divider_x=None):
    """White rounded box with one row per label top; captions drawn, values left to the labels."""
    c.rect(box, fill=FIELD, outline=CARD_LINE, r=6)
    for i, top in enumerate(rows):
        if i > 0:
            y = top - 2
            c.rect((box[0] + 6, y, box[2] - 6, y + 1), fill=ROW_LINE)
        f = fit_font(captions[i], caption_w, 11)
        c.ltext(caption_x, top + 6.5, captions[i], f, INK_MUTED)
    if divider_x is not None:
        c.rect((divider_x, box[1] + 6, divider_x + 1, box[3] - 6), fill=ROW_LINE)


def section_title(c, x, y, s):
    c.text((x, y), s, font(11, bold=True), TEAL_DK, "ls")


# ---------------------------------------------------------------------------------------------
# Buttons and tabs

BUTTON_STYLES = {
    # state: (top, bottom, outline, ink)
    "primary": {
        "N": ((40, 192, 176), (20, 150, 138), (16, 128, 118), (255, 255, 255)),
        "H": ((78, 228, 210), (38, 190, 174), (120, 240, 226), (255, 255, 255)),
        "D": ((14, 110, 102), (22, 136, 126), (10, 92, 86), (220, 245, 242)),
    },
    "secondary": {
        "N": ((52, 84, 118), (40, 68, 98), (66, 102, 140), (226, 236, 246)),
        "H": ((72, 114, 156), (56, 94, 132), (112, 156, 200), (255, 255, 255)),
        "D": ((28, 50, 74), (36, 62, 90), (24, 44, 66), (200, 216, 232)),
    },
    "light": {
        "N": ((255, 255, 255), (232, 239, 246), (172, 190, 210), INK),
        "H": ((236, 252, 249), (212, 242, 237), TEAL, TEAL_DK),
        "D": ((206, 218, 230), (224, 232, 240), (150, 170, 192), INK),
    },
    "danger": {
        "N": ((52, 84, 118), (40, 68, 98), (66, 102, 140), (226, 236, 246)),
        "H": ((226, 96, 96), (194, 64, 64), (240, 140, 140), (255, 255, 255)),
        "D": ((150, 44, 44), (176, 56, 56), (130, 36, 36), (255, 226, 226)),
    },
}


def button(surface, label, style, state, r=None, size=None, glyph=None):
    w, h = surface.size
    c = Canvas(w, h, base=surface)
    top, bot, line, ink = BUTTON_STYLES[style][state]
    r = min(6, (h - 2) / 2) if r is None else r
    box = (1, 1, w - 1, h - 1)
    c.grad(box, top, bot, r=r)
    c.rect(box, outline=line, width=1, r=r)
    if state == "D":
        c.rect((1 + r, 2, w - 1 - r, 3), fill=mix(top, (0, 0, 0), 0.25))
    elif state == "H" and style != "light":
        c.rect((1 + r, 2, w - 1 - r, 2.6), fill=mix(top, (255, 255, 255), 0.35))
    off = 1 if state == "D" else 0
    if size is None:
        size = 13 if h >= 28 else (12 if h >= 22 else (11 if h >= 19 else 10))
    gw = 0
    if glyph:
        gw = h * 0.5 + 6
    f = fit_font(label, w - 10 - gw, size, bold=True)
    tw = f.getlength(label)
    cx = w / 2 + off + gw / 2
    if glyph:
        gx = cx - tw / 2 - gw + 1
        glyph(c, gx, h / 2 + off, h * 0.5, ink)
    c.ctext(round(cx), h / 2 + off, label, f, ink)
    return c.finish()


def glyph_download(c, x, cy, s, ink):
    c.line([(x + s / 2, cy - s / 2), (x + s / 2, cy + s * 0.15)], fill=ink, width=s * 0.16)
    c.line([(x + s * 0.18, cy - s * 0.08), (x + s / 2, cy + s * 0.25),
            (x + s * 0.82, cy - s * 0.08)], fill=ink, width=s * 0.16)
    c.line([(x + s * 0.1, cy + s * 0.5), (x + s * 0.9, cy + s * 0.5)], fill=ink, width=s * 0.14)


def tab(surface, label, selected):
    w, h = surface.size
    c = Canvas(w, h, base=surface)
    if selected:
        c.rect((0, 0, w, h + 12), fill=TEAL_HI, r=8)
        c.rect((0, 3, w, h + 12), fill=STRIP, r=6)
        c.rect((0, 8, w, h), fill=STRIP)
        ink, f = LIGHT, fit_font(label, w - 12, 12, bold=True)
    else:
        c.rect((0, 2, w, h + 12), fill=TAB_OFF, r=8)
        c.rect((1, 3, w - 1, h + 12), fill=mix(TAB_OFF, NAVY0, 0.5), r=7)
        c.rect((0, h - 2, w, h), fill=STRIP)
        ink, f = LIGHT_MUTED, fit_font(label, w - 12, 12, bold=True)
    c.ctext(w / 2, h / 2 + 1.5, label, f, ink)
    return c.finish()


def close_button(surface, hover):
    w, h = surface.size
    c = Canvas(w, h, base=surface)
    cx, cy = w / 2, h / 2
    if hover:
        c.circle(cx, cy, 11.5, fill=RED)
        ink = (255, 255, 255)
    else:
        c.circle(cx, cy, 11.5, fill=(33, 62, 94), outline=(52, 90, 128), width=1)
        ink = LIGHT_MUTED
    d = 4.2
    c.line([(cx - d, cy - d), (cx + d, cy + d)], fill=ink, width=2)
    c.line([(cx - d, cy + d), (cx + d, cy - d)], fill=ink, width=2)
    return c.finish()


# ---------------------------------------------------------------------------------------------
# Illustrations


def draw_pc(c, cx, cy, active, s=1.0, body=DEVICE):
    bw, bh = 38 * s, 30 * s
    c.rect((cx - bw, cy - bh, cx + bw, cy + 20 * s), fill=body, r=5 * s)
    scr = (cx - bw + 4 * s, cy - bh + 4 * s, cx + bw - 4 * s, cy + 16 * s)
    if active:
        c.grad(scr, (74, 196, 214), (30, 112, 168), r=2 * s)
        c.line([(scr[0] + 10 * s, cy - 2 * s), (cx - 6 * s, cy - 9 * s), (cx + 6 * s, cy + 3 * s),
                (scr[2] - 10 * s, cy - 4 * s)], fill=(230, 250, 252), width=2.2 * s)
    else:
        c.grad(scr, (184, 196, 208), (150, 164, 178), r=2 * s)
    c.polygon([(cx - 7 * s, cy + 20 * s), (cx + 7 * s, cy + 20 * s), (cx + 11 * s, cy + 30 * s),
               (cx - 11 * s, cy + 30 * s)], fill=body)
    c.rect((cx - 22 * s, cy + 29 * s, cx + 22 * s, cy + 34 * s), fill=body, r=2.5 * s)


def draw_ap(c, cx, cy, active, s=1.0, body=None, under=CARD):
    body = body or (DEVICE if active else (132, 146, 162))
    for dx, lean in ((-15, -5), (15, 5)):
        c.line([(cx + dx * s, cy + 2 * s), (cx + (dx + lean) * s, cy - 24 * s)], fill=body,
               width=3.2 * s)
    c.rect((cx - 27 * s, cy, cx + 27 * s, cy + 22 * s), fill=body, r=6 * s)
    for i in range(3):
        on = active
        col = (GREEN if i == 0 else TEAL_HI) if on else (196, 206, 216)
        c.circle(cx - 12 * s + i * 9 * s, cy + 11 * s, 2.2 * s, fill=col)
    c.rect((cx + 12 * s, cy + 9 * s, cx + 21 * s, cy + 13 * s),
           fill=mix(body, (255, 255, 255), 0.25), r=1.5 * s)
    if active:
        for k, rr in enumerate((9, 15)):
            c.arc(cx, cy - 22 * s, rr * s, 215, 325, fill=mix(TEAL_HI, under, k * 0.35),
                  width=2.2 * s)


def draw_globe(c, cx, cy, r, active):
    fill = BLUE if active else (168, 180, 194)
    line = (150, 200, 244) if active else (204, 214, 224)
    c.circle(cx, cy, r, fill=fill)
    c.ellipse((cx - r * 0.42, cy - r, cx + r * 0.42, cy + r), outline=line, width=1.6)
    c.line([(cx, cy - r), (cx, cy + r)], fill=line, width=1.6, caps=False)
    for dy in (-0.5, 0, 0.5):
        hw = r * math.sqrt(1 - dy * dy)
        c.line([(cx - hw + 1, cy + dy * r), (cx + hw - 1, cy + dy * r)], fill=line, width=1.6,
               caps=False)
    c.circle(cx, cy, r, outline=mix(fill, (0, 0, 0), 0.2), width=1.5)


def draw_unknown(c, cx, cy, r):
    for i in range(16):
        a0 = i * 22.5 + 4
        c.arc(cx, cy, r, a0, a0 + 12, fill=(170, 182, 196), width=2.5)
    c.ctext(cx, cy, "?", font(26, bold=True), (160, 174, 190))


def draw_lock(c, x, y, s, body=AMBER):
    """Padlock with its top-left corner at x, y, s wide."""
    c.arc(x + s / 2, y + s * 0.42, s * 0.3, 180, 360, fill=(70, 80, 92), width=s * 0.16)
    c.line([(x + s * 0.2, y + s * 0.42), (x + s * 0.2, y + s * 0.55)], fill=(70, 80, 92),
           width=s * 0.16, caps=False)
    c.line([(x + s * 0.8, y + s * 0.42), (x + s * 0.8, y + s * 0.55)], fill=(70, 80, 92),
           width=s * 0.16, caps=False)
    c.rect((x, y + s * 0.5, x + s, y + s * 1.1), fill=body, r=s * 0.14)
    c.circle(x + s / 2, y + s * 0.78, s * 0.1, fill=(90, 60, 10))


def draw_key(c, x, y, s, col):
    c.circle(x + s * 0.25, y + s * 0.5, s * 0.22, outline=col, width=s * 0.1)
    c.line([(x + s * 0.45, y + s * 0.5), (x + s * 0.95, y + s * 0.5)], fill=col, width=s * 0.1)
    c.line([(x + s * 0.8, y + s * 0.5), (x + s * 0.8, y + s * 0.68)], fill=col, width=s * 0.1)
    c.line([(x + s * 0.66, y + s * 0.5), (x + s * 0.66, y + s * 0.64)], fill=col, width=s * 0.1)


def draw_shield(c, x, y, s, col):
    pts = [(x + s * 0.5, y), (x + s * 0.92, y + s * 0.16), (x + s * 0.88, y + s * 0.58),
           (x + s * 0.5, y + s), (x + s * 0.12, y + s * 0.58), (x + s * 0.08, y + s * 0.16)]
    c.polygon(pts, fill=col)
    c.line([(x + s * 0.3, y + s * 0.5), (x + s * 0.45, y + s * 0.66), (x + s * 0.72, y + s * 0.34)],
           fill=(255, 255, 255), width=s * 0.09)


def draw_check_circle(c, cx, cy, r, col=GREEN):
    c.circle(cx, cy, r, fill=col)
    c.line([(cx - r * 0.45, cy + r * 0.02), (cx - r * 0.12, cy + r * 0.34),
            (cx + r * 0.48, cy - r * 0.32)], fill=(255, 255, 255), width=r * 0.17)


def draw_radio_icon(c, x, y, s, col):
    cx, cy = x + s / 2, y + s * 0.62
    c.circle(cx, cy, s * 0.08, fill=col)
    for k, rr in enumerate((0.2, 0.34, 0.48)):
        c.arc(cx, cy, s * rr, 225, 315, fill=col, width=s * 0.07)


def draw_usb_adapter(c, cx, top, active, s=1.0):
    body = DEVICE if active else (150, 162, 176)
    c.rect((cx - 5 * s, top, cx + 5 * s, top + 26 * s), fill=body, r=4 * s)
    c.rect((cx - 17 * s, top + 22 * s, cx + 17 * s, top + 104 * s), fill=body, r=8 * s)
    c.rect((cx - 11 * s, top + 103 * s, cx + 11 * s, top + 128 * s), fill=(196, 204, 214), r=2 * s)
    c.rect((cx - 6 * s, top + 112 * s, cx - 2 * s, top + 118 * s), fill=(130, 140, 152))
    c.rect((cx + 2 * s, top + 112 * s, cx + 6 * s, top + 118 * s), fill=(130, 140, 152))
    c.circle(cx, top + 40 * s, 3.2 * s, fill=GREEN if active else (196, 206, 216))
    for i in range(3):
        c.rect((cx - 9 * s, top + (56 + i * 9) * s, cx + 9 * s, top + (58.5 + i * 9) * s),
               fill=mix(body, (255, 255, 255), 0.18), r=1 * s)
    if active:
        for k, rr in enumerate((12, 20, 28)):
            c.arc(cx, top + 2 * s, rr * s, 215, 325, fill=mix(TEAL, CARD, k * 0.3), width=2.6 * s)


def draw_laptop(c, cx, cy, s, screen_active=True):
    c.rect((cx - 70 * s, cy - 52 * s, cx + 70 * s, cy + 34 * s), fill=DEVICE, r=7 * s)
    if screen_active:
        c.grad((cx - 63 * s, cy - 45 * s, cx + 63 * s, cy + 27 * s), (74, 196, 214), (30, 112, 168),
               r=3 * s)
    draw_mark(c, cx - 16 * s, cy - 25 * s, 32 * s)
    c.polygon([(cx - 86 * s, cy + 40 * s), (cx + 86 * s, cy + 40 * s), (cx + 78 * s, cy + 34 * s),
               (cx - 78 * s, cy + 34 * s)], fill=(64, 90, 120))
    c.rect((cx - 86 * s, cy + 40 * s, cx + 86 * s, cy + 46 * s), fill=(52, 76, 104), r=3 * s)


# ---------------------------------------------------------------------------------------------
# Main window and its pages

MAIN_W, MAIN_H = 580, 436
PAGE_X, PAGE_Y, PAGE_W, PAGE_H = 4, 134, 447, 268
TABS = [("ImgTabInfo", "Link Information", 4), ("ImgTabSiteSurvey", "Site Survey", 127),
        ("ImgProfile", "Profile", 250)]


def make_main():
    c = window_bg(MAIN_W, MAIN_H, 96, "Wavelorn", "Wireless Network Monitor")
    # hairline under the tab row, so unselected tabs stand on the page edge
    main = c.finish()
    save_jpeg("ImgMainBG", main, size=(580, 436))
    for name, label, x in TABS:
        surf = crop(main, x, 102, 119, 32)
        save_jpeg(name + "N", tab(surf, label, False))
        save_jpeg(name + "H", tab(surf, label, True))
    surf = crop(main, 544, 8, 27, 27)
    save_bmp("ImgBtnCloseN", close_button(surf, False))
    save_bmp("ImgBtnCloseH", close_button(surf, True))
    return main


def make_adapter(main):
    for name, active in (("ImgAdapterA", True), ("ImgAdapterD", False)):
        w, h = 123, 268
        c = Canvas(w, h, base=crop(main, 453, 134, w, h))
        c.rect((0, -12, w, h), fill=CARD, r=10)
        c.rect((0, 0, w, 38), fill=STRIP)
        c.rect((0, 37, w, 38), fill=STRIP_LINE)
        c.ltext(12, 19, "Adapter", font(12, bold=True), LIGHT)
        cx = w / 2
        c.circle(cx, 118, 50, fill=CARD_DEEP if active else (232, 236, 241))
        draw_usb_adapter(c, cx, 62, active, 0.78)
        dot = GREEN if active else GREY
        status = "Attached" if active else "No adapter"
        f = font(12, bold=True)
        tw = f.getlength(status) + 14
        x0 = cx - tw / 2
        c.circle(x0 + 4, 208, 4, fill=dot)
        c.ltext(x0 + 14, 208, status, f, INK)
        hint = ["Ready to connect"] if active else ["Plug in your", "wireless adapter"]
        for i, line in enumerate(hint):
            c.ctext(cx, 228 + i * 15, line, fit_font(line, w - 14, 11), INK_MUTED)
        save_jpeg(name, c.finish(), size=(123, 268))


def page_base(main):
    """Page background: card on top, command bar below, bottom corners rounded."""
    c = Canvas(PAGE_W, PAGE_H, base=crop(main, PAGE_X, PAGE_Y, PAGE_W, PAGE_H))
    c.rect((0, -20, PAGE_W, PAGE_H), fill=STRIP, r=10)
    c.rect((0, 0, PAGE_W, 218), fill=CARD)
    c.rect((0, 218, PAGE_W, 219), fill=STRIP_LINE)
    img = c.finish()
    save_jpeg("ImgFrameBG", img, size=(447, 268))
    return img


def info_strip_title(c, text):
    c.rtext(434, 19, text, font(12, bold=True), LIGHT_MUTED)


LINK_STATES = {
    # name: (headline, subline, chip text, chip colour)
    "ImgInfoAnimate": ("No wireless link", "Pick a network on the Site Survey page or a profile.",
                       "Idle", GREY),
    "ImgInfoInfra1": ("Access point not reached", "The adapter is looking for the network.",
                      "Not connected", AMBER),
    "ImgInfoInfra2": ("Connected to the access point", "The internet cannot be reached yet.",
                      "No internet", AMBER),
    "ImgInfoInfra3": ("Connected to the internet", "The access point and the internet answer.",
                      "Online", GREEN),
    "ImgInfoAdHoc1": ("Ad hoc network", "Waiting for the other computer to answer.",
                      "Not connected", AMBER),
    "ImgInfoAdHoc2": ("Ad hoc network connected", "Linked directly to the other computer.",
                      "Connected", GREEN),
}


def make_link_pictures():
    for name, (head, sub, chip, chip_col) in LINK_STATES.items():
        c = Canvas(447, 218)
        strip_and_card(c)
        f = font(11, bold=True)
        tw = f.getlength(chip)
        c.rect((434 - tw - 26, 9, 434, 29), fill=mix(STRIP, chip_col, 0.2), r=10)
        c.circle(434 - tw - 15, 19, 3.5, fill=chip_col)
        c.rtext(426, 19, chip, f, LIGHT)
        c.text((18, 66), head, font(14, bold=True), INK)
        c.text((18, 84), sub, font(11), INK_MUTED)
        cap = font(11)
        cy = 146
        if name.startswith("ImgInfoAdHoc"):
            draw_pc(c, 128, cy, True)
            draw_pc(c, 312, cy, name.endswith("2"))
            c.ctext(128, 197, "This computer", cap, INK_MUTED)
            c.ctext(312, 197, "Other computer", cap, INK_MUTED)
        else:
            draw_pc(c, 115, cy, True)
            c.ctext(115, 197, "This computer", cap, INK_MUTED)
            if name == "ImgInfoAnimate":
                draw_unknown(c, 292, cy - 2, 26)
                c.ctext(292, 197, "Network", cap, INK_MUTED)
            else:
                connected = name != "ImgInfoInfra1"
                draw_ap(c, 288, cy + 4, connected)
                c.ctext(288, 197, "Access point", cap, INK_MUTED)
                draw_globe(c, 396, cy, 31, name == "ImgInfoInfra3")
                c.ctext(396, 197, "Internet", cap, INK_MUTED)
        save_jpeg(name, c.finish(), size=(447, 218))


def make_status_panels():
    # status panel: labels at 134 (tops 88..182) and 312 (tops 88..167)
    c = Canvas(447, 218)
    strip_and_card(c)
    info_strip_title(c, "Link Status")
    section_title(c, 16, 74, "Connection")
    section_title(c, 232, 74, "IP Settings")
    left = [88, 103, 119, 135, 151, 167, 182]
    table_box(c, (10, 82, 224, 202), left, 20, ["Status", "SSID", "Mode", "Tx Rate", "Channel",
                                                "Security", "Authentication"], 106, 128)
    right = [88, 103, 119, 135, 151, 167]
    table_box(c, (228, 82, 438, 202), right, 236, ["IP Address", "Subnet Mask", "Gateway", "DNS",
                                                   "DHCP", "BSSID"], 70, 307)
    save_jpeg("ImgPlStatus", c.finish(), size=(447, 218))

    # statistics panel: labels at 162 (tops 87..183) and 318 (tops 87..151); Refresh at 327, 170
    c = Canvas(447, 218)
    strip_and_card(c)
    info_strip_title(c, "Statistics")
    section_title(c, 16, 73, "Traffic")
    section_title(c, 242, 73, "Radio and Time")
    left = [87, 103, 119, 135, 151, 167, 183]
    table_box(c, (10, 81, 232, 203), left, 20, ["Transmit Rate", "Receive Rate", "Packets Received",
                                                "Packets Sent", "Bytes Received", "Bytes Sent",
                                                "Driver Version"], 134, 157)
    right = [87, 103, 119, 135, 151]
    table_box(c, (236, 81, 438, 167), right, 246, ["Noise", "Signal", "Tx Power", "Up Time",
                                                   "Total Time"], 66, 313)
    save_jpeg("ImgPlStatistics", c.finish(), size=(447, 218))


def list_header(c, box, cols):
    """Header row drawn above a list view that has its own headers switched off."""
    x0, y0, x1, y1 = box
    c.rect(box, fill=CARD_DEEP, outline=CARD_LINE, r=4)
    for i, (label, cx0, cx1, align) in enumerate(cols):
        if i > 0:
            c.rect((cx0, y0 + 4, cx0 + 1, y1 - 4), fill=CARD_LINE)
        ff = fit_font(label, cx1 - cx0 - 6, 11, bold=True)
        cy = (y0 + y1) / 2
        if align == "l":
            c.ltext(cx0 + 5, cy, label, ff, INK_MUTED)
        else:
            c.ctext((cx0 + cx1) / 2, cy, label, ff, INK_MUTED)


def list_frame(c, box):
    c.rect(box, fill=FIELD, outline=(186, 201, 217), r=3)


def make_site_client():
    c = Canvas(447, 218)
    strip_and_card(c)
    c.ltext(14, 19, "Available Networks", font(13, bold=True), LIGHT)
    c.rtext(434, 19, "Double-click a network to connect", font(11), LIGHT_MUTED)
    # list view at 37, 95, 178 x 108; columns 92, 25, 40; header pictures at y 72
    list_header(c, (35, 70, 217, 91), [("SSID", 37, 129, "l"), ("CH", 129, 154, "c"),
                                       ("Signal", 154, 199, "c")])
    list_frame(c, (35, 93, 217, 205))
    list_header(c, (224, 70, 434, 91), [("Network Details", 224, 434, "l")])
    table_box(c, (224, 93, 434, 182), [100, 116, 132, 148, 164], 232,
              ["SSID", "Mode", "Channel", "Security", "BSSID"], 74, 307)
    save_jpeg("ImgSiteClient", c.finish(), size=(447, 218))


def make_prof_client():
    c = Canvas(447, 218)
    strip_and_card(c)
    c.ltext(14, 19, "Connection Profiles", font(13, bold=True), LIGHT)
    c.rtext(434, 19, "Select a profile to see its settings", font(11), LIGHT_MUTED)
    # list view at 35, 94, 178 x 111; columns 87, 70; header pictures at y 71
    list_header(c, (33, 69, 215, 90), [("Profile", 35, 122, "l"), ("SSID", 122, 215, "l")])
    list_frame(c, (33, 92, 215, 207))
    list_header(c, (222, 69, 432, 90), [("Profile Details", 222, 432, "l")])
    table_box(c, (222, 92, 432, 182), [100, 116, 132, 148, 164], 230,
              ["Mode", "Tx Rate", "Channel", "Security", "Authentication"], 78, 308)
    save_jpeg("ImgProfClient", c.finish(), size=(447, 218))


def make_info_bottom(main):
    w, h = 447, 50
    c = Canvas(w, h, base=crop(main, PAGE_X, PAGE_Y + 218, w, h))
    c.rect((0, -20, w, h), fill=STRIP, r=10)
    c.rect((0, 0, w, 1), fill=STRIP_LINE)
    f = font(11, bold=True)
    for x, label in ((124, "Signal Strength"), (322, "Link Quality")):
        c.rect((x - 3, 17, x + 86, 37), fill=SLOT, r=5)
        c.rtext(x - 10, 27, label, f, LIGHT_MUTED)
    save_jpeg("ImgInfoBottom", c.finish(), size=(447, 50))


def meter_images():
    out = []
    for level in range(11):
        c = Canvas(83, 14, fill=SLOT)
        for i in range(10):
            x0 = 2 + i * 8
            hh = 4 + i * 1.0
            lit = i < level
            col = mix(AMBER, TEAL_HI, i / 9) if lit else (38, 66, 96)
            c.rect((x0, 12.5 - hh, x0 + 7, 12.5), fill=col, r=1.5)
        out.append(c.finish())
    return out


def make_page_buttons(frame_bg, site_client, status):
    # info page strip buttons (100 x 24 at top 7): same strip on all three panels
    strip = crop(status, 13, 7, 100, 24)
    for name, label, style in (("ImgBtnMore", "More Info", "secondary"),
                               ("ImgBtnBack1", "Back", "secondary"),
                               ("ImgBtnStatus", "Status", "secondary"),
                               ("ImgBtnStatistics", "Statistics", "secondary"),
                               ("ImgBtnToProf", "Save Profile", "primary")):
        save_bmp(name + "N", button(strip, label, style, "N"), size=(100, 24))
        save_bmp(name + "H", button(strip, label, style, "H"), size=(100, 24))
    # Connect and Refresh (76 x 21) sit on the card of several pages
    card = crop(site_client, 237, 188, 76, 21)
    for name, label, style in (("ImgBtnConnect", "Connect", "primary"),
                               ("ImgBtnRefresh", "Refresh", "light")):
        for st in "NHD":
            save_bmp(name + st, button(card, label, style, st), size=(76, 21))
    # profile commands (57 x 20 at top 234 of the command bar)
    bar = crop(frame_bg, 160, 234, 57, 20)
    for name, label, style in (("ImgBtnNew", "New", "secondary"),
                               ("ImgBtnEdit", "Edit", "secondary"),
                               ("ImgBtnImport", "Import", "secondary"),
                               ("ImgBtnExport", "Export", "secondary"),
                               ("ImgBtnDelete", "Delete", "danger")):
        save_bmp(name + "N", button(bar, label, style, "N"), size=(57, 20))
        save_bmp(name + "H", button(bar, label, style, "H"), size=(57, 20))


# ---------------------------------------------------------------------------------------------
# Progress dialog (296 x 85, five steps)


def make_progress():
    for step in range(5):
        w, h = 296, 85
        c = Canvas(w, h)
        c.grad((0, 0, w, h), (26, 52, 82), (14, 30, 50))
        c.rect((0.5, 0.5, w - 0.5, h - 0.5), outline=STRIP_LINE, width=1, r=7.5)
        lit = (74, 110, 148)
        draw_pc(c, 42, 34, True, s=0.5, body=lit)
        draw_ap(c, 254, 36, True, s=0.62, body=lit, under=(22, 44, 70))
        x0, x1, y = 74, 222, 36
        n = 13
        head = x0 + (x1 - x0) * (step + 0.5) / 5
        for i in range(n):
            x = x0 + (x1 - x0) * i / (n - 1)
            passed = x <= head
            c.circle(x, y, 1.8, fill=TEAL if passed else (52, 84, 116))
        c.circle(head, y, 8, fill=mix((22, 44, 70), TEAL_HI, 0.25))
        c.circle(head, y, 5, fill=TEAL_HI)
        c.ctext(w / 2, 69, "Connecting to the network...", font(11, bold=True), LIGHT)
        save_jpeg("ImgProgress%d" % step, c.finish(), size=(296, 85))


# ---------------------------------------------------------------------------------------------
# Logos and icon


def logo(w, h, dark):
    c = Canvas(w, h)
    if dark:
        c.grad((0, 0, w, h), NAVY0, NAVY1)
    else:
        c.grad((0, 0, w, h), (255, 255, 255), (232, 240, 247))
    draw_mark(c, 7, 7, 34)
    name = fit_font("Wavelorn", w - 49 - 5, 19, bold=True)
    c.text((49, 26), "Wavelorn", name, LIGHT if dark else INK, "ls")
    c.text((50, 40), "Wireless Monitor", font(10), LIGHT_MUTED if dark else INK_MUTED, "ls")
    return c.finish()


def icon_image(size):
    c = Canvas(size, size, fill=(0, 0, 0, 0), mode="RGBA")
    m = 0 if size <= 16 else size / 32
    draw_mark(c, m, m, size - 2 * m)
    return c.finish()


def save_ico(name, sizes):
    """Classic icon file: 32-bit DIB entries with an AND mask, readable by every Windows."""
    entries, blobs = [], []
    for s in sizes:
        im = icon_image(s)
        px = im.load()
        xor = bytearray()
        for y in range(s - 1, -1, -1):
            for x in range(s):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        stride = ((s + 31) // 32) * 4
        andm = bytearray()
        for y in range(s - 1, -1, -1):
            row = bytearray(stride)
            for x in range(s):
                if px[x, y][3] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            andm += row
        hdr = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
        blob = hdr + bytes(xor) + bytes(andm)
        blobs.append(blob)
        entries.append((s, blob))
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, blob in entries:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(blobs)
    rel = "skin/%s.ico" % name
    with open(_out(rel), "wb") as fh:
        fh.write(out)
    manifest.append((name, rel, "icon", max(sizes), max(sizes)))
    written[name] = icon_image(max(sizes))


# ---------------------------------------------------------------------------------------------
# Image lists


def tray_icon(kind, bars, bar_col=TEAL_HI, mast_col=TEAL_HI):
    c = Canvas(50, 50, fill=(0, 0, 0, 0), mode="RGBA")
    tile = (96, 106, 118) if kind == "none" else (23, 48, 76)
    edge = (128, 138, 150) if kind == "none" else (44, 86, 124)
    c.rect((2, 2, 48, 48), fill=tile + (255,), r=11)
    c.rect((2, 2, 48, 48), outline=edge + (255,), width=2, r=11)
    mast = (196, 204, 212) if kind == "none" else mast_col
    c.line([(14, 19), (14, 38)], fill=mast + (255,), width=4.5)
    c.circle(14, 15, 5, fill=mast + (255,))
    c.rect((8, 36, 20, 40.5), fill=mast + (255,), r=1.5)
    off = (128, 138, 150) if kind == "none" else (52, 84, 118)
    for i in range(4):
        x0 = 22 + i * 6.2
        hh = 9 + i * 7
        col = bar_col if i < bars else off
        c.rect((x0, 40.5 - hh, x0 + 4.8, 40.5), fill=col + (255,), r=1.2)
    return keyed(c.finish())


def tray_icons():
    icons = [
        tray_icon("none", 0),                                  # 0 no adapter or control off
        tray_icon("attached", 0, mast_col=(170, 184, 200)),    # 1 spare: attached, idle
        tray_icon("attached", 0),                              # 2 attached, control on
        tray_icon("attached", 1, AMBER, AMBER),                # 3 spare: weak, amber
        tray_icon("attached", 2, AMBER, AMBER),                # 4 spare
        tray_icon("attached", 3, AMBER, AMBER),                # 5 spare
        tray_icon("attached", 1, AMBER),                       # 6 no link or signal below 30 %
        tray_icon("attached", 2),                              # 7 below 60 %
        tray_icon("attached", 3),                              # 8 below 90 %
        tray_icon("attached", 4),                              # 9 90 % and up
    ]
    return icons


INFRA_COL = (16, 140, 128)
ADHOC_COL = (46, 108, 192)
WHITE = (255, 255, 255, 255)


def site_icon(kind, secured, variant):
    """A round badge: radio waves for an access point, three linked nodes for an ad hoc network.
    Variant 0 is a faint network, 1 the plain one, 2 a network in use (green dot)."""
    c = Canvas(16, 16, fill=(0, 0, 0, 0), mode="RGBA")
    base = {"infra": INFRA_COL, "adhoc": ADHOC_COL, "unknown": (146, 156, 168)}[kind]
    col = base if variant != 0 else mix(base, (200, 206, 214), 0.55)
    c.circle(7.5, 7.8, 7.3, fill=col + (255,))
    if kind == "infra":
        c.circle(7.5, 11.2, 1.5, fill=WHITE)
        c.arc(7.5, 11.4, 4.3, 230, 310, fill=WHITE, width=1.5)
        c.arc(7.5, 11.4, 7.2, 232, 308, fill=WHITE, width=1.5)
    elif kind == "adhoc":
        nodes = [(4.3, 10.6), (10.7, 10.6), (7.5, 4.6)]
        for i in range(3):
            c.line([nodes[i], nodes[(i + 1) % 3]], fill=WHITE, width=1.1, caps=False)
        for x, y in nodes:
            c.circle(x, y, 1.9, fill=WHITE)
    else:
        c.arc(7.5, 6.2, 2.4, 190, 400, fill=WHITE, width=1.7)
        c.line([(8.8, 8.0), (7.5, 9.4), (7.5, 10.0)], fill=WHITE, width=1.7, caps=False)
        c.circle(7.5, 12.3, 1.1, fill=WHITE)
    if variant == 2:
        c.circle(13, 3, 3, fill=WHITE)
        c.circle(13, 3, 2.1, fill=GREEN + (255,))
    if secured:
        c.rect((8.4, 8.0, 16, 16), fill=WHITE, r=1.8)
        c.arc(12.2, 10.6, 2.0, 180, 360, fill=(70, 78, 90, 255), width=1.3)
        c.line([(10.2, 10.6), (10.2, 11.5)], fill=(70, 78, 90, 255), width=1.3, caps=False)
        c.line([(14.2, 10.6), (14.2, 11.5)], fill=(70, 78, 90, 255), width=1.3, caps=False)
        c.rect((9.3, 11.3, 15.1, 15.2), fill=AMBER + (255,), r=1)
    return keyed(c.finish())


def site_icons():
    out = []
    for kind, secured in (("infra", False), ("infra", True), ("adhoc", False), ("adhoc", True)):
        for variant in range(3):
            out.append(site_icon(kind, secured, variant))
    out.append(site_icon("unknown", False, 1))
    return out


# ---------------------------------------------------------------------------------------------
# Profile wizard and quick connect dialog

WIZ_W, WIZ_H = 580, 436
WIZ_PAGE = (4, 133)
CNT_PAGE = (4, 138)


def caption_band(bg, x, y, w, h, title, sub, icon):
    c = Canvas(w, h, base=crop(bg, x, y, w, h))
    c.grad((0, 0, w, h + 14), (22, 150, 140), (36, 96, 168), r=10, horizontal=True)
    draw_waves(c, w * 0.55, w - 4, h * 0.25, h * 0.6, (255, 255, 255),
               lambda x, y: mix((22, 150, 140), (36, 96, 168), x / w))
    c.circle(32, h / 2, 19, fill=(255, 255, 255))
    icon(c, 32 - 12, h / 2 - 12, 24, TEAL_DK)
    c.text((62, round(h / 2 - 1)), title, font(15, bold=True), (255, 255, 255), "ls")
    c.text((62, round(h / 2 + 15)), sub, font(11), (214, 240, 240), "ls")
    return c.finish()


def icon_wizard(c, x, y, s, col):
    draw_radio_icon(c, x, y - s * 0.08, s, col)


def icon_check(c, x, y, s, col):
    c.line([(x + s * 0.15, y + s * 0.52), (x + s * 0.4, y + s * 0.78),
            (x + s * 0.88, y + s * 0.25)], fill=col, width=s * 0.16)


def icon_lock(c, x, y, s, col):
    draw_lock(c, x + s * 0.18, y + s * 0.02, s * 0.64, body=col)


def icon_shield(c, x, y, s, col):
    draw_shield(c, x + 2, y, s - 4, col)


def icon_key(c, x, y, s, col):
    draw_key(c, x, y, s, col)


def page_canvas(bg, origin, h=219):
    c = Canvas(572, h, base=crop(bg, origin[0], origin[1], 572, h))
    c.rect((0, -20, 572, h), fill=CARD, r=10)
    return c


def page_title(c, text):
    c.text((24, 30), text, font(14, bold=True), INK)


def caption(c, right, top, text, height=21, maxw=None):
    maxw = maxw or right - 12
    c.rtext(right, top + height / 2, text, fit_font(text, maxw, 11), INK)


def tip_panel(c, box, icon, text, title):
    """Tinted note beside the controls: icon, title and wrapped text; as tall as its text."""
    x0, y0, x1, y1 = box
    f = font(11)
    lines = wrap(text, f, x1 - x0 - 28)
    bottom = y0 + 50 + (len(lines) - 1) * 16 + 14
    assert bottom <= y1, ("tip overflows", text)
    c.rect((x0, y0, x1, bottom), fill=CARD_DEEP, r=8)
    c.circle(x0 + 24, y0 + 24, 15, fill=FIELD)
    icon(c, x0 + 24 - 10, y0 + 24 - 10, 20, TEAL_DK)
    c.text((x0 + 48, y0 + 28), title, font(12, bold=True), INK, "ls")
    for i, line in enumerate(lines):
        c.text((x0 + 14, y0 + 50 + i * 16), line, f, INK_MUTED, "ls")


def hint(c, x, y, text):
    c.text((x, y), text, font(10), INK_MUTED, "ls")


TIPS = {
    "nettype": "Infrastructure: join an access point. Ad hoc: computers talk to each other "
               "directly, and the network needs a name (SSID).",
    "channel": "All computers of an ad hoc network use one channel. Mixed Mode also serves "
               "older 802.11b devices; G-Only is faster.",
    "secI": "Choose the security the access point uses. WPA-PSK suits home networks; WPA and "
            "RADIUS log in with a certificate or a user name.",
    "secA": "An ad hoc network is open or uses WEP. Every computer of the network needs the "
            "same key.",
    "wep": "A key has 10 hexadecimal digits (64-bit) or 26 (128-bit), 0-9 and A-F. A "
           "passphrase makes the four keys for you.",
    "psk": "The passphrase has 8 to 63 characters and must match the access point's. TKIP and "
           "AES are the two ciphers.",
    "tls": "TLS logs in with a client certificate installed on this computer. The domain may "
           "stay empty.",
    "peap": "PEAP logs in with your user name and password inside a protected tunnel. Choose the "
            "authority of the server's certificate, or Trust Any.",
    "ttls": "TTLS logs in with your user name and password inside a protected tunnel. Choose the "
            "authority of the server's certificate, or Trust Any.",
    "confirm": "Check the settings. Press Back to change them, or Save to store the profile.",
}


def make_wizard():
    c = window_bg(WIZ_W, WIZ_H, 76, "Wavelorn", "Profile Wizard", mark=40)
    bg = c.finish()
    save_jpeg("ImgProfSetBG", bg, size=(580, 436))

    # finish page background
    c = Canvas(WIZ_W, WIZ_H, base=bg)
    c.shadow((4, 77, 576, 352), 10, blur=6, alpha=90)
    c.rect((4, 77, 576, 352), fill=CARD, r=10)
    c.circle(150, 206, 58, fill=(218, 242, 230))
    draw_check_circle(c, 150, 206, 42)
    c.text((236, 180), "Profile saved", font(22, bold=True), INK, "ls")
    f = font(12)
    for i, line in enumerate(["The connection profile has been stored.",
                              "Connect now to join the network with it."]):
        c.text((237, 208 + i * 20), line, f, INK_MUTED, "ls")
    save_jpeg("ImgProfCongrats", c.finish(), size=(580, 436))

    save_jpeg("ImgProfCaption1", caption_band(bg, 4, 77, 572, 54, "Wireless Profile Setup",
                                              "Describe the network this profile connects to.",
                                              icon_wizard), size=(572, 54))
    save_jpeg("ImgProfCaption2", caption_band(bg, 4, 77, 572, 54, "Review and Save",
                                              "Check the new profile, then store it with Save.",
                                              icon_check), size=(572, 54))
    make_wizard_pages(bg)

    # bottom strip buttons: placed edge to edge from x 575 leftwards at top 368
    surf20 = crop(bg, 518, 368, 57, 20)
    for name, label, style in (("ImgBtnExit", "Exit", "secondary"),
                               ("ImgBtnBack2", "Back", "secondary"),
                               ("ImgBtnNext", "Next", "primary"),
                               ("ImgBtnSave", "Save", "primary")):
        save_bmp(name + "N", button(surf20, label, style, "N"), size=(57, 20))
        save_bmp(name + "H", button(surf20, label, style, "H"), size=(57, 20))
    surf = crop(bg, 471, 368, 104, 20)
    save_bmp("ImgBtnManualN", button(surf, "Manual Setup", "primary", "N"), size=(104, 20))
    save_bmp("ImgBtnManualH", button(surf, "Manual Setup", "primary", "H"), size=(104, 20))
    surf = crop(bg, 482, 368, 93, 28)
    for name, label, style in (("ImgBtnConnectNet", "Connect", "primary"),
                               ("ImgBtnToProfScr", "To Profiles", "secondary")):
        save_bmp(name + "N", button(surf, label, style, "N"), size=(93, 28))
        save_bmp(name + "H", button(surf, label, style, "H"), size=(93, 28))
    surf = crop(bg, 426, 368, 149, 20)
    save_bmp("ImgBtnExitSetupN", button(surf, "Exit Setup", "secondary", "N"), size=(149, 20))
    save_bmp("ImgBtnExitSetupH", button(surf, "Exit Setup", "secondary", "H"), size=(149, 20))
    return bg


# where the network list page puts its list and buttons; the page's layout table matches
WL_LIST = (20, 64, 416, 120)
WL_COLS = [("SSID", 85), ("CH", 30), ("Signal", 43), ("Security", 122), ("MAC Address", 112)]
WL_BUTTONS = {"BtnRefresh": (460, 64), "BtnConnect": (460, 92)}


def make_wizard_pages(bg):
    icons = site_icons()

    # network list
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "Choose a wireless network")
    lx, ly, lw, lh = WL_LIST
    cols, x = [], lx
    for i, (label, wdt) in enumerate(WL_COLS):
        cols.append((label, x, x + wdt, "l" if i == 0 else "c"))
        x += wdt
    list_header(c, (lx - 1, ly - 21, lx + lw + 1, ly - 2), cols)
    list_frame(c, (lx - 1, ly - 1, lx + lw + 1, ly + lh + 1))
    hint(c, lx, 205, "Select a network and press Connect, or Manual Setup to enter its "
                     "settings yourself.")
    legend = [(1, "Access point"), (7, "Ad hoc"), (4, "Secured"), (10, "Secured ad hoc")]
    lgx, lgy = 450, 128
    c.rect((lgx, lgy, 556, lgy + 78), fill=CARD_DEEP, r=6)
    for i, (idx, text) in enumerate(legend):
        yy = lgy + 8 + i * 17
        c.paste(unkeyed(icons[idx]), (lgx + 7, yy))
        c.ltext(lgx + 28, yy + 8, text, fit_font(text, 556 - lgx - 32, 10), INK_MUTED)
    save_jpeg("ImgProfWlNetwork", c.finish(), size=(572, 219))

    # IP settings: radio buttons at 46, 48 and 46, 88; address frames at 124 and 326
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "IP address settings")
    hint(c, 64, 76, "The network's DHCP server hands out the address.")
    c.rect((30, 114, 452, 212), fill=CARD_DEEP, r=8)
    for text, top in (("IP Address", 127), ("Subnet Mask", 156), ("Gateway", 185)):
        caption(c, 116, top, text, height=17)
    for text, top in (("DNS Server 1", 127), ("DNS Server 2", 156)):
        caption(c, 318, top, text, height=17, maxw=74)
    c.circle(508, 112, 36, fill=CARD_DEEP)
    draw_globe(c, 508, 112, 22, True)
    save_jpeg("ImgProfNetwork", c.finish(), size=(572, 219))

    # network type: radio buttons at 46, 71 and 46, 106; SSID edit at 89, 158
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "Network type and name")
    hint(c, 64, 99, "Connect through an access point")
    hint(c, 64, 134, "Connect computers directly to each other")
    caption(c, 81, 158, "SSID", height=22)
    hint(c, 89, 194, "The name of the network, up to 32 characters")
    tip_panel(c, (300, 58, 548, 200), icon_wizard, TIPS["nettype"], "Network type")
    save_jpeg("ImgProfNetType", c.finish(), size=(572, 219))

    # channel: channel list at 116, 49 and mode list at 120, 104
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "Channel and wireless mode")
    caption(c, 108, 49, "Channel")
    caption(c, 112, 104, "Wireless Mode")
    hint(c, 116, 82, "Channels this adapter allows")
    hint(c, 120, 137, "802.11b and g, or g only")
    tip_panel(c, (300, 44, 548, 200), icon_wizard, TIPS["channel"], "Ad hoc channel")
    save_jpeg("ImgProfChannel", c.finish(), size=(572, 219))

    # security type: list at 119, 49
    for name, key, title in (("ImgProfSecurityI", "secI", "Security of the network"),
                             ("ImgProfSecurityA", "secA", "Security of the ad hoc network")):
        c = page_canvas(bg, WIZ_PAGE)
        page_title(c, title)
        caption(c, 111, 49, "Security")
        hint(c, 119, 82, "Disabled leaves the network open")
        tip_panel(c, (300, 44, 548, 200), icon_shield,
                  TIPS[key], "Security type")
        save_jpeg(name, c.finish(), size=(572, 219))

    # WEP: key size 49, passphrase 80, key 111, transmit key 162, authentication 186
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "WEP key")
    for text, top in (("Key Size", 49), ("Passphrase", 80), ("WEP Key", 111),
                      ("Transmit Key", 162), ("Authentication", 186)):
        caption(c, 111, top, text)
    hint(c, 119, 145, "10 or 26 hexadecimal digits")
    tip_panel(c, (300, 44, 548, 200), icon_key,
              TIPS["wep"], "WEP security")
    save_jpeg("ImgProfWEP", c.finish(), size=(572, 219))

    # WPA-PSK: cipher 49, passphrase 96
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "WPA pre-shared key")
    caption(c, 111, 49, "Encryption")
    caption(c, 111, 96, "Passphrase")
    hint(c, 119, 130, "8 to 63 characters")
    tip_panel(c, (300, 44, 548, 200), icon_key,
              TIPS["psk"], "WPA-PSK security")
    save_jpeg("ImgProfWPAPSK", c.finish(), size=(572, 219))

    # 802.1X pages; tops as the pages place their controls for each EAP type
    eap = {
        "ImgProfWPATLS": ("WPA with a TLS certificate", "tls",
                          [("EAP Type", 49), ("Login Name", 82), ("Domain", 113),
                           ("Certificate", 145), ("Encryption", 177)]),
        "ImgProfWPAPEAP": ("WPA with a PEAP login", "peap",
                           [("EAP Type", 49), ("Login Name", 72), ("Password", 95), ("Domain", 118),
                            ("CA Certificate", 141), ("Inner EAP", 163), ("Encryption", 186)]),
        "ImgProfWPATTLS": ("WPA with a TTLS login", "ttls",
                           [("EAP Type", 49), ("Login Name", 72), ("Password", 95), ("Domain", 118),
                            ("CA Certificate", 141), ("Inner EAP", 163), ("Encryption", 186)]),
        "ImgProfRadiusTLS": ("802.1X with a TLS certificate", "tls",
                             [("EAP Type", 49), ("Login Name", 81), ("Domain", 113),
                              ("Certificate", 145)]),
        "ImgProfRadiusPEAP": ("802.1X with a PEAP login", "peap",
                              [("EAP Type", 49), ("Login Name", 76), ("Password", 103),
                               ("Domain", 130), ("CA Certificate", 158), ("Inner EAP", 185)]),
        "ImgProfRadiusTTLS": ("802.1X with a TTLS login", "ttls",
                              [("EAP Type", 49), ("Login Name", 76), ("Password", 103),
                               ("Domain", 130), ("CA Certificate", 158), ("Inner EAP", 185)]),
    }
    for name, (title, tip, rows) in eap.items():
        c = page_canvas(bg, WIZ_PAGE)
        page_title(c, title)
        for text, top in rows:
            caption(c, 111, top, text)
        tip_panel(c, (300, 44, 548, 200), icon_shield,
                  TIPS[tip], "802.1X login")
        save_jpeg(name, c.finish(), size=(572, 219))

    # summary: ten labels at x 179, 85 wide
    c = page_canvas(bg, WIZ_PAGE)
    page_title(c, "Profile summary")
    tops = [46, 60, 75, 91, 106, 121, 136, 151, 166, 181]
    names = ["SSID", "Network Type", "Channel", "Wireless Mode", "Security", "Authentication",
             "IP Address", "Subnet Mask", "Gateway", "DNS Server"]
    c.rect((28, 42, 280, 199), fill=FIELD, outline=CARD_LINE, r=6)
    for i, top in enumerate(tops):
        nxt = tops[i + 1] if i + 1 < len(tops) else 196
        if i % 2 == 1:
            c.rect((29, top - 1.5, 279, nxt - 1.5), fill=(243, 247, 251))
        caption(c, 171, top, names[i], height=13, maxw=134)
    c.rect((174, 45, 175, 196), fill=ROW_LINE)
    tip_panel(c, (300, 44, 548, 200), icon_check, TIPS["confirm"], "Almost done")
    save_jpeg("ImgProfConfirm", c.finish(), size=(572, 219))


def make_quick_connect():
    c = window_bg(580, 409, 76, "Wavelorn", "Connect to a secured network", mark=40)
    bg = c.finish()
    save_jpeg("ImgCntSetBG", bg, size=(580, 409))
    save_jpeg("ImgCntCaptionWEP", caption_band(bg, 4, 78, 572, 59, "WEP-Secured Network",
                                               "Type the key of the network to connect to it.",
                                               icon_lock), size=(572, 59))
    save_jpeg("ImgCntCaptionPSK", caption_band(bg, 4, 78, 572, 59, "WPA-PSK Secured Network",
                                               "Type the passphrase of the network to connect.",
                                               icon_lock), size=(572, 59))
    # the dialog's security list lies at 115, 203, that is 111, 65 on the frame
    c = page_canvas(bg, CNT_PAGE)
    page_title(c, "Network key")
    for text, top in (("Security", 65), ("Key Size", 96), ("Passphrase", 129), ("WEP Key", 161)):
        caption(c, 104, top, text)
    hint(c, 111, 197, "10 or 26 hexadecimal digits (0-9, A-F)")
    tip_panel(c, (300, 44, 548, 200), icon_key,
              "The key must match the network's key. A passphrase makes the key for you when the "
              "network was set up with one.", "WEP key")
    save_jpeg("ImgCntWEP", c.finish(), size=(572, 219))
    c = page_canvas(bg, CNT_PAGE)
    page_title(c, "Network passphrase")
    for text, top in (("Security", 65), ("Encryption", 106), ("Passphrase", 147)):
        caption(c, 104, top, text)
    hint(c, 111, 182, "8 to 63 characters")
    tip_panel(c, (300, 44, 548, 200), icon_key,
              "Type the passphrase of the network. It is case-sensitive and has 8 to 63 "
              "characters.", "WPA-PSK passphrase")
    save_jpeg("ImgCntPSK", c.finish(), size=(572, 219))
    surf = crop(bg, 504, 366, 71, 33)
    save_bmp("ImgBtnConnect2N", button(surf, "Connect", "primary", "N"), size=(71, 33))
    save_bmp("ImgBtnConnect2H", button(surf, "Connect", "primary", "H"), size=(71, 33))
    surf = crop(bg, 440, 366, 63, 33)
    save_bmp("ImgBtnCancelN", button(surf, "Cancel", "secondary", "N"), size=(63, 33))
    save_bmp("ImgBtnCancelH", button(surf, "Cancel", "secondary", "H"), size=(63, 33))
    return bg


# ---------------------------------------------------------------------------------------------
# IP entry frame backgrounds (112 x 17; edits at 4, 32, 60, 88, 22 wide, top 2)


def make_frame_ip():
    for name, on in (("ImgIPBG", True), ("ImgIPDisableBG", False)):
        fill = (255, 255, 255) if on else (192, 192, 192)
        c = Canvas(112, 17, fill=CARD_DEEP)
        c.rect((0, 0, 112, 17), fill=fill, outline=(150, 170, 192) if on else (160, 166, 172), r=3)
        dot = INK if on else (110, 116, 124)
        for x in (29.5, 57.5, 85.5):
            c.circle(x, 12, 1.15, fill=dot)
        save_bmp(name, c.finish(), sub="skin/frameip", size=(112, 17))


# ---------------------------------------------------------------------------------------------
# setup's window


def make_setup():
    def setup_bg():
        return window_bg(580, 436, 60, "Wavelorn Setup",
                         "Wireless network monitor and adapter driver", mark=36)

    c = setup_bg()
    c.shadow((14, 72, 566, 362), 12, blur=6, alpha=90)
    c.rect((14, 72, 566, 362), fill=CARD, r=12)
    c.text((40, 112), "Welcome", font(24, bold=True), INK, "ls")
    f = font(12)
    for i, line in enumerate(["This wizard installs the Wavelorn wireless network monitor",
                              "and the driver of your wireless adapter.",
                              "",
                              "Keep the adapter unplugged for now: Setup tells you when",
                              "to plug it in."]):
        if line:
            c.text((41, 140 + i * 19), line, f, INK_MUTED, "ls")
    c.circle(190, 292, 64, fill=CARD_DEEP)
    draw_laptop(c, 168, 290, 0.62)
    draw_usb_adapter(c, 250, 246, True, 0.42)
    c.text((336, 236), "Press Install to begin.", font(12), INK_MUTED, "ls")
    welcome = c.finish()
    save_jpeg("ImgBgWelcome", welcome, sub="skin/setup", size=(580, 436))

    c = setup_bg()
    c.rect((14, 72, 566, 362), fill=CARD, r=12)
    step = c.finish()
    save_jpeg("ImgBgStep", step, sub="skin/setup", size=(580, 436))

    # licence page (580 x 307 at 0, 60), rich edit at 52, 124, 472 x 135
    c = Canvas(580, 307, base=crop(step, 0, 60, 580, 307))
    c.rect((14, 12, 566, 302), fill=CARD, r=12)
    c.text((40, 52), "License Agreement", font(20, bold=True), INK, "ls")
    for i, line in enumerate(["Please read the agreement below. Press Next to accept it and",
                              "install, or Cancel to go back."]):
        c.text((41, 80 + i * 19), line, font(12), INK_MUTED, "ls")
    c.rect((48, 120, 528, 263), fill=FIELD, outline=(186, 201, 217), r=4)
    hint(c, 49, 284, "By pressing Next you accept the terms of this agreement.")
    save_jpeg("ImgLicensePage", c.finish(), sub="skin/setup", size=(580, 307))

    # plug page
    c = Canvas(580, 307, base=crop(step, 0, 60, 580, 307))
    c.rect((14, 12, 566, 302), fill=CARD, r=12)
    draw_check_circle(c, 56, 45, 14)
    c.text((80, 52), "Installation complete", font(20, bold=True), INK, "ls")
    for i, line in enumerate(["Plug your wireless adapter into a free USB port now.",
                              "Windows sets up the new hardware, and Wavelorn starts",
                              "by itself and shows its icon in the notification area.",
                              "",
                              "Press Next to finish Setup."]):
        if line:
            c.text((41, 96 + i * 20), line, font(12), INK_MUTED, "ls")
    c.circle(440, 170, 92, fill=CARD_DEEP)
    draw_laptop(c, 420, 190, 0.7)
    draw_usb_adapter(c, 512, 112, True, 0.5)
    c.line([(540, 196), (540, 222)], fill=TEAL, width=3)
    c.polygon([(533, 214), (547, 214), (540, 226)], fill=TEAL)
    save_jpeg("ImgPlugPage", c.finish(), sub="skin/setup", size=(580, 307))

    # buttons of the window
    surf = crop(welcome, 336, 246, 163, 40)
    for st, tag in (("N", "Normal"), ("H", "Highlight")):
        save_bmp("ImgBtnInstall" + tag, button(surf, "Install", "primary", st, r=8, size=16,
                                               glyph=glyph_download), sub="skin/setup",
                 size=(163, 40))
    # each cut where the window shows it: welcome page User Guide and Exit, later Cancel and Next
    for name, label, style, src, x, w in (
            ("UserGuide", "User Guide", "secondary", welcome, 302, 78),
            ("Exit", "Exit", "secondary", welcome, 380, 42),
            ("Cancel", "Cancel", "secondary", step, 451, 66),
            ("Next", "Next", "primary", step, 517, 57)):
        surf = crop(src, x, 380, w, 17)
        for st, tag in (("N", "Normal"), ("H", "Highlight")):
            save_bmp("ImgBtn" + name + tag, button(surf, label, style, st), sub="skin/setup",
                     size=(w, 17))

    # wait window (280 x 80): spinner frames at 22, 17 and a meter at 97, 46
    c = Canvas(280, 80, fill=PROGRESS_BG)
    c.rect((0, 0, 280, 80), outline=STRIP_LINE, width=1)
    c.text((97, 32), "Installing, please wait...", font(12, bold=True), LIGHT, "ls")
    c.rect((97, 46, 237, 68), fill=SLOT, outline=STRIP_LINE, r=5)
    save_jpeg("ImgSetupProgressBG", c.finish(), sub="skin/setup", size=(280, 80))
    c = Canvas(140, 22, fill=PROGRESS_BG)
    c.rect((0, 0, 140, 22), fill=SLOT, outline=STRIP_LINE, r=5)
    for i in range(10):
        c.grad((i * 14 + 2.5, 3.5, i * 14 + 13, 18.5), TEAL_HI, TEAL, r=2)
    save_bmp("ImgSetupMeter", c.finish(), sub="skin/setup", size=(140, 22))
    for k in range(10):
        c = Canvas(47, 47, fill=PROGRESS_BG)
        for j in range(10):
            a = -math.pi / 2 + j * 2 * math.pi / 10
            age = (k - j) % 10
            t = max(0.0, 1 - age * 0.22)
            col = mix((44, 74, 106), TEAL_HI, t)
            c.circle(23.5 + 16 * math.cos(a), 23.5 + 16 * math.sin(a), 2.4 + 1.3 * t, fill=col)
        save_bmp("ImgSG%02d" % (k + 1), c.finish(), sub="skin/setup", size=(47, 47))


# ---------------------------------------------------------------------------------------------
# Animation clips: uncompressed 8-bit AVI, one video stream, no sound


def write_avi(name, frames, fps=8):
    w, h = frames[0].size
    # one palette for all frames, taken from the frames side by side
    sheet = Image.new("RGB", (w * len(frames), h))
    for i, f in enumerate(frames):
        sheet.paste(f, (i * w, 0))
    pal_img = sheet.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = pal_img.getpalette()[:768]
    pal += [0] * (768 - len(pal))
    stride = (w + 3) & ~3
    datas = []
    for f in frames:
        q = f.quantize(palette=pal_img, dither=Image.Dither.NONE)
        raw = q.tobytes()
        rows = []
        for y in range(h - 1, -1, -1):
            row = raw[y * w:(y + 1) * w]
            rows.append(row + b"\0" * (stride - w))
        datas.append(b"".join(rows))
    size_image = stride * h

    def chunk(fourcc, data):
        out = fourcc + struct.pack("<I", len(data)) + data
        return out + (b"\0" if len(data) % 2 else b"")

    def lst(kind, data):
        return b"LIST" + struct.pack("<I", len(data) + 4) + kind + data

    usec = int(1000000 / fps)
    avih = struct.pack("<IIIIIIIIII4I", usec, size_image * fps, 0, 0x10, len(frames), 0, 1,
                       size_image, w, h, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, fps, 0, len(frames),
                                           size_image, 0xFFFFFFFF, 0, 0, 0, w, h)
    palette = b"".join(bytes((pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0)) for i in range(256))
    strf = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, size_image, 0, 0, 256, 0) + palette
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) +
                                                    chunk(b"strf", strf)))
    movi_data, index, offset = b"", b"", 4
    for d in datas:
        ck = chunk(b"00db", d)
        index += b"00db" + struct.pack("<III", 0x10, offset, len(d))
        offset += len(ck)
        movi_data += ck
    body = b"AVI " + hdrl + lst(b"movi", movi_data) + chunk(b"idx1", index)
    data = b"RIFF" + struct.pack("<I", len(body)) + body
    with open(_out(name), "wb") as fh:
        fh.write(data)
    manifest.append((os.path.splitext(name)[0], name, "avi", w, h))
    written["clip:" + name] = frames


def clip_frames(w, h, n, draw):
    out = []
    for k in range(n):
        c = Canvas(w, h, fill=CARD)
        draw(c, k % (n - 1))  # the last frame repeats the first
        out.append(c.finish())
    return out


def draw_radio_up(c, k):
    # waves travel from the computer on the left to the network on the right
    for i in range(10):
        c.circle(4 + i * 6.7, 32.5, 1.3, fill=(186, 218, 216))
    for j in range(3):
        pos = ((k + j * 2) % 6) / 6
        t = math.sin(pos * math.pi)
        x = 14 + pos * 44
        col = mix(CARD, TEAL, 0.2 + 0.8 * t)
        for r, w in ((8, 2.6), (14, 2.2)):
            c.arc(x - r, 32.5, r, 318, 402, fill=col, width=w)
    c.circle(5, 32.5, 3, fill=TEAL)
    c.circle(63, 32.5, 3, fill=TEAL)


def draw_radio_down(c, k):
    grey = (176, 188, 200)
    c.line([(4, 34), (24, 34)], fill=grey, width=2.4)
    c.line([(44, 34), (64, 34)], fill=grey, width=2.4)
    c.line([(24, 34), (28, 28)], fill=grey, width=2.4)
    c.line([(44, 34), (40, 40)], fill=grey, width=2.4)
    t = 0.5 + 0.5 * math.cos(k / 6 * 2 * math.pi)
    r = 10 + 2.5 * t
    c.circle(34, 34, r + 3, fill=mix(CARD, RED, 0.12 + 0.12 * t))
    c.circle(34, 34, r, fill=mix(mix(CARD, RED, 0.55), RED, t))
    d = 4.2
    c.line([(34 - d, 34 - d), (34 + d, 34 + d)], fill=(255, 255, 255), width=2.6)
    c.line([(34 - d, 34 + d), (34 + d, 34 - d)], fill=(255, 255, 255), width=2.6)


def draw_net_up(c, k):
    for i in range(3):
        pos = ((k + i * 2) % 6) / 6
        x = 3 + pos * 26
        t = math.sin(pos * math.pi)
        c.circle(x, 16, 1.5 + 2 * t, fill=mix(CARD, GREEN, 0.3 + 0.7 * t))


def draw_net_down(c, k):
    t = 0.5 + 0.5 * math.cos(k / 6 * 2 * math.pi)
    c.circle(16, 16, 8 + 2 * t, fill=mix(mix(CARD, AMBER, 0.5), AMBER, t))
    c.rect((14.8, 9.5, 17.2, 17.5), fill=(255, 255, 255), r=1)
    c.circle(16, 21, 1.5, fill=(255, 255, 255))


def make_clips():
    write_avi("radio.m", clip_frames(68, 65, 7, draw_radio_up))
    write_avi("broken.m", clip_frames(68, 68, 7, draw_radio_down))
    write_avi("radioi.m", clip_frames(32, 32, 7, draw_net_up))
    write_avi("brokeni.m", clip_frames(32, 32, 7, draw_net_down))


# ---------------------------------------------------------------------------------------------
# Contact sheet and assembled windows (for looking at, not shipped)


def contact_sheet(path):
    items = [(n, im) for n, im in written.items() if not n.startswith("clip:")]
    clips = [(n[5:], fr) for n, fr in written.items() if n.startswith("clip:")]
    width, pad = 1800, 14
    f = font(11)
    placed, x, y, row_h = [], pad, pad, 0
    for name, im in items:
        scale = 2 if im.size[0] * im.size[1] < 6000 or im.size[1] <= 17 else 1
        if name in ("imgListTrayIcon", "ImageListSiteIcon", "imgListMeter"):
            scale = 2
        w, h = im.size[0] * scale, im.size[1] * scale + 16
        if x + w > width - pad:
            x, y, row_h = pad, y + row_h + pad, 0
        placed.append((name, im, scale, x, y))
        x += max(w, int(f.getlength(name))) + pad
        row_h = max(row_h, h)
    y += row_h + pad
    clip_y = y
    y += 160 * 2 + 40
    sheet = Image.new("RGB", (width, y), (128, 132, 138))
    d = ImageDraw.Draw(sheet)
    for name, im, scale, x, yy in placed:
        d.text((x, yy), name, font=f, fill=(255, 255, 255))
        img = im.convert("RGB")
        if scale != 1:
            img = img.resize((im.size[0] * scale, im.size[1] * scale), Image.NEAREST)
        sheet.paste(img, (x, yy + 15))
    x, yy = pad, clip_y
    for name, frames in clips:
        wide = len(frames) * (frames[0].size[0] * 2 + 4) + 30
        if x + wide > width:
            x, yy = pad, yy + 160
        d.text((x, yy), name, font=f, fill=(255, 255, 255))
        for i, fr in enumerate(frames):
            sheet.paste(fr.resize((fr.size[0] * 2, fr.size[1] * 2), Image.NEAREST),
                        (x + i * (fr.size[0] * 2 + 4), yy + 15))
        x += wide
    sheet.save(path)


def rounded_window(img, r):
    mask = Image.new("L", (img.size[0] * SS, img.size[1] * SS), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, mask.size[0] - 1, mask.size[1] - 1),
                                           radius=r * SS, fill=255)
    mask = mask.reduce(SS)
    out = Image.new("RGB", img.size, (200, 204, 210))
    out.paste(img, (0, 0), mask)
    return out


def put(dst, name, xy, state_img=None):
    im = written[name] if state_img is None else state_img
    dst.paste(im.convert("RGB"), xy)


def strip_cell(name, i, cell):
    strip = written[name]
    return strip.crop((i * cell[0], 0, (i + 1) * cell[0], cell[1]))


def control(dst, box, text=""):
    d = ImageDraw.Draw(dst)
    x, y, w, h = box
    d.rectangle((x, y, x + w - 1, y + h - 1), fill=(255, 255, 255), outline=(122, 138, 156))
    if text:
        d.text((x + 4, y + h / 2), text, font=font(11), fill=(0, 0, 0), anchor="lm")


def label(dst, x, y, text):
    ImageDraw.Draw(dst).text((x, y + 1), text, font=font(11), fill=(0, 0, 0), anchor="la")


def mockups(outdir):
    os.makedirs(outdir, exist_ok=True)
    clips = {n[5:]: fr for n, fr in written.items() if n.startswith("clip:")}

    def main_window(page):
        m = written["ImgMainBG"].copy()
        for i, (name, _, x) in enumerate(TABS):
            sel = i == {"info": 0, "status": 0, "stats": 0, "site": 1, "prof": 2}[page]
            put(m, name + ("H" if sel else "N"), (x, 102))
        put(m, "ImgBtnCloseN", (544, 8))
        put(m, "ImgFrameBG", (PAGE_X, PAGE_Y))
        put(m, "ImgAdapterA", (453, 134))
        px, py = PAGE_X, PAGE_Y
        if page == "info":
            put(m, "ImgInfoInfra3", (px, py))
            m.paste(clips["radio.m"][2], (px + 173, py + 112))
            m.paste(clips["radioi.m"][2], (px + 319, py + 131))
            put(m, "ImgBtnMoreN", (px + 13, py + 7))
        elif page == "status":
            put(m, "ImgPlStatus", (px, py))
            put(m, "ImgBtnBack1N", (px + 13, py + 7))
            put(m, "ImgBtnStatisticsH", (px + 121, py + 7))
            put(m, "ImgBtnToProfN", (px + 229, py + 7))
            vals = ["Connected", "HomeNet", "Infrastructure", "54 Mbps", "6", "WPA-PSK", "TKIP"]
            for v, t in zip(vals, [88, 103, 119, 135, 151, 167, 182]):
                label(m, px + 134, py + t, v)
            vals = ["192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1", "Enabled",
                    "00-1A-2B-3C-4D-5E"]
            for v, t in zip(vals, [88, 103, 119, 135, 151, 167]):
                label(m, px + 312, py + t, v)
        elif page == "stats":
            put(m, "ImgPlStatistics", (px, py))
            put(m, "ImgBtnBack1N", (px + 13, py + 7))
            put(m, "ImgBtnStatusN", (px + 121, py + 7))
            put(m, "ImgBtnToProfH", (px + 229, py + 7))
            put(m, "ImgBtnRefreshN", (px + 327, py + 170))
            vals = ["54 Mbps", "48 Mbps", "120345", "98012", "88123456", "1234567", "5.10.2.0"]
            for v, t in zip(vals, [87, 103, 119, 135, 151, 167, 183]):
                label(m, px + 162, py + t, v)
            vals = ["-92 dBm", "-48 dBm", "15 dBm", "00:12:07", "1, 02:03:04"]
            for v, t in zip(vals, [87, 103, 119, 135, 151]):
                label(m, px + 318, py + t, v)
        elif page == "site":
            put(m, "ImgSiteClient", (px, py))
            control(m, (px + 37, py + 95, 178, 108))
            for i, (ssid, ch, sig, ic) in enumerate([("HomeNet", "6", "82%", 4),
                                                      ("Cafe", "11", "64%", 1),
                                                      ("LanParty", "3", "40%", 10)]):
                yy = py + 97 + i * 17
                m.paste(unkeyed(strip_cell("ImageListSiteIcon", ic, (16, 16))), (px + 39, yy),
                        unkeyed(strip_cell("ImageListSiteIcon", ic, (16, 16))))
                label(m, px + 58, yy + 1, ssid)
                label(m, px + 136, yy + 1, ch)
                label(m, px + 163, yy + 1, sig)
            for v, t in zip(["HomeNet", "Infrastructure", "6", "WPA-PSK", "00-1A-2B-3C-4D-5E"],
                            [100, 116, 132, 148, 164]):
                label(m, px + 312, py + t, v)
            put(m, "ImgBtnRefreshH", (px + 237, py + 188))
            put(m, "ImgBtnConnectN", (px + 340, py + 188))
        elif page == "prof":
            put(m, "ImgProfClient", (px, py))
            control(m, (px + 35, py + 94, 178, 111))
            label(m, px + 40, py + 97, "Default")
            label(m, px + 126, py + 97, "ANY")
            for v, t in zip(["Infrastructure", "Auto", "Auto", "WEP(64-bit)", "Auto Switch"],
                            [100, 116, 132, 148, 164]):
                label(m, px + 313, py + t, v)
            put(m, "ImgBtnConnectD", (px + 275, py + 188))
            for i, n in enumerate(["New", "Edit", "Import", "Export", "Delete"]):
                face = "ImgBtn%s%s" % (n, "H" if n == "Delete" else "N")
                put(m, face, (px + 160 + i * 57, py + 234))
        if page in ("info", "status", "stats"):
            put(m, "ImgInfoBottom", (px, py + 218))
            m.paste(strip_cell("imgListMeter", 7, (83, 14)), (px + 124, py + 238))
            m.paste(strip_cell("imgListMeter", 5, (83, 14)), (px + 322, py + 238))
        return rounded_window(m, 10)

    for page in ("info", "status", "stats", "site", "prof"):
        main_window(page).save(os.path.join(outdir, "main-%s.png" % page))

    # the six link pictures with their clips where the page places them
    anims = {"ImgInfoAnimate": [("broken.m", 176, 116)],
             "ImgInfoAdHoc1": [("broken.m", 192, 116)],
             "ImgInfoAdHoc2": [("radio.m", 189, 112)],
             "ImgInfoInfra1": [("broken.m", 176, 116)],
             "ImgInfoInfra2": [("radio.m", 170, 112), ("brokeni.m", 319, 131)],
             "ImgInfoInfra3": [("radio.m", 173, 112), ("radioi.m", 319, 131)]}
    grid = Image.new("RGB", (447 * 2 + 10, 218 * 3 + 20), (128, 132, 138))
    for i, (name, clips_at) in enumerate(anims.items()):
        im = written[name].copy()
        for clip, x, y in clips_at:
            im.paste(clips[clip][1], (x, y))
        if name != "ImgInfoAnimate":
            put(im, "ImgBtnMoreN", (13, 7))
        grid.paste(im, ((i % 2) * 457, (i // 2) * 228))
    grid.save(os.path.join(outdir, "link-states.png"))

    def wizard(page, buttons):
        m = written["ImgProfSetBG"].copy()
        put(m, "ImgProfCaption2" if page == "ImgProfConfirm" else "ImgProfCaption1", (4, 77))
        put(m, page, (4, 133))
        right = 575
        for b in buttons:
            im = written[b]
            right -= im.size[0]
            m.paste(im, (right, 368))
        return m

    w = wizard("ImgProfWEP", ["ImgBtnNextN", "ImgBtnBack2H"])
    for top in (49, 80, 111, 162, 186):
        control(w, (4 + 119, 133 + top, 121, 21), "64-bit" if top == 49 else "")
    rounded_window(w, 10).save(os.path.join(outdir, "wizard-wep.png"))
    w = wizard("ImgProfWlNetwork", ["ImgBtnManualN", "ImgBtnExitN"])
    control(w, (4 + WL_LIST[0], 133 + WL_LIST[1], WL_LIST[2], WL_LIST[3]))
    for n, (x, y) in WL_BUTTONS.items():
        put(w, "ImgBtnRefreshN" if n == "BtnRefresh" else "ImgBtnConnectN", (4 + x, 133 + y))
    rounded_window(w, 10).save(os.path.join(outdir, "wizard-list.png"))
    w = wizard("ImgProfNetwork", ["ImgBtnNextN", "ImgBtnBack2N"])
    for x, y in ((124, 127), (124, 156), (124, 185), (326, 127), (326, 156)):
        put(w, "ImgIPBG", (4 + x, 133 + y))
    label(w, 4 + 64, 133 + 48, "Obtain an IP address automatically")
    label(w, 4 + 64, 133 + 88, "Use the following IP address")
    rounded_window(w, 10).save(os.path.join(outdir, "wizard-ip.png"))
    w = wizard("ImgProfConfirm", ["ImgBtnSaveN", "ImgBtnBack2N", "ImgBtnExitN"])
    for v, t in zip(["HomeNet", "Infrastructure", "Auto", "Mixed Mode", "WPA-PSK", "TKIP", "Auto",
                     "Auto", "Auto", "Auto"], [46, 60, 75, 91, 106, 121, 136, 151, 166, 181]):
        label(w, 4 + 179, 133 + t, v)
    rounded_window(w, 10).save(os.path.join(outdir, "wizard-confirm.png"))
    w = written["ImgProfCongrats"].copy()
    put(w, "ImgBtnConnectNetN", (482, 368))
    put(w, "ImgBtnToProfScrH", (389, 368))
    rounded_window(w, 10).save(os.path.join(outdir, "wizard-finish.png"))

    q = written["ImgCntSetBG"].copy()
    put(q, "ImgCntCaptionWEP", (4, 78))
    put(q, "ImgCntWEP", (4, 138))
    control(q, (115, 203, 121, 21), "WEP")
    control(q, (4 + 111, 138 + 96, 121, 21), "64-bit")
    control(q, (4 + 111, 138 + 129, 121, 21))
    control(q, (4 + 111, 138 + 161, 121, 21))
    put(q, "ImgBtnCancelN", (440, 366))
    put(q, "ImgBtnConnect2H", (504, 366))
    rounded_window(q, 10).save(os.path.join(outdir, "quick-connect.png"))

    s = written["ImgBgWelcome"].copy()
    put(s, "ImgBtnInstallNormal", (336, 246))
    put(s, "ImgBtnUserGuideNormal", (302, 380))
    put(s, "ImgBtnExitHighlight", (380, 380))
    rounded_window(s, 12).save(os.path.join(outdir, "setup-welcome.png"))
    s = written["ImgBgStep"].copy()
    put(s, "ImgLicensePage", (0, 60))
    put(s, "ImgBtnCancelNormal", (451, 380))
    put(s, "ImgBtnNextHighlight", (517, 380))
    rounded_window(s, 12).save(os.path.join(outdir, "setup-licence.png"))
    s = written["ImgBgStep"].copy()
    put(s, "ImgPlugPage", (0, 60))
    put(s, "ImgBtnNextNormal", (517, 380))
    rounded_window(s, 12).save(os.path.join(outdir, "setup-plug.png"))
    p = written["ImgSetupProgressBG"].copy()
    p.paste(written["ImgSetupMeter"].crop((0, 0, 84, 22)), (97, 46))
    put(p, "ImgSG03", (22, 17))
    p.save(os.path.join(outdir, "setup-progress.png"))
    prog = Image.new("RGB", (296, 85 * 5 + 16), (200, 204, 210))
    for i in range(5):
        prog.paste(rounded_window(written["ImgProgress%d" % i], 7), (0, i * 89))
    prog.save(os.path.join(outdir, "progress.png"))


# ---------------------------------------------------------------------------------------------


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--sheet", help="write a contact sheet PNG here")
    ap.add_argument("--mock", help="write assembled windows (PNG) into this folder")
    args = ap.parse_args()

    main_bg = make_main()
    make_adapter(main_bg)
    frame_bg = page_base(main_bg)
    make_link_pictures()
    make_status_panels()
    make_site_client()
    make_prof_client()
    make_info_bottom(main_bg)
    make_page_buttons(frame_bg, written["ImgSiteClient"], written["ImgPlStatus"])
    make_wizard()
    make_quick_connect()
    make_progress()
    save_jpeg("ImgLogo", logo(151, 48, dark=True), size=(151, 48))
    save_strip("imgListTrayIcon", tray_icons(), (50, 50))
    save_strip("ImageListSiteIcon", site_icons(), (16, 16))
    save_strip("imgListMeter", meter_images(), (83, 14))
    save_jpeg("ImgAboutLogo", logo(151, 48, dark=False), sub="skin/about", size=(151, 48))
    make_frame_ip()
    make_setup()
    save_ico("Wavelorn", [16, 32, 48])
    make_clips()

    with open(os.path.join(SKIN, "manifest.txt"), "w", newline="\n") as fh:
        fh.write(MANIFEST_HEAD)
        for row in manifest:
            fh.write("%s %s %s %d %d\n" % row)

    if args.sheet:
        contact_sheet(args.sheet)
    if args.mock:
        mockups(args.mock)
    total = sum(os.path.getsize(os.path.join(RES, r[1])) for r in manifest)
    print("%d files, %.1f KB" % (len(manifest), total / 1024.0))


if __name__ == "__main__":
    sys.exit(main())
