// Command line: the two options the program answers itself, before any window or display is
// touched. Pure; main() asks it first and hands every other command line to glutInit whole.
#pragma once

enum class CommandLineAction { RunShow, PrintHelp, PrintVersion };

// PrintHelp when any argument is "--help", else PrintVersion when any is "--version", else
// RunShow. argv[0] is the program name and is not looked at.
CommandLineAction commandLineAction(int argc, const char* const* argv);

// Prints the usage text or the version line to standard output through printLine.
void printHelp();
void printVersion();
