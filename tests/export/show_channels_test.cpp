#include "export/show_channels.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {
// Linear interpolation between the keys gives every tick's value, within float rounding.
void expectKeysReproduce(const std::vector<float>& values, int width,
                         const std::vector<std::uint32_t>& keys, const char* what) {
    const auto w = static_cast<std::size_t>(width);
    ASSERT_EQ(keys.front(), 0u) << what;
    ASSERT_EQ(keys.back() + 1, values.size() / w) << what;
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        const std::uint32_t a = keys[k], b = keys[k + 1];
        ASSERT_LT(a, b) << what;
        for (std::uint32_t t = a; t <= b; ++t) {
            const float f = static_cast<float>(t - a) / static_cast<float>(b - a);
            for (std::size_t c = 0; c < w; ++c) {
                const float from = values[a * w + c], to = values[b * w + c];
                EXPECT_NEAR(from + (to - from) * f, values[t * w + c], 1e-4f)
                    << what << " tick " << t;
            }
        }
    }
}
} // namespace

TEST(ChannelKeys, KeysOnlyWhereTheRateChanges) {
    const std::vector<float> still(10, 3.0f);
    EXPECT_EQ(channelKeyTicks(still, 1, 0.0f), (std::vector<std::uint32_t>{0, 9}));
    // Rises 0.5 a tick to tick 4, holds to tick 6, falls 1 a tick to the end.
    const std::vector<float> bent = {0, 0.5f, 1, 1.5f, 2, 2, 2, 1, 0};
    EXPECT_EQ(channelKeyTicks(bent, 1, 0.0f), (std::vector<std::uint32_t>{0, 4, 6, 8}));
    // Two values a tick: a bend in either one is a key.
    const std::vector<float> pairs = {0, 0, 1, 0, 2, 0, 3, 1, 4, 2};
    EXPECT_EQ(channelKeyTicks(pairs, 2, 0.0f), (std::vector<std::uint32_t>{0, 2, 4}));
    EXPECT_EQ(channelKeyTicks({7.0f}, 1, 0.0f), (std::vector<std::uint32_t>{0}));
}

TEST(ChannelKeys, ALongTurnIsCutIntoSpansOfAtMostTheLargestStep) {
    std::vector<float> turn;
    for (int t = 0; t <= 200; ++t) {
        turn.push_back(1.5f * static_cast<float>(t));
    }
    const std::vector<std::uint32_t> keys = channelKeyTicks(turn, 1, 90.0f);
    EXPECT_EQ(keys, (std::vector<std::uint32_t>{0, 60, 120, 180, 200}));
    EXPECT_EQ(channelKeyTicks(turn, 1, 0.0f), (std::vector<std::uint32_t>{0, 200}));
    EXPECT_EQ(channelKeyTicks(turn, 1, 300.0f), (std::vector<std::uint32_t>{0, 200}));
}

TEST(ShowChannels, EveryChannelsKeysGiveEveryTicksValue) {
    const ShowChannels show = sampleShow();
    ASSERT_EQ(show.tickCount, 2367u);
    std::size_t keyCount = 0;
    for (const RobotChannels& robot : show.robots) {
        ASSERT_EQ(robot.position.size(), 3u * show.tickCount);
        const auto keys = channelKeyTicks(robot.position, 3, 0.0f);
        expectKeysReproduce(robot.position, 3, keys, "position");
        keyCount += keys.size();
        for (int n = 0; n < JOINT_NODE_COUNT; ++n) {
            ASSERT_EQ(robot.angle[n].size(), show.tickCount);
            const auto turns = channelKeyTicks(robot.angle[n], 1, 90.0f);
            expectKeysReproduce(robot.angle[n], 1, turns, JOINT_NODES[n].name);
            keyCount += turns.size();
            if (!robot.offset[n].empty()) {
                expectKeysReproduce(robot.offset[n], 3, channelKeyTicks(robot.offset[n], 3, 0.0f),
                                    JOINT_NODES[n].name);
            }
        }
    }
    // Far fewer keys than ticks: the walk swings in steady runs.
    EXPECT_LT(keyCount, std::size_t{ROBOT_COUNT} * 14 * show.tickCount / 4);
}

TEST(ShowChannels, TheStartHasNoRollAndTheLowerElbowThenEveryTickTheRecipesOwn) {
    const ShowChannels show = sampleShow();
    const RobotChannels& robot = show.robots[0];
    const int elbow = offsetNode(LeftLowerArm);
    EXPECT_EQ(robot.offset[elbow][1], 2.6f);
    EXPECT_EQ(robot.offset[elbow][3 + 1], 2.0f);
    EXPECT_TRUE(robot.offset[bodyNode(Head)].empty());
    EXPECT_EQ(robot.offset[offsetNode(Head)][1], 2.6f);
    EXPECT_EQ(robot.position[0], ROBOT_START[0][0]);
    EXPECT_EQ(robot.position[2], ROBOT_START[0][2]);
}

TEST(ShowChannels, TwoAxisJointsAreTwoNestedNodesUnderTheProgramsTree) {
    EXPECT_EQ(parentJointNode(bodyNode(Torso)), -1);
    EXPECT_EQ(parentJointNode(offsetNode(Head)), bodyNode(Torso));
    EXPECT_EQ(parentJointNode(bodyNode(Head)), offsetNode(Head));
    EXPECT_NE(offsetNode(Head), bodyNode(Head));
    EXPECT_EQ(parentJointNode(bodyNode(LeftUpperArm)), offsetNode(LeftUpperArm));
    EXPECT_EQ(parentJointNode(offsetNode(RightUpperArm)), bodyNode(Torso));
    EXPECT_EQ(parentJointNode(bodyNode(RightLowerArm)), bodyNode(RightUpperArm));
    EXPECT_EQ(parentJointNode(bodyNode(LeftLowerLeg)), bodyNode(LeftUpperLeg));
    EXPECT_EQ(offsetNode(LeftLowerLeg), bodyNode(LeftLowerLeg));
    EXPECT_EQ(JOINT_NODES[offsetNode(LeftUpperArm)].axis, TurnAxis::X);
    EXPECT_EQ(JOINT_NODES[bodyNode(LeftUpperArm)].axis, TurnAxis::Z);
    EXPECT_EQ(JOINT_NODES[bodyNode(Head)].axis, TurnAxis::Y);
}
