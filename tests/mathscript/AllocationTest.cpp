// Evaluation runs every time devices are polled, so it must not touch the heap. This file
// replaces the global allocation functions of the test program to count heap use.
#include "ScriptFixture.h"

#include <cstdlib>
#include <new>

namespace {
long allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace qvn::test {
namespace {

using AllocationTest = ScriptFixture;

TEST_F(AllocationTest, EvaluatingATypicalScriptDoesNotAllocate) {
    ScriptPtr script = build(TypicalScript);
    ASSERT_NE(script, nullptr);
    for (int i = 0; i < 4; ++i)
        script->setParameter(i, 0.0);

    const long before = allocations;
    double total = 0.0;
    for (int round = 0; round < 100; ++round) {
        for (int i = 0; i < 4; ++i)
            script->setParameter(i, 0.1 * (round + i));
        total += script->evaluate();
    }
    EXPECT_EQ(allocations, before);
    EXPECT_GT(total, 0.0);
}

} // namespace
} // namespace qvn::test
