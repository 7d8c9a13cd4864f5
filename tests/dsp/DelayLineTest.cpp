// Delay, all-pass and tap semantics of the delay components.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dsp/Allpass.h"
#include "dsp/DelayLine.h"
#include "dsp/MultiTapDelay.h"
#include "dsp/TappedAllpass.h"
#include "dsp/TappedDelay.h"

namespace {

TEST(DelayLine, DelaysByItsLengthAndByOneSampleForLengthsZeroAndOne) {
    const struct {
        int length, delay;
    } cases[] = {{0, 1}, {1, 1}, {2, 2}, {7, 7}, {kLineCapacity, kLineCapacity}};
    auto line = std::make_unique<DelayLine>();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        line->clear();
        line->length = c.length;
        for (int i = 0; i <= c.delay; ++i) {
            const float y = line->step(i == 0 ? 1.0f : 0.0f);
            EXPECT_EQ(y, i == c.delay ? 1.0f : 0.0f) << "step " << i;
        }
    }
}

TEST(DelayLine, ShorteningTheLengthWhileRunningKeepsTheIndexInsideTheLine) {
    auto line = std::make_unique<DelayLine>();
    line->length = 100;
    for (int i = 0; i < 50; ++i) line->step(1.0f);
    line->length = 10;
    line->step(2.0f);
    EXPECT_EQ(line->writeIndex, 0);
}

TEST(Allpass, GainOneReturnsTheNegatedInputAndKeepsTheBufferZero) {
    auto ap = std::make_unique<Allpass>();
    ap->clear(5);
    ap->gain = 1.0f;
    const float inputs[] = {0.25f, -1.0f, 3.0f, 0.0f, 1e-3f, -7.5f, 2.0f};
    for (float v : inputs) EXPECT_EQ(ap->step(v), -v);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ap->buffer[i], 0.0f);
}

TEST(Allpass, ImpulseResponse) {
    auto ap = std::make_unique<Allpass>();
    ap->clear(3);
    ap->gain = 0.5f;
    // y = buffer - g v; buffer = v + g y: -g at once, then 1 - g^2 after the
    // length, then (1 - g^2) g after twice the length.
    const float expected[] = {-0.5f, 0, 0, 0.75f, 0, 0, 0.375f};
    for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(ap->step(i == 0 ? 1.0f : 0.0f), expected[i]) << i;
}

// Writes 1, 2, 3, ... so that a sample's value tells when it was written.
TEST(TappedComponents, TapsReadAfterAStepReturnTheSampleWrittenLengthMinusOneMinusOffsetBefore) {
    const struct {
        int length;
        double offset;
    } cases[] = {{10, 0.0}, {10, 3.0}, {10, 8.0}, {10, 9.9}, {1, 0.0}, {2, 1.0}};
    auto delay = std::make_unique<TappedDelay>();
    auto allpass = std::make_unique<TappedAllpass>();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "length " << c.length << " offset " << c.offset);
        delay->clear(c.length, {c.offset, 0.0, 0.0});
        allpass->clear(c.length, {c.offset, 0.0, 0.0});
        allpass->gain = 0.0f;  // a plain delay, so the buffer holds the inputs
        const int o = static_cast<int>(c.offset);
        const int lag = c.length > 0 ? c.length - 1 - o : 0;
        for (int n = 1; n <= 3 * c.length + 5; ++n) {
            delay->step(static_cast<float>(n));
            allpass->step(static_cast<float>(n));
            const int written = n - lag;
            const float expected = written >= 1 ? static_cast<float>(written) : 0.0f;
            ASSERT_EQ(delay->tap(1), expected) << "after step " << n;
            ASSERT_EQ(allpass->tap(1), expected) << "after step " << n;
        }
    }
}

TEST(MultiTapDelay, TapsReadBeforeAStepReturnTheSampleWrittenLengthMinusOffsetBefore) {
    auto line = std::make_unique<MultiTapDelay>();
    line->clear(12, {1.0, 4.0, 5.0, 7.0, 11.0, 0.0});
    const int offsets[] = {1, 4, 5, 7, 11, 0};
    for (int n = 1; n <= 40; ++n) {
        for (int k = 1; k <= 6; ++k) {
            const int written = n - (12 - offsets[k - 1]);
            ASSERT_EQ(line->tap(k), written >= 1 ? static_cast<float>(written) : 0.0f)
                << "tap " << k << " before step " << n;
        }
        const float tap6 = line->tap(6);
        // Offset 0 reads the same sample as the step returns.
        ASSERT_EQ(line->step(static_cast<float>(n)), tap6);
    }
}

TEST(TappedComponents, OffsetsBeyondTheLineAreKeptInsideIt) {
    const struct {
        int length;
        double offset;
        int expected;
    } cases[] = {
        {100, 99.0, 99}, {100, 100.0, 99}, {100, 5e6, 99}, {kLineCapacity, 1e9, kLineCapacity - 1},
        {0, 3.0, 0},     {1, 1.0, 0},      {10, -4.0, 0}, {10, std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tapOffset(c.offset, c.length), c.expected)
            << "length " << c.length << " offset " << c.offset;
    }
}

TEST(DelayLength, TruncatesTowardZeroAndClampsToTheCapacity) {
    const struct {
        double v;
        int expected;
    } cases[] = {{0.0, 0},          {0.99, 0}, {1.0, 1},
                 {3924.9, 3924},    {-5.0, 0}, {95999.99, 95999},
                 {96000.0, 96000},  {1e12, 96000},
                 {std::nan(""), 0}, {1.0 / 0.0, 96000}};
    for (const auto& c : cases) EXPECT_EQ(clampedLength(c.v), c.expected) << c.v;
}

}  // namespace
