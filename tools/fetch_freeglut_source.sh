#!/bin/sh
# Fetches and unpacks the source of Debian's freeglut package for the Windows build:
# fetch_freeglut_source.sh DIR. The machine's apt lists binary packages only, so a private apt
# configuration in DIR/apt adds a source entry for each archive that the machine's own apt sources
# already name; the machine's apt set-up is read, never changed. The unpacked tree ends up in
# DIR/freeglut-src; a second run finds it there and does nothing.
set -eu

dir=$(mkdir -p "$1" && cd "$1" && pwd)
if [ -f "$dir/freeglut-src/CMakeLists.txt" ]; then
    exit 0
fi

apt_dir="$dir/apt"
rm -rf "$apt_dir"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d" \
    "$apt_dir/source"
: >"$apt_dir/sources.list"

# One-line entries (*.list): each "deb [options] uri suite components" gains its "deb-src" twin.
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "$list" >>"$apt_dir/sources.list"
done

# deb822 entries (*.sources): each enabled stanza whose types include deb is copied with the
# type deb-src, keeping its archive, suites, components and signing key.
for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] || continue
    awk '
        function flush() {
            if (stanza != "" && binary && enabled) {
                printf "Types: deb-src\n%s\n\n", stanza
            }
            stanza = ""; binary = 0; enabled = 1
        }
        BEGIN { enabled = 1 }
        /^[[:space:]]*#/ { next }
        /^[[:space:]]*$/ { flush(); next }
        tolower($1) == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") binary = 1; next }
        tolower($1) == "enabled:" { if (tolower($2) == "no") enabled = 0 }
        { stanza = stanza (stanza == "" ? "" : "\n") $0 }
        END { flush() }
    ' "$sources" >"$apt_dir/sources.list.d/$(basename "$sources")"
done

if ! grep -qs . "$apt_dir/sources.list" "$apt_dir"/sources.list.d/*.sources; then
    echo "fetch_freeglut_source: the machine's apt configuration names no archive" >&2
    exit 1
fi

user=$(id -un)
set -- -o "Dir::Etc::SourceList=$apt_dir/sources.list" \
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" \
    -o "Dir::State::Lists=$apt_dir/lists" \
    -o "Dir::Cache=$apt_dir/cache" \
    -o "APT::Sandbox::User=$user" \
    -o "Debug::NoLocking=1"

# An archive that offers no sources only warns here; whether freeglut's source was found is what
# decides, below.
fetch() {
    apt-get "$@" -qq update || echo "fetch_freeglut_source: some source lists failed to load" >&2
    (cd "$apt_dir/source" && apt-get "$@" -qq source freeglut)
}
# A mirror may list a release's sources without carrying them all. Then the same archives'
# previous stable release serves: the Windows build links freeglut statically, and any Debian
# revision of it will do.
if ! fetch "$@"; then
    echo "fetch_freeglut_source: trying the archives' previous stable release" >&2
    sed -i 's/^\(deb-src\(\[[^]]*\]\)\{0,1\}[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]*\)\{0,1\}[^[:space:]]\{1,\}[[:space:]]\{1,\}\)[^[:space:]]\{1,\}/\1oldstable/' \
        "$apt_dir/sources.list"
    for sources in "$apt_dir"/sources.list.d/*.sources; do
        [ -f "$sources" ] && sed -i 's/^Suites:.*/Suites: oldstable/' "$sources"
    done
    rm -rf "$apt_dir/lists" && mkdir -p "$apt_dir/lists/partial"
    fetch "$@" || {
        echo "fetch_freeglut_source: apt-get source freeglut failed" >&2
        exit 1
    }
fi

unpacked=$(find "$apt_dir/source" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*' | head -n 1)
[ -n "$unpacked" ] && [ -f "$unpacked/CMakeLists.txt" ] || {
    echo "fetch_freeglut_source: no unpacked freeglut tree" >&2
    exit 1
}
rm -rf "$dir/freeglut-src"
mv "$unpacked" "$dir/freeglut-src"
