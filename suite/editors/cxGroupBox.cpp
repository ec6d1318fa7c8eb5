#include "suite/editors/cxGroupBox.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiText.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomGroupBoxProperties, TcxCustomEditProperties)
VXN_IMPLEMENT_CLASS(TcxGroupBoxButtonViewInfo, TcxEditButtonViewInfo)
VXN_IMPLEMENT_CLASS(TcxGroupBoxViewInfo, TcxCustomTextEditViewInfo)
VXN_IMPLEMENT_CLASS(TcxGroupBoxViewData, TcxCustomEditViewData)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomGroupBox, TcxCustomEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxGroupBox, TcxCustomGroupBox)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxButtonGroupItem, TCollectionItem)
VXN_IMPLEMENT_CLASS(TcxButtonGroupItems, TOwnedCollection)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomButtonGroupProperties, TcxCustomGroupBoxProperties)
VXN_IMPLEMENT_CLASS(TcxButtonGroupViewInfo, TcxGroupBoxViewInfo)
VXN_IMPLEMENT_CLASS(TcxButtonGroupViewData, TcxGroupBoxViewData)
VXN_IMPLEMENT_CLASS(TcxCustomButtonGroup, TcxCustomGroupBox)

VXN_PUBLISH(TcxButtonGroupItem) {
  using C = TcxButtonGroupItem;
  P.Property("Caption", &C::Caption, &C::SetCaption);
  P.Property("Tag", &C::Tag, &C::SetTag).Default(0);
}

VXN_PUBLISH(TcxGroupBox) {
  using C = TcxGroupBox;
  P.Property("Alignment", &C::Alignment, &C::SetAlignment).Default(alTopLeft);
  P.Property("CaptionBkColor", &C::CaptionBkColor, &C::SetCaptionBkColor).Type(TypeInfoColor()).Stored(false);
  P.Property("Color", &C::StyleColor, &C::SetStyleColor).Type(TypeInfoColor()).Stored(false);
  P.Property("Font", &C::StyleFont, &C::SetStyleFont).Stored(false);
  P.Property("LookAndFeel", &C::StyleLookAndFeel, &C::SetStyleLookAndFeel);
  P.Redeclare("ParentBackground").Default(true);
  P.Redeclare("ParentColor").Default(true);
  P.Redeclare("TabStop").Default(false);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Transparent", &C::Transparent, &C::SetTransparentLook).Default(false);
  PublishEditorEvents(P, cxpeDock);
}

namespace {

// The faces of the old raster fonts: they cannot be rotated. The platform
// maps them to scalable families, so their name tells as much as the
// metrics do.
bool IsRasterFace(const std::string& AName) {
  static const char* const faces[] = {"MS Sans Serif", "MS Serif", "System", "Terminal", "Small Fonts", "Courier",
                                      "Fixedsys"};
  for (const char* face : faces)
    if (EqualStrings(AName, face, false)) return true;
  return false;
}

TRect Offset(const TRect& R, Integer DX, Integer DY) { return cxRectOffset(R, DX, DY); }

void FillWith(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  if (cxRectIsEmpty(R)) return;
  ACanvas->SetBrushColor(AColor);
  ACanvas->Canvas->FillRect(R);
}

// Bands of AWidth along the sides in AEdges, each taken out of the clip
// once drawn, so that the next frame keeps inside them.
void FillBorderBands(TcxCanvas* ACanvas, const TRect& R, TColor AColor, Integer AWidth, TcxBorders AEdges) {
  const TRect bands[] = {{R.Left, R.Top, R.Left + AWidth, R.Bottom},
                         {R.Left, R.Top, R.Right, R.Top + AWidth},
                         {R.Right - AWidth, R.Top, R.Right, R.Bottom},
                         {R.Left, R.Bottom - AWidth, R.Right, R.Bottom}};
  const TcxBorder sides[] = {bLeft, bTop, bRight, bBottom};
  for (size_t i = 0; i < 4; ++i) {
    if (!AEdges.Contains(sides[i])) continue;
    FillWith(ACanvas, bands[i], AColor);
    ACanvas->ExcludeFromClip(bands[i]);
  }
}

TRect DeflateOnEdges(const TRect& R, Integer AWidth, TcxBorders AEdges) {
  return {R.Left + (AEdges.Contains(bLeft) ? AWidth : 0), R.Top + (AEdges.Contains(bTop) ? AWidth : 0),
          R.Right - (AEdges.Contains(bRight) ? AWidth : 0), R.Bottom - (AEdges.Contains(bBottom) ? AWidth : 0)};
}

}  // namespace

TcxCaptionSide CaptionSideOf(TcxCaptionAlignment AAlignment) {
  switch (AAlignment) {
    case alTopLeft:
    case alTopCenter:
    case alTopRight: return TcxCaptionSide::Top;
    case alBottomLeft:
    case alBottomCenter:
    case alBottomRight: return TcxCaptionSide::Bottom;
    case alLeftTop:
    case alLeftCenter:
    case alLeftBottom: return TcxCaptionSide::Left;
    case alRightTop:
    case alRightCenter:
    case alRightBottom: return TcxCaptionSide::Right;
    default: return TcxCaptionSide::Centre;
  }
}

// --- properties ----------------------------------------------------------------------------

TClass TcxCustomGroupBoxProperties::EditClass() { return TcxCustomGroupBox::StaticClass(); }
TcxCustomEditViewDataClass TcxCustomGroupBoxProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxGroupBoxViewData>();
}
TcxContainerViewInfoClass TcxCustomGroupBoxProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxGroupBoxViewInfo>;
}

// --- view data -----------------------------------------------------------------------------

bool TcxGroupBoxViewData::IsNativeLookAndFeel(TcxLookAndFeel* ALookAndFeel) {
  return ALookAndFeel &&
         NativeThemeInEffect(ALookAndFeel->NativeStyle() || ALookAndFeel->Kind() == lfOffice11, ThemeClassEdit);
}

TcxCaptionSide TcxGroupBoxViewData::SideWithRoom() {
  if (IsInplace || !GroupBox) return TcxCaptionSide::Centre;
  return CaptionSideOf(GroupBox->Alignment());
}

Integer TcxGroupBoxViewData::CaptionTextHeight() {
  TcxCanvas* canvas = ContainerScreenCanvas();
  canvas->AssignFont(GroupBox ? GroupBox->CaptionFont() : Style->Font());
  return canvas->MeasureTextHeight("Qq");
}

TcxContainerStateFlags TcxGroupBoxViewData::CalculateContainerState(const TRect&, const TPoint&, Integer, TShiftState,
                                                                     bool) {
  return Enabled ? csNormal : csDisabled;
}

TColor TcxGroupBoxViewData::CalculateBorderColor() {
  const TcxEditBorderStyle style = Style->EditBorderStyle();
  if (style != ebsUltraFlat && style != ebsOffice11) return Style->BorderColor();
  return Enabled ? HighlightedBorderColor(style == ebsOffice11) : clBtnShadow;
}

