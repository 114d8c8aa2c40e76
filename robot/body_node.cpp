#include "robot/body_node.h"

#include <GL/gl.h>
#include <cassert>

void drawNodeTree(const BodyNode* node) {
    if (node == nullptr) {
        return;
    }
    // Nodes are drawable only after initRobotBodies gave them their routines.
    assert(node->draw != nullptr);
    glPushMatrix();
    glMultMatrixf(node->matrix);
    node->draw();
    if (node->child != nullptr) {
        drawNodeTree(node->child);
    }
    glPopMatrix();
    // The sibling comes after the pop, so this node's matrix never reaches it.
    if (node->sibling != nullptr) {
        drawNodeTree(node->sibling);
    }
}
