// Help panel: the strip under the scene view that lists the key bindings, green on dark grey.
// Its two handlers are registered by the shell; drawText is its text routine.
#pragma once

void reshapeHelp(int width, int height);
void displayHelp();

// Formats like printf into a 256-byte buffer (longer text is cut at 255 characters) and draws
// it with a GLUT bitmap font, starting at raster position (x, y).
void drawText(void* font, float x, float y, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
