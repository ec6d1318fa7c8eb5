#include "platform/win/MenuWindows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/MenuPrivate.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/Rects.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPrivate.h"
#include "platform/win/GdiScopes.h"
#include "platform/rtl/ScopeExit.h"

namespace win {

using namespace menu;

namespace {

// Owner-draw states (the same numbers the button and list classes use).
constexpr UINT kOdsSelected = 0x1, kOdsGrayed = 0x2, kOdsDisabled = 0x4, kOdsChecked = 0x8, kOdsDefault = 0x20;
constexpr UINT kOdaDrawEntire = 0x1;


std::unordered_map<HMENU, std::unique_ptr<Menu>>& Menus() {
  static std::unordered_map<HMENU, std::unique_ptr<Menu>> menus;
  return menus;
}
std::unordered_map<HWND, HMENU>& WindowMenus() {
  static std::unordered_map<HWND, HMENU> map;
  return map;
}


HMENU NewMenu(bool bar) {
  static uintptr_t next = 0x4000;
  auto h = reinterpret_cast<HMENU>(next += 4);
  auto m = std::make_unique<Menu>();
  m->bar = bar;
  Menus()[h] = std::move(m);
  return h;
}

// A drop-down starts a new column at such an item, the bar a new row.
bool IsBreak(const Item& it) { return it.type & (MFT_MENUBREAK | MFT_MENUBARBREAK); }


// An item by position, or by command anywhere in the menu and its sub-menus.
Item* Locate(HMENU h, UINT item, bool byPosition, Menu** holder = nullptr) {
  Menu* m = Find(h);
  if (!m) return nullptr;
  if (byPosition) {
    if (item >= m->items.size()) return nullptr;
    if (holder) *holder = m;
    return &m->items[item];
  }
  for (Item& it : m->items) {
    if (!it.sub && it.id == item) {
      if (holder) *holder = m;
      return &it;
    }
  }
  for (Item& it : m->items)
    if (it.sub)
      if (Item* found = Locate(it.sub, item, false, holder)) return found;
  return nullptr;
}

Item ItemFromFlags(UINT flags, UINT_PTR idNewItem, const char* text) {
  Item it;
  it.type = flags & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RIGHTJUSTIFY);
  it.state = flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
  if (flags & MF_POPUP)
    it.sub = reinterpret_cast<HMENU>(idNewItem);
  else
    it.id = static_cast<UINT>(idNewItem);
  if (flags & MF_OWNERDRAW)
    it.data = reinterpret_cast<ULONG_PTR>(text);
  else if (flags & MF_BITMAP)
    it.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(text));
  else if (text && !(flags & MF_SEPARATOR))
    it.text = text;
  return it;
}


HFONT MenuFont(bool bold = false) {
  NONCLIENTMETRICS m;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  if (bold) m.lfMenuFont.lfWeight = FW_BOLD;
  return CreateFontIndirect(&m.lfMenuFont);
}

SIZE TextSize(HDC dc, const std::string& text, bool bold) {
  HFONT font = MenuFont(bold);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawText(dc, text.empty() ? " " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
           DT_SINGLELINE | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteObject(font);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

std::pair<std::string, std::string> SplitTab(const std::string& text) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, std::string()};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

void SendMeasure(HWND owner, Item& it, UINT* width, UINT* height) {
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_MENU;
  mis.itemID = it.id;
  mis.itemData = it.data;
  mis.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
  if (owner) SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  *width = mis.itemWidth;
  *height = mis.itemHeight;
}


// The maximised document window of each frame: its icon and caption
// buttons stand in the frame's menu bar.
std::unordered_map<HWND, HWND>& BarDocuments() {
  static std::unordered_map<HWND, HWND> map;
  return map;
}

HWND BarDocument(HWND frame) {
  auto it = BarDocuments().find(frame);
  return it != BarDocuments().end() && IsWindow(it->second) ? it->second : nullptr;
}

// The parts of the bar that belong to the document window.
enum class DocumentPart { none, icon, minimize, restore, close };

struct DocumentParts {
  RECT icon{}, minimize{}, restore{}, close{};
};

// Where the document's icon and buttons lie in the bar's first row (window
// coordinates), for a frame of this width; empty without a document.
DocumentParts DocumentPartsOf(HWND hwnd, int width) {
  DocumentParts p;
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w || !BarDocument(hwnd)) return p;
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, width, 1000);
  int row = GetSystemMetrics(SM_CYMENU), top = l.edgeOuter.top;
  p.icon = RECT{l.edgeOuter.left, top, l.edgeOuter.left + GetSystemMetrics(SM_CXSMICON) + 6, top + row};
  int bw = GetSystemMetrics(SM_CXMENUSIZE) - 2, bh = GetSystemMetrics(SM_CYMENUSIZE) - 4;
  int y = top + (row - bh) / 2, x = l.edgeOuter.right - 2;
  p.close = RECT{x - bw, y, x, y + bh};
  p.restore = RECT{p.close.left - 2 - bw, y, p.close.left - 2, y + bh};
  p.minimize = RECT{p.restore.left - bw, y, p.restore.left, y + bh};
  return p;
}