void TcxGroupBoxViewData::BorderExtent(TRect& R) {
  TcxCustomEditViewData::BorderExtent(R);
  const TcxCaptionSide side = SideWithRoom();
  if (side == TcxCaptionSide::Centre) return;
  const Integer th = CaptionTextHeight();
  switch (side) {
    case TcxCaptionSide::Top: R.Top = th / 2 + 1; break;
    case TcxCaptionSide::Bottom: R.Bottom = th / 2 + 1; break;
    case TcxCaptionSide::Left: R.Left = th / 2; break;
    default: R.Right = th / 2; break;
  }
}

void TcxGroupBoxViewData::ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  TcxCustomEditViewData::ContentExtent(ACanvas, AViewInfo, R);
  const TcxCaptionSide side = SideWithRoom();
  if (side == TcxCaptionSide::Centre) return;
  const Integer room = CaptionTextHeight() + 3;
  switch (side) {
    case TcxCaptionSide::Top: R.Top = room; break;
    case TcxCaptionSide::Bottom: R.Bottom = room; break;
    case TcxCaptionSide::Left: R.Left = room; break;
    default: R.Right = room; break;
  }
}

TRect TcxGroupBoxViewData::CalculateCaptionRect(const TRect& ABounds) {
  if (IsInplace || !GroupBox || GroupBox->CaptionText().empty()) return {};
  const Integer w = ABounds.Width(), h = ABounds.Height();
  TcxCanvas* canvas = ContainerScreenCanvas();
  canvas->AssignFont(GroupBox->CaptionFont());
  const Integer th = canvas->MeasureTextHeight("Qq");
  RECT measured{8, 0, 8, th};
  canvas->Canvas->RequiredState();
  const std::string& text = GroupBox->CaptionText();
  DrawText(canvas->DeviceContext(), text.c_str(), static_cast<int>(text.size()), &measured,
           GroupBox->CaptionDrawFlags() | DT_CALCRECT);
  const Integer tw = measured.right - measured.left;
  const Integer s = Style->Shadow() ? cxContainerShadowWidth : 0;
  const TcxCaptionAlignment alignment = GroupBox->Alignment();
  switch (alignment) {
    case alLeftTop: return {-1, 8, th - 1, 8 + tw};
    case alLeftCenter: {
      const Integer bottom = h - s - (h - s - tw) / 2;
      return {-1, bottom - tw, th - 1, bottom};
    }
    case alLeftBottom: return {-1, h - s - 8 - tw, th - 1, h - s - 8};
    case alRightTop: return {w - th + 1, 8, w + 1, 8 + tw};
    case alRightCenter: {
      const Integer top = (h - tw) / 2;
      return {w - th + 1, top, w + 1, top + tw};
    }
    case alRightBottom: return {w - th + 1, h - 8 - tw, w + 1, h - 8};
    default: break;
  }
  TRect r{8, 0, 8 + tw, th};
  if (alignment == alTopCenter || alignment == alBottomCenter || alignment == alCenterCenter)
    r = Offset(r, (w - s - tw) / 2 - r.Left, 0);
  else if (alignment == alTopRight || alignment == alBottomRight)
    r = Offset(r, w - 8 - s - r.Right, 0);
  if (CaptionSideOf(alignment) == TcxCaptionSide::Bottom)
    r = {r.Left, h - th - 2, r.Right, h - 2};
  else if (alignment == alCenterCenter)
    r = Offset(r, 0, (h - s - th) / 2);
  return r;
}

void TcxGroupBoxViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                                        TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  auto& vi = static_cast<TcxGroupBoxViewInfo&>(*AViewInfo);
  vi.GroupBox = GroupBox;
  vi.Alignment = GroupBox ? GroupBox->Alignment() : alTopLeft;
  const TcxCaptionSide side = CaptionSideOf(vi.Alignment);
  // Bottom and right captions always get the classic frame.
  vi.NativeDrawing = NativeStyle && side != TcxCaptionSide::Bottom && side != TcxCaptionSide::Right;
  vi.CaptionHeight = CaptionTextHeight();
  vi.Text = GroupBox ? GroupBox->CaptionText() : std::string();
  vi.CaptionRect = CalculateCaptionRect(ABounds);
  vi.CaptionBitmap->SetSize(std::max(0, vi.CaptionRect.Width()), std::max(0, vi.CaptionRect.Height()));
  vi.UsesParentBackground = GroupBox && GroupBox->UsesParentBackground();
  vi.NeedsParentBackground = GroupBox && GroupBox->NeedsParentBackground();
  vi.Transparent = GroupBox && GroupBox->IsTransparent();
  if (GroupBox) {
    vi.Edit = GroupBox;
    vi.BackgroundControl = GroupBox->Parent();
    vi.BackgroundOffset = {GroupBox->Left(), GroupBox->Top()};
  }
}

// --- view info -----------------------------------------------------------------------------

TcxGroupBoxViewInfo::TcxGroupBoxViewInfo()
    : CaptionBitmap(std::make_unique<TBitmap>()), CaptionCanvas(std::make_unique<TcxCanvas>(CaptionBitmap->Canvas())) {
  CaptionBitmap->SetPixelFormat(pf32bit);
}

TcxGroupBoxViewInfo::~TcxGroupBoxViewInfo() = default;

TcxEditButtonViewInfoClass TcxGroupBoxViewInfo::ButtonViewInfoClass() {
  return &CreateEditButtonViewInfo<TcxGroupBoxButtonViewInfo>;
}

void TcxGroupBoxViewInfo::OffsetBy(Integer DX, Integer DY) {
  TcxCustomTextEditViewInfo::OffsetBy(DX, DY);
  CaptionRect = Offset(CaptionRect, DX, DY);
}

void TcxGroupBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (IsInplace) {
    if (GroupBox)
      FillWith(ACanvas, WholeRect, FillColor);
    else
      TcxCustomTextEditViewInfo::InternalPaint(ACanvas);
    return;
  }
  if (Text.empty() || cxRectIsEmpty(CaptionRect)) {
    DrawFrame(ACanvas, false);
    return;
  }
  {
    TcxClipRegionScope clip(ACanvas);
    ACanvas->ExcludeFromClip(CaptionRect);
    DrawFrame(ACanvas, false);
  }
  // The caption is composed in its own bitmap, in the control's
  // coordinates, and copied in one piece.
  CaptionCanvas->SetDCWindowOrigin({CaptionRect.Left, CaptionRect.Top});
  DrawFrame(CaptionCanvas.get(), true);
  DrawCaption(CaptionCanvas.get());
  CaptionCanvas->SetDCWindowOrigin({0, 0});
  BitBlt(ACanvas->DeviceContext(), CaptionRect.Left, CaptionRect.Top, CaptionRect.Width(), CaptionRect.Height(),
         CaptionBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  if (PaintingCopy)
    for (Integer i = 0; i < ButtonCount(); ++i) PaintButton(ACanvas, i);
}

