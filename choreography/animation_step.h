// Animation step: the GLUT idle handler. Runs the choreography ticks of one idle call at the
// playing speed on the process-wide robots, prints a line for each finished command and asks
// for the scene view to be redrawn; takes itself away when nothing can move, and is put back by
// what can set the robots moving again. Also puts the process-wide show at a tick, for the step
// and seek keys and the command line's --at.
#pragma once

#include "choreography/show_time.h"

#include <cstdint>

extern int playSpeed; // index into the speeds of show_time.h; [ and ] change it

// The whole show's completions, found once at start-up by the same ticks that play it.
const ShowHistory& showHistory();

void animationStep();

// Puts the idle handler back if the robots can move and the main window is not hidden: after a
// key (space, replay, a seek) and a show opened at a place. An idle call that finds nothing to do takes it away again, so
// calling this when nothing changed costs one call.
void wakeShow();

// The main window's status handler: while it is hidden (iconified, or unmapped) the show waits,
// and goes on from the same tick when the window is seen again.
void windowStatusMain(int state);

// Puts the process-wide show at the tick. Going forward prints the lines of the commands
// finished on the way, as playing them would; going back prints nothing. A show put where it
// can move again moves on, unless paused.
void seekShowTo(std::uint32_t tick);
