// Nothing on the audio path allocates: global operator new and delete are
// replaced by counting versions while the unit (alone and beside another)
// and the high-pass filter process, change settings and reset. (Left out of the sanitizer build,
// whose runtime owns operator new.)
#if !defined(TOVRA_SANITIZE)

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "dsp/OnePoleHighPass.h"
#include "tests/dsp/DspTestSupport.h"

namespace {
std::atomic<long> allocations{0};
std::atomic<long> deallocations{0};
}  // namespace

namespace {
void* countedAllocate(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void countedRelease(void* p) noexcept {
    if (p) ++deallocations;
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n) { return countedAllocate(n); }
void* operator new[](std::size_t n) { return countedAllocate(n); }
void operator delete(void* p) noexcept { countedRelease(p); }
void operator delete[](void* p) noexcept { countedRelease(p); }
void operator delete(void* p, std::size_t) noexcept { countedRelease(p); }
void operator delete[](void* p, std::size_t) noexcept { countedRelease(p); }

namespace {

TEST(ReverbEngineAllocation, ProcessingSettingsAndResetDoNotAllocate) {
    auto e = dsptest::makeEffectUnit(44100.0f);
    auto other = dsptest::makeEffectUnit(44100.0f, 0.8f);
    OnePoleHighPass hp;
    const dsptest::Stereo in = dsptest::burst(2048, 2048);
    dsptest::Stereo out(2048);
    const float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {out.left.data(), out.right.data()};

    // The counters see allocations at all.
    long before = allocations;
    int* volatile probe = new int(3);
    delete probe;
    ASSERT_EQ(allocations - before, 1);

    before = allocations + deallocations;
    for (int block = 0; block < 40; ++block) {
        e->setParameter(EngineParam::Decay, 0.01f * block);
        if (block % 10 == 0) e->setParameter(EngineParam::Size, 0.02f * block);
        e->setParameter(EngineParam::EarlyMix, block % 3 == 0 ? 0.5f : 1.0f);
        e->process(ins, outs, 1 + block * 50);
        ReverbEngine::processPair(*e, ins, outs, *other, ins, outs, 1 + block * 40);
        hp.setCutoff(0.3f);
        for (int i = 0; i < 1024; ++i) out.left[i] = hp.step(out.left[i]);
    }
    e->setSampleRate(96000.0f);
    e->reset();
    hp.setSampleRate(96000.0f);
    e->process(ins, outs, 2048);
    EXPECT_EQ(allocations + deallocations - before, 0);
}

}  // namespace

#endif
