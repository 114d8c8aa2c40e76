#!/bin/sh
# Installs the Debian packages that a make target needs and that are missing, with apt-get
# (as root, or through sudo). Names carry no toolchain version, so the same sets serve Debian 12
# and 13. Usage: install-deps.sh run|test|bench|fuzz|pictures|video|samples|soak|windows|wine|
# fresh|package|web. The package set also installs the build dependencies that debian/control
# names.
set -eu

run="cmake make g++ pkg-config libglut-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri libglm-dev \
libpng-dev libtinygltf-dev nlohmann-json3-dev libstb-dev"
test="$run libgtest-dev googletest nlohmann-json3-dev xvfb xdotool python3 python3-pytest python3-pil python3-numpy \
python3-xlib clang libclang-rt-dev valgrind ffmpeg webp imagemagick openbox wmctrl nodejs chromium"
# The Windows build: the MinGW-w64 cross compiler, dpkg-dev for apt-get source, zip; the Linux
# tool that generates the textures needs the run set.
windows="$run g++-mingw-w64-x86-64 dpkg-dev zip"
package="$run dpkg-dev debhelper lintian desktop-file-utils appstream xvfb imagemagick"
# The web page: Emscripten (with its Node.js), dpkg-dev for apt-get source, patch for gl4es and
# git to fetch it where no archive is given, Python for the file packager and the page's server,
# Chromium for its tests; the run set builds the texture tool.
web="$run emscripten nodejs dpkg-dev patch git python3 chromium"

case "${1:-run}" in
run) wanted="$run" ;;
test | fuzz | soak) wanted="$test" ;;
bench) wanted="$test libbenchmark-dev libstb-dev" ;;
pictures) wanted="$test imagemagick" ;;
windows) wanted="$windows" ;;
# Wine draws a subwindow's OpenGL offscreen through the X Composite extension, whose library
# it loads only if it is there (a recommendation of Wine's, not a dependency).
wine) wanted="$test $windows wine64 libxcomposite1" ;;
video) wanted="$run xvfb python3 ffmpeg webp" ;;
fresh) wanted="debootstrap xvfb git" ;;
package) wanted="$package" ;;
web) wanted="$web" ;;
samples) wanted="imagemagick python3 python3-pil ffmpeg" ;;
*) echo "install-deps: unknown set '$1'" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
top=$(cd "$(dirname "$0")/.." && pwd)
build_deps_met() {
    [ "${1:-run}" != package ] || (cd "$top" && dpkg-checkbuilddeps >/dev/null 2>&1)
}
[ -z "$missing" ] && build_deps_met "${1:-run}" && exit 0

echo "Installing:${missing:- the build dependencies of debian/control}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "install-deps: need root or sudo to install:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# A configuration file changed on this machine is kept, without a question.
keep="-o DPkg::Lock::Timeout=600 -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold"
# Another apt run (an unattended upgrade, a second make target) may hold the lock: wait for it.
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
# shellcheck disable=SC2086
[ -z "$missing" ] ||
    $sudo apt-get $keep install -y -qq --no-install-recommends $missing
if ! build_deps_met "${1:-run}"; then
    # apt reads them from the source tree's debian/control.
    $sudo apt-get $keep build-dep -y -qq --no-install-recommends "$top"
fi
