#!/usr/bin/env bash
# Generates the artwork used by Qelvane's windows:
#   background.bmp  389x284 8-bit RLE-compressed bitmap, light blue with glowing hearts
#                   and a wave
#   banner.bmp      274x35 8-bit RLE-compressed bitmap, pink strip with two cartoon faces
#                   and the download site's name and address (read from resources/site_info.h)
#   hand.cur        32x32 monochrome link cursor, hot spot (6,2)
#   qelvane.ico     48x48 256-colour program icon (golden starfish)
#
# Usage: resources/make-artwork.sh [output-folder]   (default: this script's folder)
#
# Needs ImageMagick 6 (convert), python3 (standard library only), fontconfig and the
# WenQuanYi Zen Hei font (fonts-wqy-zenhei). The output is byte-for-byte reproducible:
# the files are written by the Python helper below, without metadata, and every drawing
# step is deterministic.
#
# The pictures are palettised run-length bitmaps because GDI expands those itself on every
# Windows version: the program needs no image codec, and so no COM, to show them.
set -euo pipefail

script_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out_dir="${1:-$script_dir}"
site_info="$script_dir/site_info.h"

die() { echo "make-artwork: $*" >&2; exit 1; }

command -v convert >/dev/null || die "ImageMagick 'convert' not found"
command -v python3 >/dev/null || die "python3 not found"
command -v fc-list >/dev/null || die "fontconfig 'fc-list' not found"
[[ -f "$site_info" ]] || die "cannot read $site_info"
mkdir -p "$out_dir"
out_dir="$(cd "$out_dir" && pwd)"

# Keep ImageMagick from picking up anything environment dependent.
export LC_ALL=C.UTF-8
export MAGICK_THREAD_LIMIT=1
export OMP_NUM_THREADS=1

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# ---------------------------------------------------------------------------
# Site name and address, from the C++ header (values are string literals).
# ---------------------------------------------------------------------------
# Accepts narrow or wide literals:  kName = "..."  /  kName = L"..."  /  kName{u8"..."}
# and arrays:  kName[] = L"..."
header_value() {
  sed -nE "s/.*[^[:alnum:]_]$1(\\[[^]]*\\])?[[:space:]]*(=|\{)[[:space:]]*(L|u8|u|U)?\"([^\"]*)\".*/\\4/p" \
      "$site_info" | head -n 1
}
site_name="$(header_value kSiteName)"
site_address="$(header_value kDownloadAddress)"
[[ -n "$site_name" ]] || die "kSiteName not found in $site_info"
[[ -n "$site_address" ]] || die "kDownloadAddress not found in $site_info"

# ---------------------------------------------------------------------------
# Font for the Chinese site name.
# ---------------------------------------------------------------------------
cjk_font="$(fc-list -f '%{file}\n' ':family=WenQuanYi Zen Hei' | sort | head -n 1)"
if [[ -z "$cjk_font" ]]; then
  cjk_font="$(fc-match -f '%{file}' 'WenQuanYi Zen Hei' 2>/dev/null || true)"
  case "$cjk_font" in
    *wqy-zenhei*) ;;
    *) die "font 'WenQuanYi Zen Hei' is not installed (install the fonts-wqy-zenhei package)" ;;
  esac
fi
[[ -r "$cjk_font" ]] || die "font file $cjk_font is not readable"

# ---------------------------------------------------------------------------
# Python helper: geometry for the drawings and the .cur/.ico writers.
# ---------------------------------------------------------------------------
cat >"$work/art.py" <<'PYTHON'
import math
import struct
import sys

# ----- drawing geometry (printed as ImageMagick draw primitives) -----

def fmt(v):
    return "%.2f" % v

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
        coords = []
        for x, y in pts:
            rx = cx + k * (x * ca - y * sa)
            ry = cy + k * (x * sa + y * ca)
            coords.append(fmt(rx) + "," + fmt(ry))
        parts.append(cmd + " " + " ".join(coords))
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

def cmd_hearts(which):
    items = HEARTS if which == "big" else SMALL_HEARTS
    for x, y, w, ang in items:
        print("path '%s'" % heart_path(x, y, w, ang))

