#include "suite/editors/cxEditViewData.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/win/Input.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

VXN_IMPLEMENT_CLASS(TcxCustomEditViewData, TPersistent)

namespace {

constexpr Integer MaxTextExtent = 536870912;  // 2 to the 29th
constexpr Integer EditTextPart = 1;

struct DefaultStyles {
  TcxEditButtonStyle button;
  TcxEditPopupBorderStyle popupBorder;
};

// By TcxEditBorderStyle.
constexpr DefaultStyles kByBorderStyle[] = {
    {btsSimple, epbsFlat},        // ebsNone
    {btsHotFlat, epbsSingle},     // ebsSingle
    {bts3D, epbsSingle},          // ebsThick
    {btsFlat, epbsFlat},          // ebsFlat
    {bts3D, epbsSingle},          // ebs3D
    {btsUltraFlat, epbsSingle},   // ebsUltraFlat
    {btsOffice11, epbsSingle},    // ebsOffice11
};

// By TcxLookAndFeelKind.
constexpr DefaultStyles kByLookAndFeelKind[] = {
    {btsFlat, epbsFlat},          // lfFlat
    {bts3D, epbsFrame3D},         // lfStandard
    {btsUltraFlat, epbsSingle},   // lfUltraFlat
    {btsOffice11, epbsSingle},    // lfOffice11
};

const DefaultStyles& ByBorderStyle(TcxEditBorderStyle AStyle) {
  const auto i = static_cast<size_t>(AStyle);
  return kByBorderStyle[i < std::size(kByBorderStyle) ? i : 0];
}

const DefaultStyles& ByLookAndFeelKind(TcxLookAndFeelKind AKind) {
  const auto i = static_cast<size_t>(AKind);
  return kByLookAndFeelKind[i < std::size(kByLookAndFeelKind) ? i : 1];
}

TRect Shrunk(const TRect& R, const TRect& E) {
  return {R.Left + E.Left, R.Top + E.Top, R.Right - E.Right, R.Bottom - E.Bottom};
}

bool IsZeroRect(const TRect& R) { return R.Left == 0 && R.Top == 0 && R.Right == 0 && R.Bottom == 0; }

constexpr TShiftState kMouseShift{ssLeft, ssRight, ssMiddle, ssDouble};
constexpr TShiftState kMouseButtons{ssLeft, ssRight, ssMiddle};

bool IsLeftPressAlone(TShiftState AShift) {
  return AShift == TShiftState{ssLeft} || AShift == TShiftState{ssLeft, ssDouble};
}

Integer EditBorderWidth(TcxEditBorderStyle AStyle) {
  return ContainerBorderWidth(static_cast<TcxContainerBorderStyle>(AStyle));
}

// The content margins of the edit-text part, measured on a 100 x 100 rect.
TRect EditTextContentMargins() {
  const TRect box{0, 0, 100, 100};
  const TRect content =
      UxGetThemeBackgroundContentRect(OpenThemeByIndex(ThemeClassEdit), nullptr, EditTextPart, 1, box);
  return {content.Left, content.Top, box.Right - content.Right, box.Bottom - content.Bottom};
}

TcxCustomEditStyle* NormalEditStyleOf(TcxCustomEditStyle* AStyle) {
  return AStyle->IsNormalStyle() ? AStyle : static_cast<TcxCustomEditStyle*>(AStyle->BaseStyle());
}

}  // namespace

TcxEditButtonStyle DefaultButtonStyleOf(TcxEditBorderStyle ABorderStyle) { return ByBorderStyle(ABorderStyle).button; }

TcxEditPopupBorderStyle DefaultPopupBorderStyleOf(TcxEditBorderStyle ABorderStyle) {
  return ByBorderStyle(ABorderStyle).popupBorder;
}

TcxEditButtonStyle DefaultInplaceButtonStyleOf(TcxLookAndFeelKind AKind) { return ByLookAndFeelKind(AKind).button; }

