#include "robot/body_node.h"

#include <GL/gl.h>
#include <cassert>

namespace {
// atEachNode null: each node's own routine.
void walkTree(const BodyNode* node, DrawRoutine atEachNode) {
    if (node == nullptr) {
        return;
    }
    const DrawRoutine draw = atEachNode != nullptr ? atEachNode : node->draw;
    // Nodes are drawable only after initRobotBodies gave them their routines.
    assert(draw != nullptr);
    glPushMatrix();
    glMultMatrixf(node->matrix);
    draw();
    if (node->child != nullptr) {
        walkTree(node->child, atEachNode);
    }
    glPopMatrix();
    // The sibling comes after the pop, so this node's matrix never reaches it.
    if (node->sibling != nullptr) {
        walkTree(node->sibling, atEachNode);
    }
}
} // namespace

void drawNodeTree(const BodyNode* node) {
    walkTree(node, nullptr);
}

void drawAtEachNode(const BodyNode* node, DrawRoutine atEachNode) {
    assert(atEachNode != nullptr);
    walkTree(node, atEachNode);
}