DocumentPart DocumentPartAt(HWND hwnd, POINT screen) {
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w || !BarDocument(hwnd)) return DocumentPart::none;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  POINT p{screen.x - wr.left, screen.y - wr.top};
  DocumentParts parts = DocumentPartsOf(hwnd, wr.right - wr.left);
  if (PtInRect(&parts.icon, p)) return DocumentPart::icon;
  if (PtInRect(&parts.minimize, p)) return DocumentPart::minimize;
  if (PtInRect(&parts.restore, p)) return DocumentPart::restore;
  if (PtInRect(&parts.close, p)) return DocumentPart::close;
  return DocumentPart::none;
}

// A document button held down: drawn pushed while the mouse is over it.
struct PressedDocumentButton {
  HWND frame = nullptr;
  DocumentPart part = DocumentPart::none;
};
PressedDocumentButton g_pressedDocumentButton;

RECT BarRect(HWND hwnd, int height) {
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w) return RECT{};
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
  return RECT{l.edgeOuter.left, l.edgeOuter.top, l.edgeOuter.right, l.edgeOuter.top + height};
}

// Lays the bar's items out left to right, wrapping to more rows when they do
// not fit; gives the bar's height.
int LayoutBar(HWND hwnd, Menu* m, int width) {
  if (!m || m->items.empty()) return 0;
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w) return 0;
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, width, 1000);
  int left = l.edgeOuter.left, right = std::max(l.edgeOuter.right, left + 1), top = l.edgeOuter.top;
  int row = GetSystemMetrics(SM_CYMENU);
  // A maximised document's icon comes first and its buttons take the end of
  // the first row.
  DocumentParts parts = DocumentPartsOf(hwnd, width);
  int firstRowRight = IsRectEmpty(&parts.minimize) ? right : std::max(parts.minimize.left - 2, left + 1);
  HDC dc = GetDC(nullptr);
  int x = IsRectEmpty(&parts.icon) ? left : parts.icon.right, y = top;
  for (Item& it : m->items) {
    int iw = 0, ih = row;
    if (it.type & MFT_OWNERDRAW) {
      UINT mw = 0, mh = 0;
      SendMeasure(w->handle, it, &mw, &mh);
      iw = static_cast<int>(mw);
      ih = std::max<int>(row, static_cast<int>(mh));
    } else if (IsSeparator(it)) {
      iw = 6;
    } else {
      iw = TextSize(dc, SplitTab(it.text).first, false).cx + 12;
    }
    if (x > left && (x + iw > (y == top ? firstRowRight : right) || IsBreak(it))) {
      x = left;
      y += row;
    }
    it.rect = RECT{x, y, x + iw, y + ih};
    x += iw;
  }
  ReleaseDC(nullptr, dc);
  return y - top + row;
}

// Painting ------------------------------------------------------------------------

