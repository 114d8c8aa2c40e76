#!/bin/sh
# Builds the Debian package with Debian's own tools (dpkg-buildpackage, debhelper) from a copy of
# the sources, so the checkout gets no build litter, then runs lintian on the result.
# Usage: build_package.sh [--no-lint] OUT_DIR [DEB_DEST]: the package and its .changes end up in
# OUT_DIR; with DEB_DEST the .deb is also copied there. Prints the .deb's path last. The tests
# build with --no-lint and run lintian as a test of its own.
set -eu
lint=yes
if [ "${1:-}" = --no-lint ]; then
    lint=no
    shift
fi
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
dest=${2:-}

version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
deb="cheerleaders_${version}_${arch}.deb"
src="$out/cheerleaders-$version"

# The sources as a fresh clone would have them, plus files not yet committed; no build trees.
rm -rf "$src"
mkdir -p "$src"
if git -C "$top" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$top" ls-files -z --cached --others --exclude-standard |
        (cd "$top" && xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) |
        tar -C "$top" --null -T - -cf - | tar -C "$src" -xf -
else
    tar -C "$top" --exclude='./build*' --exclude='./*.deb' -cf - . | tar -C "$src" -xf -
fi
rm -f "$out"/cheerleaders_* "$out"/cheerleaders-dbgsym_*
# The address of the machine-readable copyright format, as debhelper's own copyright file names it
# on this machine: the project names no internet address itself.
format=$(grep -m1 '^Format: ' /usr/share/doc/debhelper/copyright)
sed -i "1s|^Format: .*|$format|" "$src/debian/copyright"

(cd "$src" && DEB_BUILD_OPTIONS="parallel=${JOBS:-2}" dpkg-buildpackage -us -uc -b)
rm -rf "$src"

changes="$out/cheerleaders_${version}_${arch}.changes"
if [ "$lint" = yes ]; then
    echo "lintian $(basename "$changes"):"
    lintian --fail-on error,warning --display-info "$changes"
    echo "lintian: no errors or warnings"
fi
if [ -n "$dest" ]; then
    cp "$out/$deb" "$dest/"
    echo "Built $dest/$deb"
else
    echo "Built $out/$deb"
fi
