// Posing by hand: a joint set moves its node and those below it only; angles off the grid or out
// of range refused; whole steps taken back and given back; the mirror as a reflection; the pose
// line read back as a show's pose; posing refused while playing or with no robot; the history
// kept by robot; and the hand giving way to its script's stance.
#include "choreography/hand_pose.h"
#include "choreography/show_file.h"
#include "choreography/show_time.h"
#include "robot/tree_walk.h"
#include "tests/support/start_show.h"

#include <cmath>
#include <cstring>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <vector>

namespace {

constexpr int POSED = 1; // the robot the tests pose
constexpr std::uint32_t TICK = 1000;

bool sameStance(const Robot& a, const Robot& b) {
    bool same = std::memcmp(a.angles, b.angles, sizeof a.angles) == 0;
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        same = same && std::memcmp(a.nodes[part].matrix, b.nodes[part].matrix,
                                   sizeof a.nodes[part].matrix) == 0;
    }
    return same;
}

class HandPoseTest : public testing::Test {
  protected:
    void SetUp() override {
        seekShow(show.robots, show.choreography, show.gaits, TICK);
        script = show;
    }
    Robot (&robots())[ROBOT_COUNT] {
        return show.robots;
    }
    // The robot's world matrices, by part, from its tree (linked again in the copy).
    static std::vector<glm::mat4> worlds(Robot robot) {
        linkBodyTree(robot, NO_ROUTINES);
        std::vector<glm::mat4> world(BODY_PART_COUNT);
        world[Torso] = glm::make_mat4(robot.nodes[Torso].matrix);
        walkBodyTree(robot.nodes[Torso].child, world[Torso], 1, [&](const NodeVisit& visit) {
            world[static_cast<std::size_t>(visit.node - robot.nodes)] = visit.world;
        });
        return world;
    }
    // One whole step: the joint through the angles given, as a drag of its slider.
    bool drag(int joint, std::initializer_list<double> angles) {
        if (!beginPoseStep(pose, show.robots, true, POSED)) {
            return false;
        }
        bool all = true;
        for (const double angle : angles) {
            all = setJointAngle(pose, show.robots, show.choreography, joint, angle) && all;
        }
        endPoseStep(pose);
        return all;
    }
    float angle(int joint) const {
        return show.robots[POSED].angles[joint];
    }

    static constexpr DrawRoutine NO_ROUTINES[BODY_PART_COUNT] = {};
    Show show = startShow();
    Show script{}; // the show as its script has it at TICK
    HandPose pose;
};

TEST_F(HandPoseTest, AJointSetMovesItsNodeAndTheNodesBelowItAndNothingElse) {
    const struct {
        int joint;
        std::set<int> moved;
    } cases[] = {
        {LeftUpperArmPitch, {LeftUpperArm, LeftLowerArm}},
        {RightLowerLegPitch, {RightLowerLeg}},
        {HeadYaw, {Head}},
        {RightUpperArmRoll, {RightUpperArm, RightLowerArm}},
        {TorsoYaw,
         {Torso, Head, LeftUpperArm, RightUpperArm, LeftLowerArm, RightLowerArm, LeftUpperLeg,
          RightUpperLeg, LeftLowerLeg, RightLowerLeg}},
    };
    for (const auto& c : cases) {
        const std::vector<glm::mat4> before = worlds(show.robots[POSED]);
        const float from = angle(c.joint);
        ASSERT_TRUE(drag(c.joint, {from + 30.5}));
        EXPECT_EQ(angle(c.joint), from + 30.5f);
        const std::vector<glm::mat4> after = worlds(show.robots[POSED]);
        for (int part = 0; part < BODY_PART_COUNT; ++part) {
            EXPECT_EQ(before[static_cast<std::size_t>(part)] !=
                          after[static_cast<std::size_t>(part)],
                      c.moved.count(part) == 1)
                << "joint " << c.joint << ", part " << part;
        }
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            EXPECT_TRUE(i == POSED || sameStance(show.robots[i], script.robots[i])) << i;
        }
    }
}

