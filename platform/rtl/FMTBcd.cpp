#include "platform/rtl/FMTBcd.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/rtl/FormatSettings.h"

VXN_IMPLEMENT_CLASS(EBcdException, Exception)
VXN_IMPLEMENT_CLASS(EBcdOverflowException, EBcdException)

namespace {

constexpr int MaxDigits = MaxFMTBcdFractionSize;
constexpr int MaxPlaces = 63;

// A decimal being worked on: Digits (ASCII, most significant first) with the
// last Places of them after the point. Places may exceed the digit count
// (0.005 is "5" with 3 places).
struct Decimal {
  bool Negative = false;
  std::string Digits;
  int Places = 0;
};

void StripLeadingZeros(std::string& d) {
  size_t i = 0;
  while (i < d.size() && d[i] == '0') ++i;
  d.erase(0, i);
}

bool IsZero(const Decimal& x) {
  return std::all_of(x.Digits.begin(), x.Digits.end(), [](char c) { return c == '0'; });
}

// Magnitude arithmetic on digit strings without leading zeros.
int CompareMagnitude(std::string a, std::string b) {
  StripLeadingZeros(a);
  StripLeadingZeros(b);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string AddMagnitude(const std::string& a, const std::string& b) {
  std::string r;
  int carry = 0;
  for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
    int s = carry;
    if (i < a.size()) s += a[a.size() - 1 - i] - '0';
    if (i < b.size()) s += b[b.size() - 1 - i] - '0';
    r.push_back(static_cast<char>('0' + s % 10));
    carry = s / 10;
  }
  std::reverse(r.begin(), r.end());
  StripLeadingZeros(r);
  return r;
}

// a - b with a >= b.
std::string SubtractMagnitude(const std::string& a, const std::string& b) {
  std::string r;
  int borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    int s = (a[a.size() - 1 - i] - '0') - borrow;
    if (i < b.size()) s -= b[b.size() - 1 - i] - '0';
    borrow = s < 0;
    if (s < 0) s += 10;
    r.push_back(static_cast<char>('0' + s));
  }
  std::reverse(r.begin(), r.end());
  StripLeadingZeros(r);
  return r;
}

std::string MultiplyMagnitude(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return {};
  std::vector<int> acc(a.size() + b.size(), 0);
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b.size(); ++j) acc[i + j + 1] += (a[i] - '0') * (b[j] - '0');
  for (size_t k = acc.size() - 1; k > 0; --k) {
    acc[k - 1] += acc[k] / 10;
    acc[k] %= 10;
  }
  std::string r;
  for (int d : acc) r.push_back(static_cast<char>('0' + d));
  StripLeadingZeros(r);
  return r;
}

// Long division; b is not zero.
std::string DivideMagnitude(const std::string& a, const std::string& b) {
  std::string quotient, rest;
  for (char c : a) {
    rest.push_back(c);
    StripLeadingZeros(rest);
    int q = 0;
    while (CompareMagnitude(rest, b) >= 0) {
      rest = SubtractMagnitude(rest, b);
      ++q;
    }
    quotient.push_back(static_cast<char>('0' + q));
  }
  StripLeadingZeros(quotient);
  return quotient;
}

// Drops `count` trailing digits, rounding halves away from zero.
void DropDigits(Decimal& x, int count) {
  if (count <= 0) return;
  if (static_cast<size_t>(count) > x.Digits.size()) {
    x.Digits.clear();
    x.Places -= count;
    return;
  }
  bool roundUp = x.Digits[x.Digits.size() - count] >= '5';
  x.Digits.erase(x.Digits.size() - count);
  x.Places -= count;
  if (roundUp) x.Digits = AddMagnitude(x.Digits, "1");
}

