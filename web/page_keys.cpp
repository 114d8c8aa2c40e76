// The page's key table, handed over by the program: the rows of the program's own key table
// (controls/key_table.h) as JSON, which the page lays out under its canvas.
#include "controls/key_table.h"

#include <emscripten.h>
#include <string>

extern "C" {

// The text lives as long as the program: the table never changes.
EMSCRIPTEN_KEEPALIVE const char* webKeyTable() {
    static const std::string json = keyTableJson();
    return json.c_str();
}
}
