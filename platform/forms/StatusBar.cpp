#include "platform/forms/ComCtrls.h"

#include <algorithm>

#include "platform/forms/FormsPrivate.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

using namespace win;
using namespace forms;

VXN_IMPLEMENT_CREATABLE_CLASS(TStatusPanel, TCollectionItem)
VXN_PUBLISH(TStatusPanel) {
  P.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
  P.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
  P.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
  P.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  P.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
}

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::SetAlignment(TAlignment Value) {
  Alignment_ = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
  Bevel_ = Value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
  Style_ = Value;
  Changed(false);
}

void TStatusPanel::SetText(const std::string& Value) {
  if (Text_ == Value) return;
  Text_ = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
  Width_ = std::max<Integer>(Value, 0);
  Changed(true);
}

void TStatusPanel::Assign(TPersistent* Source) {
  auto* panel = dynamic_cast<TStatusPanel*>(Source);
  if (!panel) {
    TCollectionItem::Assign(Source);
    return;
  }
  Alignment_ = panel->Alignment_;
  Bevel_ = panel->Bevel_;
  Style_ = panel->Style_;
  Text_ = panel->Text_;
  Width_ = panel->Width_;
  Changed(true);
}

VXN_IMPLEMENT_CLASS(TStatusPanels, TCollection)

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(TStatusPanel::StaticClass()), StatusBar_(StatusBar) {}

TPersistent* TStatusPanels::GetOwner() { return StatusBar_; }

void TStatusPanels::Update(TCollectionItem* Item) {
  (void)Item;
  if (StatusBar_) StatusBar_->Invalidate();
}

VXN_IMPLEMENT_CREATABLE_CLASS(TStatusBar, TCustomControl)
VXN_PUBLISH(TStatusBar) {
  P.Property("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
  P.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(false);
  P.Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  P.Property("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(true);
  P.Event("OnDrawPanel", &TStatusBar::OnDrawPanel);
}

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), Panels_(new TStatusPanels(this)) {
  ControlStyle += csOpaque;
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
  SetColor(clBtnFace);
}

TStatusBar::~TStatusBar() {
  Panels_->StatusBar_ = nullptr;
}

void TStatusBar::SetSimplePanel(bool Value) {
  if (SimplePanel_ == Value) return;
  SimplePanel_ = Value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& Value) {
  if (SimpleText_ == Value) return;
  SimpleText_ = Value;
  if (SimplePanel_) Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value) {
  if (SizeGrip_ == Value) return;
  SizeGrip_ = Value;
  Invalidate();
}

bool TStatusBar::GripShown() {
  // The grip only makes sense where the bar sits in the window's corner.
  return SizeGrip_ && Align() == alBottom;
}

TRect TStatusBar::SizeGripRect() {
  if (!GripShown()) return {};
  TRect r = ClientRect();
  return {std::max<Integer>(0, r.Right - r.Height()), r.Top, r.Right, r.Bottom};
}

TRect TStatusBar::PanelRect(Integer Index) {
  TRect client = ClientRect();
  if (Index < 0 || Index >= Panels_->Count()) return {};
  Integer x = 0;
  for (Integer i = 0; i < Index; ++i) x += Panels_->Items(i)->Width();
  Integer right = x + Panels_->Items(Index)->Width();
  if (Index == Panels_->Count() - 1) {
    right = std::max(right, client.Right - (GripShown() ? client.Height() : 0));
  }
  return {x, client.Top + 2, std::min(right, client.Right), client.Bottom};
}

void TStatusBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST && GripShown()) {
    TPoint p = ScreenToClient(PointFromLParam(Message.LParam));
    TRect grip = SizeGripRect();
    if (p.X >= grip.Left && p.X < grip.Right && p.Y >= grip.Top && p.Y < grip.Bottom) {
      Message.Result = HTBOTTOMRIGHT;
      return;
    }
  }
  TCustomControl::WndProc(Message);
}

void TStatusBar::Paint() {
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  c->Font()->Assign(Font());
  SetBkMode(c->Handle(), TRANSPARENT);
  auto drawText = [c](TRect r, const std::string& text, TAlignment align) {
    RECT rc{r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1};
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (align == taCenter) flags |= DT_CENTER;
    if (align == taRightJustify) flags |= DT_RIGHT;
    DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &rc, flags);
  };
  if (SimplePanel_ || Panels_->Count() == 0) {
    TRect r{0, client.Top + 2, client.Right - (GripShown() ? client.Height() : 0), client.Bottom};
    drawText(r, SimplePanel_ ? SimpleText_ : GetText(), taLeftJustify);
  } else {
    for (Integer i = 0; i < Panels_->Count(); ++i) {
      TStatusPanel* panel = Panels_->Items(i);
      TRect r = PanelRect(i);
      if (r.Left >= client.Right) break;
      if (panel->Bevel() != pbNone) {
        RECT rc{r.Left, r.Top, r.Right - 2, r.Bottom};
        DrawEdge(c->Handle(), &rc, panel->Bevel() == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      }
      TRect inner{r.Left + 1, r.Top + 1, r.Right - 3, r.Bottom - 1};
      if (panel->Style() == psOwnerDraw) {
        if (OnDrawPanel) OnDrawPanel(this, panel, inner);
      } else {
        drawText(inner, panel->Text(), panel->Alignment());
      }
    }
  }
  if (GripShown()) {
    RECT grip{client.Right - client.Height() + 2, client.Top + 2, client.Right, client.Bottom};
    if (ScopedTheme theme(u"ScrollBar"); theme)
      DrawThemeBackground(theme.get(), c->Handle(), SBP_SIZEBOX, SZB_RIGHTALIGN, &grip, nullptr);
    else
      DrawFrameControl(c->Handle(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}
