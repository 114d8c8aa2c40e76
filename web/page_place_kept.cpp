// The place kept across lost graphics: handed to the page as text it does not read while the
// graphics go, and taken back from it by the program that starts after them.
#include "web/page.h"

#include <emscripten.h>

namespace {

// The longest place text taken back: far more than placeQuery writes.
constexpr int MAX_PLACE_TEXT = 512;

// clang-format off
EM_JS(void, handPlaceToPage, (const char* place), {
    Module.keepPlace(UTF8ToString(place));
});
EM_JS(int, takePlaceFromPage, (char* buffer, int size), {
    const place = Module.storedPlace && Module.storedPlace();
    if (typeof place !== "string" || place.length >= size) return 0;
    stringToUTF8(place, buffer, size);
    return 1;
});
// clang-format on

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void webSavePlace() {
    handPlaceToPage(pageSavedPlace().c_str());
}

// Back to the place the page kept, once the program has started; a place that makes no sense
// changes nothing. Returns whether the program is there.
EMSCRIPTEN_KEEPALIVE int webRestorePlace() {
    char text[MAX_PLACE_TEXT];
    const bool restored = takePlaceFromPage(text, MAX_PLACE_TEXT) != 0 && pageRestorePlace(text);
    reportToPage();
    return restored ? 1 : 0;
}

} // extern "C"
