// Reads typed text as the date editors do: smart words with their offsets,
// then dates in the locale's order. The first byte picks the locale.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/rtl/FormatSettings.h"
#include "suite/editors/cxDateUtils.h"
#include "suite/editors/cxFormatController.h"

namespace {

TFormatSettings LocaleOf(uint8_t selector) {
  TFormatSettings s = TFormatSettings::English();
  switch (selector % 3) {
    case 1:
      s.DateSeparator = '.';
      s.ShortDateFormat = "dd/MM/yy";
      s.LongTimeFormat = "hh:nn:ss";
      break;
    case 2:
      s.DateSeparator = '-';
      s.ShortDateFormat = "yyyy/MM/dd";
      s.LongTimeFormat = "HH:nn:ss";
      break;
    default:
      break;
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TFormatSettingsPin pin(LocaleOf(data[0]));
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  TDateTime date = 1.5;
  if (ParseSmartDateText(text, date)) {
    // An accepted date always lies in the calendar the editors show.
    if (!std::isfinite(date) || DatePart(dpDay, date) == 0 || DatePart(dpYear, date) > MaxEditYear)
      __builtin_trap();
    (void)DateToDisplayText(false, true, true, date);
    (void)DateToDisplayText(true, true, false, date);
  }
  Integer index = 0;
  if (FindSmartDateWord(text, index) && (index < 0 || index >= SmartDateWordCount)) __builtin_trap();
  if (!TryTextToDate(text, date, true) && date != NullDate) __builtin_trap();
  if (!TryTextToDate(text, date, false) && date != NullDate) __builtin_trap();
  // The same text as a format.
  TcxDateTimeFormatInfo info;
  if (ParseDateTimeFormat(text, info)) {
    (void)StandardMaskOf(info, mmDateTime);
    (void)RegExprMaskOf(info, mmDate);
    (void)DisplayFormatOf(info);
    TcxFormatItemAtPos at;
    const Integer length = TcxFormatController::FormatItemsTextLength(info);
    if (length > 0 && !TcxFormatController::FindFormatItemAtPos(info, length, at)) __builtin_trap();
  }
  return 0;
}
