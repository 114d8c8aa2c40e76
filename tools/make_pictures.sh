#!/bin/sh
# Renders the README's pictures into docs/ with the snapshot tool (the program's own drawing
# code): the start, mid-walk, the final line-up, a view from the side, a view looking down, the
# whole window, and a contact sheet of twelve frames across the show (ImageMagick's montage).
# Usage: make_pictures.sh BUILD_DIR OUT_DIR; needs an X display (run it through with_display.sh).
set -eu
build=$1
out=$2
textures="$build/run"
mkdir -p "$out" "$textures"
"$build/make_textures" --keep-existing "$textures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shot() { # name tick keys [--main]
    name=$1 tick=$2 keys=$3
    shift 3
    "$build/tools/snapshot" --textures "$textures" --out "$work/$name" --ticks "$tick" \
        --keys "$keys" "$@" >/dev/null
    cp "$work/$name-$(printf %05d "$tick").png" "$out/$name.png"
}

repeat() { # text count
    awk -v t="$1" -v n="$2" 'BEGIN { for (i = 0; i < n; i++) printf "%s", t }'
}

shot start 0 ""
shot mid-walk 600 ""
shot line-up 2400 ""
shot side-view 2400 "$(repeat w 40)$(repeat a 60)$(repeat w 160)$(repeat d 90)"
shot looking-down 2400 "$(repeat s 60)$(repeat l 25)"
shot window 2400 "" --main

ticks="0,215,430,645,860,1075,1290,1505,1720,1935,2150,2365"
"$build/tools/snapshot" --textures "$textures" --out "$work/sheet" --ticks "$ticks" >/dev/null
montage "$work"/sheet-*.png -tile 4x3 -geometry 240x200+3+3 -background '#999999' \
    "$out/contact-sheet.png"
echo "pictures written to $out"
