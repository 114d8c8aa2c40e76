// Bitmap textures: the four texture objects loaded at start-up.
#pragma once

// Loads the four bitmap files of the working directory into texture objects.
void loadTextures();
