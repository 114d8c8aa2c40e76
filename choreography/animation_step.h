// Animation step: the GLUT idle handler.
#pragma once

void animationStep();