def cmd_wave(width, height, base, amp, length, phase):
    width, height = int(width), int(height)
    base, amp, length, phase = float(base), float(amp), float(length), float(phase)
    pts = []
    for x in range(-4, width + 5, 3):
        y = base + amp * math.sin(2 * math.pi * x / length + phase) \
            + 0.35 * amp * math.sin(2 * math.pi * x / (length * 0.47) + 2 * phase)
        pts.append((x, y))
    pts.append((width + 4, height + 4))
    pts.append((-4, height + 4))
    print("polygon " + " ".join(fmt(x) + "," + fmt(y) for x, y in pts))

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
        r = STAR_WAIST + (STAR_TIP - STAR_WAIST) * f
        pts.append(star_raw(theta, r))
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

def star_outline():
    scale, ox, oy = star_placement()
    return [(ox + scale * x, oy + scale * y) for x, y in star_raw_outline()]

def cmd_star(part):
    if part == "body":
        pts = star_outline()
        print("path 'M " + " L ".join(fmt(x) + "," + fmt(y) for x, y in pts) + " Z'")
    elif part == "ridges":
        # Pale line along the middle of each arm.
        for k in range(5):
            theta = -math.pi / 2 + 2 * math.pi * k / 5
            pts = [star_point(theta, r) for r in (2.0, 6.0, 10.0, 14.0, 17.5)]
            print("polyline " + " ".join(fmt(x) + "," + fmt(y) for x, y in pts))
    elif part == "bumps":
        # Small knobs on either side of each ridge.
        for k in range(5):
            theta = -math.pi / 2 + 2 * math.pi * k / 5
            for r, off in ((7.5, 0.30), (12.0, 0.16)):
                for side in (-1, 1):
                    x, y = star_point(theta + side * off, r)
                    print("circle %s,%s %s,%s" % (fmt(x), fmt(y), fmt(x + 0.9), fmt(y)))
    else:
        raise SystemExit("unknown star part " + part)

# ----- binary writers -----

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
        raise SystemExit("%s: expected 8-bit samples, got maxval %d" % (path, maxval))
    channels = {b"P6": 3, b"P5": 1}.get(magic)
    if channels is None:
        raise SystemExit("%s: unsupported image type %r" % (path, magic))
    pixels = data[pos:pos + w * h * channels]
    if len(pixels) != w * h * channels:
        raise SystemExit("%s: truncated image" % path)
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
    return struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, image_size, 0, 0,
                       colours_used, 0)

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

def cmd_cur(out_path):
    rows = HAND.strip("\n").split("\n")
    if len(rows) != 32 or any(len(r) != 32 for r in rows):
        raise SystemExit("cursor art must be 32 rows of 32 characters")
    if any(c not in ".Xo" for r in rows for c in r):
        raise SystemExit("cursor art may only use '.', 'X' and 'o'")
    hx, hy = HAND_HOTSPOT
    if rows[hy][hx] != "X":
        raise SystemExit("cursor hot spot must be on the fingertip outline")
    w = h = 32
    pixels = "".join(rows)
    xor_bits = [1 if c == "o" else 0 for c in pixels]   # white
    and_bits = [1 if c == "." else 0 for c in pixels]   # transparent
    xor = mask_rows(xor_bits, w, h)
    andm = mask_rows(and_bits, w, h)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    image = bitmap_info_header(w, h, 1, len(xor) + len(andm), 2) + palette + xor + andm
    icondir = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 2, 0, hx, hy, len(image), 6 + 16)
    with open(out_path, "wb") as f:
        f.write(icondir + entry + image)

def cmd_ico(rgb_path, alpha_path, out_path):
    w, h, ch, rgb = read_pnm(rgb_path)
    aw, ah, ach, alpha = read_pnm(alpha_path)
    if ch != 3 or ach != 1 or (w, h) != (aw, ah):
        raise SystemExit("icon colour and alpha images do not match")
    if (w, h) != (48, 48):
        raise SystemExit("icon image must be 48x48, got %dx%d" % (w, h))
    opaque = [alpha[i] >= 128 for i in range(w * h)]
    colours = sorted({tuple(rgb[3 * i:3 * i + 3]) for i in range(w * h) if opaque[i]})
    if len(colours) > 255:
        raise SystemExit("icon has %d colours, at most 255 allowed" % len(colours))
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
    andm = mask_rows([0 if o else 1 for o in opaque], w, h)
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

