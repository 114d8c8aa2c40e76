#include "app/display_loss.h"

// Windows' window system is part of the operating system, not a connection that can break, so
// there is nothing to watch for.
void endOnDisplayLoss() {}
