// Tree walk: the one walk down a body node tree, by the nodes' own child and sibling links, in
// pre-order, giving each node with its depth and its world matrix. Pure. The drawing and the body
// frames walk it on the GL matrix stack, the picking casts rays at each node, the inspection
// lists the nodes.
#pragma once

#include "robot/robot_model.h"

#include <functional>
#include <glm/mat4x4.hpp>

struct NodeVisit {
    const BodyNode* node;
    int depth;
    glm::mat4 world; // the parent's world matrix times the node's own
};
using NodeVisitor = std::function<void(const NodeVisit&)>;

// Where robot i's body stands in the world: its position, then the drawing's scale, the matrix
// under which its torso's node sits (drawRobot applies the same two steps on the GL stack).
glm::mat4 robotPlacement(const Robot& robot);

// A body has ten nodes, so a walk stops after this many visits: a tree whose links loop ends.
constexpr int WALK_VISIT_LIMIT = BODY_PART_COUNT;

// Walks first (may be null), its subtree, then its siblings and theirs: at each node enter, then
// the node's children, then leave (may be empty), then the next sibling. So a sibling never gets
// its elder's matrix, and enter and leave pair like a push and its pop.
void walkBodyTree(const BodyNode* first, const glm::mat4& parentWorld, int firstDepth,
                  const NodeVisitor& enter, const NodeVisitor& leave = {});
