#include "suite/editors/cxDateUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/cxFormatController.h"
#include "suite/foundation/cxClasses.h"

namespace {

struct SmartWordText {
  Integer Id;
  const char* Text;
};

constexpr std::array<SmartWordText, SmartDateWordCount> kSmartWords{{
    {65085, "today"},   {65086, "yesterday"}, {65087, "tomorrow"}, {65056, "Sunday"},  {65057, "Monday"},
    {65058, "Tuesday"}, {65059, "Wednesday"}, {65060, "Thursday"}, {65061, "Friday"},  {65062, "Saturday"},
    {65063, "first"},   {65064, "second"},    {65065, "third"},    {65066, "fourth"},  {65067, "fifth"},
    {65068, "sixth"},   {65069, "seventh"},   {65070, "bom"},      {65071, "eom"},     {65040, "now"},
}};

constexpr Integer kNowIndex = 19;

std::string SeparatorsToBlanks(std::string_view text) {
  std::string out(text);
  const char separator = DefaultFormatSettings().DateSeparator;
  std::replace(out.begin(), out.end(), separator, ' ');
  return out;
}

TDateTime TextToDateAsVariant(std::string_view text) { return VarToDateTime(Variant(text)); }

TDateTime WordDate(Integer index) {
  const TDateTime today = Date();
  Word year, month, day;
  switch (index) {
    case 0: return today;
    case 1: return today - 1;
    case 2: return today + 1;
    case 17:
      DecodeDate(today, year, month, day);
      return EncodeDate(year, month, 1);
    case 18:
      DecodeDate(today, year, month, day);
      return EncodeDate(year, month, static_cast<Word>(DaysInMonthOf(year, month)));
    case kNowIndex: return Now();
    default: break;
  }
  const Integer weekday = DayOfWeek(today);
  if (index <= 9) {
    const Integer k = (index - 2) - weekday;
    return k >= 0 ? today + k : today + 7 + k;
  }
  return today - (weekday - (index - 9));
}

}  // namespace

Integer SmartDateWordResourceId(Integer AIndex) { return kSmartWords.at(static_cast<size_t>(AIndex)).Id; }

std::string SmartDateWord(Integer AIndex) {
  return TranslateResourceString(LoadResString(SmartDateWordResourceId(AIndex)));
}

void RegisterSmartDateWords() {
  for (const SmartWordText& word : kSmartWords) RegisterResourceString(word.Id, word.Text);
}

std::string QuoteForRegExpr(std::string_view AWord) {
  std::string out;
  size_t i = 0;
  while (i < AWord.size()) {
    if (AWord[i] == '\'') {
      out += "\\'";
      ++i;
      continue;
    }
    const size_t end = std::min(AWord.find('\'', i), AWord.size());
    out += '\'';
    out += AWord.substr(i, end - i);
    out += '\'';
    i = end;
  }
  return out;
}

void AppendSmartDateWords(std::string& ARegExpr, bool AWithNow) {
  std::string words;
  const Integer count = AWithNow ? SmartDateWordCount : kNowIndex;
  for (Integer i = 0; i < count; ++i) {
    if (i) words += '|';
    words += QuoteForRegExpr(SmartDateWord(i));
  }
  ARegExpr = "(" + ARegExpr + ")|(" + words + ")((\\+|-)\\d(\\d(\\d\\d?)?)?)?";
}

Integer CompareSmartWords(std::string_view A, std::string_view B) {
  const size_t lengthA = Utf8CharCount(A), lengthB = Utf8CharCount(B);
  if (lengthA != lengthB) return lengthA > lengthB ? -1 : 1;
  return -AnsiCompareText(A, B);
}

bool FindSmartDateWord(std::string_view AText, Integer& AIndex) {
  std::array<std::pair<std::string, Integer>, SmartDateWordCount> words;
  for (Integer i = 0; i < SmartDateWordCount; ++i) words[static_cast<size_t>(i)] = {SmartDateWord(i), i};
  std::stable_sort(words.begin(), words.end(),
                   [](const auto& a, const auto& b) { return CompareSmartWords(a.first, b.first) < 0; });
  for (const auto& [word, index] : words) {
    // A translation that blanked a word must not match every text.
    if (word.empty()) continue;
    if (AnsiSameText(Utf8Copy(AText, 0, Utf8CharCount(word)), word)) {
      AIndex = index;
      return true;
    }
  }
  return false;
}

bool SmartDateOf(std::string_view AText, TDateTime& ADate) {
  const std::string text = Trim(AText);
  Integer index = 0;
  if (!FindSmartDateWord(text, index)) return false;
  TDateTime date = WordDate(index);
  const std::string rest = Trim(std::string_view(text).substr(Utf8Copy(text, 0, Utf8CharCount(SmartDateWord(index))).size()));
  if (rest.size() >= 2 && (rest[0] == '+' || rest[0] == '-')) {
    Integer days = 0;
    if (TryStrToInt(Trim(std::string_view(rest).substr(1)), days)) date += rest[0] == '+' ? days : -static_cast<double>(days);
  }
  ADate = date;
  return true;
}

