// Traversal of body node trees on a real modelview stack: order, transforms, stack balance.
#include "app/shell.h"
#include "robot/body_node.h"
#include "tests/support/gl_session.h"

#include <GL/glut.h>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <vector>

namespace {

// What a draw routine saw when it was called.
struct DrawSeen {
    int id;
    glm::mat4 modelview;
    int depth;
};
std::vector<DrawSeen> drawLog;

template <int Id> void recordDraw() {
    drawLog.push_back({Id, currentModelview(), modelviewDepth()});
}

// A routine that pushes and pops for itself, like every shape routine.
template <int Id> void recordDrawWithOwnTransform() {
    glPushMatrix();
    glTranslatef(9.0f, 9.0f, 9.0f);
    recordDraw<Id>();
    glPopMatrix();
}

BodyNode makeNode(const glm::mat4& m, DrawRoutine draw) {
    BodyNode node{};
    std::memcpy(node.matrix, glm::value_ptr(m), sizeof node.matrix);
    node.draw = draw;
    return node;
}

const glm::mat4 IDENTITY(1.0f);

class NodeTraversal : public testing::Test {
  protected:
    void SetUp() override {
        startProgramWindows();
        glutSetWindow(sceneView);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // A caller frame that is neither identity nor a pure translation.
        glTranslatef(1.0f, -2.0f, -7.0f);
        glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
        caller = currentModelview();
        callerDepth = modelviewDepth();
        drawLog.clear();
    }
    void TearDown() override {
        expectMatrixNear(currentModelview(), caller);
        EXPECT_EQ(modelviewDepth(), callerDepth);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glLoadIdentity();
    }
    glm::mat4 caller{};
    int callerDepth = 0;
};

TEST_F(NodeTraversal, NullNodeMakesNoMatrixCall) {
    // Matrix calls between glBegin and glEnd are errors, so a push, multiply or pop made by the
    // traversal would leave GL_INVALID_OPERATION behind. First make sure this context says so.
    glBegin(GL_POINTS);
    glPushMatrix();
    glEnd();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));

    glBegin(GL_POINTS);
    drawNodeTree(nullptr);
    glEnd();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(NodeTraversal, SingleNodeIsDrawnUnderCallerTimesItsMatrixOneLevelDown) {
    const glm::mat4 m = glm::rotate(glm::translate(IDENTITY, {0.5f, 1.0f, 2.0f}),
                                    glm::radians(40.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    BodyNode node = makeNode(m, recordDraw<1>);
    drawNodeTree(&node);
    ASSERT_EQ(drawLog.size(), 1u);
    expectMatrixNear(drawLog[0].modelview, caller * m);
    EXPECT_EQ(drawLog[0].depth, callerDepth + 1);
}

TEST_F(NodeTraversal, ChildrenGetTheParentsTransformAndSiblingsDoNot) {
    // R with child A; A with child A1 and sibling B. A translates by (0, 5, 0).
    const glm::mat4 r = glm::rotate(IDENTITY, glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 a = glm::translate(IDENTITY, {0.0f, 5.0f, 0.0f});
    const glm::mat4 a1 = glm::scale(IDENTITY, {2.0f, 3.0f, 4.0f});
    const glm::mat4 b = glm::translate(IDENTITY, {1.0f, 0.0f, 0.0f});
    BodyNode nb = makeNode(b, recordDraw<4>);
    BodyNode na1 = makeNode(a1, recordDrawWithOwnTransform<3>);
    BodyNode na = makeNode(a, recordDraw<2>);
    BodyNode nr = makeNode(r, recordDraw<1>);
    nr.child = &na;
    na.child = &na1;
    na.sibling = &nb;

    drawNodeTree(&nr);

    ASSERT_EQ(drawLog.size(), 4u);
    const glm::mat4 own = glm::translate(IDENTITY, {9.0f, 9.0f, 9.0f});
    const DrawSeen expected[] = {
        {1, caller * r, callerDepth + 1},
        {2, caller * r * a, callerDepth + 2},
        {3, caller * r * a * a1 * own, callerDepth + 4},
        {4, caller * r * b, callerDepth + 2},
    };
    for (size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(drawLog[k].id, expected[k].id);
        expectMatrixNear(drawLog[k].modelview, expected[k].modelview);
        EXPECT_EQ(drawLog[k].depth, expected[k].depth);
    }
}

TEST_F(NodeTraversal, ChainOfSiblingsAllStartFromTheirParentsFrameInChainOrder) {
    const glm::mat4 parent = glm::translate(IDENTITY, {0.0f, 0.0f, -3.0f});
    const glm::mat4 up = glm::translate(IDENTITY, {0.0f, 5.0f, 0.0f});
    BodyNode third = makeNode(up, recordDraw<4>);
    BodyNode second = makeNode(up, recordDraw<3>);
    BodyNode first = makeNode(up, recordDraw<2>);
    BodyNode root = makeNode(parent, recordDraw<1>);
    root.child = &first;
    first.sibling = &second;
    second.sibling = &third;

    drawNodeTree(&root);

    ASSERT_EQ(drawLog.size(), 4u);
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(drawLog[static_cast<size_t>(k)].id, k + 1);
        expectMatrixNear(drawLog[static_cast<size_t>(k)].modelview, caller * parent * up);
    }
}

} // namespace
