// Writes a page that lists the keys from its source, its marker lines replaced by the key table's
// rows: the manual page (desktop/cheerleaders.6.in as configured, a marker for its keys and one
// for its mouse) and the web page (web/cheerleaders.html, one marker inside its key table). So
// each lists the keys the program answers, and the web page does so before the program runs.
// Usage: write_key_rows SOURCE PAGE
#include "controls/key_table.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Comment lines of each language, so the source reads as a page of its own too.
constexpr char KEY_MARKER[] = ".\\\" KEY ROWS";
constexpr char MOUSE_MARKER[] = ".\\\" MOUSE ROWS";
constexpr char PAGE_MARKER[] = "<!-- KEY ROWS -->";

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_key_rows SOURCE PAGE\n");
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::fprintf(stderr, "write_key_rows: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream page;
    int keyMarkers = 0;
    int mouseMarkers = 0;
    int pageMarkers = 0;
    for (std::string line; std::getline(source, line);) {
        // The web page's marker may be indented.
        const std::size_t indent = line.find_first_not_of(' ');
        if (line == KEY_MARKER) {
            page << manualKeyRows(InputKind::Key);
            ++keyMarkers;
        } else if (line == MOUSE_MARKER) {
            page << manualKeyRows(InputKind::Pointer);
            ++mouseMarkers;
        } else if (indent != std::string::npos && line.compare(indent, std::string::npos,
                                                               PAGE_MARKER) == 0) {
            page << htmlKeyRows();
            ++pageMarkers;
        } else {
            page << line << '\n';
        }
    }
    // A source without its markers would make a page without its keys.
    const bool manual = keyMarkers == 1 && mouseMarkers == 1 && pageMarkers == 0;
    const bool webPage = keyMarkers == 0 && mouseMarkers == 0 && pageMarkers == 1;
    if (!manual && !webPage) {
        std::fprintf(stderr,
                     "write_key_rows: %s needs the manual's two marker lines or the web page's "
                     "one, each once\n",
                     argv[1]);
        return 1;
    }
    std::ofstream out(argv[2]);
    out << page.str();
    out.close();
    if (!out) {
        std::fprintf(stderr, "write_key_rows: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
