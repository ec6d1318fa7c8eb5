// Feeds arbitrary bytes to the character helpers and the number parsers and
// checks that stepping, code-page and UTF-16 conversions stay consistent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view s(reinterpret_cast<const char*>(data), size);

  std::vector<size_t> forward;
  for (size_t pos = 0; pos < s.size(); pos = Utf8NextCharPos(s, pos)) forward.push_back(pos);
  if (forward.size() != Utf8CharCount(s)) __builtin_trap();
  size_t index = forward.size();
  for (size_t pos = s.size(); pos > 0;) {
    pos = Utf8PrevCharPos(s, pos);
    if (index == 0 || forward[--index] != pos) __builtin_trap();
  }

  std::u16string wide = Utf8ToUtf16(s);
  if (IsValidUtf8(s) && Utf16ToUtf8(wide) != s) __builtin_trap();
  std::string back = Utf16ToUtf8(wide);
  if (!IsValidUtf8(back)) __builtin_trap();

  if (s.find('\x98') == std::string_view::npos && Utf8ToCp1251(Cp1251ToUtf8(s)) != s)
    __builtin_trap();

  Integer i = 0, code = 0;
  Val(s, i, code);
  if (code < 0 || code > Length(s) + 1) __builtin_trap();
  if (code == 0 && StrToInt(s) != i) __builtin_trap();
  double d = 0;
  Val(s, d, code);
  (void)AnsiUpperCase(s);
  (void)StringReplace(s, s.substr(0, size / 3), "x", {rfReplaceAll, rfIgnoreCase});
  return 0;
}
