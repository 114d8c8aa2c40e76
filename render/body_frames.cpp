#include "render/body_frames.h"

#include "choreography/robot_inspection.h"
#include "robot/robot_drawing.h"

#include <GL/gl.h>

namespace {
// In model units, inside the robot's scale: long enough to clear the thinnest limb, short
// enough not to reach the next joint.
constexpr float AXIS_LENGTH = 1.5f;
constexpr float AXIS_WIDTH_PX = 2.0f;

void drawAxes() {
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(AXIS_LENGTH, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, AXIS_LENGTH, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, AXIS_LENGTH);
    glEnd();
}

// Switches off what would hide or tint the axes and gives back what was on.
struct SavedState {
    GLboolean depthTest, lighting, texture, lineSmooth;
    GLfloat colour[4];
    GLfloat lineWidth;
};

SavedState plainLines() {
    SavedState saved{};
    saved.depthTest = glIsEnabled(GL_DEPTH_TEST);
    saved.lighting = glIsEnabled(GL_LIGHTING);
    saved.texture = glIsEnabled(GL_TEXTURE_2D);
    saved.lineSmooth = glIsEnabled(GL_LINE_SMOOTH);
    glGetFloatv(GL_CURRENT_COLOR, saved.colour);
    glGetFloatv(GL_LINE_WIDTH, &saved.lineWidth);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    // Smoothing without blending only thins the lines; hard pixels read as pure colours.
    glDisable(GL_LINE_SMOOTH);
    glLineWidth(AXIS_WIDTH_PX);
    return saved;
}

void setEnabled(GLenum capability, GLboolean on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

void restore(const SavedState& saved) {
    setEnabled(GL_DEPTH_TEST, saved.depthTest);
    setEnabled(GL_LIGHTING, saved.lighting);
    setEnabled(GL_TEXTURE_2D, saved.texture);
    setEnabled(GL_LINE_SMOOTH, saved.lineSmooth);
    glColor4fv(saved.colour);
    glLineWidth(saved.lineWidth);
}
} // namespace

void drawBodyFrames(int selectedRobot) {
    const SavedState saved = plainLines();
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        if (selectedRobot == NO_ROBOT || selectedRobot == i) {
            drawAtRobotNodes(i, drawAxes);
        }
    }
    restore(saved);
}