TEST_F(HandPoseTest, AnglesOffTheHalfDegreeGridOrOutOfRangeAreRefused) {
    for (const double accepted : {-360.0, -359.5, -0.5, 0.0, 0.5, 225.5, 360.0}) {
        EXPECT_TRUE(handAngleAccepted(accepted)) << accepted;
    }
    for (const double refused :
         {-360.5, -361.0, 0.25, 0.75, 10.1, 360.5, 400.0, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(handAngleAccepted(refused)) << refused;
    }
    // A refused value, a joint that is none, or a set outside a step change nothing.
    ASSERT_TRUE(beginPoseStep(pose, show.robots, true, POSED));
    EXPECT_FALSE(setJointAngle(pose, show.robots, show.choreography, HeadPitch, 10.25));
    EXPECT_FALSE(setJointAngle(pose, show.robots, show.choreography, -1, 10.0));
    EXPECT_FALSE(setJointAngle(pose, show.robots, show.choreography, JOINT_COUNT, 10.0));
    endPoseStep(pose);
    EXPECT_FALSE(setJointAngle(pose, show.robots, show.choreography, HeadPitch, 10.0));
    EXPECT_TRUE(sameStance(show.robots[POSED], script.robots[POSED]));
    EXPECT_FALSE(canUndoPose(pose, POSED));

    EXPECT_EQ(jointNamed("left upper arm roll"), LeftUpperArmRoll);
    EXPECT_EQ(jointNamed("torso yaw"), TorsoYaw);
    EXPECT_EQ(jointNamed("left_upper_arm_roll"), -1);
}

TEST_F(HandPoseTest, UndoTakesBackAWholeDragAndRedoGivesItBack) {
    const float start = angle(HeadPitch);
    ASSERT_TRUE(drag(HeadPitch, {10.0, 20.5, 30.0}));
    ASSERT_TRUE(drag(LeftUpperLegPitch, {-45.0, -90.0}));
    const Robot twoSteps = show.robots[POSED];
    EXPECT_FALSE(canRedoPose(pose, POSED));

    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_EQ(angle(HeadPitch), 30.0f);
    EXPECT_EQ(angle(LeftUpperLegPitch), script.robots[POSED].angles[LeftUpperLegPitch]);
    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_EQ(angle(HeadPitch), start);
    // Back where the script has it: angles and matrices alike.
    EXPECT_TRUE(sameStance(show.robots[POSED], script.robots[POSED]));
    EXPECT_FALSE(canUndoPose(pose, POSED));
    EXPECT_FALSE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));

    ASSERT_TRUE(redoPoseStep(pose, show.robots, show.choreography, true, POSED));
    ASSERT_TRUE(redoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_TRUE(sameStance(show.robots[POSED], twoSteps));
    EXPECT_FALSE(redoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_TRUE(canUndoPose(pose, POSED));
}

TEST_F(HandPoseTest, ANewStepAfterAnUndoDropsTheRedoAndAStepThatChangesNothingKeepsIt) {
    ASSERT_TRUE(drag(HeadYaw, {15.0}));
    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    ASSERT_TRUE(canRedoPose(pose, POSED));
    // A click on a slider that leaves the joint where it was is no step.
    ASSERT_TRUE(drag(HeadYaw, {static_cast<double>(angle(HeadYaw))}));
    EXPECT_TRUE(canRedoPose(pose, POSED));
    ASSERT_TRUE(drag(TorsoYaw, {5.0}));
    EXPECT_FALSE(canRedoPose(pose, POSED));
    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_FALSE(canUndoPose(pose, POSED));
    EXPECT_EQ(angle(HeadYaw), script.robots[POSED].angles[HeadYaw]);
}

TEST_F(HandPoseTest, MirroredPartsStandWhereTheirCounterpartsReflectAndTwiceIsTheIdentity) {
    // A pose with no symmetry: every joint at its own angle.
    for (int k = 0; k < JOINT_COUNT; ++k) {
        ASSERT_TRUE(drag(k, {-150.0 + 23.5 * k}));
    }
    const Robot posed = show.robots[POSED];
    const std::vector<glm::mat4> before = worlds(posed);
    ASSERT_TRUE(mirrorPose(pose, show.robots, show.choreography, true, POSED));
    const std::vector<glm::mat4> after = worlds(show.robots[POSED]);
    const int counterpart[BODY_PART_COUNT] = {
        Torso,        Head,          RightUpperArm, LeftUpperArm,  RightLowerArm,
        LeftLowerArm, RightUpperLeg, LeftUpperLeg,  RightLowerLeg, LeftLowerLeg,
    };
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        const glm::vec4 from = before[static_cast<std::size_t>(counterpart[part])][3];
        // A point off every axis of the part's frame, and its reflection in the mirrored part's
        // frame: the turn is mirrored, not only the place.
        const glm::vec4 tipFrom =
            before[static_cast<std::size_t>(counterpart[part])] * glm::vec4(1, 1, 1, 1);
        const glm::vec4 at = after[static_cast<std::size_t>(part)][3];
        const glm::vec4 tipAt = after[static_cast<std::size_t>(part)] * glm::vec4(-1, 1, 1, 1);
        for (const auto& [mirrored, original] : {std::pair{at, from}, std::pair{tipAt, tipFrom}}) {
            EXPECT_NEAR(mirrored.x, -original.x, 1e-5f) << part;
            EXPECT_NEAR(mirrored.y, original.y, 1e-5f) << part;
            EXPECT_NEAR(mirrored.z, original.z, 1e-5f) << part;
        }
    }
    EXPECT_NE(std::memcmp(posed.angles, show.robots[POSED].angles, sizeof posed.angles), 0);
    // A yaw or roll at zero stays +0, which the inspector writes "0".
    const PoseAngles zero = mirroredAngles(PoseAngles{});
    for (const float mirrored : zero.angle) {
        EXPECT_FALSE(std::signbit(mirrored));
    }
    ASSERT_TRUE(mirrorPose(pose, show.robots, show.choreography, true, POSED));
    EXPECT_TRUE(sameStance(show.robots[POSED], posed));
    // Each mirror is one step.
    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_TRUE(sameStance(show.robots[POSED], posed));
}

