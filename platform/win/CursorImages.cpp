#include "platform/win/CursorImages.h"

#include "platform/win/SuiteCursors.h"

#include <algorithm>
#include <cstring>

namespace win {
namespace {

// Pictures as character rows: 'X' black, 'o' white, anything else see-through.
const char* const kArrow[] = {
    "X",           "XX",          "XoX",         "XooX",        "XoooX",       "XooooX",      "XoooooX",
    "XooooooX",    "XoooooooX",   "XooooooooX",  "XoooooXXXXX", "XooXooX",     "XoX XooX",    "XX  XooX",
    "X    XooX",   "     XooX",   "      XX",
};
const char* const kPage[] = {
    "XXXXXXXXX", "XoooooooX", "XoXXXXXoX", "XoooooooX", "XoXXXXXoX", "XoooooooX", "XXXXXXXXX",
};
const char* const kTwoPages[] = {
    "   XXXXXXXXX", "   XoooooooX", "XXXXXXXXXXoX", "XoooooooXooX", "XoXXXXXoXXoX",
    "XoooooooXooX", "XoXXXXXoXXXX", "XoooooooX",    "XXXXXXXXX",
};
const char* const kNoEntry[] = {
    "   XXXXX",   "  XXoooXX",  " XXooXXXoX", "XXoXX  XoX", "XoXoX   XoX", "XoX XX  XoX",
    "XoX  XX XoX", " XoX  XXoX", " XoXXXooXX", "  XXoooXX",  "   XXXXX",
};
const char* const kHSplit[] = {
    "     XoX XoX",     "     XoX XoX",     "   X XoX XoX X",   "  XX XoX XoX XX",
    " XoXXXoX XoXXXoX", "XooooooX XooooooX", " XoXXXoX XoXXXoX", "  XX XoX XoX XX",
    "   X XoX XoX X",   "     XoX XoX",     "     XoX XoX",
};
const char* const kVSplit[] = {
    "     X",       "    XoX",      "   XoooX",     "  XXXoXXX",    "     X",      "XXXXXXXXXXX",
    "ooooooooooo",  "XXXXXXXXXXX",  "",             "XXXXXXXXXXX",  "ooooooooooo", "XXXXXXXXXXX",
    "     X",       "  XXXoXXX",    "   XoooX",     "    XoX",      "     X",
};
const char* const kHourGlass[] = {
    "XXXXXXXXXXX", "XoooooooooX", " XoXXXXXoX", " XooXXXooX", "  XooXooX", "   XoooX",  "    XoX",
    "   XoooX",    "  XooXooX",   " XooXXXooX", " XoXXXXXoX", "XoooooooooX", "XXXXXXXXXXX",
};
const char* const kUpArrow[] = {
    "    X",     "   XoX",   "  XoooX",  " XoooooX", "XoooooooX", "XXXXoXXXX", "   XoX",   "   XoX",
    "   XoX",    "   XoX",   "   XoX",   "   XoX",   "   XXX",
};
const char* const kQuestion[] = {
    " XXXXX",  "XoooooX", "XoXXXoX", "XXX XoX", "  XXoX", "  XoXX", "  XoX", "  XXX", "  XoX", "  XXX",
};

struct Layer {
  const char* const* rows;
  int count;
  int x, y;
};
template <int N>
Layer At(const char* const (&rows)[N], int x, int y) {
  return {rows, N, x, y};
}

struct Picture {
  const char* name;
  int xHotspot, yHotspot;
  Layer layers[2];
};

// Shapes by their resource number (the program's cursor numbers as 16 bits)
// or system name.
const Picture kPictures[] = {
    {"#65524", 0, 0, {At(kArrow, 0, 0), At(kPage, 8, 17)}},              // drag
    {"#65523", 0, 0, {At(kArrow, 0, 0), At(kNoEntry, 8, 15)}},           // no drop
    {"#65522", 8, 5, {At(kHSplit, 0, 0), {}}},                           // horizontal split
    {"#65521", 5, 8, {At(kVSplit, 0, 0), {}}},                           // vertical split
    {"#65520", 0, 0, {At(kArrow, 0, 0), At(kTwoPages, 8, 15)}},          // multi drag
    {"#65519", 0, 0, {At(kArrow, 0, 0), At(kHourGlass, 10, 12)}},        // database wait
    {"IDC_UPARROW", 4, 0, {At(kUpArrow, 0, 0), {}}},
    {"IDC_HELP", 0, 0, {At(kArrow, 0, 0), At(kQuestion, 12, 0)}},
};

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

}  // namespace

bool DrawnCursorImage(const std::string& name, CursorImage* image) {
  if (SuiteCursorImage(name, image)) return true;
  for (const Picture& p : kPictures) {
    if (name != p.name) continue;
    if (!image) return true;
    int width = 0, height = 0;
    for (const Layer& l : p.layers)
      for (int r = 0; r < l.count; ++r) {
        width = std::max(width, l.x + static_cast<int>(std::strlen(l.rows[r])));
        height = std::max(height, l.y + r + 1);
      }
    image->width = width;
    image->height = height;
    image->xHotspot = p.xHotspot;
    image->yHotspot = p.yHotspot;
    image->argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (const Layer& l : p.layers)
      for (int r = 0; r < l.count; ++r)
        for (int c = 0; l.rows[r][c]; ++c) {
          char ch = l.rows[r][c];
          if (ch != 'X' && ch != 'o') continue;
          image->argb[static_cast<size_t>((l.y + r) * width + l.x + c)] = ch == 'X' ? kBlack : kWhite;
        }
    return true;
  }
  return false;
}

namespace {

uint32_t ReadLe(std::string_view data, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(data[at + static_cast<size_t>(i)]);
  return v;
}

}  // namespace

// A cursor file:
//   directory  reserved(2)=0 type(2)=2 count(2)
//   entry x n  width(1) height(1) colours(1) reserved(1) xHotspot(2) yHotspot(2) size(4) offset(4)
//   picture    BITMAPINFOHEADER (height doubled), colour table for 1/4/8 bits,
//              XOR rows then AND rows (1 bit), both bottom-up, padded to 4 bytes
bool DecodeCursorFile(std::string_view data, CursorImage* image) {
  if (data.size() < 6 || ReadLe(data, 0, 2) != 0 || ReadLe(data, 2, 2) != 2) return false;
  const size_t count = ReadLe(data, 4, 2);
  if (count == 0 || data.size() < 6 + 16 * count) return false;
  size_t chosen = 0;
  for (size_t i = 0; i < count; ++i)
    if (static_cast<uint8_t>(data[6 + 16 * i]) == 32 && static_cast<uint8_t>(data[7 + 16 * i]) == 32) chosen = i;
  const size_t entry = 6 + 16 * chosen;
  const int xHot = static_cast<int>(ReadLe(data, entry + 4, 2));
  const int yHot = static_cast<int>(ReadLe(data, entry + 6, 2));
  const size_t size = ReadLe(data, entry + 8, 4);
  const size_t offset = ReadLe(data, entry + 12, 4);
  if (offset > data.size() || size > data.size() - offset || size < 40) return false;
  std::string_view dib = data.substr(offset, size);
  const uint32_t headerSize = ReadLe(dib, 0, 4);
  const auto width = static_cast<int32_t>(ReadLe(dib, 4, 4));
  const auto doubled = static_cast<int32_t>(ReadLe(dib, 8, 4));
  const int bits = static_cast<int>(ReadLe(dib, 14, 2));
  if (headerSize < 40 || ReadLe(dib, 16, 4) != 0 || width <= 0 || width > 256 || doubled <= 0 || doubled > 512)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const int height = doubled / 2;
  size_t colours = bits <= 8 ? ReadLe(dib, 32, 4) : 0;
  if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
  const size_t tableAt = headerSize;
  const size_t xorAt = tableAt + 4 * colours;
  const size_t xorStride = (static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32 * 4;
  const size_t andAt = xorAt + xorStride * static_cast<size_t>(height);
  const size_t andStride = (static_cast<size_t>(width) + 31) / 32 * 4;
  if (andAt + andStride * static_cast<size_t>(height) > dib.size()) return false;

  auto colourAt = [&](int x, int row) -> uint32_t {
    const size_t line = xorAt + xorStride * static_cast<size_t>(row);
    const auto ux = static_cast<size_t>(x);
    switch (bits) {
      case 32: return ReadLe(dib, line + 4 * ux, 4);
      case 24: return ReadLe(dib, line + 3 * ux, 3);
      default: {
        const size_t bitPos = ux * static_cast<size_t>(bits);
        const auto byte = static_cast<uint8_t>(dib[line + bitPos / 8]);
        const size_t index = (byte >> (8 - bits - static_cast<int>(bitPos % 8))) & ((1u << bits) - 1);
        return index < colours ? ReadLe(dib, tableAt + 4 * index, 3) : 0;
      }
    }
  };
  bool alpha = false;
  if (bits == 32)
    for (int row = 0; row < height && !alpha; ++row)
      for (int x = 0; x < width && !alpha; ++x) alpha = (colourAt(x, row) >> 24) != 0;
  if (!image) return true;
  image->width = width;
  image->height = height;
  image->xHotspot = std::min(xHot, width - 1);
  image->yHotspot = std::min(yHot, height - 1);
  image->argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const int row = height - 1 - y;  // stored bottom-up
    for (int x = 0; x < width; ++x) {
      const uint32_t colour = colourAt(x, row);
      uint32_t& out = image->argb[static_cast<size_t>(y * width + x)];
      if (alpha) {
        out = colour;
        continue;
      }
      const size_t maskAt = andAt + andStride * static_cast<size_t>(row) + static_cast<size_t>(x) / 8;
      const auto maskByte = static_cast<uint8_t>(dib[maskAt]);
      const bool see = (maskByte >> (7 - x % 8)) & 1;
      // AND 1 over a coloured pixel inverts the screen: black is the nearest.
      out = !see ? (kBlack | (colour & 0xFFFFFF)) : (colour & 0xFFFFFF) ? kBlack : 0;
    }
  }
  return true;
}

}  // namespace win
