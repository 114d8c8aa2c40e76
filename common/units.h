// Shared units of the program: robot count and the one degree-to-radian factor.
// Angles everywhere are degrees in float; only the keyboard handler converts to radians.
#pragma once

constexpr int ROBOT_COUNT = 4;

// pi/180 rounded to the nearest float (0.0174532924); the camera arithmetic relies on this rounding.
constexpr float DEG_TO_RAD = static_cast<float>(3.14159265358979323846 / 180.0);
