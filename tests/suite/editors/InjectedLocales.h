// Format settings of the locales that the editors' tests inject: US, German,
// Chinese and an ISO date order.
#pragma once

#include <string>

#include "platform/rtl/FormatSettings.h"

namespace injected_locales {

inline TFormatSettings US() { return TFormatSettings::English(); }

inline TFormatSettings German() {
  TFormatSettings s = TFormatSettings::English();
  s.DateSeparator = '.';
  s.ShortDateFormat = "dd/MM/yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  s.ShortTimeFormat = "hh:nn";
  s.TimeAMString = "";
  s.TimePMString = "";
  s.CurrencyString = "€";
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.FirstDayOfWeek = 0;
  s.ShortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  s.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                      "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  return s;
}

inline TFormatSettings Chinese() {
  TFormatSettings s = TFormatSettings::English();
  s.ShortDateFormat = "yyyy/M/d";
  s.LongTimeFormat = "AMPM h:mm:ss";
  s.TimeAMString = "上午";
  s.TimePMString = "下午";
  s.CurrencyString = "¥";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 2;
  s.FirstDayOfWeek = 0;
  for (size_t m = 0; m < 12; ++m) s.ShortMonthNames[m] = std::to_string(m + 1) + "月";
  return s;
}

inline TFormatSettings Iso() {
  TFormatSettings s = TFormatSettings::English();
  s.DateSeparator = '-';
  s.ShortDateFormat = "yyyy/MM/dd";
  s.LongTimeFormat = "HH:nn:ss";
  return s;
}

}  // namespace injected_locales
