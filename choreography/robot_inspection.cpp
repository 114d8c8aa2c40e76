#include "choreography/robot_inspection.h"

#include "controls/key_table.h"
#include "robot/tree_walk.h"

#include <cassert>
#include <cstdio>

Inspection inspection;

namespace {
constexpr const char* BODY_PART_NAMES[BODY_PART_COUNT] = {
    "torso",           "head",           "left upper arm",  "right upper arm", "left lower arm",
    "right lower arm", "left upper leg", "right upper leg", "left lower leg",  "right lower leg",
};
constexpr const char* JOINT_NAMES[JOINT_COUNT] = {
    "torso yaw",
    "head pitch",
    "head yaw",
    "left upper arm pitch",
    "left lower arm pitch",
    "right upper arm pitch",
    "right lower arm pitch",
    "left upper leg pitch",
    "left lower leg pitch",
    "right upper leg pitch",
    "right lower leg pitch",
    "left upper arm roll",
    "right upper arm roll",
};

bool isCommand(const float* command, ScriptCommand code) {
    return command[0] == static_cast<float>(code);
}
} // namespace

// Nine significant digits carry a float through text and back unchanged.
std::string exactText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

bool applyInspectionKey(Inspection& state, unsigned char key) {
    switch (keyCommand(key)) {
    case KeyCommand::SelectNone:
        state.selectedRobot = NO_ROBOT;
        return false;
    case KeyCommand::SelectRobot:
        state.selectedRobot = key - '1';
        return false;
    case KeyCommand::ToggleBodyFrames:
        state.bodyFramesShown = !state.bodyFramesShown;
        return false;
    case KeyCommand::PrintState:
        return true;
    default:
        return false;
    }
}

const char* bodyPartName(int part) {
    assert(part >= 0 && part < BODY_PART_COUNT);
    return BODY_PART_NAMES[part];
}

const char* jointName(int joint) {
    assert(joint >= 0 && joint < JOINT_COUNT);
    return JOINT_NAMES[joint];
}

std::vector<NodeTreeRow> nodeTree(const Robot& robot) {
    std::vector<NodeTreeRow> rows;
    rows.push_back({Torso, 0});
    // The torso's own siblings are not the body's. A tree whose links loop lists no more rows
    // than a robot has nodes.
    walkBodyTree(robot.nodes[Torso].child, glm::mat4(1.0f), 1, [&](const NodeVisit& visit) {
        if (rows.size() < BODY_PART_COUNT) {
            rows.push_back({static_cast<int>(visit.node - robot.nodes), visit.depth});
        }
    });
    return rows;
}

std::uint32_t ticksToGo(const Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                        const GaitState (&gaits)[ROBOT_COUNT], int i) {
    assert(i >= 0 && i < ROBOT_COUNT);
    return ticksToFinish(robotTable[i], gaits[i], show, i);
}

std::string commandText(const Choreography& show, int i) {
    assert(i >= 0 && i < ROBOT_COUNT);
    if (show.finishedCount[i] >= show.commandCount[i]) {
        return "done";
    }
    const float* command = show.script[i] + show.cursor[i];
    if (isCommand(command, Walk)) {
        // The walks keep their height, so the words leave y out.
        char text[80];
        std::snprintf(text, sizeof text, "walking to x %g, z %g", static_cast<double>(command[1]),
                      static_cast<double>(command[3]));
        return text;
    }
    if (isCommand(command, Pose)) {
        return "spelling its letter";
    }
    return "holding on an unknown command";
}

bool poseTarget(const Choreography& show, int i, int joint, float& target) {
    assert(i >= 0 && i < ROBOT_COUNT && joint >= 0 && joint < JOINT_COUNT);
    if (show.finishedCount[i] >= show.commandCount[i]) {
        return false;
    }
    const float* command = show.script[i] + show.cursor[i];
    if (!isCommand(command, Pose)) {
        return false;
    }
    target = command[1 + joint];
    return true;
}

const char* gaitPhaseText(const Choreography& show, const GaitState& gait, int i) {
    assert(i >= 0 && i < ROBOT_COUNT);
    if (show.finishedCount[i] >= show.commandCount[i] ||
        !isCommand(show.script[i] + show.cursor[i], Walk)) {
        return "none, not walking";
    }
    return gait.swing ? "left leg and right arm forward, left knee bending"
                      : "right leg and left arm forward, right knee bending";
}

std::vector<std::string> robotStateLines(const Robot (&robotTable)[ROBOT_COUNT],
                                         const Choreography& show,
                                         const GaitState (&gaits)[ROBOT_COUNT], int i) {
    assert(i >= 0 && i < ROBOT_COUNT);
    const std::string robot = "robot " + std::to_string(i + 1) + " ";
    const std::uint32_t toGo = ticksToGo(robotTable, show, gaits, i);
    const float* p = robotTable[i].position;
    std::vector<std::string> lines = {
        robot + "command: " + commandText(show, i),
        robot + "ticks to go: " + (toGo == NEVER_COMPLETES ? "never" : std::to_string(toGo)),
        robot + "gait phase: " + gaitPhaseText(show, gaits[i], i),
        robot + "position: x " + exactText(p[0]) + ", y " + exactText(p[1]) + ", z " +
            exactText(p[2]),
    };
    std::string joints = robot + "joints:";
    for (int k = 0; k < JOINT_COUNT; ++k) {
        joints += std::string(k == 0 ? " " : ", ") + JOINT_NAMES[k] + "=" +
                  exactText(robotTable[i].angles[k]);
    }
    lines.push_back(joints);
    return lines;
}

namespace {
std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}
} // namespace

std::string inspectionJson(const Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                           const GaitState (&gaits)[ROBOT_COUNT], int i, std::uint32_t toGo) {
    const Robot& robot = robotTable[i];
    std::string json =
        "{\"robot\":" + std::to_string(i + 1) + ",\"command\":" + quoted(commandText(show, i)) +
        ",\"ticksToGo\":" + quoted(toGo == NEVER_COMPLETES ? "never" : std::to_string(toGo)) +
        ",\"gait\":" + quoted(gaitPhaseText(show, gaits[i], i)) + ",\"position\":" +
        quoted("x " + exactText(robot.position[0]) + ", y " + exactText(robot.position[1]) +
               ", z " + exactText(robot.position[2])) +
        ",\"joints\":[";
    for (int k = 0; k < JOINT_COUNT; ++k) {
        float target = 0.0f;
        json += std::string(k == 0 ? "" : ",") + "{\"name\":" + quoted(jointName(k)) +
                ",\"angle\":" + quoted(exactText(robot.angles[k])) + ",\"target\":" +
                (poseTarget(show, i, k, target) ? quoted(exactText(target)) : "null") + "}";
    }
    json += "],\"tree\":[";
    bool first = true;
    for (const NodeTreeRow& row : nodeTree(robot)) {
        json += std::string(first ? "" : ",") + "{\"name\":" + quoted(bodyPartName(row.part)) +
                ",\"depth\":" + std::to_string(row.depth) + "}";
        first = false;
    }
    return json + "]}";
}
