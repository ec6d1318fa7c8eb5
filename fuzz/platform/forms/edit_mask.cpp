// Compiles the first part of the input (up to a NUL) as an edit mask of the
// mask edit and puts the rest in as its text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/forms/Mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view maskText = input.substr(0, split);
  const std::string_view text = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const EditMaskFormat mask(maskText);
  if (mask.Template().size() != mask.Size()) __builtin_trap();
  const std::u32string edit = mask.ToEditText(text);
  if (edit.size() != mask.Size()) __builtin_trap();
  if (mask.FirstMissing(edit) > mask.Size()) __builtin_trap();
  // What Text reads back puts the same edit text in again.
  if (mask.ToEditText(mask.ToText(edit)) != edit) __builtin_trap();
  for (size_t i = 0; i < mask.Size(); ++i) {
    if (mask.NextInput(i) < i || mask.NextInput(i) > mask.Size()) __builtin_trap();
    const size_t prev = mask.PrevInput(i);
    if (prev != mask.Size() && (prev >= i || mask.IsLiteral(prev))) __builtin_trap();
  }
  return 0;
}
