#include "suite/editors/cxRadioGroup.h"

#include "platform/forms/CustomForms.h"
#include "platform/forms/Menus.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/OwnBitmaps.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxContainer.h"
#include "suite/editors/cxOwnerDrawButton.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEditViewInfo.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxPainterImages.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxRadioButton, TRadioButton)

VXN_PUBLISH(TcxRadioButton) {
  using B = TcxRadioButton;
  P.Property("LookAndFeel", &B::LookAndFeel, &B::SetLookAndFeel);
  P.Property("PopupMenu", &B::PopupMenu, &B::SetPopupMenu);
  P.Redeclare("ParentBackground").Default(true);
  P.Property("Transparent", &B::Transparent, &B::SetTransparent).Default(false);
  P.Property("WordWrap", &B::WordWrap, &B::SetWordWrap).Default(false);
}

namespace {

TSize gRadioButtonSize;

// The number of columns and rows of a black-backed cell that the radio mask
// touches: the classic mark's size.
TSize MeasureRadioButton() {
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  BITMAP info{};
  GetObject(boxes, sizeof(info), &info);
  DeleteObject(boxes);
  const Integer cellW = info.bmWidth / 4, cellH = info.bmHeight / 3;
  TBitmap cell;
  cell.SetPixelFormat(pf32bit);
  cell.SetSize(cellW, cellH);
  cell.Canvas()->Brush()->SetColor(clBlack);
  cell.Canvas()->FillRect({0, 0, cellW, cellH});
  RECT r{0, 0, cellW, cellH};
  DrawFrameControl(cell.Canvas()->Handle(), &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_CHECKED | DFCS_FLAT);
  TSize size;
  std::vector<bool> rows(static_cast<size_t>(cellH)), cols(static_cast<size_t>(cellW));
  for (Integer y = 0; y < cellH; ++y)
    for (Integer x = 0; x < cellW; ++x)
      if ((cell.ScanLine(y)[x] & 0xFFFFFF) == 0) rows[static_cast<size_t>(y)] = cols[static_cast<size_t>(x)] = true;
  for (bool b : cols) size.cx += b;
  for (bool b : rows) size.cy += b;
  return size;
}

bool InRect(const TRect& R, const TPoint& P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

TcxButtonState PainterState(uint8_t AState) {
  static constexpr TcxButtonState states[] = {cxbsDisabled, cxbsHot, cxbsNormal, cxbsPressed};
  return states[AState];
}

}  // namespace

TSize RadioButtonSize() { return gRadioButtonSize; }

TcxRadioButton::TcxRadioButton(TComponent* AOwner) : TRadioButton(AOwner) {
  ControlStyle += csDoubleClicks;
  FControlCanvas = std::make_unique<TCanvas>();
  FCanvas = std::make_unique<TcxCanvas>(FControlCanvas.get());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxRadioButton::LookAndFeelChanged);
  SetParentBackground(true);
  GetRadioButtonImages();
}

TcxRadioButton::~TcxRadioButton() {
  EndMouseTracking(this);
  DestroyHandle();
  FLookAndFeel->OnChanged = nullptr;
}

void TcxRadioButton::SetPopupMenu(TComponent* Value) { SetContextPopupMenu(this, FPopupMenu, Value); }

void TcxRadioButton::Notification(TComponent* AComponent, TOperation Operation) {
  TRadioButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TcxRadioButton::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Invalidate();
}

void TcxRadioButton::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  Invalidate();
}

bool TcxRadioButton::Focused() {
  if (ComponentState().Contains(csDesigning)) return false;
  return TRadioButton::Focused();
}

void TcxRadioButton::Invalidate() {
  if (!HandleAllocated()) return;
  RECT r{0, 0, Width(), Height()};
  InvalidateRect(Handle(), &r, FALSE);
}

