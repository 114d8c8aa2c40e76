// Swap control: ties the current window's buffer swaps to the display's refresh where the
// swap-control extension exists (GLX's, or WGL_EXT_swap_control on Windows), so the show runs at
// a watchable pace without keeping a core busy. Without it (for example under Xvfb) nothing
// changes.
#pragma once

// Asks for the given swap interval for the current window; returns whether it was set.
bool requestSwapInterval(int interval);
