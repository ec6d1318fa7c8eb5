// Parses the first part of the input (up to a NUL) as a standard edit mask
// and runs the rest through Format, ValueText and IsValid.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Utf8.h"
#include "suite/editors/cxStandardMask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view maskText = input.substr(0, split);
  const std::string_view text = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  TcxStandardMask mask;
  mask.SetMaskText(maskText);
  const auto count = static_cast<size_t>(mask.ItemCount());
  if (Utf8CharCount(mask.BlankTemplate()) != count) __builtin_trap();
  (void)mask.EmptyValue();
  std::string formatted(text);
  mask.Format(formatted, size % 2 == 0);
  // Every formatted text fills the mask exactly (checked on well-formed
  // input, where characters cannot merge across positions).
  if (IsValidUtf8(text) && Utf8CharCount(formatted) != count) __builtin_trap();
  (void)mask.IsValid(formatted);
  std::string value = formatted;
  mask.ValueText(value);
  return 0;
}
