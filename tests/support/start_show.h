// Test and benchmark support: a private copy of everything one choreography tick reads and
// writes, built from the start tables, so ticks can run without touching the program's globals.
#pragma once

#include "choreography/choreography.h"
#include "robot/node_matrix.h"

struct Show {
    Robot robots[ROBOT_COUNT];
    Choreography choreography;
    GaitState gaits[ROBOT_COUNT];
};

// The show as the program starts it: robots at their start places with StartUp matrices, the
// built-in scripts, the start gait phases.
inline Show startShow() {
    Show show{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        show.robots[i] = makeStartRobot(i);
        computeNodeMatrices(show.robots[i], NodeMatrixVariant::StartUp);
        show.gaits[i] = START_GAIT[i];
    }
    show.choreography = makeStartChoreography();
    return show;
}
