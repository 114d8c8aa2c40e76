// Writes the manual page from its source (desktop/cheerleaders.6.in as configured): the two marker
// lines are replaced by the key table's rows, so the page lists the keys the program answers.
// Usage: make_manual SOURCE PAGE
#include "controls/key_table.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Comment lines to roff, so the source reads as a manual page of its own too.
constexpr char KEY_MARKER[] = ".\\\" KEY ROWS";
constexpr char MOUSE_MARKER[] = ".\\\" MOUSE ROWS";

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual SOURCE PAGE\n");
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream page;
    int keyMarkers = 0;
    int mouseMarkers = 0;
    for (std::string line; std::getline(source, line);) {
        if (line == KEY_MARKER) {
            page << manualKeyRows(InputKind::Key);
            ++keyMarkers;
        } else if (line == MOUSE_MARKER) {
            page << manualKeyRows(InputKind::Pointer);
            ++mouseMarkers;
        } else {
            page << line << '\n';
        }
    }
    // A source without its markers would make a page without its keys.
    if (keyMarkers != 1 || mouseMarkers != 1) {
        std::fprintf(stderr, "make_manual: %s needs each marker line once\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2]);
    out << page.str();
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
