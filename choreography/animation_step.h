// Animation step: the GLUT idle handler. Runs the choreography ticks of one idle call at the
// playing speed on the process-wide robots, prints a line for each finished command and asks
// for the scene view to be redrawn. Also puts the process-wide show at a tick, for the step and
// seek keys and the command line's --at.
#pragma once

#include "choreography/show_time.h"

#include <cstdint>

extern int playSpeed; // index into the speeds of show_time.h; [ and ] change it

// The whole show's completions, found once at start-up by the same ticks that play it.
const ShowHistory& showHistory();

void animationStep();

// Puts the process-wide show at the tick. Going forward prints the lines of the commands
// finished on the way, as playing them would; going back prints nothing.
void seekShowTo(std::uint32_t tick);
