// The one walk down a body tree: order, depth, world matrices, enter and leave pairing, and a
// tree whose links loop.
#include "choreography/robot_inspection.h"
#include "robot/tree_walk.h"

#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

BodyNode makeNode(const glm::mat4& m) {
    BodyNode node{};
    std::memcpy(node.matrix, glm::value_ptr(m), sizeof node.matrix);
    return node;
}

struct Seen {
    std::string event; // "+" on enter, "-" on leave, then the node's name
    int depth;
    glm::mat4 world;
};

class TreeWalk : public testing::Test {
  protected:
    // R with children A and B; A with child A1. Each matrix differs, none commutes with the next.
    void SetUp() override {
        r = makeNode(glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {0.0f, 1.0f, 0.0f}));
        a = makeNode(glm::translate(glm::mat4(1.0f), {0.0f, 5.0f, 0.0f}));
        a1 = makeNode(glm::scale(glm::mat4(1.0f), {2.0f, 3.0f, 4.0f}));
        b = makeNode(glm::translate(glm::mat4(1.0f), {1.0f, 0.0f, 0.0f}));
        r.child = &a;
        a.child = &a1;
        a.sibling = &b;
    }
    std::string name(const BodyNode* node) const {
        return node == &r ? "R" : node == &a ? "A" : node == &a1 ? "A1" : node == &b ? "B" : "?";
    }
    std::vector<Seen> walk(const BodyNode* first, const glm::mat4& parent, int depth) {
        std::vector<Seen> seen;
        walkBodyTree(
            first, parent, depth,
            [&](const NodeVisit& v) {
                seen.push_back({"+" + name(v.node), v.depth, v.world});
            },
            [&](const NodeVisit& v) {
                seen.push_back({"-" + name(v.node), v.depth, v.world});
            });
        return seen;
    }
    static glm::mat4 m(const BodyNode& node) {
        return glm::make_mat4(node.matrix);
    }
    BodyNode r{}, a{}, a1{}, b{};
};

TEST_F(TreeWalk, VisitsInPreOrderEachUnderItsParentsWorldAndLeavesBeforeTheSibling) {
    const glm::mat4 parent = glm::translate(glm::mat4(1.0f), {-3.0f, 0.4f, 2.0f});
    const std::vector<Seen> seen = walk(&r, parent, 2);
    const std::vector<Seen> expected = {
        {"+R", 2, parent * m(r)},
        {"+A", 3, parent * m(r) * m(a)},
        {"+A1", 4, parent * m(r) * m(a) * m(a1)},
        {"-A1", 4, parent * m(r) * m(a) * m(a1)},
        {"-A", 3, parent * m(r) * m(a)},
        {"+B", 3, parent * m(r) * m(b)},
        {"-B", 3, parent * m(r) * m(b)},
        {"-R", 2, parent * m(r)},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t k = 0; k < seen.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(seen[k].event, expected[k].event);
        EXPECT_EQ(seen[k].depth, expected[k].depth);
        for (int c = 0; c < 4; ++c) {
            for (int row = 0; row < 4; ++row) {
                EXPECT_NEAR(seen[k].world[c][row], expected[k].world[c][row], 1e-5f);
            }
        }
    }
}

TEST_F(TreeWalk, NothingIsVisitedBelowANullNodeAndALeaveMayBeLeftOut) {
    EXPECT_TRUE(walk(nullptr, glm::mat4(1.0f), 0).empty());
    int entered = 0;
    walkBodyTree(&a, glm::mat4(1.0f), 0, [&](const NodeVisit&) { ++entered; });
    EXPECT_EQ(entered, 3) << "A, A1 and A's sibling B";
}

TEST_F(TreeWalk, ALoopingTreeEndsAfterTenVisitsWithEveryEnterLeft) {
    // B links back to R: R A A1 B R A A1 B R A, then the walk stops.
    b.sibling = &r;
    const std::vector<Seen> seen = walk(&r, glm::mat4(1.0f), 0);
    int enters = 0, leaves = 0, open = 0;
    for (const Seen& s : seen) {
        open += s.event[0] == '+' ? 1 : -1;
        ASSERT_GE(open, 0);
        (s.event[0] == '+' ? enters : leaves) += 1;
    }
    EXPECT_EQ(enters, WALK_VISIT_LIMIT);
    EXPECT_EQ(leaves, WALK_VISIT_LIMIT);
    EXPECT_EQ(seen.back().event, "-R");
}

TEST(NodeTreeListing, AnUnlinkedRobotListsItsTorsoAndALoopListsTenRows) {
    Robot robot = makeStartRobot(0);
    ASSERT_EQ(nodeTree(robot).size(), 1u);
    // The torso's sibling is not part of the body; a child that loops back lists as linked.
    robot.nodes[Torso].sibling = &robot.nodes[Head];
    robot.nodes[Torso].child = &robot.nodes[LeftUpperArm];
    robot.nodes[LeftUpperArm].child = &robot.nodes[Torso];
    const std::vector<NodeTreeRow> rows = nodeTree(robot);
    ASSERT_EQ(rows.size(), static_cast<size_t>(BODY_PART_COUNT));
    for (size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(k);
        // Torso 0, then arm 1, torso 2, arm 3, ... down the loop; the head, a sibling of the
        // torso, would come only after the torso's endless subtree.
        EXPECT_EQ(rows[k].depth, static_cast<int>(k));
        EXPECT_EQ(rows[k].part, k % 2 == 0 ? Torso : LeftUpperArm);
    }
}

} // namespace
