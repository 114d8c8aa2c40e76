// Test support: the program's real windows and scene-view set-up, in a real GL context.
// GL tests call startProgramWindows() and then talk to the window they need.
#pragma once

#include <array>
#include <glm/glm.hpp>
#include <vector>

// Runs the program's start-up once per test process (windows, handlers, scene-view set-up)
// and lets the X server map the windows. Later calls do nothing.
void startProgramWindows();

// Processes pending window-system events, repeatedly, for about the given time.
void pumpEvents(int milliseconds);

// Reads the frame the current window just presented, as RGB bytes, bottom row first.
// Mesa's software swap copies the back buffer to the window and leaves it intact, while its
// front buffer is not readable, so the back buffer is read.
std::vector<unsigned char> readShownPixels(int x, int y, int width, int height);
std::array<unsigned char, 3> readShownPixel(int x, int y);

// The current modelview stack depth.
int modelviewDepth();

// The current modelview matrix.
glm::mat4 currentModelview();

// Expects every element within float rounding of the expected matrix.
void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected);
