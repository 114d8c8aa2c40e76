#include "robot/tree_walk.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace {
void walkFrom(const BodyNode* node, const glm::mat4& parentWorld, int depth,
              const NodeVisitor& enter, const NodeVisitor& leave, int& visitsLeft) {
    for (; node != nullptr && visitsLeft > 0; node = node->sibling) {
        --visitsLeft;
        const NodeVisit visit = {node, depth, parentWorld * glm::make_mat4(node->matrix)};
        enter(visit);
        walkFrom(node->child, visit.world, depth + 1, enter, leave, visitsLeft);
        if (leave) {
            leave(visit);
        }
    }
}
} // namespace

void walkBodyTree(const BodyNode* first, const glm::mat4& parentWorld, int firstDepth,
                  const NodeVisitor& enter, const NodeVisitor& leave) {
    int visitsLeft = WALK_VISIT_LIMIT;
    walkFrom(first, parentWorld, firstDepth, enter, leave, visitsLeft);
}

glm::mat4 robotPlacement(const Robot& robot) {
    const glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::make_vec3(robot.position));
    return glm::scale(placed, glm::make_vec3(ROBOT_SCALE));
}
