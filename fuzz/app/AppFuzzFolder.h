// The application's globals over a fresh program folder, into which each fuzz
// input is written as one of the program's files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "AllClass.h"
#include "MeMode.h"

class AppFuzzFolder {
 public:
  // The folder is /tmp/vxn-fuzz-<name>-XXXXXX. With noUserConfig the user's
  // config folder is one that does not exist, so the program folder's files
  // are the ones read.
  AppFuzzFolder(const char* name, bool noUserConfig) {
    std::string pattern = std::string("/tmp/vxn-fuzz-") + name + "-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    if (!made) std::abort();
    Folder = std::string(made) + "/";
    if (noUserConfig) setenv("XDG_CONFIG_HOME", (Folder + "no-config").c_str(), 1);
    ALL = new TALL;
    LangTexts = new TLanguage;
    ALL->AppPath = Folder;
  }

  // False when the file cannot be written; the input is then skipped.
  bool Write(const std::string& fileName, const uint8_t* data, size_t size) const {
    FILE* f = std::fopen((Folder + fileName).c_str(), "wb");
    if (!f) return false;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    return true;
  }

  std::string Folder;
};
