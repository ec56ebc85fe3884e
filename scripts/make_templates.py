#!/usr/bin/env python3
"""Writes the templates that ship with the program into Files/Template.

Each template gets a front-end placeholder movie (index.swf) of its size, a catalogue picture
(Thumb.png, 130 x 93), a starting shop.xml, product thumbnails, and the web storefront: the shared
src/storefront/storefront.js and a storefront.css made of the template's own look followed by the
shared layout. Run it from the checkout and commit the result; the build only copies the files.
"""
import os
import struct
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Files", "Template")
STOREFRONT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "storefront")

# name, size (w, h), window mode, background, accent, currency (symbol, code), title
TEMPLATES = [
    ("ClassicBlue", (640, 420), 1, (0xF4, 0xF7, 0xFB), (0x1F, 0x4E, 0x9C), ("$", "USD"),
     "Corner Shop"),
    ("PaperWhite", (760, 520), 1, (0xFF, 0xFF, 0xFF), (0x55, 0x55, 0x55), ("\u20ac", "EUR"),
     '<font size="18">Paper &amp; Ink</font>'),
    ("NeonNight", (800, 600), 2, (0x12, 0x12, 0x1E), (0xE0, 0x2A, 0xD0), ("$", "USD"),
     "Neon Records"),
    ("Sunrise", (700, 480), 2, (0xFF, 0xF3, 0xE0), (0xF0, 0x7A, 0x1A), ("\u00a3", "GBP"),
     "Sunrise Market"),
]

SANS = 'system-ui, -apple-system, "Segoe UI", Roboto, "Helvetica Neue", Arial, sans-serif'

# The storefront's look per template: its colours as CSS variables, and rules of its own that follow
# the shared layout.
LOOKS = {
    "ClassicBlue": ({
        "bg": "#f4f7fb", "surface": "#ffffff", "text": "#1b2533", "muted": "#5b6675", "link": "#1f4e9c",
        "focus": "#f5a623", "border": "#d6deea", "radius": "8px", "font": SANS, "title-font": SANS,
        "title-spacing": "0", "head-bg": "#1f4e9c", "head-text": "#ffffff", "head-rule": "0",
        "cart-bg": "#ffffff", "cart-text": "#1f4e9c", "hover": "#e8eef8", "accent": "#1f4e9c",
        "accent-text": "#ffffff", "shadow": "0 1px 2px rgba(16, 32, 64, .06)",
        "shadow-hover": "0 6px 16px rgba(16, 32, 64, .14)", "media-bg": "#eef2f8", "price": "#1b2533",
        "sale": "#c62828", "input-border": "#b8c4d6", "input-bg": "#ffffff", "ok": "#1d7a3a",
        "danger": "#b3261e",
    }, ""),
    "PaperWhite": ({
        "bg": "#ffffff", "surface": "#ffffff", "text": "#222222", "muted": "#666666", "link": "#222222",
        "focus": "#2a6df4", "border": "#e2e2e2", "radius": "2px", "font": SANS,
        "title-font": 'Georgia, "Times New Roman", serif', "title-spacing": ".02em", "head-bg": "#ffffff",
        "head-text": "#222222", "head-rule": "2px solid #222222", "cart-bg": "#222222",
        "cart-text": "#ffffff", "hover": "#f2f2f2", "accent": "#333333", "accent-text": "#ffffff",
        "shadow": "none", "shadow-hover": "0 4px 12px rgba(0, 0, 0, .08)", "media-bg": "#f6f6f4",
        "price": "#222222", "sale": "#a4262c", "input-border": "#bdbdbd", "input-bg": "#ffffff",
        "ok": "#2e6b30", "danger": "#a4262c",
    }, ".sf-cats a[aria-current] { background: none; color: var(--sf-text); "
       "box-shadow: inset 0 -2px 0 var(--sf-text); border-radius: 0; }\n"),
    "NeonNight": ({
        "bg": "#12121e", "surface": "#1c1c2e", "text": "#f1eefa", "muted": "#aaa4c4", "link": "#ff8af2",
        "focus": "#33e1ff", "border": "#2f2d48", "radius": "12px", "font": SANS,
        "title-font": '"Trebuchet MS", ' + SANS, "title-spacing": ".04em",
        "head-bg": "linear-gradient(90deg, #0b0b14, #2a0f3a)", "head-text": "#ffffff",
        "head-rule": "1px solid #e02ad0", "cart-bg": "#c41fb5", "cart-text": "#ffffff", "hover": "#26243c",
        "accent": "#c41fb5", "accent-text": "#ffffff", "shadow": "none",
        "shadow-hover": "0 0 18px rgba(224, 42, 208, .35)", "media-bg": "#0d0d17", "price": "#ffffff",
        "sale": "#ff7aa8", "input-border": "#4a4668", "input-bg": "#15152a", "ok": "#5be3a0",
        "danger": "#ff8a9c",
    }, ".sf { color-scheme: dark; }\n"
       ".sf a.sf-title { text-shadow: 0 0 12px rgba(224, 42, 208, .8); }\n"),
    "Sunrise": ({
        "bg": "#fff8ee", "surface": "#ffffff", "text": "#2d1e0f", "muted": "#765f4a", "link": "#a84d07",
        "focus": "#1a73e8", "border": "#f0dcc2", "radius": "14px", "font": SANS,
        "title-font": '"Trebuchet MS", ' + SANS, "title-spacing": "0",
        "head-bg": "linear-gradient(90deg, #f07a1a, #f5a623)", "head-text": "#2b1600", "head-rule": "0",
        "cart-bg": "#2b1600", "cart-text": "#ffffff", "hover": "#fdebd3", "accent": "#a84d07",
        "accent-text": "#ffffff", "shadow": "0 1px 3px rgba(120, 60, 0, .08)",
        "shadow-hover": "0 8px 18px rgba(120, 60, 0, .16)", "media-bg": "#fff1de", "price": "#2d1e0f",
        "sale": "#c0392b", "input-border": "#e0c3a0", "input-bg": "#ffffff", "ok": "#2e7d32",
        "danger": "#b3261e",
    }, ".sf .sf-primary, .sf a.sf-cartlink { border-radius: 999px; }\n"),
}

