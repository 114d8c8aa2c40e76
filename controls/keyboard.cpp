#include "controls/keyboard.h"

#include "app/shell.h"

void onKey(unsigned char /*key*/, int /*x*/, int /*y*/) {
    requestSceneRedisplay();
}
