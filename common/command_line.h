// Command line: the two options the program answers itself, before any window or display is
// touched, and the three that open the show at a place; and the line that names a place so it
// can be opened again. Pure; main() asks it first and hands every other argument to glutInit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class CommandLineAction { RunShow, PrintHelp, PrintVersion };

// PrintHelp when any argument is "--help", else PrintVersion when any is "--version", else
// RunShow. argv[0] is the program name and is not looked at.
CommandLineAction commandLineAction(int argc, const char* const* argv);

// The usage text, line by line, with the key table's lines in it; printHelp prints it, and the
// version line, to standard output through printLine.
std::vector<std::string> helpLines();
void printHelp();
void printVersion();

// Where the show opens: --at TICK, --paused and --camera H,X,Z,B,S,P.
constexpr int CAMERA_VALUE_COUNT = 6; // heading, x, z, bob, step phase, pitch
struct ShowOptions {
    bool hasTick = false;
    std::uint32_t tick = 0;
    bool paused = false;
    bool hasCamera = false;
    float camera[CAMERA_VALUE_COUNT] = {};
};

// Takes the show's own options out of argv, leaving the other arguments in order (and argc
// shrunk) for glutInit. A value that cannot be read exactly leaves false and one line naming it
// in `refusal`.
bool takeShowOptions(int& argc, char** argv, ShowOptions& options, std::string& refusal);

// The page's link to a place: its query's own parameters (the `?` and all) in order, then
// t=TICK, paused and cam=H,X,Z,B,S,P as far as the options have them; the query's own t, paused
// and cam give way to them.
std::string pageQuery(const std::string& query, const ShowOptions& place);

// The place a page's query names with t, paused and cam (other parameters are the page's own and
// left alone), read as the command line's options are. A value that cannot be read leaves false
// and one line naming it in `refusal`.
bool readPageQuery(const std::string& query, ShowOptions& options, std::string& refusal);

// One line with both the options and the page query that open the show at this place; every
// float with nine significant digits, which read back as the same float.
std::string placeLine(std::uint32_t tick, bool isPaused, const float (&camera)[CAMERA_VALUE_COUNT]);

// Writes the text and a newline to standard error: a refused command line.
void printRefusal(const std::string& text);
