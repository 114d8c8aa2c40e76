// Test and benchmark support: a private copy of everything one choreography tick reads and
// writes, built from the start tables, so ticks can run without touching the program's globals.
#pragma once

#include "choreography/choreography.h"
#include "robot/node_matrix.h"

#include <cstring>

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

// Bitwise, so a change of sign or of a single rounding shows: positions, angles, all ten node
// matrices of all four robots, gaits, cursors, finished counts and ticks; not which scripts they
// play, which two shows read from different places may hold alike.
inline bool sameMotion(const Show& a, const Show& b) {
    const Choreography& ca = a.choreography;
    const Choreography& cb = b.choreography;
    return std::memcmp(a.robots, b.robots, sizeof a.robots) == 0 &&
           std::memcmp(a.gaits, b.gaits, sizeof a.gaits) == 0 &&
           std::memcmp(ca.cursor, cb.cursor, sizeof ca.cursor) == 0 &&
           std::memcmp(ca.finishedCount, cb.finishedCount, sizeof ca.finishedCount) == 0 &&
           ca.ticks == cb.ticks;
}
