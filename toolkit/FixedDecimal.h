// Two-decimal text of a value, the way the value display shows a number when
// no converter is set ("%2.2f" semantics: at least two characters, exactly two
// digits after the point).
//
// Produced by our own code rather than the C library so that the native and
// the Windows builds show the same characters: the value is rounded exactly
// (its binary value, not a decimal approximation of it), ties to even, as a
// correctly rounding printf does. Out-of-range input is handled, not refused:
//   0.123 -> "0.12", 1 -> "1.00", 12.5 -> "12.50", 0.125 -> "0.12" (tie, even),
//   -0.001 -> "-0.00", 3.4e38 -> all 39 integer digits then ".00",
//   NaN -> "nan" / "-nan", infinities -> "inf" / "-inf".
#pragma once

#include <cstddef>

namespace toolkit {

// The longest text formatFixed2 writes, terminator included (the integer
// part of the largest float has 39 digits).
inline constexpr std::size_t kFixed2MaxText = 48;

// Writes the text of v into out (capacity bytes, terminator included) and
// answers the number of characters written. The text is cut to capacity - 1 characters when
// out is smaller than kFixed2MaxText; nothing is written (answer 0) when
// capacity is 0.
std::size_t formatFixed2(float v, char* out, std::size_t capacity);

}  // namespace toolkit
