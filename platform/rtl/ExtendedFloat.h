// The 80-bit extended real of the binary formats that store one (component
// streams, report files), converted to and from double without relying on the
// machine's own long double.
//
//   byte  0 .. 7                          8 .. 9 (little-endian)
//         significand, little-endian,     bit 15: sign
//         bit 63 the explicit integer     bits 14..0: exponent, bias 16383
//         bit                             (0x7FFF: infinity or NaN)
//
// Every double converts exactly. Back to double, the significand is rounded to
// 53 bits, halves to even; values beyond the double range become infinity,
// values below it denormals or zero; unnormal encodings are normalised.
#pragma once

#include <array>
#include <cstdint>

#include "platform/rtl/System.h"

using TExtended80 = std::array<uint8_t, 10>;

TExtended80 DoubleToExtended80(double Value);
double Extended80ToDouble(const TExtended80& Bytes);

// The same on 10 bytes in a buffer.
void DoubleToExtended80(double Value, uint8_t* Dest);
double Extended80ToDouble(const uint8_t* Source);
