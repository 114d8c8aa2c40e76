#include "robot/body_node.h"

#include "robot/tree_walk.h"

#include <GL/gl.h>
#include <cassert>

namespace {
// atEachNode null: each node's own routine. The walk's enter pushes and its leave pops, so each
// node's push and pop pair up around its children and before its sibling, whose frame is then
// the parent's again. The walk's own world matrices go unused: the GL stack composes its own.
void walkTree(const BodyNode* node, DrawRoutine atEachNode) {
    walkBodyTree(
        node, glm::mat4(1.0f), 0,
        [atEachNode](const NodeVisit& visit) {
            const DrawRoutine draw = atEachNode != nullptr ? atEachNode : visit.node->draw;
            // Nodes are drawable only after initRobotBodies gave them their routines.
            assert(draw != nullptr);
            glPushMatrix();
            glMultMatrixf(visit.node->matrix);
            draw();
        },
        [](const NodeVisit&) { glPopMatrix(); });
}
} // namespace

void drawNodeTree(const BodyNode* node) {
    walkTree(node, nullptr);
}

void drawAtEachNode(const BodyNode* node, DrawRoutine atEachNode) {
    assert(atEachNode != nullptr);
    walkTree(node, atEachNode);
}
