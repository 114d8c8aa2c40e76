#!/bin/sh
# Renders the menu icons with the snapshot tool (the program's own drawing code): the grass
# robot in its letter pose at the end of the show, seen from close by, cropped square and
# scaled to 48, 128 and 256 pixels (ImageMagick).
# Usage: make_icons.sh SNAPSHOT TEXTURE_DIR OUT_DIR; needs an X display (run it through
# with_display.sh).
set -eu
snapshot=$1
textures=$2
out=$3
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Turn 27 steps right, walk 55 steps toward the last robot, tilt the view 6 steps down.
keys=$(awk 'BEGIN { for (i = 0; i < 27; i++) printf "d"; for (i = 0; i < 55; i++) printf "w";
                    for (i = 0; i < 6; i++) printf "l" }')
# A sanitizer build of the tool reports the GL libraries' own leaks at exit; they are not ours.
ASAN_OPTIONS=detect_leaks=0 "$snapshot" --textures "$textures" --out "$work/icon" --ticks 2400 \
    --keys "$keys" >/dev/null
for size in 48 128 256; do
    # -strip drops the time stamps, so the same drawing gives the same files.
    convert "$work/icon-02400.png" -crop 310x310+0+62 +repage -resize "${size}x${size}" -strip \
        "$out/$size.png"
done
