// The display backend over SDL2: every top-level window of the layer gets a
// window of the desktop, borderless (the layer draws its own frame), at the
// same screen position. Popups and drop-downs become override-redirect
// windows that never take the keyboard focus. The backing surface is copied
// to the desktop window after painting, only where it changed; the desktop's
// input, window and clipboard events come back as the layer's input and
// window messages.
//
// High-DPI: the layer keeps its 96-dpi logic; the presented surface is scaled
// by a factor (VXN_SCALE, or the display's dpi / 96 rounded to a whole number)
// and input coordinates are divided by it.
#pragma once

#include <memory>
#include <string>

#include "platform/win/Display.h"

struct SDL_Surface;

namespace win {

enum class DisplayKind { Headless, Sdl };

// VXN_DISPLAY ("sdl" or "headless") decides when set; otherwise SDL when a
// display server is reachable (DISPLAY or WAYLAND_DISPLAY set). Anything
// else in VXN_DISPLAY raises Exception.
DisplayKind ChooseDisplayKind(const char* forced, bool displayPresent);

// Opens the video subsystem; null with the reason in *error when SDL cannot
// reach a display.
std::unique_ptr<DisplayBackend> OpenSdlDisplay(std::string* error);

// Installs the backend the environment asks for and answers its name; the
// program calls it once at start-up. A forced "sdl" that cannot open raises
// Exception; an unforced choice falls back to headless.
const char* InstallDisplayForEnvironment();

// The virtual key of an SDL key code; 0 for keys the layer does not know.
UINT VirtualKeyFromSdl(int sdlKeycode);

// The whole-number factor between the layer's 96-dpi pixels and the
// display's (VXN_SCALE when set to 1..4; otherwise from the dpi).
int PresentScale(const char* forced, float displayDpi);

// The picture a colour cursor is made from (ARGB, at the present scale), or
// null for the shapes the desktop has itself; the caller frees it.
SDL_Surface* CursorSurface(HCURSOR cursor, int scale, int* xHotspot, int* yHotspot);

}  // namespace win