THEMES = [
    (1, "Classic", ["ClassicBlue", "PaperWhite"]),
    (2, "Bold", ["NeonNight", "Sunrise", "ClassicBlue"]),
]


def png(width, height, pixel):
    """An 8-bit RGB PNG; pixel(x, y) gives (r, g, b)."""
    rows = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def swf(width, height, background):
    """An uncompressed SWF 9 movie of one frame: file attributes, background colour, show frame."""
    twips = [0, width * 20, 0, height * 20]
    bits = max(v.bit_length() for v in twips) + 1
    stream = format(bits, "05b") + "".join(format(v, "0%db" % bits) for v in twips)
    stream += "0" * (-len(stream) % 8)
    rect = bytes(int(stream[i:i + 8], 2) for i in range(0, len(stream), 8))

    def tag(code, data=b""):
        return struct.pack("<H", (code << 6) | len(data)) + data

    body = rect + struct.pack("<HH", 24 << 8, 1)  # 24 frames per second (8.8 fixed), one frame
    body += tag(69, struct.pack("<I", 0)) + tag(9, bytes(background)) + tag(1) + tag(0)
    return b"FWS" + bytes([9]) + struct.pack("<I", 8 + len(body)) + body


def thumb_picture(background, accent):
    def pixel(x, y):
        if y < 16:
            return accent
        if 8 <= x < 122 and 24 <= y < 85 and ((x - 8) % 38) < 32 and y < 80:
            return (0xFF, 0xFF, 0xFF) if background != (0xFF, 0xFF, 0xFF) else (0xE8, 0xE8, 0xE8)
        return background
    return png(130, 93, pixel)


