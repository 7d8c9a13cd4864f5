// Value-to-text routines behind AudioEffect's format helpers.
//
// Each writes at most maxLen characters into text and a terminating zero
// at text[maxLen]; a shorter text is also terminated right after its last
// character. A null text or a negative maxLen writes nothing.
//
// The digits come from + - * / on doubles and integer arithmetic only, never
// from the C library's printf or log, so the texts are the same in every
// build of the system (glibc and the Windows runtime format differently).
#pragma once

#include "host/AEffect.h"

// Copies src (zero-terminated) as described above.
void writeHostText(char* text, const char* src, VstInt32 maxLen);

// Eight characters: a '-' for negative values, the integer digits, a point
// and fraction digits cut (never rounded) to make eight, e.g. 0.5 ->
// "0.500000", -0.25 -> "-0.25000", 123.456 -> "123.4560".
// value > 99,999,999 or < -9,999,999 (infinities included) -> "Huge!".
// An integer part too long to leave room for the point keeps all its digits
// and loses the point ("12345678"). NaN -> "NaN".
void formatFloatText(float value, char* text, VstInt32 maxLen);

// Decimal digits, '-' in front of negatives, "0" for zero; a magnitude of
// 100,000,000 or more -> "Huge!".
void formatIntegerText(VstInt32 value, char* text, VstInt32 maxLen);

// value <= 0 -> "-oo"; otherwise formatFloatText(20 * log10(value)) with
// log10 computed by deterministicLog10.
void formatDecibelsText(float value, char* text, VstInt32 maxLen);

// log10(x) for x > 0 from + - * / only (within a few units of the last
// place). x <= 0 gives -infinity, NaN gives NaN, +infinity gives +infinity.
double deterministicLog10(double x);
