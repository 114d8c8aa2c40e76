// Command line: the two options the program answers itself, before any window or display is
// touched, and the four that open the show at a place (read as the place's own text is read).
// Pure; main() asks it first and hands every other argument to glutInit.
#pragma once

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

struct ShowPlace;
// Takes the show's own options out of argv: --at TICK, --paused, --speed NAME and --camera
// H,X,Z,B,S,P, each also as --at=TICK and so on, read by the place's readers into `place`. The
// other arguments stay in order (and argc shrinks) for glutInit. A value that cannot be read, or
// an option of two dashes the program does not know, leaves false and one line naming it in
// `refusal`.
bool takeShowOptions(int& argc, char** argv, ShowPlace& place, std::string& refusal);

// Takes `--export-gltf FILE` (or `--export-gltf=FILE`) out of argv, the other arguments staying
// in order: Export with the file's name in `path`, None when it is not there, Refused with one
// line in `refusal` when it has no file name. main() writes the show to the file and exits.
enum class ExportRequest { None, Export, Refused };
ExportRequest takeExportOption(int& argc, char** argv, std::string& path, std::string& refusal);

// Writes the text and a newline to standard error: a refused command line.
void printRefusal(const std::string& text);
