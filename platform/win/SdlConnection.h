// The descriptor of the display connection behind an SDL window, kept apart
// because the display system's headers define names that clash with ours.
#pragma once

struct SDL_Window;

namespace win {

// Readable whenever the display server has sent something; -1 when the
// window's video driver has no connection to wait on (a dummy driver, or one
// not known here).
int SdlConnectionDescriptor(SDL_Window* window);

}  // namespace win
