"""The table picture behind the 64 hexagram buttons and the sixteen trigram
markers that light its headings.

The window shows a marker unscaled and centred in its control over the table
picture, so each marker is cut out of the table picture itself at the place
where it will be seen, with the brown bars turned green. Showing a marker
therefore changes exactly the bars of its heading and nothing else; the
checks at the end of this module make sure the geometry allows that.

Every function that draws takes the scale: 1 for the picture as the window
lays it out, 2 for dense screens, where each pixel of the layout is 2 x 2
pixels of the picture. The grid and the bars cover exactly the scaled pixels
of the layout, so a 2x marker still lies exactly over its heading; the
lettering and the diagonal are drawn anew at the finer resolution.
"""

from PIL import Image, ImageDraw

from common import font

WIDTH, HEIGHT = 401, 321

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
LIGHT_GREY = (192, 192, 192)
DARK_GREY = (97, 97, 97)
BROWN = (159, 80, 0)
GREEN = (0, 255, 0)

# Cell interiors (first and last pixel). Columns: row numbers, row trigrams,
# then the eight table columns; rows: column numbers, column trigrams, then
# the eight table rows. Every grid line is the gap between two of them.
COLUMN_SPANS = [(2, 40), (43, 80), (84, 119), (123, 158), (162, 198), (202, 237),
                (241, 276), (280, 317), (321, 357), (361, 397)]
ROW_SPANS = [(2, 28), (32, 60), (64, 94), (98, 125), (129, 158), (162, 189),
             (193, 220), (224, 252), (256, 284), (288, 317)]
CORNER = (2, 2, 80, 60)

# Where the window puts things, in the table group: the table picture, and
# the marker controls (left, top, width, height) of trigrams 1..8.
TABLE_LEFT, TABLE_TOP = 46, 16
COLUMN_MARKER_CONTROLS = [(left, 48, 49 if k == 6 else 41, 33) for k, left in
                          enumerate((127, 167, 206, 247, 287, 319, 367, 407), start=1)]
ROW_MARKER_CONTROLS = [(87, top, 41, 33) for top in range(80, 305, 32)]

BAR_LENGTH, BAR_HEIGHT, BAR_STEP = 32, 3, 9
GAP_START, GAP_LENGTH = 12, 8  # a broken bar: 12 pixels, gap of 8, 12 pixels

# Marker picture sizes. The trigram 1 and 6 markers stay narrow enough not
# to reach the grid line left of their column; the others are one pixel
# wider, which lets four of them carry the grid line right of their column.
MARKER_HEIGHT = 24
COLUMN_MARKER_WIDTHS = [35, 36, 36, 36, 36, 35, 36, 36]
ROW_MARKER_WIDTH = 36
BAR_ROW_IN_MARKER = 1  # the top bar starts one pixel below a marker's top


def trigram_lines(k):
    """Broken flags of lines 1, 2, 3 of trigram k = 1 + 4*b1 + 2*b2 + b3."""
    n = k - 1
    return [bool(n & 4), bool(n & 2), bool(n & 1)]


def marker_rect(control, picture_width):
    """Table-picture pixels (left, top, right, bottom inclusive) covered by a
    marker picture shown centred in its control."""
    left, top, width, height = control
    x = left - TABLE_LEFT + (width - picture_width) // 2
    y = top - TABLE_TOP + (height - MARKER_HEIGHT) // 2
    return (x, y, x + picture_width - 1, y + MARKER_HEIGHT - 1)


def column_bars_origin(k):
    """Top-left pixel of the bars heading table column k: centred across the
    column, at the height where the column markers have their top bar."""
    first, last = COLUMN_SPANS[k + 1]
    x = first + (last - first + 1 - BAR_LENGTH) // 2
    rect = marker_rect(COLUMN_MARKER_CONTROLS[k - 1], COLUMN_MARKER_WIDTHS[k - 1])
    return x, rect[1] + BAR_ROW_IN_MARKER


def row_bars_origin(k):
    first, last = COLUMN_SPANS[1]
    x = first + (last - first + 1 - BAR_LENGTH) // 2
    rect = marker_rect(ROW_MARKER_CONTROLS[k - 1], ROW_MARKER_WIDTH)
    return x, rect[1] + BAR_ROW_IN_MARKER


def scaled(box, scale):
    """The picture pixels (inclusive) of layout pixels box (inclusive)."""
    left, top, right, bottom = box
    return (left * scale, top * scale, (right + 1) * scale - 1, (bottom + 1) * scale - 1)


def draw_trigram(draw, origin, k, colour, scale=1):
    x, y = origin
    for i, broken in enumerate(trigram_lines(k)):
        top = y + i * BAR_STEP
        bottom = top + BAR_HEIGHT - 1
        if broken:
            pieces = [(x, x + GAP_START - 1), (x + GAP_START + GAP_LENGTH, x + BAR_LENGTH - 1)]
        else:
            pieces = [(x, x + BAR_LENGTH - 1)]
        for first, last in pieces:
            draw.rectangle(scaled((first, top, last, bottom), scale), fill=colour)


