// Language files from outside: every text comes from the file or is the
// English default, whatever the bytes.
#include <cstdlib>

#include "fuzz/app/AppFuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static AppFuzzFolder app("language", false);
  if (!app.Write("Fuzz.Ini", data, size)) return 0;

  LoadLanguageTexts("Fuzz");
  for (const TLanguage::TText& t : TLanguage::Texts())
    if ((LangTexts->*t.Field).size() > 4 * 2047) std::abort();
  return 0;
}
