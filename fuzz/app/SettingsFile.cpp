// SysInfo.Ini from outside: the loader and the language list take any bytes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "AllClass.h"
#include "Classes.h"
#include "MeMode.h"

namespace {

struct Globals {
  std::string Folder;
  Globals() {
    char pattern[] = "/tmp/vxn-fuzz-sysinfo-XXXXXX";
    Folder = std::string(mkdtemp(pattern)) + "/";
    // No user copy: the program folder's file is the one read.
    setenv("XDG_CONFIG_HOME", (Folder + "no-config").c_str(), 1);
    ALL = new TALL;
    LangTexts = new TLanguage;
    ALL->AppPath = Folder;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Globals globals;
  FILE* f = std::fopen((globals.Folder + "SysInfo.Ini").c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  LoadSysInfo();
  if (ALL->LangIndex < 0 && !ALL->LangName.empty()) std::abort();
  TStringList display, files;
  LoadLanguageList(display, files);
  if (ALL->LangIndex >= 0 && ALL->LangIndex < files.Count() && files[ALL->LangIndex] != ALL->LangName)
    std::abort();
  return 0;
}
