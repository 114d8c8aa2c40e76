#include "app/swap_control.h"

// The page's frames come with the browser's animation frames, which follow the display's
// refresh already: the interval asked for is the one there is.
bool requestSwapInterval(int interval) {
    return interval == 1;
}
