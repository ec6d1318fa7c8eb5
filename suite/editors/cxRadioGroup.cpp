#include "suite/editors/cxRadioGroup.h"

#include <algorithm>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
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
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxEditRegisteredRepositoryItems.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/foundation/cxVariants.h"
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
VXN_IMPLEMENT_CREATABLE_CLASS(TcxRadioGroupItem, TcxButtonGroupItem)
VXN_IMPLEMENT_CLASS(TcxRadioGroupItems, TcxButtonGroupItems)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomRadioGroupProperties, TcxCustomButtonGroupProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxRadioGroupProperties, TcxCustomRadioGroupProperties)
VXN_IMPLEMENT_CLASS(TcxCustomRadioGroupViewInfo, TcxButtonGroupViewInfo)
VXN_IMPLEMENT_CLASS(TcxCustomRadioGroupViewData, TcxButtonGroupViewData)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomRadioGroupButton, TcxRadioButton)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomRadioGroup, TcxCustomButtonGroup)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxRadioGroup, TcxCustomRadioGroup)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryRadioGroupItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxRadioGroupItem) {
  using C = TcxRadioGroupItem;
  P.Property("Value", &C::Value, &C::SetValue).Stored(&C::IsValueStored);
}

VXN_PUBLISH(TcxRadioGroupProperties) {
  using T = TcxCustomRadioGroupProperties;
  using G = TcxCustomButtonGroupProperties;
  using B = TcxCustomEditProperties;
  P.Property("AssignedValues", &B::AssignedValues, &B::SetAssignedValues);
  P.Property("Columns", &G::Columns, &G::SetColumns).Default(1);
  P.Property("DefaultCaption", &T::DefaultCaption, &T::SetDefaultCaption).Stored(&T::IsDefaultCaptionStored);
  P.Property("DefaultValue", &T::DefaultValue, &T::SetDefaultValue).Stored(&T::IsDefaultValueStored);
  P.Property("ImmediatePost", &B::ImmediatePost, &B::SetImmediatePost).Default(false);
  P.Property("Items", &T::RadioItems, &T::SetRadioItems);
  P.Property("ReadOnly", &B::ReadOnly, &B::SetReadOnly).Stored(&B::IsReadOnlyStored);
  P.Property("WordWrap", &G::WordWrap, &G::SetWordWrap).Default(false);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
}

VXN_PUBLISH(TcxRadioGroup) {
  using C = TcxRadioGroup;
  P.Property("DragMode", &C::DragMode, &C::SetDragMode).Default(dmManual);
  P.Property("Alignment", &C::Alignment, &C::SetAlignment).Default(alTopLeft);
  P.Property("ItemIndex", &C::ItemIndex, &C::SetItemIndex).Stored(&C::IsItemIndexStored);
  P.Redeclare("ParentBackground").Default(true);
  P.Redeclare("ParentColor").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Redeclare("TabStop").Default(true);
  P.Property("Transparent", &C::Transparent, &C::SetTransparentLook).Default(false);
  PublishEditorEvents(P, cxpeEditing | cxpeDock);
}

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

// --- radio group items and properties -------------------------------------------------------

void TcxRadioGroupItem::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TcxRadioGroupItem*>(Source)) SetValue(other->Value());
  TcxButtonGroupItem::Assign(Source);
}

void TcxRadioGroupItem::SetValue(const Variant& Value) {
  if (VarEqualsSameType(FValue, Value)) return;
  FValue = Value;
  NotifyItemChanged();
}

TcxCustomRadioGroupProperties::TcxCustomRadioGroupProperties(TPersistent* AOwner)
    : TcxCustomButtonGroupProperties(AOwner) {
  RecreateItems();
}

std::unique_ptr<TcxButtonGroupItems> TcxCustomRadioGroupProperties::CreateItems() {
  return std::make_unique<TcxRadioGroupItems>(this, TcxRadioGroupItem::StaticClass());
}