void TcxGroupBoxViewInfo::DrawFrame(TcxCanvas* ACanvas, bool AIntoCaption) {
  if (AIntoCaption) {
    // Only what lies under the caption: the parent's image or the colour.
    if (Transparent)
      DrawTransparentBackground(this, ACanvas, CaptionRect);
    else
      FillWith(ACanvas, CaptionRect, FillColor);
    return;
  }
  if (NativeDrawing)
    DrawThemedFrame(ACanvas);
  else
    DrawClassicFrame(ACanvas, Transparent);
}

void TcxGroupBoxViewInfo::DrawThemedFrame(TcxCanvas* ACanvas) {
  HTHEME theme = OpenThemeByIndex(ThemeClassButton);
  const Integer state = Enabled ? GBS_NORMAL : GBS_DISABLED;
  TRect f = WholeRect;
  if (Transparent) {
    DrawTransparentBackground(this, ACanvas, f);
  } else if (UsesParentBackground && WindowHandle &&
             UxIsThemeBackgroundPartiallyTransparent(theme, BP_GROUPBOX, state)) {
    const RECT r{f.Left, f.Top, f.Right, f.Bottom};
    UxDrawThemeParentBackground(WindowHandle, ACanvas->DeviceContext(), &r);
  } else {
    FillWith(ACanvas, f, FillColor);
  }
  if (EditBorderStyle == ebsNone) return;
  TcxClipRegionScope clip(ACanvas);
  const Integer half = CaptionHeight / 2;
  switch (CaptionSideOf(Alignment)) {
    case TcxCaptionSide::Top: f.Top = half; break;
    case TcxCaptionSide::Bottom: f.Bottom -= half; break;
    case TcxCaptionSide::Left: f.Left = half; break;
    case TcxCaptionSide::Right: f.Right -= half; break;
    default: break;
  }
  if (CaptionSideOf(Alignment) != TcxCaptionSide::Centre && !cxRectIsEmpty(CaptionRect))
    ACanvas->ExcludeFromClip(CaptionRect);
  UxDrawThemeBackground(theme, ACanvas->DeviceContext(), BP_GROUPBOX, state, f);
}

