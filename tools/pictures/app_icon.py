"""The application icon: the six lines of a hexagram in gold on a dark red
tile, drawn anew at each size of the hicolor theme so that every size keeps
whole-pixel bars (a downscaled large icon would blur them at 16 pixels)."""

from PIL import Image, ImageDraw

from common import lerp, shrink

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
S = 8  # supersampling factor
TILE_TOP = (150, 24, 24)
TILE_BOTTOM = (92, 8, 12)
RIM = (232, 170, 60)
BAR = (255, 196, 64)
# Peace: three broken lines over three solid ones, as the tradition draws
# a hexagram, the first line at the bottom.
LINES = ("broken", "broken", "broken", "solid", "solid", "solid")


def _layout(size):
    """Whole-pixel bar thickness, gap and margins for one icon size."""
    bar = max(1, round(size * 0.075))
    gap = max(1, round(size * 0.06))
    height = 6 * bar + 5 * gap
    width = max(10, round(size * 0.62)) & ~1
    return bar, gap, (size - width) // 2, (size - height) // 2, width


def draw_icon(size):
    canvas = Image.new("RGBA", (size * S, size * S), (0, 0, 0, 0))
    tile = Image.new("RGBA", canvas.size)
    shade = ImageDraw.Draw(tile)
    for y in range(tile.height):
        shade.line([(0, y), (tile.width, y)], fill=lerp(TILE_TOP, TILE_BOTTOM, y / tile.height) + (255,))
    radius = max(2, size // 6) * S
    mask = Image.new("L", canvas.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, canvas.width - 1, canvas.height - 1), radius, fill=255)
    canvas.paste(tile, (0, 0), mask)
    draw = ImageDraw.Draw(canvas)
    if size >= 32:
        inset = (size // 16) * S
        draw.rounded_rectangle((inset, inset, canvas.width - 1 - inset, canvas.height - 1 - inset),
                               radius - inset, outline=RIM + (255,), width=max(1, size // 32) * S)

    bar, gap, left, top, width = _layout(size)
    split = max(2, round(width * 0.18)) & ~1  # the gap of a broken line
    for k, line in enumerate(LINES):
        y = (top + k * (bar + gap)) * S
        box = lambda x0, x1: (x0 * S, y, x1 * S - 1, y + bar * S - 1)
        if line == "solid":
            draw.rectangle(box(left, left + width), fill=BAR + (255,))
        else:
            half = (width - split) // 2
            draw.rectangle(box(left, left + half), fill=BAR + (255,))
            draw.rectangle(box(left + width - half, left + width), fill=BAR + (255,))
    return shrink(canvas, S)
