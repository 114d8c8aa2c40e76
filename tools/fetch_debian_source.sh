#!/bin/sh
# Fetches and unpacks the source of a Debian source package (freeglut for the Windows build,
# freeglut and libglu for the web build): fetch_debian_source.sh PACKAGE DIR. The machine's apt
# lists binary packages only, so a private apt configuration in DIR/apt adds a source entry for
# each archive that the machine's own apt sources already name; the machine's apt set-up is read,
# never changed. The unpacked tree ends up in DIR/PACKAGE-src; a second run finds it there and
# does nothing.
set -eu

package=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
if [ -f "$dir/$package-src/.fetched" ]; then
    exit 0
fi
say() { echo "fetch_debian_source $package: $*" >&2; }

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
    say "the machine's apt configuration names no archive"
    exit 1
fi

user=$(id -un)
set -- -o "Dir::Etc::SourceList=$apt_dir/sources.list" \
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" \
    -o "Dir::State::Lists=$apt_dir/lists" \
    -o "Dir::Cache=$apt_dir/cache" \
    -o "APT::Sandbox::User=$user" \
    -o "Debug::NoLocking=1"

# An archive that offers no sources only warns here; whether the package's source was found is
# what decides, below.
fetch() {
    apt-get "$@" -qq update || say "some source lists failed to load"
    (cd "$apt_dir/source" && apt-get "$@" -qq source "$package")
}
unpacked() {
    find "$apt_dir/source" -mindepth 1 -maxdepth 1 -type d | head -n 1
}
# A mirror may list a release's sources without carrying them all. Then the same archives'
# previous stable release serves: the builds link these libraries statically, and any Debian
# revision of them will do. Failing that, the upstream tarball alone, when apt got it (and so
# checked it against the archive's signed index), serves as well: the builds need none of
# Debian's changes to it.
if ! fetch "$@"; then
    say "trying the archives' previous stable release"
    sed -i 's/^\(deb-src\(\[[^]]*\]\)\{0,1\}[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]*\)\{0,1\}[^[:space:]]\{1,\}[[:space:]]\{1,\}\)[^[:space:]]\{1,\}/\1oldstable/' \
        "$apt_dir/sources.list"
    for sources in "$apt_dir"/sources.list.d/*.sources; do
        [ -f "$sources" ] && sed -i 's/^Suites:.*/Suites: oldstable/' "$sources"
    done
    rm -rf "$apt_dir/lists" && mkdir -p "$apt_dir/lists/partial"
    if ! fetch "$@" && [ -z "$(unpacked)" ]; then
        orig=$(find "$apt_dir/source" -maxdepth 1 -name '*.orig.tar.*' | head -n 1)
        [ -n "$orig" ] || { say "apt-get source failed"; exit 1; }
        say "unpacking the upstream tarball $(basename "$orig") without Debian's changes"
        tar -xf "$orig" -C "$apt_dir/source"
    fi
fi

tree=$(unpacked)
[ -n "$tree" ] || { say "no unpacked tree"; exit 1; }
rm -rf "${dir:?}/$package-src"
mv "$tree" "$dir/$package-src"
touch "$dir/$package-src/.fetched"