TcxEditPopupBorderStyle DefaultInplacePopupBorderStyleOf(TcxLookAndFeelKind AKind) {
  return ByLookAndFeelKind(AKind).popupBorder;
}

std::unique_ptr<TcxCustomEditViewData> CreateEditViewData(TcxCustomEditViewDataClass AClass,
                                                          TcxCustomEditProperties* AProperties,
                                                          TcxCustomEditStyle* AStyle, bool AIsInplace) {
  std::unique_ptr<TcxCustomEditViewData> viewData = AClass->Create();
  viewData->Construct(AProperties, AStyle, AIsInplace);
  return viewData;
}

// --- construction -------------------------------------------------------------------

TcxCustomEditViewData::TcxCustomEditViewData() = default;
TcxCustomEditViewData::~TcxCustomEditViewData() = default;

void TcxCustomEditViewData::Construct(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle,
                                      bool AIsInplace) {
  Properties = AProperties;
  IsInplace = AIsInplace;
  Style = AStyle;
  ResetState();
  MaxTextWidth = MaxTextExtent;
  MaxTextHeight = MaxTextExtent;
  InitializeFromProperties();
}

void TcxCustomEditViewData::ResetState() {
  Enabled = true;
  InplaceOffsets = TRect{};
}

void TcxCustomEditViewData::InitializeFromProperties() {
  VisibleButtonCount = Properties->Buttons()->VisibleCount();
  TcxEditAlignment* alignment = Properties->Alignment();
  HorzAlignment = alignment->Horz();
  VertAlignment = alignment->Vert();
  NativeStyle = Properties->ViewDataClass()->IsNativeLookAndFeel(Style->LookAndFeel());
  FillContentParams(ContentParams);
}

void TcxCustomEditViewData::FillContentParams(TcxEditContentParams& AParams) {
  ContentOffsets(AParams.Offsets);
  AParams.ExtraWidth = 3 - AParams.Offsets.Left - AParams.Offsets.Right;
  AParams.NativeHeightCorrection =
      NativeStyle ? NativeContentHeightCorrection(Properties->Buttons()->Count(), IsInplace) : 0;
}

void TcxCustomEditViewData::ContentOffsets(TRect& R) { R = IsInplace ? TRect{1, 1, 1, 1} : TRect{1, 1, 1, 3}; }

bool TcxCustomEditViewData::IsNativeLookAndFeel(TcxLookAndFeel* ALookAndFeel) {
  return ALookAndFeel && NativeThemeInEffect(ALookAndFeel->NativeStyle(), ThemeClassEdit);
}

TcxContainer* TcxCustomEditViewData::EditControl() const { return dynamic_cast<TcxContainer*>(Edit); }

// --- display text ---------------------------------------------------------------------

void TcxCustomEditViewData::ValueDisplayText(const Variant& AValue, std::string& AText) {
  const Variant value = AValue;
  EditValueToDisplayText(value, AText);
  AdjustDisplayText(AText);
}

void TcxCustomEditViewData::AdjustDisplayText(std::string& AText) {
  if (OnGetDisplayText) OnGetDisplayText(this, AText);
}

bool TcxCustomEditViewData::FocusState() { return Edit ? Edit->IsEditFocused() : Focused; }

// --- state, border and extents ------------------------------------------------------------

TcxContainerStateFlags TcxCustomEditViewData::CalculateContainerState(const TRect& ABounds, const TPoint& P,
                                                                      Integer, TShiftState AShift, bool) {
  TcxContainerStateFlags state;
  if (!Enabled)
    state = csDisabled;
  else if (IsDesigning)
    state = csNormal;
  else
    state = Focused ? csFocused : csNormal;
  TcxContainer* edit = EditControl();
  const TRect hotArea = edit ? edit->GetBorderDrawRect() : Shrunk(ABounds, InplaceOffsets);
  const bool captured = edit && edit->HandleAllocated() && win::GetCapture() == edit->Handle();
  if (cxRectPtIn(hotArea, P) && ((AShift * kMouseButtons).Empty() || captured)) state |= csHot;
  return state;
}

