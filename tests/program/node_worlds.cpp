// Prints, as JSON, what the scene export's outside check compares against: at each tick named on
// the command line, every robot body node's world matrix as the program draws it (its node
// matrices under the robot's placement), and the box each robot's pieces fill in the scene view of
// the starting camera (pixels of a 500 x 500 view from its top left: left, top, right, bottom).
#include "choreography/show_time.h"
#include "controls/walking_camera.h"
#include "export/gltf_export.h"
#include "export/quadric_mesh.h"
#include "export/show_channels.h"
#include "robot/body_shape.h"
#include "robot/tree_walk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

int main(int argc, char** argv) {
    Robot table[ROBOT_COUNT]{};
    Choreography show = makeStartChoreography();
    GaitState gaits[ROBOT_COUNT];
    const DrawRoutine none[BODY_PART_COUNT] = {};
    float camera[16];
    cameraMatrix(ViewerCamera{}, camera);
    // The scene view's projection for a square view: glFrustum(-2, 2, -2, 2, 2, 40).
    const glm::mat4 view =
        glm::frustum(-2.0f, 2.0f, -2.0f, 2.0f, 2.0f, 40.0f) * glm::make_mat4(camera);
    std::printf("{");
    for (int a = 1; a < argc; ++a) {
        const auto tick = static_cast<std::uint32_t>(std::strtoul(argv[a], nullptr, 10));
        seekShow(table, show, gaits, tick);
        std::printf("%s\"%u\": {\"nodes\": {", a > 1 ? ", " : "", tick);
        const char* separator = "";
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            linkBodyTree(table[i], none);
            const Robot& robot = table[i];
            const glm::mat4 placement = robotPlacement(robot);
            walkBodyTree(&robot.nodes[Torso], placement, 0, [&](const NodeVisit& visit) {
                const auto part = static_cast<BodyPart>(visit.node - robot.nodes);
                std::printf("%s\"%s\": [", separator, jointNodeName(i, bodyNode(part)).c_str());
                for (int k = 0; k < 16; ++k) {
                    std::printf("%s%.9g", k ? ", " : "", glm::value_ptr(visit.world)[k]);
                }
                std::printf("]");
                separator = ", ";
            });
        }
        std::printf("}, \"boxes\": [");
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            const Robot& robot = table[i];
            const glm::mat4 placement = robotPlacement(robot);
            float box[4] = {1e9f, 1e9f, -1e9f, -1e9f};
            walkBodyTree(&robot.nodes[Torso], placement, 0, [&](const NodeVisit& visit) {
                const PartShape& shape = PART_SHAPES[visit.node - robot.nodes];
                for (int k = 0; k < shape.pieceCount; ++k) {
                    const ShapePiece& p = shape.pieces[k];
                    const QuadricMesh mesh =
                        p.quadric == QuadricKind::Sphere
                            ? sphereMesh(p.radius, p.slices, p.stacks, false)
                            : tubeMesh(p.radius, p.height, p.slices, p.stacks, false);
                    const glm::mat4 m = view * visit.world * pieceMatrix(p);
                    for (std::size_t v = 0; v < mesh.positions.size(); v += 3) {
                        const glm::vec4 c = m * glm::vec4(glm::make_vec3(&mesh.positions[v]), 1.0f);
                        const float x = (c.x / c.w + 1.0f) * 250.0f,
                                    y = (1.0f - c.y / c.w) * 250.0f;
                        box[0] = std::min(box[0], x);
                        box[1] = std::min(box[1], y);
                        box[2] = std::max(box[2], x);
                        box[3] = std::max(box[3], y);
                    }
                }
            });
            std::printf("%s[%.2f, %.2f, %.2f, %.2f]", i ? ", " : "", box[0], box[1], box[2],
                        box[3]);
        }
        std::printf("]}");
    }
    std::printf("}\n");
    return 0;
}
