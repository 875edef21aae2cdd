// The step runs every 10 ms for hours: it must not touch the heap.
#include <cstdlib>
#include <new>

#include "tests/scene/scene_fixture.h"

namespace {
int allocations = 0;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

using AllocationTest = SceneTest;

TEST_F(AllocationTest, StepsAllocateNothingWithEitherDivisor) {
    scene.Init();
    for (const float divisor : {1.0f, 0.13f}) {
        scene.turnDivisor = divisor;
        const int before = allocations;
        for (int step = 0; step < 500; ++step) StepAfter(10);
        EXPECT_EQ(allocations, before) << "divisor " << divisor;
    }
}

TEST_F(AllocationTest, ARetargetingAllocatesNothingButThePlatformsPens) {
    scene.Init();
    StepAfter(7001);
    // Pens are the platform's objects; the stand-in keeps a table entry for each.
    const int before = allocations;
    StepAfter(7001);
    EXPECT_LE(allocations - before, 2);
}

}  // namespace
