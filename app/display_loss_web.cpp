#include "app/display_loss.h"

// A page has no connection to a display that could break: nothing to watch for.
void endOnDisplayLoss() {}
