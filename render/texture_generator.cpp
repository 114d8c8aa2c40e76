#include "render/texture_generator.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int SIDE = 256;
constexpr double TAU = 6.283185307179586;

struct Colour {
    double r, g, b;
};

Colour mix(const Colour& a, const Colour& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(const Colour& c, double f) {
    return {c.r * f, c.g * f, c.b * f};
}

struct Picture {
    std::vector<Colour> pixels = std::vector<Colour>(SIDE * SIDE, Colour{0, 0, 0});
    Colour& at(int x, int y) {
        const int wx = ((x % SIDE) + SIDE) % SIDE;
        const int wy = ((y % SIDE) + SIDE) % SIDE;
        return pixels[static_cast<std::size_t>(wy * SIDE + wx)];
    }
};

std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

double unitHash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    return hash(x, y, seed) / 4294967295.0;
}

// Value noise on a lattice of `cells` per side that wraps, so every picture tiles seamlessly.
// The lattice's values are hashed once, when it is made.
struct Lattice {
    int cells;
    std::vector<double> values; // row by row
};

Lattice makeLattice(int cells, std::uint32_t seed) {
    assert(cells > 0 && (cells & (cells - 1)) == 0);
    Lattice lattice{cells, {}};
    lattice.values.reserve(static_cast<std::size_t>(cells * cells));
    for (int cy = 0; cy < cells; ++cy) {
        for (int cx = 0; cx < cells; ++cx) {
            lattice.values.push_back(
                unitHash(static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy), seed));
        }
    }
    return lattice;
}

