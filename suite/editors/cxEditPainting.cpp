#include "suite/editors/cxEditPainting.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxSolidBrushCache.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

namespace {

bool& HotLightAvailable() {
  static bool available = false;
  return available;
}

RECT ToRECT(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }

// A one-pixel frame in a colour, through the brush cache.
void FrameWithColor(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  if (cxRectIsEmpty(R)) return;
  FillRectWithColor(ACanvas, {R.Left, R.Top, R.Right, R.Top + 1}, AColor);
  FillRectWithColor(ACanvas, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, AColor);
  FillRectWithColor(ACanvas, {R.Left, R.Top, R.Left + 1, R.Bottom}, AColor);
  FillRectWithColor(ACanvas, {R.Right - 1, R.Top, R.Right, R.Bottom}, AColor);
}

// Left and top in one colour, right and bottom in the other; the rect
// shrinks by one.
void TwoColorFrame(TcxCanvas* ACanvas, TRect& R, TColor ALeftTop, TColor ARightBottom) {
  ACanvas->DrawTwoColorFrame(R, ALeftTop, ARightBottom, cxBordersAll, 1);
  R = cxRectInflate(R, -1, -1);
}

TRect Shrunk(const TRect& R, Integer D) { return cxRectInflate(R, -D, -D); }

bool IsPressedOrHot(TcxEditButtonState AState) { return AState == ebbsPressed || AState == ebbsHot; }

// Edit border styles and container border styles run in the same order.
Integer EditBorderWidth(TcxEditBorderStyle AStyle) {
  return ContainerBorderWidth(static_cast<TcxContainerBorderStyle>(AStyle));
}

void DrawEditBorder(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, const TRect& R, Integer AThickness) {
  switch (AViewInfo->EditBorderStyle) {
    case ebsSingle:
    case ebsThick:
    case ebsUltraFlat:
    case ebsOffice11:
      ACanvas->FillBorders(R, AViewInfo->BorderColor, AThickness, cxBordersAll);
      break;
    case ebsFlat:
      ACanvas->Draw3DEdge(R, true, true, AViewInfo->Edges);
      ACanvas->DrawTwoColorFrame(Shrunk(R, 1), clBtnFace, clBtnFace, cxBordersAll, 1);
      break;
    case ebs3D:
      ACanvas->Draw3DEdge(R, true, true, AViewInfo->Edges);
      ACanvas->DrawTwoColorFrame(Shrunk(R, 1), cl3DDkShadow, cl3DLight, AViewInfo->Edges, 1);
      break;
    default:
      break;
  }
}

void DrawNativeBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* vi, bool AFillInterior, Integer AMode) {
  if (vi->IsInplace || vi->BorderStyle == cbsNone) {
    if (!vi->Transparent) FillRectWithColor(ACanvas, vi->WholeRect, vi->FillColor);
    return;
  }
  const HTHEME theme = OpenThemeByIndex(ThemeClassEdit);
  const HDC dc = ACanvas->DeviceContext();
  TRect content;
  switch (AMode) {
    case NativeContentByTheme:
      content = UxGetThemeBackgroundContentRect(theme, dc, 1, vi->ThemeState, vi->WholeRect);
      break;
    case NativeContentByMargins:
      content = Shrunk(vi->WholeRect, 3);
      content.Right = vi->InnerControlRect.Right - 1;
      break;
    default:
      content = vi->InnerControlRect;
      break;
  }
  {
    SavedDc saved(dc);
    ExcludeClipRect(dc, content.Left, content.Top, content.Right, content.Bottom);
    UxDrawThemeBackground(theme, dc, 1, vi->ThemeState, vi->WholeRect);
  }
  if (vi->Transparent) return;
  if (!AFillInterior) {
    if (AMode != NativeContentInnerRect) FillRectFrame(ACanvas, content, vi->InsideBorderRect, vi->FillColor);
  } else {
    FillRectWithColor(ACanvas, content, vi->FillColor);
  }
}

void DrawClassicBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* vi, bool AFillInterior) {
  const Integer w = EditBorderWidth(vi->EditBorderStyle);
  // The frame of an absent edge lies one border width further out, outside
  // the control or under the shadow's excluded strips.
  TRect r = vi->InsideBorderRect;
  r.Left -= w;
  r.Top -= w;
  if (vi->Edges.Contains(bRight)) r.Right += w;
  if (vi->Edges.Contains(bBottom)) r.Bottom += w;
  if (vi->ShadowOn) DrawContainerShadow(ACanvas, r);
  if (!vi->Edges.Contains(bRight)) r.Right += w;
  if (!vi->Edges.Contains(bBottom)) r.Bottom += w;
  DrawEditBorder(ACanvas, vi, r, w);
  if (vi->Transparent) return;
  if (vi->IsInplace) {
    if (AFillInterior)
      FillRectWithColor(ACanvas, vi->WholeRect, vi->FillColor);
    else if (vi->HasInplaceMargins)
      FillRectFrame(ACanvas, vi->WholeRect, vi->InsideBorderRect, vi->FillColor);
  } else if (AFillInterior) {
    FillRectWithColor(ACanvas, vi->InsideBorderRect, vi->FillColor);
  }
}

