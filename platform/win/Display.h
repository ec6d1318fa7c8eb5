// The display behind the windows. Top-level windows draw into backing
// surfaces of their own; a backend shows them: the headless one composes them
// into a virtual screen in memory (tests, and no display at all), a real one
// puts them in windows of the desktop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace win {

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual const char* Name() const = 0;
  // A top-level window appeared, moved, changed size, visibility or stacking.
  virtual void TopLevelChanged(HWND hwnd) { (void)hwnd; }
  virtual void TopLevelDestroyed(HWND hwnd) { (void)hwnd; }
  // Pixels of a top-level window's surface changed (window coordinates).
  virtual void SurfaceChanged(HWND hwnd, const RECT& rect) {
    (void)hwnd;
    (void)rect;
  }
  // A descriptor that is readable while the display has events, polled by
  // the user-interface thread whenever it waits for messages; -1 for none.
  virtual int EventDescriptor() { return -1; }
  // Turns the display's pending events into messages.
  virtual void PumpEvents() {}
};

// Keeps nothing of its own: the screen is the composition of the surfaces,
// made when someone looks.
class HeadlessDisplay : public DisplayBackend {
 public:
  const char* Name() const override { return "headless"; }
};

// The backend in use; headless until another is installed.
DisplayBackend& CurrentDisplay();
// Takes ownership; null goes back to headless.
void InstallDisplay(std::unique_ptr<DisplayBackend> backend);

// A top-level window's backing surface: 32-bit pixels 0x00RRGGBB, the size
// of the window rectangle. The pointer holds until the window changes size.
struct SurfacePixels {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int strideBytes = 0;
};
BOOL GetWindowSurface(HWND topLevel, SurfacePixels* out);

// The screen (GetScreenSize) as the desktop colour with the visible top-level
// windows on it, bottom to top, each clipped by its window region.
std::vector<uint32_t> ComposeScreen(int* width, int* height);
BOOL SaveScreenToPng(const std::string& path);
// A window's rectangle as it stands in its top-level window's surface.
BOOL SaveWindowToPng(HWND hwnd, const std::string& path);

}  // namespace win
