"""Writes Windows bitmaps byte by byte, so the files do not depend on how an
imaging library chooses headers.

Opaque pictures are 24-bit with the plain 40-byte header. Pictures with a
transparent background are 32-bit BI_BITFIELDS with a 124-byte header whose
alpha mask is 0xFF000000: that is the form Qt's bitmap reader loads as
ARGB32 (a 32-bit bitmap with the 40-byte header loses its alpha there).
"""

import struct

BI_RGB = 0
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


def save_rgb(image, path):
    """A 24-bit bitmap of an RGB image."""
    image = image.convert("RGB")
    width, height = image.size
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