// Brings a result into the limits of a TBcd.
void Fit(Decimal& x) {
  StripLeadingZeros(x.Digits);
  if (x.Places < 0) {
    x.Digits.append(static_cast<size_t>(-x.Places), '0');
    x.Places = 0;
    StripLeadingZeros(x.Digits);
  }
  if (x.Places > MaxPlaces) DropDigits(x, x.Places - MaxPlaces);
  int size = std::max(static_cast<int>(x.Digits.size()), x.Places);
  if (size > MaxDigits) DropDigits(x, std::min(x.Places, size - MaxDigits));
  StripLeadingZeros(x.Digits);
  if (static_cast<int>(x.Digits.size()) > MaxDigits)
    throw EBcdOverflowException("BCD overflow");
  if (x.Digits.empty()) x.Negative = false;
}

Decimal FromBcd(const TBcd& bcd) {
  Decimal x;
  int precision = std::min<int>(bcd.Precision, MaxDigits);
  x.Negative = (bcd.SignSpecialPlaces & 0x80) != 0;
  x.Places = std::min<int>(bcd.SignSpecialPlaces & 0x3F, precision);
  for (int i = 0; i < precision; ++i) {
    Byte b = bcd.Fraction[i / 2];
    int nibble = (i % 2 == 0) ? (b >> 4) : (b & 0x0F);
    x.Digits.push_back(static_cast<char>('0' + std::min(nibble, 9)));
  }
  StripLeadingZeros(x.Digits);
  if (x.Digits.empty()) x.Negative = false;
  return x;
}

TBcd ToBcd(Decimal x) {
  Fit(x);
  TBcd bcd;
  int precision = std::max({static_cast<int>(x.Digits.size()), x.Places, 1});
  std::string digits = std::string(precision - x.Digits.size(), '0') + x.Digits;
  bcd.Precision = static_cast<Byte>(precision);
  bcd.SignSpecialPlaces = static_cast<Byte>((x.Negative ? 0x80 : 0) | x.Places);
  for (int i = 0; i < precision; ++i) {
    Byte d = static_cast<Byte>(digits[i] - '0');
    bcd.Fraction[i / 2] |= (i % 2 == 0) ? static_cast<Byte>(d << 4) : d;
  }
  return bcd;
}

// The digit strings of both brought to the same number of places.
void Align(Decimal& a, Decimal& b) {
  if (a.Places < b.Places) a.Digits.append(b.Places - a.Places, '0'), a.Places = b.Places;
  if (b.Places < a.Places) b.Digits.append(a.Places - b.Places, '0'), b.Places = a.Places;
}

Decimal AddSigned(Decimal a, Decimal b) {
  Align(a, b);
  Decimal r;
  r.Places = a.Places;
  if (a.Negative == b.Negative) {
    r.Digits = AddMagnitude(a.Digits, b.Digits);
    r.Negative = a.Negative;
  } else if (CompareMagnitude(a.Digits, b.Digits) >= 0) {
    r.Digits = SubtractMagnitude(a.Digits, b.Digits);
    r.Negative = a.Negative;
  } else {
    r.Digits = SubtractMagnitude(b.Digits, a.Digits);
    r.Negative = b.Negative;
  }
  return r;
}

std::string BcdText(const TBcd& bcd, char separator) {
  Decimal x = FromBcd(bcd);
  std::string digits = x.Digits;
  int places = x.Places;
  // Trailing zero decimals say nothing.
  while (places > 0 && !digits.empty() && digits.back() == '0') {
    digits.pop_back();
    --places;
  }
  if (digits.empty()) return "0";
  if (static_cast<int>(digits.size()) <= places)
    digits.insert(0, static_cast<size_t>(places) + 1 - digits.size(), '0');
  std::string text = x.Negative ? "-" : "";
  text += digits.substr(0, digits.size() - places);
  if (places > 0) {
    text += separator;
    text += digits.substr(digits.size() - places);
  }
  return text;
}

