"""16 x 16 pictures of the show/hide-table and sound speed buttons, drawn
pixel by pixel on a transparent ground, and their greyed variants.

At scale 2 (32 x 32) the boxes cover the same layout pixels, each twice as
wide, while the slanted edges, the sound waves and the stroke are drawn at
the finer resolution rather than doubled."""

from PIL import Image, ImageDraw

SIZE = 16
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
NAVY = (0, 0, 128, 255)
RED = (255, 0, 0, 255)
GREY = (128, 128, 128, 255)
SILVER = (192, 192, 192, 255)


class _Canvas:
    """Drawing in layout pixels on a picture of the given scale."""

    def __init__(self, scale):
        self.scale = scale
        self.image = Image.new("RGBA", (SIZE * scale, SIZE * scale), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    def box(self, left, top, right, bottom, colour):
        """Layout pixels left..right, top..bottom inclusive."""
        k = self.scale
        self.draw.rectangle((left * k, top * k, (right + 1) * k - 1, (bottom + 1) * k - 1),
                            fill=colour)

    def corner(self, x, y, right=False, bottom=False):
        """A layout pixel's picture pixel at its top left, or at its right
        and/or bottom edge."""
        k = self.scale
        return (x * k + (k - 1) * right, y * k + (k - 1) * bottom)


def draw_table_show(scale=1):
    """A small window: blue title bar over a white area ruled into cells."""
    c = _Canvas(scale)
    c.box(0, 1, 15, 14, BLACK)
    c.box(1, 2, 14, 4, NAVY)
    c.box(12, 3, 13, 3, WHITE)
    c.box(1, 5, 14, 13, WHITE)
    for x in (4, 8, 11):
        c.box(x, 5, x, 13, BLACK)
    for y in (7, 10):
        c.box(1, y, 14, y, BLACK)
    return c.image


def draw_table_hide(scale=1):
    """A small blank white window in a black frame."""
    c = _Canvas(scale)
    c.box(0, 1, 15, 14, BLACK)
    c.box(1, 2, 14, 13, WHITE)
    return c.image


def _loudspeaker(c):
    c.box(1, 5, 4, 10, BLACK)
    c.box(2, 6, 3, 9, SILVER)
    p = c.corner
    c.draw.polygon([p(5, 5), p(9, 1, right=True), p(9, 14, right=True, bottom=True),
                    p(5, 10, bottom=True)], fill=BLACK)
    c.draw.polygon([p(6, 6), p(8, 4, right=True), p(8, 11, right=True, bottom=True),
                    p(6, 9, bottom=True)], fill=GREY)


def draw_sound_on(scale=1):
    """A loudspeaker sending out red waves."""
    c = _Canvas(scale)
    _loudspeaker(c)
    if scale == 1:
        c.draw.point([(11, 5), (12, 6), (12, 7), (12, 8), (12, 9), (11, 10)], fill=RED)
        c.draw.point([(13, 3), (14, 4), (13, 12), (14, 11)], fill=RED)
        c.draw.line((15, 5, 15, 10), fill=RED)
    else:
        # Two arcs round the mouth of the cone, one layout pixel thick.
        k = scale
        for radius, spread in ((3.5, 50), (6.0, 58)):
            cx, cy = 9.0 * k, 8.0 * k
            r = (radius + 0.5) * k
            c.draw.arc((cx - r, cy - r, cx + r, cy + r), -spread, spread, fill=RED, width=k)
    return c.image


def draw_sound_off(scale=1):
    """The loudspeaker struck through in red."""
    c = _Canvas(scale)
    _loudspeaker(c)
    k = scale
    c.draw.line((k, 15 * k - 1, 15 * k - 1, k), fill=RED, width=2 * k)
    return c.image


def greyed(image, scale=1):
    """The disabled look of a button picture: its dark parts as a grey
    engraving with a white edge one layout pixel below and right; light
    parts vanish."""
    src = image.load()
    size = image.width
    dark = {(x, y) for x in range(size) for y in range(size)
            if src[x, y][3] and sum(src[x, y][:3]) < 3 * 180}
    out = _Canvas(scale).image
    px = out.load()
    for x, y in dark:
        if x + scale < size and y + scale < size:
            px[x + scale, y + scale] = WHITE
    for x, y in dark:
        px[x, y] = GREY
    return out
