#!/bin/sh
# Applies patches to the source tree in the current directory: apply_patches.sh PATCH...
# A patch that is in already is left alone, so a tree can be patched again after a change.
set -eu
for patch; do
    if ! patch -p1 -R -f -s --dry-run -i "$patch" >/dev/null 2>&1; then
        patch -p1 -f -i "$patch"
    fi
done