void DrawArrowOrCheck(HDC dc, RECT r, UINT kind, COLORREF color) {
  // A small glyph in the item's colour: check, bullet or right arrow.
  HBRUSH b = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(dc, b);
  HPEN p = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldPen = SelectObject(dc, p);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  if (kind == DFCS_MENUARROW) {
    POINT pts[3] = {{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}};
    Polygon(dc, pts, 3);
  } else if (kind == DFCS_MENUBULLET) {
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
  } else {
    for (int d = 0; d < 3; ++d) {
      MoveToEx(dc, cx - 3, cy - 1 + d, nullptr);
      LineTo(dc, cx - 1, cy + 1 + d);
      LineTo(dc, cx + 4, cy - 4 + d);
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(p);
  DeleteObject(b);
}

UINT OwnerDrawState(const Item& it, bool selected) {
  UINT s = 0;
  if (selected) s |= kOdsSelected;
  if (it.state & MFS_GRAYED) s |= kOdsGrayed | kOdsDisabled;
  if (it.state & MFS_CHECKED) s |= kOdsChecked;
  if (it.state & MFS_DEFAULT) s |= kOdsDefault;
  return s;
}




// The bar's height: its rows, or one row for a bar that holds only a
// maximised document's icon and buttons.
int BarHeight(HWND hwnd, Menu* m, int width) {
  bool shown = !m->items.empty() || BarDocument(hwnd);
  return std::max(LayoutBar(hwnd, m, width), shown ? GetSystemMetrics(SM_CYMENU) : 0);
}

void PaintDocumentParts(HWND hwnd, HDC dc, int width) {
  HWND document = BarDocument(hwnd);
  if (!document) return;
  DocumentParts parts = DocumentPartsOf(hwnd, width);
  user::DrawCaptionIcon(dc, document, parts.icon);
  auto style = static_cast<DWORD>(GetWindowLongPtr(document, GWL_STYLE));
  bool noClose = GetClassLongPtr(document, GCL_STYLE) & CS_NOCLOSE;
  struct Button {
    DocumentPart part;
    RECT rect;
    UINT state;
  } buttons[] = {
      {DocumentPart::minimize, parts.minimize, DFCS_CAPTIONMIN | ((style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE)},
      {DocumentPart::restore, parts.restore, DFCS_CAPTIONRESTORE},
      {DocumentPart::close, parts.close, DFCS_CAPTIONCLOSE | (noClose ? DFCS_INACTIVE : 0)},
  };
  for (Button& b : buttons) {
    bool pushed = g_pressedDocumentButton.frame == hwnd && g_pressedDocumentButton.part == b.part;
    DrawFrameControl(dc, &b.rect, DFC_CAPTION, b.state | (pushed ? DFCS_PUSHED : 0));
  }
}

void RepaintBarOf(HWND hwnd) {
  if (!IsWindowVisible(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  PaintBar(hwnd, dc);
  ReleaseDC(hwnd, dc);
}

int BarHeightHook(HWND hwnd, int width) {
  auto found = WindowMenus().find(hwnd);
  if (found == WindowMenus().end()) return 0;
  Menu* m = Find(found->second);
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!m || !w || w->IsChild()) return 0;
  return BarHeight(hwnd, m, width);
}

void PaintBarHook(HWND hwnd, HDC windowDc) { PaintBar(hwnd, windowDc); }

void SystemMenuHook(HWND hwnd, POINT screen);

// A document button follows the mouse while it is held down, as a caption
// button does, and acts when it is released over the button.
void TrackDocumentButton(HWND frame, HWND document, DocumentPart part) {
  bool clicked = false;
  {
    g_pressedDocumentButton = PressedDocumentButton{frame, part};
    ScopeExit released([frame] {
      g_pressedDocumentButton = PressedDocumentButton{};
      if (GetCapture() == frame) ReleaseCapture();
      if (IsWindow(frame)) RepaintBarOf(frame);
    });
    RepaintBarOf(frame);
    SetCapture(frame);
    bool over = true;
    MSG m;
    while (GetCapture() == frame) {
      BOOL got = GetMessage(&m, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) PostQuitMessage(static_cast<int>(m.wParam));
        break;
      }
      if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
        bool now = DocumentPartAt(frame, m.pt) == part;
        if (now != over) {
          over = now;
          g_pressedDocumentButton.part = over ? part : DocumentPart::none;
          RepaintBarOf(frame);
        }
        continue;
      }
      if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP) {
        clicked = DocumentPartAt(frame, m.pt) == part;
        break;
      }
      if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) break;
      TranslateMessage(&m);
      DispatchMessage(&m);
      if (!IsWindow(frame)) return;
    }
  }
  if (!clicked || !IsWindow(document)) return;
  auto style = static_cast<DWORD>(GetWindowLongPtr(document, GWL_STYLE));
  WPARAM command = part == DocumentPart::minimize ? SC_MINIMIZE : part == DocumentPart::restore ? SC_RESTORE : SC_CLOSE;
  bool enabled = part == DocumentPart::restore || (part == DocumentPart::minimize && (style & WS_MINIMIZEBOX)) ||
                 (part == DocumentPart::close && !(GetClassLongPtr(document, GCL_STYLE) & CS_NOCLOSE));
  if (enabled) SendMessage(document, WM_SYSCOMMAND, command, 0);
}

void BarPressHook(HWND hwnd, POINT screen) {
  if (HWND document = BarDocument(hwnd)) {
    DocumentPart part = DocumentPartAt(hwnd, screen);
    if (part == DocumentPart::icon) {
      // The document's system menu drops from its icon.
      RECT wr;
      GetWindowRect(hwnd, &wr);
      RECT icon = DocumentPartsOf(hwnd, wr.right - wr.left).icon;
      SystemMenuHook(document, POINT{wr.left + icon.left, wr.top + icon.bottom});
      return;
    }
    if (part != DocumentPart::none) {
      TrackDocumentButton(hwnd, document, part);
      return;
    }
  }
  HMENU h = GetMenu(hwnd);
  int index = MenuItemFromPoint(hwnd, h, screen);
  if (index >= 0) TrackMenuBar(hwnd, index, false);
}

