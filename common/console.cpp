#include "common/console.h"

#include <cstdio>

void printLine(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    // Flushed per line so a pipe or log sees each completed command as it happens.
    std::fflush(stdout);
}