bool ButtonIsNative(TcxEditButtonViewInfo* b) { return b->NativeState != 0; }

HTHEME ButtonTheme(TcxEditButtonViewInfo* b) {
  return OpenThemeByIndex(b->SingleDropDown ? ThemeClassComboBox : ThemeClassButton);
}

// The content margins of a visual-style part, measured on a 100 x 100 rect.
TRect ThemeContentMargins(HTHEME ATheme) {
  const TRect box{0, 0, 100, 100};
  const TRect content = UxGetThemeBackgroundContentRect(ATheme, nullptr, 1, 1, box);
  return {content.Left, content.Top, box.Right - content.Right, box.Bottom - content.Bottom};
}

// A glyph cut to at most ASize, or the glyph itself when it fits.
TBitmap* CutGlyph(TBitmap* AGlyph, const TSize& ASize, std::unique_ptr<TBitmap>& AHolder) {
  if (AGlyph->Width() <= ASize.cx && AGlyph->Height() <= ASize.cy) return AGlyph;
  AHolder = std::make_unique<TBitmap>();
  AHolder->SetSize(std::min(AGlyph->Width(), ASize.cx), std::min(AGlyph->Height(), ASize.cy));
  BitBlt(AHolder->DC(), 0, 0, AHolder->Width(), AHolder->Height(), AGlyph->DC(), 0, 0, SRCCOPY);
  AHolder->SetTransparentColor(AGlyph->TransparentColor());
  return AHolder.get();
}

void DrawEllipsis(TcxCanvas* ACanvas, TcxEditButtonViewInfo* b, const TRect& R, TColor AColor) {
  const Integer dot = R.Width() > 11 ? 2 : 1;
  constexpr Integer gap = 2;
  const TSize group{3 * dot + 2 * gap, dot};
  const TPoint p = CenterSizeInRect(R, group, b->State == ebbsPressed);
  auto dots = [&](Integer x, Integer y, TColor color) {
    for (Integer i = 0; i < 3; ++i) {
      const Integer left = x + i * (dot + gap);
      FillRectWithColor(ACanvas, {left, y, left + dot, y + dot}, color);
    }
  };
  if (b->State == ebbsDisabled) {
    dots(p.X + 1, p.Y + 1, clBtnHighlight);
    dots(p.X, p.Y, clBtnShadow);
  } else {
    dots(p.X, p.Y, AColor);
  }
}

// Centres an arrow rect on the button's bounds along one axis: an odd
// difference leaves the extra pixel on the far side when pressed, on the
// near side otherwise.
void CenterAlong(Integer& ALow, Integer& AHigh, Integer AContentLow, Integer AContentHigh, bool APressed) {
  if (((AHigh - ALow) - (AContentHigh - AContentLow)) % 2 == 0) return;
  if (APressed)
    ++ALow;
  else
    --AHigh;
}

void DrawDropDownArrow(TcxCanvas* ACanvas, TcxEditButtonViewInfo* b, const TRect& AContent, TColor AColor) {
  const bool pressed = b->State == ebbsPressed;
  TRect r{b->Bounds.Left, AContent.Top, b->Bounds.Right, AContent.Bottom};
  const bool odd = ((r.Width() - AContent.Width()) % 2) != 0;
  CenterAlong(r.Left, r.Right, AContent.Left, AContent.Right, pressed);
  if (b->IsInplace) {
    r.Top = b->Bounds.Top;
    r.Bottom = b->Bounds.Bottom;
    CenterAlong(r.Top, r.Bottom, AContent.Top, AContent.Bottom, pressed);
  }
  if (pressed) r = cxRectOffset(r, odd ? 0 : 1, 1);
  TcxCustomLookAndFeelPainterClass painter = TcxStandardLookAndFeelPainter::Instance();
  if (b->State == ebbsDisabled) {
    painter->DrawFilledArrow(ACanvas, cxRectOffset(r, 1, 1), ArrowDown, clBtnHighlight);
    painter->DrawFilledArrow(ACanvas, r, ArrowDown, clBtnShadow);
  } else {
    painter->DrawFilledArrow(ACanvas, r, ArrowDown, AColor);
  }
}