void BarKeyHook(HWND hwnd, WPARAM ch) {
  HMENU h = GetMenu(hwnd);
  Menu* m = Find(h);
  if (!m || m->items.empty()) return;
  if (ch == 0) {
    TrackMenuBar(hwnd, -1, true);
    return;
  }
  int c = std::tolower(static_cast<int>(ch & 0xFF));
  for (size_t i = 0; i < m->items.size(); ++i)
    if (Mnemonic(m->items[i].text) == c) {
      TrackMenuBar(hwnd, static_cast<int>(i), true);
      return;
    }
}

// The system menus made for windows, until the window goes or its menu is
// reverted.
std::unordered_map<HWND, HMENU>& SystemMenus() {
  static std::unordered_map<HWND, HMENU> menus;
  return menus;
}

void WindowGoing(HWND hwnd) {
  WindowMenus().erase(hwnd);
  BarDocuments().erase(hwnd);
  // A maximised document going leaves its frame's bar.
  for (auto it = BarDocuments().begin(); it != BarDocuments().end();) {
    if (it->second == hwnd) {
      HWND frame = it->first;
      it = BarDocuments().erase(it);
      if (IsWindow(frame)) DrawMenuBar(frame);
    } else {
      ++it;
    }
  }
  // The system menus of the window and of its children go with it.
  for (auto it = SystemMenus().begin(); it != SystemMenus().end();) {
    if (it->first == hwnd || IsChild(hwnd, it->first)) {
      DestroyMenu(it->second);
      it = SystemMenus().erase(it);
    } else {
      ++it;
    }
  }
}

HMENU MakeSystemMenu(HWND hwnd) {
  HMENU m = CreatePopupMenu();
  // A child window with a caption is a document inside a frame: Ctrl+F4
  // closes it and Ctrl+F6 goes to the next.
  bool child = GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD;
  AppendMenu(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(m, MF_SEPARATOR, 0, nullptr);
  AppendMenu(m, MF_STRING, SC_CLOSE, child ? "&Close\tCtrl+F4" : "&Close\tAlt+F4");
  if (child) {
    AppendMenu(m, MF_SEPARATOR, 0, nullptr);
    AppendMenu(m, MF_STRING, SC_NEXTWINDOW, "Nex&t\tCtrl+F6");
  }
  SetMenuDefaultItem(m, SC_CLOSE, FALSE);
  return m;
}

// What the window's state allows now.
void UpdateSystemMenu(HWND hwnd, HMENU m) {
  auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
  bool max = style & WS_MAXIMIZE, min = style & WS_MINIMIZE;
  auto enable = [&](UINT id, bool on) { EnableMenuItem(m, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_RESTORE, max || min);
  enable(SC_MOVE, !max);
  enable(SC_SIZE, (style & WS_THICKFRAME) && !max && !min);
  enable(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !min);
  enable(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !max);
  enable(SC_CLOSE, !(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE));
}

void SystemMenuHook(HWND hwnd, POINT screen) {
  if (Tracking()) return;
  HMENU m = GetSystemMenu(hwnd, FALSE);
  UpdateSystemMenu(hwnd, m);
  UINT chosen = static_cast<UINT>(TrackPopupMenuEx(m, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x,
                                                   screen.y, hwnd, nullptr));
  if (chosen && IsWindow(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, chosen, 0);
}

// Alt alone: watched on every input message the thread takes, because a
// chord's other key or click may never reach DefWindowProc.
struct AltWatch {
  HHOOK hook = nullptr;
  bool alone = false;          // Alt is down and nothing else went down since
  bool releasedAlone = false;  // the message just taken is such an Alt's release
};
thread_local AltWatch t_alt;

LRESULT WatchAlt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && lParam) {
    const MSG& m = *reinterpret_cast<const MSG*>(lParam);
    t_alt.releasedAlone = false;
    bool alt = m.wParam == VK_MENU;
    switch (m.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        // Alt inside the menu loop closes the menu; its release opens nothing.
        if (!alt)
          t_alt.alone = false;
        else if (!(static_cast<uint64_t>(m.lParam) & (1u << 30)))
          t_alt.alone = !Tracking();
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (alt) {
          t_alt.releasedAlone = t_alt.alone && !Tracking();
          t_alt.alone = false;
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
      case WM_MOUSEWHEEL: t_alt.alone = false; break;
      default: break;
    }
  }
  return CallNextHookEx(t_alt.hook, code, wParam, lParam);
}

void WatchAltOnThisThread() {
  if (!t_alt.hook) t_alt.hook = SetWindowsHookEx(WH_GETMESSAGE, &WatchAlt, nullptr, 0);
}

bool AltReleasedAlone() {
  bool alone = t_alt.releasedAlone;
  t_alt.releasedAlone = false;
  return alone;
}

}  // namespace

Menu* menu::Find(HMENU h) {
  auto it = Menus().find(h);
  return it == Menus().end() ? nullptr : it->second.get();
}

// The column of each item of a drop-down.
std::vector<int> menu::ColumnsOf(const Menu* m) {
  std::vector<int> columns(m->items.size(), 0);
  for (size_t i = 1; i < m->items.size(); ++i) columns[i] = columns[i - 1] + (IsBreak(m->items[i]) ? 1 : 0);
  return columns;
}

// The character after a single "&", lower case, or 0.
int menu::Mnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::tolower(static_cast<unsigned char>(text[i + 1]));
  }
  return 0;
}

