#include "render/material_table.h"

const MaterialTable materialTable = {
    // specular
    {
        {0.6f, 0.5f, 0.2f, 1.0f},
        {0.9f, 0.9f, 0.9f, 1.0f},
        {0.7f, 0.8f, 0.9f, 1.0f},
        {0.9f, 0.9f, 0.9f, 1.0f},
        {1.0f, 1.0f, 1.0f, 1.0f},
        {1.0f, 1.0f, 1.0f, 1.0f},
    },
    // diffuse
    {
        {0.8f, 0.6f, 0.4f, 1.0f},
        {0.4f, 0.9f, 0.4f, 1.0f},
        {0.4f, 0.5f, 0.9f, 1.0f},
        {0.9f, 0.9f, 0.9f, 1.0f},
        {1.0f, 1.0f, 1.0f, 1.0f},
        {1.0f, 1.0f, 1.0f, 1.0f},
    },
    // ambient; entry 3's alpha is 0.2, not 1
    {
        {0.6f, 0.4f, 0.5f, 1.0f},
        {0.3f, 0.8f, 0.3f, 1.0f},
        {0.2f, 0.5f, 0.8f, 1.0f},
        {0.9f, 0.9f, 0.9f, 0.2f},
        {1.0f, 1.0f, 1.0f, 1.0f},
        {1.0f, 1.0f, 1.0f, 1.0f},
    },
    // shininess
    {60.0f, 40.0f, 100.0f, 70.0f, 100.0f, 100.0f},
    // emission; entry 4 glows white, entry 5's alpha is 0
    {
        {0.0f, 0.0f, 0.0f, 1.0f},
        {0.0f, 0.0f, 0.0f, 1.0f},
        {0.0f, 0.0f, 0.0f, 1.0f},
        {0.0f, 0.0f, 0.0f, 1.0f},
        {1.0f, 1.0f, 1.0f, 1.0f},
        {0.0f, 0.0f, 0.0f, 0.0f},
    },
};
