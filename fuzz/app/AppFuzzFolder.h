// The application's globals over a fresh program folder, into which each fuzz
// input is written as one of the program's files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/AllClass.h"
#include "app/MeMode.h"
#include "tests/support/AppGlobalObjects.h"
#include "tests/support/TempFolder.h"

class AppFuzzFolder {
 public:
  // The folder is <temp>/vxn-fuzz-<name>-XXXXXX. With noUserConfig the user's
  // config folder is one that does not exist, so the program folder's files
  // are the ones read.
  AppFuzzFolder(const char* name, bool noUserConfig)
      : Scratch(std::string("fuzz-") + name), Folder(Scratch.Path() + "/") {
    if (noUserConfig) setenv("XDG_CONFIG_HOME", (Folder + "no-config").c_str(), 1);
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

  AppGlobalObjects Globals;
  TempFolder Scratch;
  std::string Folder;
};
