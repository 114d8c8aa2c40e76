// Test and benchmark support: the longest-running show a file may hold, every robot at
// MAX_SHOW_COMMANDS commands: walks from corner to corner of the field, now and then a pose that
// throws every joint anywhere in -360 to 360 (knees bent backwards, arms crossed) but the left
// hip, which stays within the swing's limits so the next walk keeps its slow gait. With wildHips
// the hip goes anywhere too, and a walk that starts outside the limits steps in every tick.
#pragma once

#include "choreography/show_file.h"

#include <cmath>

inline ShowScripts longestRunningShow(bool wildHips = false) {
    ShowScripts show{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        // Field corners on the robot's own one-unit grid: x within 12, z within 18.
        const float gridX = ROBOT_START[i][0] - std::floor(ROBOT_START[i][0]);
        const float farX = 12.0f - (gridX > 0.0f ? 1.0f - gridX : 0.0f);
        float* command = show.script[i];
        for (std::uint32_t c = 0; c < MAX_SHOW_COMMANDS; ++c) {
            if (c % 8 == 7 || (wildHips && c % 3 == 1)) {
                command[0] = static_cast<float>(Pose);
                for (int k = 0; k < JOINT_COUNT; ++k) {
                    const unsigned spread = (c * 37u + static_cast<unsigned>(k) * 53u +
                                             static_cast<unsigned>(i) * 11u) % 1441u;
                    const bool hip = k == LeftUpperLegPitch && !wildHips;
                    command[1 + k] = hip ? 135.0f + 0.5f * static_cast<float>(spread % 181u)
                                         : -360.0f + 0.5f * static_cast<float>(spread);
                }
                command += POSE_LENGTH;
                continue;
            }
            // Corner to corner, or (wildHips) now and then a short walk along the robot's x.
            const bool corner = !wildHips || c % 3 == 0;
            const float side = (c / (wildHips ? 3 : 1)) % 2 == 0 ? 1.0f : -1.0f;
            command[0] = static_cast<float>(Walk);
            command[1] = corner ? side * farX : ROBOT_START[i][0];
            command[2] = ROBOT_START[i][1];
            command[3] = corner ? -side * 18.0f : static_cast<float>(c % 7) - 3.0f;
            command += WALK_LENGTH;
        }
        show.commandCount[i] = MAX_SHOW_COMMANDS;
    }
    return show;
}
