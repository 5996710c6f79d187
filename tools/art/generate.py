#!/usr/bin/env python3
"""Draws Corvadin's bitmaps, icons and notification sound and writes them to resources/art/.

Plain Python 3, standard library only: shapes are rasterised here with supersampling and written as BMP, ICO
and WAV by hand. Button captions come from small grey-scale masks in tools/art/text/ (rendered once with
ImageMagick by --render-text and committed), so a normal run needs no other tool.

    python3 tools/art/generate.py                 # write resources/art/ from the committed text masks
    python3 tools/art/generate.py --render-text   # re-render the text masks first (needs ImageMagick)

The pixel sizes and places below must agree with resources/Corvadin.rc and the main window's button places.
"""
import math
import os
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ART_DIR = os.path.join(ROOT, "resources", "art")
TEXT_DIR = os.path.join(ROOT, "tools", "art", "text")

# ---- Palette --------------------------------------------------------------------------------------------------
HEADER_TOP = (30, 52, 82)
HEADER_BOTTOM = (19, 36, 60)
ACCENT = (0, 146, 214)
ACCENT_DARK = (0, 104, 176)
BODY = (255, 255, 255)
HAIRLINE = (222, 228, 235)
INK = (34, 46, 60)
MUTED_ON_DARK = (150, 172, 198)
WHITE = (255, 255, 255)
GREEN = (46, 184, 112)
RED = (232, 86, 80)
GREY_ICON = (112, 128, 146)
TRANSPARENT_RED = (255, 0, 0)

# ---- Main window geometry (client pixels) ---------------------------------------------------------------------
MAIN_SIZE = (625, 415)
HEADER_HEIGHT = 64          # dark band behind the top button row (buttons at y 20..61)
ACCENT_LINE = (64, 66)
FOOTER_LINE_Y = 366         # hairline between the results list and the lower buttons
TOP_BUTTONS = {             # name: (left, top, width, height)
    "start": (0, 20, 141, 41),
    "stop": (142, 20, 144, 41),
    "repair": (287, 20, 153, 41),
}
LOWER_BUTTONS = {
    "select_all": (311, 372, 139, 28),
    "repair_selected": (467, 372, 139, 28),
}
BUSY_PLACE = (588, 28, 26, 28)  # where the busy indicator sits on the header (26x28 faces)
HEADER_STRIP_HEIGHT = 68    # the rows the window repeats across its width: header, accent line and its shade
BANNER_PLACE = (448, 0, 138, HEADER_STRIP_HEIGHT)  # emblem and wordmark, kept left of the busy indicator
ART_SCALES = (1, 2)         # 100% and 200%; the program scales the 200% art down for the sizes between
POPUP_SIZE = (290, 321)
SMALL_REPAIR_SIZE = (122, 28)

# Every caption the art needs: key -> (text, ImageMagick font, pixel size).
TEXTS = {
    "start": ("Start Scanner", "DejaVu-Sans-Bold", 12),
    "stop": ("Stop Scanner", "DejaVu-Sans-Bold", 12),
    "repair": ("Repair Errors", "DejaVu-Sans-Bold", 12),
    "select_all": ("Select All", "DejaVu-Sans-Bold", 11),
    "repair_selected": ("Repair Selected", "DejaVu-Sans-Bold", 11),
    "repair_small": ("Repair Errors", "DejaVu-Sans-Bold", 11),
    "wordmark": ("Corvadin", "DejaVu-Sans-Bold", 17),
    "tagline": ("Registry Cleaner", "DejaVu-Sans", 10),
}


# ---- Canvas ---------------------------------------------------------------------------------------------------
# The scale the art is drawn at: 1 for 100%, 2 for 200%. Shapes, places and sizes are given in 100% pixels;
# a canvas holds SCALE times as many pixels each way.
SCALE = 1


