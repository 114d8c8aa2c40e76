// Field geometry: the floor and field-line display lists and the goal post.
// initScene creates the goal-post quadrics; the shell builds the lists; the scene frame draws.
#pragma once

// Creates the four quadrics the goal posts are drawn with.
void createGoalPostQuadrics();

// Compiles the floor and field-line display lists.
void buildDisplayLists();
