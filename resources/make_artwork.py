#!/usr/bin/env python3
"""Draws the artwork of Qelvane's windows.

  background.bmp  389x284 8-bit RLE bitmap, light blue with glowing hearts and a wave
  banner.bmp      274x35 8-bit RLE bitmap, pink strip with two cartoon faces and the download
                  site's name and address, read from site_info.h beside this file
  hand.cur        32x32 monochrome link cursor, hot spot (6,2)
  qelvane.ico     48x48 256-colour program icon (golden starfish)

Usage: make_artwork.py [--check] [OUTPUT_FOLDER]
Without a folder it writes beside this file. --check compares what it wrote with the files
beside this file, byte for byte, and exits 1 on a difference. Exits 77 when a tool it needs is
missing: ImageMagick 6's convert and fontconfig's fc-list (Debian: imagemagick) and the
WenQuanYi Zen Hei font (fonts-wqy-zenhei).

The output is the same bytes on every run: ImageMagick draws (one thread), this program
writes the files without metadata. The pictures are palettised run-length bitmaps because GDI
expands those itself on every Windows version: the program needs no image codec, and so no
COM, to show them.
"""
import argparse
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUTS = ("background.bmp", "banner.bmp", "hand.cur", "qelvane.ico")
FONT_FAMILY = "WenQuanYi Zen Hei"
MISSING_TOOL = 77


class MissingTool(Exception):
    pass


def fail(message):
    sys.exit("make_artwork: " + message)


# ----- site values -----

def header_value(text, name):
    """The string literal given to `name` in a C++ header: kName = L"..." or kName{u8"..."}."""
    match = re.search(r'\b%s(?:\[[^]]*\])?\s*(?:=|\{)\s*(?:L|u8|u|U)?"([^"\\]*)"' % name, text)
    if not match:
        fail("no plain string literal for %s in site_info.h" % name)
    return match.group(1)


def site_values():
    with open(os.path.join(HERE, "site_info.h"), encoding="utf-8") as f:
        text = f.read()
    return header_value(text, "kSiteName"), header_value(text, "kDownloadAddress")


# ----- tools -----

