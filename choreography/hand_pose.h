// Hand pose: a robot posed joint by joint by hand while the show is paused, in whole steps that
// can be taken back and given back, mirrored left for right, and written as a show file's pose
// line. Pure. The page's pose panel drives it through handPose; the show's own stance under a hand
// pose is kept aside, and the show clock has the hand give way before the show moves, so that the
// robots stand where the script has them and every tick after stays exact.
#pragma once

#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"

#include <string>
#include <string_view>
#include <vector>

// A hand angle is a whole number of half degrees within this, as a show file's pose has it.
constexpr double MAX_HAND_ANGLE_DEG = 360.0;

// A robot's angles and the node matrices drawn from them.
struct Stance {
    float angles[JOINT_COUNT];
    float matrices[BODY_PART_COUNT][16];
};

struct PoseAngles {
    float angle[JOINT_COUNT];
};

struct HandPose {
    // Robots that stand as the hand put them; their script's stance is kept in scriptStance.
    bool posed[ROBOT_COUNT] = {};
    Stance scriptStance[ROBOT_COUNT] = {};
    // The history, of this robot only (NO_ROBOT: none): the angles before each step, the latest
    // last, and those of the steps taken back, the latest taken back last.
    int robot = NO_ROBOT;
    std::vector<PoseAngles> undone;
    std::vector<PoseAngles> redone;
    bool stepOpen = false;
    bool stepChanged = false;
    PoseAngles stepStart = {};
};
// The page's hand pose over the process-wide robots; the page's pose calls change it, and the
// show clock's verbs that move the show have it give way.
extern HandPose handPose;

// Whether the angle is one a hand may set: finite, a whole number of half degrees, within
// -MAX_HAND_ANGLE_DEG to MAX_HAND_ANGLE_DEG.
bool handAngleAccepted(double degrees);

// The joint by its inspector name ("left upper arm roll"), or -1.
int jointNamed(std::string_view name);

// Hand posing needs a robot selected and the show paused.
bool handPosingAllowed(int selectedRobot, bool isPaused);

// Opens a step on the robot (one drag of a slider, one typed value): the step's first change
// drops the steps taken back and can then be taken back whole. Another robot than the history's
// starts a history of its own. False, and nothing opened, where hand posing is not allowed.
bool beginPoseStep(HandPose& pose, const Robot (&robotTable)[ROBOT_COUNT], bool isPaused,
                   int robot);

// Within an open step: the joint of the step's robot at the angle, its node matrices rebuilt
// so every part below it follows. False, and nothing changed, without an open step, for a joint
// out of range or an angle handAngleAccepted refuses.
bool setJointAngle(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                   int joint, double degrees);

void endPoseStep(HandPose& pose);

// The last step taken back, or the last taken back given back; an open step ends first. False
// where there is none, or hand posing is not allowed.
bool undoPoseStep(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                  bool isPaused, int robot);
bool redoPoseStep(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                  bool isPaused, int robot);

// Left for right, as one step: the pose's reflection through the body's own plane.
bool mirrorPose(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                bool isPaused, int robot);

// The angles reflected through the body's plane (x = 0 of the robot's place): each left joint
// takes its right counterpart's angle, and the turns about the vertical and the sideways rolls
// (torso yaw, head yaw, the upper-arm rolls) change sign.
PoseAngles mirroredAngles(const PoseAngles& angles);

// The robot's angles as a show file's pose line, every joint by its name in the inspector's
// order: "pose torso_yaw=0 head_pitch=80 …".
std::string poseLine(const Robot& robot);

// The hand gives way: each hand-posed robot back in its script's stance, the history cleared.
// The show clock calls it before the show moves in time.
void handPoseGivesWay(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT]);

// Whether the robot's history has a step to take back, or one taken back to give back.
bool canUndoPose(const HandPose& pose, int robot);
bool canRedoPose(const HandPose& pose, int robot);