void DrawGlyphContent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* vi, Integer AIndex, const TRect& AContent,
                      const TRect& AArea, TColor AFaceColor) {
  TcxEditButtonViewInfo* b = vi->Button(AIndex);
  std::unique_ptr<TBitmap> cut;
  TBitmap* glyph = CutGlyph(b->Glyph, {AContent.Width(), AContent.Height()}, cut);
  const TPoint at = CenterSizeInRect(AContent, {glyph->Width(), glyph->Height()}, b->State == ebbsPressed);
  // Composed off screen and copied once.
  TBitmap buffer;
  buffer.SetSize(AArea.Width(), AArea.Height());
  TcxCanvas bufferCanvas(buffer.Canvas());
  if (ButtonIsNative(b)) {
    const TRect bounds = cxRectOffset(b->Bounds, -AArea.Left, -AArea.Top);
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassButton), buffer.Canvas()->Handle(), 1, b->NativeState, bounds);
  } else {
    vi->FillButtonArea(&bufferCanvas, AIndex, {0, 0, AArea.Width(), AArea.Height()}, AFaceColor);
  }
  PaintGlyphBitmap(&bufferCanvas, at.X - AArea.Left, at.Y - AArea.Top, nullptr, clNone, b->State != ebbsDisabled,
                   glyph);
  BitBlt(ACanvas->DeviceContext(), AArea.Left, AArea.Top, AArea.Width(), AArea.Height(), buffer.Canvas()->Handle(), 0,
         0, SRCCOPY);
}

void DrawTextContent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* vi, TcxEditButtonViewInfo* b, const TRect& AContent,
                     TColor AContentColor) {
  TColor color;
  if (b->Style == btsHotFlat && IsPressedOrHot(b->State))
    color = AContentColor;
  else
    color = b->TextColor == clDefault ? vi->TextColor : b->TextColor;
  TRect r = AContent;
  r.Left += 1;
  r.Right -= 1;
  if (!vi->IsInplace) {
    r.Top += 1;
    r.Bottom -= 1;
  }
  if (vi->Font) ACanvas->AssignFont(vi->Font);
  const HDC dc = ACanvas->DeviceContext();
  const TBrushStyle brushStyle = ACanvas->Brush()->GetStyle();
  ACanvas->Brush()->SetStyle(bsClear);
  constexpr UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  auto draw = [&](const TRect& at, TColor c) {
    ACanvas->Font()->SetColor(c);
    ACanvas->Canvas->RequiredState();
    SetBkMode(dc, TRANSPARENT);
    RECT rc = ToRECT(at);
    DrawText(dc, b->Caption.c_str(), static_cast<int>(b->Caption.size()), &rc, format);
  };
  if (b->State == ebbsDisabled) {
    draw(cxRectOffset(r, 1, 1), clBtnHighlight);
    draw(r, clBtnShadow);
  } else {
    draw(b->State == ebbsPressed ? cxRectOffset(r, 1, 1) : r, color);
  }
  ACanvas->Brush()->SetStyle(brushStyle);
}

// Paints one control (and the windowed children under the editor) into
// the canvas with its origin at AOrigin of the canvas.
void PaintControlCopy(TWinControl* AControl, TWinControl* AEdit, TcxCanvas* ACanvas, const TPoint& AOrigin,
                      const TRect& AArea) {
  if (!AControl->HandleAllocated()) return;
  TcxRegion windowRegion;
  const int regionKind = GetWindowRgn(AControl->Handle(), windowRegion.Handle);
  if (regionKind == NULLREGION) return;
  const HDC dc = ACanvas->DeviceContext();
  SavedDc saved(dc);
  POINT oldOrigin{};
  GetWindowOrgEx(dc, &oldOrigin);
  SetWindowOrgEx(dc, oldOrigin.x - AOrigin.X, oldOrigin.y - AOrigin.Y, nullptr);
  // The area, in the control's coordinates.
  const TRect area = cxRectOffset(AArea, -AOrigin.X, -AOrigin.Y);
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  if (regionKind != ERROR)
    ACanvas->ApplyClipRegion(windowRegion, RegionIntersection);
  else
    IntersectClipRect(dc, 0, 0, AControl->Width(), AControl->Height());
  AControl->ControlState += csPaintCopy;
  struct Unmark {
    TWinControl* c;
    ~Unmark() { c->ControlState -= csPaintCopy; }
  } unmark{AControl};
  TPoint client{0, 0};
  if (AControl != AEdit) {
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtr(AControl->Handle(), GWL_EXSTYLE));
    const auto style = static_cast<DWORD>(GetWindowLongPtr(AControl->Handle(), GWL_STYLE));
    RECT frame{0, 0, AControl->Width(), AControl->Height()};
    if (exStyle & WS_EX_CLIENTEDGE)
      DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else if (style & WS_BORDER)
      DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_FLAT | BF_MONO);
    if (frame.left || frame.top) {
      client = {frame.left, frame.top};
      SetWindowOrgEx(dc, oldOrigin.x - AOrigin.X - frame.left, oldOrigin.y - AOrigin.Y - frame.top, nullptr);
      IntersectClipRect(dc, 0, 0, frame.right - frame.left, frame.bottom - frame.top);
    }
  }
  {
    ACanvas->Canvas->Lock();
    struct Unlock {
      TCanvas* c;
      ~Unlock() { c->Unlock(); }
    } unlock{ACanvas->Canvas};
    AControl->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    AControl->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
  for (Integer i = 0; i < AControl->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(AControl->Controls(i));
    if (!child) continue;
    if (child == AEdit) break;
    if (!child->Visible()) continue;
    const TPoint childOrigin{AOrigin.X + client.X + child->Left(), AOrigin.Y + client.Y + child->Top()};
    const TRect childRect{childOrigin.X, childOrigin.Y, childOrigin.X + child->Width(),
                          childOrigin.Y + child->Height()};
    if (childRect.Right <= AArea.Left || childRect.Left >= AArea.Right || childRect.Bottom <= AArea.Top ||
        childRect.Top >= AArea.Bottom)
      continue;
    // Each child paints with the clip its own parent had.
    SetWindowOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    PaintControlCopy(child, AEdit, ACanvas, childOrigin, AArea);
  }
}

}  // namespace

