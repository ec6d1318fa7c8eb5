// Compiles the input as a regular expression; when it compiles, feeds the
// pattern's own first characters to the matcher (auto-completion on for a
// third of the inputs), stepping back now and then.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/rtl/Utf8.h"
#include "suite/editors/cxRegExpr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TcxRegExpr re;
  re.SetCaseInsensitive(size % 2 == 1);
  re.SetAutoComplete(size % 3 == 0);
  try {
    re.Compile(text);
  } catch (const EcxRegExprError& e) {
    for (Integer i = 0; i < e.Errors->Count(); ++i) (void)e.Errors->Items(i).FullText();
    return 0;
  }
  // Matching walks sets of states that grow with the pattern, and each step
  // back and forth may redo a long run of forced characters: a dozen or so
  // characters keep every input fast.
  size_t pos = 0;
  unsigned n = 0;
  while (pos < text.size() && n < 16) {
    char32_t ch = Utf8Decode(text, pos);
    re.Next(ch);
    (void)re.IsFinal();
    if (++n % 5 == 0) re.Prev();
  }
  re.Reset();
  (void)re.FilterText(text);
  return 0;
}