bool ParseSmartDateText(std::string_view AText, TDateTime& ADate) {
  try {
    const std::string text = Trim(AText);
    if (text.empty()) return false;
    // The word is looked for before the separators become blanks: in a
    // locale that separates dates with "-", "today-7" keeps its offset.
    TDateTime date = 0;
    if (!SmartDateOf(text, date)) date = TextToDateAsVariant(SeparatorsToBlanks(text));
    ADate = date;
    return date > -2147483648.0 && date < 2147483647.0 && DatePart(dpDay, date) != 0 &&
           DatePart(dpYear, date) <= MaxEditYear;
  } catch (...) {
    ADate = NullDate;
    return false;
  }
}

bool TryTextToDate(std::string_view AText, TDateTime& ADate, bool ALocaleMode) {
  ADate = NullDate;
  try {
    ADate = ALocaleMode ? TextToDateAsVariant(SeparatorsToBlanks(AText)) : StrToDateTime(AText);
    return true;
  } catch (const Exception&) {
    ADate = NullDate;
    return false;
  }
}

std::string DateValueText(TDateTime ADate, bool AFourDigitYear) {
  const TFormatSettings& fs = DefaultFormatSettings();
  std::string picture = LocaleShortDatePicture(fs);
  if (AFourDigitYear) {
    const std::string lower = LowerCase(picture);
    const size_t at = lower.find("yy");
    if (at != std::string::npos && lower.find("yyy") == std::string::npos)
      picture.insert(at + 2, std::string(2, picture[at]));
  }
  // The locale's formatting writes into a buffer of 100 characters.
  constexpr size_t kBufferSize = 100;
  std::optional<std::string> text = FormatLocaleDate(picture, ADate, fs);
  if (text && text->size() < kBufferSize && ADate != std::trunc(ADate)) {
    const std::optional<std::string> time = FormatLocaleTime("", ADate, fs);
    if (time && time->size() < kBufferSize)
      *text += " " + *time;
    else
      text.reset();
  }
  if (text && text->size() < kBufferSize) return *text;
  try {
    return VarToStr(VarFromDateTime(ADate));
  } catch (const EVariantError&) {
    return "";
  }
}

std::string DateToDisplayText(bool AUseControllerFormat, bool AWithTime, bool AFourDigitYear, TDateTime ADate) {
  if (ADate == NullDate) return "";
  if (!AUseControllerFormat) return DateValueText(ADate, AFourDigitYear);
  TcxFormatController* controller = FormatController();
  if (AWithTime) return FormatDateTime(controller->MaskedDateTimeDisplayFormat(), ADate);
  return FormatDateTime(controller->MaskedDateDisplayFormat(), std::trunc(ADate));
}

void StepMonthBack(Integer& AYear, Integer& AMonth) {
  if (AMonth == 1) {
    AMonth = 12;
    --AYear;
  } else {
    --AMonth;
  }
}

void StepMonthForward(Integer& AYear, Integer& AMonth) {
  if (AMonth == 12) {
    AMonth = 1;
    ++AYear;
  } else {
    ++AMonth;
  }
}

Integer ShiftMonthBy(Integer& AYear, Integer& AMonth, Integer AMonths) {
  // C++ division truncates toward zero and the remainder takes the sign of
  // the dividend, as the shift wants.
  AYear += AMonths / 12;
  AMonth += AMonths % 12;
  if (AMonth <= 0) {
    --AYear;
    AMonth += 12;
  } else if (AMonth > 12) {
    ++AYear;
    AMonth -= 12;
  }
  return AMonths / 12;
}

Integer DatePart(TcxDatePart APart, TDateTime ADate) {
  Word year, month, day;
  DecodeDate(ADate, year, month, day);
  switch (APart) {
    case dpYear: return year;
    case dpMonth: return month;
    case dpDay: return day;
  }
  return 0;
}

bool LeapYearOf(Integer AYear) { return (AYear % 4 == 0 && AYear % 100 != 0) || AYear % 400 == 0; }

Integer DaysInMonthOf(Integer AYear, Integer AMonth) {
  static constexpr Integer kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (AMonth < 1 || AMonth > 12) return 0;
  return AMonth == 2 && LeapYearOf(AYear) ? 29 : kDays[AMonth - 1];
}

Integer ClampDayToMonth(Integer AYear, Integer AMonth, Integer ADay) {
  if (ADay <= 0) return 1;
  return std::min(ADay, DaysInMonthOf(AYear, AMonth));
}

TDateTime MinEditDate() { return EncodeDate(100, 1, 1); }
