#include "choreography/animation_step.h"

void animationStep() {}
