// Material table: the six surface materials of the scene, as the fixed-function lighting takes
// them. Pure data. applyMaterial makes an entry current; the scene export writes their colours.
#pragma once

constexpr int MATERIAL_COUNT = 6;

// Five parallel arrays indexed by material number.
struct MaterialTable {
    float specular[MATERIAL_COUNT][4];
    float diffuse[MATERIAL_COUNT][4];
    float ambient[MATERIAL_COUNT][4];
    float shininess[MATERIAL_COUNT];
    float emission[MATERIAL_COUNT][4];
};

extern const MaterialTable materialTable;