TcxEditBorderStyle TcxCustomEditViewData::EffectiveBorderStyle() {
  if (IsInplace) return ebsNone;
  const TcxEditBorderStyle style = Style->EditBorderStyle();
  return style == ebsUltraFlat || style == ebsOffice11 ? ebsSingle : style;
}

TColor TcxCustomEditViewData::CalculateBorderColor() {
  const TcxEditBorderStyle style = Style->EditBorderStyle();
  if (style != ebsUltraFlat && style != ebsOffice11) return Style->BorderColor();
  const bool highlighted = (FStateFlags & csFocused) || ((FStateFlags & csHot) && Style->HotTrack()) ||
                           (IsDesigning && Enabled);
  return highlighted ? HighlightedBorderColor(style == ebsOffice11) : clBtnShadow;
}

bool TcxCustomEditViewData::HasShadow() {
  return EditHasShadow(Style->Shadow(), IsNativeLookAndFeel(Style->LookAndFeel()));
}

void TcxCustomEditViewData::BorderExtent(TRect& R) {
  if (IsInplace) {
    R = InplaceOffsets;
    return;
  }
  R = ContainerBorderExtents(Style->TransparentBorder(), Style->IsStyleActive(),
                             IsNativeLookAndFeel(Style->LookAndFeel()), Style->EditBorderStyle() == ebsNone,
                             EditBorderWidth(EffectiveBorderStyle()), Style->Edges(), HasShadow());
}

void TcxCustomEditViewData::ClientExtent(TcxCanvas*, TRect& R) {
  if (IsInplace) {
    R = InplaceOffsets;
  } else if (!NativeStyle) {
    BorderExtent(R);
  } else {
    const TcxEditBorderStyle normalBorder = NormalEditStyleOf(Style)->EditBorderStyle();
    if (!Style->TransparentBorder() && normalBorder == ebsNone)
      R = {0, 0, 0, 0};
    else if (normalBorder != ebsNone)
      R = EditTextContentMargins();
    else
      R = {2, 2, 2, 2};
  }
}

void TcxCustomEditViewData::ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  BorderExtent(R);
  if (Properties->ButtonsViewStyle() != 0 && AViewInfo->ButtonCount() > 0) {
    TRect client;
    ClientExtent(ACanvas, client);
    R.Left = client.Left;
    R.Right = client.Right;
  }
  if (HScrollBar) R.Bottom += HScrollBar->Height();
  if (VScrollBar) R.Right += VScrollBar->Width();
  for (const auto& b : AViewInfo->Buttons) {
    if (b->LeftAlignment)
      R.Left = std::max(R.Left, b->Bounds.Right - FBounds.Left);
    else
      R.Right = std::max(R.Right, FBounds.Right - b->Bounds.Left);
  }
}

// --- layout -----------------------------------------------------------------------------

void TcxCustomEditViewData::CalculateStateAndBorder(const TRect& ABounds, const TPoint& P, Integer AButton,
                                                    TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                                    bool AIsMouseEvent) {
  for (Integer pass = 0; pass < 2; ++pass) {
    FStateFlags = CalculateContainerState(ABounds, P, AButton, AShift, AIsMouseEvent);
    AViewInfo->StateFlags = FStateFlags;
    FFocusedOrHot = (FStateFlags & (csFocused | csHot)) != 0;
    if (IsDesigning || IsInplace || !Style->HotTrack())
      AViewInfo->EditHoverLevel = 0;
    else
      AViewInfo->EditHoverLevel = FFocusedOrHot ? 2 : 1;
    if (TcxContainer* edit = EditControl())
      if (auto* active = dynamic_cast<TcxCustomEditStyle*>(edit->ActiveStyle())) Style = active;
    FBorderInUse = IsInplace || !NativeStyle ? EffectiveBorderStyle() : NormalEditStyleOf(Style)->EditBorderStyle();
    // A thinner border moves the area the hot test sees: test once more.
    const bool thinner = EditBorderWidth(FBorderInUse) < EditBorderWidth(AViewInfo->EditBorderStyle);
    AViewInfo->EditBorderStyle = FBorderInUse;
    AViewInfo->BorderStyle = static_cast<TcxContainerBorderStyle>(FBorderInUse);
    if (IsInplace || NativeStyle || !thinner) break;
  }
}