void TcxGroupBoxViewInfo::DrawClassicFrame(TcxCanvas* ACanvas, bool AClearBrush) {
  const Integer w = WholeRect.Width(), h = WholeRect.Height();
  if (AClearBrush)
    DrawTransparentBackground(this, ACanvas, WholeRect);
  else
    FillWith(ACanvas, WholeRect, FillColor);
  TcxClipRegionScope clip(ACanvas);
  const TcxCaptionSide side = CaptionSideOf(Alignment);
  // The caption side's inset is made equal to a neighbour's.
  TRect r = InsideBorderRect;
  switch (side) {
    case TcxCaptionSide::Top: r.Top = r.Left; break;
    case TcxCaptionSide::Bottom: r.Bottom = h - (w - r.Right); break;
    case TcxCaptionSide::Left: r.Left = r.Top; break;
    case TcxCaptionSide::Right: r.Right = w - (h - r.Bottom); break;
    default: break;
  }
  const Integer bw = ContainerBorderWidth(BorderStyle);
  r = cxRectInflate(r, bw, bw);
  TRect o = r;
  // The frame passes through the middle of the caption.
  const Integer b = side == TcxCaptionSide::Centre ? bw : CaptionHeight / 2 - bw + 1;
  switch (side) {
    case TcxCaptionSide::Top: r.Top = b; break;
    case TcxCaptionSide::Bottom: r.Bottom = h - b; break;
    case TcxCaptionSide::Left: r.Left = b - 1; break;
    case TcxCaptionSide::Right: r.Right = w - b + 1; break;
    default: break;
  }
  switch (BorderStyle) {
    case cbsSingle:
      FillBorderBands(ACanvas, r, BorderColor, 1, Edges);
      r = DeflateOnEdges(r, 1, Edges);
      break;
    case cbsThick:
      FillBorderBands(ACanvas, r, BorderColor, 2, Edges);
      r = DeflateOnEdges(r, 2, Edges);
      break;
    case cbsFlat:
      FillBorderBands(ACanvas, r, clBtnShadow, 1, Edges);
      r = DeflateOnEdges(r, 1, Edges);
      FillBorderBands(ACanvas, r, clBtnHighlight, 1, Edges);
      r = DeflateOnEdges(r, 1, Edges);
      break;
    case cbs3D:
      if (GroupBox && !GroupBox->Ctl3D()) {
        FillBorderBands(ACanvas, r, clWindowFrame, 1, Edges);
        r = DeflateOnEdges(r, 1, Edges);
        FillBorderBands(ACanvas, r, FillColor, 1, Edges);
        r = DeflateOnEdges(r, 1, Edges);
      } else {
        // Etched: a highlight frame one pixel in, a shadow frame over it
        // one pixel back, which leaves two corner pixels to the background.
        const TRect highlight{r.Left + 1, r.Top + 1, r.Right, r.Bottom};
        FillBorderBands(ACanvas, highlight, clBtnHighlight, 1, Edges);
        const TRect shadow{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
        FillBorderBands(ACanvas, shadow, clBtnShadow, 1, Edges);
        if (!AClearBrush) {
          ACanvas->PlotPixel(shadow.Left, shadow.Bottom, FillColor);
          ACanvas->PlotPixel(shadow.Right, shadow.Top, FillColor);
        }
        r = DeflateOnEdges(r, 2, Edges);
      }
      break;
    default:
      if (ShadowOn && !AClearBrush) {
        const TColor parent = GroupBox && GroupBox->Parent() ? GroupBox->Parent()->Color() : FillColor;
        FillWith(ACanvas, side == TcxCaptionSide::Top ? TRect{r.Right, 3, r.Right + 3, 5} : TRect{3, h - 5, 5, h - 2},
                 parent);
      }
      break;
  }
  if (ShadowOn && !AClearBrush) {
    // The shadow falls on the parent outside the frame (whose bands are out
    // of the clip by now): what it leaves free shows the parent's colour.
    // It starts where the frame does.
    const TColor parent = GroupBox && GroupBox->Parent() ? GroupBox->Parent()->Color() : FillColor;
    FillWith(ACanvas, {o.Right, 0, w, h}, parent);
    FillWith(ACanvas, {0, o.Bottom, w, h}, parent);
    TRect casting = o;
    if (side == TcxCaptionSide::Top) casting.Top = b;
    if (side == TcxCaptionSide::Left) casting.Left = b - 1;
    DrawContainerShadow(ACanvas, casting);
  }
  if (!AClearBrush) FillWith(ACanvas, r, FillColor);
}

void TcxGroupBoxViewInfo::DrawCaption(TcxCanvas* ACanvas) {
  if (!GroupBox) return;
  GroupBox->SelectCaptionFont(ACanvas, NativeDrawing);
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->Canvas->RequiredState();
  const HDC dc = ACanvas->DeviceContext();
  SetBkMode(dc, TRANSPARENT);
  const RECT clip{CaptionRect.Left, CaptionRect.Top, CaptionRect.Right, CaptionRect.Bottom};
  const UINT count = static_cast<UINT>(Text.size());
  switch (CaptionSideOf(Alignment)) {
    case TcxCaptionSide::Left:
      ExtTextOut(dc, CaptionRect.Left, CaptionRect.Bottom - 1, ETO_CLIPPED, &clip, Text.c_str(), count, nullptr);
      break;
    case TcxCaptionSide::Right:
      ExtTextOut(dc, CaptionRect.Right, CaptionRect.Top + 1, ETO_CLIPPED, &clip, Text.c_str(), count, nullptr);
      break;
    default: {
      RECT r = clip;
      DrawText(dc, Text.c_str(), static_cast<int>(count), &r, GroupBox->CaptionDrawFlags());
      break;
    }
  }
  ACanvas->Brush()->SetStyle(bsSolid);
}

// --- the group box -------------------------------------------------------------------------

namespace {

TcxCustomEditKind GroupBoxKind() {
  TcxCustomEditKind kind;
  kind.PropertiesClass = TcxCustomGroupBoxProperties::StaticClass();
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxGroupBoxViewInfo>;
  return kind;
}

}  // namespace

TcxCustomGroupBox::TcxCustomGroupBox(TComponent* AOwner, bool AIsInplace)
    : TcxCustomGroupBox(AOwner, AIsInplace, GroupBoxKind()) {}

TcxCustomGroupBox::TcxCustomGroupBox(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomEdit(AOwner, AIsInplace, AKind) {
  SetConstructing(true);
  ScopeExit constructed([this] { SetConstructing(false); });
  ControlStyle += csAcceptsControls;
  ControlStyle += csCaptureMouse;
  ControlStyle += csClickEvents;
  SetParentColor(true);
  SetParentBackground(true);
  SetBounds(Left(), Top(), 185, 105);
  SetAutoSize(false);
  FCaptionFont = std::make_unique<TFont>();
  UpdateCaptionFont();
  SetTabStop(false);
}

TcxCustomGroupBox::~TcxCustomGroupBox() = default;

bool TcxCustomGroupBox::IsVerticalCaption() const {
  const TcxCaptionSide side = CaptionSideOf(FAlignment);
  return side == TcxCaptionSide::Left || side == TcxCaptionSide::Right;
}

void TcxCustomGroupBox::SetAlignment(TcxCaptionAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  UpdateCaptionFont();
  UpdateCaptionText();
  RecalculateAtCursor(false);
  Realign();
}

void TcxCustomGroupBox::SetTransparentLook(bool Value) {
  if (Value == Transparent()) return;
  SetTransparent(Value);
  RecalculateAtCursor(false);
  Invalidate();
}

UINT TcxCustomGroupBox::CaptionDrawFlags() const {
  UINT flags = DT_SINGLELINE;
  if (BiDiMode() != bdLeftToRight) flags |= DT_RTLREADING;
  if (IsVerticalCaption()) flags |= DT_NOPREFIX;
  return flags;
}

void TcxCustomGroupBox::UpdateCaptionText() {
  FCaptionText = IsVerticalCaption() ? RemoveAccelChars(Caption()) : Caption();
}

void TcxCustomGroupBox::UpdateCaptionFont() {
  if (IsInplace() || !FCaptionFont) return;
  FCaptionFont->Assign(ActiveStyle()->EffectiveFont());
  FCaptionLogFont = LOGFONT{};
  if (!IsVerticalCaption()) return;
  TcxCanvas* screen = ContainerScreenCanvas();
  if (screen) {
    screen->AssignFont(FCaptionFont.get());
    screen->Canvas->RequiredState();
    TEXTMETRIC tm{};
    GetTextMetrics(screen->DeviceContext(), &tm);
    // A face that cannot turn is drawn in Arial.
    if (!(tm.tmPitchAndFamily & TMPF_TRUETYPE) || IsRasterFace(FCaptionFont->GetName())) FCaptionFont->SetName("Arial");
  }
  LOGFONT lf{};
  GetObject(FCaptionFont->Handle(), sizeof(lf), &lf);
  lf.lfEscapement = lf.lfOrientation = CaptionSideOf(FAlignment) == TcxCaptionSide::Left ? 900 : 2700;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  FCaptionLogFont = lf;
}

void TcxCustomGroupBox::SelectCaptionFont(TcxCanvas* ACanvas, bool ANative) {
  ACanvas->AssignFont(FCaptionFont.get());
  if (IsVerticalCaption() && FCaptionLogFont.lfEscapement != 0) {
    const TColor color = FCaptionFont->GetColor();
    SetCanvasFontFromLogFont(ACanvas, FCaptionLogFont);
    ACanvas->Font()->SetColor(color);
  }
  if (!ANative) return;
  COLORREF color = 0;
  if (UxGetThemeColor(OpenThemeByIndex(ThemeClassButton), BP_GROUPBOX, Enabled() ? GBS_NORMAL : GBS_DISABLED,
                      TMT_TEXTCOLOR, color) == S_OK)
    ACanvas->Font()->SetColor(static_cast<TColor>(color));
}

TcxContainerStyle* TcxCustomGroupBox::GetActiveStyle() {
  return (ViewInfo()->StateFlags & csDisabled) ? StyleDisabled() : Style();
}

bool TcxCustomGroupBox::UsesParentBackground() {
  return NativeThemeInEffect(Style()->LookAndFeel()->NativeStyle(), ThemeClassButton) && ParentBackground() &&
         !IsInplace() && !Transparent();
}

TRect TcxCustomGroupBox::GetVisibleBounds() {
  TRect r = TcxCustomEdit::GetVisibleBounds();
  switch (CaptionSideOf(FAlignment)) {
    case TcxCaptionSide::Top: r.Top = 0; break;
    case TcxCaptionSide::Bottom: r.Bottom = Height(); break;
    case TcxCaptionSide::Left: r.Left = 0; break;
    case TcxCaptionSide::Right: r.Right = Width(); break;
    default: break;
  }
  return r;
}

void TcxCustomGroupBox::SyncControlWithStyle(TObject* Sender) {
  UpdateCaptionFont();
  TcxCustomEdit::SyncControlWithStyle(Sender);
}

std::unique_ptr<TcxGroupBoxViewData> TcxCustomGroupBox::CreateLayoutViewData() {
  std::unique_ptr<TcxCustomEditViewData> made =
      ActiveProperties()->CreateViewData(static_cast<TcxCustomEditStyle*>(ActiveStyle()), IsInplace());
  std::unique_ptr<TcxGroupBoxViewData> viewData(static_cast<TcxGroupBoxViewData*>(made.release()));
  viewData->GroupBox = this;
  viewData->Enabled = Enabled();
  viewData->Focused = false;
  viewData->IsDesigning = IsDesigning();
  viewData->WindowHandle = HandleAllocated() ? Handle() : nullptr;
  return viewData;
}

void TcxCustomGroupBox::CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) {
  for (Integer pass = 0; pass < 2; ++pass) {
    TcxContainerStyle* style = ActiveStyle();
    CreateLayoutViewData()->ComputeLayout(ContainerScreenCanvas(), {0, 0, Width(), Height()}, P, cxmbNone,
                                          TShiftState{}, static_cast<TcxCustomEditViewInfo*>(ViewInfo()),
                                          AIsMouseEvent);
    if (ActiveStyle() == style) break;
  }
}

void TcxCustomGroupBox::AdjustClientRect(TRect& Rect) {
  if (IsBeingDestroyed() || ComponentState().Contains(csDestroying) || !ContainerScreenCanvas()) return;
  std::unique_ptr<TcxGroupBoxViewData> viewData = CreateLayoutViewData();
  TcxGroupBoxViewInfo scratch;
  TRect content;
  viewData->ContentExtent(ContainerScreenCanvas(), &scratch, content);
  Rect = {content.Left, content.Top, Width() - content.Right, Height() - content.Bottom};
}

void TcxCustomGroupBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    FSelectingFirst = true;
    ScopeExit selected([this] { FSelectingFirst = false; });
    SelectFirst();
    Message.Result = 1;
    return;
  }
  TcxCustomEdit::CMDialogChar(Message);
}

