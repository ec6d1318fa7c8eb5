#include "suite/editors/cxButtons.h"
#include "suite/editors/cxOwnerDrawButton.h"

#include "platform/forms/ActnList.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorHelpers.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/dxThemeManager.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxButtonColors, TPersistent)
VXN_IMPLEMENT_CLASS(TcxCustomButton, TButton)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxButton, TcxCustomButton)

VXN_PUBLISH(TcxButtonColors) {
  using C = TcxButtonColors;
  P.Property("AssignedColors", &C::AssignedColors, &C::SetAssignedColors).Stored(false);
  P.Property("Default", &C::Default, &C::SetDefault).Type(TypeInfoColor()).Stored(&C::DefaultStored);
  P.Property("Normal", &C::Normal, &C::SetNormal).Type(TypeInfoColor()).Stored(&C::NormalStored);
  P.Property("Hot", &C::Hot, &C::SetHot).Type(TypeInfoColor()).Stored(&C::HotStored);
  P.Property("Pressed", &C::Pressed, &C::SetPressed).Type(TypeInfoColor()).Stored(&C::PressedStored);
  P.Property("Disabled", &C::Disabled, &C::SetDisabled).Type(TypeInfoColor()).Stored(&C::DisabledStored);
}

namespace {

bool ColorsStored(const TcxButton& B) { return !B.Colors()->AssignedColors().Empty(); }

TPoint PointOf(LPARAM L) { return {GET_X_LPARAM(L), GET_Y_LPARAM(L)}; }

bool InRect(const TRect& R, const TPoint& P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

}  // namespace

VXN_PUBLISH(TcxButton) {
  using B = TcxButton;
  P.Property("Colors", &B::Colors, &B::SetColors).Stored(&ColorsStored);
  P.Property("DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu);
  P.Property("Glyph", &B::Glyph, &B::SetGlyph);
  P.Property("Kind", &B::Kind, &B::SetKind).Default(cxbkStandard);
  P.Property("Layout", &B::Layout, &B::SetLayout).Default(blGlyphLeft);
  P.Property("LookAndFeel", &B::LookAndFeel, &B::SetLookAndFeel);
  P.Property("Margin", &B::Margin, &B::SetMargin).Default(-1);
  P.Property("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs).Default(1);
  P.Property("PopupAlignment", &B::PopupAlignment, &B::SetPopupAlignment).Default(paLeft);
  P.Property("PopupMenu", &B::PopupMenu, &B::SetPopupMenu);
  P.Property("Spacing", &B::Spacing, &B::SetSpacing).Default(4);
  P.Redeclare("TabStop").Default(true);
  P.Property("UseSystemPaint", &B::UseSystemPaint, &B::SetUseSystemPaint).Default(false);
  P.Property("WordWrap", &B::WordWrap, &B::SetWordWrap).Default(false);
  P.Event("OnDropDownMenuPopup", static_cast<TcxButtonDropDownMenuPopupEvent B::*>(&B::OnDropDownMenuPopup));
  P.Event("OnGetDrawParams", static_cast<TcxButtonGetDrawParamsEvent B::*>(&B::OnGetDrawParams));
}

// TcxButtonColors ------------------------------------------------------------

TcxButtonColors::TcxButtonColors(TcxCustomButton* AOwner) : FButton(AOwner) {}

void TcxButtonColors::Changed() {
  if (FButton) FButton->Invalidate();
}

void TcxButtonColors::SetColor(TcxButtonState AState, TColor Value) {
  if (Value == clNone || Value == clDefault) {
    FColors[AState] = clDefault;
    FAssignedColors -= AState;
  } else if (FColors[AState] != Value) {
    FColors[AState] = Value;
    FAssignedColors += AState;
  }
  Changed();
}

void TcxButtonColors::SetAssignedColors(TcxButtonAssignedColors Value) {
  if (!FButton || !FButton->ComponentState().Contains(csDesigning) || Value == FAssignedColors) return;
  for (TcxButtonState s : {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
    if (!Value.Contains(s))
      FColors[s] = clDefault;
    else if (FColors[s] == clDefault)
      Value -= s;
  }
  FAssignedColors = Value;
  Changed();
}

void TcxButtonColors::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TcxButtonColors*>(Source)) {
    for (int i = 0; i < 5; ++i) FColors[i] = c->FColors[i];
    FAssignedColors = c->FAssignedColors;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// TcxCustomButton ------------------------------------------------------------

TcxCustomButton::TcxCustomButton(TComponent* AOwner) : TButton(AOwner) {
  FGlyph = GlyphClass();
  FGlyph->OnChange = TNotifyEvent(this, &TcxCustomButton::GlyphChanged);
  FColors = std::make_unique<TcxButtonColors>(this);
  FControlCanvas = std::make_unique<TCanvas>();
  FCanvas = std::make_unique<TcxCanvas>(FControlCanvas.get());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxCustomButton::LookAndFeelChanged);
  DoubleBuffered = true;
  ControlStyle += csOpaque;
  ControlStyle += csReflector;
}

TcxCustomButton::~TcxCustomButton() {
  EndMouseTracking(this);
  DestroyHandle();
  FLookAndFeel->OnChanged = nullptr;
  FGlyph->OnChange = nullptr;
}

std::unique_ptr<TcxButtonGlyph> TcxCustomButton::GlyphClass() { return std::make_unique<TcxButtonGlyph>(); }

TcxCustomLookAndFeelPainterClass TcxCustomButton::PainterClass() {
  TcxCustomLookAndFeelPainterClass painter = FLookAndFeel->Painter();
  if (painter->PainterStyle() != PainterStyleOffice11) return painter;
  return IsThemeClassAvailable(ThemeClassButton) ? TcxWinXPLookAndFeelPainter::Instance()
                                                 : TcxStandardLookAndFeelPainter::Instance();
}

void TcxCustomButton::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { RecreateWnd(); }

void TcxCustomButton::SetGlyph(TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  FGlyphModified = true;
  Invalidate();
}

void TcxCustomButton::SetNumGlyphs(Integer Value) {
  if (Value > 4) Value = 4;
  if (Value == FGlyph->NumGlyphs()) return;
  FGlyph->SetNumGlyphs(Value);
  Invalidate();
}

void TcxCustomButton::SetKind(TcxButtonKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  RecreateWnd();
}

void TcxCustomButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TcxCustomButton::SetMargin(Integer Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TcxCustomButton::SetSpacing(Integer Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TcxCustomButton::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  Invalidate();
}

void TcxCustomButton::SetDropDownMenu(TPopupMenu* Value) {
  if (Value == FDropDownMenu) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (FDropDownMenu) FDropDownMenu->FreeNotification(this);
}

void TcxCustomButton::SetPopupMenu(TComponent* Value) { SetContextPopupMenu(this, FPopupMenu, Value); }

void TcxCustomButton::Notification(TComponent* AComponent, TOperation Operation) {
  TButton::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TcxCustomButton::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  if (!UsesNativeButtonPaint()) Params.Style |= BS_OWNERDRAW;
}

void TcxCustomButton::CreateWnd() {
  TButton::CreateWnd();
  FGlyph->CreateButtonGlyph(Enabled() ? cxbsNormal : cxbsDisabled);
}

void TcxCustomButton::DestroyWnd() {
  // A menu that closed just now still has its notice queued: it is taken
  // now, before the window it was posted to goes away.
  if (HandleAllocated()) {
    MSG msg;
    if (PeekMessage(&msg, Handle(), CM_DROPDOWNMENUCLOSED, CM_DROPDOWNMENUCLOSED, PM_REMOVE))
      SendMessage(Handle(), msg.message, msg.wParam, msg.lParam);
  }
  TButton::DestroyWnd();
}

bool TcxCustomButton::UsesHotTrack() {
  return !UsesNativeButtonPaint() && PainterClass()->ButtonsHotTrack() && Enabled();
}

bool TcxCustomButton::CursorOverButton() {
  if (!HandleAllocated()) return false;
  POINT p;
  GetCursorPos(&p);
  return WindowFromPoint(p) == Handle();
}

bool TcxCustomButton::InArrowPart(const TPoint& P) {
  TRect r = ClientRect();
  r.Left = r.Right - cxDropDownArrowPartWidth;
  return InRect(r, P);
}

void TcxCustomButton::ExcludeArrowPart(TRect& R) {
  if (FKind == cxbkDropDownButton) R.Right -= cxDropDownArrowPartExclude;
}

TRect TcxCustomButton::ContentRect(TcxButtonState AState) {
  TRect r = ClientRect();
  const Integer border = PainterClass()->ButtonBorderWidth(AState);
  r = {r.Left + border, r.Top + border, r.Right - border, r.Bottom - border};
  ExcludeArrowPart(r);
  return r;
}

void TcxCustomButton::RequestDropDownMenu() {
  FArrowPartHeld = true;
  if (HandleAllocated()) PostMessage(Handle(), CM_DROPDOWNMENUREQUEST, 0, 0);
}

bool TcxCustomButton::FireDropDownMenuPopup(TPopupMenu*& AMenu) {
  bool handled = false;
  OnDropDownMenuPopup(this, AMenu, handled);
  return handled;
}

bool TcxCustomButton::ShowContextMenu(TComponent* AMenu, Integer X, Integer Y) {
  return ShowPopupMenu(this, AMenu, X, Y);
}

TPoint TcxCustomButton::DropDownMenuPoint(TPopupMenu* AMenu) {
  TPoint p{0, Height()};
  if (FPopupAlignment == paRight)
    p.X = Width();
  else if (FPopupAlignment == paCenter)
    p.X = Width() / 2;
  p = ClientToScreen(p);
  const Integer menuHeight = GetPopupMenuHeight(AMenu);
  if (p.Y + menuHeight > GetMonitorWorkArea(p).Bottom) p.Y -= menuHeight + Height() + 2;
  return p;
}

TPopupAlignment TcxCustomButton::MenuAlignmentAt(const TPoint& P, TPopupAlignment AAlignment) {
  const TRect area = GetMonitorWorkArea(P);
  if (P.X <= area.Left) return paRight;
  if (P.X >= area.Right) return paLeft;
  return AAlignment;
}

void TcxCustomButton::DropDownMenuRequested() {
  if (FKind == cxbkStandard) return;
  TPopupMenu* menu = FDropDownMenu;
  if (FireDropDownMenuPopup(menu) || !menu) return;
  FMenuVisible = true;
  Repaint();
  const TPoint p = DropDownMenuPoint(menu);
  const TPopupAlignment saved = menu->Alignment();
  menu->SetAlignment(MenuAlignmentAt(p, FPopupAlignment));
  menu->SetPopupComponent(this);
  menu->Popup(p.X, p.Y);
  menu->SetAlignment(saved);
  if (HandleAllocated()) PostMessage(Handle(), CM_DROPDOWNMENUCLOSED, 0, 0);
}

void TcxCustomButton::DropDownMenuClosed() {
  FMouseInControl = UsesHotTrack() && CursorOverButton();
  FMenuVisible = false;
  Repaint();
  FArrowPartHeld = false;
}

void TcxCustomButton::Click() {
  if (FKind == cxbkDropDown && !FMenuVisible) {
    if (!FClickFromMouse) RequestDropDownMenu();
    FClickFromMouse = false;
    return;
  }
  if (FKind != cxbkStandard && FClickFromMouse) {
    FClickFromMouse = false;
    return;
  }
  TButton::Click();
}

void TcxCustomButton::MouseEntered() {
  if (ComponentState().Contains(csDesigning) || FMouseInControl || !UsesHotTrack() || GetCapture()) return;
  BeginMouseTracking(this, {0, 0, Width(), Height()}, this);
  FMouseInControl = true;
  Invalidate();
}

void TcxCustomButton::MouseLeft() {
  if (ComponentState().Contains(csDesigning)) return;
  EndMouseTracking(this);
  if (FMouseInControl && UsesHotTrack()) {
    FMouseInControl = false;
    Invalidate();
  }
}

void TcxCustomButton::MouseLeave() { Perform(CM_MOUSELEAVE, 0, 0); }

void TcxCustomButton::DoContextPopup(TPoint MousePos, bool& Handled) {
  TButton::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  const TPoint screen = ContextMenuScreenPoint(this, MousePos);
  Handled = ShowContextMenu(FPopupMenu, screen.X, screen.Y);
}

void TcxCustomButton::Loaded() {
  TButton::Loaded();
  // The action was named before its list's images were: look again.
  if (Action()) TakeActionImage(Action());
}

void TcxCustomButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TButton::ActionChange(Sender, CheckDefaults);
  TakeActionImage(Sender);
}

std::unique_ptr<TControlActionLink> TcxCustomButton::CreateActionLink() {
  std::unique_ptr<TControlActionLink> link = TButton::CreateActionLink();
  // A later image index of the action is taken as the first one was.
  link->OnChange = TNotifyEvent(this, &TcxCustomButton::ActionLinkChanged);
  return link;
}

void TcxCustomButton::TakeActionImage(TObject* AAction) {
  auto* action = dynamic_cast<TCustomAction*>(AAction);
  if (!action || !action->ActionList() || !Glyph()->Empty()) return;
  TCustomImageList* images = action->ActionList()->Images();
  if (images && action->ImageIndex() >= 0 && action->ImageIndex() < images->Count())
    CopyActionImage(images, action->ImageIndex());
}

void TcxCustomButton::CopyActionImage(TCustomImageList* AImages, Integer AIndex) {
  TBitmap* glyph = Glyph();
  glyph->SetSize(AImages->Width(), AImages->Height());
  glyph->Canvas()->Brush()->SetColor(clFuchsia);
  glyph->Canvas()->FillRect({0, 0, glyph->Width(), glyph->Height()});
  AImages->Draw(glyph->Canvas(), 0, 0, AIndex, true);
}

void TcxCustomButton::UpdateLooksDefault(TWinControl* AFocused) {
  // The owner-drawn window takes no default-button style: the frame of the
  // default button is remembered here and drawn by the painter.
  const bool framed = dynamic_cast<TButton*>(AFocused) ? AFocused == this : Default();
  if (framed == FLooksDefault) return;
  FLooksDefault = framed;
  Invalidate();
}

void TcxCustomButton::WndProc(TMessage& Message) {
  const bool destroying = ComponentState().Contains(csDestroying);
  switch (Message.Msg) {
    case CN_DRAWITEM:
      if (!destroying) DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    case CN_MEASUREITEM:
      MeasureItemAsControl(this, Message);
      return;
    case WM_ERASEBKGND:
      if (destroying || UsesNativeButtonPaint() || PainterClass() == TcxWinXPLookAndFeelPainter::Instance()) break;
      Message.Result = 1;
      return;
    case CM_DROPDOWNMENUREQUEST:
      DropDownMenuRequested();
      return;
    case CM_DROPDOWNMENUCLOSED:
      DropDownMenuClosed();
      return;
    case CM_FOCUSCHANGED:
      if (HandleAllocated() && !UsesNativeButtonPaint())
        UpdateLooksDefault(reinterpret_cast<TWinControl*>(Message.LParam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const TPoint p = PointOf(Message.LParam);
      if (FKind != cxbkStandard) {
        if (FMenuVisible) {
          FClickFromMouse = true;
          FMenuVisible = false;
          FIsDown = false;
          Invalidate();
        } else if (FKind == cxbkDropDown || InArrowPart(p)) {
          RequestDropDownMenu();
        }
      }
      if (FKind == cxbkDropDownButton && InArrowPart(p)) FArrowPartHeld = true;
      // A double click is a second press.
      if (Message.Msg == WM_LBUTTONDBLCLK) Message.Msg = WM_LBUTTONDOWN;
      break;
    }
    case WM_LBUTTONUP:
      FArrowPartHeld = false;
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (FKind == cxbkDropDownButton && (Message.WParam == VK_UP || Message.WParam == VK_DOWN)) {
        const TShiftState shift = KeyDataToShiftState(Message.LParam);
        if (shift.Contains(ssShift) || shift.Contains(ssAlt)) {
          if (!FMenuVisible) RequestDropDownMenu();
          return;
        }
      }
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      if (PopupMenuHandlesShortCut(FPopupMenu, Message)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CONTEXTMENU:
      if (Message.Result != 0) return;
      if (ComponentState().Contains(csDesigning)) {
        DefaultHandler(Message);
        return;
      }
      break;
    default:
      break;
  }
  TButton::WndProc(Message);
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      MouseEntered();
      break;
    case CM_MOUSELEAVE:
      MouseLeft();
      break;
    case WM_MOUSEMOVE:
      if (!FMouseInControl && UsesHotTrack() && InRect(ClientRect(), PointOf(Message.LParam)) &&
          !GetCapture())
        Perform(CM_MOUSEENTER, 0, 0);
      break;
    case WM_CAPTURECHANGED:
      if (!ComponentState().Contains(csDesigning)) FMouseInControl = UsesHotTrack() && CursorOverButton();
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) FMouseInControl = false;
      Invalidate();
      break;
    case CM_FONTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}

void TcxCustomButton::DrawItem(const DRAWITEMSTRUCT& Item) {
  const TcxDrawItemCanvas handle(FControlCanvas.get(), Item);
  FIsDown = (Item.itemState & ODS_SELECTED) && !FArrowPartHeld;
  FIsFocused = (Item.itemState & ODS_FOCUS) || (Default() && ComponentState().Contains(csDesigning));
  PaintButton();
}

void TcxCustomButton::PaintButton() {
  if (UsesNativeButtonPaint()) return;
  TcxCustomLookAndFeelPainterClass painter = PainterClass();
  const bool native = painter == TcxWinXPLookAndFeelPainter::Instance();
  TRect r = ClientRect();
  if (native) {
    HTHEME theme = OpenThemeByIndex(ThemeClassButton);
    if (theme && UxIsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, PBS_NORMAL)) {
      RECT rect{r.Left, r.Top, r.Right, r.Bottom};
      UxDrawThemeParentBackground(Handle(), FCanvas->DeviceContext(), &rect);
    }
  }
  TRect arrow;
  if (FKind == cxbkDropDown) {
    FIsDown = FMenuVisible;
  } else if (FKind == cxbkDropDownButton) {
    arrow = {r.Right - cxDropDownArrowPartWidth, r.Top, r.Right, r.Bottom};
    ExcludeArrowPart(r);
    if (FArrowPartHeld) FIsDown = false;
  }
  TcxButtonState state = cxbsNormal;
  if (!Enabled())
    state = cxbsDisabled;
  else if (FIsDown || FMenuVisible)
    state = cxbsPressed;
  else if (FMouseInControl)
    state = cxbsHot;
  else if (FIsFocused || FLooksDefault)
    state = cxbsDefault;
  FPaintedState = state;

  FCanvas->AssignFont(Font());
  TColor color = FColors->Colors(state);
  FCanvas->Font()->SetColor(painter->ButtonGlyphColor(state, FCanvas->Font()->GetColor()));
  OnGetDrawParams(this, state, color, FCanvas->Font());
  const TColor textColor = FCanvas->Font()->GetColor();
  painter->DrawButtonWithCaption(FCanvas.get(), r, "", state, true, color, textColor);

  const Integer shift = painter->ButtonPressedShift();
  const TPoint offset = state == cxbsPressed && shift != 0 ? TPoint{shift, shift} : TPoint{0, 0};
  {
    std::unique_ptr<TcxRegion> clip = FCanvas->ReadClipRegion();
    FCanvas->IntersectClip(ContentRect(state));
    FGlyph->Draw(FCanvas.get(), ContentRect(cxbsDefault), offset, Caption(), FLayout, FMargin, FSpacing, state,
                 TextDirectionFlags(BiDiMode()), native, FWordWrap);
    FCanvas->ApplyClipRegion(std::move(clip));
  }
  if (FKind == cxbkDropDownButton) {
    painter->DrawButtonWithCaption(FCanvas.get(), arrow, "", state, true, color, textColor);
    painter->DrawStateArrowGlyph(FCanvas.get(), arrow, state, ArrowDown);
  }
  if (Focused() && !FMenuVisible) FCanvas->DrawFocusFrame(painter->CalcButtonFocusRect(FCanvas.get(), r));
}

void RegisterButtonClasses() { RegisterClasses({TcxButton::StaticClass()}); }
