// Language files from outside: every text comes from the file or is the
// English default, whatever the bytes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "AllClass.h"
#include "MeMode.h"

namespace {

struct Globals {
  std::string Folder;
  Globals() {
    char pattern[] = "/tmp/vxn-fuzz-language-XXXXXX";
    Folder = std::string(mkdtemp(pattern)) + "/";
    ALL = new TALL;
    LangTexts = new TLanguage;
    ALL->AppPath = Folder;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Globals globals;
  FILE* f = std::fopen((globals.Folder + "Fuzz.Ini").c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  LoadLanguageTexts("Fuzz");
  for (const TLanguage::TText& t : TLanguage::Texts())
    if ((LangTexts->*t.Field).size() > 4 * 2047) std::abort();
  return 0;
}
