// Field geometry: the floor and field-line display lists, and the goal post drawn from four
// cylinders. initScene creates the goal-post quadrics, the shell builds the lists once at
// start-up, and the scene frame calls the lists and drawGoalPost every frame.
#pragma once

#include "render/field_layout.h"

#include <GL/glu.h>

// Fixed list numbers, used as they are rather than taken from glGenLists.
constexpr GLuint FLOOR_LIST = 1;
constexpr GLuint FIELD_LINES_LIST = 2;

// In drawing order: centre post, crossbar, left upright, right upright. Filled, without texture
// coordinates. A slot whose quadric could not be created stays null and is not drawn.
extern GLUquadric* goalPostQuadrics[GOAL_POST_PARTS];

// Creates the four quadrics the goal posts are drawn with.
void createGoalPostQuadrics();

// Compiles FLOOR_LIST and FIELD_LINES_LIST, replacing any lists with those numbers.
void buildDisplayLists();

// The floor square, -1..1 in x and z at y = 1, with its normal and texture coordinates.
void drawFloorPolygon();

// The 21 field-line segments in world coordinates; vertices only.
void drawFieldLines();

// One goal post in the current frame: foot at the origin, uprights along +y, crossbar along x.
// Sets no material or texture state and leaves the modelview matrix as it found it.
void drawGoalPost();
