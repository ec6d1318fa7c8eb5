// What the date, calendar and date-time editors share: month arithmetic,
// text to date and date to text, and smart date input, by which the user
// types a word ("today", "eom" ...) with an optional signed number of days
// instead of a date. Dates are the class library's TDateTime values.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/System.h"

// No date at all.
inline constexpr TDateTime NullDate = -700000;
inline constexpr Integer MaxEditYear = 9999;

// The smart words, in index order: today, yesterday, tomorrow, the seven
// weekdays from Sunday, the seven ordinals from "first" (days of the current
// week counted from Sunday), "bom", "eom" and "now". They are resource
// strings, so a language build can replace them; they are read again on
// every use.
inline constexpr Integer SmartDateWordCount = 20;
Integer SmartDateWordResourceId(Integer AIndex);
std::string SmartDateWord(Integer AIndex);
void RegisterSmartDateWords();

// A word for the regular-expression mask syntax: runs of characters other
// than the single quote in quotes, each single quote escaped.
std::string QuoteForRegExpr(std::string_view AWord);
// Makes the mask accept the smart words too, each with an optional sign and
// one to four digits; "now" only with AWithNow.
void AppendSmartDateWords(std::string& ARegExpr, bool AWithNow);
// Longer words first, words of equal length in descending case-insensitive
// order (so "tomorrow" is tried before "today"); negative when A comes
// first.
Integer CompareSmartWords(std::string_view A, std::string_view B);
// The word that begins the text, ignoring case.
bool FindSmartDateWord(std::string_view AText, Integer& AIndex);
// The word's date with the day offset that may follow it ("today - 7").
bool SmartDateOf(std::string_view AText, TDateTime& ADate);
// A smart word or a date text. An empty text answers false and leaves the
// date alone; a text that is no date gives the null date.
bool ParseSmartDateText(std::string_view AText, TDateTime& ADate);
// In locale mode blanks and the date separator both separate the parts of
// the date; otherwise the class library's own reading. Failure gives the
// null date.
bool TryTextToDate(std::string_view AText, TDateTime& ADate, bool ALocaleMode);

// The date's display text: with the format controller's masked display
// formats, or in the locale's short date format (with the time, when the
// date has one, in the locale's time format). The null date gives "".
std::string DateToDisplayText(bool AUseControllerFormat, bool AWithTime, bool AFourDigitYear, TDateTime ADate);
std::string DateValueText(TDateTime ADate, bool AFourDigitYear);

void StepMonthBack(Integer& AYear, Integer& AMonth);
void StepMonthForward(Integer& AYear, Integer& AMonth);
// Moves by whole months and answers the number of whole years moved.
Integer ShiftMonthBy(Integer& AYear, Integer& AMonth, Integer AMonths);
enum TcxDatePart : Byte { dpYear, dpMonth, dpDay };
Integer DatePart(TcxDatePart APart, TDateTime ADate);
bool LeapYearOf(Integer AYear);
Integer DaysInMonthOf(Integer AYear, Integer AMonth);
Integer ClampDayToMonth(Integer AYear, Integer AMonth, Integer ADay);
// 1 January of the year 100.
TDateTime MinEditDate();
