#!/bin/sh
# Installs the Debian packages that a make target needs and that are missing, with apt-get
# (as root, or through sudo). Usage: install-deps.sh run|test|bench|fuzz|pictures|samples|soak
set -eu

run="cmake make g++ pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri \
libglm-dev"
test="$run libgtest-dev googletest xvfb xauth x11-utils x11-apps xdotool python3 libpng-dev clang \
libclang-rt-14-dev valgrind"

case "${1:-run}" in
run) wanted="$run" ;;
test) wanted="$test" ;;
bench) wanted="$test libbenchmark-dev libstb-dev" ;;
fuzz) wanted="$test" ;;
pictures) wanted="$test imagemagick" ;;
samples) wanted="imagemagick python3 python3-pil ffmpeg" ;;
soak) wanted="$test valgrind" ;;
*) echo "install-deps: unknown set '$1'" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "install-deps: need root or sudo to install:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
