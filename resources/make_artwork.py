#!/usr/bin/python3
"""Draws the editor artwork of both editions and writes it as PNG files.

    /usr/bin/python3 resources/make_artwork.py            write the PNGs next to this script
    /usr/bin/python3 resources/make_artwork.py --out DIR  write them into DIR
    /usr/bin/python3 resources/make_artwork.py --check    verify the committed PNGs

Needs Debian's python3-pil and fonts-liberation (run it with /usr/bin/python3,
not a pyenv interpreter without PIL).

Images (they are embedded in each plug-in DLL as "DATA" resources):
  background_vesk.png  642 x 120 RGB, resource 127 of Tovra Vesk
  background_brin.png  310 x 120 RGB, resource 127 of Tovra Brin
  knob.png             40 x 3880 RGBA, resource 128: 97 frames of 40 x 40,
                       pointer at the lower left in frame 0, straight up in
                       frame 48, lower right in frame 96, turning clockwise
                       in equal steps of 270/96 degrees
  switch.png           12 x 44 RGBA, resource 129: frame 0 (top) lever down,
                       frame 1 (bottom) lever up

Shapes are drawn at SS times the final size and reduced with area averaging
(in premultiplied alpha) so that edges are anti-aliased; text is rendered by
FreeType at its final size, where hinting keeps the small labels crisp.
The knob and display positions below are those the editor places its
controls at; every label is centred on its knob.
"""

import argparse
import math
import os
import random
import sys

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
except ImportError:  # pragma: no cover - environment problem, not a code path
    sys.exit("make_artwork.py: PIL missing; run with /usr/bin/python3 (python3-pil)")

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIRS = ["/usr/share/fonts/truetype/liberation", "/usr/share/fonts/truetype/liberation2"]

SS = 4  # supersampling factor of the background shapes

# Geometry shared with the editor layout.
KNOB = 40            # knob frame edge, pixels
KNOB_FRAMES = 97
KNOB_TOP = 54        # knobs span y 54..94
KNOB_CY = KNOB_TOP + KNOB / 2
DISPLAY_TOP, DISPLAY_BOTTOM = 99, 109   # value displays at x + 2 .. x + 42
LABEL_TOP, LABEL_BOTTOM = 40, 50
SWITCH_W, SWITCH_H = 12, 22
SWITCH_FRAMES = 2
SWITCH_X, SWITCH_Y = 554, 67            # Vesk switch rectangle (554, 67)-(566, 89)

START_DEG = 225.0    # frame 0: lower left (mathematical angle, anticlockwise from +x)
RANGE_DEG = -270.0   # clockwise sweep to frame 96: lower right

VESK = {
    "name": "VESK",
    "size": (642, 120),
    "knobs": [(9, "PRE"), (54, "DECAY"), (93, "LPF"), (135, "HPF"), (177, "LEVEL"), (219, "PAN"),
              (277, "PRE"), (319, "DECAY"), (361, "LPF"), (403, "HPF"), (445, "LEVEL"), (487, "PAN"),
              (586, "MIX")],
    # (left, right, heading)
    "panels": [(4, 264, "REVERB 1"), (272, 532, "REVERB 2"), (579, 633, None)],
    "switch": True,
}
BRIN = {
    "name": "BRIN",
    "size": (310, 120),
    "knobs": [(9, "PRE"), (51, "DECAY"), (93, "LPF"), (135, "HPF"), (177, "LEVEL"), (256, "MIX")],
    "panels": [(4, 222, None), (249, 303, None)],
    "switch": False,
}

PANEL_TOP, PANEL_BOTTOM = 24, 115
TITLE_H = 20

# Palette: dark grey-violet ground, slightly lighter panels, warm white print.
GROUND = (44, 40, 54)
GROUND_LOW = (36, 33, 45)
TITLE = (25, 23, 31)
PANEL = (56, 51, 68)
PANEL_LOW = (49, 45, 60)
PANEL_EDGE_LIGHT = (92, 85, 108)
PANEL_EDGE_DARK = (22, 20, 28)
PRINT = (232, 226, 214)
PRINT_DIM = (170, 163, 180)
ACCENT = (222, 156, 66)
RECESS = (18, 16, 23)


