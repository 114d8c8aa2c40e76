// Rendering set-up of the scene view: projection, the fixed rendering state and the light,
// and the table of six surface materials. The shell registers reshapeScene and calls initScene
// once; the scene frame selects materials with applyMaterial.
#pragma once

#include "render/material_table.h"

// The sky colour, cleared to in every frame of the scene view.
constexpr float SKY_COLOUR[4] = {0.1f, 0.5f, 0.9f, 0.0f};

// Light 0 is directional: it shines from (10, 3, 10) toward the origin.
constexpr float LIGHT_POSITION[4] = {10.0f, 3.0f, 10.0f, 0.0f};

// Reshape handler of the main window and the scene view. A zero width or height keeps the
// viewport and projection the window already had.
void reshapeScene(int w, int h);

// One-time set-up of the scene view's context, with the scene view current.
void initScene();

// Makes entry index (0 to 5) of the material table the current material.
void applyMaterial(int index);
