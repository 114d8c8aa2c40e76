// The page's side of the glTF download: the played show's text, which the page hands the export
// module's worker (web/export_module.cpp) to build the file from, as the desktop builds it from the
// show it plays.
#include "choreography/played_show.h"

#include <emscripten.h>
#include <string>

namespace {
// Held here until the next call: the page copies it out at once.
std::string shownText;
} // namespace

extern "C" {

// The played show in its canonical form, the one every show file reads back to.
EMSCRIPTEN_KEEPALIVE const char* webPlayedShowText() {
    shownText = playedShowText();
    return shownText.c_str();
}

} // extern "C"