def font_path(name):
    for d in FONT_DIRS:
        p = os.path.join(d, name)
        if os.path.exists(p):
            return p
    sys.exit("make_artwork.py: font %s not found (install fonts-liberation)" % name)


def font(name, size):
    return ImageFont.truetype(font_path(name), size)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def reduce_rgba(img, size):
    """Area-average an RGBA image in premultiplied alpha (no dark fringes)."""
    return img.convert("RGBa").resize(size, Image.BOX).convert("RGBA")


# ----------------------------------------------------------------------------
# text


def spaced_width(f, text, spacing):
    return sum(f.getlength(c) for c in text) + spacing * (len(text) - 1)


def draw_spaced(draw, x, y, text, f, fill, spacing):
    """Draws text with extra letter spacing from its left edge x, top y."""
    for c in text:
        draw.text((round(x), y), c, font=f, fill=fill)
        x += f.getlength(c) + spacing


def draw_centred(draw, cx, top, text, f, fill, spacing=0.0):
    """Centres text on cx with its cap top at `top` (pixels)."""
    w = spaced_width(f, text, spacing)
    cap_top = f.getbbox("H")[1]
    draw_spaced(draw, cx - w / 2.0, top - cap_top, text, f, fill, spacing)


# ----------------------------------------------------------------------------
# background


def rounded(draw, box, r, fill=None, outline=None, width=1):
    draw.rounded_rectangle([c * SS for c in box], radius=r * SS, fill=fill, outline=outline,
                           width=width * SS)