void TcxCustomRadioGroupProperties::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TcxCustomRadioGroupProperties*>(Source);
  if (!other) {
    TcxCustomButtonGroupProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlocked([this] { UnlockChanges(true); });
  TcxCustomButtonGroupProperties::Assign(Source);
  SetDefaultCaption(other->DefaultCaption());
  SetDefaultValue(other->DefaultValue());
  SetWordWrap(other->WordWrap());
}

TClass TcxCustomRadioGroupProperties::EditClass() { return TcxRadioGroup::StaticClass(); }

TcxCustomEditViewDataClass TcxCustomRadioGroupProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomRadioGroupViewData>();
}

TcxContainerViewInfoClass TcxCustomRadioGroupProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomRadioGroupViewInfo>;
}

std::u16string TcxCustomRadioGroupProperties::DisplayTextOf(const Variant& Value, bool) {
  const Integer index = IndexOfValue(Value);
  return index < 0 ? FDefaultCaption : Utf8ToUtf16(RadioItems()->ItemAt(index)->Caption());
}

void TcxCustomRadioGroupProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool) {
  EditValue = IndexOfValue(Value);
}

Integer TcxCustomRadioGroupProperties::ColumnCount() {
  const Integer columns = std::min(Columns(), Items()->Count());
  return columns == 0 ? 1 : columns;
}

Integer TcxCustomRadioGroupProperties::IndexOfValue(const Variant& Value) {
  TcxRadioGroupItems* items = RadioItems();
  std::string text;
  bool textKnown = false;
  for (Integer i = 0; i < items->Count(); ++i) {
    TcxRadioGroupItem* item = items->ItemAt(i);
    if (!VarIsNull(item->Value())) {
      if (VariantsAreEqual(Value, item->Value())) return i;
      continue;
    }
    if (!textKnown) {
      text = VarIsNull(Value) ? std::string() : VarToStr(Value);
      textKnown = true;
    }
    if (AnsiCompareStr(item->Caption(), text) == 0) return i;
  }
  return -1;
}

void TcxCustomRadioGroupProperties::SetDefaultCaption(const std::u16string& Value) {
  if (Value == FDefaultCaption) return;
  FDefaultCaption = Value;
  NotifyChanged();
}

bool TcxCustomRadioGroupProperties::IsDefaultCaptionStored() const { return !FDefaultCaption.empty(); }

void TcxCustomRadioGroupProperties::SetDefaultValue(const Variant& Value) {
  if (VarEqualsSameType(FDefaultValue, Value)) return;
  FDefaultValue = Value;
  NotifyChanged();
}

// --- radio group view data and view info ----------------------------------------------------

void TcxCustomRadioGroupViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                                Integer AButton, TShiftState AShift,
                                                TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxButtonGroupViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  AViewInfo->SetBackgroundColor(Style->Color());
}

void TcxCustomRadioGroupViewData::CalculateDisplayText(TcxCanvas*, const Variant& AValue,
                                                       TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo);
  // A sample shows its first item checked.
  vi->CheckedIndex = Extra ? 0 : RadioProperties()->IndexOfValue(AValue);
  vi->Measuring = Measuring;
}

void TcxCustomRadioGroupViewData::ButtonMetrics(bool, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics) {
  const Integer i = IsInplace ? 1 : 0;
  AMetrics.ButtonLeftOffset = 6 - 5 * i;
  AMetrics.ArrangeWidthAdjust = 4 * i - 6;
  AMetrics.ColumnSpacing = 0;
  if (!ACanvas) return;
  const bool native = IsButtonNativeStyle(Style->LookAndFeel());
  AMetrics.MeasureTextGap = native ? 1 : 3;
  AMetrics.MeasureWidthAdjust = i - 6;
  AMetrics.FreeTextGap = native ? 5 : 7;
  AMetrics.FreeWidthAdjust = 6 - 5 * i;
  if (!native) {
    AMetrics.ImageSize = RadioButtonSize();
    return;
  }
  SIZE size{};
  ACanvas->Canvas->RequiredState();
  UxGetThemePartSize(OpenThemeByIndex(ThemeClassButton), ACanvas->DeviceContext(), BP_RADIOBUTTON,
                     RBS_UNCHECKEDNORMAL, TS_TRUE, size);
  AMetrics.ImageSize = {size.cx, size.cy};
}

