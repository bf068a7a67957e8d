"""Writes Windows bitmaps byte by byte, so the files do not depend on how an
imaging library chooses headers.

Opaque pictures of at most 256 colours are 8-bit with a palette, run-length
encoded (BI_RLE8) where that is shorter: the program reads the table at
every start, and a few runs decode far faster than 390 kB of pixels. Other
opaque pictures are 24-bit with the plain 40-byte header. Pictures with a
transparent background are 32-bit BI_BITFIELDS with a 124-byte header whose
alpha mask is 0xFF000000: that is the form Qt's bitmap reader loads as
ARGB32 (a 32-bit bitmap with the 40-byte header loses its alpha there).
"""

import struct

BI_RGB = 0
BI_RLE8 = 1
BI_BITFIELDS = 3
LCS_SRGB = 0x73524742  # 'sRGB'
LCS_GM_IMAGES = 4
PIXELS_PER_METRE = 3780  # 96 dots per inch


def _rows_bottom_up(image, bytes_per_pixel, pack):
    width, height = image.size
    pixels = image.load()
    stride = (width * bytes_per_pixel + 3) & ~3
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            row += pack(pixels[x, y])
        row += bytes(stride - len(row))
        out += row
    return bytes(out)


def _file_header(info_size, data_size):
    offset = 14 + info_size
    return b"BM" + struct.pack("<IHHI", offset + data_size, 0, 0, offset)


def _rle8_row(indices):
    out = bytearray()
    i = 0
    while i < len(indices):
        run = 1
        while i + run < len(indices) and run < 255 and indices[i + run] == indices[i]:
            run += 1
        out += bytes((run, indices[i]))
        i += run
    return out + b"\0\0"  # end of line


def indexed_bitmap(width, height, rows):
    """An 8-bit bitmap of rows (top first) of (r, g, b) pixels, or None
    when they hold more than 256 colours."""
    palette = sorted({p for row in rows for p in row})
    if len(palette) > 256:
        return None
    index = {p: i for i, p in enumerate(palette)}
    bottom_up = [[index[p] for p in row] for row in reversed(rows)]
    stride = (width + 3) & ~3
    plain = b"".join(bytes(r) + bytes(stride - width) for r in bottom_up)
    rle = b"".join(_rle8_row(r) for r in bottom_up)[:-2] + b"\0\1"  # end of bitmap
    compression, data = (BI_RLE8, rle) if len(rle) < len(plain) else (BI_RGB, plain)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, compression, len(data),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, len(palette), len(palette))
    info += b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return _file_header(len(info), len(data)) + info + data


def save_rgb(image, path):
    """An opaque bitmap of an RGB image: indexed where it can be, else 24-bit."""
    image = image.convert("RGB")
    width, height = image.size
    pixels = image.load()
    indexed = indexed_bitmap(width, height,
                             [[pixels[x, y] for x in range(width)] for y in range(height)])
    if indexed is not None:
        with open(path, "wb") as f:
            f.write(indexed)
        return
    data = _rows_bottom_up(image, 3, lambda p: bytes((p[2], p[1], p[0])))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, BI_RGB, len(data),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    with open(path, "wb") as f:
        f.write(_file_header(len(info), len(data)) + info + data)


def save_rgba(image, path):
    """A 32-bit bitmap with straight (not premultiplied) alpha."""
    image = image.convert("RGBA")
    width, height = image.size
    data = _rows_bottom_up(image, 4, lambda p: bytes((p[2], p[1], p[0], p[3])))
    info = struct.pack("<IiiHHIIiiII", 124, width, height, 1, 32, BI_BITFIELDS, len(data),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    info += struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    info += struct.pack("<I", LCS_SRGB)
    info += bytes(36)  # colour-space end points, unused with sRGB
    info += struct.pack("<III", 0, 0, 0)  # gamma, unused with sRGB
    info += struct.pack("<IIII", LCS_GM_IMAGES, 0, 0, 0)
    assert len(info) == 124
    with open(path, "wb") as f:
        f.write(_file_header(len(info), len(data)) + info + data)
