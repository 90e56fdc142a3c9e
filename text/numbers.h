// Numbers as they live in table cells: written as text, read back as numbers. The round trip is
// part of the behaviour (a score keeps 13 significant digits, a sort key is the integer part).
#pragma once

#include <cstdint>

#include "text/byte_text.h"

namespace sumvelo {

// NumberToText of an integer: decimal digits, a leading "-" for a negative value, no leading
// zeros ("-12", "0", "999998").
ByteText NumberToText(std::int32_t value);

// NumberToText of a real: the value rounded to 13 significant digits, a 14th digit of 5 or more
// rounding up. With E the power of ten of the first significant digit after rounding:
// E < -4 or E >= 13 gives the exponent form, first digit, "." and the digits up to the last
// non-zero one if any, "e", the sign of E and at least three digits of |E| ("1e-007",
// "1.5e+013"); otherwise the fixed form without trailing zeros or a bare point ("12", "2.5",
// "0.3333333333333", "9999999999999"). Zero is "0"; a negative value has a leading "-".
// Infinities give "inf"/"-inf" and not-a-number "nan" (the stages never produce them).
ByteText NumberToText(double value);

// TextToNumber reads full-width digits, signs, point and letters (A3 A1..A3 FE) as their ASCII
// forms, the ideographic space (A1 A1) as a space, A1 AB as "~" and A1 EE / A1 EF as "*"; skips
// leading white space; then reads an optional sign, digits with at most one ".", and an optional
// exponent ("e", "E", "d" or "D", optional sign, digits). It stops at the first byte that does
// not fit and returns the nearest real to what it read, or 0 when no digit was read.
double TextToNumber(ByteView text);

// TextToInteger reads like TextToNumber up to the sign and the run of decimal digits, and stops
// there: "12.75" gives 12, "-3.9" gives -3, "1.5e+013" gives 1, "" and "abc" give 0. A digit run
// beyond the 32-bit range gives the nearest end of that range.
std::int32_t TextToInteger(ByteView text);

// RealToInteger truncates toward zero (2.9 gives 2, -2.9 gives -2); values beyond the 32-bit
// range give its nearest end, not-a-number gives 0.
std::int32_t RealToInteger(double x);

// FloorToInteger, for x >= 0: the whole part, plus 1 when the fractional part is greater than
// 0.999999999999 (7.5 gives 7, 2.999999999998 gives 2, 2.9999999999995 gives 3).
std::int32_t FloorToInteger(double x);

}  // namespace sumvelo
