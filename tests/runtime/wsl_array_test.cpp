// The growable pointer array: its growth steps, its ceiling, and pointer moves on insert and
// erase.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/queue_memory.h"
#include "runtime/runtime_options.h"
#include "runtime/wsl_array.h"
#include "tests/common/fatal_capture.h"

namespace quillery {
namespace {

void* fake(std::uintptr_t n) {
    return reinterpret_cast<void*>(n * 16 + 16);
}

const std::vector<std::uint32_t> kSteps = {8,     16,     32,     64,     128,    256,
                                           1024,  2048,   4096,   8192,   16000,  32000,
                                           65000, 130000, 250000, 500000, 1000000};

TEST(WslArrayTest, NextCapacityWalksTheStepsFromZeroAndStopsAtTheCeiling) {
    std::vector<std::uint32_t> walked;
    for (std::uint32_t c = nextWslArrayCapacity(0); c != 0; c = nextWslArrayCapacity(c)) {
        walked.push_back(c);
    }
    EXPECT_EQ(walked, kSteps);
    EXPECT_EQ(nextWslArrayCapacity(256), 1024u);  // no step of 512
    EXPECT_EQ(nextWslArrayCapacity(1000000), 0u);
}

TEST(WslArrayTest, AppendingToTheCeilingGrowsExactlyThroughTheSteps) {
    WSLARRAY array;
    EXPECT_EQ(array.capacity(), 0u);
    std::vector<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < kWslArrayCeiling; ++i) {
        array.insert(i, fake(i));
        if (seen.empty() || seen.back() != array.capacity()) {
            // The array grows only when the new pointer would not fit.
            EXPECT_EQ(i, seen.empty() ? 0u : seen.back()) << "grew early or late";
            seen.push_back(array.capacity());
        }
    }
    EXPECT_EQ(seen, kSteps);
    EXPECT_EQ(array.size(), kWslArrayCeiling);
    EXPECT_EQ(array.at(0), fake(0));
    EXPECT_EQ(array.at(kWslArrayCeiling - 1), fake(kWslArrayCeiling - 1));

    testing::FatalCapture capture;
    EXPECT_THROW(array.insert(array.size(), fake(7)), ProgramEnded);
    ASSERT_EQ(capture.reports().size(), 1u);
    EXPECT_EQ(capture.reports()[0], "Out of memory in WSLARRAY!");
    EXPECT_EQ(array.size(), kWslArrayCeiling);
}

TEST(WslArrayTest, InsertAndEraseMovePointersAroundThePlace) {
    WSLARRAY array;
    array.insert(0, fake(2));
    array.insert(0, fake(0));
    array.insert(1, fake(1));
    array.insert(3, fake(3));
    ASSERT_EQ(array.size(), 4u);
    for (std::uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(array.at(i), fake(i));
    EXPECT_EQ(array.erase(1), fake(1));
    EXPECT_EQ(array.erase(2), fake(3));
    ASSERT_EQ(array.size(), 2u);
    EXPECT_EQ(array.at(0), fake(0));
    EXPECT_EQ(array.at(1), fake(2));
    EXPECT_EQ(array.capacity(), 8u);  // never shrinks
    array.clear();
    EXPECT_EQ(array.size(), 0u);
    EXPECT_EQ(array.capacity(), 0u);
}

// A memory whose reallocation always fails.
void* noRealloc(void*, std::size_t) {
    return nullptr;
}

TEST(WslArrayTest, FailedReallocationIsFatalAndKeepsTheArray) {
    WSLARRAY array;
    for (std::uint32_t i = 0; i < 8; ++i)
        array.insert(i, fake(i));
    {
        RuntimeOptions failing = runtimeOptions();
        failing.queueMemory.reallocate = noRealloc;
        const ScopedRuntimeOptions noGrowth(failing);
        testing::FatalCapture capture;
        EXPECT_THROW(array.insert(8, fake(8)), ProgramEnded);
        ASSERT_EQ(capture.reports().size(), 1u);
        EXPECT_EQ(capture.reports()[0], "Out of memory in WSLARRAY!");
    }
    EXPECT_EQ(array.size(), 8u);
    EXPECT_EQ(array.capacity(), 8u);
    EXPECT_EQ(array.at(7), fake(7));
    array.insert(8, fake(8));
    EXPECT_EQ(array.capacity(), 16u);
}

}  // namespace
}  // namespace quillery