// Lays the items of a drop-down out top to bottom, in a new column at each
// break; gives the size of all the items.
SIZE menu::LayoutPopup(Menu* m, HWND owner) {
  struct Column {
    size_t first = 0;
    bool rule = false;
    int textW = 0, keyW = 0, ownerW = 0;
  };
  HDC dc = GetDC(nullptr);
  int check = GetSystemMetrics(SM_CXMENUCHECK);
  std::vector<Column> columns;
  std::vector<int> heights;
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item& it = m->items[i];
    if (columns.empty() || IsBreak(it)) {
      Column c;
      c.first = i;
      c.rule = !columns.empty() && (it.type & MFT_MENUBARBREAK);
      columns.push_back(c);
    }
    Column& c = columns.back();
    int h = 0;
    if (it.type & MFT_OWNERDRAW) {
      UINT w = 0, hh = 0;
      SendMeasure(owner, it, &w, &hh);
      c.ownerW = std::max<int>(c.ownerW, static_cast<int>(w));
      h = static_cast<int>(hh);
    } else if (IsSeparator(it)) {
      h = GetSystemMetrics(SM_CYMENU) / 2;
    } else {
      auto [label, key] = SplitTab(it.text);
      SIZE size = TextSize(dc, label, it.state & MFS_DEFAULT);
      c.textW = std::max<int>(c.textW, size.cx);
      if (!key.empty()) c.keyW = std::max<int>(c.keyW, TextSize(dc, key, false).cx);
      h = std::max<int>(GetSystemMetrics(SM_CYMENU) - 1, size.cy + 4);
    }
    heights.push_back(h);
  }
  ReleaseDC(nullptr, dc);
  int x = 0, height = 0;
  for (size_t k = 0; k < columns.size(); ++k) {
    const Column& c = columns[k];
    if (c.rule) x += kColumnRule;
    int width = std::max(check + 4 + c.textW + (c.keyW ? 16 + c.keyW : 0) + check + 4, c.ownerW + check);
    width = std::max(width, 40);
    size_t end = k + 1 < columns.size() ? columns[k + 1].first : m->items.size();
    int y = 0;
    for (size_t i = c.first; i < end; ++i) {
      m->items[i].rect = RECT{x, y, x + width, y + heights[i]};
      y += heights[i];
    }
    height = std::max(height, y);
    x += width;
  }
  return SIZE{std::max(x, 40), std::max(height, 4)};
}

