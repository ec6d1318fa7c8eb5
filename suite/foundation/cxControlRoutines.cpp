#include "suite/foundation/cxControlRoutines.h"

#include "platform/forms/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/foundation/cxGraphics.h"

using namespace win;

namespace {

struct CursorEntry {
  TCursor id;
  const char* name;
};
constexpr CursorEntry kCursors[] = {
    {crcxDragCopy, "CX_DRAGCOPYCURSOR"},       {crcxFullScroll, "CX_FULLSCROLLCURSOR"},
    {crcxHorScroll, "CX_HORSCROLLCURSOR"},     {crcxVerScroll, "CX_VERSCROLLCURSOR"},
    {crcxUpScroll, "CX_UPSCROLLCURSOR"},       {crcxRightScroll, "CX_RIGHTSCROLLCURSOR"},
    {crcxDownScroll, "CX_DOWNSCROLLCURSOR"},   {crcxLeftScroll, "CX_LEFTSCROLLCURSOR"},
    {crcxRemove, "CX_REMOVECURSOR"},           {crcxVertSize, "CX_VERTSIZECURSOR"},
    {crcxHorzSize, "CX_HORZSIZECURSOR"},       {crcxMultiDrag, "CX_MULTIDRAGCURSOR"},
    {crcxNoDrop, "CX_NODROPCURSOR"},           {crcxDrag, "CX_DRAGCURSOR"},
    {crcxHandPoint, "CX_HANDPOINTCURSOR"},
};

// The program's own module: cursors loaded through it are the program's.
HINSTANCE ProgramInstance() { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(1)); }

}  // namespace

const char* SuiteCursorResourceName(TCursor Id) {
  for (const CursorEntry& c : kCursors)
    if (c.id == Id) return c.name;
  return "";
}

void RegisterSuiteCursors() {
  if (!Screen) return;
  for (const CursorEntry& c : kCursors) Screen->SetCursors(c.id, LoadCursor(ProgramInstance(), c.name));
}

Integer DragDetectLoop(HWND Wnd) {
  const Integer threshold = Mouse ? Mouse->DragThreshold() : 5;
  POINT start{};
  GetCursorPos(&start);
  auto inside = [&](POINT p) {
    return p.x >= start.x - threshold && p.x < start.x + threshold && p.y >= start.y - threshold &&
           p.y < start.y + threshold;
  };
  SetCapture(Wnd);
  Integer result = 2;
  MSG msg;
  while (GetCapture() == Wnd) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got < 0) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    bool done = false;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP: done = msg.wParam == VK_ESCAPE; break;
      case WM_MOUSEMOVE:
        if (msg.hwnd == Wnd) {
          POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
          ClientToScreen(Wnd, &p);
          if (!inside(p)) {
            result = 1;
            done = true;
          }
        }
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        result = 0;
        done = true;
        break;
      default: break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (done) break;
  }
  if (GetCapture() == Wnd) ReleaseCapture();
  return result;
}

bool IsWithinDragThreshold(const TPoint& MouseDownPos, Integer X, Integer Y) {
  const Integer threshold = Mouse ? Mouse->DragThreshold() : 5;
  return std::abs(X - MouseDownPos.X) < threshold && std::abs(Y - MouseDownPos.Y) < threshold;
}

bool HasParentWithHandle(TControl* AControl) {
  for (TWinControl* p = AControl ? AControl->Parent() : nullptr; p; p = p->Parent())
    if (p->HandleAllocated()) return true;
  return false;
}

Integer GetDoubleClickInterval() { return static_cast<Integer>(GetDoubleClickTime()); }

TRect GetMonitorWorkArea(const TPoint& P) {
  MONITORINFO info;
  if (HMONITOR monitor = MonitorFromPoint({P.X, P.Y}, MONITOR_DEFAULTTONEAREST);
      monitor && GetMonitorInfo(monitor, &info))
    return cxRect(info.rcWork);
  RECT r{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return cxRect(r);
}

TPoint QueryCursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

bool IsCtrlPressed() { return GetKeyState(VK_CONTROL) < 0; }

bool IsNumericInputChar(char32_t C, Integer Mode) {
  if ((C >= U'0' && C <= U'9') || C == U'+' || C == U'-') return true;
  const char32_t decimal = static_cast<unsigned char>(DefaultFormatSettings().DecimalSeparator);
  if ((Mode == 1 || Mode == 2) && C == decimal) return true;
  return Mode == 2 && (C == U'e' || C == U'E');
}

bool IsTextInputChar(char32_t C) { return C >= 32; }

char16_t KeyCodeToCharCode(Word Key) { return static_cast<char16_t>(Key); }

TPoint TranslateWindowPoint(HWND From, HWND To, const TPoint& P) {
  POINT p{P.X, P.Y};
  MapWindowPoints(From, To, &p, 1);
  return {p.x, p.y};
}

TRect TranslateWindowRect(HWND From, HWND To, const TRect& R) {
  const TPoint a = TranslateWindowPoint(From, To, R.TopLeft()), b = TranslateWindowPoint(From, To, R.BottomRight());
  return {a.X, a.Y, b.X, b.Y};
}

bool IsComponentLoading(TComponent* AComponent) {
  return AComponent && AComponent->ComponentState().Contains(csLoading);
}

bool PopupMenuHandlesShortCut(TComponent* AMenu, TMessage& Message) {
  if (!AMenu) return false;
  if (auto* own = dynamic_cast<IcxPopupMenuComponent*>(AMenu)) return own->IsShortCut(Message);
  if (auto* menu = dynamic_cast<TPopupMenu*>(AMenu)) return menu->WindowHandle() && menu->IsShortCut(Message);
  return false;
}

bool ShowPopupMenu(TControl* AControl, TComponent* AMenu, Integer X, Integer Y) {
  if (auto* own = dynamic_cast<IcxPopupMenuComponent*>(AMenu)) {
    own->Popup(X, Y);
    return true;
  }
  if (auto* menu = dynamic_cast<TPopupMenu*>(AMenu); menu && menu->GetAutoPopup()) {
    menu->SetPopupComponent(AControl);
    menu->Popup(X, Y);
    return true;
  }
  return false;
}

Integer GetPopupMenuHeight(TPopupMenu* AMenu) {
  if (!AMenu) return 0;
  TcxScreenCanvas canvas;
  if (Screen) canvas.AssignFont(Screen->MenuFont());
  const Integer itemHeight = canvas.MeasureTextHeight("Qg") + 4;
  Integer height = 4;
  TMenuItem* root = AMenu->Items();
  for (Integer i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible()) continue;
    Integer h = itemHeight;
    if (AMenu->OwnerDraw() || AMenu->Images() || item->HasBitmap()) {
      Integer w = 0;
      if (item->OnMeasureItem) item->OnMeasureItem(item, canvas.Canvas, w, h);
    }
    height += h;
  }
  return height;
}