void TcxRadioButton::InvalidateButtonRect(Integer AInflate) {
  if (!HandleAllocated()) return;
  RECT r{FButtonRect.Left - AInflate, FButtonRect.Top - AInflate, FButtonRect.Right + AInflate,
         FButtonRect.Bottom + AInflate};
  InvalidateRect(Handle(), &r, FALSE);
}

bool TcxRadioButton::ShowContextMenu(TComponent* AMenu, Integer X, Integer Y) {
  return ShowPopupMenu(this, AMenu, X, Y);
}

bool TcxRadioButton::IsNativeStyle() { return NativeThemeInEffect(FLookAndFeel->NativeStyle(), ThemeClassButton); }

bool TcxRadioButton::PaintsThemedParentBackground() {
  return IsNativeStyle() && ParentBackground() && !IsInplace() && !FTransparent;
}

bool TcxRadioButton::PaintsTransparent() { return FTransparent && !IsInplace(); }

bool TcxRadioButton::NeedsBackground() { return PaintsThemedParentBackground() || PaintsTransparent(); }

void TcxRadioButton::AdjustCaptionRect(TRect& R, bool ANative) {
  struct Margins {
    Integer Left, Top, Right, Bottom;
  };
  // Painter mark, native mark.
  static constexpr Margins inplace[2] = {{5, 0, 1, 0}, {3, 0, 0, 0}};
  static constexpr Margins left[2] = {{2, -1, 1, 0}, {0, -1, 1, 0}};
  static constexpr Margins right[2] = {{5, -1, 0, 0}, {3, -1, 0, 0}};
  static constexpr Margins leftWrap[2] = {{2, -1, 6, 0}, {0, -1, 3, 0}};
  static constexpr Margins rightWrap[2] = {{5, -1, 2, 0}, {3, -1, 0, 0}};
  const Margins* table = IsInplace()                    ? inplace
                         : Alignment() == taLeftJustify ? (FWordWrap ? leftWrap : left)
                                                        : (FWordWrap ? rightWrap : right);
  const Margins& m = table[ANative ? 1 : 0];
  R.Left += m.Left;
  R.Top += m.Top;
  R.Right -= m.Right;
  R.Bottom -= m.Bottom;
}

TRect TcxRadioButton::MarkRect(const TSize& S, bool ANative) {
  TRect r;
  r.Top = (Height() - S.cy) / 2;
  r.Bottom = r.Top + S.cy;
  if (Alignment() == taLeftJustify) {
    r.Right = Width();
    r.Left = r.Right - S.cx;
  } else {
    r.Left = !ANative && !IsInplace() ? 1 : 0;
    r.Right = r.Left + S.cx;
  }
  return r;
}

void TcxRadioButton::UpdateButtonState() {
  if (!HandleAllocated()) return;
  POINT p{};
  GetCursorPos(&p);
  const TPoint client = ScreenToClient({p.x, p.y});
  RefreshButtonState(mbLeft, false, GetKeyboardShiftState(), client);
}

void TcxRadioButton::RefreshButtonState(TMouseButton, bool, TShiftState AShift, const TPoint& P) {
  const TRect r{0, 0, Width(), Height()};
  uint8_t state;
  if (!Enabled())
    state = cxRadioStateDisabled;
  else if (ComponentState().Contains(csDesigning))
    state = cxRadioStateNormal;
  else if (HandleAllocated() && GetCapture() == Handle())
    state = InRect(r, P) ? cxRadioStatePressed : cxRadioStateHot;
  else
    state = InRect(r, P) && AShift.Empty() ? cxRadioStateHot : cxRadioStateNormal;
  if (state == FState) return;
  FState = state;
  InvalidateButtonRect(1);
}

void TcxRadioButton::StartMouseTracking() { BeginMouseTracking(this, {0, 0, Width(), Height()}, this); }

void TcxRadioButton::EnabledChanged() {
  UpdateButtonState();
  Invalidate();
}

void TcxRadioButton::MouseEnter(TControl*) {
  UpdateButtonState();
  StartMouseTracking();
}