void menu::DrawItem(HDC dc, HMENU h, const Item& it, const RECT& r, bool selected, bool bar, HWND owner) {
  if (it.type & MFT_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_MENU;
    dis.itemID = it.id;
    dis.itemAction = kOdaDrawEntire;
    dis.itemState = OwnerDrawState(it, selected);
    dis.hwndItem = reinterpret_cast<HWND>(h);
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = it.data;
    int saved = SaveDC(dc);
    if (owner) SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    RestoreDC(dc, saved);
    return;
  }
  bool grayed = IsDisabled(it);
  FillRect(dc, &r, GetSysColorBrush(selected && !bar ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsSeparator(it)) {
    if (!bar) {
      RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return;
  }
  if (selected && bar) {
    RECT e = r;
    DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
  }
  COLORREF color = grayed ? GetSysColor(COLOR_GRAYTEXT)
                          : GetSysColor(selected && !bar ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  int check = GetSystemMetrics(SM_CXMENUCHECK);
  if (!bar && (it.state & MFS_CHECKED))
    DrawArrowOrCheck(dc, RECT{r.left, r.top, r.left + check + 4, r.bottom},
                     (it.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK, color);
  if (!bar && it.sub) DrawArrowOrCheck(dc, RECT{r.right - check - 2, r.top, r.right, r.bottom}, DFCS_MENUARROW, color);
  HFONT font = MenuFont(it.state & MFS_DEFAULT);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  auto [label, key] = SplitTab(it.text);
  RECT tr = r;
  // A grayed item on the menu's own colour is embossed; on the selection
  // bar it stays plain gray.
  auto text = grayed && !(selected && !bar) ? &DrawDisabledText
                                  : static_cast<int (*)(HDC, const char*, int, RECT*, UINT)>(&DrawText);
  if (bar) {
    text(dc, label.c_str(), static_cast<int>(label.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  } else {
    tr.left += check + 4;
    tr.right -= check + 4;
    text(dc, label.c_str(), static_cast<int>(label.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!key.empty())
      text(dc, key.c_str(), static_cast<int>(key.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

void menu::PaintBar(HWND hwnd, HDC dc) {
  auto found = WindowMenus().find(hwnd);
  if (found == WindowMenus().end()) return;
  Menu* m = Find(found->second);
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!m || !w) return;
  int width = w->rect.right - w->rect.left;
  int height = BarHeight(hwnd, m, width);
  RECT bar = BarRect(hwnd, height);
  FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
  int sel = ItemHighlighted(found->second);
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item item = m->items[i];
    DrawItem(dc, found->second, item, item.rect, static_cast<int>(i) == sel, true, hwnd);
  }
  PaintDocumentParts(hwnd, dc, width);
}

void InstallMenuWindows() {
  WNDCLASSEX wc;
  wc.style = CS_SAVEBITS | CS_DROPSHADOW;
  wc.lpfnWndProc = MenuWindowProc;
  wc.lpszClassName = kMenuWindowClass;
  RegisterClassEx(&wc);
  wnd::Extensions& e = wnd::LayerExtensions();
  e.menuBarHeight = BarHeightHook;
  e.paintMenuBar = PaintBarHook;
  e.menuBarPress = BarPressHook;
  e.menuBarKey = BarKeyHook;
  e.menuWindowGoing = WindowGoing;
  e.menuAltReleasedAlone = AltReleasedAlone;
  e.systemMenu = SystemMenuHook;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  auto it = SystemMenus().find(hwnd);
  if (revert) {
    if (it != SystemMenus().end()) {
      DestroyMenu(it->second);
      SystemMenus().erase(it);
    }
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  if (it == SystemMenus().end()) it = SystemMenus().emplace(hwnd, MakeSystemMenu(hwnd)).first;
  return it->second;
}

// The menu table -------------------------------------------------------------------------

HMENU CreateMenu() { return NewMenu(true); }
HMENU CreatePopupMenu() { return NewMenu(false); }

BOOL DestroyMenu(HMENU h) {
  auto it = Menus().find(h);
  if (it == Menus().end()) return FALSE;
  std::unique_ptr<Menu> m = std::move(it->second);
  Menus().erase(it);
  for (Item& item : m->items)
    if (item.sub) DestroyMenu(item.sub);
  for (auto w = WindowMenus().begin(); w != WindowMenus().end();)
    w = w->second == h ? WindowMenus().erase(w) : std::next(w);
  return TRUE;
}

BOOL IsMenu(HMENU h) { return Find(h) != nullptr; }

BOOL AppendMenu(HMENU h, UINT flags, UINT_PTR idNewItem, const char* text) {
  Menu* m = Find(h);
  if (!m) return FALSE;
  m->items.push_back(ItemFromFlags(flags, idNewItem, text));
  return TRUE;
}

BOOL InsertMenu(HMENU h, UINT position, UINT flags, UINT_PTR idNewItem, const char* text) {
  Menu* m = Find(h);
  if (!m) return FALSE;
  Menu* holder = m;
  size_t at = m->items.size();
  if (flags & MF_BYPOSITION) {
    if (position != 0xFFFFFFFF) at = std::min<size_t>(position, m->items.size());
  } else if (Item* it = Locate(h, position, false, &holder)) {
    at = static_cast<size_t>(it - holder->items.data());
  }
  holder->items.insert(holder->items.begin() + static_cast<long>(at),
                       ItemFromFlags(flags & ~MF_BYPOSITION, idNewItem, text));
  return TRUE;
}

BOOL ModifyMenu(HMENU h, UINT position, UINT flags, UINT_PTR idNewItem, const char* text) {
  Item* it = Locate(h, position, flags & MF_BYPOSITION);
  if (!it) return FALSE;
  HMENU oldSub = it->sub;
  *it = ItemFromFlags(flags & ~MF_BYPOSITION, idNewItem, text);
  if (oldSub && oldSub != it->sub) DestroyMenu(oldSub);
  return TRUE;
}

BOOL InsertMenuItem(HMENU h, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  Menu* m = Find(h);
  if (!m || !info) return FALSE;
  Menu* holder = m;
  size_t at = m->items.size();
  if (byPosition) {
    if (item != 0xFFFFFFFF) at = std::min<size_t>(item, m->items.size());
  } else if (Item* found = Locate(h, item, false, &holder)) {
    at = static_cast<size_t>(found - holder->items.data());
  }
  holder->items.insert(holder->items.begin() + static_cast<long>(at), Item{});
  UINT pos = static_cast<UINT>(at);
  // Set through the holder by position: the insert may have moved the items.
  for (auto& [handle, menu] : Menus())
    if (menu.get() == holder) return SetMenuItemInfo(handle, pos, TRUE, info);
  return FALSE;
}

BOOL GetMenuItemInfo(HMENU h, UINT item, BOOL byPosition, MENUITEMINFO* info) {
  Item* it = Locate(h, item, byPosition);
  if (!it || !info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it->type;
  if (info->fMask & MIIM_STATE) info->fState = it->state;
  if (info->fMask & MIIM_ID) info->wID = it->sub ? static_cast<UINT>(reinterpret_cast<uintptr_t>(it->sub)) : it->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it->sub;
  if (info->fMask & MIIM_DATA) info->dwItemData = it->data;
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = it->bitmap;
  if (info->fMask & (MIIM_STRING | MIIM_TYPE)) {
    if (info->dwTypeData && info->cch > 0) {
      size_t n = std::min<size_t>(it->text.size(), info->cch - 1);
      std::memcpy(info->dwTypeData, it->text.data(), n);
      info->dwTypeData[n] = '\0';
    }
    info->cch = static_cast<UINT>(it->text.size());
  }
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU h, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  Item* it = Locate(h, item, byPosition);
  if (!it || !info) return FALSE;
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) it->type = info->fType;
  if (info->fMask & MIIM_STATE) it->state = info->fState;
  if (info->fMask & MIIM_ID) it->id = info->wID;
  if (info->fMask & MIIM_SUBMENU) it->sub = info->hSubMenu;
  if (info->fMask & MIIM_DATA) it->data = info->dwItemData;
  if (info->fMask & MIIM_BITMAP) it->bitmap = info->hbmpItem;
  if ((info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_OWNERDRAW | MFT_SEPARATOR))))
    it->text = info->dwTypeData ? info->dwTypeData : "";
  return TRUE;
}

BOOL RemoveMenu(HMENU h, UINT position, UINT flags) {
  Menu* holder = nullptr;
  Item* it = Locate(h, position, flags & MF_BYPOSITION, &holder);
  if (!it) return FALSE;
  holder->items.erase(holder->items.begin() + (it - holder->items.data()));
  return TRUE;
}

BOOL DeleteMenu(HMENU h, UINT position, UINT flags) {
  Item* it = Locate(h, position, flags & MF_BYPOSITION);
  if (!it) return FALSE;
  HMENU sub = it->sub;
  RemoveMenu(h, position, flags);
  if (sub) DestroyMenu(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU h) {
  Menu* m = Find(h);
  if (!m) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return static_cast<int>(m->items.size());
}

UINT GetMenuItemID(HMENU h, int position) {
  Menu* m = Find(h);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return 0xFFFFFFFF;
  return m->items[position].sub ? 0xFFFFFFFF : m->items[position].id;
}

HMENU GetSubMenu(HMENU h, int position) {
  Menu* m = Find(h);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return nullptr;
  return m->items[position].sub;
}

UINT GetMenuState(HMENU h, UINT id, UINT flags) {
  Item* it = Locate(h, id, flags & MF_BYPOSITION);
  if (!it) return 0xFFFFFFFF;
  UINT s = it->state | it->type;
  if (it->sub)
    if (Menu* sm = Find(it->sub)) s = (s & 0xFF) | (static_cast<UINT>(sm->items.size()) << 8) | MF_POPUP;
  return s;
}

int GetMenuString(HMENU h, UINT id, char* buffer, int maxCount, UINT flags) {
  Item* it = Locate(h, id, flags & MF_BYPOSITION);
  if (!it) return 0;
  if (!buffer || maxCount <= 0) return static_cast<int>(it->text.size());
  int n = std::min<int>(static_cast<int>(it->text.size()), maxCount - 1);
  std::memcpy(buffer, it->text.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

namespace {

// Sets one state bit of an item as flags say; gives the bit as it was, or
// 0xFFFFFFFF when there is no such item.
UINT SwapItemStateBit(HMENU h, UINT id, UINT flags, UINT bit) {
  Item* it = Locate(h, id, flags & MF_BYPOSITION);
  if (!it) return 0xFFFFFFFF;
  UINT old = it->state & bit;
  it->state = (it->state & ~bit) | (flags & bit);
  return old;
}

}  // namespace

UINT EnableMenuItem(HMENU h, UINT id, UINT enable) {
  return SwapItemStateBit(h, id, enable, MFS_GRAYED);
}

DWORD CheckMenuItem(HMENU h, UINT id, UINT check) {
  return SwapItemStateBit(h, id, check, MFS_CHECKED);
}

BOOL CheckMenuRadioItem(HMENU h, UINT first, UINT last, UINT check, UINT flags) {
  bool byPos = flags & MF_BYPOSITION;
  Menu* holder = nullptr;
  Item* a = Locate(h, first, byPos, &holder);
  Menu* holder2 = nullptr;
  Item* b = Locate(h, last, byPos, &holder2);
  if (!a || !b || holder != holder2) return FALSE;
  bool found = false;
  for (Item* it = a; it <= b; ++it) {
    bool on = byPos ? static_cast<UINT>(it - holder->items.data()) == check : it->id == check;
    it->state = (it->state & ~MFS_CHECKED) | (on ? MFS_CHECKED : 0);
    if (on) {
      it->type |= MFT_RADIOCHECK;
      found = true;
    }
  }
  return found;
}

BOOL SetMenuDefaultItem(HMENU h, UINT item, UINT byPosition) {
  Menu* m = Find(h);
  if (!m) return FALSE;
  for (Item& it : m->items) it.state &= ~MFS_DEFAULT;
  if (item == 0xFFFFFFFF) return TRUE;
  Item* it = Locate(h, item, byPosition);
  if (!it) return FALSE;
  it->state |= MFS_DEFAULT;
  return TRUE;
}

// The bar -----------------------------------------------------------------------------

BOOL SetMenu(HWND hwnd, HMENU h) {
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w || w->IsChild()) return FALSE;
  if (h && !Find(h)) return FALSE;
  if (h) WatchAltOnThisThread();
  if (h)
    WindowMenus()[hwnd] = h;
  else
    WindowMenus().erase(hwnd);
  if (Menu* m = Find(h)) m->window = hwnd;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  auto it = WindowMenus().find(hwnd);
  return it == WindowMenus().end() ? nullptr : it->second;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (GetMenu(hwnd) && IsWindowVisible(hwnd)) {
    HDC dc = GetWindowDC(hwnd);
    PaintBar(hwnd, dc);
    ReleaseDC(hwnd, dc);
  }
  return TRUE;
}

BOOL SetMenuBarDocument(HWND frame, HWND document) {
  if (!IsWindow(frame) || (document && !IsWindow(document))) return FALSE;
  if (BarDocument(frame) == document) return TRUE;
  if (document)
    BarDocuments()[frame] = document;
  else
    BarDocuments().erase(frame);
  DrawMenuBar(frame);
  return TRUE;
}

HWND GetMenuBarDocument(HWND frame) { return BarDocument(frame); }

BOOL GetMenuItemRect(HWND hwnd, HMENU h, UINT item, RECT* rect) {
  Menu* m = Find(h);
  if (!m || !rect || item >= m->items.size()) return FALSE;
  if (hwnd && GetMenu(hwnd) == h) {
    wnd::Window* w = wnd::Lookup(hwnd);
    if (!w) return FALSE;
    LayoutBar(hwnd, m, w->rect.right - w->rect.left);
    RECT wr;
    GetWindowRect(hwnd, &wr);
    *rect = m->items[item].rect;
    OffsetRect(rect, wr.left, wr.top);
    return TRUE;
  }
  for (auto& [wndHandle, open] : MenuOfWindow()) {
    if (open.menu != h) continue;
    *rect = Shown(open, m->items[item].rect);
    POINT o{0, 0};
    ClientToScreen(wndHandle, &o);
    OffsetRect(rect, o.x, o.y);
    return TRUE;
  }
  return FALSE;
}

int MenuItemFromPoint(HWND hwnd, HMENU h, POINT point) {
  Menu* m = Find(h);
  if (!m) return -1;
  // On the scroll arrows of an open menu there is no item, even where one is
  // scrolled under them.
  if (!hwnd || GetMenu(hwnd) != h)
    for (auto& [wndHandle, open] : MenuOfWindow()) {
      if (open.menu != h || !open.arrow) continue;
      POINT c = point;
      ScreenToClient(wndHandle, &c);
      if (c.y < open.arrow || c.y >= open.arrow + open.view) return -1;
      break;
    }
  for (size_t i = 0; i < m->items.size(); ++i) {
    RECT r;
    if (GetMenuItemRect(hwnd, h, static_cast<UINT>(i), &r) && PtInRect(&r, point)) return static_cast<int>(i);
  }
  return -1;
}


}  // namespace win
