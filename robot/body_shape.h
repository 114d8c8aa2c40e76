// Body shapes: one table of what each body part is made of, in its node's frame. Pure data.
// The drawing turns each piece into its GLU calls (push, the steps in order, the quadric, pop);
// the picking turns the same steps into the piece's matrix and casts its rays against it.
#pragma once

#include "robot/robot_model.h"

#include <glm/mat4x4.hpp>

// One transform call, as glTranslatef, glScalef or glRotatef takes it.
enum class ShapeStepKind {
    Translate, // by (x, y, z)
    Scale,     // by (x, y, z)
    Rotate,    // by degrees about the axis (x, y, z)
};
struct ShapeStep {
    ShapeStepKind kind;
    float degrees; // Rotate only
    float x, y, z;
};

enum class QuadricKind {
    Sphere, // gluSphere(quadric, radius, slices, stacks): about the origin
    Tube,   // gluCylinder(quadric, radius, radius, height, slices, stacks): open, along +z from 0
};

// One quadric under its own steps, applied in order after the node's matrix.
struct ShapePiece {
    int stepCount;
    ShapeStep steps[2];
    QuadricKind quadric;
    double radius;
    double height; // Tube only
    int slices, stacks;
};

struct PartShape {
    int pieceCount;
    ShapePiece pieces[2];
};

// Indexed by BodyPart. Every part extends along its node's +y from the joint.
extern const PartShape PART_SHAPES[BODY_PART_COUNT];

// The matrix the piece's steps make, composed as the GL calls compose them: what takes the
// quadric's own frame into the node's.
glm::mat4 pieceMatrix(const ShapePiece& piece);
