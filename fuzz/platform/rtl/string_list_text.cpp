// The text forms of a string list (Text, CommaText, DelimitedText) read
// outside text: any bytes must parse, and what a list writes must read back
// to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/Classes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const char delimiter = static_cast<char>(data[0]);
  const char quote = static_cast<char>(data[1]);
  const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

  TStringList list;
  list.SetText(text);
  TStringList again;
  again.SetText(list.Text());
  if (!again.Equals(list)) std::abort();

  list.SetCommaText(text);
  again.SetCommaText(list.CommaText());
  if (!again.Equals(list)) std::abort();

  // Blanks and NUL cannot be delimiters that survive a round trip, and the
  // delimiter and quote must differ.
  if (static_cast<unsigned char>(delimiter) > ' ' && static_cast<unsigned char>(quote) > ' ' &&
      delimiter != quote) {
    list.SetDelimiter(delimiter);
    list.SetQuoteChar(quote);
    list.SetDelimitedText(text);
    again.SetDelimiter(delimiter);
    again.SetQuoteChar(quote);
    again.SetDelimitedText(list.DelimitedText());
    if (!again.Equals(list)) std::abort();
  }

  // Names and values never fail on any line.
  for (Integer i = 0; i < list.Count(); ++i) {
    list.Names(i);
    list.ValueFromIndex(i);
  }
  list.SetSorted(true);
  return 0;
}
