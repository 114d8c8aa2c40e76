#include "render/field_geometry.h"

void createGoalPostQuadrics() {}

void buildDisplayLists() {}
