// What the gallery programs share: their command line (an output folder and
// an optional --show, which needs the desktop backend) and the timer target
// that ends a shown gallery when the driving script asks (a "quit" file in
// the folder) or after a minute.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/win/Display.h"

struct GalleryArgs {
  std::string Dir;
  bool Show = false;
};

// Fills Args; gives 0 when the program may go on, else its exit code.
inline int ParseGalleryArgs(int argc, char** argv, const char* Program, GalleryArgs& Args) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <directory> [--show]\n", Program);
    return 2;
  }
  Args.Dir = argv[1];
  Args.Show = argc > 2 && std::string(argv[2]) == "--show";
  if (Args.Show && std::string(win::InstallDisplayForEnvironment()) != "sdl") {
    std::fprintf(stderr, "--show needs the desktop backend\n");
    return 1;
  }
  return 0;
}

struct GalleryQuitter {
  std::string Dir;
  int Elapsed = 0;
  // For a timer of 100 ms.
  void Tick(TObject*) {
    Elapsed += 100;
    std::ifstream quit(Dir + "/quit");
    if (quit || Elapsed > 60000) Application->Terminate();
  }
};