// --- background and buttons -----------------------------------------------------

void DrawEditBackgroundAndButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, bool AFillInterior,
                                  Integer ANativeContentMode) {
  TcxCustomEditViewInfo* vi = AViewInfo;
  const HDC dc = ACanvas->DeviceContext();
  {
    // Opaque buttons are left out of the background.
    std::unique_ptr<SavedDc> saved;
    if (vi->ButtonCount() > 0 && !vi->Button(0)->NativePartiallyTransparent) {
      saved = std::make_unique<SavedDc>(dc);
      for (const auto& b : vi->Buttons)
        ExcludeClipRect(dc, b->VisibleBounds.Left, b->VisibleBounds.Top, b->VisibleBounds.Right,
                        b->VisibleBounds.Bottom);
    }
    if (!vi->DrawCustomBackground(ACanvas)) {
      if (vi->NativeDrawing)
        DrawNativeBackground(ACanvas, vi, AFillInterior, ANativeContentMode);
      else
        DrawClassicBackground(ACanvas, vi, AFillInterior);
    }
  }
  for (Integer i = 0; i < vi->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    b->BackgroundColor = vi->FillColor;
    if (cxRectIsEmpty(b->VisibleBounds)) continue;
    std::unique_ptr<SavedDc> saved;
    const TRect inside = vi->InsideBorderRect;
    if (b->Bounds.Left < inside.Left || b->Bounds.Top < inside.Top || b->Bounds.Right > inside.Right ||
        b->Bounds.Bottom > inside.Bottom) {
      saved = std::make_unique<SavedDc>(dc);
      IntersectClipRect(dc, b->VisibleBounds.Left, b->VisibleBounds.Top, b->VisibleBounds.Right,
                        b->VisibleBounds.Bottom);
    }
    vi->PaintButton(ACanvas, i);
  }
}

void PaintEditButton(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex) {
  TcxEditButtonViewInfo* b = AViewInfo->Button(AIndex);
  TcxEditButtonStyle style = b->Style;
  if (!ButtonIsNative(b) && IsPressedOrHot(b->State) && style == btsSimple) style = btsFlat;
  AViewInfo->DrawButtonByStyle(ACanvas, AIndex, style, b->Bounds);
}