void TcxCustomGroupBox::CMTextChanged(TMessage& Message) {
  TcxCustomEdit::CMTextChanged(Message);
  UpdateCaptionText();
  RecalculateAtCursor(false);
}

void TcxCustomGroupBox::CMFontChanged(TMessage& Message) {
  TcxCustomEdit::CMFontChanged(Message);
  UpdateCaptionFont();
  Realign();
}

void TcxCustomGroupBox::WndProc(TMessage& Message) {
  if (Message.Msg != WM_PRINTCLIENT) {
    TcxCustomEdit::WndProc(Message);
    return;
  }
  // A child that shows its parent's background (a native radio button)
  // asks for the box's picture under it.
  TCanvas canvas;
  canvas.SetHandle(reinterpret_cast<HDC>(Message.WParam));
  ScopeExit released([&canvas] { canvas.SetHandle(nullptr); });
  TcxCanvas painter(&canvas);
  ViewInfo()->DrawTo(&painter);
  Message.Result = 0;
}

// --- button group items ---------------------------------------------------------------------

// The item joins its collection inside an update, so that the owner hears
// of it once, by the added notice (which names the item).
TcxButtonGroupItem::TcxButtonGroupItem(TCollection* Collection) : TCollectionItem(nullptr) {
  if (!Collection) return;
  Collection->BeginUpdate();
  ScopeExit updated([Collection] { Collection->EndUpdate(); });
  SetCollection(Collection);
  FEnabled = true;
  if (auto* items = GroupItems()) items->NotifyItem(bgicAdded, Index());
}

TcxButtonGroupItem::~TcxButtonGroupItem() {
  TCollection* collection = Collection();
  if (!collection) return;
  auto* items = GroupItems();
  const Integer index = Index();
  collection->BeginUpdate();
  ScopeExit updated([collection] { collection->EndUpdate(); });
  SetCollection(nullptr);
  if (items) items->NotifyItem(bgicDeleted, index);
}

TcxButtonGroupItems* TcxButtonGroupItem::GroupItems() const { return dynamic_cast<TcxButtonGroupItems*>(Collection()); }

void TcxButtonGroupItem::NotifyItemChanged() {
  if (auto* items = GroupItems()) items->NotifyItem(bgicChanged, Index());
}

void TcxButtonGroupItem::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TcxButtonGroupItem*>(Source);
  if (!other) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetCaption(other->Caption());
  SetEnabled(other->Enabled());
  SetTag(other->Tag());
}

void TcxButtonGroupItem::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  NotifyItemChanged();
}

void TcxButtonGroupItem::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  NotifyItemChanged();
}

TcxButtonGroupItems::TcxButtonGroupItems(TPersistent* AOwner, TClass AItemClass)
    : TOwnedCollection(AOwner, AItemClass) {}

// The items go while this collection can still send their notices.
TcxButtonGroupItems::~TcxButtonGroupItems() { Clear(); }

void TcxButtonGroupItems::NotifyOwner() {
  if (auto* properties = dynamic_cast<TcxCustomEditProperties*>(GetOwner())) properties->NotifyChanged();
}

void TcxButtonGroupItems::NotifyItem(TcxButtonGroupItemChange AChange, Integer AIndex) {
  FNoticeIndex = AIndex;
  FNoticeChange = AChange;
  FNoticePending = true;
  ScopeExit cleared([this] { FNoticePending = false; });
  NotifyOwner();
}

void TcxButtonGroupItems::Update(TCollectionItem*) { NotifyOwner(); }

// --- button group properties ----------------------------------------------------------------

TcxCustomButtonGroupProperties::TcxCustomButtonGroupProperties(TPersistent* AOwner)
    : TcxCustomGroupBoxProperties(AOwner), FItems(CreateItems()) {}

TcxCustomButtonGroupProperties::~TcxCustomButtonGroupProperties() {
  LockChanges();
  FItems.reset();
  UnlockChanges(false);
}

void TcxCustomButtonGroupProperties::RecreateItems() {
  LockChanges();
  ScopeExit unlocked([this] { UnlockChanges(false); });
  FItems = CreateItems();
}

std::unique_ptr<TcxButtonGroupItems> TcxCustomButtonGroupProperties::CreateItems() {
  return std::make_unique<TcxButtonGroupItems>(this, TcxButtonGroupItem::StaticClass());
}

void TcxCustomButtonGroupProperties::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TcxCustomButtonGroupProperties*>(Source);
  if (!other) {
    TcxCustomGroupBoxProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlocked([this] { UnlockChanges(true); });
  TcxCustomGroupBoxProperties::Assign(Source);
  SetColumns(other->Columns());
  FItems->Assign(other->Items());
  SetWordWrap(other->WordWrap());
}

TClass TcxCustomButtonGroupProperties::EditClass() { return TcxCustomButtonGroup::StaticClass(); }

TcxCustomEditViewDataClass TcxCustomButtonGroupProperties::ViewDataClass() {
  // The layout needs a kind of button: only a descendant can make one.
  static const TcxCustomEditViewDataClassInfo info{
      []() -> std::unique_ptr<TcxCustomEditViewData> { throw EAbstractError("Abstract Error"); },
      &TcxButtonGroupViewData::IsNativeLookAndFeel};
  return &info;
}

