#include "CursorImages.h"

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

}  // namespace win
