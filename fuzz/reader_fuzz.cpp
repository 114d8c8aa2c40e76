// Fuzz target for one reader of text from outside, chosen by READER_CHECK (fuzz/CMakeLists.txt):
// any bytes must keep that reader's properties (reader_checks.h); a broken one is said in one
// line on standard error and traps, which libFuzzer reports with the input.
#include "fuzz/reader_checks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broken = READER_CHECK({reinterpret_cast<const char*>(data), size});
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        __builtin_trap();
    }
    return 0;
}
