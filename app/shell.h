// Application shell: the three windows, their handler registration and the start-up order.
// main() runs it; the keyboard handler and the idle handler ask it to redraw the scene view.
#pragma once

#include <cstdint>

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

// Start-up steps 2 to 7: display mode, the three windows and their handlers.
// Needs glutInit first; leaves the scene view current.
void createWindows();

// Start-up steps 8 to 11, with the scene view current: rendering state, robots, textures,
// display lists, then the first redisplay request.
void initSceneView();

struct ShowOptions;
// After start-up: the show put at the options' tick (printing the lines finished by then), the
// pause and the camera they give, and the title that says so.
void openShowAt(const ShowOptions& options);

// Where the show and the viewer are now, as options that openShowAt takes back.
ShowOptions showPlaceNow();

// The show put at the tick (printing the lines of commands passed going forward), then the title
// and the scene view follow it: for the seek keys and the page's timeline.
void seekAndShow(std::uint32_t tick);
