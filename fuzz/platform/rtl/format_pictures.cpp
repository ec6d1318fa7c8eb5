// Pictures and format strings come from report files, scripts and display
// formats the user types: run arbitrary ones through every formatter and
// reader. Nothing may crash, hang or read outside the text; a number written
// by FloatToStr must read back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 9) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  std::string_view text(reinterpret_cast<const char*>(data + 8), size - 8);
  TFormatSettings fs = TFormatSettings::English();
  if (data[0] & 1) {
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    fs.ShortDateFormat = std::string(text.substr(0, text.size() / 2));
    fs.LongTimeFormat = std::string(text.substr(text.size() / 2));
  }

  (void)FormatFloat(text, value, fs);
  (void)FormatCurr(text, Currency::FromScaled(static_cast<int64_t>(data[1]) * 1234567), fs);
  (void)FormatDateTime(text, value, fs);
  (void)FormatLocaleDate(text, value, fs);
  (void)FormatLocaleTime(text, value, fs);
  try {
    (void)Format(text, {value, 7, "seven", Currency::FromScaled(70000), 'x'}, fs);
  } catch (const EConvertError&) {
  }

  Extended readBack = 0;
  (void)TryStrToFloat(text, readBack, fs);
  Currency c;
  (void)TryStrToCurr(text, c, fs);
  TDateTime d = 0;
  (void)TryStrToDateTime(text, d, fs);

  std::string written = FloatToStr(value, fs);
  // Fifteen digits of the largest doubles round past the double range.
  if (std::isfinite(value) && std::fabs(value) < 1.7976931348623e308) {
    if (!TryStrToFloat(written, readBack, fs)) __builtin_trap();
    if (FloatToStr(readBack, fs) != written) __builtin_trap();
  }
  return 0;
}
