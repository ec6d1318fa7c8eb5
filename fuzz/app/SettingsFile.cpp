// SysInfo.Ini from outside: the loader and the language list take any bytes.
#include <cstdlib>

#include "fuzz/app/AppFuzzFolder.h"
#include "platform/rtl/Classes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static AppFuzzFolder app("sysinfo", true);
  if (!app.Write("SysInfo.Ini", data, size)) return 0;

  LoadSysInfo();
  if (ALL->LangIndex < 0 && !ALL->LangName.empty()) std::abort();
  TStringList display, files;
  LoadLanguageList(display, files);
  if (ALL->LangIndex >= 0 && ALL->LangIndex < files.Count() && files[ALL->LangIndex] != ALL->LangName)
    std::abort();
  return 0;
}
