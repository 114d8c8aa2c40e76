// Field layout: where the scene's fixed pieces lie, as numbers. Pure. The scene frame and the
// field geometry draw from it; the scene export writes the same field from it.
#pragma once

constexpr int ROBOT_MATERIAL = 0;
constexpr int FLOOR_MATERIAL = 1;
constexpr int LINE_MATERIAL = 5;
constexpr int FLOOR_TEXTURE_SLOT = 3;
constexpr float FLOOR_Y = -3.0f;
// The floor polygon (-1..1 at y = 1) under this scale, after the move down to FLOOR_Y; the zero
// y scale flattens it onto the floor.
constexpr float FLOOR_SCALE[3] = {15.0f, 0.0f, 20.0f};
// A goal post stands on the floor at each end, at z = -GOAL_LINE_Z and +GOAL_LINE_Z.
constexpr float GOAL_LINE_Z = 18.0f;

// The 21 field-line segments in world coordinates, two x, y, z corners each.
constexpr int FIELD_LINE_COUNT = 21;
struct FieldLine {
    float from[3];
    float to[3];
};
FieldLine fieldLine(int index);

// A goal post's four cylinders, in drawing order: centre post, crossbar, left upright, right
// upright. Each is moved, then turned by the degrees about the axis, then drawn along its +z.
constexpr int GOAL_POST_PARTS = 4;
struct PostCylinder {
    float move[3];
    float degrees;
    float axis[3];
    double height;
};
constexpr PostCylinder POST_CYLINDERS[GOAL_POST_PARTS] = {
    {{0.0f, 0.0f, 0.0f}, -90.0f, {1.0f, 0.0f, 0.0f}, 2.0},
    {{-1.5f, 2.0f, 0.0f}, 90.0f, {0.0f, 1.0f, 0.0f}, 3.0},
    {{-1.5f, 2.0f, 0.0f}, -90.0f, {1.0f, 0.0f, 0.0f}, 4.0},
    {{1.5f, 2.0f, 0.0f}, -90.0f, {1.0f, 0.0f, 0.0f}, 4.0},
};
constexpr double POST_RADIUS = 0.1;
constexpr int POST_SLICES = 10;
constexpr int POST_STACKS = 10;