TcxContainerViewInfoClass TcxCustomButtonGroupProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxButtonGroupViewInfo>;
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomButtonGroupProperties::CreateOfSameClass() {
  std::unique_ptr<TcxCustomEditProperties> made = TcxCustomGroupBoxProperties::CreateOfSameClass();
  if (auto* sample = dynamic_cast<TcxCustomButtonGroupProperties*>(made.get())) {
    for (const char* caption : {"A", "B", "C"}) sample->Items()->Add()->SetCaption(caption);
    sample->SetColumns(3);
  }
  return made;
}

Cardinal TcxCustomButtonGroupProperties::SupportedOperations() {
  return FItems && FItems->Count() > 0 ? 0x8AF : 0x88F;
}

void TcxCustomButtonGroupProperties::SetColumns(Integer Value) {
  Value = std::max(Value, Integer{1});
  if (Value == FColumns) return;
  FColumns = Value;
  NotifyChanged();
}

void TcxCustomButtonGroupProperties::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  NotifyChanged();
}

// As few columns as hold the items in the rows that the wanted columns
// need: 5 items in 4 columns take 2 rows, and so 3 columns.
Integer TcxCustomButtonGroupProperties::ColumnCount() {
  const Integer n = FItems->Count();
  Integer c = std::min(FColumns, n);
  if (n <= 0) return c;
  if (c == 0) c = 1;
  const Integer rows = (n + c - 1) / c;
  return (n + rows - 1) / rows;
}

Integer TcxCustomButtonGroupProperties::RowCount() {
  const Integer columns = std::max(ColumnCount(), Integer{1});
  return (FItems->Count() + columns - 1) / columns;
}

// --- button group view data -----------------------------------------------------------------

bool TcxButtonGroupViewData::IsButtonNativeStyle(TcxLookAndFeel* ALookAndFeel) {
  return ALookAndFeel && NativeThemeInEffect(ALookAndFeel->NativeStyle(), ThemeClassButton);
}

void TcxButtonGroupViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                           Integer AButton, TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                           bool AIsMouseEvent) {
  TcxGroupBoxViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  static_cast<TcxButtonGroupViewInfo*>(AViewInfo)->ButtonTextFlags = ButtonTextFlags();
}

void TcxButtonGroupViewData::ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  // The group's buttons stand inside its content, not beside it as an
  // editor's buttons do: the extent is measured without them.
  std::vector<std::unique_ptr<TcxEditButtonViewInfo>> buttons;
  buttons.swap(AViewInfo->Buttons);
  ScopeExit restored([&] { buttons.swap(AViewInfo->Buttons); });
  TcxGroupBoxViewData::ContentExtent(ACanvas, AViewInfo, R);
}

void TcxButtonGroupViewData::CalculateButtons(TcxCanvas*, const TRect&, const TPoint& P, Integer AButton,
                                              TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool) {
  auto* vi = static_cast<TcxButtonGroupViewInfo*>(AViewInfo);
  vi->SetButtonCount(GroupProperties()->Items()->Count());
  vi->PressedButton = vi->HotButton = -1;
  if (vi->ButtonCount() == 0) return;
  InitButtonViewInfos(vi);
  ArrangeButtons(vi);
  CalculateButtonStates(vi, P, AButton, AShift);
}

void TcxButtonGroupViewData::InitButtonViewInfos(TcxButtonGroupViewInfo* AViewInfo) {
  const Integer rows = GroupProperties()->RowCount();
  const TcxEditButtonStyle style = ButtonStyle();
  for (Integer i = 0; i < AViewInfo->ButtonCount(); ++i) {
    TcxGroupBoxButtonViewInfo* b = AViewInfo->GroupButton(i);
    b->EraseBackground = AViewInfo->EraseBackground;
    b->Style = style;
    b->Caption = GroupProperties()->Items()->Items(i)->Caption();
    b->Column = i / rows;
    b->Row = i % rows;
  }
}

TcxTextFlags TcxButtonGroupViewData::ButtonTextFlags() {
  if (Measuring && GroupProperties()->WordWrap())
    return TextLeft | TextVCenter | TextShowPrefix | TextWordBreak | TextNoClip;
  return TextLeft | TextVCenter | TextSingleLine | TextShowPrefix;
}

TcxEditButtonStyle TcxButtonGroupViewData::ButtonStyle() {
  if (IsInplace) {
    switch (Style->LookAndFeel()->Kind()) {
      case lfFlat: return btsFlat;
      case lfUltraFlat: return btsUltraFlat;
      case lfOffice11: return btsOffice11;
      default: return bts3D;
    }
  }
  const TcxEditBorderStyle border = Style->EditBorderStyle();
  if (border == ebsUltraFlat) return btsUltraFlat;
  if (border == ebsOffice11) return btsOffice11;
  switch (EffectiveBorderStyle()) {
    case ebsSingle:
    case ebsThick:
    case ebsFlat: return btsFlat;
    default: return bts3D;
  }
}

void TcxButtonGroupViewData::ArrangeButtons(TcxButtonGroupViewInfo* AViewInfo) {
  TcxButtonGroupMetrics m;
  ButtonMetrics(false, nullptr, m);
  TRect e;
  ContentExtent(ContainerScreenCanvas(), AViewInfo, e);
  const TRect& b = Bounds();
  const Integer columns = std::max(GroupProperties()->ColumnCount(), Integer{1});
  const Integer rows = std::max(GroupProperties()->RowCount(), Integer{1});
  const Integer w =
      (b.Right - b.Left - e.Left - e.Right + m.ArrangeWidthAdjust - (columns - 1) * m.ColumnSpacing) / columns;
  const Integer h = b.Bottom - b.Top - e.Top - e.Bottom;
  const Integer rowHeight = h / rows;
  // What the rows leave over is split, the larger half below.
  const Integer top = b.Top + e.Top + (h % rows) / 2;
  for (Integer i = 0; i < AViewInfo->ButtonCount(); ++i) {
    TcxGroupBoxButtonViewInfo* button = AViewInfo->GroupButton(i);
    TRect r;
    r.Left = b.Left + e.Left + (w + m.ColumnSpacing) * button->Column + m.ButtonLeftOffset;
    r.Top = top + rowHeight * button->Row;
    r.Right = r.Left + w;
    r.Bottom = r.Top + rowHeight;
    button->Bounds = button->VisibleBounds = r;
  }
}

void TcxButtonGroupViewData::CalculateButtonStates(TcxButtonGroupViewInfo* AViewInfo, const TPoint& P,
                                                   Integer AButton, TShiftState AShift) {
  const TcxEditButtonTransparency transparency = Style->ButtonTransparency();
  const bool native = IsButtonNativeStyle(Style->LookAndFeel());
  for (Integer i = 0; i < AViewInfo->ButtonCount(); ++i) {
    TcxGroupBoxButtonViewInfo* b = AViewInfo->GroupButton(i);
    b->ButtonIndex = i;
    b->NativeStyle = native;
    b->Transparent = transparency == ebtAlways || (transparency == ebtInactive && !Focused);
    b->BackgroundColor = AViewInfo->FillColor;
    const bool over = !IsDesigning && cxRectPtIn(b->Bounds, P);
    const bool held = over && (AShift.Contains(ssLeft) || AButton == cxmbLeft);
    if (!Enabled) {
      b->State = ebbsDisabled;
    } else if (IsButtonForcedPressed(i) || held) {
      b->State = ebbsPressed;
      AViewInfo->PressedButton = i;
    } else if (over && AShift.Empty() && AButton == cxmbNone) {
      b->State = ebbsHot;
      AViewInfo->HotButton = i;
    } else {
      b->State = ebbsNormal;
    }
    SetButtonThemeState(AViewInfo, b);
  }
}