void TcxCustomEditViewData::CalculateEditRectangles(TcxCustomEditViewInfo* AViewInfo, const TRect& ABounds) {
  TcxCustomEditViewInfo& vi = *AViewInfo;
  vi.NativeDrawing = NativeStyle;
  if (NativeStyle) {
    vi.ThemedObjectKind = ThemeClassEdit;
    vi.ThemePart = EditTextPart;
    if (!Enabled)
      vi.ThemeState = 4;
    else if (Properties->ReadOnly())
      vi.ThemeState = 6;
    else if (FStateFlags & csFocused)
      vi.ThemeState = 5;
    else if (FStateFlags & csHot)
      vi.ThemeState = 2;
    else
      vi.ThemeState = 1;
  }
  TRect border;
  BorderExtent(border);
  vi.InsideBorderRect = Shrunk(ABounds, border);
  vi.ClientRect = vi.InsideBorderRect;
  if (!IsInplace) vi.BorderColor = CalculateBorderColor();
  vi.TextColor = Style->TextColor();
  vi.FillColor = Style->Color();
  TcxContainer* edit = EditControl();
  if (NativeStyle && !Enabled && !Style->IsStyleValueAssigned(svColor) && !(edit && edit->ParentColor())) {
    win::COLORREF fill = 0;
    if (UxGetThemeColor(OpenThemeByIndex(ThemeClassEdit), EditTextPart, vi.ThemeState, win::TMT_FILLCOLOR, fill) ==
        win::S_OK)
      vi.FillColor = static_cast<TColor>(fill);
  }
}

void TcxCustomEditViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                                          TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomEditViewInfo& vi = *AViewInfo;
  AShift = AShift * kMouseShift;
  CalculateStateAndBorder(ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  vi.Properties = Properties;

  const Byte viewStyle = Properties->ButtonsViewStyle();
  ButtonsOnly = IsInplace ? (ABounds.Right != INT_MAX && viewStyle != 0) : viewStyle == 1;

  FBounds = ABounds;
  vi.WholeRect = ABounds;
  TcxContainer* edit = EditControl();
  vi.Enabled = Enabled;
  vi.Focused = Focused;
  vi.EraseBackground = edit && edit->NeedsParentBackground();
  vi.InnerEditVisible = Edit && Edit->InnerEditVisible();
  vi.PaintingCopy = edit && edit->ControlState.Contains(csPaintCopy);
  vi.HasInnerControl = dynamic_cast<IcxContainerInnerControl*>(Edit) != nullptr;
  vi.IsDesigning = IsDesigning;
  vi.IsInplace = IsInplace;
  vi.HasInplaceMargins = !IsZeroRect(InplaceOffsets);
  vi.ExtraFlags = (Extra ? cxEditExtraFlag : 0) | (vi.HasInplaceMargins ? cxEditHasInplaceMargins : 0) |
                  (ContentParams.KindFlag ? cxEditContentKindFlag : 0);
  vi.Edges = Style->Edges();
  vi.Font = Style->Font();
  vi.ShadowOn = !IsInplace && HasShadow();
  vi.WindowHandle = WindowHandle;

  CalculateEditRectangles(AViewInfo, ABounds);
  CalculateButtons(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);

  TRect content;
  ContentExtent(ACanvas, AViewInfo, content);
  vi.InnerControlRect = Shrunk(ABounds, content);
  if (InnerEdit && InnerEdit->Control())
    vi.InnerEditRect = InnerEdit->Control()->BoundsRect();
  else
    vi.InnerEditRect = vi.InnerControlRect;
  vi.PopupBorderStyle = ResolvedPopupBorderStyle(FBorderInUse);
}