double latticeNoise(const Lattice& lattice, double x, double y) {
    const int cells = lattice.cells;
    const double fx = x * cells / SIDE;
    const double fy = y * cells / SIDE;
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    // Every lattice has a power of two of cells, so a mask wraps a corner onto it.
    const int mask = cells - 1;
    auto corner = [&](int cx, int cy) {
        return lattice.values[static_cast<std::size_t>((cy & mask) * cells + (cx & mask))];
    };
    const double top = corner(ix, iy) + (corner(ix + 1, iy) - corner(ix, iy)) * sx;
    const double bottom = corner(ix, iy + 1) + (corner(ix + 1, iy + 1) - corner(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

// Several octaves of lattice noise, roughly in 0..1: octave o has cells << o and seed + o.
using FractalNoise = std::vector<Lattice>;

FractalNoise makeFractalNoise(int cells, int octaves, std::uint32_t seed) {
    FractalNoise noise;
    for (int o = 0; o < octaves; ++o) {
        noise.push_back(makeLattice(cells << o, seed + static_cast<std::uint32_t>(o)));
    }
    return noise;
}

double fractalNoise(const FractalNoise& noise, double x, double y) {
    double sum = 0, weight = 0, amplitude = 1;
    for (const Lattice& lattice : noise) {
        sum += amplitude * latticeNoise(lattice, x, y);
        weight += amplitude;
        amplitude *= 0.5;
    }
    return sum / weight;
}

// A small deterministic generator for scattering strokes.
struct Random {
    std::uint64_t state;
    double next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

// Corrugated metal: eight vertical ridges with light on one flank, fine rolling streaks, and
// a few rust stains that follow the grooves.
Picture corrugatedIron() {
    Picture p;
    const Colour steel{150, 160, 172};
    const Colour rust{128, 66, 34};
    const Lattice streaks = makeLattice(64, 11);
    const FractalNoise stains = makeFractalNoise(8, 4, 21);
    // The ridges' light and grooves change across the picture only.
    double light[SIDE], groove[SIDE];
    for (int x = 0; x < SIDE; ++x) {
        const double phase = TAU * x / 32.0;
        light[x] = 0.62 + 0.33 * std::sin(phase) + 0.12 * std::cos(phase * 2);
        // Rust gathers in the grooves, where the sine is low.
        groove[x] = 0.5 - 0.5 * std::sin(phase);
    }
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            const double streak = 0.06 * (latticeNoise(streaks, x, y * 0.05) - 0.5);
            Colour c = scale(steel, light[x] + streak);
            const double stain = fractalNoise(stains, x * 0.5, y);
            c = mix(c, scale(rust, 0.7 + 0.5 * light[x]), (stain - 0.55) * 5.0 * (0.4 + groove[x]));
            c = scale(c, 0.95 + 0.1 * unitHash(static_cast<std::uint32_t>(x),
                                               static_cast<std::uint32_t>(y), 31));
            p.at(x, y) = c;
        }
    }
    return p;
}

// Leopard fur: warm gold with darker patches, and rosettes (broken dark rings round an
// orange-brown centre) scattered one per cell of an 7 x 7 grid, with a few solid spots.
Picture leopard() {
    Picture p;
    const Colour fur{222, 170, 84};
    const Colour pale{240, 214, 150};
    const Colour ring{34, 24, 16};
    const Colour centre{176, 108, 44};
    const FractalNoise patches = makeFractalNoise(4, 3, 41);
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            p.at(x, y) = mix(fur, pale, fractalNoise(patches, x, y) - 0.3);
        }
    }
    constexpr int CELLS = 7;
    const double cell = static_cast<double>(SIDE) / CELLS;
    for (int cy = 0; cy < CELLS; ++cy) {
        for (int cx = 0; cx < CELLS; ++cx) {
            const auto ux = static_cast<std::uint32_t>(cx), uy = static_cast<std::uint32_t>(cy);
            const double mx = (cx + 0.2 + 0.6 * unitHash(ux, uy, 51)) * cell;
            const double my = (cy + 0.2 + 0.6 * unitHash(ux, uy, 52)) * cell;
            const double radius = cell * (0.26 + 0.1 * unitHash(ux, uy, 53));
            const double stretch = 0.8 + 0.4 * unitHash(ux, uy, 54);
            const bool solid = unitHash(ux, uy, 55) < 0.2;
            const int reach = static_cast<int>(radius * 1.6) + 2;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    // The wobble stays below 1.34, so a point this far out is outside the ring
                    // whatever its angle, and is left as it is.
                    if (std::hypot(dx * stretch, dy) >= radius * 1.35) {
                        continue;
                    }
                    const double angle = std::atan2(dy, dx * stretch);
                    const double wobble =
                        1.0 + 0.22 * std::sin(angle * 3 + cx) + 0.12 * std::sin(angle * 5 + cy);
                    const double d = std::hypot(dx * stretch, dy) / (radius * wobble);
                    const int px = static_cast<int>(mx) + dx, py = static_cast<int>(my) + dy;
                    Colour& c = p.at(px, py);
                    if (solid) {
                        if (d < 0.55) {
                            c = ring;
                        }
                        continue;
                    }
                    // The ring is broken in two or three places, as real rosettes are.
                    if (d < 0.6) {
                        c = mix(c, centre, 0.85);
                    } else if (d < 1.0 && std::sin(angle * 3 + 7 * unitHash(ux, uy, 56)) <= 0.93) {
                        c = ring;
                    }
                }
            }
        }
    }
    return p;
}

// Concrete: mid grey with soft blotches, fine grain, pale aggregate and dark air pores.
Picture concrete() {
    Picture p;
    const Colour grey{148, 146, 140};
    const FractalNoise blotches = makeFractalNoise(4, 5, 61);
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
            const double blotch = fractalNoise(blotches, x, y);
            const double grain = unitHash(ux, uy, 62) - 0.5;
            p.at(x, y) = scale(grey, 0.78 + 0.4 * blotch + 0.12 * grain);
        }
    }
    Random random{71};
    for (int i = 0; i < 420; ++i) {
        const int cx = static_cast<int>(random.next() * SIDE);
        const int cy = static_cast<int>(random.next() * SIDE);
        const bool pore = i % 3 == 0;
        const double radius = pore ? 0.8 + random.next() * 1.6 : 1.0 + random.next() * 2.5;
        const double shade = pore ? 0.45 : 1.12 + random.next() * 0.12;
        const int reach = static_cast<int>(radius) + 1;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                if (dx * dx + dy * dy <= radius * radius) {
                    Colour& c = p.at(cx + dx, cy + dy);
                    c = scale(c, shade);
                }
            }
        }
    }
    return p;
}

