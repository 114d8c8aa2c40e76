// A tick allocates nothing: every global operator new of this program is counted.
#include "choreography/choreography.h"
#include "robot/node_matrix.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

namespace {
long allocationCount = 0;
} // namespace

// The replacements stay out of line: inlined, the compiler would see malloc() meet operator
// delete, or operator new meet free(), and take either for a mismatched pair.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

// The nothrow form too: the test framework uses it, and a sanitizer's own version of it would
// hand our operator delete memory that free() must not take.
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    ++allocationCount;
    return std::malloc(size == 0 ? 1 : size);
}

[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}

[[gnu::noinline]] void operator delete(void* p, std::size_t /*size*/) noexcept {
    std::free(p);
}

[[gnu::noinline]] void operator delete(void* p, const std::nothrow_t& /*tag*/) noexcept {
    std::free(p);
}

namespace {

TEST(TickAllocation, AWholeShowRunsWithoutAllocating) {
    Robot robotTable[ROBOT_COUNT];
    GaitState gaits[ROBOT_COUNT];
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        robotTable[i] = makeStartRobot(i);
        computeNodeMatrices(robotTable[i], NodeMatrixVariant::StartUp);
        gaits[i] = START_GAIT[i];
    }
    Choreography show = makeStartChoreography();

    // The counter itself must see an allocation, or a zero below would prove nothing.
    const long probeStart = allocationCount;
    // A direct call: the compiler may drop a new-expression whose result is unused.
    ::operator delete(::operator new(sizeof(int)));
    ASSERT_EQ(allocationCount, probeStart + 1);

    const long before = allocationCount;
    int completions = 0;
    // Walking, posing, finished and paused ticks all take part.
    for (int t = 1; t <= 2400; ++t) {
        completions += choreographyTick(robotTable, show, gaits, t % 100 == 0).completionCount;
    }
    const long allocations = allocationCount - before;
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(completions, 8);
}

} // namespace
