"""The picture of the "О ПРОГРАММЕ" window: the eight trigrams around a
yin-yang on parchment, the name above and a line below. Coordinates are in
pixels of the 309 x 436 layout, supersampled S times over the picture's own
resolution (twice the layout at scale 2)."""

import math

from PIL import Image, ImageDraw

from common import font, lerp, shrink

WIDTH, HEIGHT = 309, 436
S = 4
MAROON = (128, 0, 0)
INK = (40, 22, 10)
PARCHMENT_LIGHT = (253, 246, 224)
PARCHMENT_DARK = (226, 200, 150)

# The eight trigrams in the circle, clockwise from the top; each as its
# lines from the innermost (the first line) outwards, True for broken.
# Opposite trigrams are each other's complement.
RING = [(False, False, False), (True, False, False), (True, False, True), (True, True, False),
        (True, True, True), (False, True, True), (False, True, False), (False, False, True)]


def _parchment(u):
    ramp = Image.radial_gradient("L").resize((int(WIDTH * u * 1.25), int(HEIGHT * u * 1.05)))
    ramp = ramp.crop(((ramp.width - WIDTH * u) // 2, (ramp.height - HEIGHT * u) // 2,
                      (ramp.width + WIDTH * u) // 2, (ramp.height + HEIGHT * u) // 2))
    luts = [[lerp(PARCHMENT_LIGHT, PARCHMENT_DARK, v / 255)[c] for v in range(256)]
            for c in range(3)]
    return Image.merge("RGB", [ramp.point(lut) for lut in luts])


def _bar(draw, centre, along, across, half_length, half_width, start, end, colour):
    """A bar from `start` to `end` (fractions of its length) in a rotated frame."""
    cx, cy = centre
    a = -half_length + 2 * half_length * start
    b = -half_length + 2 * half_length * end
    corners = [(a, -half_width), (b, -half_width), (b, half_width), (a, half_width)]
    draw.polygon([(cx + u * along[0] + v * across[0], cy + u * along[1] + v * across[1])
                  for u, v in corners], fill=colour)


def _trigram(draw, centre, angle, lines, scale):
    outward = (math.sin(angle), -math.cos(angle))
    along = (math.cos(angle), math.sin(angle))
    for i, broken in enumerate(lines):
        r = (i - 1) * 12 * scale
        c = (centre[0] + outward[0] * r, centre[1] + outward[1] * r)
        half_length, half_width = (17 + 3 * i) * scale, 3.6 * scale
        if broken:
            _bar(draw, c, along, outward, half_length, half_width, 0.0, 0.41, INK)
            _bar(draw, c, along, outward, half_length, half_width, 0.59, 1.0, INK)
        else:
            _bar(draw, c, along, outward, half_length, half_width, 0.0, 1.0, INK)


def _yin_yang(draw, cx, cy, r, u):
    box = lambda x, y, rr: (x - rr, y - rr, x + rr, y + rr)
    draw.ellipse(box(cx, cy, r + 3 * u), fill=MAROON)
    draw.pieslice(box(cx, cy, r), -90, 90, fill=INK)
    draw.pieslice(box(cx, cy, r), 90, 270, fill=(255, 252, 240))
    draw.ellipse(box(cx, cy - r / 2, r / 2), fill=(255, 252, 240))
    draw.ellipse(box(cx, cy + r / 2, r / 2), fill=INK)
    draw.ellipse(box(cx, cy - r / 2, r / 7), fill=INK)
    draw.ellipse(box(cx, cy + r / 2, r / 7), fill=(255, 252, 240))


def draw_about(scale=1):
    u = S * scale  # canvas pixels a layout pixel
    canvas = _parchment(u)
    draw = ImageDraw.Draw(canvas)
    draw.rectangle((4 * u, 4 * u, (WIDTH - 5) * u, (HEIGHT - 5) * u), outline=MAROON, width=3 * u)
    draw.rectangle((10 * u, 10 * u, (WIDTH - 11) * u, (HEIGHT - 11) * u), outline=MAROON, width=u)

    draw.text((WIDTH * u / 2, 48 * u), "ТАЙНОВИД", fill=MAROON, font=font("serif-bold", 34 * u),
              anchor="ms")
    draw.line(((60 * u, 60 * u), ((WIDTH - 60) * u, 60 * u)), fill=MAROON, width=u)

    cx, cy = WIDTH * u / 2, 232 * u
    draw.ellipse((cx - 138 * u, cy - 138 * u, cx + 138 * u, cy + 138 * u), outline=MAROON, width=u)
    for i, lines in enumerate(RING):
        angle = i * math.pi / 4
        centre = (cx + math.sin(angle) * 104 * u, cy - math.cos(angle) * 104 * u)
        _trigram(draw, centre, angle, lines, u)
    _yin_yang(draw, cx, cy, 54 * u, u)

    draw.text((WIDTH * u / 2, 404 * u), "гадание по 64 гексаграммам", fill=MAROON,
              font=font("serif-bold", 15 * u), anchor="ms")
    return shrink(canvas, S)
