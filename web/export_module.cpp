// The page's glTF exporter: the desktop's scene export in a small module of its own, which the
// page runs in a worker only when a visitor asks for the file, so the program every visitor
// downloads carries none of it. The worker writes a show's text into this module's memory; the
// module reads it as the desktop reads a show file and builds the same bytes `--export-gltf`
// writes for that show, from where the worker takes them.
#include "choreography/played_show.h"
#include "export/gltf_export.h"

#include <cstdint>
#include <emscripten.h>
#include <string>
#include <vector>

namespace {
std::string showText;           // the text the worker writes in
std::string refusal;            // why the last text was not a show, or ""
std::vector<std::uint8_t> made; // the last file built
} // namespace

extern "C" {

// Room for a text of `size` bytes (UTF-8, no terminating zero); the worker writes the text there.
EMSCRIPTEN_KEEPALIVE char* webShowTextRoom(int size) {
    showText.assign(static_cast<std::size_t>(size), '\0');
    return showText.data();
}

// Reads the text written in as the show and builds its file: true, with the file's bytes at
// webExportData(), webExportSize() of them; false, with the line that says why at webRefusal(),
// when the text is not a show (and the file is then empty).
EMSCRIPTEN_KEEPALIVE int webExportShow() {
    refusal.clear();
    made.clear();
    const ShowReading reading = startShowText("played show", showText);
    if (!reading.accepted) {
        refusal = reading.refusal;
        return 0;
    }
    made = showGlb();
    return 1;
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* webExportData() {
    return made.data();
}

EMSCRIPTEN_KEEPALIVE int webExportSize() {
    return static_cast<int>(made.size());
}

EMSCRIPTEN_KEEPALIVE const char* webRefusal() {
    return refusal.c_str();
}
}
