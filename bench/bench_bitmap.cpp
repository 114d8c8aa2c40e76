// Loading a 2048 x 2048 24-bit bitmap file the way the texture loader does (read the bytes,
// then hand the rows over), against stb_image decoding the same file and against merely
// reading the file's bytes. The file is written to a temporary folder at start-up.
#include "render/bitmap_reader.h"
#include "render/file_bytes.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stb_image.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int SIDE = 2048;
constexpr std::size_t MAX_BYTES = std::size_t{1} << 30;

std::string benchFile;

void putU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

bool writeBenchFile(const std::string& path) {
    const std::size_t stride = SIDE * 3;
    std::vector<std::uint8_t> out(54 + stride * SIDE, 0);
    out[0] = 'B';
    out[1] = 'M';
    putU32(out, 2, static_cast<std::uint32_t>(out.size()));
    putU32(out, 10, 54);
    putU32(out, 14, 40);
    putU32(out, 18, SIDE);
    putU32(out, 22, SIDE);
    out[26] = 1;
    out[28] = 24;
    for (std::size_t i = 54; i < out.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return file.good();
}

void BM_ReadFileBytes(benchmark::State& state) {
    for (auto _ : state) {
        FileBytes bytes;
        if (!readFileBytes(benchFile.c_str(), MAX_BYTES, bytes)) {
            state.SkipWithError("cannot read the file");
            break;
        }
        benchmark::DoNotOptimize(bytes.data.get());
    }
}

void BM_ReadFileIntoVectorWithIfstream(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(benchFile, std::ios::binary | std::ios::ate);
        std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_LoadBitmap(benchmark::State& state) {
    for (auto _ : state) {
        FileBytes bytes;
        BitmapImage image;
        if (!readFileBytes(benchFile.c_str(), MAX_BYTES, bytes) ||
            !readBitmap(bytes.data.get(), bytes.size, BITMAP_MAX_SIDE, image)) {
            state.SkipWithError("cannot load the file");
            break;
        }
        benchmark::DoNotOptimize(image.rows);
    }
}

void BM_StbImageLoad(benchmark::State& state) {
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        unsigned char* pixels = stbi_load(benchFile.c_str(), &width, &height, &channels, 3);
        if (pixels == nullptr) {
            state.SkipWithError("stb_image cannot load the file");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadFileIntoVectorWithIfstream)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StbImageLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench_bitmap_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    benchFile = (dir / "big.bmp").string();
    if (!writeBenchFile(benchFile)) {
        std::fprintf(stderr, "bench_bitmap: cannot write %s\n", benchFile.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
