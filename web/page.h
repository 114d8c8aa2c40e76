// The page's side of the program, as its page_*.cpp files share it: the report of what the page
// shows beside the picture, sent after each frame and each call of the page (page_report.cpp);
// the place, its links and the time's part of the report (page_time.cpp); the inspector's part of
// the report (page_inspector.cpp); the hand pose's (page_pose.cpp); and the show played
// (page_show.cpp).
#pragma once

#include "choreography/show_report.h"

#include <cstdint>
#include <string>

// Builds the report and sends the page's script what changed since the last one, if anything.
void reportToPage();

// The whole show's finished commands with their ticks, and the speeds by name, as JSON.
std::string pageCompletions();
std::string pageSpeeds();
// The page's query for the place now: the given query's other parameters, then the place's.
std::string pagePlaceLink(const std::string& query);
// Opens the show at the place the query names; the line that says what was refused, or "".
std::string pageOpenLink(const std::string& query);
// The place as text the page keeps while the graphics are lost, and back to it; text that is
// no place changes nothing and gives false.
std::string pageSavedPlace();
bool pageRestorePlace(const char* text);
// The report's tick, length, pause, speed, lines finished, timeline text, and the address:
// the page's query with the place while paused, without it while the show plays.
void pageTimeInReport(ShowReport& report, const std::string& pageQuery);

// Counts the shows the page started, 0 while the first plays: the report's show.
int pageShowNumber();

// The report's selection, body frames and, while a robot is selected, its inspection.
void inspectionInReport(ShowReport& report);

// The report's hand pose: whether posing is possible now, and the steps to take back or give back.
void handPoseInReport(ShowReport& report);
