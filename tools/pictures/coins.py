"""The two coin faces, 33 x 33 (66 x 66 at scale 2), on the silver of the
coin panel. Coordinates are in pixels of the 33 x 33 layout; the drawing is
supersampled S times over the picture's own resolution."""

from PIL import Image, ImageDraw

from common import font, shrink

SIZE = 33
S = 8  # supersampling factor
PANEL = (192, 192, 192)
RIM = (110, 110, 110)
FACE_LIGHT = (238, 238, 238)
FACE_DARK = (160, 160, 160)
RELIEF = (72, 72, 72)


def _scaled(points, u):
    return [(x * u, y * u) for x, y in points]


def _blank_coin(u):
    """A disc with a rim, lit from the top left; u canvas pixels a layout pixel."""
    canvas = Image.new("RGB", (SIZE * u, SIZE * u), PANEL)
    centre, radius = SIZE / 2, SIZE / 2 - 0.5
    face = Image.radial_gradient("L").resize((int(3.2 * radius * u),) * 2)
    hx, hy = (centre - 0.35 * radius) * u, (centre - 0.35 * radius) * u
    face = face.crop((int(face.width / 2 - hx), int(face.height / 2 - hy),
                      int(face.width / 2 - hx) + SIZE * u, int(face.height / 2 - hy) + SIZE * u))
    shade = Image.merge("RGB", [face.point(lambda v, a=a, b=b: a + (b - a) * v // 255)
                                for a, b in zip(FACE_LIGHT, FACE_DARK)])
    draw = ImageDraw.Draw(canvas)
    box = lambda r: ((centre - r) * u, (centre - r) * u, (centre + r) * u, (centre + r) * u)
    draw.ellipse(box(radius), fill=RIM)
    mask = Image.new("L", canvas.size, 0)
    ImageDraw.Draw(mask).ellipse(box(radius - 1.6), fill=255)
    canvas.paste(shade, (0, 0), mask)
    draw.ellipse(box(radius - 2.6), outline=(150, 150, 150), width=u // 2)
    return canvas, draw


def draw_heads(scale=1):
    """A stylised double-headed eagle under a crown."""
    u = S * scale
    at = lambda points: _scaled(points, u)
    canvas, draw = _blank_coin(u)
    c = SIZE / 2
    for side in (-1, 1):
        wing = [(c + side * 2.5, 13.5), (c + side * 6, 10), (c + side * 10.5, 6.5),
                (c + side * 10.2, 9.8), (c + side * 11.8, 11), (c + side * 10.4, 13),
                (c + side * 12, 14.6), (c + side * 10.2, 16.2), (c + side * 11, 18.2),
                (c + side * 7.5, 18.8), (c + side * 3, 19)]
        draw.polygon(at(wing), fill=RELIEF)
        neck = [(c + side * 0.2, 14), (c + side * 3.2, 9.5), (c + side * 4.6, 10.3),
                (c + side * 2.2, 15)]
        draw.polygon(at(neck), fill=RELIEF)
        hx, hy = c + side * 4.2, 8.6
        draw.ellipse(at([(hx - 1.6, hy - 1.6), (hx + 1.6, hy + 1.6)]), fill=RELIEF)
        beak = [(hx + side * 1.0, hy - 1.0), (hx + side * 3.0, hy + 0.4), (hx + side * 1.2, hy + 1.0)]
        draw.polygon(at(beak), fill=RELIEF)
        draw.line(at([(c + side * 1.5, 21.5), (c + side * 4.5, 24)]), fill=RELIEF, width=u)
        draw.ellipse(at([(c + side * 5.5 - 1.2, 23.6), (c + side * 5.5 + 1.2, 26)]), fill=RELIEF)
    draw.ellipse(at([(c - 3.2, 12.5), (c + 3.2, 22.5)]), fill=RELIEF)
    draw.polygon(at([(c - 1.8, 21), (c + 1.8, 21), (c + 3.6, 27), (c + 1.2, 26.2),
                     (c, 27.6), (c - 1.2, 26.2), (c - 3.6, 27)]), fill=RELIEF)
    draw.ellipse(at([(c - 1.8, 15.2), (c + 1.8, 19.6)]), fill=(200, 200, 200))
    draw.polygon(at([(c - 2.4, 7.6), (c - 2.7, 4.2), (c - 1.1, 5.6), (c, 3.6),
                     (c + 1.1, 5.6), (c + 2.7, 4.2), (c + 2.4, 7.6)]), fill=RELIEF)
    return shrink(canvas, S)


def draw_tails(scale=1):
    """A large 1 over the word РУБЛЬ and the year."""
    u = S * scale
    at = lambda points: _scaled(points, u)
    canvas, draw = _blank_coin(u)
    c = SIZE / 2
    draw.text((c * u, 11.2 * u), "1", fill=RELIEF, font=font("serif-bold", 15 * u), anchor="mm")
    draw.text((c * u, 21.4 * u), "РУБЛЬ", fill=RELIEF, font=font("sans-condensed-bold", 6 * u),
              anchor="mm")
    draw.text((c * u, 26.6 * u), "2000", fill=RELIEF, font=font("sans-condensed-bold", 5 * u),
              anchor="mm")
    for side in (-1, 1):
        for dx, y in ((6.6, 16.2), (7.5, 13.4), (7.5, 10.6), (6.6, 7.8)):
            x = c + side * dx
            draw.ellipse(at([(x - 0.8, y - 1.3), (x + 0.8, y + 1.3)]), fill=RELIEF)
    return shrink(canvas, S)
