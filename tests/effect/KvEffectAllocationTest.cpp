// processReplacing and setParameter allocate nothing: every operator new and
// delete of the program is counted while they run. (Not built with the
// sanitizers, which replace the allocator themselves.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "tests/effect/EffectTestSupport.h"

namespace {
bool gCounting = false;
long gAllocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (gCounting) ++gAllocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (gCounting) ++gAllocations;
    return std::malloc(size ? size : 1);
}
namespace {
void release(void* p) noexcept {
    if (gCounting && p) ++gAllocations;
    std::free(p);
}
}  // namespace
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

using namespace effect_test;

namespace {

TEST(KvEffectAllocation, AudioAndParameterChangesAllocateNothing) {
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        EffectPtr fx = makeEffect(ed);
        Stereo input = testSignal(100000);
        Stereo output = input;
        float* ins[2] = {input.left.data(), input.right.data()};
        float* outs[2] = {output.left.data(), output.right.data()};

        gAllocations = 0;
        gCounting = true;
        for (VstInt32 frames : {1, 64, 512, 2048, 2049, 100000}) {
            fx->processReplacing(ins, outs, frames);
            fx->processReplacing(outs, outs, frames);
        }
        for (int i = 0; i < ed.numParams; ++i) {
            fx->setParameter(i, 0.3f);
            fx->processReplacing(ins, outs, 512);
        }
        fx->suspend();
        fx->processReplacing(ins, outs, 512);
        gCounting = false;
        EXPECT_EQ(gAllocations, 0);
    }
}

}  // namespace
