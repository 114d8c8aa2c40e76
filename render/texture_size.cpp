#include "render/texture_size.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* NON_POWER_OF_TWO_EXTENSION = "GL_ARB_texture_non_power_of_two";
constexpr int FIRST_MAJOR_WITH_ANY_SIDE = 2;

// Whole names only: a longer name that merely starts with `name` does not count.
bool hasExtension(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* p = extensions; (p = std::strstr(p, name)) != nullptr; p += length) {
        const bool startsName = p == extensions || p[-1] == ' ';
        const bool endsName = p[length] == '\0' || p[length] == ' ';
        if (startsName && endsName) {
            return true;
        }
    }
    return false;
}

int largestPowerOfTwoWithin(int n) {
    int power = 1;
    while (power <= n / 2) {
        power *= 2;
    }
    return power;
}

int nearestPowerOfTwo(int n) {
    const int lower = largestPowerOfTwoWithin(n);
    // Widened: the power above 2^30 does not fit an int.
    const long long upper = 2LL * lower;
    return n - lower < upper - n ? lower : static_cast<int>(upper);
}

int fitSide(int side, bool powerOfTwo, int maxSide) {
    if (!powerOfTwo) {
        return std::min(side, maxSide);
    }
    return std::min(nearestPowerOfTwo(side), largestPowerOfTwoWithin(maxSide));
}

} // namespace

bool needsPowerOfTwoSides(const char* version, const char* extensions) {
    const int major = version == nullptr ? 1 : std::atoi(version);
    if (major >= FIRST_MAJOR_WITH_ANY_SIDE) {
        return false;
    }
    return extensions == nullptr || !hasExtension(extensions, NON_POWER_OF_TWO_EXTENSION);
}

TextureSize uploadSize(int width, int height, bool powerOfTwo, int maxSide) {
    assert(width >= 1 && height >= 1 && maxSide >= 1);
    return {fitSide(width, powerOfTwo, maxSide), fitSide(height, powerOfTwo, maxSide)};
}