void TcxCustomRadioGroupViewData::SetButtonThemeState(TcxButtonGroupViewInfo* AViewInfo,
                                                      TcxGroupBoxButtonViewInfo* AButton) {
  if (!AButton->NativeStyle) return;
  static constexpr int states[2][4] = {
      {RBS_UNCHECKEDDISABLED, RBS_UNCHECKEDNORMAL, RBS_UNCHECKEDPRESSED, RBS_UNCHECKEDHOT},
      {RBS_CHECKEDDISABLED, RBS_CHECKEDNORMAL, RBS_CHECKEDPRESSED, RBS_CHECKEDHOT}};
  const bool checked = AButton->ButtonIndex == static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo)->CheckedIndex;
  AButton->NativePart = BP_RADIOBUTTON;
  AButton->NativeState = states[checked ? 1 : 0][std::clamp<Integer>(AButton->State, 0, 3)];
  AButton->NativePartiallyTransparent =
      UxIsThemeBackgroundPartiallyTransparent(OpenThemeByIndex(ThemeClassButton), BP_RADIOBUTTON, AButton->NativeState);
}

TcxCustomRadioGroupViewInfo::TcxCustomRadioGroupViewInfo() { GetRadioButtonImages(); }

namespace {

TcxLookAndFeelKind KindOfButtonStyle(TcxEditButtonStyle AStyle) {
  switch (AStyle) {
    case btsFlat: return lfFlat;
    case btsUltraFlat: return lfUltraFlat;
    case btsOffice11: return lfOffice11;
    default: return lfStandard;
  }
}

TcxButtonState PainterStateOfButton(TcxEditButtonState AState) {
  switch (AState) {
    case ebbsDisabled: return cxbsDisabled;
    case ebbsPressed: return cxbsPressed;
    case ebbsHot: return cxbsHot;
    default: return cxbsNormal;
  }
}

}  // namespace

void TcxCustomRadioGroupViewInfo::PaintButton(TcxCanvas* ACanvas, Integer AIndex) {
  TcxGroupBoxButtonViewInfo* b = GroupButton(AIndex);
  const TRect bounds = b->Bounds;
  const bool native = b->NativeStyle;
  const bool checked = AIndex == CheckedIndex;
  HTHEME theme = native ? OpenThemeByIndex(ThemeClassButton) : nullptr;
  ACanvas->Canvas->RequiredState();
  TSize mark = RadioButtonSize();
  if (native) {
    SIZE size{};
    UxGetThemePartSize(theme, ACanvas->DeviceContext(), BP_RADIOBUTTON, b->NativeState, TS_TRUE, size);
    mark = {size.cx, size.cy};
  }
  TRect m;
  m.Top = bounds.Top + (bounds.Height() - mark.cy) / 2;
  m.Bottom = m.Top + mark.cy;
  m.Left = bounds.Left;
  m.Right = m.Left + mark.cx;
  if (PaintingCopy && !native) m = cxRectOffset(m, 1, 0);
  // The marks are taken out of the clip while drawing; the clip comes back
  // for whatever is painted after this button.
  TcxClipRegionScope clip(ACanvas);
  if (m.Top < bounds.Top || m.Bottom > bounds.Bottom) ACanvas->IntersectClip(bounds);
  auto background = [&] {
    if (Transparent) return;
    ACanvas->SetBrushColor(FillColor);
    ACanvas->Canvas->FillRect(bounds);
  };
  if (native) {
    if (b->NativePartiallyTransparent) {
      background();
      UxDrawThemeBackground(theme, ACanvas->DeviceContext(), BP_RADIOBUTTON, b->NativeState, m);
    } else {
      UxDrawThemeBackground(theme, ACanvas->DeviceContext(), BP_RADIOBUTTON, b->NativeState, m);
      ACanvas->ExcludeFromClip(m);
      background();
    }
  } else {
    PainterClassForStyle(false, KindOfButtonStyle(b->Style))
        ->DrawRadioButton(ACanvas, m.Left, m.Top, PainterStateOfButton(b->State), checked, false,
                          Transparent ? clDefault : FillColor, IsDesigning);
    ACanvas->ExcludeFromClip(m);
    background();
  }
  ACanvas->AssignFont(Font);
  ACanvas->Font()->SetColor(TextColor);
  PrepareTextFont(ACanvas->Font());
  TRect text{m.Right, bounds.Top, bounds.Right, bounds.Bottom};
  if (native)
    text = {text.Left + 3, text.Top - 1, text.Right, text.Bottom + 1};
  else
    text = {text.Left + 5, text.Top, text.Right - 1, text.Bottom};
  if (PaintingCopy) text = cxRectOffset(text, 0, -1);
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->DrawAlignedText(b->Caption, text, ButtonTextFlags, true);
  ACanvas->Brush()->SetStyle(bsSolid);
  if (IsInplace || !Focused) return;
  TRect focus = text;
  ACanvas->CalcTextRect(b->Caption, focus, ButtonTextFlags);
  focus = {focus.Left - 1, focus.Top - 1, focus.Right + 1, focus.Bottom + 2};
  ACanvas->SetBrushColor(FillColor);
  ACanvas->Canvas->DrawFocusRect(focus);
}