void TcxRadioButton::MouseLeave(TControl*) {
  RefreshButtonState(mbLeft, false, {}, {-1, -1});
  EndMouseTracking(this);
}

void TcxRadioButton::CreateParams(TCreateParams& Params) {
  TRadioButton::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD{4}) | BS_OWNERDRAW;
}

void TcxRadioButton::CreateHandle() {
  TRadioButton::CreateHandle();
  UpdateButtonState();
}

void TcxRadioButton::DoEnter() {
  TRadioButton::DoEnter();
  if (Checked()) return;
  ClicksDisabled = true;
  SetChecked(true);
  ClicksDisabled = false;
  TForm* form = GetParentForm(this);
  if (!ComponentState().Contains(csLoading) && !(form && form->ComponentState().Contains(csLoading))) Click();
}

void TcxRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TRadioButton::MouseDown(Button, Shift, X, Y);
  RefreshButtonState(Button, true, Shift, {X, Y});
}

void TcxRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TRadioButton::MouseUp(Button, Shift, X, Y);
  RefreshButtonState(Button, true, Shift, {X, Y});
}

void TcxRadioButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TRadioButton::MouseMove(Shift, X, Y);
  RefreshButtonState(mbLeft, false, Shift, {X, Y});
  StartMouseTracking();
}

void TcxRadioButton::DoContextPopup(TPoint MousePos, bool& Handled) {
  TRadioButton::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  const TPoint screen = ContextMenuScreenPoint(this, MousePos);
  Handled = ShowContextMenu(FPopupMenu, screen.X, screen.Y);
}

void TcxRadioButton::WndProc(TMessage& Message) {
  const bool destroying = ComponentState().Contains(csDestroying);
  switch (Message.Msg) {
    case WM_CONTEXTMENU: {
      if (Message.Result != 0 || ComponentState().Contains(csDesigning)) break;
      TPoint p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      if (p.X != -1 || p.Y != -1) {
        p = ScreenToClient(p);
        if (!InRect(ClientRect(), p)) break;
      }
      bool handled = false;
      DoContextPopup(p, handled);
      Message.Result = handled;
      if (handled) return;
      break;
    }
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case BM_SETCHECK:
      DefaultHandler(Message);
      InvalidateButtonRect(0);
      return;
    case CN_DRAWITEM:
      if (!destroying) DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    case CN_MEASUREITEM:
      MeasureItemAsControl(this, Message);
      return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      if (PopupMenuHandlesShortCut(FPopupMenu, Message)) {
        Message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TRadioButton::WndProc(Message);
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (!destroying && NeedsBackground()) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      EnabledChanged();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      auto* control = reinterpret_cast<TControl*>(Message.LParam);
      if (!control) control = this;
      if (Message.Msg == CM_MOUSEENTER)
        MouseEnter(control);
      else
        MouseLeave(control);
      break;
    }
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    default:
      break;
  }
}

void TcxRadioButton::DrawItem(const DRAWITEMSTRUCT& Item) {
  const TcxDrawItemCanvas handle(FControlCanvas.get(), Item);
  PaintButton();
}

void TcxRadioButton::FillBackground(TColor AColor) {
  if (NeedsBackground()) return;
  FCanvas->SetBrushColor(AColor);
  FCanvas->Canvas->FillRect({0, 0, Width(), Height()});
}