bool ParseBcd(std::string_view text, char separator, TBcd& bcd) {
  size_t i = 0, n = text.size();
  while (i < n && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  while (n > i && static_cast<unsigned char>(text[n - 1]) <= ' ') --n;
  Decimal x;
  if (i < n && (text[i] == '-' || text[i] == '+')) x.Negative = text[i++] == '-';
  bool anyDigit = false, seenSeparator = false;
  for (; i < n; ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      x.Digits.push_back(c);
      if (seenSeparator) ++x.Places;
      anyDigit = true;
    } else if (c == separator && !seenSeparator) {
      seenSeparator = true;
    } else {
      return false;
    }
  }
  if (!anyDigit) return false;
  StripLeadingZeros(x.Digits);
  if (static_cast<int>(x.Digits.size()) - x.Places > MaxDigits) return false;
  bcd = ToBcd(x);
  return true;
}

}  // namespace

bool TryStrToBcd(std::string_view text, TBcd& bcd, const TFormatSettings& settings) {
  return ParseBcd(text, settings.DecimalSeparator, bcd);
}

bool TryStrToBcd(std::string_view text, TBcd& bcd) {
  return TryStrToBcd(text, bcd, DefaultFormatSettings());
}

TBcd StrToBcd(std::string_view text, const TFormatSettings& settings) {
  TBcd bcd;
  if (!TryStrToBcd(text, bcd, settings))
    throw EBcdException(Format("'%s' is not a valid BCD value", {text}));
  return bcd;
}

TBcd StrToBcd(std::string_view text) { return StrToBcd(text, DefaultFormatSettings()); }

std::string BcdToStr(const TBcd& bcd, const TFormatSettings& settings) {
  return BcdText(bcd, settings.DecimalSeparator);
}

std::string BcdToStr(const TBcd& bcd) { return BcdToStr(bcd, DefaultFormatSettings()); }

bool BcdIsZero(const TBcd& bcd) { return IsZero(FromBcd(bcd)); }

Integer BcdCompare(const TBcd& a, const TBcd& b) {
  Decimal x = FromBcd(a), y = FromBcd(b);
  if (x.Negative != y.Negative) return x.Negative ? -1 : 1;
  Align(x, y);
  int c = CompareMagnitude(x.Digits, y.Digits);
  return x.Negative ? -c : c;
}

Double BcdToDouble(const TBcd& bcd) {
  Decimal x = FromBcd(bcd);
  if (x.Digits.empty()) return 0.0;
  std::string text = x.Digits + "e-" + std::to_string(x.Places);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return x.Negative ? -value : value;
}

TBcd DoubleToBcd(Double value) {
  if (!std::isfinite(value)) throw EBcdOverflowException("Invalid floating point value for a BCD");
  if (value == 0) return TBcd{};
  // "d.dddddddddddddde+xx": the double's 15 significant digits.
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific, 14);
  std::string_view text(buffer, result.ptr - buffer);
  size_t e = text.find('e');
  Decimal x;
  x.Negative = value < 0;
  for (char c : text.substr(0, e))
    if (c != '.') x.Digits.push_back(c);
  int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  x.Places = 14 - exponent;
  while (x.Places > 0 && x.Digits.size() > 1 && x.Digits.back() == '0') {
    x.Digits.pop_back();
    --x.Places;
  }
  return ToBcd(x);
}

TBcd IntegerToBcd(Int64 value) {
  Decimal x;
  x.Negative = value < 0;
  // The magnitude of the most negative value does not fit an Int64.
  uint64_t magnitude = x.Negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  x.Digits = std::to_string(magnitude);
  return ToBcd(x);
}

TBcd CurrToBcd(Currency value) {
  Decimal x;
  x.Negative = value.Value < 0;
  uint64_t magnitude =
      x.Negative ? 0 - static_cast<uint64_t>(value.Value) : static_cast<uint64_t>(value.Value);
  x.Digits = std::to_string(magnitude);
  x.Places = 4;
  return ToBcd(x);
}

