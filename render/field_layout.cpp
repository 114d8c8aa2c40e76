#include "render/field_layout.h"

#include <cassert>

namespace {
constexpr float LINE_HEIGHT = -2.95f;
// The one cross line that lies in the floor's own plane instead of just above it.
constexpr float SUNKEN_LINE_Z = 16.0f;
constexpr float SUNKEN_LINE_HEIGHT = -3.0f;
constexpr int CROSS_LINES = 19;
} // namespace

FieldLine fieldLine(int index) {
    assert(index >= 0 && index < FIELD_LINE_COUNT);
    if (index < CROSS_LINES) {
        const float z = static_cast<float>(-18 + 2 * index);
        const float y = z == SUNKEN_LINE_Z ? SUNKEN_LINE_HEIGHT : LINE_HEIGHT;
        return {{-12.0f, y, z}, {12.0f, y, z}};
    }
    // The two side lines.
    const float x = index == CROSS_LINES ? -12.0f : 12.0f;
    return {{x, LINE_HEIGHT, -18.0f}, {x, LINE_HEIGHT, 18.0f}};
}