// --- radio group buttons --------------------------------------------------------------------

TcxCustomRadioGroupButton::TcxCustomRadioGroupButton(TComponent* AOwner)
    : TcxRadioButton(AOwner), FRadioGroup(dynamic_cast<TcxCustomRadioGroup*>(AOwner)) {
  if (!FRadioGroup) throw EInvalidOperation("A radio group button belongs to a radio group");
  FRadioGroup->AddButton(this);
  LookAndFeel()->SetMasterLookAndFeel(FRadioGroup->Style()->LookAndFeel());
}

TcxCustomRadioGroupButton::~TcxCustomRadioGroupButton() { FRadioGroup->RemoveButton(this); }

Integer TcxCustomRadioGroupButton::IndexInGroup() const {
  for (Integer i = 0; i < FRadioGroup->ButtonCount(); ++i)
    if (FRadioGroup->Buttons(i) == this) return i;
  return -1;
}

bool TcxCustomRadioGroupButton::UsesDC(HDC ADC) {
  TCanvas* canvas = Canvas() ? Canvas()->Canvas : nullptr;
  return canvas && canvas->HandleAllocated() && canvas->Handle() == ADC;
}

void TcxCustomRadioGroupButton::CheckWithClick() {
  ClicksDisabled = false;
  SetChecked(true);
}

bool TcxCustomRadioGroupButton::IsInplace() { return FRadioGroup->IsInplace(); }
bool TcxCustomRadioGroupButton::PaintsThemedParentBackground() { return FRadioGroup->UsesParentBackground(); }
bool TcxCustomRadioGroupButton::IsNativeStyle() { return FRadioGroup->IsButtonNativeStyle(); }
bool TcxCustomRadioGroupButton::PaintsTransparent() { return FRadioGroup->IsTransparent(); }
bool TcxCustomRadioGroupButton::CanFocus() { return FRadioGroup->CanFocusWithParentForm(); }
TcxContainer* TcxCustomRadioGroupButton::ControlContainer() { return FRadioGroup; }

bool TcxCustomRadioGroupButton::ExecuteAction(TBasicAction* Action) {
  return FRadioGroup->DataBinding()->ExecuteActionHook(Action);
}

bool TcxCustomRadioGroupButton::UpdateAction(TBasicAction* Action) {
  return FRadioGroup->DataBinding()->UpdateActionHook(Action);
}

void TcxCustomRadioGroupButton::Click() {
  TcxRadioButton::Click();
  if (!FRadioGroup->ComponentState().Contains(csLoading)) FRadioGroup->Click();
}

void TcxCustomRadioGroupButton::KeyPress(char32_t& Key) {
  TcxRadioButton::KeyPress(Key);
  if ((Key == U'\b' || Key == U' ') && !FRadioGroup->CanModifyValue()) Key = 0;
}

