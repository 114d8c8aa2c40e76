// Console output: every message of the program goes through printLine.
// Used by the texture loader and the idle handler.
#pragma once

// Writes the text and a newline to standard output and flushes at once.
void printLine(const char* text);
