// Robot inspection: which robot is being studied, whether body frames are drawn, and a robot's
// state in words: its command, the ticks until that command completes, its gait phase, its
// position, its joints by name and its body tree. Pure. onKey and the page change the selection
// and the frames flag; the scene frame reads them; the `i` key and the page's inspector print
// and show the words.
#pragma once

#include "choreography/choreography.h"
#include "choreography/show_time.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int NO_ROBOT = -1;

struct Inspection {
    int selectedRobot = NO_ROBOT; // 0 to 3, or NO_ROBOT
    bool bodyFramesShown = false; // off at start: the picture is the design's
};
extern Inspection inspection;

// What a key of the inspection does: 0 to 4 select none or a robot, x toggles the frames.
// Returns true for i, which asks for the state to be printed; every other key changes nothing.
bool applyInspectionKey(Inspection& state, unsigned char key);

// Names as people read them: "left upper arm", "right upper arm roll".
const char* bodyPartName(int part);
const char* jointName(int joint);

// One node of a robot's body tree in the order the draw traversal visits it, with its depth
// below the torso (the torso is 0).
struct NodeTreeRow {
    int part;
    int depth;
};
// Follows the robot's own child and sibling links from the torso, so it lists the tree as it
// is linked, not as it is meant to be. An unlinked robot lists the torso alone.
std::vector<NodeTreeRow> nodeTree(const Robot& robot);

// Ticks until robot i's current command completes (ticksToFinish: robot i run alone on copies,
// cheap enough for every frame): 0 for a robot that is done, NEVER_COMPLETES for a command that
// has not completed within LOOKAHEAD_TICKS (a target off the grid is never met).
constexpr std::uint32_t NEVER_COMPLETES = NEVER_FINISHES;
constexpr std::uint32_t LOOKAHEAD_TICKS = LONGEST_COMMAND_TICKS;
std::uint32_t ticksToGo(const Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                        const GaitState (&gaits)[ROBOT_COUNT], int i);

// "walking to x -3, z 0", "spelling its letter", "done", or "holding on an unknown command".
std::string commandText(const Choreography& show, int i);

// The pose target of a joint while robot i poses; false outside a Pose.
bool poseTarget(const Choreography& show, int i, int joint, float& target);

// Robot i's gait phase in words, from the swing flag (the knee flag is set with it); "none, not
// walking" outside a Walk, where the flags only keep their last values.
const char* gaitPhaseText(const Choreography& show, const GaitState& gait, int i);

// A number with nine significant digits, which reads back to the same float.
std::string exactText(float value);

// Robot i's state as plain lines: command, ticks to go, gait phase, position, and the thirteen
// joint angles by name ("left upper arm pitch=225.5"). Every number is written with nine
// significant digits, so it reads back to the same float.
std::vector<std::string> robotStateLines(const Robot (&robotTable)[ROBOT_COUNT],
                                         const Choreography& show,
                                         const GaitState (&gaits)[ROBOT_COUNT], int i);

// Robot i's state as one JSON object for a view that lays it out: robot (1 to 4), command,
// ticksToGo (given; NEVER_COMPLETES is "never"), gait, position, joints (name, angle and pose
// target or null) and tree (name and depth), every number as exactText writes it.
std::string inspectionJson(const Robot (&robotTable)[ROBOT_COUNT], const Choreography& show,
                           const GaitState (&gaits)[ROBOT_COUNT], int i, std::uint32_t toGo);