TcxEditButtonStyle TcxCustomEditViewData::ResolvedButtonStyle() {
  const TcxEditButtonStyle style = Style->ButtonStyle();
  if (style != btsDefault) return style;
  // The style's own border: the one in use counts ultra-flat and Office 11
  // as single, which would never give their own buttons.
  return IsInplace ? DefaultInplaceButtonStyleOf(Style->LookAndFeel()->Kind())
                   : DefaultButtonStyleOf(Style->EditBorderStyle());
}

TcxEditPopupBorderStyle TcxCustomEditViewData::ResolvedPopupBorderStyle(TcxEditBorderStyle ABorderInUse) {
  const TcxEditPopupBorderStyle style = Style->PopupBorderStyle();
  if (style != epbsDefault) return style;
  return IsInplace ? DefaultInplacePopupBorderStyleOf(Style->LookAndFeel()->Kind())
                   : DefaultPopupBorderStyleOf(ABorderInUse);
}

TcxEditButton* TcxCustomEditViewData::EditButton(TcxEditButtonViewInfo* AButtonViewInfo) const {
  return Properties->Buttons()->Items(AButtonViewInfo->ButtonIndex);
}

// --- buttons ----------------------------------------------------------------------------

void TcxCustomEditViewData::CalculateButtons(TcxCanvas* ACanvas, const TRect&, const TPoint& P, Integer AButton,
                                             TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                             bool AIsMouseEvent) {
  TcxCustomEditViewInfo& vi = *AViewInfo;
  const TcxEditButtonTransparency transparency = Style->ButtonTransparency();
  if (VisibleButtonCount == 0 || (!Focused && transparency == ebtHideInactive) ||
      (!FFocusedOrHot && transparency == ebtHideUnselected)) {
    vi.SetButtonCount(0);
    return;
  }
  vi.SetButtonCount(VisibleButtonCount);
  vi.IsButtonReallyPressed = false;
  const Integer oldPressed = AIsMouseEvent ? vi.PressedButton : -1;
  vi.PressedButton = -1;
  vi.HotButton = -1;
  LeftSideLeftmostButtonIndex = LeftSideRightmostButtonIndex = -1;
  RightSideLeftmostButtonIndex = RightSideRightmostButtonIndex = -1;

  const TcxEditButtonStyle buttonStyle = ResolvedButtonStyle();
  TRect client;
  ClientExtent(ACanvas, client);
  TRect r = Shrunk(vi.WholeRect, client);
  bool fontPrepared = false;
  TcxEditButtons* buttons = Properties->Buttons();
  Integer index = VisibleButtonCount;
  for (Integer i = buttons->Count() - 1; i >= 0 && index > 0; --i) {
    TcxEditButton* button = buttons->Items(i);
    if (!button->Visible()) continue;
    --index;
    TcxEditButtonViewInfo* b = vi.Button(index);
    b->ButtonIndex = i;
    b->Style = buttonStyle;
    if (button->Kind() == bkText && !fontPrepared) {
      ACanvas->AssignFont(Style->Font());
      vi.PrepareTextFont(ACanvas->Font());
      fontPrepared = true;
    }
    InitializeButtonViewInfo(ACanvas, AViewInfo, index, r);
  }
  DistributeButtonsExtraWidth(AViewInfo, r.Right - r.Left);
  CalculateButtonStates(AViewInfo, P, AButton, AShift, oldPressed);
  MarkButtonEdges(AViewInfo);
}