def background(ed):
    w, h = ed["size"]
    big = Image.new("RGB", (w * SS, h * SS), GROUND)
    d = ImageDraw.Draw(big)

    # Ground: a gentle vertical shade.
    for y in range(TITLE_H * SS, h * SS):
        t = (y - TITLE_H * SS) / float((h - TITLE_H) * SS)
        d.line([(0, y), (w * SS, y)], fill=lerp(GROUND, GROUND_LOW, t))

    # Title strip with a bevel line underneath.
    d.rectangle([0, 0, w * SS, TITLE_H * SS - 1], fill=TITLE)
    d.rectangle([0, TITLE_H * SS, w * SS, TITLE_H * SS + SS - 1], fill=(14, 13, 18))
    d.rectangle([0, (TITLE_H + 1) * SS, w * SS, (TITLE_H + 1) * SS + SS // 2], fill=(64, 59, 78))

    # Panels: lighter plates with a light top-left and dark bottom-right edge.
    for left, right, _ in ed["panels"]:
        rounded(d, (left + 1, PANEL_TOP + 1, right + 1, PANEL_BOTTOM + 1), 4, fill=(24, 22, 30))
        rounded(d, (left, PANEL_TOP, right, PANEL_BOTTOM), 4, fill=PANEL_EDGE_LIGHT)
        rounded(d, (left + 0.5, PANEL_TOP + 0.5, right, PANEL_BOTTOM), 4, fill=PANEL_EDGE_DARK)
        rounded(d, (left + 0.5, PANEL_TOP + 0.5, right - 0.5, PANEL_BOTTOM - 0.5), 3.5, fill=PANEL)
        # lower half of the plate slightly darker
        for y in range(int((PANEL_TOP + 30) * SS), int((PANEL_BOTTOM - 1) * SS)):
            t = (y - (PANEL_TOP + 30) * SS) / float((PANEL_BOTTOM - PANEL_TOP - 31) * SS)
            d.line([((left + 1) * SS, y), ((right - 1) * SS, y)], fill=lerp(PANEL, PANEL_LOW, t))

    # Knob scales: eleven ticks around every knob, longer at the ends and centre.
    for x, _ in ed["knobs"]:
        cx, cy = x + KNOB / 2.0, KNOB_CY
        for i in range(11):
            a = math.radians(START_DEG + RANGE_DEG * i / 10.0)
            major = i in (0, 5, 10)
            r0, r1 = (16.6 if major else 17.4), 19.6
            p0 = (cx + r0 * math.cos(a), cy - r0 * math.sin(a))
            p1 = (cx + r1 * math.cos(a), cy - r1 * math.sin(a))
            d.line([(p0[0] * SS, p0[1] * SS), (p1[0] * SS, p1[1] * SS)],
                   fill=PRINT if major else PRINT_DIM, width=int(SS * (1.1 if major else 0.9)))
        # recessed window behind the value display
        rounded(d, (x + 5, DISPLAY_TOP - 1, x + 39, DISPLAY_BOTTOM + 2), 2, fill=(70, 64, 84))
        rounded(d, (x + 5, DISPLAY_TOP - 1, x + 39, DISPLAY_BOTTOM + 1.5), 2, fill=RECESS)

    # Switch slot of the stereo/mono switch.
    if ed["switch"]:
        sx, sy = SWITCH_X, SWITCH_Y
        rounded(d, (sx - 2, sy - 2, sx + SWITCH_W + 2, sy + SWITCH_H + 2.5), 3, fill=(74, 68, 90))
        rounded(d, (sx - 2, sy - 2, sx + SWITCH_W + 2, sy + SWITCH_H + 2), 3, fill=RECESS)

    # Logo emblem: a ring with a stylised bird's head pointing right.
    ex, ey, er = 12.0, TITLE_H / 2.0, 6.5
    d.ellipse([(ex - er) * SS, (ey - er) * SS, (ex + er) * SS, (ey + er) * SS], fill=ACCENT)
    d.ellipse([(ex - er + 1.3) * SS, (ey - er + 1.3) * SS, (ex + er - 1.3) * SS,
               (ey + er - 1.3) * SS], fill=TITLE)
    head = [(ex - 3.4, ey + 2.6), (ex - 2.2, ey - 2.4), (ex + 0.6, ey - 3.2), (ex + 4.2, ey - 0.4),
            (ex + 1.0, ey + 0.2), (ex - 0.6, ey + 3.4)]
    d.polygon([(px * SS, py * SS) for px, py in head], fill=ACCENT)
    d.ellipse([(ex - 0.1) * SS, (ey - 2.1) * SS, (ex + 1.1) * SS, (ey - 0.9) * SS], fill=TITLE)

    img = big.resize((w, h), Image.BOX)

    # Fine grain so the plates do not look flat (fixed seed: reproducible).
    rnd = random.Random(1031)
    px = img.load()
    for y in range(TITLE_H + 2, h):
        for x in range(w):
            n = rnd.randint(-2, 2)
            r, g, b = px[x, y]
            px[x, y] = (max(0, min(255, r + n)), max(0, min(255, g + n)), max(0, min(255, b + n)))

    t = ImageDraw.Draw(img)
    bold9 = font("LiberationSans-Bold.ttf", 9)
    bold8 = font("LiberationSans-Bold.ttf", 8)
    bold11 = font("LiberationSans-Bold.ttf", 11)
    reg11 = font("LiberationSans-Regular.ttf", 11)
    reg8 = font("LiberationSans-Regular.ttf", 8)

    # Title strip: maker at the left, product and edition at the right.
    draw_spaced(t, 23, 6 - bold9.getbbox("H")[1], "KORVID", bold9, PRINT, 1.6)
    title_w = spaced_width(bold11, "TOVRA", 1.2)
    ed_w = spaced_width(reg11, ed["name"], 1.2)
    right = w - 9
    top = 5 - bold11.getbbox("H")[1]
    draw_spaced(t, right - ed_w, top, ed["name"], reg11, ACCENT, 1.2)
    draw_spaced(t, right - ed_w - 6 - title_w, top, "TOVRA", bold11, PRINT, 1.2)
    sub = "STEREO PLATE REVERB" if ed["switch"] else "PLATE REVERB"
    sub_w = spaced_width(reg8, sub, 1.0)
    draw_spaced(t, right - ed_w - 6 - title_w - 14 - sub_w, 7 - reg8.getbbox("H")[1], sub, reg8,
                PRINT_DIM, 1.0)

    # Unit headings with thin rules either side.
    for left, right_edge, heading in ed["panels"]:
        if not heading:
            continue
        cx = (left + right_edge) / 2.0
        hw = spaced_width(bold8, heading, 1.5)
        draw_centred(t, cx, 28, heading, bold8, ACCENT, 1.5)
        y = 31
        t.line([(left + 8, y), (cx - hw / 2 - 6, y)], fill=(100, 92, 118))
        t.line([(cx + hw / 2 + 6, y), (right_edge - 8, y)], fill=(100, 92, 118))

    # Column labels centred on the knobs.
    for x, label in ed["knobs"]:
        draw_centred(t, x + KNOB / 2.0, LABEL_TOP + 1, label, bold9, PRINT, 0.8)

    if ed["switch"]:
        cx = SWITCH_X + SWITCH_W / 2.0
        draw_centred(t, cx, SWITCH_Y - 12, "STEREO", bold8, PRINT, 0.4)
        draw_centred(t, cx, SWITCH_Y + SWITCH_H + 6, "MONO", bold8, PRINT, 0.4)
    return img


# ----------------------------------------------------------------------------
# knob


def knob_cap(n):
    """The knob's machined cap, n x n pixels: fixed light from the upper left,
    so it is the same in every frame."""
    cap = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    px = cap.load()
    c = (n - 1) / 2.0
    r = n / 2.0
    for y in range(n):
        for x in range(n):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            if d > r:
                continue
            th = math.atan2(dy, dx)
            # concentric-machining sheen: two bright lobes, brighter to the upper left
            sheen = 0.5 + 0.5 * math.cos(2.0 * (th + math.radians(45.0)))
            bias = 0.5 - 0.5 * (dx + dy) / (2.0 * r)
            v = 86 + 56 * sheen * (0.55 + 0.45 * bias) + 10 * bias
            v += 3 * math.sin(d * 1.7)  # faint rings
            px[x, y] = (int(v), int(v), int(v * 1.04), 255)
    return cap


def knob_strip():
    S = 8
    n = KNOB * S
    c = n / 2.0
    r_body = 15.2 * S
    r_cap = 11.0 * S

    cap = knob_cap(int(2 * r_cap))
    shadow = Image.new("L", (n, n), 0)
    ImageDraw.Draw(shadow).ellipse([c - r_body - 1.0 * S, c - r_body + 0.2 * S,
                                    c + r_body + 1.0 * S, c + r_body + 2.4 * S], fill=150)
    shadow = shadow.filter(ImageFilter.GaussianBlur(1.4 * S))

    strip = Image.new("RGBA", (KNOB, KNOB * KNOB_FRAMES), (0, 0, 0, 0))
    for k in range(KNOB_FRAMES):
        a = math.radians(START_DEG + RANGE_DEG * k / (KNOB_FRAMES - 1))
        fr = Image.new("RGBA", (n, n), (0, 0, 0, 0))
        fr.putalpha(shadow)
        d = ImageDraw.Draw(fr)
        # skirt with a lit upper rim
        d.ellipse([c - r_body, c - r_body, c + r_body, c + r_body], fill=(58, 56, 64, 255))
        d.ellipse([c - r_body + 0.6 * S, c - r_body + 0.9 * S, c + r_body - 0.6 * S,
                   c + r_body - 0.3 * S], fill=(30, 29, 35, 255))
        # knurling that turns with the knob
        for i in range(40):
            t = a + 2.0 * math.pi * i / 40.0
            p0 = (c + (r_cap + 0.9 * S) * math.cos(t), c - (r_cap + 0.9 * S) * math.sin(t))
            p1 = (c + (r_body - 0.9 * S) * math.cos(t), c - (r_body - 0.9 * S) * math.sin(t))
            d.line([p0, p1], fill=(16, 15, 19, 255), width=int(0.7 * S))
        # cap ring and cap
        d.ellipse([c - r_cap - 0.8 * S, c - r_cap - 0.8 * S, c + r_cap + 0.8 * S,
                   c + r_cap + 0.8 * S], fill=(12, 12, 15, 255))
        fr.alpha_composite(cap, (int(c - r_cap), int(c - r_cap)))
        # pointer: a warm white line from near the centre across the skirt
        ca, sa = math.cos(a), -math.sin(a)
        p0 = (c + 4.5 * S * ca, c + 4.5 * S * sa)
        p1 = (c + (r_body - 0.8 * S) * ca, c + (r_body - 0.8 * S) * sa)
        d.line([p0, p1], fill=(20, 18, 22, 255), width=int(3.6 * S))
        d.line([p0, p1], fill=(246, 240, 226, 255), width=int(2.0 * S))
        for p in (p0, p1):
            d.ellipse([p[0] - 1.0 * S, p[1] - 1.0 * S, p[0] + 1.0 * S, p[1] + 1.0 * S],
                      fill=(246, 240, 226, 255))
        strip.paste(reduce_rgba(fr, (KNOB, KNOB)), (0, k * KNOB))
    return strip


# ----------------------------------------------------------------------------
# switch


def switch_strip():
    S = 8
    w, h = SWITCH_W * S, SWITCH_H * S
    cx, cy = w / 2.0, h / 2.0
    strip = Image.new("RGBA", (SWITCH_W, SWITCH_H * SWITCH_FRAMES), (0, 0, 0, 0))
    for k, up in enumerate((False, True)):
        fr = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        d = ImageDraw.Draw(fr)
        # mounting nut
        rn = 4.6 * S
        d.ellipse([cx - rn, cy - rn, cx + rn, cy + rn], fill=(20, 19, 24, 255))
        rn2 = 4.0 * S
        d.ellipse([cx - rn2, cy - rn2, cx + rn2, cy + rn2], fill=(150, 148, 158, 255))
        d.ellipse([cx - rn2 + 0.8 * S, cy - rn2 + 0.8 * S, cx + rn2 - 0.4 * S,
                   cy + rn2 - 0.4 * S], fill=(104, 102, 112, 255))
        d.ellipse([cx - 2.2 * S, cy - 2.2 * S, cx + 2.2 * S, cy + 2.2 * S], fill=(36, 35, 42, 255))
        # lever: a tapered chrome bat, drawn from the pivot towards its tip
        sign = -1.0 if up else 1.0
        tip_y = cy + sign * 8.4 * S
        base_half, tip_half = 1.3 * S, 2.1 * S
        # shadow falls down-right
        sh = [(cx - base_half + 0.7 * S, cy + 0.9 * S), (cx + base_half + 0.7 * S, cy + 0.9 * S),
              (cx + tip_half + 0.7 * S, tip_y + 0.9 * S), (cx - tip_half + 0.7 * S, tip_y + 0.9 * S)]
        d.polygon(sh, fill=(0, 0, 0, 110))
        o = 0.6 * S  # dark outline so the chrome reads against the slot
        d.polygon([(cx - base_half - o, cy), (cx + base_half + o, cy), (cx + tip_half + o, tip_y),
                   (cx - tip_half - o, tip_y)], fill=(10, 10, 13, 255))
        d.ellipse([cx - tip_half - o, tip_y - tip_half - o, cx + tip_half + o,
                   tip_y + tip_half + o], fill=(10, 10, 13, 255))
        body = [(cx - base_half, cy), (cx + base_half, cy), (cx + tip_half, tip_y),
                (cx - tip_half, tip_y)]
        d.polygon(body, fill=(196, 196, 206, 255))
        d.ellipse([cx - tip_half, tip_y - tip_half, cx + tip_half, tip_y + tip_half],
                  fill=(226, 226, 234, 255))
        # highlight along the left side of the lever
        hl = [(cx - base_half + 0.35 * S, cy), (cx - base_half + 1.0 * S, cy),
              (cx - tip_half + 1.4 * S, tip_y), (cx - tip_half + 0.5 * S, tip_y)]
        d.polygon(hl, fill=(240, 240, 246, 255))
        d.ellipse([cx - 1.3 * S, cy - 1.3 * S, cx + 1.3 * S, cy + 1.3 * S], fill=(120, 120, 130, 255))
        strip.paste(reduce_rgba(fr, (SWITCH_W, SWITCH_H)), (0, k * SWITCH_H))
    return strip


# ----------------------------------------------------------------------------
# check mode

EXPECT = [
    ("background_vesk.png", (642, 120), "RGB"),
    ("background_brin.png", (310, 120), "RGB"),
    ("knob.png", (KNOB, KNOB * KNOB_FRAMES), "RGBA"),
    ("switch.png", (SWITCH_W, SWITCH_H * SWITCH_FRAMES), "RGBA"),
]


def pointer_angle(frame):
    """Direction (mathematical degrees) of the pointer in one 40 x 40 knob frame,
    found as the centroid of its near-white pixels on the skirt."""
    px = frame.load()
    c = (KNOB - 1) / 2.0
    sx = sy = 0.0
    count = 0
    for y in range(KNOB):
        for x in range(KNOB):
            r, g, b, a = px[x, y]
            if a > 200 and r > 200 and g > 195 and math.hypot(x - c, y - c) > 7:
                sx += x - c
                sy += c - y
                count += 1
    if count == 0:
        return None
    return math.degrees(math.atan2(sy, sx)) % 360.0


def check(folder):
    errors = []
    images = {}
    for name, size, mode in EXPECT:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            errors.append("%s: missing" % name)
            continue
        img = Image.open(path)
        if img.format != "PNG":
            errors.append("%s: not a PNG" % name)
        if img.size != size:
            errors.append("%s: size %dx%d, want %dx%d" % ((name,) + img.size + size))
        if img.mode != mode:
            errors.append("%s: mode %s, want %s" % (name, img.mode, mode))
        images[name] = img.convert("RGBA")

    if "knob.png" in images and images["knob.png"].size == EXPECT[2][1]:
        strip = images["knob.png"]
        if strip.height % strip.width or strip.height // strip.width != KNOB_FRAMES:
            errors.append("knob.png: %d frames, want %d" % (strip.height // strip.width, KNOB_FRAMES))
        step = RANGE_DEG / (KNOB_FRAMES - 1)
        for k in range(KNOB_FRAMES):
            fr = strip.crop((0, k * KNOB, KNOB, (k + 1) * KNOB))
            alpha = fr.getchannel("A")
            corners = [alpha.getpixel(p) for p in ((0, 0), (KNOB - 1, 0), (0, KNOB - 1),
                                                   (KNOB - 1, KNOB - 1))]
            if max(corners) != 0 or alpha.getpixel((KNOB // 2, KNOB // 2)) != 255:
                errors.append("knob.png frame %d: want transparent corners, opaque centre" % k)
            got = pointer_angle(fr)
            want = (START_DEG + step * k) % 360.0
            if got is None or abs((got - want + 180.0) % 360.0 - 180.0) > 4.0:
                errors.append("knob.png frame %d: pointer at %s degrees, want %.1f" % (k, got, want))

    if "switch.png" in images and images["switch.png"].size == EXPECT[3][1]:
        strip = images["switch.png"]
        for k, up in enumerate((False, True)):
            fr = strip.crop((0, k * SWITCH_H, SWITCH_W, (k + 1) * SWITCH_H))
            alpha = fr.getchannel("A")
            if alpha.getpixel((0, 0)) != 0 or alpha.getpixel((SWITCH_W // 2, SWITCH_H // 2)) != 255:
                errors.append("switch.png frame %d: want transparent corner, opaque centre" % k)
            # The lever is the opaque part away from the nut: above it when up.
            top = sum(alpha.getpixel((SWITCH_W // 2, y)) for y in range(0, 5))
            bottom = sum(alpha.getpixel((SWITCH_W // 2, y)) for y in range(SWITCH_H - 5, SWITCH_H))
            if (top > bottom) != up:
                errors.append("switch.png frame %d: lever should point %s" % (k, "up" if up else "down"))

    for name in ("background_vesk.png", "background_brin.png"):
        if name in images and images[name].getchannel("A").getextrema() != (255, 255):
            errors.append("%s: not opaque" % name)

    for e in errors:
        print("make_artwork.py --check: " + e)
    if not errors:
        print("make_artwork.py --check: %d images in %s are as expected" % (len(EXPECT), folder))
    return 1 if errors else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=HERE, help="folder to write to (default: this script's)")
    ap.add_argument("--check", action="store_true", help="verify the images in --out")
    args = ap.parse_args()
    if args.check:
        return check(args.out)
    os.makedirs(args.out, exist_ok=True)
    background(VESK).save(os.path.join(args.out, "background_vesk.png"), optimize=True)
    background(BRIN).save(os.path.join(args.out, "background_brin.png"), optimize=True)
    knob_strip().save(os.path.join(args.out, "knob.png"), optimize=True)
    switch_strip().save(os.path.join(args.out, "switch.png"), optimize=True)
    return check(args.out)


if __name__ == "__main__":
    sys.exit(main())
