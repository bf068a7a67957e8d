"""The golden seated figurine of the title picture, built from shaded
ellipses lit from the upper left."""

from PIL import Image, ImageDraw

from common import lerp

HIGHLIGHT = (255, 246, 190)
GOLD = (228, 172, 36)
SHADOW = (128, 80, 4)
LINE = (112, 68, 0)

# Parts in a 100 x 136 frame, back to front.
PEDESTAL = (6, 118, 94, 136)
PETALS = [(x - 8, 108, x + 8, 126) for x in range(14, 90, 12)]
LEGS = (4, 90, 96, 124)
ARMS = [(12, 50, 36, 102), (64, 50, 88, 102)]
TORSO = (22, 44, 78, 106)
HANDS = (32, 88, 68, 108)
EARS = [(28, 20, 37, 44), (63, 20, 72, 44)]
HEAD = (32, 10, 68, 48)
TOPKNOT = (42, 2, 58, 18)


def _ramp(v):
    t = v / 255
    return lerp(HIGHLIGHT, GOLD, t / 0.5) if t < 0.5 else lerp(GOLD, SHADOW, (t - 0.5) / 0.5)


_LUTS = [[_ramp(v)[channel] for v in range(256)] for channel in range(3)]


def _shaded_ellipse(canvas, box, outline_width):
    left, top, right, bottom = (round(v) for v in box)
    w, h = right - left, bottom - top
    # The bright spot sits up and left; the far side falls into shadow.
    size = int(1.25 * max(w, h)) * 2
    gradient = Image.radial_gradient("L").resize((size, size))
    hx, hy = left + 0.32 * w, top + 0.28 * h
    gradient = gradient.crop((int(size / 2 - (hx - left)), int(size / 2 - (hy - top)),
                              int(size / 2 - (hx - left)) + w, int(size / 2 - (hy - top)) + h))
    colour = Image.merge("RGB", [gradient.point(lut) for lut in _LUTS])
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).ellipse((0, 0, w - 1, h - 1), fill=255)
    canvas.paste(colour, (left, top), mask)
    ImageDraw.Draw(canvas).ellipse((left, top, right, bottom), outline=LINE, width=outline_width)


def draw_figurine(canvas, box):
    """Draws the figurine centred in box (left, top, right, bottom)."""
    left, top, right, bottom = box
    scale = min((right - left) / 100, (bottom - top) / 136)
    ox = (left + right) / 2 - 50 * scale
    oy = (top + bottom) / 2 - 68 * scale

    def at(part):
        x0, y0, x1, y1 = part
        return (ox + x0 * scale, oy + y0 * scale, ox + x1 * scale, oy + y1 * scale)

    line = max(1, round(0.9 * scale))
    draw = ImageDraw.Draw(canvas)
    draw.ellipse(at((14, -6, 86, 66)), fill=(255, 248, 214))
    draw.ellipse(at((14, -6, 86, 66)), outline=(240, 200, 110), width=line)
    for part in [PEDESTAL] + PETALS + [LEGS] + ARMS + [TORSO, HANDS] + EARS + [HEAD, TOPKNOT]:
        _shaded_ellipse(canvas, at(part), line)

    # The face and the folds of the robe.
    for eye in ((38, 26, 47, 33), (53, 26, 62, 33)):
        draw.arc(at(eye), 20, 160, fill=LINE, width=line)
    draw.arc(at((44, 34, 56, 42)), 30, 150, fill=LINE, width=line)
    draw.ellipse(at((48.5, 20, 51.5, 23)), fill=LINE)
    draw.line([at((50, 28, 0, 0))[:2], at((49, 35, 0, 0))[:2]], fill=LINE, width=line)
    for fold in ((30, 52, 70, 76), (28, 62, 72, 92), (14, 96, 86, 118)):
        draw.arc(at(fold), 30, 150, fill=LINE, width=line)
