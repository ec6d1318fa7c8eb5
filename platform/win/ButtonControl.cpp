#include "platform/win/ButtonControl.h"

#include <string>
#include <unordered_map>

#include "platform/rtl/Utf8.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {

namespace {

struct ButtonState {
  LRESULT Check = BST_UNCHECKED;
  bool Pushed = false;
  bool Focused = false;
  bool MouseDown = false;  // the press came from the mouse (captured)
  bool Hot = false;        // the pointer is over it (the visual style shows it)
  HFONT Font = nullptr;
};

std::unordered_map<HWND, ButtonState>& Buttons() {
  static std::unordered_map<HWND, ButtonState> map;
  return map;
}

DWORD ButtonType(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsCheck(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

void Notify(HWND hwnd, WORD code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  auto id = static_cast<WORD>(GetWindowLongPtr(hwnd, GWLP_ID));
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

// What a click does before it is announced: automatic styles change their
// own check state (an automatic radio button unchecks the automatic radio
// buttons of its group).
void Clicked(HWND hwnd) {
  DWORD type = ButtonType(hwnd);
  ButtonState& s = Buttons()[hwnd];
  if (type == BS_AUTOCHECKBOX) {
    s.Check = s.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    Redraw(hwnd);
  } else if (type == BS_AUTO3STATE) {
    s.Check = (s.Check + 1) % 3;
    Redraw(hwnd);
  } else if (type == BS_AUTORADIOBUTTON) {
    if (HWND parent = GetParent(hwnd)) {
      for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w != hwnd && GetClassName(w) == GetClassName(hwnd) && ButtonType(w) == BS_AUTORADIOBUTTON)
          SendMessage(w, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  }
  Notify(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, bool pushed) {
  ButtonState& s = Buttons()[hwnd];
  if (s.Pushed == pushed) return;
  s.Pushed = pushed;
  Redraw(hwnd);
}

// The parts of the visual style in place of the frame controls and edges;
// text placement and focus marks stay those of the classic look.
void PaintThemedButton(HTHEME theme, HDC dc, const ButtonState& s, DWORD type, DWORD style, const RECT& client,
                       bool enabled, const std::string& text) {
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    int state = !enabled                                     ? PBS_DISABLED
                : s.Pushed                                   ? PBS_PRESSED
                : s.Hot                                      ? PBS_HOT
                : (type == BS_DEFPUSHBUTTON || s.Focused)    ? PBS_DEFAULTED
                                                             : PBS_NORMAL;
    DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &client, nullptr);
    RECT content;
    GetThemeBackgroundContentRect(theme, dc, BP_PUSHBUTTON, state, &client, &content);
    std::u16string wide = Utf8ToUtf16(text);
    DrawThemeText(theme, dc, BP_PUSHBUTTON, state, wide.c_str(), -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0,
                  &content);
    if (s.Focused) {
      RECT f{content.left + 1, content.top + 1, content.right - 1, content.bottom - 1};
      DrawFocusRect(dc, &f);
    }
  } else if (IsCheck(type) || IsRadio(type)) {
    int part = IsRadio(type) ? BP_RADIOBUTTON : BP_CHECKBOX;
    int group = s.Check == BST_CHECKED ? 1 : s.Check == BST_INDETERMINATE && !IsRadio(type) ? 2 : 0;
    int phase = !enabled ? 3 : s.Pushed ? 2 : s.Hot ? 1 : 0;
    int state = 1 + 4 * group + phase;
    SIZE box{13, 13};
    GetThemePartSize(theme, dc, part, state, nullptr, TS_TRUE, &box);
    bool leftText = style & BS_LEFTTEXT;
    int top = (client.top + client.bottom - box.cy) / 2;
    RECT mark = leftText ? RECT{client.right - box.cx, top, client.right, top + box.cy}
                         : RECT{client.left, top, client.left + box.cx, top + box.cy};
    DrawThemeBackground(theme, dc, part, state, &mark, nullptr);
    RECT t = leftText ? RECT{client.left, client.top, mark.left - 4, client.bottom}
                      : RECT{mark.right + 4, client.top, client.right, client.bottom};
    RECT measured = t;
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
    int h = measured.bottom - measured.top;
    t.top = (client.top + client.bottom - h) / 2;
    t.bottom = t.top + h;
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE | (leftText ? DT_RIGHT : DT_LEFT));
    if (s.Focused && !text.empty()) {
      RECT f{t.left - 1, t.top - 1, std::min(t.left + (measured.right - measured.left) + 1, t.right), t.bottom + 1};
      DrawFocusRect(dc, &f);
    }
  } else if (type == BS_GROUPBOX) {
    SIZE ext{0, 0};
    GetTextExtentPoint32(dc, "0", 1, &ext);
    RECT frame{client.left, client.top + ext.cy / 2, client.right, client.bottom};
    DrawThemeBackground(theme, dc, BP_GROUPBOX, enabled ? GBS_NORMAL : GBS_DISABLED, &frame, nullptr);
    if (!text.empty()) {
      RECT t{client.left + 8, client.top, client.right - 8, client.top + ext.cy};
      SetBkMode(dc, OPAQUE);
      DrawText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE | DT_LEFT);
    }
  }
}

void PaintButton(HWND hwnd, HDC dc) {
  ButtonState s = Buttons()[hwnd];
  DWORD style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
  DWORD type = style & BS_TYPEMASK;
  RECT client;
  GetClientRect(hwnd, &client);
  bool enabled = IsWindowEnabled(hwnd);
  if (type == BS_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetWindowLongPtr(hwnd, GWLP_ID));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (s.Pushed ? ODS_SELECTED : 0) | (s.Focused ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED) |
                    (s.Hot ? ODS_HOTLIGHT : 0);
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = client;
    SendMessage(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  SavedDc saved(dc);
  UINT colorMsg = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessage(GetParent(hwnd), colorMsg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  if (s.Font) SelectObject(dc, s.Font);
  FillRect(dc, &client, brush);
  SetBkMode(dc, TRANSPARENT);
  // Disabled captions are embossed.
  auto drawText = enabled ? static_cast<int (*)(HDC, const char*, int, RECT*, UINT)>(&DrawText) : &DrawDisabledText;
  std::string text = GetWindowText(hwnd);
  if (ScopedTheme theme(u"Button"); theme) {
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    PaintThemedButton(theme.get(), dc, s, type, style, client, enabled, text);
  } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    RECT r = client;
    if (type == BS_DEFPUSHBUTTON) {
      // The default button wears a black frame outside its edges.
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (s.Pushed ? DFCS_PUSHED : 0));
    RECT t = r;
    if (s.Pushed) t = {t.left + 1, t.top + 1, t.right + 1, t.bottom + 1};
    drawText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (s.Focused) {
      RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      DrawFocusRect(dc, &f);
    }
  } else if (IsCheck(type) || IsRadio(type)) {
    const int box = 13;
    bool leftText = style & BS_LEFTTEXT;
    int top = (client.top + client.bottom - box) / 2;
    RECT mark = leftText ? RECT{client.right - box, top, client.right, top + box}
                         : RECT{client.left, top, client.left + box, top + box};
    UINT state = IsRadio(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (s.Check == BST_CHECKED) state |= DFCS_CHECKED;
    if (s.Check == BST_INDETERMINATE) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (s.Pushed || !enabled) state |= DFCS_PUSHED * s.Pushed | DFCS_INACTIVE * !enabled;
    DrawFrameControl(dc, &mark, DFC_BUTTON, state);
    RECT t = leftText ? RECT{client.left, client.top, mark.left - 4, client.bottom}
                      : RECT{mark.right + 4, client.top, client.right, client.bottom};
    RECT measured = t;
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
    int h = measured.bottom - measured.top;
    t.top = (client.top + client.bottom - h) / 2;
    t.bottom = t.top + h;
    drawText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE | (leftText ? DT_RIGHT : DT_LEFT));
    if (s.Focused && !text.empty()) {
      RECT f{t.left - 1, t.top - 1, std::min(t.left + (measured.right - measured.left) + 1, t.right), t.bottom + 1};
      DrawFocusRect(dc, &f);
    }
  } else if (type == BS_GROUPBOX) {
    SIZE ext{0, 0};
    GetTextExtentPoint32(dc, "0", 1, &ext);
    RECT frame{client.left, client.top + ext.cy / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
      RECT t{client.left + 8, client.top, client.right - 8, client.top + ext.cy};
      if (enabled) {
        SetBkMode(dc, OPAQUE);
      } else {
        RECT gap = t;
        DrawText(dc, text.c_str(), static_cast<int>(text.size()), &gap, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
        gap.right += 1;
        FillRect(dc, &gap, brush);
      }
      drawText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE | DT_LEFT);
    }
  }
}

}  // namespace

void RegisterButtonClass() {
  WNDCLASSEX existing;
  if (GetClassInfoEx(nullptr, "BUTTON", &existing)) return;
  WNDCLASSEX wc;
  wc.style = CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &ButtonWindowProc;
  wc.lpszClassName = "BUTTON";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassEx(&wc);
}

LRESULT ButtonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCDESTROY:
      Buttons().erase(hwnd);
      break;
    case WM_GETDLGCODE: {
      DWORD type = ButtonType(hwnd);
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      return DLGC_BUTTON;
    }
    case BM_GETCHECK: return Buttons()[hwnd].Check;
    case BM_SETCHECK: {
      DWORD type = ButtonType(hwnd);
      if (!IsCheck(type) && !IsRadio(type)) return 0;
      LRESULT value = static_cast<LRESULT>(wParam);
      if (value == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) value = BST_CHECKED;
      ButtonState& s = Buttons()[hwnd];
      if (s.Check != value) {
        s.Check = value;
        Redraw(hwnd);
      }
      return 0;
    }
    case BM_GETSTATE: {
      const ButtonState& s = Buttons()[hwnd];
      return s.Check | (s.Pushed ? BST_PUSHED : 0) | (s.Focused ? BST_FOCUS : 0);
    }
    case BM_SETSTATE: SetPushed(hwnd, wParam != 0); return 0;
    case BM_SETSTYLE:
      SetWindowLongPtr(hwnd, GWL_STYLE,
                       static_cast<LONG_PTR>((static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)) & ~BS_TYPEMASK) |
                                             (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
      if (lParam) Redraw(hwnd);
      return 0;
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) Clicked(hwnd);
      return 0;
    case WM_SETFONT:
      Buttons()[hwnd].Font = reinterpret_cast<HFONT>(wParam);
      if (lParam) Redraw(hwnd);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(Buttons()[hwnd].Font);
    case WM_LBUTTONDBLCLK: {
      DWORD type = ButtonType(hwnd);
      DWORD style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
      // Radio and owner-drawn buttons (and any with BS_NOTIFY) tell of the
      // double click; the others take it as a second press.
      if (IsRadio(type) || type == BS_OWNERDRAW || (style & BS_NOTIFY)) {
        Notify(hwnd, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    }
    case WM_LBUTTONDOWN:
      if (ButtonType(hwnd) == BS_GROUPBOX) return 0;
      Buttons()[hwnd].MouseDown = true;
      SetCapture(hwnd);
      SetFocus(hwnd);
      SetPushed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (!Buttons()[hwnd].Hot && ButtonType(hwnd) != BS_GROUPBOX) {
        Buttons()[hwnd].Hot = true;
        TRACKMOUSEEVENT track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        TrackMouseEvent(&track);
        if (VisualStylesEnabled()) Redraw(hwnd);
      }
      if (GetCapture() == hwnd && Buttons()[hwnd].MouseDown) {
        RECT r;
        GetClientRect(hwnd, &r);
        int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        SetPushed(hwnd, x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      }
      return 0;
    case WM_LBUTTONUP: {
      ButtonState& s = Buttons()[hwnd];
      if (!s.MouseDown) return 0;
      s.MouseDown = false;
      bool click = s.Pushed;
      SetPushed(hwnd, false);
      if (GetCapture() == hwnd) ReleaseCapture();
      if (click) Clicked(hwnd);
      return 0;
    }
    case WM_MOUSELEAVE:
      if (Buttons()[hwnd].Hot) {
        Buttons()[hwnd].Hot = false;
        if (VisualStylesEnabled()) Redraw(hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (Buttons()[hwnd].MouseDown) {
        Buttons()[hwnd].MouseDown = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && ButtonType(hwnd) != BS_GROUPBOX) {
        SetPushed(hwnd, true);
        return 0;
      }
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE && Buttons()[hwnd].Pushed && !Buttons()[hwnd].MouseDown) {
        SetPushed(hwnd, false);
        Clicked(hwnd);
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      ButtonState& s = Buttons()[hwnd];
      s.Focused = true;
      Redraw(hwnd);
      // A radio button reached by the keyboard is chosen as it gets the focus.
      if (IsRadio(ButtonType(hwnd)) && !s.MouseDown && !(GetKeyState(VK_LBUTTON) & 0x8000) &&
          s.Check != BST_CHECKED)
        Clicked(hwnd);
      return 0;
    }
    case WM_KILLFOCUS: {
      ButtonState& s = Buttons()[hwnd];
      s.Focused = false;
      if (s.Pushed && !s.MouseDown) s.Pushed = false;
      Redraw(hwnd);
      return 0;
    }
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
      Redraw(hwnd);
      return r;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      if (wParam) {
        PaintButton(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
      }
      PaintScope paint(hwnd);
      PaintButton(hwnd, paint.Dc());
      return 0;
    }
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace win
