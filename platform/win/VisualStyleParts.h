// What our own visual style defines: its classes, their parts and states,
// each part's sizes and content margins at 96 dpi, and the colours of each
// state. The service (UxTheme) answers its queries from here and the
// renderer draws with these colours, so that what a painter reads and what
// it sees on screen agree.
#pragma once

#include <cstdint>
#include <string_view>

namespace win::visualstyle {

enum class ThemeClass : uint8_t {
  Button,
  ComboBox,
  Edit,
  ExplorerBar,
  Header,
  ListView,
  Progress,
  ScrollBar,
  Spin,
  Tab,
  ToolBar,
  TrackBar,
  TreeView,
  Window,
};
constexpr int kClassCount = 14;

// The class a name of a class list stands for (any case, surrounding blanks
// ignored); false for a class the style does not draw.
bool FindClass(std::u16string_view name, ThemeClass* cls);
const char* ClassName(ThemeClass cls);

struct Size96 {
  int cx = 0;
  int cy = 0;
};
struct Margins96 {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct PartInfo {
  const char* name = nullptr;
  int states = 1;  // states 1..states are the part's own; 0 and others draw state 1
  Size96 minSize;
  Size96 trueSize;
  Margins96 content;  // the content rectangle's distance from each side
  int border = 0;     // width of the part's border line, 0 for none
};

// The highest part number of a class; parts below it may be missing.
int LastPart(ThemeClass cls);
// Null for a part the class lacks.
const PartInfo* FindPart(ThemeClass cls, int part);
// The state a drawing or query uses: the state itself when the part has it,
// else the part's first state.
int EffectiveState(const PartInfo& info, int state);

// Colours 0x00RRGGBB; kNone where the state paints nothing of that kind.
constexpr uint32_t kNone = 0xFF000000;
struct StateLook {
  uint32_t border = kNone;
  uint32_t fill = kNone;
  uint32_t glyph = kNone;  // marks, arrows, thumbs: whatever the part draws on its fill
  uint32_t text = 0x000000;
  // Some pixels of the rectangle stay as they were (rounded corners, round
  // or pointed shapes, parts that draw only a glyph or only a border).
  bool partiallyTransparent = false;
};
StateLook Look(ThemeClass cls, int part, int state);

// Scales a 96-dpi length to dpi (at least 1 for a non-zero length).
int Scale(int length96, int dpi);

}  // namespace win::visualstyle
