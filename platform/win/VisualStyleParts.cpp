#include "platform/win/VisualStyleParts.h"

#include <array>
#include <cctype>

#include "platform/win/ThemeSchema.h"

namespace win::visualstyle {

namespace {

// The palette of the flat light look: grey faces and 1-px borders, one blue
// accent for hot, pressed and checked.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kAccent = 0x0078D7;
constexpr uint32_t kAccentDark = 0x005499;
constexpr uint32_t kAccentLight = 0x429CE3;
constexpr uint32_t kHotFill = 0xE5F1FB;
constexpr uint32_t kPressedFill = 0xCCE4F7;
constexpr uint32_t kFace = 0xE1E1E1;
constexpr uint32_t kFaceBorder = 0xADADAD;
constexpr uint32_t kControl = 0xF0F0F0;
constexpr uint32_t kDisabledFill = 0xCCCCCC;
constexpr uint32_t kDisabledBorder = 0xBFBFBF;
constexpr uint32_t kDisabledText = 0x838383;
constexpr uint32_t kMark = 0x333333;
constexpr uint32_t kGlyph = 0x606060;
constexpr uint32_t kFieldBorder = 0x7A7A7A;
constexpr uint32_t kLightBorder = 0xDCDCDC;
constexpr uint32_t kTabBorder = 0xD9D9D9;

struct ClassEntry {
  ThemeClass cls;
  const char* name;
};
constexpr std::array<ClassEntry, kClassCount> kClasses{{
    {ThemeClass::Button, "Button"},
    {ThemeClass::ComboBox, "ComboBox"},
    {ThemeClass::Edit, "Edit"},
    {ThemeClass::ExplorerBar, "ExplorerBar"},
    {ThemeClass::Header, "Header"},
    {ThemeClass::ListView, "ListView"},
    {ThemeClass::Progress, "Progress"},
    {ThemeClass::ScrollBar, "ScrollBar"},
    {ThemeClass::Spin, "Spin"},
    {ThemeClass::Tab, "Tab"},
    {ThemeClass::ToolBar, "ToolBar"},
    {ThemeClass::TrackBar, "TrackBar"},
    {ThemeClass::TreeView, "TreeView"},
    {ThemeClass::Window, "Window"},
}};

// Part tables: index = part number; an entry without a name is a gap.
//                            name            states min        true        content       border
constexpr PartInfo kButton[] = {
    {},
    {"push button", 5, {6, 6}, {16, 16}, {3, 3, 3, 3}, 1},
    {"radio button", 8, {13, 13}, {13, 13}, {1, 1, 1, 1}, 1},
    {"check box", 12, {13, 13}, {13, 13}, {1, 1, 1, 1}, 1},
    {"group box", 2, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
};
constexpr PartInfo kComboBox[] = {
    {},
    {"drop-down button", 4, {9, 9}, {17, 20}, {1, 1, 1, 1}, 0},
};
constexpr PartInfo kEdit[] = {
    {},
    {"edit text", 7, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
    {},
    {"background", 6, {1, 1}, {1, 1}, {0, 0, 0, 0}, 0},
    {},
    {"background with border", 6, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
    {"border", 4, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
};
constexpr PartInfo kExplorerBar[] = {
    {},
    {"header background", 1, {1, 2}, {16, 24}, {0, 0, 0, 1}, 1},
    {"header close", 3, {16, 16}, {16, 16}, {0, 0, 0, 0}, 0},
    {"header pin", 6, {16, 16}, {16, 16}, {0, 0, 0, 0}, 0},
    {"bar menu", 3, {16, 16}, {16, 16}, {0, 0, 0, 0}, 0},
    {"normal group background", 1, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
    {"normal group collapse", 3, {18, 18}, {18, 18}, {0, 0, 0, 0}, 0},
    {"normal group expand", 3, {18, 18}, {18, 18}, {0, 0, 0, 0}, 0},
    {"normal group head", 1, {2, 2}, {16, 25}, {8, 2, 8, 2}, 0},
    {"special group background", 1, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
    {"special group collapse", 3, {18, 18}, {18, 18}, {0, 0, 0, 0}, 0},
    {"special group expand", 3, {18, 18}, {18, 18}, {0, 0, 0, 0}, 0},
    {"special group head", 1, {2, 2}, {16, 25}, {8, 2, 8, 2}, 0},
};
constexpr PartInfo kHeader[] = {
    {},
    {"item", 3, {4, 4}, {16, 23}, {3, 2, 3, 2}, 1},
    {"item left", 3, {4, 4}, {16, 23}, {3, 2, 3, 2}, 1},
    {"item right", 3, {4, 4}, {16, 23}, {3, 2, 3, 2}, 1},
    {"sort arrow", 2, {9, 5}, {9, 5}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kListView[] = {
    {},
    {"list item", 6, {1, 1}, {16, 16}, {0, 0, 0, 0}, 0},
    {"list group", 1, {1, 1}, {1, 1}, {0, 0, 0, 0}, 0},
    {"list detail", 1, {1, 1}, {1, 1}, {0, 0, 0, 0}, 0},
    {"sorted detail", 1, {1, 1}, {1, 1}, {0, 0, 0, 0}, 0},
    {"body", 1, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
};
constexpr PartInfo kProgress[] = {
    {},
    {"bar", 1, {2, 2}, {10, 15}, {1, 1, 1, 1}, 1},
    {"bar vertical", 1, {2, 2}, {15, 10}, {1, 1, 1, 1}, 1},
    {"chunk", 1, {1, 1}, {8, 13}, {0, 0, 0, 0}, 0},
    {"chunk vertical", 1, {1, 1}, {13, 8}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kScrollBar[] = {
    {},
    {"arrow button", 16, {16, 16}, {16, 16}, {0, 0, 0, 0}, 0},
    {"thumb horizontal", 4, {8, 16}, {16, 16}, {0, 1, 0, 1}, 0},
    {"thumb vertical", 4, {16, 8}, {16, 16}, {1, 0, 1, 0}, 0},
    {"lower track horizontal", 4, {1, 16}, {16, 16}, {0, 0, 0, 0}, 0},
    {"upper track horizontal", 4, {1, 16}, {16, 16}, {0, 0, 0, 0}, 0},
    {"lower track vertical", 4, {16, 1}, {16, 16}, {0, 0, 0, 0}, 0},
    {"upper track vertical", 4, {16, 1}, {16, 16}, {0, 0, 0, 0}, 0},
    {"gripper horizontal", 1, {8, 8}, {8, 8}, {0, 0, 0, 0}, 0},
    {"gripper vertical", 1, {8, 8}, {8, 8}, {0, 0, 0, 0}, 0},
    {"size box", 2, {16, 16}, {16, 16}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kSpin[] = {
    {},
    {"up", 4, {8, 6}, {16, 10}, {1, 1, 1, 1}, 1},
    {"down", 4, {8, 6}, {16, 10}, {1, 1, 1, 1}, 1},
    {"up horizontal", 4, {6, 8}, {10, 16}, {1, 1, 1, 1}, 1},
    {"down horizontal", 4, {6, 8}, {10, 16}, {1, 1, 1, 1}, 1},
};
constexpr PartInfo kTab[] = {
    {},
    {"tab item", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"tab item left edge", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"tab item right edge", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"tab item both edges", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"top tab item", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"top tab item left edge", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"top tab item right edge", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"top tab item both edges", 5, {8, 8}, {60, 21}, {6, 3, 6, 2}, 1},
    {"pane", 1, {2, 2}, {2, 2}, {1, 1, 1, 1}, 1},
    {"body", 1, {1, 1}, {1, 1}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kToolBar[] = {
    {},
    {"button", 6, {6, 6}, {23, 22}, {3, 3, 3, 3}, 1},
    {"drop-down button", 6, {16, 6}, {35, 22}, {3, 3, 13, 3}, 1},
    {"split button", 6, {6, 6}, {23, 22}, {3, 3, 3, 3}, 1},
    {"split button drop-down", 6, {9, 6}, {13, 22}, {1, 3, 1, 3}, 1},
    {"separator", 1, {6, 6}, {6, 22}, {0, 0, 0, 0}, 0},
    {"separator vertical", 1, {6, 6}, {22, 6}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kTrackBar[] = {
    {},
    {"track", 1, {2, 2}, {4, 4}, {1, 1, 1, 1}, 1},
    {"track vertical", 1, {2, 2}, {4, 4}, {1, 1, 1, 1}, 1},
    {"thumb", 5, {11, 20}, {11, 20}, {0, 0, 0, 0}, 0},
    {"thumb bottom", 5, {11, 20}, {11, 20}, {0, 0, 0, 0}, 0},
    {"thumb top", 5, {11, 20}, {11, 20}, {0, 0, 0, 0}, 0},
    {"thumb vertical", 5, {20, 11}, {20, 11}, {0, 0, 0, 0}, 0},
    {"thumb left", 5, {20, 11}, {20, 11}, {0, 0, 0, 0}, 0},
    {"thumb right", 5, {20, 11}, {20, 11}, {0, 0, 0, 0}, 0},
    {"tics", 1, {1, 4}, {1, 4}, {0, 0, 0, 0}, 0},
    {"tics vertical", 1, {4, 1}, {4, 1}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kTreeView[] = {
    {},
    {},
    {"glyph", 2, {16, 16}, {16, 16}, {0, 0, 0, 0}, 0},
};
constexpr PartInfo kWindow[] = {
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
    {"close button", 4, {18, 18}, {18, 18}, {0, 0, 0, 0}, 0},
    {"small close button", 4, {13, 13}, {13, 13}, {0, 0, 0, 0}, 0},
};

struct PartTable {
  const PartInfo* parts;
  int count;
};
template <size_t N>
constexpr PartTable Table(const PartInfo (&a)[N]) {
  return {a, static_cast<int>(N)};
}

PartTable PartsOf(ThemeClass cls) {
  switch (cls) {
    case ThemeClass::Button: return Table(kButton);
    case ThemeClass::ComboBox: return Table(kComboBox);
    case ThemeClass::Edit: return Table(kEdit);
    case ThemeClass::ExplorerBar: return Table(kExplorerBar);
    case ThemeClass::Header: return Table(kHeader);
    case ThemeClass::ListView: return Table(kListView);
    case ThemeClass::Progress: return Table(kProgress);
    case ThemeClass::ScrollBar: return Table(kScrollBar);
    case ThemeClass::Spin: return Table(kSpin);
    case ThemeClass::Tab: return Table(kTab);
    case ThemeClass::ToolBar: return Table(kToolBar);
    case ThemeClass::TrackBar: return Table(kTrackBar);
    case ThemeClass::TreeView: return Table(kTreeView);
    case ThemeClass::Window: return Table(kWindow);
  }
  return {nullptr, 0};
}

bool SameName(std::u16string_view a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char16_t c = a[i];
    if (c > 0x7F || std::tolower(static_cast<unsigned char>(c)) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && !b[i];
}

StateLook Box(uint32_t border, uint32_t fill, uint32_t text = kBlack) {
  StateLook l;
  l.border = border;
  l.fill = fill;
  l.text = text;
  return l;
}
StateLook Glyph(uint32_t glyph, uint32_t fill = kNone, uint32_t border = kNone) {
  StateLook l;
  l.glyph = glyph;
  l.fill = fill;
  l.border = border;
  l.partiallyTransparent = true;
  return l;
}

// Normal, hot, pressed, disabled: the order most parts number their states in.
int Phase(int state) { return (state - 1) % 4; }

StateLook ButtonLook(int part, int state) {
  switch (part) {
    case BP_PUSHBUTTON: {
      StateLook l;
      switch (state) {
        case PBS_HOT: l = Box(kAccent, kHotFill); break;
        case PBS_PRESSED: l = Box(kAccentDark, kPressedFill); break;
        case PBS_DISABLED: l = Box(kDisabledBorder, kDisabledFill, kDisabledText); break;
        case PBS_DEFAULTED: l = Box(kAccent, kFace); break;
        default: l = Box(kFaceBorder, kFace); break;
      }
      l.partiallyTransparent = true;  // rounded corners
      return l;
    }
    case BP_RADIOBUTTON:
    case BP_CHECKBOX: {
      static constexpr uint32_t kRing[4] = {kMark, kAccent, kAccentDark, kDisabledFill};
      static constexpr uint32_t kInside[4] = {kWhite, kWhite, kPressedFill, kWhite};
      int phase = Phase(state);
      int group = (state - 1) / 4;  // unchecked, checked, mixed
      StateLook l = Box(kRing[phase], kInside[phase], phase == 3 ? kDisabledText : kBlack);
      // A radio button is round; a check box keeps its square when the
      // rectangle is wider or taller.
      l.partiallyTransparent = true;
      if (part == BP_RADIOBUTTON) {
        if (group == 1) {
          static constexpr uint32_t kDot[4] = {kAccent, kAccent, kAccentDark, kDisabledFill};
          l.border = phase == 0 ? kAccent : l.border;
          l.fill = phase == 1 ? kHotFill : l.fill;
          l.glyph = kDot[phase];
        }
      } else if (group == 1) {
        static constexpr uint32_t kBoxFill[4] = {kAccent, kAccentLight, kAccentDark, kDisabledFill};
        l.border = l.fill = kBoxFill[phase];
        l.glyph = kWhite;
      } else if (group == 2) {
        static constexpr uint32_t kSquare[4] = {kAccent, kAccent, kAccentDark, kDisabledFill};
        l.glyph = kSquare[phase];
      }
      return l;
    }
    case BP_GROUPBOX: {
      StateLook l = state == GBS_DISABLED ? Box(0xE6E6E6, kNone, kDisabledText) : Box(kLightBorder, kNone);
      l.partiallyTransparent = true;  // only the frame
      return l;
    }
  }
  return {};
}

StateLook ComboLook(int state) {
  StateLook l;
  switch (state) {
    case CBXS_HOT: l = Glyph(kGlyph, kHotFill); break;
    case CBXS_PRESSED: l = Glyph(kBlack, kPressedFill); break;
    case CBXS_DISABLED: l = Glyph(kDisabledBorder); break;
    default: l = Glyph(kGlyph); break;
  }
  l.partiallyTransparent = l.fill == kNone;
  // The button draws no border, but the class's border colour is the one
  // every themed field frame uses.
  l.border = state == CBXS_DISABLED ? kDisabledFill : kFieldBorder;
  l.text = state == CBXS_DISABLED ? kDisabledText : kBlack;
  return l;
}

StateLook EditLook(int part, int state) {
  // Map every part's numbering onto the edit-text states.
  int s = state;
  if (part == EP_BACKGROUND || part == EP_BACKGROUNDWITHBORDER) {
    static constexpr int kMap[7] = {0, ETS_NORMAL, ETS_HOT, ETS_DISABLED, ETS_FOCUSED, ETS_READONLY, ETS_ASSIST};
    s = kMap[state];
  } else if (part == EP_EDITBORDER_NOSCROLL) {
    static constexpr int kMap[5] = {0, ETS_NORMAL, ETS_HOT, ETS_FOCUSED, ETS_DISABLED};
    s = kMap[state];
  }
  StateLook l;
  switch (s) {
    case ETS_HOT: l = Box(0x171717, kWhite); break;
    case ETS_SELECTED:
    case ETS_FOCUSED: l = Box(kAccent, kWhite); break;
    case ETS_DISABLED: l = Box(kDisabledFill, kControl, 0x6D6D6D); break;
    case ETS_READONLY: l = Box(kFieldBorder, kControl); break;
    default: l = Box(kFieldBorder, kWhite); break;
  }
  if (part == EP_BACKGROUND) l.border = kNone;
  if (part == EP_EDITBORDER_NOSCROLL) {
    l.fill = kNone;
    l.partiallyTransparent = true;
  }
  return l;
}

StateLook ExplorerBarLook(int part, int state) {
  switch (part) {
    case EBP_HEADERBACKGROUND: return Box(0xE5E5E5, 0xF3F3F3);
    case EBP_NORMALGROUPBACKGROUND: return Box(kLightBorder, kWhite);
    case EBP_SPECIALGROUPBACKGROUND: return Box(kLightBorder, 0xF7FBFF);
    case EBP_NORMALGROUPHEAD: return Box(kNone, 0xE9EFF8);
    case EBP_SPECIALGROUPHEAD: return Box(kNone, kAccent, kWhite);
    case EBP_HEADERCLOSE:
    case EBP_HEADERPIN:
    case EBP_IEBARMENU: {
      int phase = (state - 1) % 3;
      static constexpr uint32_t kFill[3] = {kNone, kHotFill, kPressedFill};
      return Glyph(phase == 2 ? kBlack : kGlyph, kFill[phase]);
    }
    case EBP_NORMALGROUPCOLLAPSE:
    case EBP_NORMALGROUPEXPAND: {
      static constexpr uint32_t kRing[3] = {0xA0A0A0, kAccent, kAccentDark};
      static constexpr uint32_t kFill[3] = {kNone, kNone, kPressedFill};
      return Glyph(kRing[state - 1], kFill[state - 1], kRing[state - 1]);
    }
    case EBP_SPECIALGROUPCOLLAPSE:
    case EBP_SPECIALGROUPEXPAND: {
      static constexpr uint32_t kFill[3] = {kNone, kAccentLight, kAccentDark};
      return Glyph(kWhite, kFill[state - 1], kWhite);
    }
  }
  return {};
}

StateLook HeaderLook(int part, int state) {
  if (part == HP_HEADERSORTARROW) return Glyph(0x6D6D6D);
  static constexpr uint32_t kFill[3] = {kWhite, 0xD9EBF9, 0xBCDCF4};
  return Box(0xE5E5E5, kFill[state - 1]);
}

StateLook ListViewLook(int part, int state) {
  if (part == LVP_BODY) return Box(0x828790, kWhite);
  if (part != LVP_LISTITEM) return Box(kNone, kWhite);
  switch (state) {
    case LISS_HOT: return Box(kNone, 0xE5F3FF);
    case LISS_SELECTED: return Box(kNone, 0xCCE8FF);
    case LISS_SELECTEDNOTFOCUS: return Box(kNone, kTabBorder);
    case LISS_HOTSELECTED: return Box(0x99D1FF, 0xCCE8FF);
    case LISS_DISABLED: {
      StateLook l = Box(kNone, kNone, kDisabledText);
      l.partiallyTransparent = true;
      return l;
    }
    default: {
      StateLook l = Box(kNone, kNone);
      l.partiallyTransparent = true;
      return l;
    }
  }
}

StateLook ProgressLook(int part) {
  if (part == PP_BAR || part == PP_BARVERT) return Box(0xBCBCBC, 0xE6E6E6);
  return Box(kNone, 0x06B025);
}

StateLook ScrollBarLook(int part, int state) {
  int phase = Phase(state);
  switch (part) {
    case SBP_ARROWBTN: {
      static constexpr uint32_t kFill[4] = {kControl, 0xDADADA, kGlyph, kControl};
      static constexpr uint32_t kArrow[4] = {kGlyph, kBlack, kWhite, kDisabledBorder};
      StateLook l = Box(kNone, kFill[phase]);
      l.glyph = kArrow[phase];
      return l;
    }
    case SBP_THUMBBTNHORZ:
    case SBP_THUMBBTNVERT: {
      static constexpr uint32_t kThumb[4] = {0xCDCDCD, 0xA6A6A6, kGlyph, 0xE3E3E3};
      StateLook l = Box(kNone, kControl);
      l.glyph = kThumb[phase];
      return l;
    }
    case SBP_GRIPPERHORZ:
    case SBP_GRIPPERVERT: return Glyph(0x8C8C8C);
    case SBP_SIZEBOX: {
      StateLook l = Box(kNone, kControl);
      l.glyph = 0xA0A0A0;
      return l;
    }
    default: {  // tracks
      static constexpr uint32_t kTrack[4] = {kControl, 0xE8E8E8, 0xDADADA, 0xF7F7F7};
      return Box(kNone, kTrack[phase]);
    }
  }
}

StateLook SpinLook(int state) {
  switch (state) {
    case UPS_HOT: {
      StateLook l = Box(kAccent, kHotFill);
      l.glyph = kBlack;
      return l;
    }
    case UPS_PRESSED: {
      StateLook l = Box(kAccentDark, kPressedFill);
      l.glyph = kBlack;
      return l;
    }
    case UPS_DISABLED: {
      StateLook l = Box(kDisabledBorder, kControl, kDisabledText);
      l.glyph = kDisabledBorder;
      return l;
    }
    default: {
      StateLook l = Box(kFaceBorder, kControl);
      l.glyph = kGlyph;
      return l;
    }
  }
}

StateLook TabLook(int part, int state) {
  if (part == TABP_PANE) return Box(kTabBorder, kWhite);
  if (part == TABP_BODY) return Box(kNone, kWhite);
  switch (state) {
    case TIS_HOT: return Box(0x7EB4EA, 0xD8EAF9);
    case TIS_SELECTED: return Box(kTabBorder, kWhite);
    case TIS_DISABLED: return Box(0xE5E5E5, kControl, 0xA0A0A0);
    case TIS_FOCUSED: {
      StateLook l = Box(kTabBorder, kWhite);
      l.glyph = kAccent;  // the focus line along the tab's top
      return l;
    }
    default: return Box(kTabBorder, kControl);
  }
}

StateLook ToolBarLook(int part, int state) {
  if (part == TP_SEPARATOR || part == TP_SEPARATORVERT) return Glyph(0xD5D5D5);
  StateLook l;
  switch (state) {
    case TS_HOT: l = Box(0xCCE8FF, 0xE5F3FF); break;
    case TS_PRESSED: l = Box(0x99D1FF, 0xCCE8FF); break;
    case TS_CHECKED: l = Box(0x62A2E4, 0xD0E6F8); break;
    case TS_HOTCHECKED: l = Box(0x3E8DDD, 0xB8D9F4); break;
    case TS_DISABLED:
      l = Box(kNone, kNone, 0xA0A0A0);
      l.partiallyTransparent = true;
      break;
    default:
      l = Box(kNone, kNone);
      l.partiallyTransparent = true;
      break;
  }
  l.glyph = state == TS_DISABLED ? 0xA0A0A0 : kGlyph;  // drop-down arrows
  return l;
}

StateLook TrackBarLook(int part, int state) {
  if (part == TKP_TRACK || part == TKP_TRACKVERT) return Box(0xD6D6D6, 0xE7EAEA);
  if (part == TKP_TICS || part == TKP_TICSVERT) return Box(kNone, 0x9A9A9A);
  static constexpr uint32_t kThumb[5] = {kAccent, 0x171717, kDisabledFill, 0x005A9E, 0xA0A0A0};
  StateLook l = Box(kNone, kThumb[state - 1]);
  l.partiallyTransparent = true;  // rounded or pointed
  return l;
}

StateLook WindowLook(int state) {
  switch (state) {
    case CBS_HOT: return Glyph(kWhite, 0xE81123);
    case CBS_PUSHED: return Glyph(kWhite, 0xF1707A);
    case CBS_DISABLED: return Glyph(0xA0A0A0);
    default: return Glyph(kBlack);
  }
}

}  // namespace

bool FindClass(std::u16string_view name, ThemeClass* cls) {
  while (!name.empty() && (name.front() == u' ' || name.front() == u'\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == u' ' || name.back() == u'\t')) name.remove_suffix(1);
  for (const ClassEntry& e : kClasses)
    if (SameName(name, e.name)) {
      if (cls) *cls = e.cls;
      return true;
    }
  return false;
}

const char* ClassName(ThemeClass cls) { return kClasses[static_cast<size_t>(cls)].name; }

int LastPart(ThemeClass cls) { return PartsOf(cls).count - 1; }

const PartInfo* FindPart(ThemeClass cls, int part) {
  PartTable t = PartsOf(cls);
  if (part < 1 || part >= t.count || !t.parts[part].name) return nullptr;
  return &t.parts[part];
}

int EffectiveState(const PartInfo& info, int state) { return state >= 1 && state <= info.states ? state : 1; }

StateLook Look(ThemeClass cls, int part, int state) {
  const PartInfo* info = FindPart(cls, part);
  if (!info) return {};
  state = EffectiveState(*info, state);
  switch (cls) {
    case ThemeClass::Button: return ButtonLook(part, state);
    case ThemeClass::ComboBox: return ComboLook(state);
    case ThemeClass::Edit: return EditLook(part, state);
    case ThemeClass::ExplorerBar: return ExplorerBarLook(part, state);
    case ThemeClass::Header: return HeaderLook(part, state);
    case ThemeClass::ListView: return ListViewLook(part, state);
    case ThemeClass::Progress: return ProgressLook(part);
    case ThemeClass::ScrollBar: return ScrollBarLook(part, state);
    case ThemeClass::Spin: return SpinLook(state);
    case ThemeClass::Tab: return TabLook(part, state);
    case ThemeClass::ToolBar: return ToolBarLook(part, state);
    case ThemeClass::TrackBar: return TrackBarLook(part, state);
    case ThemeClass::TreeView: return Glyph(state == GLPS_OPENED ? 0x262626 : 0xA6A6A6);
    case ThemeClass::Window: return WindowLook(state);
  }
  return {};
}

int Scale(int length96, int dpi) {
  if (length96 == 0) return 0;
  if (length96 < 0) return -Scale(-length96, dpi);
  long v = (static_cast<long>(length96) * dpi + 48) / 96;
  return v == 0 ? 1 : static_cast<int>(v);
}

}  // namespace win::visualstyle