# Outlines of the sample products in a unit square, as polygons.
SHAPES = {
    "tshirt": [(.36, .14), (.44, .14), (.5, .2), (.56, .14), (.64, .14), (.88, .3), (.8, .44), (.7, .38),
               (.7, .88), (.3, .88), (.3, .38), (.2, .44), (.12, .3)],
    "hoodie": [(.38, .12), (.5, .08), (.62, .12), (.7, .2), (.86, .3), (.92, .78), (.82, .8), (.74, .42),
               (.72, .9), (.28, .9), (.26, .42), (.18, .8), (.08, .78), (.14, .3), (.3, .2)],
}
SAMPLE_COLOURS = {"hoodie": (0x80, 0x80, 0x80), "album": (0x30, 0x30, 0x30), "film": (0xC0, 0x40, 0x40)}


def inside(polygon, x, y):
    hit = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def sample_colour(kind, colour, x, y):
    """The colour of a sample product at (x, y) of its unit square, or None for the backdrop."""
    if kind in SHAPES:
        return colour if inside(SHAPES[kind], x, y) else None
    if kind == "album":
        r = ((x - .5) ** 2 + (y - .5) ** 2) ** .5
        if r < .025 or r > .4:
            return None
        return colour if r < .14 else (0x4A, 0x4A, 0x4A) if int(r * 60) % 3 == 0 else (0x1C, 0x1C, 0x1C)
    if not (.12 < x < .88 and .2 < y < .8):
        return None
    return (0xFF, 0xFF, 0xFF) if inside([(.42, .36), (.42, .64), (.64, .5)], x, y) else colour