void TcxCustomEditViewData::InitializeButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                                     Integer AIndex, TRect& R) {
  TcxCustomEditViewInfo& vi = *AViewInfo;
  TcxEditButtonViewInfo* b = vi.Button(AIndex);
  TcxEditButton* button = EditButton(b);
  b->Kind = button->Kind();
  if (b->Kind == bkText) {
    b->Caption = button->Caption();
    b->VisibleCaption = button->VisibleCaption();
    b->TextColor = button->TextColor();
  } else {
    b->Caption.clear();
    b->VisibleCaption.clear();
  }
  b->Default = button->Default();
  b->Glyph = button->HasGlyph() ? button->Glyph() : nullptr;
  b->LeftAlignment = button->LeftAlignment();
  b->Stretchable = button->Stretchable();
  b->EraseBackground = vi.EraseBackground;
  b->Gradient = Style->GradientButtons();
  b->IsInplace = IsInplace;
  b->NativeStyle = NativeStyle;
  b->SingleDropDown = VisibleButtonCount == 1 && b->Kind == bkDown;
  b->Width = button->Width();
  if (b->Width == 0 && OnGetDefaultButtonWidth) OnGetDefaultButtonWidth(this, b->ButtonIndex, b->Width);
  const TcxEditButtonTransparency transparency = Style->ButtonTransparency();
  b->Transparent = transparency == ebtAlways || (transparency == ebtInactive && !FFocusedOrHot);
  b->BackgroundColor = vi.FillColor;
  CalculateButtonBounds(ACanvas, AViewInfo, AIndex, R);
}

void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                                  Integer AIndex, TRect& R) {
  TcxEditButtonViewInfo* b = AViewInfo->Button(AIndex);
  if (cxRectIsEmpty(R)) {
    b->Bounds = b->VisibleBounds = TRect{};
    return;
  }
  const Integer width = CalcEditButtonWidth(ACanvas, b);
  const Integer visible = std::min(width, R.Right - R.Left);
  if (b->LeftAlignment) {
    b->Bounds = {R.Left, R.Top, R.Left + width, R.Bottom};
    b->VisibleBounds = {R.Left, R.Top, R.Left + visible, R.Bottom};
    R.Left += visible;
    if (LeftSideLeftmostButtonIndex == -1) LeftSideLeftmostButtonIndex = AIndex;
    LeftSideRightmostButtonIndex = AIndex;
  } else {
    b->Bounds = {R.Right - width, R.Top, R.Right, R.Bottom};
    b->VisibleBounds = {R.Right - visible, R.Top, R.Right, R.Bottom};
    R.Right -= visible;
    if (RightSideRightmostButtonIndex == -1) RightSideRightmostButtonIndex = AIndex;
    RightSideLeftmostButtonIndex = AIndex;
  }
}

void TcxCustomEditViewData::DistributeButtonsExtraWidth(TcxCustomEditViewInfo* AViewInfo, Integer AExtraWidth) {
  if (!ButtonsOnly || AExtraWidth <= 0) return;
  auto& buttons = AViewInfo->Buttons;
  const bool anyStretchable = std::any_of(buttons.begin(), buttons.end(), [](const auto& b) { return b->Stretchable; });
  auto shares = [&](const TcxEditButtonViewInfo& b) { return b.Stretchable || !anyStretchable; };
  int64_t total = 0;
  Integer lastHandled = -1;
  for (Integer i = static_cast<Integer>(buttons.size()) - 1; i >= 0; --i) {
    if (!shares(*buttons[i])) continue;
    total += buttons[i]->Bounds.Width();
    lastHandled = i;
  }
  if (total <= 0) return;
  Integer left = AExtraWidth;
  // From the last button to the first, as they were laid out: a grown
  // button pushes the buttons laid out after it on its side.
  for (Integer i = static_cast<Integer>(buttons.size()) - 1; i >= 0; --i) {
    TcxEditButtonViewInfo& b = *buttons[i];
    if (!shares(b)) continue;
    const Integer grow = i == lastHandled ? left
                                          : static_cast<Integer>(static_cast<int64_t>(b.Bounds.Width()) * AExtraWidth /
                                                                 total);
    left -= grow;
    const Integer shift = b.LeftAlignment ? grow : -grow;
    if (b.LeftAlignment) {
      b.Bounds.Right += grow;
      b.VisibleBounds.Right += grow;
    } else {
      b.Bounds.Left -= grow;
      b.VisibleBounds.Left -= grow;
    }
    for (Integer j = i - 1; j >= 0; --j) {
      TcxEditButtonViewInfo& later = *buttons[j];
      if (later.LeftAlignment != b.LeftAlignment) continue;
      later.Bounds = cxRectOffset(later.Bounds, shift, 0);
      later.VisibleBounds = cxRectOffset(later.VisibleBounds, shift, 0);
    }
  }
}

