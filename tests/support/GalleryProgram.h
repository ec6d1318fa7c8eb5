// What the gallery programs share: their command line (an output folder and
// an optional --show, which needs the desktop backend), pictures of a form's
// window, and the run of a shown gallery that ends when the driving script
// asks (a "quit" file in the folder) or after a minute.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/PngImage.h"
#include "platform/forms/Timer.h"
#include "platform/win/Display.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/SdlDisplay.h"
#include "platform/win/Windows.h"

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

// The window as it stands on its surface, frame included.
inline void SnapshotWindow(win::HWND Window, TBitmap& Picture) {
  win::SurfacePixels s;
  if (!win::GetWindowSurface(Window, &s)) return;
  Picture.SetPixelFormat(pf32bit);
  Picture.SetSize(s.width, s.height);
  for (int y = 0; y < s.height; ++y)
    std::memcpy(Picture.ScanLine(y), reinterpret_cast<const char*>(s.pixels) + y * s.strideBytes,
                static_cast<size_t>(s.width) * 4);
}

inline void SavePng(TBitmap& Picture, const std::string& Path) {
  TPngImage png;
  png.Assign(&Picture);
  png.SaveToFile(Path);
}

// The colour at a screen point of a snapshot of Window.
inline TColor SnapshotPixel(TBitmap& Picture, win::HWND Window, const TPoint& Screen) {
  win::RECT frame;
  win::GetWindowRect(Window, &frame);
  const uint32_t p = Picture.ScanLine(Screen.Y - frame.top)[Screen.X - frame.left] & 0xFFFFFF;
  return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

// A colour as the driving scripts read the screen: "r,g,b".
inline std::string RgbText(TColor c) {
  return std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," + std::to_string((c >> 16) & 0xFF);
}

// For --show: tells the driving script ReadyLines (the ready file appears
// whole) and runs the application with Form as its main form until asked.
inline void RunShownGallery(TForm* Form, const std::string& Dir, const std::string& ReadyLines) {
  GalleryQuitter quitter{Dir};
  auto* timer = new TTimer(Form);
  timer->SetInterval(100);
  timer->SetOnTimer(TNotifyEvent(&quitter, &GalleryQuitter::Tick));
  {
    std::ofstream ready(Dir + "/ready.tmp");
    ready << ReadyLines;
  }
  std::rename((Dir + "/ready.tmp").c_str(), (Dir + "/ready").c_str());
  Application->SetMainForm(Form);
  Application->Run();
  timer->SetEnabled(false);
}
