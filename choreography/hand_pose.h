// Hand pose: a robot posed joint by joint by hand while the show is paused, in whole steps that
// can be taken back and given back, mirrored left for right, and written as a show file's pose
// line. Pure. The page's pose panel drives it through handPose; the show's own state under a hand
// pose is kept aside, so that when the show plays on or is sought the robots stand where its
// script has them and every tick after stays exact.
#pragma once

#include "choreography/choreography.h"
#include "choreography/robot_inspection.h"

#include <cstdint>
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
    std::uint32_t tick = 0; // where the show stood while the hand posed
    // Taken off for a call that may move the show: the hand's stance waits in liftedStance.
    bool lifted = false;
    Stance liftedStance[ROBOT_COUNT] = {};
    // The history, of this robot only (NO_ROBOT: none): the angles before each step, the latest
    // last, and those of the steps taken back, the latest taken back last.
    int robot = NO_ROBOT;
    std::vector<PoseAngles> undone;
    std::vector<PoseAngles> redone;
    bool stepOpen = false;
    bool stepChanged = false;
    PoseAngles stepStart = {};
};
// The page's hand pose; only the page's pose calls change it.
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
void handPoseGivesWay(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT]);

// Before a call that may move the show in time: the hand's stance taken off, so the show moves
// from its script's; settleHandPose puts it back if the show stayed.
void liftHandPose(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT]);

// After anything that may have moved the show or changed the selection. Sought to another tick,
// the robots are where the show put them and the hand's stance is dropped; playing on, the hand
// gives way before the first tick; where the show stayed, paused, a lifted stance comes back.
// Another robot selected clears the history; the hand poses stay.
void settleHandPose(HandPose& pose, Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                    bool isPaused, int selectedRobot);

bool canUndoPose(const HandPose& pose);
bool canRedoPose(const HandPose& pose);
