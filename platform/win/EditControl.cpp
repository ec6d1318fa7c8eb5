#include "platform/win/EditControl.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/ChildNotify.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/UserPrivate.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {
namespace {

constexpr size_t kDefaultLimit = 30000;
constexpr size_t kNoLimit = 0x7FFFFFFE;

// UTF-8 <-> code points ------------------------------------------------------------------

std::u32string Decode(const char* s) {
  std::u32string out;
  if (!s) return out;
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p) {
    unsigned char c = *p;
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) {  // a stray byte stands for itself rather than being lost
      out.push_back(0xFFFD);
      ++p;
      continue;
    }
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    int i = 1;
    for (; i <= extra && (p[i] & 0xC0) == 0x80; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    if (i <= extra) cp = 0xFFFD;
    out.push_back(cp);
    p += i;
  }
  return out;
}

// A code point without a UTF-8 form (a surrogate, past U+10FFFF) reads back as U+FFFD.
std::string Encode(const std::u32string& s, size_t from = 0, size_t to = std::u32string::npos) {
  std::string out;
  to = std::min(to, s.size());
  for (size_t i = from; i < to; ++i) out += Utf8Encode(s[i]);
  return out;
}

bool IsWordChar(char32_t c) { return !(c == ' ' || c == '\t' || c == '\r' || c == '\n'); }

// The state of one edit window ------------------------------------------------------------

struct Line {
  size_t start = 0;  // first character
  size_t end = 0;    // after the last shown character (before a line break)
  size_t next = 0;   // where the next line starts
};

struct Edit {
  HWND hwnd = nullptr;
  std::u32string text;
  size_t anchor = 0;
  size_t caret = 0;
  size_t limit = kDefaultLimit;
  char32_t passwordChar = 0;
  bool modified = false;
  bool canUndo = false;
  std::u32string undoText;
  size_t undoAnchor = 0, undoCaret = 0;
  HFONT font = nullptr;
  int lineHeight = 16;
  int aveCharWidth = 7;
  int leftMargin = 1, rightMargin = 1;
  bool customRect = false;
  RECT formatRect;
  int xOffset = 0;  // pixels scrolled to the left
  size_t topLine = 0;
  int desiredX = -1;  // kept while moving up and down
  bool focused = false;
  bool mouseSelecting = false;
  std::vector<Line> lines;

  DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }
  bool Multi() const { return Style() & ES_MULTILINE; }
  bool ReadOnly() const { return Style() & ES_READONLY; }
  bool Wraps() const { return Multi() && !(Style() & (ES_AUTOHSCROLL | WS_HSCROLL)); }
  size_t SelStart() const { return std::min(anchor, caret); }
  size_t SelEnd() const { return std::max(anchor, caret); }
  int FormatWidth() const { return std::max<int>(0, formatRect.right - formatRect.left); }
  size_t VisibleLines() const {
    return std::max<size_t>(1, static_cast<size_t>(std::max<int>(0, formatRect.bottom - formatRect.top)) /
                                   static_cast<size_t>(std::max(1, lineHeight)));
  }
};

std::map<HWND, std::shared_ptr<Edit>>& Edits() {
  static std::map<HWND, std::shared_ptr<Edit>> edits;
  return edits;
}

std::shared_ptr<Edit> Find(HWND hwnd) {
  auto it = Edits().find(hwnd);
  return it == Edits().end() ? nullptr : it->second;
}

// Measuring ------------------------------------------------------------------------------

