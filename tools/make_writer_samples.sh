#!/bin/sh
# Writes the writer samples: small bitmap files written by ImageMagick, Pillow and ffmpeg, each
# with the same tool's own decode of it beside it as NAME.ppm (binary PPM, top row first), the
# picture the bitmap reader must give. The tools are needed only here, not to run the tests.
# Usage: make_writer_samples.sh [FOLDER]   (default tests/data/writers)
set -eu

out=${1:-tests/data/writers}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
cd "$work"
# The Debian interpreter, which has Pillow; a python3 earlier on the path may not.
python=/usr/bin/python3
# ImageMagick itself, not a stand-in earlier on the path.
magick=/usr/bin/convert

# The source pictures, 37 x 21 so that no row fills a whole number of 4-byte words:
# gradient.png has hundreds of colours, bands.png 20 in long runs (run-length data runs into
# the rows' padding), nine.png 9 colours (4-bit palettes), alpha.png a gradient with alpha.
"$python" - <<'PY'
from PIL import Image

W, H = 37, 21
colours = [(255, 0, 0), (0, 128, 255), (255, 255, 0), (20, 200, 40), (90, 60, 30),
           (255, 255, 255), (0, 0, 0), (128, 0, 128), (0, 255, 255), (200, 120, 10),
           (10, 10, 90), (250, 180, 200), (60, 140, 140), (170, 170, 170), (80, 0, 0),
           (0, 80, 0), (240, 240, 100), (100, 100, 250), (30, 220, 160), (140, 40, 200)]

def picture(mode, pixel):
    image = Image.new(mode, (W, H))
    image.putdata([pixel(x, y) for y in range(H) for x in range(W)])
    return image

picture("RGB", lambda x, y: (x * 7 % 256, y * 12, x * y % 256)).save("gradient.png")
picture("RGB", lambda x, y: colours[(y + 7 * (x > 30)) % 20]).save("bands.png")
picture("RGB", lambda x, y: colours[(x // 6 + y // 5) % 9 if y < 12 else (x * x + y) % 9]
        ).save("nine.png")
picture("RGBA", lambda x, y: (x * 7 % 256, y * 12, 255 - x * 6, (x + y) * 8 % 256)
        ).save("alpha.png")
PY

# ImageMagick: NAME SOURCE FLAVOUR then its options; the decode keeps the stored colours, alpha
# dropped.
magick_sample() {
    name=$1
    source=$2
    flavour=$3
    shift 3
    "$magick" "$source" "$@" "$flavour:$out/imagemagick-$name.bmp"
    "$magick" "$out/imagemagick-$name.bmp" -alpha off -depth 8 "ppm:$out/imagemagick-$name.ppm"
}
magick_sample bmp2-pal8 gradient.png BMP2 -type palette
magick_sample bmp2-rgb24 gradient.png BMP2 -type truecolor
magick_sample bmp3-pal8-rle gradient.png BMP3 -type palette
magick_sample bmp3-pal8-rle-runs bands.png BMP3 -type palette
magick_sample bmp3-pal8 gradient.png BMP3 -type palette -compress none
magick_sample bmp3-pal4 nine.png BMP3 -type palette
magick_sample bmp3-pal1 nine.png BMP3 -type bilevel
magick_sample bmp3-rgb24 gradient.png BMP3 -type truecolor
magick_sample bmp5-pal8-rle gradient.png BMP -type palette
magick_sample bmp5-pal8 gradient.png BMP -type palette -compress none
magick_sample bmp5-rgb24 gradient.png BMP -type truecolor
magick_sample bmp5-rgba32 alpha.png BMP -type truecoloralpha

# Pillow, one sample for each mode it writes bitmaps in.
"$python" - "$out" <<'PY'
import sys
from PIL import Image

out = sys.argv[1]
gradient = Image.open("gradient.png")
samples = {
    "1": gradient.convert("1"),
    "l": gradient.convert("L"),
    "p": gradient.convert("P", palette=Image.ADAPTIVE, colors=200),
    "rgb": gradient,
    "rgba": Image.open("alpha.png"),
}
for name, image in samples.items():
    path = f"{out}/pillow-{name}"
    image.save(path + ".bmp")
    Image.open(path + ".bmp").convert("RGB").save(path + ".ppm")
PY

# ffmpeg's bitmap encoder, one sample for each of its pixel formats asked for here.
ffmpeg_sample() {
    format=$1
    source=$2
    ffmpeg -nostdin -v error -y -i "$source" -pix_fmt "$format" -c:v bmp \
        "$out/ffmpeg-$format.bmp"
    ffmpeg -nostdin -v error -y -i "$out/ffmpeg-$format.bmp" -pix_fmt rgb24 -c:v ppm \
        -f image2 -update 1 "$out/ffmpeg-$format.ppm"
}
ffmpeg_sample bgr24 gradient.png
ffmpeg_sample bgra alpha.png
ffmpeg_sample pal8 gradient.png
ffmpeg_sample gray gradient.png
ffmpeg_sample monob gradient.png
ffmpeg_sample rgb8 gradient.png
