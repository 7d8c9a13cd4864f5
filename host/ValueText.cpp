#include "host/ValueText.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr int kFloatChars = 8;

// The integer part of fmod(x, 10) for 0 <= x < 2^63: fmod subtracts a whole
// multiple of 10 exactly, so its integer part is trunc(x) mod 10.
int lastDigit(double x) {
    return static_cast<int>(static_cast<uint64_t>(x) % 10u);
}

}  // namespace

void writeHostText(char* text, const char* src, VstInt32 maxLen) {
    if (!text || maxLen < 0) return;
    size_t n = 0;
    const size_t limit = static_cast<size_t>(maxLen);
    if (src) {
        while (n < limit && src[n] != '\0') ++n;
        std::memcpy(text, src, n);
    }
    text[n] = '\0';
    text[limit] = '\0';
}

void formatFloatText(float value, char* text, VstInt32 maxLen) {
    if (value != value) {
        writeHostText(text, "NaN", maxLen);
        return;
    }
    if (value > 99999999.0 || value < -9999999.0) {
        writeHostText(text, "Huge!", maxLen);
        return;
    }
    const bool negative = value < 0.0f;
    const double v = negative ? -static_cast<double>(value) : static_cast<double>(value);

    // Integer part, built from the right: point, last digit, then one digit
    // per product with 0.1 (the product is not rounded back to an integer).
    char buffer[32];
    int pos = sizeof(buffer) - 1;
    buffer[pos] = '\0';
    int count = negative ? 1 : 0;
    const double n = static_cast<double>(static_cast<uint64_t>(v));  // floor, v >= 0
    buffer[--pos] = '.';
    buffer[--pos] = static_cast<char>('0' + lastDigit(n));
    count += 2;
    // Every digit is kept, even past eight characters: dropping leading
    // digits would show a wrong number, cutting the point only shortens it.
    for (double product = n * 0.1; product >= 1.0; product *= 0.1) {
        buffer[--pos] = static_cast<char>('0' + lastDigit(product));
        ++count;
    }
    if (negative) buffer[--pos] = '-';

    char whole[48];
    const size_t integerLength = sizeof(buffer) - 1 - static_cast<size_t>(pos);
    std::memcpy(whole, buffer + pos, integerLength + 1);

    if (count < kFloatChars) {
        // Fraction: k digits of frac * 10^k, built from the right, cut.
        const int k = kFloatChars - count;
        double scale = 1.0;
        for (int i = 0; i < k; ++i) scale *= 10.0;
        double m = (v - n) * scale;
        char* digits = whole + integerLength;
        for (int i = k - 1; i >= 0; --i) {
            if (m <= 0.0) {
                digits[i] = '0';
            } else {
                digits[i] = static_cast<char>('0' + lastDigit(m));
                m *= 0.1;
            }
        }
        digits[k] = '\0';
    }
    writeHostText(text, whole, maxLen);
}

void formatIntegerText(VstInt32 value, char* text, VstInt32 maxLen) {
    if (value >= 100000000 || value <= -100000000) {
        writeHostText(text, "Huge!", maxLen);
        return;
    }
    char buffer[16];
    int pos = 0;
    if (value < 0) {
        buffer[pos++] = '-';
        value = -value;
    }
    bool leading = true;
    for (VstInt32 place = 100000000; place >= 1; place /= 10) {
        const int digit = static_cast<int>((value / place) % 10);
        if (digit == 0 && leading && place > 1) continue;
        leading = false;
        buffer[pos++] = static_cast<char>('0' + digit);
    }
    buffer[pos] = '\0';
    writeHostText(text, buffer, maxLen);
}

double deterministicLog10(double x) {
    if (x != x) return x;
    if (x <= 0.0) return -std::numeric_limits<double>::infinity();
    if (x == std::numeric_limits<double>::infinity()) return x;

    // x = m * 2^e with m in [1, 2), read from the bits (exact). Subnormal
    // doubles are scaled into the normal range first.
    int e = 0;
    if (x < 2.2250738585072014e-308) {
        x *= 18014398509481984.0;  // 2^54
        e -= 54;
    }
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    e += static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    bits = (bits & 0x000fffffffffffffull) | 0x3ff0000000000000ull;
    double m;
    std::memcpy(&m, &bits, sizeof m);
    if (m > 1.4142135623730951) {  // centre m on 1: |s| below stays <= 0.172
        m *= 0.5;
        ++e;
    }

    // ln m = 2 atanh(s), s = (m - 1) / (m + 1): an odd series in s.
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double term = s;
    double sum = 0.0;
    for (int k = 1; k <= 41; k += 2) {
        sum += term / k;
        term *= s2;
    }
    constexpr double kLn2 = 0.6931471805599453;
    constexpr double kInvLn10 = 0.4342944819032518;
    return (static_cast<double>(e) * kLn2 + 2.0 * sum) * kInvLn10;
}

void formatDecibelsText(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        writeHostText(text, "-oo", maxLen);
        return;
    }
    formatFloatText(static_cast<float>(20.0 * deterministicLog10(value)), text, maxLen);
}
