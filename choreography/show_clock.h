// Show clock: the verbs that move the process-wide show in time (seek, step, the previous or
// next completion, play and pause, the speed, replay, open a place) and the place it is at now;
// and the ticks of one idle call, which never pass the show's end. Pure, on seekShow's engine.
// Each verb that moves the show in time, and an idle call before its first tick, has the hand
// pose give way first; the others leave it. Each verb ends with the view following (viewHooks:
// the idle handler back if the show can move, the title, a redisplay). The keys, the idle
// handler, main()'s --at and the page use it.
#pragma once

#include "choreography/show_place.h"
#include "choreography/show_time.h"

#include <cstdint>

extern int playSpeed; // index into the speeds of show_time.h; only the verbs here change it

// The played show's completions, found when it starts by the same ticks that play it.
const ShowHistory& showHistory();

// The show whose scripts `show` points at (pointers that must stay valid) from its first tick,
// playing, its history found anew; the speed and camera stay, the hand pose gives way. The played
// show calls it.
void playChoreography(const Choreography& show);

// Puts the show at the tick: forward it runs on and prints the line of each command finished on
// the way, as playing would; back it runs again from the start and prints nothing. Playing, it
// plays on from there.
void seekTo(std::uint32_t tick);

// Pauses the robots, then moves that many ticks back (negative) or on, not below 0 nor past
// MAX_TICK.
void stepBy(std::int64_t ticks);

// To the next completion after now (else where it is), or back: paused, to the last completion
// before now; playing, to the one before the last passed, so that every press goes further back.
void seekCompletion(bool next);

void playShow();
void pauseShow();
void togglePause();

// The speed by its index; one out of range changes nothing.
void setSpeed(int speed);

// The show from its first tick, playing.
void replayShow();

// The show at the place: its tick (printing the lines of the commands passed on the way there,
// or not, for a page that kept its own), its pause, speed and camera.
void openPlace(const ShowPlace& place, bool printPassed);

// Where the show and the viewer are now.
ShowPlace placeNow();

// After a change made outside these verbs (the space key's pause): the view follows.
void followPlace();

// The ticks of one idle call at the playing speed, each finished command's line printed; it stops
// at the show's last completion (and at MAX_TICK), whatever the speed. Returns what finished.
ShowHistory playIdleCall();
