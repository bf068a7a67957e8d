"""16 x 16 pictures of the show/hide-table and sound speed buttons, drawn
pixel by pixel on a transparent ground, and their greyed variants."""

from PIL import Image, ImageDraw

SIZE = 16
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
NAVY = (0, 0, 128, 255)
RED = (255, 0, 0, 255)
GREY = (128, 128, 128, 255)
SILVER = (192, 192, 192, 255)


def _canvas():
    image = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
    return image, ImageDraw.Draw(image)


def draw_table_show():
    """A small window: blue title bar over a white area ruled into cells."""
    image, draw = _canvas()
    draw.rectangle((0, 1, 15, 14), fill=BLACK)
    draw.rectangle((1, 2, 14, 4), fill=NAVY)
    draw.rectangle((12, 3, 13, 3), fill=WHITE)
    draw.rectangle((1, 5, 14, 13), fill=WHITE)
    for x in (4, 8, 11):
        draw.line((x, 5, x, 13), fill=BLACK)
    for y in (7, 10):
        draw.line((1, y, 14, y), fill=BLACK)
    return image


def draw_table_hide():
    """A small blank white window in a black frame."""
    image, draw = _canvas()
    draw.rectangle((0, 1, 15, 14), fill=BLACK)
    draw.rectangle((1, 2, 14, 13), fill=WHITE)
    return image


def _loudspeaker(draw):
    draw.rectangle((1, 5, 4, 10), fill=BLACK)
    draw.rectangle((2, 6, 3, 9), fill=SILVER)
    draw.polygon([(5, 5), (9, 1), (9, 14), (5, 10)], fill=BLACK)
    draw.polygon([(6, 6), (8, 4), (8, 11), (6, 9)], fill=GREY)


def draw_sound_on():
    """A loudspeaker sending out red waves."""
    image, draw = _canvas()
    _loudspeaker(draw)
    draw.point([(11, 5), (12, 6), (12, 7), (12, 8), (12, 9), (11, 10)], fill=RED)
    draw.point([(13, 3), (14, 4), (13, 12), (14, 11)], fill=RED)
    draw.line((15, 5, 15, 10), fill=RED)
    return image


def draw_sound_off():
    """The loudspeaker struck through in red."""
    image, draw = _canvas()
    _loudspeaker(draw)
    draw.line((1, 14, 14, 1), fill=RED, width=2)
    return image


def greyed(image):
    """The disabled look of a button picture: its dark parts as a grey
    engraving with a white edge below and right; light parts vanish."""
    src = image.load()
    dark = {(x, y) for x in range(SIZE) for y in range(SIZE)
            if src[x, y][3] and sum(src[x, y][:3]) < 3 * 180}
    out, _ = _canvas()
    px = out.load()
    for x, y in dark:
        if x + 1 < SIZE and y + 1 < SIZE:
            px[x + 1, y + 1] = WHITE
    for x, y in dark:
        px[x, y] = GREY
    return out