bool BcdToCurr(const TBcd& bcd, Currency& value) {
  Decimal x = FromBcd(bcd);
  if (x.Places > 4) DropDigits(x, x.Places - 4);
  x.Digits.append(static_cast<size_t>(4 - x.Places), '0');
  StripLeadingZeros(x.Digits);
  if (x.Digits.size() > 19) return false;
  uint64_t magnitude = x.Digits.empty() ? 0 : std::stoull(x.Digits);
  if (magnitude > static_cast<uint64_t>(INT64_MAX) + (x.Negative ? 1 : 0)) return false;
  value.Value = x.Negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

bool TryBcdToInt64(const TBcd& bcd, Int64& value) {
  Decimal x = FromBcd(bcd);
  bool roundUp = false;
  if (x.Places > 0) {
    std::string padded = std::string(std::max(0, x.Places + 1 - static_cast<int>(x.Digits.size())), '0') + x.Digits;
    std::string fraction = padded.substr(padded.size() - x.Places);
    std::string whole = padded.substr(0, padded.size() - x.Places);
    std::string half(static_cast<size_t>(x.Places), '0');
    half[0] = '5';
    int c = CompareMagnitude(fraction, half);
    bool odd = !whole.empty() && (whole.back() - '0') % 2 == 1;
    roundUp = c > 0 || (c == 0 && odd);
    x.Digits = whole;
    x.Places = 0;
    if (roundUp) x.Digits = AddMagnitude(x.Digits, "1");
  }
  StripLeadingZeros(x.Digits);
  if (x.Digits.size() > 19) return false;
  uint64_t magnitude = x.Digits.empty() ? 0 : std::stoull(x.Digits);
  if (magnitude > static_cast<uint64_t>(INT64_MAX) + (x.Negative ? 1 : 0)) return false;
  value = x.Negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

TBcd BcdAdd(const TBcd& a, const TBcd& b) { return ToBcd(AddSigned(FromBcd(a), FromBcd(b))); }

TBcd BcdSubtract(const TBcd& a, const TBcd& b) {
  Decimal y = FromBcd(b);
  y.Negative = !y.Negative;
  return ToBcd(AddSigned(FromBcd(a), y));
}

TBcd BcdMultiply(const TBcd& a, const TBcd& b) {
  Decimal x = FromBcd(a), y = FromBcd(b), r;
  r.Negative = x.Negative != y.Negative;
  r.Digits = MultiplyMagnitude(x.Digits, y.Digits);
  r.Places = x.Places + y.Places;
  return ToBcd(r);
}

TBcd BcdDivide(const TBcd& a, const TBcd& b) {
  Decimal x = FromBcd(a), y = FromBcd(b);
  if (IsZero(y)) throw EZeroDivide(SZeroDivide);
  if (IsZero(x)) return TBcd{};
  // Scale the dividend so that the quotient carries more digits than a TBcd
  // keeps, then let Fit round it.
  int extra = std::max(0, MaxDigits + 2 + static_cast<int>(y.Digits.size()) -
                              static_cast<int>(x.Digits.size()));
  Decimal r;
  r.Negative = x.Negative != y.Negative;
  r.Digits = DivideMagnitude(x.Digits + std::string(extra, '0'), y.Digits);
  r.Places = x.Places - y.Places + extra;
  if (r.Places < 0) {
    r.Digits.append(static_cast<size_t>(-r.Places), '0');
    r.Places = 0;
  }
  // Keep 64 significant digits before Fit looks at the places.
  int excess = static_cast<int>(r.Digits.size()) - MaxDigits;
  if (excess > 0) DropDigits(r, std::min(excess, r.Places));
  while (r.Places > 0 && !r.Digits.empty() && r.Digits.back() == '0') {
    r.Digits.pop_back();
    --r.Places;
  }
  return ToBcd(r);
}

TBcd BcdNegate(const TBcd& a) {
  Decimal x = FromBcd(a);
  x.Negative = !x.Negative;
  return ToBcd(x);
}
