// The typed texts of grid cells: numbers formatted by a cell's number
// settings, dates and times in the forms the cells store, and the letters of
// the column titles. Numbers follow the process's format settings; stored
// dates are "yyyy-mm-dd" and times "hh:nn:ss".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/System.h"

// The text a number cell stores for what was typed, or nothing when the text
// is no number. IntLength is a minimum field width, DecLength the decimals.
std::optional<std::string> FormatNumberText(std::string_view Text, Integer IntLength,
                                            Integer DecLength, bool ThousandSep, bool ZeroNull,
                                            bool TrailingZero);

// A date as the locale writes it, as the date editor shows it (yyyy/mm/dd
// with the locale's date separator or '/') or as yyyy-mm-dd, stored as
// "yyyy-mm-dd"; nothing when it is no date. Blanks and separators alone are
// the empty text.
std::optional<std::string> CellDateText(std::string_view Text);
// A time as the locale writes it or as hh:nn:ss (the locale's time separator
// or ':'), stored as "hh:nn:ss".
std::optional<std::string> CellTimeText(std::string_view Text);

// The letters over column index n (0 for the first scrolling column): "A".."Z",
// then two letters; empty outside 0..255.
std::string ColumnTitle(Integer N);
