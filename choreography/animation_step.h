// Animation step: the GLUT idle handler. Runs one choreography tick on the process-wide robots,
// prints a line for each finished command and asks for the scene view to be redrawn.
#pragma once

void animationStep();
