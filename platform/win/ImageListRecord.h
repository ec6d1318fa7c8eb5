// What an image-list handle holds, for the image-list components of the
// class library, which read and write the images directly (their form-file
// data, the engraved disabled look, icons).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/ImageLists.h"

namespace win {

// Images keep 0x00RRGGBB pixels and a mask byte per pixel (1: transparent).
struct HIMAGELIST__ {
  int cx = 16;
  int cy = 16;
  UINT flags = 0;
  COLORREF bk = CLR_NONE;
  std::vector<std::vector<uint32_t>> images;
  std::vector<std::vector<uint8_t>> masks;
  int overlays[kMaxOverlays] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

// An image as it is drawn: its pixels and mask (1: see-through), with the
// overlay the style names put over it.
void ComposeImage(HIMAGELIST himl, int index, UINT style, std::vector<uint32_t>* pixels, std::vector<uint8_t>* mask);

}  // namespace win