TEST_F(HandPoseTest, ThePoseLineReadsBackAsAPoseOfTheSameAngles) {
    ASSERT_TRUE(drag(LeftUpperArmRoll, {-12.5}));
    ASSERT_TRUE(drag(HeadPitch, {80.0}));
    const std::string line = poseLine(show.robots[POSED]);
    EXPECT_EQ(line.rfind("pose torso_yaw=", 0), 0u) << line;
    EXPECT_NE(line.find(" head_pitch=80 "), std::string::npos) << line;
    EXPECT_NE(line.find(" left_upper_arm_roll=-12.5 "), std::string::npos) << line;
    std::string text = "cheerleaders show 1\n";
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        text += "robot " + std::to_string(i + 1) + "\n" + poseLine(show.robots[i]) + "\n";
    }
    const ShowReading reading = readShow("posed", text);
    ASSERT_TRUE(reading.accepted) << reading.refusal;
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_EQ(reading.show.commandCount[i], 1u);
        EXPECT_EQ(reading.show.script[i][0], static_cast<float>(Pose));
        EXPECT_EQ(std::memcmp(&reading.show.script[i][1], show.robots[i].angles,
                              sizeof show.robots[i].angles),
                  0)
            << i;
    }
}

TEST_F(HandPoseTest, PosingIsRefusedWhilePlayingOrWithNoRobotSelected) {
    EXPECT_TRUE(handPosingAllowed(0, true));
    EXPECT_FALSE(handPosingAllowed(0, false));
    EXPECT_FALSE(handPosingAllowed(NO_ROBOT, true));
    EXPECT_FALSE(beginPoseStep(pose, show.robots, false, POSED));
    EXPECT_FALSE(beginPoseStep(pose, show.robots, true, NO_ROBOT));
    EXPECT_FALSE(setJointAngle(pose, show.robots, show.choreography, HeadPitch, 10.0));
    EXPECT_FALSE(mirrorPose(pose, show.robots, show.choreography, false, POSED));
    EXPECT_FALSE(mirrorPose(pose, show.robots, show.choreography, true, NO_ROBOT));
    ASSERT_TRUE(drag(HeadPitch, {10.0}));
    EXPECT_FALSE(undoPoseStep(pose, show.robots, show.choreography, false, POSED));
    EXPECT_EQ(angle(HeadPitch), 10.0f);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_TRUE(i == POSED || sameStance(show.robots[i], script.robots[i])) << i;
    }
}

