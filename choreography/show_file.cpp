#include "choreography/show_file.h"

#include "choreography/robot_inspection.h"
#include "choreography/show_text.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <iterator>

namespace {
const std::array<std::string, JOINT_COUNT>& jointNames() {
    static const std::array<std::string, JOINT_COUNT> names = [] {
        std::array<std::string, JOINT_COUNT> made;
        for (int k = 0; k < JOINT_COUNT; ++k) {
            made[static_cast<std::size_t>(k)] = jointName(k);
            std::replace(made[static_cast<std::size_t>(k)].begin(),
                         made[static_cast<std::size_t>(k)].end(), ' ', '_');
        }
        return made;
    }();
    return names;
}
} // namespace

ShowScripts builtInShow() {
    ShowScripts show{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        show.commandCount[i] = makeStartChoreography().commandCount[i];
        std::copy(std::begin(ROBOT_SCRIPTS[i]), std::end(ROBOT_SCRIPTS[i]), show.script[i]);
    }
    return show;
}

const char* showJointName(int joint) {
    assert(joint >= 0 && joint < JOINT_COUNT);
    return jointNames()[static_cast<std::size_t>(joint)].c_str();
}

std::string writeShow(const ShowScripts& show) {
    std::string out = std::string(SHOW_VERSION_LINE) + "\n";
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        assert(show.commandCount[i] >= 1 && show.commandCount[i] <= MAX_SHOW_COMMANDS);
        out += "\nrobot " + std::to_string(i + 1) + "\n";
        float angles[JOINT_COUNT];
        std::copy(std::begin(START_ANGLES), std::end(START_ANGLES), angles);
        const float* command = show.script[i];
        for (std::uint32_t c = 0; c < show.commandCount[i]; ++c) {
            if (command[0] == static_cast<float>(Walk)) {
                out += "walk";
                for (int axis = 0; axis < 3; ++axis) {
                    out += ' ';
                    appendNumber(out, command[1 + axis]);
                }
                command += WALK_LENGTH;
            } else {
                assert(command[0] == static_cast<float>(Pose));
                out += "pose";
                for (int k = 0; k < JOINT_COUNT; ++k) {
                    if (command[1 + k] != angles[k]) {
                        out += ' ';
                        out += showJointName(k);
                        out += '=';
                        appendNumber(out, command[1 + k]);
                        angles[k] = command[1 + k];
                    }
                }
                command += POSE_LENGTH;
            }
            out += '\n';
        }
    }
    return out;
}
