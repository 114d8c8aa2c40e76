// Application shell: the three windows, their handler registration and the start-up order.
// main() runs it; the handlers and the show clock reach it through the view hooks it fills in.
#pragma once

extern int mainWindow; // top-level window, 500 x 500
extern int helpPanel;  // help text strip below the scene view
extern int sceneView;  // the 3D scene

// Display handler of the main window: grey, nothing else.
void displayMain();

// Makes the scene view current and posts a redisplay for it.
void requestSceneRedisplay();

// Sets the main window's title to the program's name and where the show is (paused at a tick,
// or playing at another speed than the normal one), when that has changed.
void showPlaceInTitle();

// Full screen for the main window, on and off; and off, where it is on.
void toggleFullScreen();
void leaveFullScreen();

// Start-up steps 2 to 7: display mode, the three windows and their handlers, and the view hooks
// (common/view_hooks.h) filled in with the functions here and the idle handler's wakeShow.
// Needs glutInit first; leaves the scene view current.
void createWindows();

// Start-up steps 8 to 11, with the scene view current: rendering state, robots, textures,
// display lists, then the first redisplay request.
void initSceneView();
