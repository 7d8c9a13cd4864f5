#include "toolkit/FixedDecimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace toolkit {
namespace {

std::string fixed2(float v) {
    char text[kFixed2MaxText];
    const size_t n = formatFixed2(v, text, sizeof text);
    EXPECT_EQ(n, std::strlen(text));
    return text;
}

float fromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

TEST(FixedDecimal, Texts) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.123f, "0.12"},
        {1.0f, "1.00"},
        {12.5f, "12.50"},
        {0.5f, "0.50"},
        {0.0f, "0.00"},
        {-0.0f, "-0.00"},
        {-0.001f, "-0.00"},
        {0.125f, "0.12"},   // exact tie: to even
        {0.375f, "0.38"},   // exact tie: to even
        {0.995f, "1.00"},   // the float lies just above the tie
        {0.005f, "0.00"},   // the float lies just below the tie
        {0.015f, "0.01"},   // ditto
        {99.999f, "100.00"},
        {-12.345f, "-12.35"},
        {16777216.0f, "16777216.00"},
        {1e10f, "10000000000.00"},
        {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.00"},
        {std::numeric_limits<float>::denorm_min(), "0.00"},
        {std::numeric_limits<float>::infinity(), "inf"},
        {-std::numeric_limits<float>::infinity(), "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
        {fromBits(0xFFC00000u), "-nan"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        EXPECT_EQ(fixed2(k.value), k.text);
    }
}

TEST(FixedDecimal, ShortBuffersAreCutAndTerminated) {
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(formatFixed2(12.5f, text, sizeof text), 3u);
    EXPECT_STREQ(text, "12.");
    EXPECT_EQ(formatFixed2(12.5f, text, 1), 0u);
    EXPECT_STREQ(text, "");
    text[0] = 'x';
    EXPECT_EQ(formatFixed2(12.5f, text, 0), 0u);
    EXPECT_EQ(text[0], 'x');
}

#if !defined(_WIN32)
// The C library of the native build rounds exactly; our text must match it
// for any float (the Windows runtime's may not, which is why we have our own).
TEST(FixedDecimal, MatchesAnExactlyRoundingPrintf) {
    std::mt19937 random(12345);
    for (int i = 0; i < 200000; ++i) {
        uint32_t bits = random();
        // Half of the cases with exponents around the two decimals, where
        // the rounding happens.
        if (i % 2) bits = (bits & 0x807FFFFFu) | ((100u + random() % 60u) << 23);
        const float v = fromBits(bits);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%2.2f", static_cast<double>(v));
        ASSERT_EQ(fixed2(v), expected) << "bits " << std::hex << bits;
    }
}
#endif

}  // namespace
}  // namespace toolkit