// Arriving at a button checks it, as the user's change of the group's
// value; the radio button's own arrival (and its OnEnter) does not run.
void TcxCustomRadioGroupButton::DoEnter() {
  FRadioGroup->RecalculateAtCursor(false);
  if (Checked()) return;
  FRadioGroup->LockChangeEvents(true);
  ScopeExit unlocked([this] { FRadioGroup->LockChangeEvents(false); });
  const bool focused = Focused();
  if (!focused || FRadioGroup->QueryEditing()) {
    const bool wasChanging = FRadioGroup->UserChanging();
    FRadioGroup->SetUserChanging(focused);
    ScopeExit restored([this, wasChanging] { FRadioGroup->SetUserChanging(wasChanging); });
    FRadioGroup->SetItemIndex(IndexInGroup());
  }
  if (focused && FRadioGroup->ActiveProperties()->ImmediatePost() && FRadioGroup->CanPostEditValue() &&
      FRadioGroup->ValidateDisplayText(true))
    FRadioGroup->PostEditValue(false);
}

void TcxCustomRadioGroupButton::DoExit() {
  TcxRadioButton::DoExit();
  FRadioGroup->RecalculateAtCursor(false);
}

void TcxCustomRadioGroupButton::ButtonNotified(WORD Code) {
  if (FInCommand) return;
  FInCommand = true;
  ScopeExit done([this] { FInCommand = false; });
  try {
    if ((Code == BN_CLICKED || Code == BN_DOUBLECLICKED) &&
        (Checked() || (FRadioGroup->CanModifyValue() && FRadioGroup->QueryEditing())))
      TcxRadioButton::ButtonNotified(Code);
  } catch (const Exception&) {
    if (Application) Application->HandleException(this);
  }
}

void TcxCustomRadioGroupButton::DefaultHandler(TMessage& Message) {
  if (FRadioGroup->HandleInnerDefaultMessage(Message)) return;
  TcxRadioButton::DefaultHandler(Message);
}

void TcxCustomRadioGroupButton::WndProc(TMessage& Message) {
  if (FRadioGroup->HandleInnerDialogKey(Message)) return;
  const bool destroying = ComponentState().Contains(csDestroying);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Dragging takes the whole group along.
      if (FRadioGroup->DragMode() == dmAutomatic && !ComponentState().Contains(csDesigning)) {
        FRadioGroup->BeginAutoDrag();
        return;
      }
      break;
    case WM_GETDLGCODE:
      TcxRadioButton::WndProc(Message);
      if (FRadioGroup->IsInplace()) Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TcxRadioButton::WndProc(Message);
      if (!destroying && !FRadioGroup->IsBeingDestroyed() &&
          (!FRadioGroup->HandleAllocated() || reinterpret_cast<HWND>(Message.WParam) != FRadioGroup->Handle()))
        FRadioGroup->FocusChanged();
      return;
    default:
      break;
  }
  TcxRadioButton::WndProc(Message);
}

// --- the radio group ------------------------------------------------------------------------

namespace {

TcxCustomEditKind RadioGroupKind(TClass APropertiesClass) {
  TcxCustomEditKind kind;
  kind.PropertiesClass = APropertiesClass;
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxCustomRadioGroupViewInfo>;
  return kind;
}

}  // namespace

TcxCustomRadioGroup::TcxCustomRadioGroup(TComponent* AOwner, bool AIsInplace)
    : TcxCustomRadioGroup(AOwner, AIsInplace, RadioGroupKind(TcxCustomRadioGroupProperties::StaticClass())) {}