class Canvas:
    """RGBA picture with straight (not premultiplied) alpha; colour channels 0..255, alpha 0..1. width and height
    are its pixels; design_width and design_height its size in 100% pixels."""

    def __init__(self, width, height, colour=(0, 0, 0), alpha=1.0):
        self.scale = SCALE
        self.design_width, self.design_height = width, height
        self.width, self.height = int(round(width * SCALE)), int(round(height * SCALE))
        self.px = [[colour[0], colour[1], colour[2], alpha] for _ in range(self.width * self.height)]

    def get(self, x, y):
        return self.px[y * self.width + x]

    def blend(self, x, y, colour, a):
        if a <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        p = self.px[y * self.width + x]
        a = min(a, 1.0)
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = (colour[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def crop(self, left, top, width, height):
        """The part at a place and size in 100% pixels."""
        c = Canvas(width, height)
        s = self.scale
        for y in range(c.height):
            for x in range(c.width):
                c.px[y * c.width + x] = list(self.get(int(left * s) + x, int(top * s) + y))
        return c

    def copy(self):
        return self.crop(0, 0, self.design_width, self.design_height)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def fill_rows(canvas, top, bottom, colour_of_row):
    """Fills whole rows; colour_of_row(y) gives each row's colour (used for horizontal bands). Rows are 100%
    pixels: at 200% each is two rows thick."""
    s = canvas.scale
    for y in range(max(int(top * s), 0), min(int(bottom * s), canvas.height)):
        colour = colour_of_row(int(y // s))
        for x in range(canvas.width):
            canvas.px[y * canvas.width + x] = [colour[0], colour[1], colour[2], 1.0]


def fill_shape(canvas, inside, bbox, colour, opacity=1.0, samples=4, crisp=False):
    """Paints colour where inside(x, y) holds, anti-aliased by samples x samples supersampling.

    colour may be a function of (x, y) for gradients. crisp paints pixels at least half covered fully and leaves
    the rest alone, for pictures whose background colour stands for transparency."""
    s = canvas.scale
    x0, y0, x1, y1 = (int(math.floor(bbox[0] * s)), int(math.floor(bbox[1] * s)),
                      int(math.ceil(bbox[2] * s)), int(math.ceil(bbox[3] * s)))
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    total = samples * samples
    for y in range(max(y0, 0), min(y1 + 1, canvas.height)):
        for x in range(max(x0, 0), min(x1 + 1, canvas.width)):
            hits = 0
            for oy in offsets:
                for ox in offsets:
                    if inside((x + ox) / s, (y + oy) / s):
                        hits += 1
            if not hits:
                continue
            cover = hits / total
            if crisp:
                if cover < 0.5:
                    continue
                cover = 1.0
            c = colour((x + 0.5) / s, (y + 0.5) / s) if callable(colour) else colour
            canvas.blend(x, y, c, cover * opacity)


# ---- Shapes (continuous coordinates; pixel (x, y) covers [x, x+1) x [y, y+1)) ----------------------------------
def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner, start_deg=0.0, sweep_deg=360.0):
    """Annulus, optionally only the part from start_deg sweeping clockwise (screen y points down)."""
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 > r_outer * r_outer or d2 < r_inner * r_inner:
            return False
        if sweep_deg >= 360:
            return True
        angle = (math.degrees(math.atan2(y - cy, x - cx)) - start_deg) % 360
        return angle <= sweep_deg
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                result = not result
        return result
    return inside


def capsule(ax, ay, bx, by, r):
    """Thick line from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = min(max(((x - ax) * dx + (y - ay) * dy) / length2, 0.0), 1.0)
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= r * r
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


# ---- Text masks -----------------------------------------------------------------------------------------------
def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    # Header: P5 <width> <height> <maxval> then one byte per pixel.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P5":
        raise ValueError(path + " is not a binary grey-scale PGM")
    width, height, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    pixels = data[pos + 1:pos + 1 + width * height]
    return width, height, [v / maxval for v in pixels]


def text_mask_path(key, scale):
    return os.path.join(TEXT_DIR, key + ("" if scale == 1 else "@%dx" % scale) + ".pgm")


def render_text_masks():
    os.makedirs(TEXT_DIR, exist_ok=True)
    for scale in ART_SCALES:
        for key, (text, font, size) in TEXTS.items():
            out = text_mask_path(key, scale)
            subprocess.run(["convert", "-density", "72", "-background", "black", "-fill", "white", "-font", font,
                            "-pointsize", str(size * scale), "label:" + text, "-colorspace", "gray", "-depth", "8",
                            out], check=True)
            print("rendered", out)


class TextMask:
    """A caption at the current SCALE; its sizes (ink_width, height) are in 100% pixels."""

    def __init__(self, key):
        self.scale = SCALE
        path = text_mask_path(key, SCALE)
        if not os.path.exists(path):
            sys.exit("missing text mask %s: run with --render-text (needs ImageMagick)" % path)
        self.pixel_width, self.pixel_height, self.cover = read_pgm(path)
        columns = [x for x in range(self.pixel_width)
                   if any(self.cover[y * self.pixel_width + x] > 0.02 for y in range(self.pixel_height))]
        self.ink_left, self.ink_right = (columns[0], columns[-1] + 1) if columns else (0, self.pixel_width)

    @property
    def ink_width(self):
        return (self.ink_right - self.ink_left) // self.scale

    @property
    def height(self):
        return self.pixel_height / self.scale

    def draw(self, canvas, left, top, colour, opacity=1.0):
        """Draws the text with its ink starting at left; top is the top of the label box (keeps baselines)."""
        s = self.scale
        for y in range(self.pixel_height):
            for x in range(self.ink_left, self.ink_right):
                c = self.cover[y * self.pixel_width + x]
                if c > 0:
                    canvas.blend(int(left * s) + x - self.ink_left, int(top * s) + y, colour, c * opacity)


# ---- File writers ---------------------------------------------------------------------------------------------
def to_byte(v):
    return max(0, min(255, int(round(v))))


def write_bmp(path, canvas):
    """Bottom-up BMP that LoadBitmap takes everywhere: 8-bit with a palette when the picture has at most 256
    colours (most faces and the large flat backgrounds), 24-bit otherwise."""
    pixels = [(to_byte(p[0]), to_byte(p[1]), to_byte(p[2])) for p in canvas.px]
    palette = sorted(set(pixels))
    bits = 8 if len(palette) <= 256 else 24
    row_size = ((canvas.width * bits // 8) + 3) & ~3
    index = {colour: i for i, colour in enumerate(palette)}
    image = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = pixels[y * canvas.width:(y + 1) * canvas.width]
        if bits == 8:
            data = bytes(index[c] for c in row)
        else:
            data = b"".join(bytes((b, g, r)) for r, g, b in row)
        image += data + b"\0" * (row_size - len(data))
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) if bits == 8 else b""
    offset = 14 + 40 + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    used = len(palette) if bits == 8 else 0
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, bits, 0, len(image), 2835, 2835,
                       used, 0)
    with open(path, "wb") as f:
        f.write(header + info + colour_table + image)


def icon_image(canvas):
    """One 32-bit icon image: BGRA colour rows and the 1-bit AND mask (1 = transparent), both bottom-up."""
    w, h = canvas.width, canvas.height
    colour = bytearray()
    mask = bytearray()
    mask_row_size = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_row_size)
        for x in range(w):
            r, g, b, a = canvas.get(x, y)
            colour += bytes((to_byte(b), to_byte(g), to_byte(r), to_byte(a * 255)))
            if a < 0.5:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + colour + mask


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for canvas, data in zip(canvases, images):
        directory += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32,
                                 len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + b"".join(images))


def write_wav(path, samples, rate):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 1, rate,
                         rate * 2, 2, 16, b"data", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


# ---- Backgrounds ----------------------------------------------------------------------------------------------
def header_colour(y):
    return mix(HEADER_TOP, HEADER_BOTTOM, y / (HEADER_HEIGHT - 1))


def main_background():
    """Horizontal bands only, so the picture also tiles without a seam where the window is wider than it."""
    width, height = MAIN_SIZE
    c = Canvas(width, height, BODY)

    def band(y):
        if y == 0:
            return mix(header_colour(0), WHITE, 0.12)
        if y < HEADER_HEIGHT:
            return header_colour(y)
        if ACCENT_LINE[0] <= y < ACCENT_LINE[1]:
            return ACCENT
        if y == ACCENT_LINE[1]:
            return (226, 232, 238)
        if y == ACCENT_LINE[1] + 1:
            return (243, 246, 249)
        if y == FOOTER_LINE_Y:
            return HAIRLINE
        return BODY

    fill_rows(c, 0, height, band)
    # Product mark on the free part of the header, between the top buttons and the busy indicator.
    emblem = 26
    ex, ey = 452, 20 + (41 - emblem) // 2
    draw_emblem(c, ex, ey, emblem)
    word, tag = TextMask("wordmark"), TextMask("tagline")
    word.draw(c, ex + emblem + 8, ey - 4, WHITE)
    tag.draw(c, ex + emblem + 9, ey + 15, MUTED_ON_DARK)
    return c


def popup_background():
    width, height = POPUP_SIZE
    c = Canvas(width, height, BODY)

    # Nothing but white at the top and bottom edges: the window's client area can be a few rows taller than
    # the picture (caption heights differ), and those rows repeat its top.
    def band(y):
        if y in (32, 33):
            return ACCENT
        if y == 263:
            return HAIRLINE
        return BODY

    fill_rows(c, 0, height, band)
    return c


# ---- Emblem and icons -----------------------------------------------------------------------------------------
def draw_emblem(canvas, left, top, size, padding=0.0):
    """The product mark: a blue rounded square holding a white tick; the light sparkle shows from 24 pixels on."""
    s = size - 2 * padding
    x0, y0 = left + padding, top + padding
    radius = s * 0.24
    fill_shape(canvas, rounded_rect(x0, y0, x0 + s, y0 + s, radius), (x0, y0, x0 + s, y0 + s),
               lambda x, y: mix((24, 170, 236), ACCENT_DARK, (y - y0) / s))
    stroke = max(s * 0.085, 1.05)
    tick = union(capsule(x0 + s * 0.24, y0 + s * 0.53, x0 + s * 0.43, y0 + s * 0.72, stroke),
                 capsule(x0 + s * 0.43, y0 + s * 0.72, x0 + s * 0.77, y0 + s * 0.30, stroke))
    fill_shape(canvas, tick, (x0, y0, x0 + s, y0 + s), WHITE)
    if size >= 24:
        cx, cy, r = x0 + s * 0.76, y0 + s * 0.25, s * 0.13
        star = polygon([(cx, cy - r), (cx + r * 0.28, cy - r * 0.28), (cx + r, cy), (cx + r * 0.28, cy + r * 0.28),
                        (cx, cy + r), (cx - r * 0.28, cy + r * 0.28), (cx - r, cy), (cx - r * 0.28, cy - r * 0.28)])
        fill_shape(canvas, star, (cx - r, cy - r, cx + r, cy + r), (255, 228, 140))


def app_icon(size, padding):
    c = Canvas(size, size, (0, 0, 0), 0.0)
    draw_emblem(c, 0, 0, size, padding)
    return c


def gear_icon(size):
    c = Canvas(size, size, (0, 0, 0), 0.0)
    m = size / 2
    teeth = []
    for i in range(8):
        a = math.radians(i * 45)
        teeth.append(capsule(m + math.cos(a) * size * 0.30, m + math.sin(a) * size * 0.30,
                             m + math.cos(a) * size * 0.40, m + math.sin(a) * size * 0.40, size * 0.075))
    body = minus(union(circle(m, m, size * 0.33), *teeth), circle(m, m, size * 0.14))
    fill_shape(c, body, (0, 0, size, size), lambda x, y: mix((98, 116, 140), (58, 74, 96), y / size))
    fill_shape(c, ring(m, m, size * 0.26, size * 0.22), (0, 0, size, size), (136, 152, 174))
    return c


def log_icon(size):
    c = Canvas(size, size, (0, 0, 0), 0.0)
    s = size
    page = rounded_rect(s * 0.17, s * 0.06, s * 0.83, s * 0.94, s * 0.07)
    fill_shape(c, page, (0, 0, s, s), (120, 136, 156))
    fill_shape(c, rounded_rect(s * 0.17 + max(1, s * 0.04), s * 0.06 + max(1, s * 0.04),
                               s * 0.83 - max(1, s * 0.04), s * 0.94 - max(1, s * 0.04), s * 0.05),
               (0, 0, s, s), WHITE)
    lines = [0.26, 0.40, 0.54, 0.68] if size >= 24 else [0.30, 0.50, 0.70]
    for i, ly in enumerate(lines):
        right = 0.70 if i % 2 == 0 else 0.58
        fill_shape(c, capsule(s * 0.31, s * ly, s * right, s * ly, max(s * 0.035, 0.7)), (0, 0, s, s), ACCENT)
    return c


def update_icon(size):
    c = Canvas(size, size, (0, 0, 0), 0.0)
    s, m = size, size / 2
    outer, inner = s * 0.40, s * 0.27
    arrows = union(ring(m, m, outer, inner, 200, 130), ring(m, m, outer, inner, 20, 130))
    mid = (outer + inner) / 2
    heads = []
    for end_deg in (330, 150):
        a = math.radians(end_deg)
        px, py = m + math.cos(a) * mid, m + math.sin(a) * mid
        tx, ty = -math.sin(a), math.cos(a)          # clockwise tangent
        nx, ny = math.cos(a), math.sin(a)
        w, length = s * 0.19, s * 0.20
        heads.append(polygon([(px + nx * w, py + ny * w), (px - nx * w, py - ny * w),
                              (px + tx * length, py + ty * length)]))
    fill_shape(c, union(arrows, *heads), (0, 0, s, s), lambda x, y: mix((64, 200, 128), (28, 150, 90), y / s))
    return c


def about_icon(size):
    c = Canvas(size, size, (0, 0, 0), 0.0)
    s, m = size, size / 2
    fill_shape(c, circle(m, m, s * 0.45), (0, 0, s, s), lambda x, y: mix((40, 166, 232), ACCENT_DARK, y / s))
    fill_shape(c, circle(m, s * 0.29, s * 0.075), (0, 0, s, s), WHITE)
    fill_shape(c, capsule(m, s * 0.46, m, s * 0.72, s * 0.07), (0, 0, s, s), WHITE)
    return c


def ignore_icon(size):
    """A list page with a slashed ring over its lower right corner: entries left out."""
    c = log_icon(size)
    s = size
    cx, cy, r = s * 0.66, s * 0.66, s * 0.30
    fill_shape(c, circle(cx, cy, r), (0, 0, s, s), WHITE)
    width = max(s * 0.07, 1.2)
    sign = union(ring(cx, cy, r * 0.92, r * 0.92 - width * 1.6),
                 capsule(cx - r * 0.58, cy + r * 0.58, cx + r * 0.58, cy - r * 0.58, width * 0.8))
    fill_shape(c, sign, (0, 0, s, s), RED)
    return c


# ---- Button faces ---------------------------------------------------------------------------------------------
STATES = ("normal", "pressed", "hover", "disabled")


def start_glyph(canvas, cx, cy, r, colour, glyph):
    fill_shape(canvas, circle(cx, cy, r), (cx - r, cy - r, cx + r, cy + r), colour)
    tri = polygon([(cx - r * 0.32, cy - r * 0.48), (cx + r * 0.52, cy), (cx - r * 0.32, cy + r * 0.48)])
    fill_shape(canvas, tri, (cx - r, cy - r, cx + r, cy + r), glyph)


def stop_glyph(canvas, cx, cy, r, colour, glyph):
    fill_shape(canvas, circle(cx, cy, r), (cx - r, cy - r, cx + r, cy + r), colour)
    q = r * 0.40
    fill_shape(canvas, rounded_rect(cx - q, cy - q, cx + q, cy + q, r * 0.1), (cx - r, cy - r, cx + r, cy + r),
               glyph)


def repair_glyph(canvas, cx, cy, r, colour, glyph):
    fill_shape(canvas, circle(cx, cy, r), (cx - r, cy - r, cx + r, cy + r), colour)
    w = r * 0.15
    tick = union(capsule(cx - r * 0.45, cy + r * 0.02, cx - r * 0.12, cy + r * 0.36, w),
                 capsule(cx - r * 0.12, cy + r * 0.36, cx + r * 0.48, cy - r * 0.32, w))
    fill_shape(canvas, tick, (cx - r, cy - r, cx + r, cy + r), glyph)


TOP_GLYPHS = {"start": (start_glyph, GREEN), "stop": (stop_glyph, RED), "repair": (repair_glyph, ACCENT)}


def top_button_face(background, name, state):
    """A toolbar face drawn over the header behind it: round icon and caption, with a state overlay."""
    left, top, width, height = TOP_BUTTONS[name]
    face = background.crop(left, top, width, height)
    box = rounded_rect(2, 2, width - 2, height - 2, 5)
    outline = minus(box, rounded_rect(3, 3, width - 3, height - 3, 4))
    area = (0, 0, width, height)
    if state == "normal":
        fill_shape(face, box, area, WHITE, 0.05)
        fill_shape(face, outline, area, WHITE, 0.10)
    elif state == "hover":
        fill_shape(face, box, area, WHITE, 0.14)
        fill_shape(face, outline, area, (110, 200, 245), 0.85)
    elif state == "pressed":
        fill_shape(face, box, area, (0, 0, 0), 0.28)
        fill_shape(face, outline, area, (110, 200, 245), 0.6)
    else:
        fill_shape(face, box, area, WHITE, 0.03)
    shift = 1 if state == "pressed" else 0
    draw_glyph, colour = TOP_GLYPHS[name]
    text = TextMask(name)
    radius = 11
    gap = 9
    group = 2 * radius + gap + text.ink_width
    gx = (width - group) // 2 + shift
    cy = height / 2 + shift
    if state == "disabled":
        draw_glyph(face, gx + radius, cy, radius, (74, 90, 110), (128, 142, 160))
        text.draw(face, gx + 2 * radius + gap, cy - text.height / 2, (118, 134, 154))
    else:
        draw_glyph(face, gx + radius, cy, radius, mix(colour, WHITE, 0.12) if state == "hover" else colour, WHITE)
        text.draw(face, gx + 2 * radius + gap, cy - text.height / 2, WHITE)
    return face


LOWER_STYLES = {
    # state: (fill top, fill bottom, border, text)
    "primary": {
        "normal": ((18, 150, 222), (0, 118, 196), (0, 104, 176), WHITE),
        "hover": ((44, 170, 238), (10, 138, 214), (0, 120, 196), WHITE),
        "pressed": ((0, 100, 168), (0, 90, 152), (0, 78, 136), (226, 240, 250)),
        "disabled": ((230, 234, 239), (224, 229, 235), (212, 219, 226), (156, 167, 180)),
    },
    "secondary": {
        "normal": ((255, 255, 255), (244, 247, 250), (190, 200, 212), INK),
        "hover": ((246, 251, 255), (232, 243, 252), (0, 132, 206), (0, 92, 156)),
        "pressed": ((222, 233, 244), (214, 227, 240), (0, 104, 176), (0, 78, 136)),
        "disabled": ((249, 250, 251), (245, 247, 249), (226, 230, 235), (176, 184, 194)),
    },
}


def lower_button_face(behind, text_key, style, state):
    """A flat rounded button for the white body of the windows; behind is the picture under it."""
    face = behind.copy()
    width, height = face.design_width, face.design_height
    top_c, bottom_c, border, ink = LOWER_STYLES[style][state]
    area = (0, 0, width, height)
    fill_shape(face, rounded_rect(0, 0, width, height, 5), area, border)
    fill_shape(face, rounded_rect(1, 1, width - 1, height - 1, 4), area,
               lambda x, y: mix(top_c, bottom_c, y / height))
    if state == "normal" and style == "primary":
        fill_shape(face, rounded_rect(1, 1, width - 1, 2, 1), area, WHITE, 0.18)
    shift = 1 if state == "pressed" else 0
    text = TextMask(text_key)
    text.draw(face, (width - text.ink_width) // 2 + shift, (height - text.height) / 2 + shift, ink)
    return face


# ---- Busy indicator -------------------------------------------------------------------------------------------
def busy_face(background, frame):
    """A ring of six dots on the header; frame None is the resting face, 0..5 the animation with the bright dot
    running clockwise."""
    left, top, width, height = BUSY_PLACE
    face = background.crop(left, top, width, height)
    cx, cy = width / 2, height / 2
    for i in range(6):
        a = math.radians(-90 + i * 60)
        x, y = cx + math.cos(a) * 8, cy + math.sin(a) * 8
        if frame is None:
            colour, r = (88, 110, 138), 2.3
        else:
            age = (frame - i) % 6            # 0 = the leading dot
            colour = mix((120, 210, 250), (60, 84, 114), age / 5)
            r = 3.1 - age * 0.22
        fill_shape(face, circle(x, y, r), (x - r - 1, y - r - 1, x + r + 1, y + r + 1), colour)
    return face


# ---- Drive tree tick boxes ------------------------------------------------------------------------------------
def drive_states():
    """Four 16x16 images on red (the transparent colour): 0 unused, 1 ticked, 2 mixed, 3 empty."""
    c = Canvas(64, 16, TRANSPARENT_RED)
    for index in (1, 2, 3):
        x0 = index * 16
        box = (x0 + 1.5, 1.5, x0 + 14.5, 14.5)
        filled = index == 1
        fill_shape(c, rounded_rect(*box, 2), box, ACCENT_DARK if filled else (112, 126, 142), crisp=True)
        inner = (box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1)
        fill_shape(c, rounded_rect(*inner, 1), inner, ACCENT if filled else WHITE, crisp=True)
        if index == 1:
            tick = union(capsule(x0 + 4.6, 8.2, x0 + 7.0, 10.6, 1.05), capsule(x0 + 7.0, 10.6, x0 + 11.4, 5.4, 1.05))
            fill_shape(c, tick, inner, WHITE)
        elif index == 2:
            fill_shape(c, rounded_rect(x0 + 5, 5, x0 + 11, 11, 1), inner, ACCENT)
    return c


# ---- Sound ----------------------------------------------------------------------------------------------------
def notify_sound(rate=22050):
    """A soft two-note chime: bell-like partials with an exponential decay, faded in and out to avoid clicks."""
    notes = [(0.00, 1046.5, 0.55), (0.14, 1568.0, 0.50)]   # C6 then G6
    length = 0.9
    samples = []
    for n in range(int(rate * length)):
        t = n / rate
        v = 0.0
        for start, freq, amp in notes:
            if t < start:
                continue
            u = t - start
            envelope = amp * math.exp(-u * 5.5) * min(1.0, u / 0.004)
            v += envelope * (math.sin(2 * math.pi * freq * u) + 0.28 * math.sin(2 * math.pi * freq * 2.01 * u)
                             + 0.08 * math.sin(2 * math.pi * freq * 3.02 * u))
        fade = min(1.0, (length - t) / 0.05)
        samples.append(0.42 * v * fade)
    return samples, rate


# ---- Output ---------------------------------------------------------------------------------------------------
def write_skin(out, suffix):
    """The skinned windows' bitmaps at the current SCALE, their file names ending in suffix. The main window's
    whole background is written at 100% only: the window paints its header strip across and its banner at the
    right, so a larger one is never needed."""
    main_bg = main_background()
    if SCALE == 1:
        write_bmp(out("main_background.bmp"), main_bg)
    write_bmp(out("main_header%s.bmp" % suffix), main_bg.crop(0, 0, 8, HEADER_STRIP_HEIGHT))
    write_bmp(out("main_banner%s.bmp" % suffix), main_bg.crop(*BANNER_PLACE))
    write_bmp(out("popup_background%s.bmp" % suffix), popup_background())

    for name in TOP_BUTTONS:
        for state in STATES:
            write_bmp(out("%s_%s%s.bmp" % (name, state, suffix)), top_button_face(main_bg, name, state))
    for name, style in (("select_all", "secondary"), ("repair_selected", "primary")):
        left, top, width, height = LOWER_BUTTONS[name]
        for state in STATES:
            face = lower_button_face(main_bg.crop(left, top, width, height), name, style, state)
            write_bmp(out("%s_%s%s.bmp" % (name, state, suffix)), face)
    # Shared by the pop-up and the main window's lower-left button: both stand on the plain white body.
    for state in STATES:
        face = lower_button_face(Canvas(*SMALL_REPAIR_SIZE, BODY), "repair_small", "primary", state)
        write_bmp(out("repair_small_%s%s.bmp" % (state, suffix)), face)

    write_bmp(out("busy%s.bmp" % suffix), busy_face(main_bg, None))
    for frame in range(6):
        write_bmp(out("busy_%d%s.bmp" % (frame + 1, suffix)), busy_face(main_bg, frame))


def main():
    if "--render-text" in sys.argv:
        render_text_masks()
    os.makedirs(ART_DIR, exist_ok=True)

    def out(name):
        return os.path.join(ART_DIR, name)

    global SCALE
    for SCALE in ART_SCALES:
        write_skin(out, "" if SCALE == 1 else "_%d" % (SCALE * 100))
    SCALE = 1

    write_bmp(out("drive_states.bmp"), drive_states())

    write_ico(out("corvadin.ico"), [app_icon(16, 0.5), app_icon(32, 1), app_icon(48, 1.5)])
    write_ico(out("tray.ico"), [app_icon(16, 0), app_icon(32, 0.5)])
    write_ico(out("page_general.ico"), [gear_icon(32), gear_icon(16)])
    write_ico(out("page_advanced.ico"), [log_icon(32), log_icon(16)])
    write_ico(out("page_update.ico"), [update_icon(32), update_icon(16)])
    write_ico(out("page_about.ico"), [about_icon(32), about_icon(16)])
    write_ico(out("page_ignore.ico"), [ignore_icon(32), ignore_icon(16)])

    samples, rate = notify_sound()
    write_wav(out("notify.wav"), samples, rate)
    print("wrote", ART_DIR)


if __name__ == "__main__":
    main()