void DrawEditButtonByStyle(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                           TcxEditButtonStyle AStyle, const TRect& R) {
  TcxCustomEditViewInfo* vi = AViewInfo;
  TcxEditButtonViewInfo* b = vi->Button(AIndex);
  const HDC dc = ACanvas->DeviceContext();
  if (ButtonIsNative(b)) {
    const HTHEME theme = ButtonTheme(b);
    UxDrawThemeBackground(theme, dc, b->NativePart, b->NativeState, R);
    if (b->SingleDropDown) return;
    const TRect content = UxGetThemeBackgroundContentRect(theme, dc, b->NativePart, b->NativeState, R);
    vi->DrawButtonContent(ACanvas, AIndex, content, content, clBtnText, clBlack);
    return;
  }
  const bool pressed = b->State == ebbsPressed;
  TColor face = b->Transparent ? b->BackgroundColor : clBtnFace;
  TColor contentColor = clBtnText;
  TRect r = R;
  TRect content;
  switch (AStyle) {
    case bts3D:
      if (pressed) {
        FrameWithColor(ACanvas, r, clBtnShadow);
        FrameWithColor(ACanvas, Shrunk(r, 1), face);
        r = Shrunk(r, 2);
      } else {
        TwoColorFrame(ACanvas, r, cl3DLight, cl3DDkShadow);
        TwoColorFrame(ACanvas, r, clBtnHighlight, clBtnShadow);
      }
      content = r;
      break;
    case btsFlat:
      DrawRectEdges(ACanvas, r, {bLeft, bRight}, face);
      if (pressed)
        TwoColorFrame(ACanvas, r, clBtnShadow, clBtnHighlight);
      else
        TwoColorFrame(ACanvas, r, clBtnHighlight, clBtnShadow);
      content = r;
      break;
    case btsHotFlat: {
      if (!b->Transparent) {
        static constexpr TColor faces[] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
        face = faces[std::clamp<Integer>(b->State, ebbsDisabled, ebbsHot)];
      }
      if ((b->LeftAlignment && b->LastEdge) || (!b->LeftAlignment && b->FirstEdge)) {
        FrameWithColor(ACanvas, r, clBtnShadow);
        r = Shrunk(r, 1);
      } else {
        const TcxBorder outer = b->LeftAlignment ? bLeft : bRight;
        const TcxBorder inner = b->LeftAlignment ? bRight : bLeft;
        DrawRectEdges(ACanvas, r, TcxBorders{outer, bTop, bBottom}, clBtnShadow);
        DrawRectEdges(ACanvas, r, TcxBorders{inner}, face);
      }
      DrawRectEdges(ACanvas, r, {bLeft, bRight}, face);
      if (!IsPressedOrHot(b->State))
        contentColor = clBtnText;
      else if (b->Transparent && b->State == ebbsHot)
        contentColor = clBtnShadow;
      else
        contentColor = clWindow;
      content = r;
      break;
    }
    case btsUltraFlat:
    case btsOffice11: {
      const bool office11 = AStyle == btsOffice11;
      if (!b->Transparent) {
        if (b->State == ebbsDisabled)
          face = clBtnFace;
        else if (b->State == ebbsNormal)
          face = office11 ? Office11FaceColor : clBtnFace;
        else
          face = HighlightedButtonColor(pressed, office11);
      }
      const TColor frame = HighlightedBorderColor(office11);
      if (!IsPressedOrHot(b->State) || (b->IsInplace && !(vi->ExtraFlags & 4))) {
        if (IsPressedOrHot(b->State))
          FrameWithColor(ACanvas, r, frame);
        else if (!vi->Transparent)
          FrameWithColor(ACanvas, r, b->BackgroundColor);
        r = Shrunk(r, 1);
        content = r;
        content.Left += 1;
        content.Right -= 1;
      } else {
        // The side lines of a highlighted button; a side on the editor's
        // border, or the outer edge of the outermost button, has none.
        const TRect& inside = vi->InsideBorderRect;
        if (b->LeftAlignment) {
          if (b->FirstEdge)
            r.Left += 1;
          else
            DrawRectEdges(ACanvas, r, {bLeft}, frame);
          if (r.Right != inside.Right) DrawRectEdges(ACanvas, r, {bRight}, frame);
        } else {
          if (b->LastEdge)
            r.Right -= 1;
          else
            DrawRectEdges(ACanvas, r, {bRight}, frame);
          if (r.Left != inside.Left) DrawRectEdges(ACanvas, r, {bLeft}, frame);
        }
        content = r;
      }
      break;
    }
    default:  // btsSimple and btsDefault
      if (!vi->Transparent) FrameWithColor(ACanvas, r, b->BackgroundColor);
      r = Shrunk(r, 1);
      DrawRectEdges(ACanvas, r, {bLeft, bRight}, face);
      content = r;
      break;
  }
  vi->DrawButtonContent(ACanvas, AIndex, content, r, contentColor, face);
}

void DrawEditButtonContent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                           const TRect& AContentRect, const TRect& AArea, TColor AContentColor, TColor AFaceColor) {
  if (cxRectIsEmpty(AArea)) return;
  TcxEditButtonViewInfo* b = AViewInfo->Button(AIndex);
  const bool glyphUsable = b->Kind == bkGlyph && IsBitmapUsable(b->Glyph);
  if (!ButtonIsNative(b) && !glyphUsable) AViewInfo->FillButtonArea(ACanvas, AIndex, AArea, AFaceColor);
  switch (b->Kind) {
    case bkEllipsis: DrawEllipsis(ACanvas, b, AContentRect, AContentColor); break;
    case bkDown: DrawDropDownArrow(ACanvas, b, AContentRect, AContentColor); break;
    case bkGlyph:
      if (glyphUsable) DrawGlyphContent(ACanvas, AViewInfo, AIndex, AContentRect, AArea, AFaceColor);
      break;
    case bkText: DrawTextContent(ACanvas, AViewInfo, b, AContentRect, AContentColor); break;
  }
}

// --- sizes and native parts ------------------------------------------------------

