#include "render/textures.h"

void loadTextures() {}
