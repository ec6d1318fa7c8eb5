#include "platform/forms/BitBtn.h"

#include <algorithm>

#include "platform/forms/CustomForms.h"
#include "platform/forms/GlyphLayout.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiText.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Rects.h"
#include "platform/win/UxTheme.h"
#include "platform/win/SysColors.h"

using namespace win;

namespace {

struct BitBtnKindInfo {
  const char* Caption;
  TModalResult Result;
  bool Default;
  bool Cancel;
};

// Caption, modal result and role of each kind, in the order of TBitBtnKind.
constexpr BitBtnKindInfo kBitBtnKinds[] = {
    {"", mrNone, false, false},         {"OK", mrOk, true, false},        {"Cancel", mrCancel, false, true},
    {"&Help", mrNone, false, false},    {"&Yes", mrYes, true, false},     {"&No", mrNo, false, true},
    {"&Close", mrNone, false, false},   {"Abort", mrAbort, false, true},  {"&Retry", mrRetry, false, false},
    {"&Ignore", mrIgnore, false, false}, {"&All", mrAll, true, false},
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TBitBtn, TButton)
VXN_PUBLISH(TBitBtn) {
  P.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
  P.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
  P.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), Glyph_(new TBitmap), Canvas_(new TCanvas) {}

TBitBtn::~TBitBtn() {
  DestroyHandle();
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  Kind_ = Value;
  if (Value == bkCustom) return;
  const BitBtnKindInfo& k = kBitBtnKinds[static_cast<size_t>(Value)];
  SetCaption(k.Caption);
  SetModalResult(k.Result);
  SetDefault(k.Default);
  SetCancel(k.Cancel);
}

void TBitBtn::Click() {
  // A Close button closes its form (a modal one ends without a result).
  if (Kind_ == bkClose)
    if (TForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  TButton::Click();
}

void TBitBtn::SetGlyph(TBitmap* Value) {
  Glyph_->Assign(Value);
  // A strip of square images holds that many glyphs.
  if (!Glyph_->Empty() && Glyph_->Height() > 0 && Glyph_->Width() % Glyph_->Height() == 0) {
    Integer n = Glyph_->Width() / Glyph_->Height();
    if (n >= 1 && n <= 4) NumGlyphs_ = n;
  }
  Invalidate();
}

void TBitBtn::SetNumGlyphs(Integer Value) {
  NumGlyphs_ = std::clamp<Integer>(Value, 1, 4);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  Layout_ = Value;
  Invalidate();
}

void TBitBtn::SetMargin(Integer Value) {
  Margin_ = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(Integer Value) {
  Spacing_ = Value;
  Invalidate();
}

void TBitBtn::WndProc(TMessage& Message) {
  if (Message.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = 1;
    return;
  }
  TButton::WndProc(Message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Item) {
  HDC dc = Item.hDC;
  RECT r = Item.rcItem;
  bool pressed = Item.itemState & ODS_SELECTED;
  bool focused = Item.itemState & ODS_FOCUS;
  bool enabled = !(Item.itemState & ODS_DISABLED);
  Canvas_->SetHandle(dc);
  if (ScopedTheme theme(u"Button"); theme) {
    bool hot = Item.itemState & ODS_HOTLIGHT;
    int state = !enabled ? PBS_DISABLED : pressed ? PBS_PRESSED : hot ? PBS_HOT : Active() ? PBS_DEFAULTED : PBS_NORMAL;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));  // under the rounded corners
    DrawThemeBackground(theme.get(), dc, BP_PUSHBUTTON, state, &r, nullptr);
  } else {
    if (Active()) {
      // The default (or focused) button wears a black frame outside its edges.
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  }
  Integer gw = Glyph_->Empty() ? 0 : Glyph_->Width() / NumGlyphs_, gh = Glyph_->Empty() ? 0 : Glyph_->Height();
  Canvas_->SetFont(Font());
  Canvas_->Brush()->SetStyle(bsClear);
  std::string text = Caption();
  TSize ts = text.empty() ? TSize{0, 0} : Canvas_->TextExtent(text);
  auto [glyphAt, textAt] = PlaceGlyphAndText(Layout_, Margin_, Spacing_, {Width(), Height()}, {gw, gh}, ts);
  Integer shift = pressed ? 1 : 0;
  if (gw > 0) {
    // Images side by side: up, disabled, down.
    Integer index = !enabled ? 1 : pressed ? 2 : 0;
    if (index >= NumGlyphs_) index = 0;
    TBitmap part;
    part.SetSize(gw, gh);
    BitBlt(part.DC(), 0, 0, gw, gh, Glyph_->DC(), index * gw, 0, SRCCOPY);
    // One transparent colour for the whole strip: its bottom-left pixel.
    part.SetTransparentColor(Glyph_->TransparentColor());
    part.SetTransparent(true);
    Canvas_->Draw(glyphAt.X + shift, glyphAt.Y + shift, &part);
  }
  if (!text.empty()) {
    Canvas_->Font()->SetColor(enabled ? clBtnText : clGrayText);
    RECT tr{textAt.X + shift, textAt.Y + shift, textAt.X + shift + ts.cx, textAt.Y + shift + ts.cy};
    Canvas_->RequiredState();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(enabled ? clBtnText : clGrayText));
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE);
    if (focused) {
      RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      DrawFocusRect(dc, &f);
    }
  }
  Canvas_->SetHandle(nullptr);
}

void RegisterBitBtnClasses() { RegisterClasses({TBitBtn::StaticClass()}); }