def product_picture(kind, colour, background, width, height, samples=3):
    """A sample product drawn smooth (supersampled) on the template's background tinted by it."""
    colour = SAMPLE_COLOURS.get(kind, colour)
    backdrop = tuple((b * 9 + c) // 10 for b, c in zip(background, colour))
    side = min(width, height)
    left, top = (width - side) / 2, (height - side) / 2

    def pixel(px, py):
        total = [0, 0, 0]
        for sy in range(samples):
            for sx in range(samples):
                x = (px - left + (sx + .5) / samples) / side
                y = (py - top + (sy + .5) / samples) / side
                c = sample_colour(kind, colour, x, y) or backdrop
                total = [t + v for t, v in zip(total, c)]
        return tuple(t // (samples * samples) for t in total)
    return png(width, height, pixel)


def cdata(tag, text, indent):
    return "%s<%s><![CDATA[%s]]></%s>\n" % (" " * indent, tag, text, tag)


def item(number, kind, name, desc, thumb, price, options, duration=None):
    pad = " " * 15
    out = '%s<item id="%d" type="%s">\n' % (pad, number, kind)
    out += cdata("name", name, 20) + cdata("desc", desc, 20) + cdata("thumb", thumb, 20) + cdata("img", "", 20)
    if kind in ("music", "video"):
        out += cdata("preview", "", 20) + cdata("duration", duration, 20)
    out += '%s<price>%s</price>\n%s<discount>0</discount>\n%s<shipping>%s</shipping>\n' % (
        " " * 20, price, " " * 20, " " * 20, "4" if kind == "general" else "0")
    for title, values in options:
        out += '%s<option id="%s">\n' % (" " * 20, title)
        for i, value in enumerate(values, 1):
            out += '%s<id id="%d"><![CDATA[%s]]></id>\n' % (" " * 25, i, value)
        out += "%s</option>\n" % (" " * 20)
    return out + "%s</item>\n" % pad


def shop_xml(name, size, winmode, currency, title):
    w, h = size
    out = '<?xml version="1.0" encoding="UTF-8"?>\n<shop id="%s">\n     <config>\n' % name
    out += cdata("title", title, 10)
    out += cdata("footer", "\u00a9 Your shop name. All prices include VAT.", 10)
    out += cdata("homepage", "http://www.example.com/", 10)
    out += cdata("email", "info@example.com", 10)
    out += '          <dimension width="%d" height="%d" />\n' % (w, h)
    out += '          <userdimension width="%d" height="%d" />\n' % (w, h)
    out += '          <thumbsize width="100" height="100" />\n'
    out += '          <winmode value="%d" />\n' % winmode
    out += cdata("noimage", "No picture yet", 10)
    out += cdata("novideo", "No video preview", 10)
    out += cdata("noaudio", "No audio preview", 10)
    out += "          <currency>\n               <symbol>%s</symbol>\n" % currency[0]
    out += "               <abbreviation>%s</abbreviation>\n          </currency>\n" % currency[1]
    out += '          <paymentgateway type="paypal">\n               <email />\n'
    out += "               <currency>%s</currency>\n          </paymentgateway>\n     </config>\n" % currency[1]
    out += "     <product>\n"
    out += '          <category id="1" name="Clothing">\n'
    out += item(1, "general", "Classic T-shirt", "Soft cotton shirt with a printed logo.", "tshirt_Thumb.png",
                "19", [("Size", ["S", "M", "L", "XL"]), ("Colour", ["White", "Black", "Navy"])])
    out += item(2, "general", "Hooded sweater", "Warm hoodie for cool evenings.", "hoodie_Thumb.png",
                "39", [("Size", ["M", "L", "XL"])])
    out += "          </category>\n"
    out += '          <category id="2" name="Music">\n'
    out += item(3, "music", "Evening Sessions", "Ten quiet songs, recorded live.", "album_Thumb.png",
                "12", [], "00:00:30")
    out += "          </category>\n"
    out += '          <category id="3" name="Video">\n'
    out += item(4, "video", "Screen printing workshop", "A one-hour course on film.", "film_Thumb.png",
                "25", [("Format", ["Download", "DVD"])], "00:01:00")
    out += "          </category>\n     </product>\n</shop>\n"
    return out.encode("utf-8")


def theme_xml():
    out = '<?xml version="1.0" encoding="UTF-8"?>\n<catalogue>\n     <themelist>\n'
    for ident, name, _ in THEMES:
        out += '          <theme_%d id="%d">%s</theme_%d>\n' % (ident, ident, name, ident)
    out += "     </themelist>\n"
    for ident, _, carts in THEMES:
        out += '     <theme id="%d">\n' % ident
        out += "".join('          <cart id="%s" />\n' % cart for cart in carts)
        out += "     </theme>\n"
    return (out + "</catalogue>\n").encode("utf-8")


def storefront_files(name):
    """The shared script, and the shared layout between the template's colours and its own rules."""
    with open(os.path.join(STOREFRONT, "storefront.js"), "rb") as handle:
        script = handle.read()
    with open(os.path.join(STOREFRONT, "storefront.css"), "rb") as handle:
        layout = handle.read()
    variables, rules = LOOKS[name]
    colours = "/* %s */\n.sf {\n%s}\n" % (name, "".join("  --sf-%s: %s;\n" % item for item in variables.items()))
    return script, colours.encode("utf-8") + layout + rules.encode("utf-8")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as handle:
        handle.write(data)


def main():
    root = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else ROOT)
    write(os.path.join(root, "theme.xml"), theme_xml())
    for name, size, winmode, background, accent, currency, title in TEMPLATES:
        folder = os.path.join(root, name)
        write(os.path.join(folder, "index.swf"), swf(size[0], size[1], background))
        write(os.path.join(folder, "Thumb.png"), thumb_picture(background, accent))
        write(os.path.join(folder, "shop.xml"), shop_xml(name, size, winmode, currency, title))
        script, styles = storefront_files(name)
        write(os.path.join(folder, "storefront.js"), script)
        write(os.path.join(folder, "storefront.css"), styles)
        for kind in ("tshirt", "hoodie", "album", "film"):
            write(os.path.join(folder, "thumb", kind + "_Thumb.png"), product_picture(kind, accent, background, 100, 100))


if __name__ == "__main__":
    main()