TcxCustomRadioGroup::TcxCustomRadioGroup(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomButtonGroup(AOwner, AIsInplace, AKind) {
  SetUpRadioGroup();
}

void TcxCustomRadioGroup::SetUpRadioGroup() {
  const bool parentBackground = ControlStyle.Contains(csParentBackground);
  // The buttons are the only children.
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  if (parentBackground) ControlStyle += csParentBackground;
  FPendingItemIndex = -1;
  SetAutoSize(false);
  SetBounds(Left(), Top(), 185, 105);
}

TWinControl* TcxCustomRadioGroup::CreateButton() { return new TcxCustomRadioGroupButton(this); }

Integer TcxCustomRadioGroup::ItemIndex() {
  for (Integer i = 0; i < ButtonCount(); ++i)
    if (RadioButton(i)->Checked()) return i;
  return -1;
}

void TcxCustomRadioGroup::SetItemIndex(Integer Value) {
  if (IsReadingState()) {
    FPendingItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, Integer{-1}, ButtonCount() - 1);
  Variant value;
  DisplayValueToEditValue(Value, value, IsEditFocused());
  ApplyEditValueAndIndex(value, Value);
}

void TcxCustomRadioGroup::ApplyEditValueAndIndex(const Variant& Value, Integer AIndex) {
  TcxCustomButtonGroup::ApplyEditValue(Value);
  // A value of an item without a button yet (its buttons come later) checks
  // none.
  if (AIndex >= ButtonCount()) AIndex = -1;
  const Integer checked = ItemIndex();
  if (checked != AIndex) {
    if (AIndex < 0) {
      RadioButton(checked)->SetChecked(false);
    } else {
      RadioButton(AIndex)->CheckWithClick();
    }
    if (ComponentState().Contains(csLoading)) FPendingItemIndex = ItemIndex();
    NotifyChange();
  } else if (!UserChanging()) {
    SetModifiedState(false);
  }
  RecalculateAtCursor(false);
}

void TcxCustomRadioGroup::ApplyEditValue(const Variant& Value) {
  ApplyEditValueAndIndex(Value, ActiveRadioProperties()->IndexOfValue(Value));
}

void TcxCustomRadioGroup::DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool) {
  TcxCustomRadioGroupProperties* properties = ActiveRadioProperties();
  const Integer index = VarIsNull(DisplayValue) || VarIsEmpty(DisplayValue) ? -1 : DisplayValue.AsInteger();
  if (index < 0 || index >= properties->Items()->Count()) {
    AEditValue = properties->DefaultValue();
    return;
  }
  TcxRadioGroupItem* item = properties->RadioItems()->ItemAt(index);
  AEditValue = VarIsNull(item->Value()) ? Variant(item->Caption()) : item->Value();
}

void TcxCustomRadioGroup::ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxCustomButtonGroup::ActivateEditing(AEditData);
  if (ButtonCount() == 0) return;
  TWinControl* button = Buttons(std::max(ItemIndex(), Integer{0}));
  if (button->CanFocus()) button->SetFocus();
}

bool TcxCustomRadioGroup::HasFocus() {
  if (FocusedButtonIndex() >= 0) return false;
  return TcxContainer::Focused();
}

bool TcxCustomRadioGroup::IsOwnScrollControl(TControl* AControl) {
  if (!AControl) return false;
  if (TcxCustomButtonGroup::IsOwnScrollControl(AControl)) return true;
  for (Integer i = 0; i < ButtonCount(); ++i)
    if (Buttons(i) == AControl) return true;
  return false;
}

void TcxCustomRadioGroup::GetTabOrderList(std::vector<TWinControl*>& List) {
  TcxCustomButtonGroup::GetTabOrderList(List);
  if (!TabStop()) List.erase(std::remove(List.begin(), List.end(), this), List.end());
  const Integer checked = ItemIndex();
  if (checked >= 0) List.push_back(Buttons(checked));
}

void TcxCustomRadioGroup::ParentBackgroundChanged() {
  TcxCustomButtonGroup::ParentBackgroundChanged();
  for (Integer i = 0; i < ButtonCount(); ++i) Buttons(i)->SetParentBackground(ParentBackground());
}

void TcxCustomRadioGroup::CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) {
  // The checked mark is needed where the group paints its own marks.
  static_cast<TcxCustomRadioGroupViewInfo*>(ViewInfo())->CheckedIndex = ItemIndex();
  TcxCustomButtonGroup::CalculateViewInfo(P, AIsMouseEvent);
}

