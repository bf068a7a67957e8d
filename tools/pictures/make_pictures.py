#!/usr/bin/python3
"""Draws every picture of the program and writes them to resources/pictures/.

Run from anywhere: /usr/bin/python3 tools/pictures/make_pictures.py
Needs Debian's python3-pil, fonts-dejavu-core and fonts-liberation. The
output is the same on every run; the build embeds the committed files and
never runs this script.

Opaque pictures are 24-bit bitmaps. The side strip, the banner and the
speed-button pictures have a transparent ground and are 32-bit bitmaps with
an alpha channel (see bmp.py). The title picture and the "О ПРОГРАММЕ"
picture are JPEG files.

Every picture is drawn twice: at the size the window lays it out, and at
twice that for screens with a device pixel ratio above 1, as name@2x.bmp or
name@2x.jpg. The 2x pictures are the same drawings made at the finer
resolution, not enlargements of the 1x ones.
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import about  # noqa: E402
import app_icon  # noqa: E402
import bmp  # noqa: E402
import coins  # noqa: E402
import figurine  # noqa: E402
import icons  # noqa: E402
import lettering  # noqa: E402
import table  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "pictures")
ICONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "icons")


def _jpeg(image, path):
    # Full-resolution colour keeps the thin orange letters clean.
    image.convert("RGB").save(path, "JPEG", quality=92, subsampling=0, optimize=False,
                              progressive=False)


def draw_pictures(scale):
    """Writes every picture at the given scale, 1 or 2."""
    suffix = "" if scale == 1 else f"@{scale}x"
    out = lambda name, ext: os.path.join(OUT, f"{name}{suffix}.{ext}")

    picture = table.draw_table(scale)
    bmp.save_rgb(picture, out("table", "bmp"))
    for k in range(1, 9):
        bmp.save_rgb(table.cut_marker(picture, "column", k, scale),
                     out(f"column_marker_{k}", "bmp"))
        bmp.save_rgb(table.cut_marker(picture, "row", k, scale), out(f"row_marker_{k}", "bmp"))

    bmp.save_rgb(coins.draw_heads(scale), out("heads", "bmp"))
    bmp.save_rgb(coins.draw_tails(scale), out("tails", "bmp"))
    bmp.save_rgba(lettering.draw_strip(scale), out("strip", "bmp"))
    bmp.save_rgba(lettering.draw_banner(scale), out("banner", "bmp"))
    _jpeg(lettering.draw_title(figurine.draw_figurine, scale), out("title", "jpg"))
    _jpeg(about.draw_about(scale), out("about", "jpg"))

    for name, draw in (("table_show", icons.draw_table_show), ("table_hide", icons.draw_table_hide),
                       ("sound_on", icons.draw_sound_on), ("sound_off", icons.draw_sound_off)):
        image = draw(scale)
        bmp.save_rgba(image, out(name, "bmp"))
        bmp.save_rgba(icons.greyed(image, scale), out(f"{name}_disabled", "bmp"))


def main():
    os.makedirs(OUT, exist_ok=True)
    for scale in (1, 2):
        draw_pictures(scale)

    os.makedirs(ICONS, exist_ok=True)
    for size in app_icon.SIZES:
        app_icon.draw_icon(size).save(os.path.join(ICONS, f"app_{size}.png"), optimize=True)


if __name__ == "__main__":
    main()