class MeasureDc {
 public:
  explicit MeasureDc(const Edit& e) : dc_(CreateCompatibleDC(nullptr)) {
    if (e.font) old_ = SelectObject(dc_, e.font);
  }
  ~MeasureDc() {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// What the window shows for text[from, to): the characters, or the password
// character once per character.
std::string Shown(const Edit& e, size_t from, size_t to) {
  if (!e.passwordChar) return Encode(e.text, from, to);
  const std::string one = Utf8Encode(e.passwordChar);
  std::string out;
  for (size_t i = from; i < to; ++i) out += one;
  return out;
}

// widths[k]: pixels of the first k characters of text[from, to).
std::vector<int> PrefixWidths(const Edit& e, HDC dc, size_t from, size_t to) {
  std::vector<int> widths(to - from + 1, 0);
  if (to <= from) return widths;
  std::string shown = Shown(e, from, to);
  std::vector<INT> dx(shown.size() + 1, 0);
  INT fit = 0;
  SIZE size;
  GetTextExtentExPoint(dc, shown.c_str(), static_cast<int>(shown.size()), INT_MAX, &fit, dx.data(), &size);
  size_t k = 0;
  for (size_t b = 0; b < shown.size(); ++b) {
    bool lastByte = b + 1 == shown.size() || (static_cast<unsigned char>(shown[b + 1]) & 0xC0) != 0x80;
    if (lastByte) widths[++k] = dx[b];
  }
  return widths;
}

void UpdateMetrics(Edit& e) {
  MeasureDc dc(e);
  TEXTMETRIC tm;
  if (GetTextMetrics(dc.get(), &tm)) {
    e.lineHeight = std::max<int>(1, tm.tmHeight);
    e.aveCharWidth = std::max<int>(1, tm.tmAveCharWidth);
  }
}

void UpdateFormatRect(Edit& e) {
  if (e.customRect) return;
  RECT rc;
  GetClientRect(e.hwnd, &rc);
  e.formatRect = RECT{rc.left + e.leftMargin, rc.top, std::max(rc.left + e.leftMargin, rc.right - e.rightMargin),
                      rc.bottom};
}

// Breaks the text into lines: paragraphs at line breaks, and with word wrap
// each paragraph at the last space that fits (mid-word when none does).
void Relayout(Edit& e) {
  e.lines.clear();
  const size_t n = e.text.size();
  if (!e.Multi()) {
    e.lines.push_back(Line{0, n, n});
    return;
  }
  MeasureDc dc(e);
  const bool wraps = e.Wraps();
  const int width = std::max(1, e.FormatWidth());
  size_t p = 0;
  while (true) {
    size_t brk = e.text.find(U'\n', p);
    size_t paraEnd = brk == std::u32string::npos ? n : brk;
    size_t shownEnd = paraEnd > p && e.text[paraEnd - 1] == U'\r' ? paraEnd - 1 : paraEnd;
    size_t next = brk == std::u32string::npos ? n : brk + 1;
    if (!wraps || shownEnd == p) {
      e.lines.push_back(Line{p, shownEnd, next});
    } else {
      std::vector<int> w = PrefixWidths(e, dc.get(), p, shownEnd);
      size_t s = p;
      while (true) {
        size_t k = s;
        while (k < shownEnd && w[k + 1 - p] - w[s - p] <= width) ++k;
        if (k == shownEnd) {
          e.lines.push_back(Line{s, shownEnd, next});
          break;
        }
        size_t cut = k;
        while (cut > s && e.text[cut - 1] != U' ') --cut;
        if (cut == s) cut = std::max(k, s + 1);
        e.lines.push_back(Line{s, cut, cut});
        s = cut;
      }
    }
    if (brk == std::u32string::npos) break;
    p = next;
  }
}

size_t LineOf(const Edit& e, size_t index) {
  size_t line = 0;
  for (size_t i = 0; i < e.lines.size(); ++i)
    if (e.lines[i].start <= index) line = i;
  return line;
}

int AlignOffset(const Edit& e, int lineWidth) {
  int room = e.FormatWidth() - lineWidth;
  if (room <= 0) return 0;
  DWORD align = e.Style() & (ES_CENTER | ES_RIGHT);
  if (align == ES_RIGHT) return room - 1;  // the caret still shows after the last character
  if (align == ES_CENTER) return room / 2;
  return 0;
}

POINT PosFromChar(const Edit& e, size_t index) {
  index = std::min(index, e.text.size());
  size_t l = LineOf(e, index);
  const Line& line = e.lines[l];
  MeasureDc dc(e);
  std::vector<int> w = PrefixWidths(e, dc.get(), line.start, line.end);
  size_t k = std::min(index, line.end) - line.start;
  int x = e.formatRect.left + AlignOffset(e, w.back()) + w[k] - e.xOffset;
  int y = e.formatRect.top + (static_cast<int>(l) - static_cast<int>(e.topLine)) * e.lineHeight;
  return POINT{x, y};
}

size_t CharInLineAtX(const Edit& e, HDC dc, size_t l, int x) {
  const Line& line = e.lines[l];
  std::vector<int> w = PrefixWidths(e, dc, line.start, line.end);
  int rel = x - e.formatRect.left - AlignOffset(e, w.back()) + e.xOffset;
  size_t k = 0;
  // The nearer edge of the character under the point.
  while (k < line.end - line.start && rel > (w[k] + w[k + 1]) / 2) ++k;
  return line.start + k;
}

size_t CharFromPos(const Edit& e, POINT pt) {
  int row = (pt.y - e.formatRect.top) / std::max(1, e.lineHeight);
  if (pt.y < e.formatRect.top) row = -1;
  long l = static_cast<long>(e.topLine) + row;
  l = std::clamp<long>(l, 0, static_cast<long>(e.lines.size()) - 1);
  MeasureDc dc(e);
  return CharInLineAtX(e, dc.get(), static_cast<size_t>(l), pt.x);
}

// Notifications and drawing -----------------------------------------------------------------

void Notify(HWND hwnd, WORD code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  auto id = static_cast<WORD>(GetWindowLongPtr(hwnd, GWLP_ID));
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

void PlaceCaret(Edit& e) {
  if (!e.focused) return;
  POINT p = PosFromChar(e, e.caret);
  SetCaretPos(p.x, p.y);
}

// Brings the caret into view; gives the EN_HSCROLL / EN_VSCROLL codes the
// move needs (0 when none).
std::vector<WORD> ScrollCaret(Edit& e) {
  std::vector<WORD> codes;
  const int width = e.FormatWidth();
  size_t l = LineOf(e, e.caret);
  if (!e.Wraps()) {
    MeasureDc dc(e);
    int widest = 0;
    for (const Line& line : e.lines) widest = std::max(widest, PrefixWidths(e, dc.get(), line.start, line.end).back());
    const Line& line = e.lines[l];
    std::vector<int> w = PrefixWidths(e, dc.get(), line.start, line.end);
    int px = AlignOffset(e, w.back()) + w[std::min(e.caret, line.end) - line.start];
    int x = e.xOffset;
    // Jumps by a third of the width, so typing does not scroll at every key.
    if (px < x) x = std::max(0, px - width / 3);
    if (px > x + width - 1) x = px - width + 1 + width / 3;
    x = std::clamp(x, 0, std::max(0, std::max(widest + 1 - width, px - width + 1)));
    if (x != e.xOffset) {
      e.xOffset = x;
      codes.push_back(EN_HSCROLL);
    }
  } else if (e.xOffset != 0) {
    e.xOffset = 0;
    codes.push_back(EN_HSCROLL);
  }
  if (e.Multi()) {
    size_t top = e.topLine;
    size_t visible = e.VisibleLines();
    if (l < top) top = l;
    if (l >= top + visible) top = l + 1 - visible;
    top = std::min(top, e.lines.size() > visible ? e.lines.size() - visible : 0);
    if (top > l) top = l;
    if (top != e.topLine) {
      e.topLine = top;
      codes.push_back(EN_VSCROLL);
    }
  }
  return codes;
}

// Bars the window was made with stay, disabled while there is nothing to
// scroll, as the system's edit keeps them.
void UpdateScrollBars(Edit& e) {
  DWORD style = e.Style();
  if ((style & WS_VSCROLL) && e.Multi()) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMax = static_cast<int>(e.lines.size()) - 1;
    si.nPage = static_cast<UINT>(e.VisibleLines());
    si.nPos = static_cast<int>(e.topLine);
    SetScrollInfo(e.hwnd, SB_VERT, &si, TRUE);
  }
  if (style & WS_HSCROLL) {
    MeasureDc dc(e);
    int widest = 0;
    for (const Line& line : e.lines) widest = std::max(widest, PrefixWidths(e, dc.get(), line.start, line.end).back());
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMax = std::max(widest, e.xOffset + e.FormatWidth() - 1);
    si.nPage = static_cast<UINT>(e.FormatWidth());
    si.nPos = e.xOffset;
    SetScrollInfo(e.hwnd, SB_HORZ, &si, TRUE);
  }
}

void Refresh(Edit& e) {
  InvalidateRect(e.hwnd, nullptr, TRUE);
  PlaceCaret(e);
  UpdateScrollBars(e);
}

void Paint(Edit& e) {
  PaintScope paint(e.hwnd);
  HDC dc = paint.Dc();
  ObjectSelection font(dc, e.font);
  const bool enabled = IsWindowEnabled(e.hwnd);
  const bool staticLook = !enabled || e.ReadOnly();
  SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  SetBkColor(dc, GetSysColor(staticLook ? COLOR_BTNFACE : COLOR_WINDOW));
  HBRUSH brush = nullptr;
  if (HWND parent = GetParent(e.hwnd))
    brush = reinterpret_cast<HBRUSH>(SendMessage(parent, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                 reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(e.hwnd)));
  if (!brush) brush = GetSysColorBrush(staticLook ? COLOR_BTNFACE : COLOR_WINDOW);
  RECT client;
  GetClientRect(e.hwnd, &client);
  FillRect(dc, &client, brush);
  IntersectClipRect(dc, e.formatRect.left, e.formatRect.top, e.formatRect.right, e.formatRect.bottom);
  SetBkMode(dc, TRANSPARENT);
  const bool showSelection = (e.focused || (e.Style() & ES_NOHIDESEL)) && e.anchor != e.caret;
  const size_t selStart = e.SelStart(), selEnd = e.SelEnd();
  const size_t lastVisible = e.Multi() ? e.topLine + e.VisibleLines() + 1 : 1;
  for (size_t l = e.Multi() ? e.topLine : 0; l < e.lines.size() && l < lastVisible; ++l) {
    const Line& line = e.lines[l];
    std::vector<int> w = PrefixWidths(e, dc, line.start, line.end);
    int x0 = e.formatRect.left + AlignOffset(e, w.back()) - e.xOffset;
    int y = e.formatRect.top + (static_cast<int>(l) - static_cast<int>(e.Multi() ? e.topLine : 0)) * e.lineHeight;
    std::string shown = Shown(e, line.start, line.end);
    TextOut(dc, x0, y, shown.c_str(), static_cast<int>(shown.size()));
    if (showSelection && selStart <= line.end && selEnd > line.start) {
      size_t a = std::max(selStart, line.start), b = std::min(selEnd, line.end);
      // A selected line break shows as a little block after the text.
      int extra = selEnd > line.end && line.next > line.end ? e.aveCharWidth / 2 : 0;
      RECT r{x0 + w[a - line.start], y, x0 + w[b - line.start] + extra, y + e.lineHeight};
      COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      std::string part = Shown(e, a, b);
      ExtTextOut(dc, r.left, y, ETO_OPAQUE | ETO_CLIPPED, &r, part.c_str(), static_cast<UINT>(part.size()), nullptr);
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBk);
    }
  }
}

// Changing the text ---------------------------------------------------------------------------

void SyncWindowText(Edit& e) {
  std::string utf8 = Encode(e.text);
  DefWindowProc(e.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(utf8.c_str()));
}

char32_t ApplyCase(const Edit& e, char32_t c) {
  if (e.Style() & ES_UPPERCASE) return static_cast<char32_t>(std::towupper(static_cast<wint_t>(c)));
  if (e.Style() & ES_LOWERCASE) return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
  return c;
}

// Sends what a change needs after the state is settled; the parent may do
// anything in its handler, even destroy the window.
void AfterChange(HWND hwnd, const std::vector<WORD>& codes) {
  for (WORD code : codes) {
    if (!IsWindow(hwnd)) return;
    Notify(hwnd, code);
  }
}

// Replaces the selection. Gives the notifications to send (none when nothing
// changed).
std::vector<WORD> ReplaceSelection(Edit& e, std::u32string insert, bool undoable) {
  for (char32_t& c : insert) c = ApplyCase(e, c);
  if (!e.Multi()) {
    size_t brk = insert.find_first_of(U"\r\n");
    if (brk != std::u32string::npos) insert.resize(brk);
  }
  std::vector<WORD> codes;
  const size_t s = e.SelStart(), t = e.SelEnd();
  const size_t kept = e.text.size() - (t - s);
  const size_t room = e.limit > kept ? e.limit - kept : 0;
  if (insert.size() > room) {
    insert.resize(room);
    // Never keep half of a line break.
    if (!insert.empty() && insert.back() == U'\r') insert.pop_back();
    codes.push_back(EN_MAXTEXT);
  }
  if (insert.empty() && s == t) return codes;
  if (undoable) {
    e.undoText = e.text;
    e.undoAnchor = e.anchor;
    e.undoCaret = e.caret;
    e.canUndo = true;
  }
  e.text.replace(s, t - s, insert);
  e.anchor = e.caret = s + insert.size();
  e.modified = true;
  e.desiredX = -1;
  Relayout(e);
  std::vector<WORD> scroll = ScrollCaret(e);
  SyncWindowText(e);
  Refresh(e);
  codes.push_back(EN_UPDATE);
  codes.push_back(EN_CHANGE);
  codes.insert(codes.end(), scroll.begin(), scroll.end());
  return codes;
}

void SetText(Edit& e, const char* utf8) {
  e.text = Decode(utf8);
  for (char32_t& c : e.text) c = ApplyCase(e, c);
  e.anchor = e.caret = 0;
  e.xOffset = 0;
  e.topLine = 0;
  e.desiredX = -1;
  e.canUndo = false;
  e.modified = false;
  Relayout(e);
  SyncWindowText(e);
  Refresh(e);
}

// Caret steps that never split a "\r\n" pair.
size_t NextChar(const Edit& e, size_t i) {
  if (i >= e.text.size()) return e.text.size();
  if (e.text[i] == U'\r' && i + 1 < e.text.size() && e.text[i + 1] == U'\n') return i + 2;
  return i + 1;
}
size_t PrevChar(const Edit& e, size_t i) {
  if (i == 0) return 0;
  if (i >= 2 && e.text[i - 1] == U'\n' && e.text[i - 2] == U'\r') return i - 2;
  return i - 1;
}
size_t NextWord(const Edit& e, size_t i) {
  size_t n = e.text.size();
  if (i < n && (e.text[i] == U'\r' || e.text[i] == U'\n')) return NextChar(e, i);
  while (i < n && IsWordChar(e.text[i])) ++i;
  while (i < n && (e.text[i] == U' ' || e.text[i] == U'\t')) ++i;
  return i;
}
size_t PrevWord(const Edit& e, size_t i) {
  if (i > 0 && e.text[i - 1] == U'\n') return PrevChar(e, i);
  while (i > 0 && (e.text[i - 1] == U' ' || e.text[i - 1] == U'\t')) --i;
  while (i > 0 && IsWordChar(e.text[i - 1])) --i;
  return i;
}

std::vector<WORD> MoveCaret(Edit& e, size_t to, bool extend) {
  e.caret = std::min(to, e.text.size());
  if (!extend) e.anchor = e.caret;
  std::vector<WORD> codes = ScrollCaret(e);
  Refresh(e);
  return codes;
}

size_t VerticalTarget(Edit& e, long lines) {
  size_t l = LineOf(e, e.caret);
  if (e.desiredX < 0) e.desiredX = PosFromChar(e, e.caret).x + e.xOffset;
  long target = std::clamp<long>(static_cast<long>(l) + lines, 0, static_cast<long>(e.lines.size()) - 1);
  MeasureDc dc(e);
  return CharInLineAtX(e, dc.get(), static_cast<size_t>(target), e.desiredX - e.xOffset);
}

// Scrolls the view by lines (multi-line) and pixels; gives the notifications.
std::vector<WORD> ScrollView(Edit& e, long lines, int pixels) {
  std::vector<WORD> codes;
  if (e.Multi() && lines) {
    long last = static_cast<long>(e.lines.size() > e.VisibleLines() ? e.lines.size() - e.VisibleLines() : 0);
    auto top = static_cast<size_t>(std::clamp<long>(static_cast<long>(e.topLine) + lines, 0, last));
    if (top != e.topLine) {
      e.topLine = top;
      codes.push_back(EN_VSCROLL);
    }
  }
  if (pixels && !e.Wraps()) {
    int x = std::max(0, e.xOffset + pixels);
    if (x != e.xOffset) {
      e.xOffset = x;
      codes.push_back(EN_HSCROLL);
    }
  }
  if (!codes.empty()) Refresh(e);
  return codes;
}

std::vector<WORD> ScrollByCode(Edit& e, WORD code, int pos, bool vertical) {
  long page = static_cast<long>(e.VisibleLines());
  if (vertical) {
    switch (code) {
      case SB_LINEUP: return ScrollView(e, -1, 0);
      case SB_LINEDOWN: return ScrollView(e, 1, 0);
      case SB_PAGEUP: return ScrollView(e, -page, 0);
      case SB_PAGEDOWN: return ScrollView(e, page, 0);
      case SB_TOP: return ScrollView(e, -static_cast<long>(e.topLine), 0);
      case SB_BOTTOM: return ScrollView(e, static_cast<long>(e.lines.size()), 0);
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: return ScrollView(e, static_cast<long>(pos) - static_cast<long>(e.topLine), 0);
      default: return {};
    }
  }
  int step = e.aveCharWidth;
  switch (code) {
    case SB_LINELEFT: return ScrollView(e, 0, -step);
    case SB_LINERIGHT: return ScrollView(e, 0, step);
    case SB_PAGELEFT: return ScrollView(e, 0, -e.FormatWidth());
    case SB_PAGERIGHT: return ScrollView(e, 0, e.FormatWidth());
    case SB_LEFT: return ScrollView(e, 0, -e.xOffset);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollView(e, 0, pos - e.xOffset);
    default: return {};
  }
}

void Copy(Edit& e) {
  // A password never leaves the window.
  if (e.anchor == e.caret || e.passwordChar) return;
  SetClipboardText(e.hwnd, Encode(e.text, e.SelStart(), e.SelEnd()));
}

std::vector<WORD> Paste(Edit& e) {
  if (e.ReadOnly()) return {};
  std::string utf8;
  if (!GetClipboardText(e.hwnd, &utf8)) return {};
  return ReplaceSelection(e, Decode(utf8.c_str()), true);
}

std::vector<WORD> Clear(Edit& e) {
  if (e.ReadOnly() || e.anchor == e.caret) return {};
  return ReplaceSelection(e, U"", true);
}

std::vector<WORD> Undo(Edit& e) {
  if (!e.canUndo || e.ReadOnly()) return {};
  // Undo is one level deep and undoes itself, as the system's edit does.
  std::swap(e.text, e.undoText);
  std::swap(e.anchor, e.undoAnchor);
  std::swap(e.caret, e.undoCaret);
  e.modified = true;
  Relayout(e);
  std::vector<WORD> codes = ScrollCaret(e);
  SyncWindowText(e);
  Refresh(e);
  codes.insert(codes.begin(), {EN_UPDATE, EN_CHANGE});
  return codes;
}

// The clipboard keys become WM_CUT, WM_COPY and WM_PASTE sent to the window
// itself, as the system's edit does, so that whoever subclasses the window
// sees every cut, copy and paste, typed or not. 0: not a clipboard key.
UINT ClipboardCommandOfKey(UINT vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  if (vk == VK_DELETE && shift) return WM_CUT;
  if (vk == VK_INSERT && ctrl) return WM_COPY;
  if (vk == VK_INSERT && shift) return WM_PASTE;
  return 0;
}

UINT ClipboardCommandOfChar(char32_t c) {
  switch (c) {
    case 3: return WM_COPY;
    case 22: return WM_PASTE;
    case 24: return WM_CUT;
    default: return 0;
  }
}

std::vector<WORD> KeyDown(Edit& e, UINT vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool multi = e.Multi();
  const bool hasSel = e.anchor != e.caret;
  if (vk != VK_UP && vk != VK_DOWN && vk != VK_PRIOR && vk != VK_NEXT) e.desiredX = -1;
  // A single-line edit takes up and down as left and right.
  if (!multi && vk == VK_UP) vk = VK_LEFT;
  if (!multi && vk == VK_DOWN) vk = VK_RIGHT;
  switch (vk) {
    case VK_LEFT:
      if (hasSel && !shift && !ctrl) return MoveCaret(e, e.SelStart(), false);
      return MoveCaret(e, ctrl ? PrevWord(e, e.caret) : PrevChar(e, e.caret), shift);
    case VK_RIGHT:
      if (hasSel && !shift && !ctrl) return MoveCaret(e, e.SelEnd(), false);
      return MoveCaret(e, ctrl ? NextWord(e, e.caret) : NextChar(e, e.caret), shift);
    case VK_HOME:
      return MoveCaret(e, ctrl || !multi ? 0 : e.lines[LineOf(e, e.caret)].start, shift);
    case VK_END:
      return MoveCaret(e, ctrl || !multi ? e.text.size() : e.lines[LineOf(e, e.caret)].end, shift);
    case VK_UP: return MoveCaret(e, VerticalTarget(e, -1), shift);
    case VK_DOWN: return MoveCaret(e, VerticalTarget(e, 1), shift);
    case VK_PRIOR:
      if (!multi) return {};
      return MoveCaret(e, VerticalTarget(e, -static_cast<long>(e.VisibleLines())), shift);
    case VK_NEXT:
      if (!multi) return {};
      return MoveCaret(e, VerticalTarget(e, static_cast<long>(e.VisibleLines())), shift);
    case VK_DELETE:
      if (e.ReadOnly()) return {};
      if (!hasSel) {
        if (e.caret >= e.text.size()) return {};
        e.anchor = ctrl ? NextWord(e, e.caret) : NextChar(e, e.caret);
      }
      return ReplaceSelection(e, U"", true);
    default: return {};
  }
}

std::vector<WORD> Char(Edit& e, char32_t c) {
  switch (c) {
    case 26: return Undo(e);
    case 8:
      if (e.ReadOnly()) return {};
      if (e.anchor == e.caret) {
        if (e.caret == 0) return {};
        e.anchor = PrevChar(e, e.caret);
      }
      return ReplaceSelection(e, U"", true);
    case 13:
      // Enter and Escape are silent in a single-line edit.
      if (!e.Multi() || e.ReadOnly()) return {};
      return ReplaceSelection(e, U"\r\n", true);
    case 9:
      if (!e.Multi() || e.ReadOnly()) return {};
      return ReplaceSelection(e, U"\t", true);
    default: break;
  }
  if (c < 0x20 || c == 0x7F || e.ReadOnly()) return {};
  if ((e.Style() & ES_NUMBER) && (c < '0' || c > '9')) return {};
  return ReplaceSelection(e, std::u32string(1, c), true);
}

void SelectWordAt(Edit& e, size_t i) {
  size_t s = i, t = i;
  while (s > 0 && IsWordChar(e.text[s - 1])) --s;
  while (t < e.text.size() && IsWordChar(e.text[t])) ++t;
  e.anchor = s;
  e.caret = t;
}

// The window procedure ---------------------------------------------------------------------

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto e = std::make_shared<Edit>();
    e->hwnd = hwnd;
    Edits()[hwnd] = e;
    if (!DefWindowProc(hwnd, msg, wParam, lParam)) return FALSE;
    auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
    if (static_cast<DWORD>(cs->style) & ES_PASSWORD) e->passwordChar = U'*';
    UpdateMetrics(*e);
    UpdateFormatRect(*e);
    e->text = Decode(GetWindowText(hwnd).c_str());
    for (char32_t& c : e->text) c = ApplyCase(*e, c);
    Relayout(*e);
    SyncWindowText(*e);
    return TRUE;
  }
  std::shared_ptr<Edit> keep = Find(hwnd);
  if (!keep) return DefWindowProc(hwnd, msg, wParam, lParam);
  Edit& e = *keep;
  switch (msg) {
    case WM_NCDESTROY:
      Edits().erase(hwnd);
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      UpdateFormatRect(e);
      Relayout(e);
      e.topLine = std::min(e.topLine, e.lines.size() - 1);
      ScrollCaret(e);
      Refresh(e);
      return 0;
    case WM_STYLECHANGED:
      Relayout(e);
      ScrollCaret(e);
      Refresh(e);
      return 0;
    case WM_ENABLE: Refresh(e); return 0;
    case WM_ERASEBKGND: return 1;  // the paint fills the background itself
    case WM_PAINT: Paint(e); return 0;
    case WM_SETFONT:
      e.font = reinterpret_cast<HFONT>(wParam);
      UpdateMetrics(e);
      Relayout(e);
      ScrollCaret(e);
      if (e.focused) {
        CreateCaret(hwnd, nullptr, 1, e.lineHeight);
        ShowCaret(hwnd);
      }
      if (LOWORD(lParam)) Refresh(e);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(e.font);
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      return e.Multi() ? code | DLGC_WANTALLKEYS : code;
    }
    case WM_SETTEXT:
      SetText(e, reinterpret_cast<const char*>(lParam));
      AfterChange(hwnd, {EN_UPDATE, EN_CHANGE});
      return TRUE;
    case WM_SETFOCUS:
      e.focused = true;
      CreateCaret(hwnd, nullptr, 1, e.lineHeight);
      PlaceCaret(e);
      ShowCaret(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      AfterChange(hwnd, {EN_SETFOCUS});
      return 0;
    case WM_KILLFOCUS:
      e.focused = false;
      e.mouseSelecting = false;
      DestroyCaret();
      InvalidateRect(hwnd, nullptr, TRUE);
      AfterChange(hwnd, {EN_KILLFOCUS});
      return 0;
    case WM_KEYDOWN:
      if (UINT command = ClipboardCommandOfKey(static_cast<UINT>(wParam))) {
        SendMessage(hwnd, command, 0, 0);
        return 0;
      }
      AfterChange(hwnd, KeyDown(e, static_cast<UINT>(wParam)));
      return 0;
    case WM_CHAR:
      if (UINT command = ClipboardCommandOfChar(static_cast<char32_t>(wParam))) {
        SendMessage(hwnd, command, 0, 0);
        return 0;
      }
      AfterChange(hwnd, Char(e, static_cast<char32_t>(wParam)));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      size_t i = CharFromPos(e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      std::vector<WORD> codes;
      if (msg == WM_LBUTTONDBLCLK) {
        SelectWordAt(e, i);
        codes = ScrollCaret(e);
        Refresh(e);
      } else {
        codes = MoveCaret(e, i, (wParam & MK_SHIFT) != 0);
        e.mouseSelecting = true;
        SetCapture(hwnd);
      }
      AfterChange(hwnd, codes);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (e.mouseSelecting && GetCapture() == hwnd)
        AfterChange(hwnd, MoveCaret(e, CharFromPos(e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), true));
      return 0;
    case WM_LBUTTONUP:
      if (e.mouseSelecting) {
        e.mouseSelecting = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED: e.mouseSelecting = false; return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursor(nullptr, IDC_IBEAM));
        return TRUE;
      }
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_CONTEXTMENU: return 0;  // no menu of its own: the program offers its own
    case WM_MOUSEWHEEL:
      if (!e.Multi()) return 0;
      AfterChange(hwnd, ScrollView(e, -3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, 0));
      return 0;
    case WM_VSCROLL: AfterChange(hwnd, ScrollByCode(e, LOWORD(wParam), HIWORD(wParam), true)); return 0;
    case WM_HSCROLL: AfterChange(hwnd, ScrollByCode(e, LOWORD(wParam), HIWORD(wParam), false)); return 0;
    case WM_CUT:
      if (e.ReadOnly()) return 0;
      Copy(e);
      AfterChange(hwnd, Clear(e));
      return 0;
    case WM_COPY: Copy(e); return 0;
    case WM_PASTE: AfterChange(hwnd, Paste(e)); return 0;
    case WM_CLEAR: AfterChange(hwnd, Clear(e)); return 0;
    case WM_UNDO:
    case EM_UNDO: {
      bool could = e.canUndo && !e.ReadOnly();
      AfterChange(hwnd, Undo(e));
      return could;
    }
    case EM_CANUNDO: return e.canUndo;
    case EM_EMPTYUNDOBUFFER:
      e.canUndo = false;
      e.undoText.clear();
      return 0;
    case EM_GETSEL: {
      auto s = static_cast<DWORD>(e.SelStart()), t = static_cast<DWORD>(e.SelEnd());
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = s;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = t;
      return s > 0xFFFF || t > 0xFFFF ? -1 : MAKELRESULT(static_cast<WORD>(s), static_cast<WORD>(t));
    }
    case EM_SETSEL: {
      auto start = static_cast<long>(static_cast<int>(wParam));
      auto end = static_cast<long>(static_cast<int>(lParam));
      const auto n = static_cast<long>(e.text.size());
      if (start == -1) {
        e.anchor = e.caret;
      } else {
        if (end < 0 || end > n) end = n;
        start = std::clamp<long>(start, 0, n);
        // Never between the two characters of a line break.
        auto snap = [&](long i) {
          return static_cast<size_t>(i > 0 && i < n && e.text[i] == U'\n' && e.text[i - 1] == U'\r' ? i + 1 : i);
        };
        e.anchor = snap(start);
        e.caret = snap(end);
      }
      e.desiredX = -1;
      std::vector<WORD> codes = ScrollCaret(e);
      Refresh(e);
      AfterChange(hwnd, codes);
      return 0;
    }
    case EM_REPLACESEL: {
      std::vector<WORD> codes = ReplaceSelection(e, Decode(reinterpret_cast<const char*>(lParam)), wParam != 0);
      AfterChange(hwnd, codes);
      return 0;
    }
    case EM_LIMITTEXT: e.limit = wParam ? static_cast<size_t>(wParam) : kNoLimit; return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(e.limit);
    case EM_SETREADONLY: {
      DWORD style = e.Style();
      style = wParam ? style | ES_READONLY : style & ~ES_READONLY;
      SetWindowLongPtr(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
      if (IsWindow(hwnd)) Refresh(e);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
      e.passwordChar = static_cast<char32_t>(wParam);
      DWORD style = e.Style();
      style = wParam ? style | ES_PASSWORD : style & ~ES_PASSWORD;
      SetWindowLongPtr(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
      if (!IsWindow(hwnd)) return 0;
      Relayout(e);
      ScrollCaret(e);
      Refresh(e);
      return 0;
    }
    case EM_GETPASSWORDCHAR: return static_cast<LRESULT>(e.passwordChar);
    case EM_GETMODIFY: return e.modified;
    case EM_SETMODIFY: e.modified = wParam != 0; return 0;
    case EM_SETMARGINS: {
      auto value = [&](WORD v) { return v == EC_USEFONTINFO ? e.aveCharWidth / 2 : static_cast<int>(v); };
      if (wParam & EC_LEFTMARGIN) e.leftMargin = value(LOWORD(static_cast<uintptr_t>(lParam)));
      if (wParam & EC_RIGHTMARGIN) e.rightMargin = value(HIWORD(static_cast<uintptr_t>(lParam)));
      e.customRect = false;
      UpdateFormatRect(e);
      Relayout(e);
      ScrollCaret(e);
      Refresh(e);
      return 0;
    }
    case EM_GETMARGINS:
      return MAKELRESULT(static_cast<WORD>(e.leftMargin), static_cast<WORD>(e.rightMargin));
    case EM_GETRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = e.formatRect;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (lParam) {
        e.formatRect = *reinterpret_cast<const RECT*>(lParam);
        e.customRect = true;
      } else {
        e.customRect = false;
        UpdateFormatRect(e);
      }
      Relayout(e);
      ScrollCaret(e);
      if (msg == EM_SETRECT) Refresh(e);
      return 0;
    case EM_POSFROMCHAR: {
      // A negative index and any index of an empty text name no character;
      // the caret search of the editors relies on -1 there.
      if (static_cast<long>(static_cast<int>(wParam)) < 0 || e.text.empty() || wParam > e.text.size()) return -1;
      POINT p = PosFromChar(e, wParam);
      return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
      size_t i = CharFromPos(e, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return MAKELRESULT(static_cast<WORD>(i), static_cast<WORD>(LineOf(e, i)));
    }
    case EM_SCROLLCARET: AfterChange(hwnd, ScrollCaret(e)); Refresh(e); return TRUE;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(e.lines.size());
    case EM_LINEINDEX: {
      auto l = static_cast<long>(static_cast<int>(wParam));
      if (l == -1) l = static_cast<long>(LineOf(e, e.caret));
      if (l < 0 || l >= static_cast<long>(e.lines.size())) return -1;
      return static_cast<LRESULT>(e.lines[static_cast<size_t>(l)].start);
    }
    case EM_LINEFROMCHAR: {
      auto i = static_cast<long>(static_cast<int>(wParam));
      return static_cast<LRESULT>(LineOf(e, i < 0 ? e.SelStart() : static_cast<size_t>(i)));
    }
    case EM_LINELENGTH: {
      auto i = static_cast<long>(static_cast<int>(wParam));
      if (i > static_cast<long>(e.text.size())) return 0;
      const Line& line = e.lines[LineOf(e, i < 0 ? e.caret : static_cast<size_t>(i))];
      return static_cast<LRESULT>(line.end - line.start);
    }
    case EM_GETLINE: {
      if (wParam >= e.lines.size() || !lParam) return 0;
      auto* buffer = reinterpret_cast<char*>(lParam);
      WORD room = *reinterpret_cast<WORD*>(buffer);
      const Line& line = e.lines[wParam];
      std::string utf8 = Encode(e.text, line.start, line.end);
      size_t n = std::min<size_t>(room, utf8.size());
      while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
      std::copy(utf8.begin(), utf8.begin() + static_cast<long>(n), buffer);
      return static_cast<LRESULT>(n);
    }
    case EM_GETFIRSTVISIBLELINE:
      if (e.Multi()) return static_cast<LRESULT>(e.topLine);
      return static_cast<LRESULT>(CharFromPos(e, POINT{e.formatRect.left, e.formatRect.top}));
    case EM_LINESCROLL:
      if (!e.Multi()) return FALSE;
      AfterChange(hwnd, ScrollView(e, static_cast<long>(lParam), static_cast<int>(static_cast<int>(wParam) *
                                                                                  e.aveCharWidth)));
      return TRUE;
    case EM_SCROLL: {
      if (!e.Multi()) return FALSE;
      size_t before = e.topLine;
      std::vector<WORD> codes = ScrollByCode(e, static_cast<WORD>(wParam), 0, true);
      long moved = static_cast<long>(e.topLine) - static_cast<long>(before);
      AfterChange(hwnd, codes);
      return MAKELRESULT(static_cast<WORD>(moved), TRUE);
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterEditClass() {
  static ATOM atom = 0;
  return user::RegisterControlClass(atom, kEditClassName, EditProc, IDC_IBEAM);
}

}  // namespace win
