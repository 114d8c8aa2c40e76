#!/bin/sh
# Runs a command with an X display: the caller's DISPLAY if one is set, otherwise a private Xvfb
# started here (the server picks a free display number itself) and stopped when the command ends.
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "with_display: no DISPLAY and no Xvfb; run 'make test' to install it" >&2
    exit 1
fi
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT INT TERM
tries=0
while ! grep -q '[0-9]' "$dir/display" 2>/dev/null; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "with_display: Xvfb did not start" >&2
        cat "$dir/log" >&2
        exit 1
    fi
    sleep 0.05
done
DISPLAY=":$(tr -d '[:space:]' <"$dir/display")"
export DISPLAY
"$@"
status=$?
exit "$status"
