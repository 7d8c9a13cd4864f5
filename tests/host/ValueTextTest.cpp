// The value texts: examples and limits of each formatter, the buffer
// contract (at most maxLen characters, zero at text[maxLen], nothing past
// it), and a sweep whose hash pins the exact texts so that the native and
// the Windows build are proven to print the same characters.
#include "host/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "tests/host/TestEffect.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

template <typename Format, typename Value>
std::string render(Format format, Value value, VstInt32 maxLen = 8) {
    char text[64];
    std::memset(text, '#', sizeof text);
    format(value, text, maxLen);
    EXPECT_EQ(text[maxLen], '\0');
    for (size_t i = static_cast<size_t>(maxLen) + 1; i < sizeof text; ++i)
        EXPECT_EQ(text[i], '#') << "written past text[maxLen] at " << i;
    return text;
}

struct FloatCase {
    float value;
    const char* text;
};

TEST(FormatFloat, EightCharactersCutNotRounded) {
    const FloatCase cases[] = {
        {0.5f, "0.500000"},
        {1.0f, "1.000000"},
        {0.0f, "0.000000"},
        {-0.0f, "0.000000"},
        {-0.25f, "-0.25000"},
        {123.456f, "123.4560"},
        {-123.456f, "-123.456"},
        {1.0f / 9.0f, "0.111111"},
        {0.999999f, "0.999998"},  // the float just below 0.999999, cut
        {1e-7f, "0.000000"},
        {10.0f, "10.00000"},
        {100.0f, "100.0000"},
        {2.5e-3f, "0.002499"},  // the float is 0.00249999994...
        {1234567.0f, "1234567."},
        {-123456.0f, "-123456."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(formatFloatText, c.value), c.text) << "value " << c.value;
}

TEST(FormatFloat, LimitsAndValuesBeyondThem) {
    const FloatCase cases[] = {
        {1e9f, "Huge!"},
        {1e8f, "Huge!"},        // above 99,999,999
        {99999992.0f, "99999992"},  // the largest float below the limit keeps every digit
        {12345678.0f, "12345678"},
        {-9999999.0f, "-9999999"},
        {-1234567.0f, "-1234567"},
        {-1e7f, "Huge!"},
        {kInf, "Huge!"},
        {-kInf, "Huge!"},
        {kNaN, "NaN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(formatFloatText, c.value), c.text) << "value " << c.value;
}

TEST(FormatFloat, ShortBuffersAreCutAndTerminated) {
    EXPECT_EQ(render(formatFloatText, 0.5f, 4), "0.50");
    EXPECT_EQ(render(formatFloatText, 0.5f, 0), "");
    EXPECT_EQ(render(formatFloatText, 1e9f, 3), "Hug");
    EXPECT_EQ(render(formatFloatText, 0.5f, 20), "0.500000");
    formatFloatText(0.5f, nullptr, 8);  // nothing to write into: no crash
    char untouched[4] = "abc";
    formatFloatText(0.5f, untouched, -1);
    EXPECT_STREQ(untouched, "abc");
}

TEST(FormatInteger, DigitsSignAndLimits) {
    struct Case {
        VstInt32 value;
        const char* text;
    } const cases[] = {
        {0, "0"},
        {7, "7"},
        {42, "42"},
        {-42, "-42"},
        {1000, "1000"},
        {99999999, "99999999"},
        {-99999999, "-99999999"},
        {100000000, "Huge!"},
        {-100000000, "Huge!"},
        {std::numeric_limits<VstInt32>::max(), "Huge!"},
        {std::numeric_limits<VstInt32>::min(), "Huge!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(formatIntegerText, c.value, 16), c.text) << "value " << c.value;
    EXPECT_EQ(render(formatIntegerText, 123456, 3), "123");
}

TEST(FormatDecibels, SilenceAndPowersOfTen) {
    const FloatCase cases[] = {
        {0.0f, "-oo"},
        {-1.0f, "-oo"},
        {-kInf, "-oo"},
        {1.0f, "0.000000"},
        {10.0f, "20.00000"},
        {100.0f, "40.00000"},
        {0.1f, "-20.0000"},
        {0.5f, "-6.02059"},
        {2.0f, "6.020599"},
        {kInf, "Huge!"},
        {kNaN, "NaN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(formatDecibelsText, c.value), c.text) << "value " << c.value;
}

TEST(DeterministicLog10, MatchesTheLibraryWithinRounding) {
    EXPECT_EQ(deterministicLog10(1.0), 0.0);
    EXPECT_TRUE(std::isinf(deterministicLog10(0.0)) && deterministicLog10(0.0) < 0);
    EXPECT_TRUE(std::isinf(deterministicLog10(-3.0)) && deterministicLog10(-3.0) < 0);
    EXPECT_TRUE(std::isnan(deterministicLog10(std::nan(""))));
    EXPECT_TRUE(std::isinf(deterministicLog10(std::numeric_limits<double>::infinity())));
    const double probes[] = {1e-320, 1e-300, 1.4e-45, 1e-10, 0.001, 0.5, 0.7071, 0.99999,
                             1.00001, 1.41421, 1.5, 2.0, 3.0, 9.99, 10.0, 1e5, 1e30, 1.7e308};
    for (double x : probes)
        EXPECT_NEAR(deterministicLog10(x), std::log10(x), 4e-15 * std::fabs(std::log10(x)) + 1e-15)
            << "x " << x;
}

// The hash of the texts of many values across the formatter's range. Its
// number is the same in the native and the Windows build; a change of a
// single character anywhere changes it.
uint64_t sweepHash(void (*format)(float, char*, VstInt32), float scale) {
    uint64_t hash = 1469598103934665603ull;
    uint32_t state = 12345u;
    char text[16];
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        const float unit = static_cast<float>(state >> 8) * (1.0f / 16777216.0f);
        const float value = (i & 1 ? -1.0f : 1.0f) * unit * scale;
        format(value, text, 8);
        for (const char* p = text; *p; ++p) hash = (hash ^ static_cast<unsigned char>(*p)) * 1099511628211ull;
        hash = (hash ^ 0xffu) * 1099511628211ull;
    }
    return hash;
}

TEST(ValueTextGolden, SameTextsInEveryBuild) {
    struct Case {
        const char* name;
        void (*format)(float, char*, VstInt32);
        float scale;
        uint64_t hash;
    } const cases[] = {
        {"float 0..1", formatFloatText, 1.0f, 8126441763382994015ull},
        {"float 0..1000", formatFloatText, 1000.0f, 7045985231462936004ull},
        {"float 0..1e8", formatFloatText, 1.2e8f, 7724394432256635689ull},
        {"decibels 0..2", formatDecibelsText, 2.0f, 4711282112469953564ull},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sweepHash(c.format, c.scale), c.hash) << c.name;
}

TEST(EffectFormatters, HertzAndMillisecondsUseTheSampleRate) {
    TestEffect effect(nullptr);  // 44100 Hz
    auto hertz = [&](float samples, char* text, VstInt32 maxLen) {
        effect.formatHertz(samples, text, maxLen);
    };
    auto milliseconds = [&](float samples, char* text, VstInt32 maxLen) {
        effect.formatMilliseconds(samples, text, maxLen);
    };
    EXPECT_EQ(render(hertz, 0.0f), "0.000000");
    EXPECT_EQ(render(hertz, 100.0f), "441.0000");
    EXPECT_EQ(render(hertz, 44100.0f), "1.000000");
    EXPECT_EQ(render(milliseconds, 441.0f), "10.00000");
    EXPECT_EQ(render(milliseconds, 44100.0f), "1000.000");
    effect.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(render(milliseconds, 480.0f), "10.00000");

    char text[9];
    effect.formatFloat(0.5f, text, 8);
    EXPECT_STREQ(text, "0.500000");
    effect.formatDecibels(1.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    effect.formatInteger(-5, text, 8);
    EXPECT_STREQ(text, "-5");
}

}  // namespace
