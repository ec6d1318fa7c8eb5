#include "platform/rtl/ExtendedFloat.h"

#include <bit>
#include <cstring>

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

void store(uint8_t* dest, uint64_t significand, uint16_t signAndExponent) {
  for (int i = 0; i < 8; ++i) dest[i] = static_cast<uint8_t>(significand >> (8 * i));
  dest[8] = static_cast<uint8_t>(signAndExponent);
  dest[9] = static_cast<uint8_t>(signAndExponent >> 8);
}

}  // namespace

void DoubleToExtended80(double Value, uint8_t* Dest) {
  const uint64_t bits = std::bit_cast<uint64_t>(Value);
  const uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);

  if (exponent == 0x7FF) {  // infinity keeps a zero fraction, NaN its payload
    store(Dest, (uint64_t{1} << 63) | (fraction << 11), sign | 0x7FFF);
  } else if (exponent == 0) {
    if (fraction == 0) {
      store(Dest, 0, sign);
    } else {
      // A double denormal is a normal extended number.
      const int top = 63 - std::countl_zero(fraction);
      store(Dest, fraction << (63 - top),
            sign | static_cast<uint16_t>(top - 1074 + kExtendedBias));
    }
  } else {
    store(Dest, (uint64_t{1} << 63) | (fraction << 11),
          sign | static_cast<uint16_t>(exponent - kDoubleBias + kExtendedBias));
  }
}

double Extended80ToDouble(const uint8_t* Source) {
  uint64_t m = 0;
  for (int i = 0; i < 8; ++i) m |= static_cast<uint64_t>(Source[i]) << (8 * i);
  const uint16_t se = static_cast<uint16_t>(Source[8] | (Source[9] << 8));
  const uint64_t sign = static_cast<uint64_t>(se >> 15) << 63;
  int e = se & 0x7FFF;

  if (e == 0x7FFF) {
    const uint64_t payload = (m << 1) >> 12;  // the fraction below the integer bit
    if ((m << 1) == 0) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
    return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52) | (uint64_t{1} << 51) | payload);
  }
  if (m == 0) return std::bit_cast<double>(sign);

  // Unbiased exponent of the value m * 2^(E - 63); denormal extended numbers
  // use the smallest exponent.
  int E = (e == 0 ? 1 : e) - kExtendedBias;
  const int lead = std::countl_zero(m);
  m <<= lead;
  E -= lead;

  if (E > kDoubleBias) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));

  // Bits to drop: 11 for a normal double, more below its range.
  const int shift = E >= -1022 ? 11 : 11 + (-1022 - E);
  if (shift > 65) return std::bit_cast<double>(sign);
  const unsigned __int128 wide = static_cast<unsigned __int128>(m);
  uint64_t mant = shift >= 64 ? 0 : m >> shift;
  const unsigned __int128 rest = wide - (static_cast<unsigned __int128>(mant) << shift);
  const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
  if (rest > half || (rest == half && (mant & 1))) ++mant;

  if (E >= -1022) {
    if (mant == (uint64_t{1} << 53)) {
      mant >>= 1;
      ++E;
      if (E > kDoubleBias) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
    }
    return std::bit_cast<double>(sign | (static_cast<uint64_t>(E + kDoubleBias) << 52) |
                                 (mant & ((uint64_t{1} << 52) - 1)));
  }
  // A denormal; rounding up to 2^52 lands on the smallest normal number,
  // which this same bit pattern encodes.
  return std::bit_cast<double>(sign | mant);
}

TExtended80 DoubleToExtended80(double Value) {
  TExtended80 bytes;
  DoubleToExtended80(Value, bytes.data());
  return bytes;
}

double Extended80ToDouble(const TExtended80& Bytes) { return Extended80ToDouble(Bytes.data()); }