// Grass: a dark green ground with lighter and darker patches, covered by thousands of short
// slanting blades, each a tapering stroke of its own green.
Picture grass() {
    Picture p;
    const Colour soil{52, 96, 30};
    const Colour lush{92, 160, 52};
    const FractalNoise ground = makeFractalNoise(4, 4, 81);
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            p.at(x, y) = mix(soil, lush, fractalNoise(ground, x, y));
        }
    }
    Random random{91};
    const FractalNoise patches = makeFractalNoise(4, 2, 83);
    const Colour blades[] = {
        {104, 178, 58}, {74, 140, 42}, {132, 198, 74}, {60, 116, 34}, {156, 206, 84}};
    for (int i = 0; i < 5200; ++i) {
        const double x0 = random.next() * SIDE;
        const double y0 = random.next() * SIDE;
        const double length = 6 + random.next() * 12;
        const double lean = (random.next() - 0.5) * 0.9;
        const Colour colour = blades[static_cast<int>(random.next() * 5) % 5];
        const double patch = fractalNoise(patches, x0, y0);
        const int steps = static_cast<int>(length);
        for (int s = 0; s <= steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            // Blades grow up the picture (increasing row), leaning and bending as they go.
            const double x = x0 + lean * length * t * t;
            const double y = y0 + s;
            const Colour tip = scale(colour, (0.8 + 0.4 * patch) * (0.85 + 0.3 * t));
            p.at(static_cast<int>(x), static_cast<int>(y)) = tip;
            if (t < 0.5) {
                Colour& side = p.at(static_cast<int>(x) + 1, static_cast<int>(y));
                side = mix(side, tip, 0.6);
            }
        }
    }
    return p;
}

void putU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    putU16(out, v & 0xffffu);
    putU16(out, v >> 16);
}

// To the nearest level, halves up, as lround would round these non-negative values.
std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::floor(std::clamp(v, 0.0, 255.0) + 0.5));
}

// A 24-bit uncompressed bottom-up bitmap with the 40-byte info header. Row y of the picture is
// its y-th row from the bottom, so the picture's "up" is increasing texture t.
std::vector<std::uint8_t> bitmapFile(Picture picture) {
    const std::uint32_t stride = (SIDE * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * SIDE;
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    putU32(out, 54 + imageSize);
    putU32(out, 0);
    putU32(out, 54);
    putU32(out, 40);
    putU32(out, SIDE);
    putU32(out, SIDE);
    putU16(out, 1);
    putU16(out, 24);
    putU32(out, 0);
    putU32(out, imageSize);
    putU32(out, 2835);
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            const Colour& c = picture.at(x, y);
            out.push_back(channel(c.b));
            out.push_back(channel(c.g));
            out.push_back(channel(c.r));
        }
        out.resize(out.size() + (stride - SIDE * 3), 0);
    }
    return out;
}

struct Texture {
    const char* name;
    Picture (*draw)();
};

constexpr Texture TEXTURES[] = {
    {"corrigatedIronTexture.bmp", corrugatedIron},
    {"leopard.bmp", leopard},
    {"concrete.bmp", concrete},
    {"grass.bmp", grass},
};
static_assert(std::size(TEXTURES) == GENERATED_TEXTURES);

} // namespace

const char* generatedTextureName(int which) {
    assert(which >= 0 && which < GENERATED_TEXTURES);
    return TEXTURES[which].name;
}

std::vector<std::uint8_t> generatedTextureBitmap(int which) {
    assert(which >= 0 && which < GENERATED_TEXTURES);
    return bitmapFile(TEXTURES[which].draw());
}