def tool_output(args):
    try:
        return subprocess.run(args, check=True, capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return ""


def check_tools():
    if "ImageMagick 6." not in tool_output(["convert", "-version"]):
        raise MissingTool("ImageMagick 6's convert is not installed (Debian: imagemagick)")
    fonts = sorted(tool_output(["fc-list", "-f", "%{file}\n", ":family=" + FONT_FAMILY]).split())
    if not fonts:
        raise MissingTool("the font '%s' is not installed (Debian: fonts-wqy-zenhei)" % FONT_FAMILY)
    return fonts[0]


MAGICK_ENV = dict(os.environ, LC_ALL="C.UTF-8", MAGICK_THREAD_LIMIT="1", OMP_NUM_THREADS="1")


def convert(*args):
    result = subprocess.run(["convert", *args], env=MAGICK_ENV, capture_output=True, text=True)
    if result.returncode != 0:
        fail("convert %s failed with status %d: %s" % (args[0], result.returncode, result.stderr.strip()))
    return result.stdout


# ----- drawing geometry, as ImageMagick draw primitives -----

def fmt(v):
    return "%.2f" % v


def points(pts):
    return " ".join(fmt(x) + "," + fmt(y) for x, y in pts)


def heart_path(cx, cy, size, angle_deg):
    """Closed heart outline of the given width, centred on (cx, cy), rotated."""
    # Unit heart: width 2 (x in -1..1), from y=-0.8 (top of lobes) to y=1 (tip).
    segments = [
        ("M", [(0.0, -0.42)]),
        ("C", [(0.0, -0.98), (-1.0, -0.98), (-1.0, -0.30)]),
        ("C", [(-1.0, 0.20), (-0.42, 0.55), (0.0, 1.0)]),
        ("C", [(0.42, 0.55), (1.0, 0.20), (1.0, -0.30)]),
        ("C", [(1.0, -0.98), (0.0, -0.98), (0.0, -0.42)]),
    ]
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    k = size / 2.0
    parts = []
    for cmd, pts in segments:
        turned = [(cx + k * (x * ca - y * sa), cy + k * (x * sa + y * ca)) for x, y in pts]
        parts.append(cmd + " " + points(turned))
    return " ".join(parts) + " Z"


# Hearts along the top edge of the background: (x, y, width, angle).
HEARTS = [
    (20, 19, 22, -12), (62, 14, 15, 10), (101, 21, 24, -6), (145, 13, 16, 14),
    (186, 20, 22, -10), (228, 14, 15, 8), (268, 21, 24, -14), (310, 13, 16, 6),
    (348, 20, 21, -8), (380, 13, 14, 12),
]
SMALL_HEARTS = [
    (41, 38, 8, 8), (124, 40, 7, -10), (206, 39, 8, 12), (289, 40, 7, -8), (366, 38, 7, 6),
]


def hearts(items):
    return "\n".join("path '%s'" % heart_path(x, y, w, angle) for x, y, w, angle in items)


def wave(width, height, base, amp, length, phase):
    pts = []
    for x in range(-4, width + 5, 3):
        y = base + amp * math.sin(2 * math.pi * x / length + phase) \
            + 0.35 * amp * math.sin(2 * math.pi * x / (length * 0.47) + 2 * phase)
        pts.append((x, y))
    pts.append((width + 4, height + 4))
    pts.append((-4, height + 4))
    return "polygon " + points(pts)


STAR_TIP, STAR_WAIST = 22.0, 9.0
STAR_TWIST = 0.20  # radians of arm bend at the tip
STAR_BOX = 43.0    # the star is scaled and centred to fill this square of the 48x48 icon


def star_raw(theta, r):
    # Arms bend a little towards the tip, all in the same sense (starfish look).
    t = theta + STAR_TWIST * (r / STAR_TIP) ** 2
    return r * math.cos(t), r * math.sin(t)


def star_raw_outline():
    pts = []
    steps = 400
    for i in range(steps):
        theta = -math.pi / 2 + 2 * math.pi * i / steps
        phi = theta + math.pi / 2
        f = ((1 + math.cos(5 * phi)) / 2) ** 1.7
        pts.append(star_raw(theta, STAR_WAIST + (STAR_TIP - STAR_WAIST) * f))
    return pts


def star_placement():
    pts = star_raw_outline()
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    scale = STAR_BOX / max(max(xs) - min(xs), max(ys) - min(ys))
    # ImageMagick puts pixel centres on integer coordinates: the icon's middle is 23.5,23.5.
    ox = 23.5 - scale * (max(xs) + min(xs)) / 2
    oy = 23.5 - scale * (max(ys) + min(ys)) / 2
    return scale, ox, oy


def star_point(theta, r):
    scale, ox, oy = star_placement()
    x, y = star_raw(theta, r)
    return ox + scale * x, oy + scale * y


def star_body():
    scale, ox, oy = star_placement()
    pts = [(ox + scale * x, oy + scale * y) for x, y in star_raw_outline()]
    return "path 'M " + " L ".join(fmt(x) + "," + fmt(y) for x, y in pts) + " Z'"


def arm_angles():
    return [-math.pi / 2 + 2 * math.pi * k / 5 for k in range(5)]


def star_ridges():
    """A pale line along the middle of each arm."""
    return "\n".join("polyline " + points([star_point(theta, r) for r in (2.0, 6.0, 10.0, 14.0, 17.5)])
                     for theta in arm_angles())


def star_bumps():
    """Small knobs on either side of each ridge."""
    lines = []
    for theta in arm_angles():
        for r, off in ((7.5, 0.30), (12.0, 0.16)):
            for side in (-1, 1):
                x, y = star_point(theta + side * off, r)
                lines.append("circle %s,%s %s,%s" % (fmt(x), fmt(y), fmt(x + 0.9), fmt(y)))
    return "\n".join(lines)


# ----- file writers -----

def read_pnm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while data[pos:pos + 1] not in (b"\n", b""):
                pos += 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1  # single whitespace byte after maxval
    magic, w, h, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if maxval != 255:
        fail("%s: expected 8-bit samples, got maxval %d" % (path, maxval))
    channels = {b"P6": 3, b"P5": 1}.get(magic)
    if channels is None:
        fail("%s: unsupported image type %r" % (path, magic))
    pixels = data[pos:pos + w * h * channels]
    if len(pixels) != w * h * channels:
        fail("%s: truncated image" % path)
    return w, h, channels, pixels


def mask_rows(mask, w, h):
    """1-bpp rows, bottom-up, each padded to a multiple of 4 bytes."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if mask[y * w + x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def bitmap_info_header(w, h, bpp, image_size, colours_used):
    # biHeight counts the XOR bitmap and the AND mask together.
    return struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, image_size, 0, 0, colours_used, 0)


HAND = """
................................
................................
.....XXX........................
....XoooX.......................
....XoooX.......................
....XoooX.......................
....XoooX.......................
....XoooXXX.....................
....XoooXooXXX..................
....XoooXooXooXXX...............
....XoooXooXooXooX..............
.XX.XoooXooXooXooX..............
XooXXoooXooXooXooX..............
XoooXooooooooooooX..............
.XooXooooooooooooX..............
.XoooooooooooooooX..............
..XooooooooooooooX..............
..XoooooooooooooX...............
...XooooooooooooX...............
...XooooooooooooX...............
....XooooooooooX................
....XooooooooooX................
....XXXXXXXXXXXX................
................................
................................
................................
................................
................................
................................
................................
................................
................................
"""
HAND_HOTSPOT = (6, 2)


def write_cursor(out_path):
    rows = HAND.strip("\n").split("\n")
    if len(rows) != 32 or any(len(r) != 32 for r in rows):
        fail("cursor art must be 32 rows of 32 characters")
    if any(c not in ".Xo" for r in rows for c in r):
        fail("cursor art may only use '.', 'X' and 'o'")
    hx, hy = HAND_HOTSPOT
    if rows[hy][hx] != "X":
        fail("cursor hot spot must be on the fingertip outline")
    w = h = 32
    pixels = "".join(rows)
    xor = mask_rows([c == "o" for c in pixels], w, h)   # white
    andm = mask_rows([c == "." for c in pixels], w, h)  # transparent
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    image = bitmap_info_header(w, h, 1, len(xor) + len(andm), 2) + palette + xor + andm
    icondir = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 2, 0, hx, hy, len(image), 6 + 16)
    with open(out_path, "wb") as f:
        f.write(icondir + entry + image)


def write_icon(rgb_path, alpha_path, out_path):
    w, h, ch, rgb = read_pnm(rgb_path)
    aw, ah, ach, alpha = read_pnm(alpha_path)
    if ch != 3 or ach != 1 or (w, h) != (aw, ah):
        fail("icon colour and alpha images do not match")
    if (w, h) != (48, 48):
        fail("icon image must be 48x48, got %dx%d" % (w, h))
    opaque = [alpha[i] >= 128 for i in range(w * h)]
    colours = sorted({tuple(rgb[3 * i:3 * i + 3]) for i in range(w * h) if opaque[i]})
    if len(colours) > 255:
        fail("icon has %d colours, at most 255 allowed" % len(colours))
    # Index 0 is black and is used for transparent pixels (AND 1, XOR 0).
    palette_rgb = [(0, 0, 0)] + colours
    palette_rgb += [(0, 0, 0)] * (256 - len(palette_rgb))
    index_of = {c: i + 1 for i, c in enumerate(colours)}
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette_rgb)
    stride = (w + 3) // 4 * 4
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            i = y * w + x
            if opaque[i]:
                row[x] = index_of[tuple(rgb[3 * i:3 * i + 3])]
        xor += row
    andm = mask_rows([not o for o in opaque], w, h)
    image = bitmap_info_header(w, h, 8, len(xor) + len(andm), 256) + palette + bytes(xor) + andm
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 8, len(image), 6 + 16)
    with open(out_path, "wb") as f:
        f.write(icondir + entry + image)


def rle8_row(row):
    """One row as the shortest RLE8 codes: repeat runs (count, index) and literal
    stretches (0, count, indices..., padded to a word); no end-of-line code."""
    runs = []  # maximal runs of one index: [index, length]
    for value in row:
        if runs and runs[-1][0] == value:
            runs[-1][1] += 1
        else:
            runs.append([value, 1])
    m = len(runs)
    # best[k]: fewest bytes for runs k..m-1; plan[k]: where the code starting at k ends.
    best = [0] * (m + 1)
    plan = [(False, 0)] * (m + 1)
    for k in range(m - 1, -1, -1):
        best[k] = 2 * ((runs[k][1] + 254) // 255) + best[k + 1]
        plan[k] = (False, k + 1)
        total = 0
        for end in range(k, m):
            total += runs[end][1]
            if total > 255:
                break
            # Literal counts 1 and 2 are escape codes; a literal needs at least three.
            if total < 3:
                continue
            cost = 2 + total + (total & 1) + best[end + 1]
            if cost < best[k]:
                best[k] = cost
                plan[k] = (True, end + 1)
    out = bytearray()
    k = 0
    while k < m:
        literal, end = plan[k]
        if literal:
            pixels = b"".join(bytes([v]) * n for v, n in runs[k:end])
            out += bytes((0, len(pixels))) + pixels + b"\0" * (len(pixels) & 1)
        else:
            value, n = runs[k]
            while n:
                count = min(n, 255)
                out += bytes((count, value))
                n -= count
        k = end
    return out


def write_bitmap(ppm_path, out_path):
    w, h, ch, rgb = read_pnm(ppm_path)
    if ch != 3:
        fail("%s: expected a colour image" % ppm_path)
    pixels = [rgb[3 * i:3 * i + 3] for i in range(w * h)]
    colours = sorted(set(pixels))
    if len(colours) > 256:
        fail("%s has %d colours, at most 256 allowed" % (ppm_path, len(colours)))
    index_of = {c: i for i, c in enumerate(colours)}
    indices = bytes(index_of[p] for p in pixels)
    bits = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        bits += rle8_row(indices[y * w:(y + 1) * w]) + b"\0\0"  # end of line
    bits[-2:] = b"\0\1"  # the last end of line becomes end of bitmap
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    bi_rle8 = 1
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, bi_rle8, len(bits), 2835, 2835, len(colours), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(out_path, "wb") as f:
        f.write(header + info + palette + bytes(bits))


# ----- the pictures -----

def make_background(work, out_path):
    w, h = 389, 284
    sky = os.path.join(work, "sky.png")
    drawn = os.path.join(work, "hearts.png")
    glow = os.path.join(work, "glow.png")
    ppm = os.path.join(work, "background.ppm")
    # Sky: a deeper blue behind the hearts fading to a calm, very light blue.
    convert("-size", "%dx%d" % (w, h // 2), "gradient:#9FCFF1-#D3EBFB",
            "-size", "%dx%d" % (w, h - h // 2), "gradient:#D3EBFB-#DDF0FC", "-append", sky)
    # Hearts: sharp white shapes over a soft white glow.
    convert("-size", "%dx%d" % (w, h), "xc:rgba(255,255,255,0)", "-fill", "white", "-stroke", "none",
            "-draw", hearts(HEARTS), "-draw", hearts(SMALL_HEARTS), drawn)
    convert(drawn, "-channel", "RGB", "-evaluate", "set", "100%", "+channel",
            "-channel", "A", "-blur", "0x4", "-evaluate", "multiply", "1.25", "+channel", glow)
    # Waves: two pale translucent bands drawn across the bottom.
    convert(sky, glow, "-composite", drawn, "-composite",
            "-stroke", "none", "-fill", "rgba(238,248,255,0.55)", "-draw", wave(w, h, 247.0, 6.0, 260.0, 0.6),
            "-fill", "rgba(250,253,255,0.80)", "-draw", wave(w, h, 262.0, 5.0, 330.0, 2.4),
            "-alpha", "off", "-colorspace", "sRGB", "-dither", "None", "-colors", "256", "-depth", "8",
            "ppm:" + ppm)
    write_bitmap(ppm, out_path)


FACE_OUTLINE = ["-stroke", "#9C3D6A", "-strokewidth", "1"]
# Left figure: a girl with a bow.
LEFT_FACE = [
    "-fill", "#FFE6CF", *FACE_OUTLINE, "-draw", "circle 19,18 19,5",
    "-fill", "#FF5C9D", "-stroke", "#B02A66", "-draw", "polygon 8,5 15,8 8,11", "-draw", "polygon 22,5 15,8 22,11",
    "-fill", "#B02A66", "-stroke", "none", "-draw", "circle 15,8 15,9.6",
    "-fill", "#3A2030", "-stroke", "none", "-draw", "circle 14.5,17 14.5,18.7", "-draw", "circle 23.5,17 23.5,18.7",
    "-fill", "white", "-draw", "point 14,16", "-draw", "point 23,16",
    "-fill", "#FF9EBF", "-draw", "ellipse 11.5,21.5 2.2,1.3 0,360", "-draw", "ellipse 26.5,21.5 2.2,1.3 0,360",
    "-fill", "none", "-stroke", "#8A2E55", "-strokewidth", "1.2", "-draw", "arc 15,19 23,26 20,160",
]
# Right figure: a boy with a tuft of hair.
RIGHT_FACE = [
    "-fill", "#FFE6CF", *FACE_OUTLINE, "-draw", "circle 255,18 255,5",
    "-fill", "none", "-stroke", "#7A4A2A", "-strokewidth", "1.4", "-draw", "bezier 255,5.5 253,1.5 258,1.5 257,4",
    "-draw", "bezier 252,6 249,3 250,1.5 252,3",
    "-fill", "#3A2030", "-stroke", "none",
    "-draw", "ellipse 250.5,17 1.5,2.2 0,360", "-draw", "ellipse 259.5,17 1.5,2.2 0,360",
    "-fill", "white", "-draw", "point 250,16", "-draw", "point 259,16",
    "-fill", "#FF9EBF", "-draw", "ellipse 247.5,21.5 2.2,1.3 0,360", "-draw", "ellipse 262.5,21.5 2.2,1.3 0,360",
    "-fill", "#C8465E", "-stroke", "#8A2E55", "-strokewidth", "1", "-draw", "path 'M 251,22 Q 255,27.5 259,22 Z'",
]


def fitted_text(work, font, site_name, site_address, room):
    """The site name and address side by side, at the largest size that fits `room` pixels."""
    name = os.path.join(work, "name.png")
    address = os.path.join(work, "address.png")
    text = os.path.join(work, "text.png")
    for size in (15, 14, 13, 12, 11):
        convert("-background", "none", "-fill", "#7A1446", "-font", font, "-pointsize", str(size),
                "label:" + site_name, name)
        convert("-background", "none", "-fill", "#8E1E57", "-font", font, "-pointsize", str(size - 2),
                "label:" + site_address, address)
        convert(name, "-size", "9x1", "xc:none", address, "-background", "none", "-gravity", "center",
                "+append", text)
        if int(convert(text, "-format", "%w", "info:")) <= room:
            return text
    fail("site name and address do not fit on the banner")


def make_banner(work, font, out_path):
    w, h = 274, 35
    site_name, site_address = site_values()
    text = fitted_text(work, font, site_name, site_address, w - 2 * 38)
    halo = os.path.join(work, "halo.png")
    ppm = os.path.join(work, "banner.ppm")
    # A soft white halo keeps the letters readable on the pink ground.
    convert(text, "-channel", "RGB", "-evaluate", "set", "100%", "+channel",
            "-channel", "A", "-morphology", "Dilate", "Disk:1", "-blur", "0x0.7", "-evaluate", "multiply", "0.85",
            "+channel", halo)
    convert("-size", "%dx%d" % (w, h), "gradient:#FFE0EE-#FFA9CF",
            "-fill", "none", "-stroke", "#E8609C", "-strokewidth", "1",
            "-draw", "rectangle 0,0 %d,%d" % (w - 1, h - 1),
            "-stroke", "rgba(255,255,255,0.7)", "-draw", "line 1,1 %d,1" % (w - 2),
            *LEFT_FACE, *RIGHT_FACE,
            halo, "-gravity", "center", "-geometry", "+0+0", "-composite",
            text, "-gravity", "center", "-geometry", "+0+0", "-composite",
            "-alpha", "off", "-dither", "None", "-colors", "128", "-depth", "8", "ppm:" + ppm)
    write_bitmap(ppm, out_path)


def make_icon(work, out_path):
    outline = "#8A5200"
    mask = os.path.join(work, "star-mask.png")
    star = os.path.join(work, "star.png")
    rgb = os.path.join(work, "star.ppm")
    alpha = os.path.join(work, "star-alpha.pgm")
    convert("-size", "48x48", "xc:none", "-fill", "white", "-stroke", "none", "-draw", star_body(), mask)
    convert("-size", "48x48", "-define", "gradient:center=22,23", "-define", "gradient:radii=23,23",
            "radial-gradient:#FFF4A8-#D98E05",
            "-fill", "none", "-stroke", "rgba(255,250,210,0.75)", "-strokewidth", "1.6", "-draw", star_ridges(),
            "-fill", "#FFF6C4", "-stroke", "rgba(160,100,0,0.6)", "-strokewidth", "0.5", "-draw", star_bumps(),
            "(", mask, "-alpha", "extract", ")", "-alpha", "off", "-compose", "CopyOpacity", "-composite",
            "-compose", "Over", "-fill", "none", "-stroke", outline, "-strokewidth", "1.4", "-draw", star_body(),
            star)
    # Binary transparency, then at most 255 colours (palette index 0 is kept for transparent).
    convert(star, "-channel", "A", "-threshold", "50%", "+channel",
            "-background", outline, "-alpha", "background", "-alpha", "off",
            "-dither", "None", "-colors", "255", "-depth", "8", "ppm:" + rgb)
    convert(star, "-alpha", "extract", "-depth", "8", "pgm:" + alpha)
    write_icon(rgb, alpha, out_path)


def first_difference(a, b):
    return next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))


def differences(out_dir):
    """One line for each picture in out_dir that is not byte for byte the one beside this file."""
    lines = []
    for name in OUTPUTS:
        with open(os.path.join(out_dir, name), "rb") as made, open(os.path.join(HERE, name), "rb") as kept:
            a, b = made.read(), kept.read()
        if a != b:
            lines.append("%s: made %d bytes, committed %d; first difference at byte %d"
                         % (name, len(a), len(b), first_difference(a, b)))
    return lines


def main():
    parser = argparse.ArgumentParser(description="Draws Qelvane's artwork.")
    parser.add_argument("--check", action="store_true", help="compare with the committed pictures")
    parser.add_argument("out_dir", nargs="?", default=HERE)
    args = parser.parse_args()
    if args.check and os.path.abspath(args.out_dir) == HERE:
        parser.error("--check needs a folder other than the committed pictures' own")
    try:
        font = check_tools()
    except MissingTool as missing:
        print("make_artwork: skipped: %s" % missing)
        return MISSING_TOOL
    os.makedirs(args.out_dir, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        make_background(work, os.path.join(args.out_dir, "background.bmp"))
        make_banner(work, font, os.path.join(args.out_dir, "banner.bmp"))
        write_cursor(os.path.join(args.out_dir, "hand.cur"))
        make_icon(work, os.path.join(args.out_dir, "qelvane.ico"))
    print("make_artwork: wrote %s to %s" % (" ".join(OUTPUTS), args.out_dir))
    if not args.check:
        return 0
    lines = differences(args.out_dir)
    for line in lines:
        print("make_artwork: " + line)
    if lines:
        print("make_artwork: run it without a folder to write the pictures beside it")
    return 1 if lines else 0


if __name__ == "__main__":
    sys.exit(main())
