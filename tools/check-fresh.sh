#!/bin/sh
# Proves the README's two commands on a bare machine: builds a minimal root of a Debian release
# with debootstrap, from the archive this machine's own apt sources name, clones this project
# into it, and there runs `make run` (on a private Xvfb of this machine, until the show's eight
# lines) and then `make test`. With `package DEB` it instead installs that package there with apt,
# as a user would, and starts the installed program from an empty directory.
# Usage: check-fresh.sh RELEASE [run|all|package DEB]   (as root; `run` stops after `make run`)
set -eu

release=${1:?usage: check-fresh.sh RELEASE [run|all|package DEB]}
half=${2:-all}
deb=""
if [ "$half" = package ]; then
    deb=$(realpath "${3:?usage: check-fresh.sh RELEASE package DEB}")
fi
project=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "check-fresh: needs root (debootstrap, chroot)" >&2; exit 1; }

# The first Debian archive among the machine's own sources, in one-line or deb822 form.
archive=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
    awk '/^deb / { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }
         /^URIs:/ && $2 ~ /\/debian\/?$/ { print $2; exit }')
[ -n "$archive" ] || { echo "check-fresh: no Debian archive in the apt sources" >&2; exit 1; }

# How many show lines the log holds so far (0 while it does not exist yet).
finished_lines() {
    count=$(grep -c '^finished ' "$1" 2>/dev/null) || true
    echo "${count:-0}"
}

started=$(date +%s)
say() { echo "check-fresh $release [$(( $(date +%s) - started )) s]: $*"; }

root=$(mktemp -d "/var/tmp/cheer-fresh-$release.XXXXXX")
chmod 755 "$root" # it becomes /, which the system's own users must be able to enter
server=""
# Every process whose root is the new root: the program and whatever make started.
end_inside() {
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" = "$root" ] && kill -9 "${process#/proc/}" 2>/dev/null
    done
    return 0
}

cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    end_inside
    for mount in "$root/proc" "$root/dev/pts" "$root/dev/shm"; do
        mountpoint -q "$mount" && umount -l "$mount"
    done
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "debootstrap --variant=minbase into $root"
debootstrap --variant=minbase --include=git,make "$release" "$root" "$archive" \
    >"$root.debootstrap.log" 2>&1 || { tail -20 "$root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The machine's own settings for fetching from its archive (a mirror may serve frozen indexes):
# those written for this machine, not those that came with a package.
grep -l '^Acquire::' /etc/apt/apt.conf.d/* 2>/dev/null | while read -r conf; do
    dpkg -S "$conf" >/dev/null 2>&1 || cp "$conf" "$root/etc/apt/apt.conf.d/"
done
mount -t proc proc "$root/proc"
mkdir -p "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance devpts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
git clone -q "$project" "$root/root/cheerleaders"

# A private X server on this machine; the root's clients reach it through its abstract socket.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root/display" 2>/dev/null &
server=$!
tries=0
until grep -q '[0-9]' "$root/display" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] && kill -0 "$server" 2>/dev/null || { echo "check-fresh: no Xvfb" >&2; exit 1; }
    sleep 0.1
done
display=":$(tr -d '[:space:]' <"$root/display")"

inside() { # command: runs in the root as a fresh login of root would, in the project
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb DISPLAY="$display" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        sh -c "cd /root/cheerleaders && $1"
}

if [ "$half" = package ]; then
    say "apt install ./$(basename "$deb")"
    cp "$deb" "$root/root/"
    inside "apt-get -qq update && apt-get install -y -qq ../$(basename "$deb")" \
        >"$root/root/apt.log" 2>&1 || { tail -30 "$root/root/apt.log" >&2; exit 1; }
    # A user's login PATH, which has the games; no display for --version.
    user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
    chroot "$root" /usr/bin/env -i HOME=/root PATH="$user_path" cheerleaders --version
    log="$root/root/installed-run.log"
    chroot "$root" /usr/bin/env -i HOME=/root DISPLAY="$display" PATH="$user_path" \
        sh -c 'mkdir -p /tmp/empty && cd /tmp/empty && exec cheerleaders' >"$log" 2>&1 &
    deadline=$(( $(date +%s) + 300 ))
    while [ "$(finished_lines "$log")" -lt 8 ]; do
        if [ "$(date +%s)" -gt "$deadline" ]; then
            cat "$log" >&2
            echo "check-fresh $release: the installed program did not show the eight lines" >&2
            exit 1
        fi
        sleep 1
    done
    end_inside
    cat "$log"
    ! grep -q '^failed ' "$log" || { echo "check-fresh $release: a texture failed" >&2; exit 1; }
    say "the installed program showed the eight lines"
    exit 0
fi

say "make run"
log="$root/root/make-run.log"
inside 'make run' >"$log" 2>&1 &
run=$!
deadline=$(( $(date +%s) + 2400 ))
while [ "$(finished_lines "$log")" -lt 8 ]; do
    if ! kill -0 "$run" 2>/dev/null || [ "$(date +%s)" -gt "$deadline" ]; then
        end_inside
        tail -40 "$log" >&2
        echo "check-fresh $release: make run did not show the eight lines" >&2
        exit 1
    fi
    sleep 1
done
end_inside
wait "$run" 2>/dev/null || true
grep '^finished \|^failed ' "$log"
say "make run showed the eight lines"

if [ "$half" = all ]; then
    say "make test"
    inside 'make test' >"$root/root/make-test.log" 2>&1 || {
        cp "$root/root/make-test.log" "/var/tmp/check-fresh-$release-make-test.log"
        tail -60 "$root/root/make-test.log" >&2
        echo "check-fresh $release: whole log in /var/tmp/check-fresh-$release-make-test.log" >&2
        echo "check-fresh $release: make test failed" >&2
        exit 1
    }
    tail -5 "$root/root/make-test.log"
    say "make test passed"
fi
