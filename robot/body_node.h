// Body node tree: one node per body part, linked first-child, next-sibling, and its traversal.
// The robot model fills the nodes; drawRobot walks them with drawNodeTree on the modelview stack.
// The record itself is plain data, so the pure robot model can hold and fill it.
#pragma once

using DrawRoutine = void (*)();

struct BodyNode {
    float matrix[16];  // local transform, column-major as glMultMatrixf takes it
    DrawRoutine draw;  // draws the part's shape in the node's frame
    BodyNode* sibling; // next node under the same parent transform, or null
    BodyNode* child;   // first node under this node's transform, or null
};

// Draws the tree below node (may be null) in pre-order under the current modelview matrix, by
// the tree walk (tree_walk.h): push, multiply, draw, child, pop, then the sibling. Leaves the
// matrix and stack depth as found.
void drawNodeTree(const BodyNode* node);

// Walks the tree as drawNodeTree does, composing the same matrices, but calls atEachNode in each
// node's frame in place of the node's own routine: what is drawn there then sits exactly where
// the part's own frame is.
void drawAtEachNode(const BodyNode* node, DrawRoutine atEachNode);