def cmd_bmp(ppm_path, out_path):
    w, h, ch, rgb = read_pnm(ppm_path)
    if ch != 3:
        raise SystemExit("%s: expected a colour image" % ppm_path)
    pixels = [rgb[3 * i:3 * i + 3] for i in range(w * h)]
    colours = sorted(set(pixels))
    if len(colours) > 256:
        raise SystemExit("%s has %d colours, at most 256 allowed" % (ppm_path, len(colours)))
    index_of = {c: i for i, c in enumerate(colours)}
    indices = bytes(index_of[p] for p in pixels)
    bits = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        bits += rle8_row(indices[y * w:(y + 1) * w]) + b"\0\0"  # end of line
    bits[-2:] = b"\0\1"  # the last end of line becomes end of bitmap
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    BI_RLE8 = 1
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, BI_RLE8, len(bits), 2835, 2835,
                       len(colours), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(out_path, "wb") as f:
        f.write(header + info + palette + bytes(bits))

def main(argv):
    cmd, args = argv[1], argv[2:]
    {
        "hearts": cmd_hearts,
        "wave": cmd_wave,
        "star": cmd_star,
        "cur": cmd_cur,
        "ico": cmd_ico,
        "bmp": cmd_bmp,
    }[cmd](*args)

if __name__ == "__main__":
    main(sys.argv)
PYTHON

art() { python3 "$work/art.py" "$@"; }

# ---------------------------------------------------------------------------
# 1. background.bmp
# ---------------------------------------------------------------------------
bg_w=389
bg_h=284
art hearts big >"$work/hearts.mvg"
art hearts small >"$work/small-hearts.mvg"
art wave "$bg_w" "$bg_h" 247 6 260 0.6 >"$work/wave-back.mvg"
art wave "$bg_w" "$bg_h" 262 5 330 2.4 >"$work/wave-front.mvg"

# Sky: a deeper blue behind the hearts fading to a calm, very light blue.
convert -size "${bg_w}x$((bg_h / 2))" gradient:'#9FCFF1-#D3EBFB' \
        -size "${bg_w}x$((bg_h - bg_h / 2))" gradient:'#D3EBFB-#DDF0FC' \
        -append "$work/sky.png"
# Hearts: sharp white shapes over a soft white glow.
convert -size "${bg_w}x${bg_h}" xc:"rgba(255,255,255,0)" -fill white -stroke none \
        -draw "$(<"$work/hearts.mvg")" -draw "$(<"$work/small-hearts.mvg")" "$work/hearts.png"
convert "$work/hearts.png" -channel RGB -evaluate set 100% +channel \
        -channel A -blur 0x4 -evaluate multiply 1.25 +channel \
        "$work/glow.png"
# Waves: two pale translucent bands drawn across the bottom.
convert "$work/sky.png" "$work/glow.png" -composite "$work/hearts.png" -composite \
        -stroke none -fill 'rgba(238,248,255,0.55)' -draw "$(<"$work/wave-back.mvg")" \
        -fill 'rgba(250,253,255,0.80)' -draw "$(<"$work/wave-front.mvg")" \
        -alpha off -colorspace sRGB -dither None -colors 256 -depth 8 "ppm:$work/background.ppm"
art bmp "$work/background.ppm" "$out_dir/background.bmp"

# ---------------------------------------------------------------------------
# 2. banner.bmp
# ---------------------------------------------------------------------------
bn_w=274
bn_h=35
face_common=(-stroke '#9C3D6A' -strokewidth 1)
# Left figure: a girl with a bow.
left_face=(
  -fill '#FFE6CF' "${face_common[@]}" -draw "circle 19,18 19,5"
  -fill '#FF5C9D' -stroke '#B02A66' -draw "polygon 8,5 15,8 8,11" -draw "polygon 22,5 15,8 22,11"
  -fill '#B02A66' -stroke none -draw "circle 15,8 15,9.6"
  -fill '#3A2030' -stroke none -draw "circle 14.5,17 14.5,18.7" -draw "circle 23.5,17 23.5,18.7"
  -fill white -draw "point 14,16" -draw "point 23,16"
  -fill '#FF9EBF' -draw "ellipse 11.5,21.5 2.2,1.3 0,360" -draw "ellipse 26.5,21.5 2.2,1.3 0,360"
  -fill none -stroke '#8A2E55' -strokewidth 1.2 -draw "arc 15,19 23,26 20,160"
)
# Right figure: a boy with a tuft of hair.
right_face=(
  -fill '#FFE6CF' "${face_common[@]}" -draw "circle 255,18 255,5"
  -fill none -stroke '#7A4A2A' -strokewidth 1.4 -draw "bezier 255,5.5 253,1.5 258,1.5 257,4"
  -draw "bezier 252,6 249,3 250,1.5 252,3"
  -fill '#3A2030' -stroke none -draw "ellipse 250.5,17 1.5,2.2 0,360" -draw "ellipse 259.5,17 1.5,2.2 0,360"
  -fill white -draw "point 250,16" -draw "point 259,16"
  -fill '#FF9EBF' -draw "ellipse 247.5,21.5 2.2,1.3 0,360" -draw "ellipse 262.5,21.5 2.2,1.3 0,360"
  -fill '#C8465E' -stroke '#8A2E55' -strokewidth 1 -draw "path 'M 251,22 Q 255,27.5 259,22 Z'"
)

