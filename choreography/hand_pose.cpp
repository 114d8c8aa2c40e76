#include "choreography/hand_pose.h"

#include "choreography/robot_inspection.h"
#include "choreography/show_file.h"
#include "choreography/show_text.h"
#include "robot/node_matrix.h"

#include <cmath>
#include <cstring>

HandPose handPose;

namespace {

// Steps kept to take back; the oldest goes first beyond it.
constexpr std::size_t MAX_POSE_STEPS = 1000;

// Each joint's counterpart on the body's other side, itself for those on its plane.
constexpr int MIRROR_JOINT[JOINT_COUNT] = {
    TorsoYaw,           HeadPitch,         HeadYaw,           RightUpperArmPitch,
    RightLowerArmPitch, LeftUpperArmPitch, LeftLowerArmPitch, RightUpperLegPitch,
    RightLowerLegPitch, LeftUpperLegPitch, LeftLowerLegPitch, RightUpperArmRoll,
    LeftUpperArmRoll,
};
// The turns a reflection through the plane x = 0 reverses: about y (yaws) and about z (rolls).
// Turns about x (every pitch) it keeps.
constexpr bool MIRROR_NEGATES[JOINT_COUNT] = {
    true, false, true, false, false, false, false, false, false, false, false, true, true,
};

// The recipe the show draws the robots with at its tick: the start-up one until the first tick.
NodeMatrixVariant variantAt(const Choreography& show) {
    return show.ticks == 0 ? NodeMatrixVariant::StartUp : NodeMatrixVariant::Tick;
}

Stance stanceOf(const Robot& robot) {
    Stance stance;
    std::memcpy(stance.angles, robot.angles, sizeof stance.angles);
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        std::memcpy(stance.matrices[part], robot.nodes[part].matrix, sizeof stance.matrices[part]);
    }
    return stance;
}

void stand(Robot& robot, const Stance& stance) {
    std::memcpy(robot.angles, stance.angles, sizeof robot.angles);
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        std::memcpy(robot.nodes[part].matrix, stance.matrices[part], sizeof stance.matrices[part]);
    }
}

PoseAngles anglesOf(const Robot& robot) {
    PoseAngles angles;
    std::memcpy(angles.angle, robot.angles, sizeof angles.angle);
    return angles;
}

void clearHistory(HandPose& pose, int robot) {
    pose.robot = robot;
    pose.undone.clear();
    pose.redone.clear();
    pose.stepOpen = false;
}

// The robot takes the angles by hand; its script's stance is kept the first time.
void poseRobot(HandPose& pose, Robot& robot, int i, const Choreography& show,
               const PoseAngles& angles) {
    if (!pose.posed[i]) {
        pose.scriptStance[i] = stanceOf(robot);
        pose.posed[i] = true;
    }
    std::memcpy(robot.angles, angles.angle, sizeof robot.angles);
    computeNodeMatrices(robot, variantAt(show));
}

// Where a step may start: hand posing allowed, and the history the robot's.
bool readyFor(HandPose& pose, bool isPaused, int robot) {
    if (!handPosingAllowed(robot, isPaused) || robot >= ROBOT_COUNT) {
        return false;
    }
    if (pose.robot != robot) {
        clearHistory(pose, robot);
    }
    endPoseStep(pose);
    return true;
}

// The step's first change: the angles before it can be taken back, and what was taken back is
// gone.
void recordStep(HandPose& pose, const PoseAngles& before) {
    if (pose.undone.size() == MAX_POSE_STEPS) {
        pose.undone.erase(pose.undone.begin());
    }
    pose.undone.push_back(before);
    pose.redone.clear();
}

} // namespace

bool handAngleAccepted(double degrees) {
    const double halves = degrees * 2.0;
    return std::isfinite(degrees) && std::fabs(degrees) <= MAX_HAND_ANGLE_DEG &&
           std::nearbyint(halves) == halves;
}

int jointNamed(std::string_view name) {
    for (int k = 0; k < JOINT_COUNT; ++k) {
        if (name == jointName(k)) {
            return k;
        }
    }
    return -1;
}

bool handPosingAllowed(int selectedRobot, bool isPaused) {
    return selectedRobot != NO_ROBOT && isPaused;
}

bool beginPoseStep(HandPose& pose, const Robot (&robotTable)[ROBOT_COUNT], bool isPaused,
                   int robot) {
    if (!readyFor(pose, isPaused, robot)) {
        return false;
    }
    pose.stepOpen = true;
    pose.stepChanged = false;
    pose.stepStart = anglesOf(robotTable[robot]);
    return true;
}

bool setJointAngle(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                   int joint, double degrees) {
    if (!pose.stepOpen || joint < 0 || joint >= JOINT_COUNT || !handAngleAccepted(degrees)) {
        return false;
    }
    Robot& robot = robotTable[pose.robot];
    PoseAngles angles = anglesOf(robot);
    angles.angle[joint] = static_cast<float>(degrees);
    if (!pose.stepChanged && angles.angle[joint] != robot.angles[joint]) {
        recordStep(pose, pose.stepStart);
        pose.stepChanged = true;
    }
    poseRobot(pose, robot, pose.robot, show, angles);
    return true;
}

void endPoseStep(HandPose& pose) {
    pose.stepOpen = false;
}

bool undoPoseStep(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                  bool isPaused, int robot) {
    if (!readyFor(pose, isPaused, robot) || pose.undone.empty()) {
        return false;
    }
    pose.redone.push_back(anglesOf(robotTable[robot]));
    poseRobot(pose, robotTable[robot], robot, show, pose.undone.back());
    pose.undone.pop_back();
    return true;
}

bool redoPoseStep(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                  bool isPaused, int robot) {
    if (!readyFor(pose, isPaused, robot) || pose.redone.empty()) {
        return false;
    }
    pose.undone.push_back(anglesOf(robotTable[robot]));
    poseRobot(pose, robotTable[robot], robot, show, pose.redone.back());
    pose.redone.pop_back();
    return true;
}

bool mirrorPose(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                bool isPaused, int robot) {
    if (!readyFor(pose, isPaused, robot)) {
        return false;
    }
    const PoseAngles before = anglesOf(robotTable[robot]);
    recordStep(pose, before);
    poseRobot(pose, robotTable[robot], robot, show, mirroredAngles(before));
    return true;
}

PoseAngles mirroredAngles(const PoseAngles& angles) {
    PoseAngles mirrored;
    for (int k = 0; k < JOINT_COUNT; ++k) {
        const float counterpart = angles.angle[MIRROR_JOINT[k]];
        // Taken from zero, so that a zero stays +0 and reads "0" in the inspector, not "-0".
        mirrored.angle[k] = MIRROR_NEGATES[k] ? 0.0f - counterpart : counterpart;
    }
    return mirrored;
}

std::string poseLine(const Robot& robot) {
    std::string line = "pose";
    for (int k = 0; k < JOINT_COUNT; ++k) {
        line += ' ';
        line += showJointName(k);
        line += '=';
        appendNumber(line, robot.angles[k]);
    }
    return line;
}

void handPoseGivesWay(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT]) {
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        if (pose.posed[i]) {
            stand(robotTable[i], pose.scriptStance[i]);
        }
        pose.posed[i] = false;
    }
    clearHistory(pose, pose.robot);
}

bool canUndoPose(const HandPose& pose, int robot) {
    return pose.robot == robot && !pose.undone.empty();
}

bool canRedoPose(const HandPose& pose, int robot) {
    return pose.robot == robot && !pose.redone.empty();
}