Integer CalcEditButtonWidth(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButton) {
  TcxEditButtonViewInfo* b = AButton;
  const HTHEME theme = b->NativeStyle ? ButtonTheme(b) : nullptr;
  Integer margins = 4;
  if (theme) {
    const TRect m = ThemeContentMargins(theme);
    margins = m.Left + m.Right;
  }
  if (b->Width > 0) return std::max(b->Width, margins);
  const Integer scrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  if (b->Kind == bkGlyph && IsBitmapUsable(b->Glyph)) return b->Glyph->Width() + margins;
  if (b->Kind == bkText) {
    const std::string visible = RemoveAccelChars(b->Caption);
    return std::max(scrollHeight, margins + ACanvas->MeasureTextWidth(visible) + 3);
  }
  return scrollHeight;
}

void SetButtonNativePart(TcxEditButtonViewInfo* AButton) {
  TcxEditButtonViewInfo* b = AButton;
  const HTHEME theme = b->NativeStyle ? ButtonTheme(b) : nullptr;
  if (!theme) {
    b->NativePart = 0;
    b->NativeState = 0;
    b->NativePartiallyTransparent = false;
    return;
  }
  static constexpr Integer states[] = {4, 1, 3, 2};  // disabled, normal, pressed, hot
  b->NativePart = 1;
  b->NativeState = states[std::clamp<Integer>(b->State, ebbsDisabled, ebbsHot)];
  // Asked for the state the button is about to be drawn in.
  b->NativePartiallyTransparent = UxIsThemeBackgroundPartiallyTransparent(theme, b->NativePart, b->NativeState);
}

Integer ButtonContentVerticalExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) {
  (void)ACanvas;
  if (AViewInfo->NativeDrawing) {
    const TRect m = ThemeContentMargins(OpenThemeByIndex(ThemeClassButton));
    return m.Top + m.Bottom;
  }
  if (AViewInfo->ButtonCount() == 0) return 0;
  switch (AViewInfo->Button(0)->Style) {
    case btsDefault: return 0;
    case bts3D: return 4;
    default: return 2;
  }
}

TSize ComputeArrowSize(const TSize& ASize, ArrowDirection ADirection) {
  const Integer s = std::min(ASize.cx, ASize.cy);
  Integer w = (s - 1) / 2;
  if (w % 2 == 0) ++w;
  const Integer h = w / 2 + 1;
  return ADirection == ArrowUp || ADirection == ArrowDown ? TSize{w, h} : TSize{h, w};
}

void DrawButtonArrows(TcxCanvas* ACanvas, Integer AArrowSize, const TRect& R, TColor AColor, bool APressed,
                      Integer AExtraCount, ArrowDirection ADirection) {
  const Integer a = AArrowSize;
  if (a <= 0) return;
  const Integer count = AExtraCount + 1;
  const bool vertical = ADirection == ArrowUp || ADirection == ArrowDown;
  const Integer across = 2 * a - 1, along = count * a;
  const Integer groupWidth = vertical ? across : along, groupHeight = vertical ? along : across;
  Integer x = R.Left + (R.Width() - groupWidth) / 2;
  Integer y = R.Top + (R.Height() - groupHeight) / 2;
  if (APressed) {
    ++x;
    ++y;
  }
  for (Integer n = 0; n < count; ++n) {
    const Integer start = n * a;
    for (Integer i = 0; i < a; ++i) {
      // Line i of the triangle: its half-width grows from the apex.
      const Integer half = (ADirection == ArrowUp || ADirection == ArrowLeft) ? i : a - 1 - i;
      TRect line;
      if (vertical)
        line = {x + a - 1 - half, y + start + i, x + a + half, y + start + i + 1};
      else
        line = {x + start + i, y + a - 1 - half, x + start + i + 1, y + a + half};
      FillRectWithColor(ACanvas, line, AColor);
    }
  }
}