void TcxCustomRadioGroup::UpdateButtons() {
  const Integer checked = ItemIndex();
  TcxCustomButtonGroup::UpdateButtons();
  if (IsReadingState()) return;
  SetItemIndex(checked);
  TcxCustomRadioGroupProperties* properties = ActiveRadioProperties();
  const Integer count = std::min(ButtonCount(), properties->Items()->Count());
  for (Integer i = 0; i < count; ++i) {
    RadioButton(i)->SetCaption(properties->Items()->Items(i)->Caption());
    RadioButton(i)->SetWordWrap(properties->WordWrap());
  }
}

void TcxCustomRadioGroup::SyncButtonsStyle() {
  TcxCustomButtonGroup::SyncButtonsStyle();
  TcxButtonGroupViewInfo* vi = GroupViewInfo();
  if (vi->ButtonCount() == 0) return;
  const TcxLookAndFeelKind kind = KindOfButtonStyle(vi->Button(0)->Style);
  for (Integer i = 0; i < ButtonCount(); ++i) {
    TcxCustomRadioGroupButton* button = RadioButton(i);
    button->LookAndFeel()->SetKind(kind);
    if (!button->Enabled()) button->Font()->SetColor(StyleDisabled()->TextColor());
    button->SetTransparent(Transparent());
  }
}

bool TcxCustomRadioGroup::IsButtonDC(HDC ADC) {
  for (Integer i = 0; i < ButtonCount(); ++i)
    if (RadioButton(i)->UsesDC(ADC)) return true;
  return false;
}

void TcxCustomRadioGroup::Loaded() {
  TcxCustomButtonGroup::Loaded();
  if (!IsDataAware()) SetEditValue(ActiveRadioProperties()->DefaultValue());
  LockChangeEvents(true);
  LockClick(true);
  ScopeExit unlocked([this] {
    LockClick(false);
    LockChangeEvents(false, false);
  });
  SetItemIndex(FPendingItemIndex);
}

void TcxCustomRadioGroup::SetDragMode(TDragMode Value) {
  TcxCustomButtonGroup::SetDragMode(Value);
  for (Integer i = 0; i < ButtonCount(); ++i) Buttons(i)->SetDragMode(Value);
}

void TcxCustomRadioGroup::AssignDragKind(TDragKind Value) {
  TcxCustomButtonGroup::AssignDragKind(Value);
  for (Integer i = 0; i < ButtonCount(); ++i) Buttons(i)->DragKind = Value;
}

void TcxCustomRadioGroup::Resize() {
  TcxCustomButtonGroup::Resize();
  // The parent's picture behind the buttons moves with the size.
  if (ComponentState().Contains(csDesigning) && UsesParentBackground()) Invalidate();
}

void TcxCustomRadioGroup::CMCtl3DChanged(TMessage& Message) {
  TcxCustomButtonGroup::CMCtl3DChanged(Message);
  RecalculateAtCursor(false);
}

void TcxCustomRadioGroup::WndProc(TMessage& Message) {
  if (Message.Msg != CM_FOCUSRADIOBUTTON) {
    TcxCustomButtonGroup::WndProc(Message);
    return;
  }
  const auto index = static_cast<Integer>(Message.WParam);
  if (index >= 0 && index < ButtonCount() && Buttons(index)->CanFocus()) Buttons(index)->SetFocus();
}

TcxRadioGroup::TcxRadioGroup(TComponent* AOwner, bool AIsInplace)
    : TcxCustomRadioGroup(AOwner, AIsInplace, RadioGroupKind(TcxRadioGroupProperties::StaticClass())) {}

// --- start-up -----------------------------------------------------------------------------

void InitializeRadioGroup() {
  static bool done = false;
  if (done) return;
  done = true;
  gRadioButtonSize = MeasureRadioButton();
  RegisterClasses({TcxRadioButton::StaticClass(), TcxRadioGroupItem::StaticClass(),
                   TcxRadioGroupProperties::StaticClass(), TcxRadioGroup::StaticClass(),
                   TcxEditRepositoryRadioGroupItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxRadioGroupProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryRadioGroupItem));
}

