"""Pictures made mostly of the program's name: the side strip, the golden
banner and the title picture of the left column. Each is drawn at a scale,
1 or 2, supersampled S times over that resolution; sizes and coordinates are
in pixels of the layout."""

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from common import font, layer, lerp, shifted, shrink

NAME = "ТАЙНОВИД"
S = 4  # supersampling factor


def _glyph_masks(text, font_, size, centre, stroke):
    """Coverage of the letters and of the letters with an outline around
    them, both drawn at the supersampled size."""
    inner = Image.new("L", size, 0)
    outer = Image.new("L", size, 0)
    ImageDraw.Draw(inner).text(centre, text, fill=255, font=font_, anchor="ms")
    ImageDraw.Draw(outer).text(centre, text, fill=255, font=font_, anchor="ms",
                               stroke_width=stroke, stroke_fill=255)
    return inner, outer


def draw_strip(scale=1):
    """36 x 148, the name downwards: blue outlines, light hatched fill and a
    soft blue-grey shadow on a transparent ground."""
    u = S * scale
    width, height = 36 * scale, 148 * scale
    letter_font = font("sans-bold", 17 * u)
    stroke = int(1.2 * u)
    # Letters are stacked by their real extents (the breve of Й rises above
    # the capitals, the tail of Д hangs below) with even gaps between them;
    # the bottom keeps room for the shadow.
    extents = [letter_font.getbbox(letter, anchor="ls")[1::2] for letter in NAME]
    top_margin, bottom_margin = stroke + u, stroke + 2 * u
    ink = sum(bottom - top for top, bottom in extents)
    gap = (height * S - top_margin - bottom_margin - ink) / (len(NAME) - 1)
    inner = Image.new("L", (width * S, height * S), 0)
    outer = Image.new("L", (width * S, height * S), 0)
    y = top_margin
    for letter, (top, bottom) in zip(NAME, extents):
        li, lo = _glyph_masks(letter, letter_font, inner.size, (width * S / 2 - u, y - top),
                              stroke)
        inner = ImageChops.lighter(inner, li)
        outer = ImageChops.lighter(outer, lo)
        y += bottom - top + gap
    inner, outer = shrink(inner, S), shrink(outer, S)
    shadow = shifted(outer, 2 * scale, 2 * scale).filter(ImageFilter.GaussianBlur(0.8 * scale))
    shadow = shadow.point(lambda v: v * 150 // 255)

    # Diagonal hatching on every third layout pixel; at scale 2 the lines run
    # smoothly rather than in steps of 2 x 2 pixels.
    hatch = Image.new("RGBA", (width, height), (255, 255, 255, 255))
    px = hatch.load()
    for y in range(height):
        for x in range(width):
            if (x + y) % (3 * scale) < scale:
                px[x, y] = (150, 185, 240, 255)
    hatch.putalpha(inner)

    picture = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    picture = Image.alpha_composite(picture, layer((110, 125, 160), shadow))
    picture = Image.alpha_composite(picture, layer((20, 40, 190), outer))
    return Image.alpha_composite(picture, hatch)


def _gold(top, bottom):
    """A vertical golden ramp with a bright band a third of the way down."""
    stops = [(0.0, (255, 244, 170)), (0.35, (255, 214, 64)), (0.55, (214, 150, 20)),
             (0.8, (250, 200, 60)), (1.0, (150, 92, 8))]

    def colour(y):
        t = min(max((y - top) / max(bottom - top, 1), 0.0), 1.0)
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                return lerp(c0, c1, (t - t0) / (t1 - t0))
        return stops[-1][1]

    return colour


def _vertical_fill(size, colour_of_row):
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(size[1]):
        draw.line((0, y, size[0], y), fill=colour_of_row(y))
    return image


def draw_banner(scale=1):
    """150 x 65, the name in tall golden letters on a transparent ground."""
    u = S * scale
    width, height = 150, 65
    letter_font = font("serif-condensed-bold", 30 * u)
    flat = Image.new("L", (width * u * 2, 60 * u), 0)
    ImageDraw.Draw(flat).text((u, 50 * u), NAME, fill=255, font=letter_font, anchor="ls",
                              stroke_width=int(0.8 * u), stroke_fill=255)
    box = flat.getbbox()
    # Stretch the line to the banner's shape: narrow, high capitals.
    letters = flat.crop(box).resize(((width - 6) * u, (height - 12) * u), Image.LANCZOS)
    outer = Image.new("L", (width * u, height * u), 0)
    outer.paste(letters, (3 * u, 5 * u))
    inner = outer.filter(ImageFilter.MinFilter(2 * u - 1))
    outer, inner = shrink(outer, S), shrink(inner, S)
    bbox = outer.getbbox()
    gold = _vertical_fill(outer.size, _gold(bbox[1], bbox[3]))
    shadow = shifted(outer, 2 * scale, 2 * scale).filter(ImageFilter.GaussianBlur(1.0 * scale))
    shadow = shadow.point(lambda v: v * 120 // 255)

    picture = Image.new("RGBA", outer.size, (0, 0, 0, 0))
    picture = Image.alpha_composite(picture, layer((60, 40, 10), shadow))
    picture = Image.alpha_composite(picture, layer((120, 72, 0), outer))
    gold = gold.convert("RGBA")
    gold.putalpha(inner)
    return Image.alpha_composite(picture, gold)


def _fitted_text(draw, text, font_name, box, colour, max_size):
    """Draws text as large as fits into box (supersampled coordinates)."""
    left, top, right, bottom = box
    size = max_size
    while size > 4:
        f = font(font_name, size)
        l, t, r, b = draw.textbbox((0, 0), text, font=f, anchor="ls")
        if r - l <= right - left and b - t <= bottom - top:
            break
        size -= 1
    x = (left + right) / 2 - (l + r) / 2
    y = (top + bottom) / 2 - (t + b) / 2
    draw.text((x, y), text, fill=colour, font=f, anchor="ls")


def draw_title(draw_figurine, scale=1):
    """152 x 191: "Древне-китайское" above a golden figurine, "ГАДАНИЕ" below."""
    u = S * scale
    width, height = 152, 191
    canvas = Image.new("RGB", (width * u, height * u), (255, 255, 255))
    draw_figurine(canvas, (8 * u, 24 * u, 144 * u, 160 * u))
    draw = ImageDraw.Draw(canvas)
    orange = (255, 112, 0)
    _fitted_text(draw, "Древне-китайское", "times-bold", (3 * u, 3 * u, 149 * u, 21 * u),
                 orange, 20 * u)
    _fitted_text(draw, "ГАДАНИЕ", "times-bold", (2 * u, 162 * u, 150 * u, 189 * u), orange,
                 40 * u)
    return shrink(canvas, S)