void TcxCustomEditViewData::CalculateButtonStates(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, Integer AButton,
                                                  TShiftState AShift, Integer AOldPressedIndex) {
  TcxCustomEditViewInfo& vi = *AViewInfo;
  const Integer captured = Edit ? Edit->CapturedButtonIndex() : -1;
  for (Integer i = 0; i < vi.ButtonCount(); ++i) {
    TcxEditButtonViewInfo* b = vi.Button(i);
    const TcxEditButtonState old = b->State;
    TcxEditButtonState state = ebbsNormal;
    const bool forced = IsButtonForcedPressed(i);
    if (!Enabled || !EditButton(b)->Enabled()) {
      state = ebbsDisabled;
    } else if (forced || (!IsDesigning && cxRectPtIn(b->VisibleBounds, P))) {
      const bool backOnCaptured =
          AButton == cxmbNone && AShift.Contains(ssLeft) && old == ebbsNormal && i == captured;
      const bool pressedNow = AButton == cxmbLeft && IsLeftPressAlone(AShift);
      const bool stillPressed = old == ebbsPressed && AShift.Contains(ssLeft);
      if (forced || backOnCaptured || pressedNow || stillPressed) vi.IsButtonReallyPressed = true;
      if (forced || !AShift.Empty() || backOnCaptured) {
        const bool pressed =
            forced || (backOnCaptured && CanButtonBeHot(i)) ||
            (IsLeftPressAlone(AShift) && ((AButton == cxmbLeft && CanButtonBeHot(i)) || i == AOldPressedIndex)) ||
            stillPressed;
        state = pressed ? ebbsPressed : ebbsNormal;
        if (pressed) vi.PressedButton = i;
      } else if (CanButtonBeHot(i)) {
        state = ebbsHot;
        vi.HotButton = i;
      }
    }
    if (vi.OnPrepareButtonState) vi.OnPrepareButtonState(AViewInfo, i, state);
    b->State = state;
    CalculateButtonNativePart(b);
  }
}

void TcxCustomEditViewData::CalculateButtonNativePart(TcxEditButtonViewInfo* AButtonViewInfo) {
  SetButtonNativePart(AButtonViewInfo);
}

void TcxCustomEditViewData::MarkButtonEdges(TcxCustomEditViewInfo* AViewInfo) {
  for (auto& b : AViewInfo->Buttons) b->FirstEdge = b->LastEdge = false;
  auto mark = [&](Integer AIndex, bool AFirst) {
    if (AIndex < 0) return;
    (AFirst ? AViewInfo->Button(AIndex)->FirstEdge : AViewInfo->Button(AIndex)->LastEdge) = true;
  };
  mark(LeftSideLeftmostButtonIndex, true);
  mark(RightSideRightmostButtonIndex, false);
  const bool bothSides = ButtonsOnly && LeftSideLeftmostButtonIndex != -1 && RightSideRightmostButtonIndex != -1;
  if (!bothSides) {
    mark(LeftSideRightmostButtonIndex, false);
    mark(RightSideLeftmostButtonIndex, true);
  }
  if (ButtonsOnly)
    for (auto& b : AViewInfo->Buttons) b->LeftAlignment = false;
}

// --- measuring ----------------------------------------------------------------------------

void TcxCustomEditViewData::CalculateEditSize(TcxCanvas*, const Variant&, const TcxEditSizeLimits&, TSize& ASize) {
  ASize = {0, 0};
}

void TcxCustomEditViewData::TotalContentOffsets(TSize& ASize) {
  const TcxEditContentParams& p = ContentParams;
  ASize.cx = p.Offsets.Left + p.Offsets.Right + p.ExtraWidth;
  ASize.cy = p.Offsets.Top + p.Offsets.Bottom + p.NativeHeightCorrection;
}

