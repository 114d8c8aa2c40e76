// Animation step: the GLUT idle handler. Runs one idle call of the show clock (the ticks of the
// playing speed, a line for each finished command) on the process-wide robots and asks for the
// scene view to be redrawn; takes itself away when nothing can move, and is put back by what can
// set the robots moving again (the show clock's verbs, through viewHooks.wakeShow).
#pragma once

void animationStep();

// Puts the idle handler back if the robots can move and the main window is not hidden: after a
// key (space, replay, a seek) and a show opened at a place. An idle call that finds nothing to do
// takes it away again, so calling this when nothing changed costs one call.
void wakeShow();

// The main window's status handler: while it is hidden (iconified, or unmapped) the show waits,
// and goes on from the same tick when the window is seen again.
void windowStatusMain(int state);
