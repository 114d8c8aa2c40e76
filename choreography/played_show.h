// Played show: which show the program plays (the built-in one until another is started), the
// verbs that start another from its first tick, and its text. Pure, on the show clock. main()
// starts the show the command line names; the page starts the text a visitor gives it.
#pragma once

#include "choreography/show_file.h"

#include <string>
#include <string_view>

// The show being played; its scripts are the ones the choreography points at.
const ShowScripts& playedShow();

// Whether the played show is the built-in one, started by no verb but startBuiltInShow.
bool playingBuiltInShow();

// Plays the show from tick 0, playing: the robots' state, the history of completions, the length
// and every time control follow it; the speed and camera stay. The show must be well formed, as
// readShow or spellShow give it.
void startShow(const ShowScripts& show);

// Reads the text as a show file named `name` and starts it. A text that is not a show leaves the
// played show untouched; the reading says where and why ("NAME:LINE:COLUMN: what is wrong").
ShowReading startShowText(std::string_view name, std::string_view text);

// The played show in the canonical form of writeShow.
std::string playedShowText();

// Back to the built-in show, from tick 0.
void startBuiltInShow();

// A choreography at the start of the show, its scripts pointing into `show`.
Choreography showChoreography(const ShowScripts& show);