TEST_F(HandPoseTest, GivingWayPutsTheScriptsStanceBackOnceAndTheShowMovesOnFromIt) {
    ASSERT_TRUE(drag(HeadPitch, {-100.0}));
    ASSERT_TRUE(drag(LeftLowerLegPitch, {70.5}));
    handPoseGivesWay(pose, show.robots);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_TRUE(sameStance(show.robots[i], script.robots[i])) << i;
        EXPECT_FALSE(pose.posed[i]) << i;
    }
    EXPECT_FALSE(canUndoPose(pose, POSED));
    advanceShow(show.robots, show.choreography, show.gaits, TICK + 40);
    advanceShow(script.robots, script.choreography, script.gaits, TICK + 40);
    // Given way once, the stance kept at TICK is gone: giving way again moves nothing.
    handPoseGivesWay(pose, show.robots);
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        EXPECT_TRUE(sameStance(show.robots[i], script.robots[i])) << i;
    }
    // Posed again at the new tick, the stance kept is the new tick's.
    ASSERT_TRUE(drag(RightUpperArmPitch, {33.0}));
    handPoseGivesWay(pose, show.robots);
    EXPECT_TRUE(sameStance(show.robots[POSED], script.robots[POSED]));
}

TEST_F(HandPoseTest, TheStepsToTakeBackAreTheirRobotsAndAnotherRobotStartsItsOwn) {
    ASSERT_TRUE(drag(HeadPitch, {-100.0}));
    ASSERT_TRUE(drag(HeadPitch, {-50.0}));
    ASSERT_TRUE(undoPoseStep(pose, show.robots, show.choreography, true, POSED));
    EXPECT_TRUE(canUndoPose(pose, POSED));
    EXPECT_TRUE(canRedoPose(pose, POSED));
    EXPECT_FALSE(canUndoPose(pose, POSED + 1));
    EXPECT_FALSE(canRedoPose(pose, POSED + 1));
    EXPECT_FALSE(canUndoPose(pose, NO_ROBOT));
    // Nothing to take back on the other robot; its history replaces this one's, and the hand's
    // stance stays.
    EXPECT_FALSE(undoPoseStep(pose, show.robots, show.choreography, true, POSED + 1));
    EXPECT_FALSE(canUndoPose(pose, POSED));
    EXPECT_FALSE(canRedoPose(pose, POSED));
    EXPECT_EQ(angle(HeadPitch), -100.0f);
    EXPECT_TRUE(pose.posed[POSED]);
}

} // namespace

TEST_F(HandPoseTest, AtTheStartThePoseIsDrawnAsTheShowDrawsItsFirstFrame) {
    // Before the first tick the robots have the start-up recipe's matrices: a head pitched by
    // hand moves the head alone, not the lower arms, which that recipe places elsewhere.
    show = startShow();
    script = show;
    ASSERT_TRUE(drag(HeadPitch, {45.0}));
    for (int part = 0; part < BODY_PART_COUNT; ++part) {
        EXPECT_EQ(std::memcmp(show.robots[POSED].nodes[part].matrix,
                              script.robots[POSED].nodes[part].matrix, sizeof(float) * 16) != 0,
                  part == Head)
            << part;
    }
}

TEST_F(HandPoseTest, TheOldestStepGoesBeyondAThousand) {
    for (int step = 0; step <= 1000; ++step) {
        ASSERT_TRUE(drag(HeadYaw, {step % 2 == 0 ? 1.0 : 2.0}));
    }
    int undone = 0;
    while (undoPoseStep(pose, show.robots, show.choreography, true, POSED)) {
        ++undone;
    }
    EXPECT_EQ(undone, 1000);
    EXPECT_EQ(angle(HeadYaw), 1.0f);
}