void TcxButtonGroupViewData::ContentSize(TcxCanvas* ACanvas, const Variant&, const TcxEditSizeLimits& ALimits,
                                         TSize& ASize) {
  ACanvas->AssignFont(Style->Font());
  const TRect& o = ContentParams.Offsets;
  const Integer textHeight = ACanvas->MeasureTextHeight("Zg") + o.Top;
  const bool limited = ALimits.Width >= 0;
  TcxButtonGroupMetrics m;
  ButtonMetrics(limited, ACanvas, m);
  TcxButtonGroupItems* items = GroupProperties()->Items();
  const Integer n = items->Count();
  if (n == 0) {
    ASize = {limited ? ALimits.Width : 0, textHeight};
    return;
  }
  const Integer columns = std::max(GroupProperties()->ColumnCount(), Integer{1});
  const Integer rows = std::max(GroupProperties()->RowCount(), Integer{1});
  if (!limited) {
    Integer widest = 0;
    for (Integer i = 0; i < n; ++i) {
      TRect r{0, 0, 0, 0};
      ACanvas->CalcTextRect(items->Items(i)->Caption(), r, ButtonTextFlags());
      widest = std::max(widest, r.Width());
    }
    ASize.cx = (widest + m.FreeTextGap + m.ImageSize.cx) * columns + (columns - 1) * m.ColumnSpacing +
               m.FreeWidthAdjust;
    ASize.cy = std::max(m.ImageSize.cy, textHeight) * rows;
    return;
  }
  const Integer textWidth = std::max(
      (ALimits.Width + m.MeasureWidthAdjust - o.Left - o.Right - (columns - 1) * m.ColumnSpacing) / columns -
          m.ImageSize.cx - m.MeasureTextGap,
      Integer{1});
  Measuring = true;
  ScopeExit measured([this] { Measuring = false; });
  const TcxTextFlags flags = static_cast<TcxTextFlags>((ButtonTextFlags() & ~TextVCenter) | TextTop);
  Integer rowHeight = textHeight;
  if (GroupProperties()->WordWrap()) {
    for (Integer i = 0; i < n; ++i) {
      const std::string& caption = items->Items(i)->Caption();
      if (caption.empty()) continue;
      TRect r{0, 0, textWidth, INT_MAX};
      ACanvas->CalcTextRect(caption, r, flags);
      rowHeight = std::max(rowHeight, r.Height() + o.Top);
    }
  }
  ASize = {ALimits.Width, rowHeight * rows};
}

// --- the button group -----------------------------------------------------------------------

TcxCustomButtonGroup::TcxCustomButtonGroup(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomGroupBox(AOwner, AIsInplace, AKind) {
  SetTabStop(true);
}

TcxCustomButtonGroup::~TcxCustomButtonGroup() { SyncButtonCount(0); }

void TcxCustomButtonGroup::AddButton(TWinControl* AButton) {
  if (std::find(FButtons.begin(), FButtons.end(), AButton) == FButtons.end()) FButtons.push_back(AButton);
}

void TcxCustomButtonGroup::RemoveButton(TWinControl* AButton) {
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), AButton), FButtons.end());
}

void TcxCustomButtonGroup::FreeButton(Integer AIndex) {
  TWinControl* button = FButtons[static_cast<size_t>(AIndex)];
  FButtons.erase(FButtons.begin() + AIndex);
  button->Free();
}

void TcxCustomButtonGroup::AppendButton() {
  TWinControl* button = CreateButton();
  AddButton(button);
  InitButton(button);
}

void TcxCustomButtonGroup::SyncButtonCount(Integer ACount) {
  TcxButtonGroupItems* items = IsBeingDestroyed() ? nullptr : ActiveGroupProperties()->Items();
  if (items && items->NoticePending()) {
    // The notice names the item, so that exactly its button goes; a notice
    // that does not fit the buttons (they were not kept in step meanwhile)
    // falls back to evening the counts.
    const Integer index = items->NoticeIndex();
    switch (items->NoticeChange()) {
      case bgicAdded:
        if (ButtonCount() < ACount) {
          AppendButton();
          return;
        }
        break;
      case bgicDeleted:
        if (index >= 0 && index < ButtonCount() && ButtonCount() > ACount) {
          FreeButton(index);
          return;
        }
        break;
      default:
        return;
    }
  }
  while (ButtonCount() > ACount) FreeButton(ButtonCount() - 1);
  while (ButtonCount() < ACount) AppendButton();
}

void TcxCustomButtonGroup::InitButton(TWinControl* AButton) {
  AButton->SetParentShowHint(false);
  AButton->SetParent(this);
  AButton->OnDragDrop = TDragDropEvent(this, &TcxCustomButtonGroup::ButtonDragDrop);
  AButton->OnDragOver = TDragOverEvent(this, &TcxCustomButtonGroup::ButtonDragOver);
  AButton->OnKeyDown = TKeyEvent(this, &TcxCustomButtonGroup::ButtonKeyDown);
  AButton->OnKeyPress = TKeyPressEvent(this, &TcxCustomButtonGroup::ButtonKeyPress);
  AButton->OnKeyUp = TKeyEvent(this, &TcxCustomButtonGroup::ButtonKeyUp);
  AButton->OnMouseDown = TMouseEvent(this, &TcxCustomButtonGroup::ButtonMouseDown);
  AButton->OnMouseMove = TMouseMoveEvent(this, &TcxCustomButtonGroup::ButtonMouseMove);
  AButton->OnMouseUp = TMouseEvent(this, &TcxCustomButtonGroup::ButtonMouseUp);
  AButton->OnMouseWheel = TMouseWheelEvent(this, &TcxCustomButtonGroup::ButtonMouseWheel);
}

