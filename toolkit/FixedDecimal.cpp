#include "toolkit/FixedDecimal.h"

#include <cstdint>
#include <cstring>

namespace toolkit {

namespace {

// Decimal digits of m * 2^shift (m < 2^24, shift <= 104) into digits[],
// most significant first; answers the digit count. Base-10^9 limbs, least
// significant first: the largest float needs five of them.
std::size_t integerDigits(uint32_t m, int shift, char* digits) {
    uint32_t limbs[6] = {m % 1000000000u, m / 1000000000u, 0, 0, 0, 0};
    int used = limbs[1] ? 2 : 1;
    while (shift > 0) {
        const int step = shift > 29 ? 29 : shift;  // limb * 2^29 + carry fits 64 bits
        uint64_t carry = 0;
        for (int i = 0; i < used; ++i) {
            const uint64_t x = (static_cast<uint64_t>(limbs[i]) << step) + carry;
            limbs[i] = static_cast<uint32_t>(x % 1000000000u);
            carry = x / 1000000000u;
        }
        while (carry) {
            limbs[used++] = static_cast<uint32_t>(carry % 1000000000u);
            carry /= 1000000000u;
        }
        shift -= step;
    }
    std::size_t n = 0;
    char tmp[9];
    for (int i = used - 1; i >= 0; --i) {
        uint32_t x = limbs[i];
        for (int k = 8; k >= 0; --k) {
            tmp[k] = static_cast<char>('0' + x % 10);
            x /= 10;
        }
        int start = 0;
        if (i == used - 1)  // no leading zeros in the top limb (but keep one digit)
            while (start < 8 && tmp[start] == '0') ++start;
        for (int k = start; k < 9; ++k) digits[n++] = tmp[k];
    }
    return n;
}

}  // namespace

std::size_t formatFixed2(float v, char* out, std::size_t capacity) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const bool negative = (bits >> 31) != 0;
    const int biasedExponent = static_cast<int>((bits >> 23) & 0xFF);
    uint32_t mantissa = bits & 0x7FFFFFu;

    char text[kFixed2MaxText];
    std::size_t n = 0;
    if (negative) text[n++] = '-';

    if (biasedExponent == 0xFF) {
        std::memcpy(text + n, mantissa ? "nan" : "inf", 3);
        n += 3;
    } else {
        // v = mantissa * 2^exponent exactly.
        int exponent;
        if (biasedExponent == 0) {
            exponent = -149;
        } else {
            mantissa |= 0x800000u;
            exponent = biasedExponent - 150;
        }
        if (exponent >= 0) {
            n += integerDigits(mantissa, exponent, text + n);
            std::memcpy(text + n, ".00", 3);
            n += 3;
        } else {
            // hundredths = round(mantissa * 100 / 2^k), ties to even. With
            // k > 32 the quotient rounds to zero: mantissa * 100 < 2^31.
            const int k = -exponent;
            uint64_t hundredths = 0;
            if (k <= 32) {
                const uint64_t scaled = static_cast<uint64_t>(mantissa) * 100u;
                hundredths = scaled >> k;
                const uint64_t rest = scaled - (hundredths << k);
                const uint64_t half = uint64_t{1} << (k - 1);
                if (rest > half || (rest == half && (hundredths & 1u))) ++hundredths;
            }
            char digits[24];
            std::size_t d = 0;
            uint64_t whole = hundredths / 100;
            do {
                digits[d++] = static_cast<char>('0' + whole % 10);
                whole /= 10;
            } while (whole);
            while (d) text[n++] = digits[--d];
            const unsigned cents = static_cast<unsigned>(hundredths % 100);
            text[n++] = '.';
            text[n++] = static_cast<char>('0' + cents / 10);
            text[n++] = static_cast<char>('0' + cents % 10);
        }
    }

    if (capacity == 0) return 0;
    const std::size_t copied = n < capacity ? n : capacity - 1;
    std::memcpy(out, text, copied);
    out[copied] = '\0';
    return copied;
}

}  // namespace toolkit
