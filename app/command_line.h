// Command line: the two options the program answers itself, before any window or display is
// touched, the four that open the show at a place (read as the place's own text is read), and
// the three that choose the show (a file, a spelled word) or print it. Pure; main() asks it
// first and hands every other argument to glutInit.
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

// The show the command line asks for: --show FILE, --spell WORD, and --print-show.
struct ShowChoice {
    bool fromFile = false;
    std::string file;
    bool spelled = false;
    std::string word;
    bool print = false; // write the show to standard output instead of playing it
};

struct ShowPlace;
struct ShowScripts;
// Takes the show's own options out of argv: --at TICK, --paused, --speed NAME, --camera
// H,X,Z,B,S,P, --show FILE and --spell WORD, each also as --at=TICK and so on, and --print-show;
// the place's values are read by the place's readers into `place`. The other arguments stay in
// order (and argc shrinks) for glutInit. A value that cannot be read, --show with --spell, or an
// option of two dashes the program does not know, leaves false and one line naming it in
// `refusal`.
bool takeShowOptions(int& argc, char** argv, ShowPlace& place, ShowChoice& choice,
                     std::string& refusal);

// The show the choice names: the file's (read up to the show file's size limit), the word's, or
// the built-in one. A file that cannot be read or is no show, or a word that cannot be spelled,
// leaves false and one line in `refusal`: for a show that cannot be played, the reader's own
// "FILE:LINE:COLUMN: what is wrong".
bool chooseShow(const ShowChoice& choice, ShowScripts& show, std::string& refusal);

// Takes `--export-gltf FILE` (or `--export-gltf=FILE`) out of argv, the other arguments staying
// in order: Export with the file's name in `path`, None when it is not there, Refused with one
// line in `refusal` when it has no file name. main() writes the show to the file and exits.
enum class ExportRequest { None, Export, Refused };
ExportRequest takeExportOption(int& argc, char** argv, std::string& path, std::string& refusal);

// Writes the text and a newline to standard error: a refused command line.
void printRefusal(const std::string& text);
