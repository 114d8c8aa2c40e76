// Full screen: the current top-level window over the whole screen, and back to where and how
// big it was. The shell calls it with the main window current, for the f and Escape keys. The
// toolkit's own toggle serves where the window system has a way to ask for full screen.
#pragma once

void toggleWindowFullScreen();

// Back from full screen; nothing when the window is not in it.
void leaveWindowFullScreen();