def _grid_lines(spans, size):
    """(first, last) of each line: before, between and after the spans."""
    edges = [-1] + [p for span in spans for p in span] + [size]
    return [(edges[i] + 1, edges[i + 1] - 1) for i in range(0, len(edges), 2)]


def _check_grid():
    for spans, size in ((COLUMN_SPANS, WIDTH), (ROW_SPANS, HEIGHT)):
        widths = [last - first + 1 for first, last in _grid_lines(spans, size)]
        # 2 pixels along the outer left/top edge, 3 elsewhere; between the two
        # heading columns the line is 2 pixels as well.
        expected = [2, 2 if spans is COLUMN_SPANS else 3] + [3] * (len(spans) - 1)
        assert widths == expected, (widths, expected)


def _centred_text(draw, box, text, font_, colour):
    left, top, right, bottom = box
    draw.text(((left + right + 1) / 2, (top + bottom + 1) / 2), text, fill=colour,
              font=font_, anchor="mm")


def draw_table(scale=1):
    _check_grid()
    image = Image.new("RGB", (WIDTH * scale, HEIGHT * scale), BLACK)
    draw = ImageDraw.Draw(image)
    draw.fontmode = "1"  # crisp bitmap digits, no blended edge colours
    area = lambda box: scaled(box, scale)

    corner = area(CORNER)
    draw.rectangle(corner, fill=LIGHT_GREY)
    draw.line(corner, fill=BLACK, width=scale)
    caption = font("ui", 12 * scale)
    draw.text(((CORNER[2] - 3) * scale, (CORNER[1] + 2) * scale), "Верх", fill=BLACK,
              font=caption, anchor="ra")
    draw.text(((CORNER[0] + 3) * scale, (CORNER[3] - 2) * scale), "Низ", fill=BLACK,
              font=caption, anchor="ls")

    digits = font("ui-bold", 18 * scale)
    for k in range(1, 9):
        x0, x1 = COLUMN_SPANS[k + 1]
        y0, y1 = ROW_SPANS[k + 1]
        number_row = (x0, ROW_SPANS[0][0], x1, ROW_SPANS[0][1])
        number_column = (COLUMN_SPANS[0][0], y0, COLUMN_SPANS[0][1], y1)
        for box in (number_row, number_column):
            draw.rectangle(area(box), fill=LIGHT_GREY)
            _centred_text(draw, area(box), str(k), digits, DARK_GREY)
        draw.rectangle(area((x0, ROW_SPANS[1][0], x1, ROW_SPANS[1][1])), fill=WHITE)
        draw_trigram(draw, column_bars_origin(k), k, BROWN, scale)
        draw.rectangle(area((COLUMN_SPANS[1][0], y0, COLUMN_SPANS[1][1], y1)), fill=WHITE)
        draw_trigram(draw, row_bars_origin(k), k, BROWN, scale)
        for bx0, bx1 in COLUMN_SPANS[2:]:
            draw.rectangle(area((bx0, y0, bx1, y1)), fill=LIGHT_GREY)
    return image


def _heading_cell(kind, k):
    if kind == "column":
        return (COLUMN_SPANS[k + 1][0], ROW_SPANS[1][0], COLUMN_SPANS[k + 1][1], ROW_SPANS[1][1])
    return (COLUMN_SPANS[1][0], ROW_SPANS[k + 1][0], COLUMN_SPANS[1][1], ROW_SPANS[k + 1][1])


def _pixels(image, box):
    left, top, right, bottom = box
    px = image.load()
    return {(x, y): px[x, y] for x in range(left, right + 1) for y in range(top, bottom + 1)}


def cut_marker(table, kind, k, scale=1):
    """The marker picture of trigram k, cut out of the table picture drawn
    at the given scale."""
    if kind == "column":
        rect = marker_rect(COLUMN_MARKER_CONTROLS[k - 1], COLUMN_MARKER_WIDTHS[k - 1])
    else:
        rect = marker_rect(ROW_MARKER_CONTROLS[k - 1], ROW_MARKER_WIDTH)
    rect = scaled(rect, scale)
    covered = _pixels(table, rect)
    bars = {p for p, c in _pixels(table, scaled(_heading_cell(kind, k), scale)).items()
            if c == BROWN}
    assert bars <= covered.keys(), f"{kind} marker {k} misses some of its bars"
    assert set(covered.values()) <= {WHITE, BROWN, BLACK}, f"{kind} marker {k} over grey"
    # Black only as whole pixel columns at the right edge, continuing a line.
    black_columns = sorted({x for (x, y), c in covered.items() if c == BLACK})
    assert black_columns == list(range(rect[2] - len(black_columns) + 1, rect[2] + 1))
    assert all(covered[(x, y)] == BLACK for x in black_columns for y in range(rect[1], rect[3] + 1))

    marker = table.crop((rect[0], rect[1], rect[2] + 1, rect[3] + 1))
    marker.putdata([GREEN if c == BROWN else c for c in marker.getdata()])
    return marker
