#include "controls/CellText.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"

std::optional<std::string> FormatNumberText(std::string_view Text, Integer IntLength,
                                            Integer DecLength, bool ThousandSep, bool ZeroNull,
                                            bool TrailingZero) {
  const TFormatSettings& fs = DefaultFormatSettings();
  std::string s;
  for (char c : Text)
    if (c != fs.ThousandSeparator) s += c;
  s = Trim(s);
  if (s.empty() || s == "-" || s == "0." || s == std::string("0") + fs.DecimalSeparator || s == "0")
    return "";
  Extended value = 0;
  if (!TryStrToFloat(s, value, fs)) return std::nullopt;
  if (value == 0 && ZeroNull) return "";
  // A width or precision outside what a format text can say would make the
  // format itself invalid.
  IntLength = std::clamp<Integer>(IntLength, 0, 64);
  DecLength = std::clamp<Integer>(DecLength, 0, 18);
  std::string format =
      "%" + IntToStr(IntLength) + "." + IntToStr(DecLength) + (ThousandSep ? "n" : "f");
  std::string result = Format(format, {static_cast<double>(value)}, fs);
  // Mended: only decimals are stripped, after the locale's own decimal
  // separator; a full stop that separates thousands is left alone.
  if (!TrailingZero && result.find(fs.DecimalSeparator) != std::string::npos) {
    while (!result.empty() && result.back() == '0') result.pop_back();
    if (!result.empty() && result.back() == fs.DecimalSeparator) result.pop_back();
  }
  return Trim(result);
}

namespace {

// Digit groups split by any of the separators; false for anything else.
bool SplitNumbers(std::string_view s, std::string_view seps, std::vector<std::string>& parts) {
  parts.assign(1, "");
  for (char c : s) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      parts.back() += c;
    } else if (seps.find(c) != std::string_view::npos) {
      parts.emplace_back();
    } else {
      return false;
    }
  }
  for (const std::string& p : parts)
    if (p.empty() || p.size() > 4) return false;
  return true;
}

bool OnlyBlanksAnd(std::string_view s, std::string_view literals) {
  return std::all_of(s.begin(), s.end(), [&](char c) {
    return c == ' ' || literals.find(c) != std::string_view::npos;
  });
}

}  // namespace

std::optional<std::string> CellDateText(std::string_view Text) {
  const TFormatSettings& fs = DefaultFormatSettings();
  const std::string seps = std::string(1, fs.DateSeparator) + "/-";
  if (OnlyBlanksAnd(Text, seps)) return "";
  std::string s = Trim(Text);
  std::vector<std::string> parts;
  TDateTime date = 0;
  if (SplitNumbers(s, seps, parts) && parts.size() == 3 && parts[0].size() == 4) {
    if (!TryEncodeDate(static_cast<Word>(StrToInt(parts[0])), static_cast<Word>(StrToInt(parts[1])),
                       static_cast<Word>(StrToInt(parts[2])), date))
      return std::nullopt;
  } else if (!TryStrToDate(s, date, fs)) {
    return std::nullopt;
  }
  return FormatDateTime("yyyy-mm-dd", date);
}

std::optional<std::string> CellTimeText(std::string_view Text) {
  const TFormatSettings& fs = DefaultFormatSettings();
  const std::string seps = std::string(1, fs.TimeSeparator) + ":";
  if (OnlyBlanksAnd(Text, seps)) return "";
  std::string s = Trim(Text);
  std::vector<std::string> parts;
  TDateTime time = 0;
  if (SplitNumbers(s, seps, parts) && parts.size() == 3) {
    if (!TryEncodeTime(static_cast<Word>(StrToInt(parts[0])), static_cast<Word>(StrToInt(parts[1])),
                       static_cast<Word>(StrToInt(parts[2])), 0, time))
      return std::nullopt;
  } else if (!TryStrToTime(s, time, fs)) {
    return std::nullopt;
  }
  return FormatDateTime("hh:nn:ss", time);
}

std::string ColumnTitle(Integer N) {
  if (N < 0 || N > 255) return "";
  if (N < 26) return std::string(1, static_cast<char>('A' + N));
  return std::string{static_cast<char>(64 + N / 26), static_cast<char>('A' + N % 26)};
}