void TcxCustomEditViewData::ContentSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                                        TSize& ASize) {
  if (Properties->ButtonsViewStyle() == 0) {
    CalculateEditSize(ACanvas, AValue, ALimits, ASize);
    return;
  }
  TotalContentOffsets(ASize);
  ACanvas->AssignFont(Style->Font());
  ASize.cx = 0;
  ASize.cy += ACanvas->MeasureTextHeight("Zg");
}

void TcxCustomEditViewData::MeasureFixedPart(TcxCanvas* ACanvas, bool AIsInplace, const TcxEditSizeLimits&,
                                             TSize& AExtraSize, TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize) {
  const TcxCustomEditViewInfo& vi = *AViewInfo;
  AFixedSize.cx = vi.WholeRect.Width() - vi.InnerControlRect.Width();
  AFixedSize.cy = vi.WholeRect.Height() - vi.InnerControlRect.Height();
  AExtraSize = {0, 0};
  Integer extraHeight = 0;
  bool fontAssigned = false;
  for (const auto& b : vi.Buttons) {
    if (b->Kind == bkGlyph && IsBitmapUsable(b->Glyph)) extraHeight = std::max(extraHeight, b->Glyph->Height());
    if (AIsInplace && b->Kind == bkText) {
      if (!fontAssigned) ACanvas->AssignFont(Style->Font());
      fontAssigned = true;
      extraHeight = std::max(extraHeight, ACanvas->MeasureTextHeight(b->VisibleCaption));
    }
  }
  if (extraHeight <= 0) return;
  TRect client;
  ClientExtent(ACanvas, client);
  AExtraSize.cy = std::max<Integer>(0, extraHeight + client.Top + client.Bottom +
                                           ButtonContentVerticalExtent(ACanvas, AViewInfo) - AFixedSize.cy);
}

void TcxCustomEditViewData::FixedPartSize(TcxCanvas* ACanvas, const TcxEditSizeLimits& ALimits, TSize& AExtraSize,
                                          TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize) {
  std::unique_ptr<TcxContainerViewInfo> temporary;
  if (!AViewInfo) {
    temporary = Properties->ViewInfoClass()();
    AViewInfo = static_cast<TcxCustomEditViewInfo*>(temporary.get());
    ComputeLayout(ACanvas, {0, 0, INT_MAX, INT_MAX}, {-1, -1}, cxmbNone, TShiftState{}, AViewInfo, false);
  }
  MeasureFixedPart(ACanvas, IsInplace, ALimits, AExtraSize, AViewInfo, AFixedSize);
}

void TcxCustomEditViewData::TotalEditSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                                          TcxCustomEditViewInfo* AViewInfo, TSize& ASize) {
  TSize extra{}, fixed{};
  FixedPartSize(ACanvas, ALimits, extra, AViewInfo, fixed);
  TcxEditSizeLimits limits = ALimits;
  bool exceeded = false;
  if (limits.Width >= 0) {
    limits.Width -= fixed.cx;
    if (limits.Width < 0) {
      limits.Width = 0;
      exceeded = true;
    }
  }
  TSize content{};
  ContentSize(ACanvas, AValue, limits, content);
  content.cx = std::max(content.cx, extra.cx);
  content.cy = std::max(content.cy, extra.cy);
  ASize.cx = exceeded ? ALimits.Width : fixed.cx + content.cx;
  ASize.cy = fixed.cy + content.cy;
  TcxContainer* edit = EditControl();
  if (IsInplace || !edit) return;
  TSizeConstraints* c = edit->Constraints();
  if (c->GetMaxWidth() > 0) ASize.cx = std::min(ASize.cx, c->GetMaxWidth());
  if (c->GetMinWidth() > 0) ASize.cx = std::max(ASize.cx, c->GetMinWidth());
  if (c->GetMaxHeight() > 0) ASize.cy = std::min(ASize.cy, c->GetMaxHeight());
  if (c->GetMinHeight() > 0) ASize.cy = std::max(ASize.cy, c->GetMinHeight());
}
