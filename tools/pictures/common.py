"""Fonts and small drawing helpers shared by the picture modules."""

from PIL import Image, ImageFont

# Only fonts from fonts-dejavu-core and fonts-liberation, which the build
# machine installs by package name.
_FONT_FILES = {
    "sans-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "sans-condensed-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
    "serif-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "serif-condensed-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSerifCondensed-Bold.ttf",
    "ui": "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "ui-bold": "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "times-bold": "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf",
}


def font(name, size):
    return ImageFont.truetype(_FONT_FILES[name], size)


def shrink(image, factor):
    """Downsamples a supersampled drawing; RGBA is averaged premultiplied so
    that transparent pixels do not darken the edges."""
    size = (image.width // factor, image.height // factor)
    if image.mode == "RGBA":
        return image.convert("RGBa").resize(size, Image.BOX).convert("RGBA")
    return image.resize(size, Image.BOX)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def layer(colour, alpha_mask):
    """A single-colour RGBA layer whose alpha is the given mask."""
    out = Image.new("RGBA", alpha_mask.size, colour + (0,))
    out.putalpha(alpha_mask)
    return out


def shifted(mask, dx, dy):
    """The mask moved right and down, without wrapping round the edges."""
    out = Image.new(mask.mode, mask.size, 0)
    out.paste(mask, (dx, dy))
    return out