void TcxRadioButton::PaintButton() {
  const TRect client{0, 0, Width(), Height()};
  if (PaintsTransparent()) {
    if (Parent()) {
      TcxCustomEditViewInfo copy;
      copy.BackgroundControl = Parent();
      copy.Edit = this;
      copy.BackgroundOffset = {Left(), Top()};
      DrawTransparentBackground(&copy, FCanvas.get(), client);
    }
  } else if (PaintsThemedParentBackground()) {
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    UxDrawThemeParentBackground(Handle(), FCanvas->DeviceContext(), &r);
  }
  const TColor background = NeedsBackground() ? clDefault : Color();
  if (IsNativeStyle()) {
    FillBackground(Color());
    static constexpr int themeStates[2][4] = {
        {RBS_UNCHECKEDDISABLED, RBS_UNCHECKEDHOT, RBS_UNCHECKEDNORMAL, RBS_UNCHECKEDPRESSED},
        {RBS_CHECKEDDISABLED, RBS_CHECKEDHOT, RBS_CHECKEDNORMAL, RBS_CHECKEDPRESSED}};
    const int themeState = themeStates[Checked() ? 1 : 0][FState];
    HTHEME theme = OpenThemeByIndex(ThemeClassButton);
    SIZE size{};
    UxGetThemePartSize(theme, FCanvas->DeviceContext(), BP_RADIOBUTTON, themeState, TS_TRUE, size);
    FButtonRect = MarkRect({size.cx, size.cy}, true);
    UxDrawThemeBackground(theme, FCanvas->DeviceContext(), BP_RADIOBUTTON, themeState, FButtonRect);
    DrawCaption(true);
    return;
  }
  FButtonRect = MarkRect(RadioButtonSize(), false);
  FLookAndFeel->Painter()->DrawRadioButton(FCanvas.get(), FButtonRect.Left, FButtonRect.Top, PainterState(FState),
                                           Checked(), Focused(), background,
                                           ComponentState().Contains(csDesigning));
  FCanvas->ExcludeFromClip(FButtonRect);
  FillBackground(Color());
  DrawCaption(false);
}

void TcxRadioButton::DrawCaption(bool ANative) {
  FCanvas->AssignFont(Font());
  const bool inner = dynamic_cast<IcxContainerInnerControl*>(this) != nullptr;
  if (!Enabled() && !inner) FCanvas->Font()->SetColor(clBtnShadow);
  TRect r{0, 0, Width(), Height()};
  if (Alignment() == taLeftJustify)
    r.Right = FButtonRect.Left;
  else
    r.Left = FButtonRect.Right;
  FCanvas->Brush()->SetStyle(bsClear);
  AdjustCaptionRect(r, ANative);
  const TcxTextFlags flags = FWordWrap ? TextLeft | TextVCenter | TextShowPrefix | TextWordBreak | TextNoClip
                                       : TextLeft | TextVCenter | TextSingleLine | TextShowPrefix;
  if (PaintsThemedParentBackground()) FCanvas->Canvas->RequiredState();
  FCanvas->DrawAlignedText(Caption(), r, flags, ANative || inner || Enabled());
  FCanvas->Brush()->SetStyle(bsSolid);
  if (!Focused() || Caption().empty()) return;
  TRect focus = r;
  FCanvas->CalcTextRect(Caption(), focus, flags);
  focus = {focus.Left - 1, focus.Top - 1, focus.Right + 1, focus.Bottom + 2};
  if (IsInplace()) {
    focus.Top = std::max(focus.Top, Integer{1});
    focus.Bottom = std::min(focus.Bottom, Height() - 1);
    focus.Right = std::min(focus.Right, Width());
  } else {
    focus.Left = std::max(focus.Left, Integer{0});
    focus.Top = std::max(focus.Top, Integer{0});
    focus.Right = std::min(focus.Right, Width());
    focus.Bottom = std::min(focus.Bottom, Height());
    if (Alignment() == taLeftJustify) focus.Right = std::min(focus.Right, FButtonRect.Left);
  }
  FCanvas->SetBrushColor(Color());
  FCanvas->Font()->SetColor(Font()->GetColor());
  FCanvas->Canvas->DrawFocusRect(focus);
}

void InitializeRadioGroup() {
  static bool done = false;
  if (done) return;
  done = true;
  gRadioButtonSize = MeasureRadioButton();
  RegisterClasses({TcxRadioButton::StaticClass()});
}