void DrawRectEdges(TcxCanvas* ACanvas, TRect& R, TcxBorders ASides, TColor AColor) {
  ACanvas->Pen()->SetColor(AColor);
  auto line = [&](Integer x1, Integer y1, Integer x2, Integer y2) {
    ACanvas->MovePenTo(x1, y1);
    ACanvas->DrawLineTo(x2, y2);
    ACanvas->PlotPixel(x2, y2, AColor);
  };
  if (ASides.Contains(bLeft)) {
    line(R.Left, R.Top, R.Left, R.Bottom - 1);
    ++R.Left;
  }
  if (ASides.Contains(bRight)) {
    line(R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
    --R.Right;
  }
  if (ASides.Contains(bTop)) {
    line(R.Left, R.Top, R.Right - 1, R.Top);
    ++R.Top;
  }
  if (ASides.Contains(bBottom)) {
    line(R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
    --R.Bottom;
  }
}

void DrawOrthogonalPolyline(TcxCanvas* ACanvas, const TPoint* APoints, Integer ASegmentCount, bool AUseBrush,
                            TColor AColor) {
  if (ASegmentCount < 0) return;
  const TPoint& last = APoints[ASegmentCount];
  if (!AUseBrush) {
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->DrawPolyline(APoints, ASegmentCount);
    ACanvas->PlotPixel(last.X, last.Y, AColor);
    return;
  }
  for (Integer i = 0; i < ASegmentCount; ++i) {
    const TPoint& p = APoints[i];
    const TPoint& q = APoints[i + 1];
    FillRectWithColor(ACanvas,
                      {std::min(p.X, q.X), std::min(p.Y, q.Y), std::max(p.X, q.X) + 1, std::max(p.Y, q.Y) + 1},
                      AColor);
  }
  FillRectWithColor(ACanvas, {last.X, last.Y, last.X + 1, last.Y + 1}, AColor);
}

// --- glyphs ------------------------------------------------------------------------

bool IsBitmapUsable(TBitmap* ABitmap) {
  return ABitmap && !ABitmap->Empty() && ABitmap->Width() > 0 && ABitmap->Height() > 0;
}

void PaintGlyphBitmap(TcxCanvas* ACanvas, Integer X, Integer Y, TBitmap* ABuffer, TColor ABackgroundColor,
                      bool AEnabled, TBitmap* AGlyph) {
  if (!IsBitmapUsable(AGlyph)) return;
  const Integer w = AGlyph->Width(), h = AGlyph->Height();
  const TColor transparent = AGlyph->TransparentColor();
  if (AEnabled) {
    TCanvas* target = ABuffer ? ABuffer->Canvas() : ACanvas->Canvas;
    const Integer tx = ABuffer ? 0 : X, ty = ABuffer ? 0 : Y;
    if (ABuffer || ABackgroundColor == clNone) {
      // A clear brush: the transparent colour shows what lies under it.
      target->RequiredState();
      TransparentBlt(target->Handle(), tx, ty, w, h, AGlyph->DC(), 0, 0, w, h,
                     ColorToRGB(transparent) & 0xFFFFFF);
    } else {
      const TBrushStyle style = target->Brush()->GetStyle();
      target->Brush()->SetColor(ABackgroundColor);
      target->BrushCopy({tx, ty, tx + w, ty + h}, AGlyph, {0, 0, w, h}, transparent);
      target->Brush()->SetStyle(style);
    }
    if (ABuffer) ACanvas->Canvas->Draw(X, Y, ABuffer);
    return;
  }
  TCustomImageList images(w, h);
  images.AddMasked(AGlyph, transparent);
  if (!ABuffer && ABackgroundColor != clNone) {
    TBitmap temp;
    temp.SetSize(w, h);
    FillRectWithColor(temp.Canvas(), {0, 0, w, h}, ABackgroundColor);
    images.Draw(temp.Canvas(), 0, 0, 0, false);
    ACanvas->Canvas->Draw(X, Y, &temp);
  } else if (ABuffer) {
    images.Draw(ABuffer->Canvas(), 0, 0, 0, false);
    ACanvas->Canvas->Draw(X, Y, ABuffer);
  } else {
    images.Draw(ACanvas->Canvas, X, Y, 0, false);
  }
}

void DrawImageListImage(TcxCanvas* ACanvas, TCustomImageList* AImages, Integer AImageIndex, TBitmap* ABuffer,
                        bool AEnabled, TColor ABackgroundColor, const TRect& R) {
  if (!AImages) return;
  TBitmap temp;
  TBitmap* target = ABuffer;
  if (!target) {
    temp.SetSize(AImages->Width(), AImages->Height());
    FillRectWithColor(temp.Canvas(), {0, 0, AImages->Width(), AImages->Height()}, ABackgroundColor);
    target = &temp;
  }
  AImages->Draw(target->Canvas(), 0, 0, AImageIndex, AEnabled);
  ACanvas->Canvas->Draw(R.Left, R.Top, target);
}

TPoint CenterSizeInRect(const TRect& R, const TSize& ASize, bool AShift) {
  TPoint p{R.Left + (R.Width() - ASize.cx) / 2, R.Top + (R.Height() - ASize.cy) / 2};
  if (AShift) {
    if (p.X + 1 + ASize.cx <= R.Right) ++p.X;
    if (p.Y + 1 + ASize.cy <= R.Bottom) ++p.Y;
  }
  return p;
}

void DrawTransparentBackground(TcxCustomEditViewInfo* AViewInfo, TcxCanvas* ACanvas, const TRect& R) {
  TWinControl* control = AViewInfo->BackgroundControl;
  if (!control) return;
  // The canvas shows R; the control's point R + offset lies there.
  const TPoint origin{-AViewInfo->BackgroundOffset.X, -AViewInfo->BackgroundOffset.Y};
  PaintControlCopy(control, AViewInfo->Edit, ACanvas, origin, R);
}

// --- small answers ----------------------------------------------------------------------

TcxCustomLookAndFeelPainterClass PainterClassForStyle(bool ANative, TcxLookAndFeelKind AKind) {
  if (ANative && ThemesActive()) return TcxWinXPLookAndFeelPainter::Instance();
  switch (AKind) {
    case lfFlat: return TcxFlatLookAndFeelPainter::Instance();
    case lfUltraFlat: return TcxUltraFlatLookAndFeelPainter::Instance();
    case lfOffice11: return TcxOffice11LookAndFeelPainter::Instance();
    default: return TcxStandardLookAndFeelPainter::Instance();
  }
}

TColor SystemHotTrackColor() {
  if (!HotLightAvailable()) return clBlue;
  return static_cast<TColor>(GetSysColor(COLOR_HOTLIGHT));
}

TColor HighlightedBorderColor(bool AOffice11) { return AOffice11 ? Office11SelectionFrameColor : clHighlight; }

TColor HighlightedButtonColor(bool APressed, bool AOffice11) {
  TcxCustomLookAndFeelPainterClass painter =
      AOffice11 ? TcxOffice11LookAndFeelPainter::Instance() : TcxUltraFlatLookAndFeelPainter::Instance();
  return painter->ButtonFaceColor(APressed ? cxbsPressed : cxbsHot);
}

bool EditHasShadow(bool AStyleShadow, bool ANativeLookAndFeel) { return AStyleShadow && !ANativeLookAndFeel; }

Integer NativeContentHeightCorrection(Integer AButtonCount, bool AIsInplace) {
  return AIsInplace && AButtonCount > 0 ? 1 : 0;
}

std::string RemoveAccelChars(const std::string& ACaption) {
  std::string result;
  result.reserve(ACaption.size());
  for (size_t i = 0; i < ACaption.size(); ++i) {
    if (ACaption[i] != '&') {
      result += ACaption[i];
      continue;
    }
    if (i + 1 == ACaption.size()) {
      result += '_';
      break;
    }
    result += ACaption[++i];
  }
  return result;
}

namespace {
struct TextFlagPair {
  TcxEditTextFlags flag;
  UINT format;
};
constexpr TextFlagPair kTextFlagPairs[] = {
    {EditTextVCenter, DT_VCENTER},         {EditTextRight, DT_RIGHT},     {EditTextSingleLine, DT_SINGLELINE},
    {EditTextWordBreak, DT_WORDBREAK},     {EditTextCalcRect, DT_CALCRECT}, {EditTextExpandTabs, DT_EXPANDTABS},
};
}  // namespace

UINT TextFlagsToDrawTextFormat(TcxEditTextFlags AFlags) {
  UINT format = 0;
  for (const auto& p : kTextFlagPairs)
    if (AFlags & p.flag) format |= p.format;
  return format;
}

TcxEditTextFlags DrawTextFormatToTextFlags(UINT AFormat) {
  TcxEditTextFlags flags = 0;
  for (const auto& p : kTextFlagPairs)
    if (AFormat & p.format) flags |= p.flag;
  return flags;
}

void FillDCRect(HDC DC, const TRect& R, TColor AColor) {
  const RECT r = ToRECT(R);
  FillRect(DC, &r, CachedSolidBrush(AColor));
}

void FillRectFrameWithBrush(HDC DC, const TRect& AOuter, const TRect& AInner, HBRUSH ABrush) {
  if (cxRectIsEmpty(AOuter) || AOuter == AInner) return;
  auto fill = [&](const TRect& band) {
    const RECT r = ToRECT(band);
    FillRect(DC, &r, ABrush);
  };
  if (cxRectIsEmpty(AInner)) {
    fill(AOuter);
    return;
  }
  fill({AOuter.Left, AOuter.Top, AInner.Left, AOuter.Bottom});
  fill({AInner.Left, AOuter.Top, AInner.Right, AInner.Top});
  fill({AInner.Right, AOuter.Top, AOuter.Right, AOuter.Bottom});
  fill({AInner.Left, AInner.Bottom, AInner.Right, AOuter.Bottom});
}

void SetCanvasFontFromLogFont(TcxCanvas* ACanvas, const LOGFONT& ALogFont) {
  ACanvas->Font()->SetHandle(CreateFontIndirect(&ALogFont));
}

LOGFONT GetCanvasLogFont(TcxCanvas* ACanvas) {
  LOGFONT lf{};
  GetObject(ACanvas->Font()->Handle(), sizeof(lf), &lf);
  return lf;
}

void InitializeEditPainting() {
  // NT-family systems from version 5 offer the hot-light colour.
  HotLightAvailable() = Win32MajorVersion >= 5;
}