# Text: the site name (Chinese) and the address, side by side, fitted between the faces.
text_room=$((bn_w - 2 * 38))
for size in 15 14 13 12 11; do
  convert -background none -fill '#7A1446' -font "$cjk_font" -pointsize "$size" \
          label:"$site_name" "$work/name.png"
  convert -background none -fill '#8E1E57' -font "$cjk_font" -pointsize $((size - 2)) \
          label:"$site_address" "$work/address.png"
  convert "$work/name.png" -size 9x1 xc:none "$work/address.png" \
          -background none -gravity center +append "$work/text.png"
  text_w="$(convert "$work/text.png" -format '%w' info:)"
  (( text_w <= text_room )) && break
done
(( text_w <= text_room )) || die "site name and address do not fit on the banner"
# A soft white halo keeps the letters readable on the pink ground.
convert "$work/text.png" -channel RGB -evaluate set 100% +channel \
        -channel A -morphology Dilate Disk:1 -blur 0x0.7 -evaluate multiply 0.85 +channel \
        "$work/halo.png"
convert -size "${bn_w}x${bn_h}" gradient:'#FFE0EE-#FFA9CF' \
        -fill none -stroke '#E8609C' -strokewidth 1 -draw "rectangle 0,0 $((bn_w - 1)),$((bn_h - 1))" \
        -stroke 'rgba(255,255,255,0.7)' -draw "line 1,1 $((bn_w - 2)),1" \
        "${left_face[@]}" "${right_face[@]}" \
        "$work/halo.png" -gravity center -geometry +0+0 -composite \
        "$work/text.png" -gravity center -geometry +0+0 -composite \
        -alpha off -dither None -colors 128 -depth 8 "ppm:$work/banner.ppm"
art bmp "$work/banner.ppm" "$out_dir/banner.bmp"

# ---------------------------------------------------------------------------
# 3. hand.cur
# ---------------------------------------------------------------------------
art cur "$out_dir/hand.cur"

# ---------------------------------------------------------------------------
# 4. qelvane.ico
# ---------------------------------------------------------------------------
art star body >"$work/star-body.mvg"
art star ridges >"$work/star-ridges.mvg"
art star bumps >"$work/star-bumps.mvg"
outline='#8A5200'
convert -size 48x48 xc:none -fill white -stroke none -draw "$(<"$work/star-body.mvg")" \
        "$work/star-mask.png"
convert -size 48x48 -define gradient:center=22,23 -define gradient:radii=23,23 \
        radial-gradient:'#FFF4A8-#D98E05' \
        -fill none -stroke 'rgba(255,250,210,0.75)' -strokewidth 1.6 -draw "$(<"$work/star-ridges.mvg")" \
        -fill '#FFF6C4' -stroke 'rgba(160,100,0,0.6)' -strokewidth 0.5 -draw "$(<"$work/star-bumps.mvg")" \
        \( "$work/star-mask.png" -alpha extract \) -alpha off -compose CopyOpacity -composite \
        -compose Over -fill none -stroke "$outline" -strokewidth 1.4 -draw "$(<"$work/star-body.mvg")" \
        "$work/star.png"
# Binary transparency, then at most 255 colours (palette index 0 is kept for transparent).
convert "$work/star.png" -channel A -threshold 50% +channel \
        -background "$outline" -alpha background -alpha off \
        -dither None -colors 255 -depth 8 "ppm:$work/star.ppm"
convert "$work/star.png" -alpha extract -depth 8 "pgm:$work/star-alpha.pgm"
art ico "$work/star.ppm" "$work/star-alpha.pgm" "$out_dir/qelvane.ico"

echo "make-artwork: wrote background.bmp banner.bmp hand.cur qelvane.ico to $out_dir"