void TcxCustomButtonGroup::ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                           Integer Y) {
  auto* button = static_cast<TControl*>(Sender);
  // A click on a button focuses the button, not the group.
  ForwardedMouseDown = true;
  ScopeExit forwarded([this] { ForwardedMouseDown = false; });
  MouseDown(Button, Shift, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::ButtonMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y) {
  auto* button = static_cast<TControl*>(Sender);
  MouseMove(Shift, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                         Integer Y) {
  auto* button = static_cast<TControl*>(Sender);
  MouseUp(Button, Shift, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::ButtonMouseWheel(TObject*, TShiftState, Integer, TPoint, bool& Handled) {
  Handled = false;
}

void TcxCustomButtonGroup::ButtonDragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y) {
  auto* button = static_cast<TControl*>(Sender);
  DragDrop(Source, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::ButtonDragOver(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State,
                                          bool& Accept) {
  auto* button = static_cast<TControl*>(Sender);
  DragOver(Source, X + button->Left(), Y + button->Top(), State, Accept);
}

void TcxCustomButtonGroup::PlaceButtons() {
  TcxButtonGroupViewInfo* vi = GroupViewInfo();
  const Integer count = std::min(ButtonCount(), vi->ButtonCount());
  for (Integer i = 0; i < count; ++i) {
    const TRect& r = vi->Button(i)->Bounds;
    Buttons(i)->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
}

void TcxCustomButtonGroup::SyncButtonsStyle() {
  TcxContainerStyle* active = ActiveStyle();
  TFont font;
  font.Assign(Style()->Font());
  font.SetColor(active->TextColor());
  for (TWinControl* button : FButtons) {
    button->SetColor(active->Color());
    button->SetFont(&font);
  }
}

void TcxCustomButtonGroup::UpdateButtons() {
  TcxButtonGroupItems* items = ActiveGroupProperties()->Items();
  SyncButtonCount(items->Count());
  const Integer count = std::min(ButtonCount(), items->Count());
  for (Integer i = 0; i < count; ++i) Buttons(i)->SetEnabled(Enabled() && items->Items(i)->Enabled());
  RecalculateAtCursor(false);
  for (TWinControl* button : FButtons) button->SetCursor(Cursor());
}

Integer TcxCustomButtonGroup::ButtonAt(const TPoint& P) {
  TcxButtonGroupViewInfo* vi = GroupViewInfo();
  for (Integer i = 0; i < vi->ButtonCount(); ++i)
    if (cxRectPtIn(vi->Button(i)->Bounds, P)) return i;
  return -1;
}

Integer TcxCustomButtonGroup::FocusedButtonIndex() {
  for (Integer i = 0; i < ButtonCount(); ++i)
    if (Buttons(i)->Focused()) return i;
  return -1;
}

bool TcxCustomButtonGroup::IsButtonNativeStyle() {
  return TcxButtonGroupViewData::IsButtonNativeStyle(Style()->LookAndFeel());
}

bool TcxCustomButtonGroup::Focused() { return TcxCustomGroupBox::Focused() || FocusedButtonIndex() >= 0; }

void TcxCustomButtonGroup::GetTabOrderList(std::vector<TWinControl*>& List) {
  // The buttons are not listed: the group decides which one tabbing meets.
  if (IsInplace() && Visible()) List.erase(std::remove(List.begin(), List.end(), Parent()), List.end());
}

void TcxCustomButtonGroup::PropertiesChanged(TObject* Sender) {
  if (!ComponentState().Contains(csReading)) UpdateButtons();
  TcxCustomGroupBox::PropertiesChanged(Sender);
}

void TcxCustomButtonGroup::SyncControlWithStyle(TObject* Sender) {
  TcxCustomGroupBox::SyncControlWithStyle(Sender);
  if (!IsConstructing()) UpdateButtons();
}

bool TcxCustomButtonGroup::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag) {
  const bool result = TcxCustomGroupBox::RefreshState(P, AButton, Shift, AFlag);
  PlaceButtons();
  SyncButtonsStyle();
  return result;
}

void TcxCustomButtonGroup::CursorChanged() {
  TcxCustomGroupBox::CursorChanged();
  UpdateButtons();
}

void TcxCustomButtonGroup::CMEnabledChanged(TMessage& Message) {
  TcxCustomGroupBox::CMEnabledChanged(Message);
  UpdateButtons();
}

void TcxCustomButtonGroup::ReadState(TReader& Reader) {
  TcxCustomGroupBox::ReadState(Reader);
  UpdateButtons();
  UpdateTextFromEditValue();
}

void TcxCustomButtonGroup::CreateHandle() {
  TcxCustomGroupBox::CreateHandle();
  UpdateButtons();
  UpdateTextFromEditValue();
}

// Keys reach the group from its buttons; without a focused button there is
// nothing to act on.
void TcxCustomButtonGroup::EditKeyDown(Word& Key, TShiftState Shift) {
  if (FocusedButtonIndex() < 0) return;
  if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) MoveFocusByArrow(Key);
  TcxCustomGroupBox::EditKeyDown(Key, Shift);
}

void TcxCustomButtonGroup::ActivateByMouse(TShiftState Shift, Integer X, Integer Y,
                                           std::unique_ptr<TcxCustomEditData>& AEditData) {
  ActivateEditing(AEditData);
  TPoint p{X, Y};
  if (Parent()) p = ScreenToClient(Parent()->ClientToScreen(p));
  const Integer index = ButtonAt(p);
  if (index < 0 || index >= ButtonCount() || !Buttons(index)->HandleAllocated()) return;
  const TRect& r = GroupViewInfo()->Button(index)->Bounds;
  const LPARAM centre = MAKELPARAM(static_cast<WORD>(r.Width() / 2), static_cast<WORD>(r.Height() / 2));
  SendMessage(Buttons(index)->Handle(), Shift.Contains(ssLeft) ? WM_LBUTTONDOWN : WM_LBUTTONUP,
              ShiftStateToMouseKeys(Shift), centre);
}

void TcxCustomButtonGroup::MoveFocusByArrow(Word& Key) {
  const Integer i = FocusedButtonIndex();
  TcxCustomButtonGroupProperties* properties = ActiveGroupProperties();
  const Integer n = properties->Items()->Count();
  if (i < 0 || n <= 0) return;
  const Integer rows = properties->RowCount();
  const Integer column = i / rows, row = i % rows;
  // A last column that is not full holds fewer rows.
  const Integer inColumn = std::min(rows, n - (i - row));
  Integer target = -1;
  switch (Key) {
    case VK_LEFT: if (column > 0) target = i - rows; break;
    case VK_UP: if (row > 0) target = i - 1; break;
    case VK_RIGHT: if (i + rows < ButtonCount()) target = i + rows; break;
    case VK_DOWN: if (row < inColumn - 1) target = i + 1; break;
    default: break;
  }
  if (target < 0 || target >= ButtonCount()) return;
  Buttons(target)->SetFocus();
  Key = 0;
}

void TcxCustomButtonGroup::WndProc(TMessage& Message) {
  TcxCustomGroupBox::WndProc(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGED && !IsBeingDestroyed() && !ComponentState().Contains(csDestroying) &&
      NeedsParentBackground() && HandleAllocated())
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void RegisterGroupBoxClasses() {
  RegisterClasses({TcxCustomGroupBoxProperties::StaticClass(), TcxGroupBox::StaticClass(),
                   TcxButtonGroupItem::StaticClass()});
}

