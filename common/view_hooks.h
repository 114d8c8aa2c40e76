// View hooks: what the handlers below the shell (the idle handler, the keys, the mouse, the show
// clock) ask of the windows: the idle handler back, the title following the place, a redisplay
// of the scene view, full screen on and off. Pure; each does nothing until the shell fills it in
// at start-up, so tests run the handlers and the clock without windows.
#pragma once

struct ViewHooks {
    void (*wakeShow)();         // the idle handler back, if the show can move
    void (*retitle)();          // the main window's title says where the show is
    void (*redisplayScene)();   // the scene view is drawn again
    void (*toggleFullScreen)(); // the main window in or out of full screen
    void (*leaveFullScreen)();  // out of full screen, where it is in
};

extern ViewHooks viewHooks;

// The hooks that do nothing, as the program starts.
ViewHooks quietViewHooks();
