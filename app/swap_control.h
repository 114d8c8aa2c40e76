// Swap control: ties the current window's buffer swaps to the display's refresh where the
// GLX swap-control extension exists, so the show runs at a watchable pace without keeping a
// core busy. Without the extension (for example under Xvfb) nothing changes.
#pragma once

// Asks for the given swap interval for the current window; returns whether it was set.
bool requestSwapInterval(int interval);
