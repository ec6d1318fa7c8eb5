#include "controls/ControlSubClass.h"

#include <algorithm>
#include <vector>

#include "controls/MenuSkin.h"
#include "controls/MenuSkinColors.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/UpDown.h"
#include "platform/forms/BitBtn.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(TControlSubClass, TComponent)

namespace {

constexpr win::UINT EM_GETMODIFY = 184;

// Every hook alive, so that a hook freed from the middle of a chain can hand
// its saved procedure to the one in front of it.
std::vector<TControlSubClass*>& LiveHooks() {
  static std::vector<TControlSubClass*> hooks;
  return hooks;
}

bool NameIs(const TObject* Object, const char* Name) { return Object && SameText(Object->ClassName(), Name); }

bool SavesStyles(const TControl* C) {
  return dynamic_cast<const TCustomEdit*>(C) || dynamic_cast<const TCustomListBox*>(C) ||
         dynamic_cast<const TTreeView*>(C) || NameIs(C, "TDBLookupComboBox");
}

TBorderStyle BorderStyleOf(const TControl* C) {
  if (auto* e = dynamic_cast<const TCustomEdit*>(C)) return e->BorderStyle();
  if (auto* l = dynamic_cast<const TCustomListBox*>(C)) return l->BorderStyle();
  if (auto* t = dynamic_cast<const TTreeView*>(C)) return t->BorderStyle();
  return bsNone;
}

void SetBorderStyleOf(TControl* C, TBorderStyle Value) {
  if (auto* e = dynamic_cast<TCustomEdit*>(C)) e->SetBorderStyle(Value);
  else if (auto* l = dynamic_cast<TCustomListBox*>(C)) l->SetBorderStyle(Value);
  else if (auto* t = dynamic_cast<TTreeView*>(C)) t->SetBorderStyle(Value);
}

bool RightToLeft(const TControl* C) { return C->BiDiMode() != bdLeftToRight; }

// A canvas over a DC for the length of a drawing.
class DcCanvas {
 public:
  explicit DcCanvas(win::HDC dc) { canvas_.SetHandle(dc); }
  ~DcCanvas() { canvas_.SetHandle(nullptr); }
  TCanvas* operator->() { return &canvas_; }
  TCanvas* Get() { return &canvas_; }

 private:
  TCanvas canvas_;
};

void Frame(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FrameRect(R);
}

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor Color) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Color);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

TRect Inflated(TRect R, Integer D) { return {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }

Integer ThumbSize() { return win::GetSystemMetrics(win::SM_CXHTHUMB); }

}  // namespace

// Life ----------------------------------------------------------------------------------

TControlSubClass::TControlSubClass(TMenuSkin* Skin, TControl* Control)
    : TComponent(Skin), Control_(Control), Skin_(Skin) {
  LiveHooks().push_back(this);
  Control_->FreeNotification(this);
  if (HookOf(Control_)) {
    Idle_ = true;
  } else {
    OldWindowProc_ = Control_->WindowProc;
    Control_->WindowProc = TWndMethod(this, &TControlSubClass::ControlSubClassWindowProc);
  }
  SavesStyles_ = SavesStyles(Control_);
  if (auto* w = dynamic_cast<TWinControl*>(Control_)) SavedCtl3D_ = w->Ctl3D();
  SavedBorderStyle_ = static_cast<Byte>(BorderStyleOf(Control_));
}

TControlSubClass::TControlSubClass(TMenuSkin* Skin, TControl* Control, TControlSubClass* From)
    : TComponent(Skin), Control_(Control), Skin_(Skin) {
  LiveHooks().push_back(this);
  Control_->FreeNotification(this);
  OldWindowProc_ = From->OldWindowProc_;
  SavedCtl3D_ = From->SavedCtl3D_;
  SavedBorderStyle_ = From->SavedBorderStyle_;
  SavesStyles_ = From->SavesStyles_;
  Hot_ = From->Hot_;
  Focused_ = From->Focused_;
  ButtonDown_ = From->ButtonDown_;
  SpaceDown_ = From->SpaceDown_;
  SpaceRepeat_ = From->SpaceRepeat_;
  Recreating_ = From->Recreating_;
  LastMessage_ = From->LastMessage_;
  Control_->WindowProc = TWndMethod(this, &TControlSubClass::ControlSubClassWindowProc);
  // The old hook no longer stands in front of anything.
  From->Idle_ = true;
}

TControlSubClass::~TControlSubClass() {
  *Alive_ = false;
  if (!Idle_ && Control_) {
    bool going = Control_->ComponentState().Contains(csDestroying);
    RestoreProcedure();
    if (!going) RestoreStyles();
  }
  if (Control_) Control_->RemoveFreeNotification(this);
  auto& hooks = LiveHooks();
  hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
}

bool TControlSubClass::IsOwnProcedure(const TWndMethod& Method) const {
  return Method == TWndMethod(const_cast<TControlSubClass*>(this), &TControlSubClass::ControlSubClassWindowProc);
}

void TControlSubClass::RestoreProcedure() {
  if (!Control_ || Idle_) return;
  if (IsOwnProcedure(Control_->WindowProc)) {
    Control_->WindowProc = OldWindowProc_;
  } else {
    // Something put itself in front of this hook: it now calls what this
    // hook called.
    for (TControlSubClass* h : LiveHooks())
      if (h != this && IsOwnProcedure(h->OldWindowProc_)) h->OldWindowProc_ = OldWindowProc_;
  }
  Idle_ = true;
}

void TControlSubClass::RestoreStyles() {
  if (!Control_ || !SavesStyles_) return;
  auto* w = dynamic_cast<TWinControl*>(Control_);
  if (w && w->Ctl3D() != SavedCtl3D_) w->SetCtl3D(SavedCtl3D_);
  if (!NameIs(Control_, "TDBLookupComboBox")) SetBorderStyleOf(Control_, static_cast<TBorderStyle>(SavedBorderStyle_));
}

void TControlSubClass::Restore() {
  RestoreProcedure();
  RestoreStyles();
}

void TControlSubClass::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // The control is being freed (its window may have gone before, while a
  // re-creation looked pending, or never existed): the hook goes with it.
  if (Operation == opRemove && AComponent == Control_) {
    Control_ = nullptr;
    Idle_ = true;
    delete this;
  }
}

TControlSubClass* TControlSubClass::HookOf(const TControl* Control) {
  for (TControlSubClass* h : LiveHooks())
    if (h->Control_ == Control && !h->Idle_ && h->IsOwnProcedure(Control->WindowProc)) return h;
  return nullptr;
}

TControlSubClass* TControlSubClass::HandOver(TMenuSkin* NewSkin) {
  if (Idle_ || !Control_) return nullptr;
  return new TControlSubClass(NewSkin, Control_, this);
}

void TControlSubClass::ReleaseUnselected(TMenuSkin* Skin) {
  std::vector<TControlSubClass*> drop;
  for (TControlSubClass* h : LiveHooks())
    if (h->Skin_ == Skin && h->Control_ && !Skin->Selects(h->Control_)) drop.push_back(h);
  for (TControlSubClass* h : drop) {
    TControl* control = h->Control_;
    delete h;
    control->Invalidate();
  }
}

// Messages ------------------------------------------------------------------------------

void TControlSubClass::ControlSubClassWindowProc(TMessage& Message) {
  TControl* control = Control_;
  if (!control) return;
  bool graphic = dynamic_cast<TGraphicControl*>(control) != nullptr;
  std::shared_ptr<bool> alive = Alive_;
  if ((Message.Msg == win::WM_PAINT && graphic) ||
      (Message.Msg == win::WM_NCPAINT && NameIs(control, "TDBLookupComboBox"))) {
    Message.Result = 1;
  } else {
    TWndMethod old = OldWindowProc_;
    old(Message);
    if (!*alive || !Control_) return;  // the message freed the hook or the control
  }

  if (Skin_ && !Skin_->Active()) {
    Restore();
    delete this;
    return;
  }
  LastMessage_ = Message.Msg;
  auto enabled = [&] { return control->Enabled(); };
  switch (Message.Msg) {
    case win::WM_DESTROY:
      // A control that is being freed makes no new window, whatever came before.
      if (!Recreating_ || control->ComponentState().Contains(csDestroying)) {
        RestoreProcedure();
        delete this;
      }
      return;
    case win::WM_SETFOCUS:
      Focused_ = true;
      RepaintControl();
      break;
    case win::WM_KILLFOCUS:
      Focused_ = false;
      RepaintControl();
      break;
    case win::WM_PAINT:
      Recreating_ = false;
      PaintDC_ = graphic ? reinterpret_cast<win::HDC>(Message.WParam) : nullptr;
      RepaintControl();
      PaintDC_ = nullptr;
      break;
    case win::WM_WINDOWPOSCHANGED:
    case CN_PARENTNOTIFY:
    case EM_GETMODIFY:
    case CM_INVALIDATE:
    case CM_CTL3DCHANGED:
    case CM_PARENTCTL3DCHANGED: Recreating_ = true; break;
    case win::WM_NCPAINT:
      if (dynamic_cast<TCustomListBox*>(control) || dynamic_cast<TCustomTreeView*>(control)) PaintListBorder();
      break;
    case win::BM_GETCHECK:
    case win::BM_SETCHECK:
      Hot_ = false;
      RepaintControl();
      break;
    case win::BM_SETSTATE: RepaintControl(); break;
    case win::WM_KEYDOWN:
      if (Message.WParam == win::VK_SPACE) {
        SpaceDown_ = true;
        if (!SpaceRepeat_) RepaintControl();
        SpaceRepeat_ = true;
      }
      break;
    case win::WM_KEYUP:
      if (Message.WParam == win::VK_SPACE) {
        SpaceDown_ = false;
        SpaceRepeat_ = false;
        RepaintControl();
      }
      break;
    case win::WM_MOUSEMOVE:
      if (enabled() && NameIs(control, "TUpDown")) RepaintControl();
      break;
    case win::WM_LBUTTONDOWN:
      ButtonDown_ = true;
      RepaintControl();
      break;
    case win::WM_LBUTTONUP:
      ButtonDown_ = false;
      if (graphic) control->Repaint();
      else RepaintControl();
      break;
    case win::WM_LBUTTONDBLCLK:
      // The second click of a double click is a click too.
      if (NameIs(control, "TButton") || dynamic_cast<TSpeedButton*>(control) || NameIs(control, "TCheckBox"))
        control->Perform(win::WM_LBUTTONDOWN, Message.WParam, Message.LParam);
      break;
    case CM_FOCUSCHANGED:
    case CM_PARENTCOLORCHANGED:
    case CM_TEXTCHANGED: RepaintControl(); break;
    case CM_ENABLEDCHANGED:
      if (Message.WParam == 0) Hot_ = false;
      RepaintControl();
      break;
    case CM_MOUSEENTER:
      if (enabled()) {
        Hot_ = true;
        if (graphic) control->Repaint();
        else RepaintControl();
      }
      break;
    case CM_MOUSELEAVE:
      if (enabled()) {
        Hot_ = false;
        if (graphic) control->Invalidate();
        else RepaintControl();
      }
      break;
    case CM_EXIT:
      Hot_ = false;
      RepaintControl();
      break;
    default: break;
  }
}

// Repainting ----------------------------------------------------------------------------

TColor TControlSubClass::ParentBackground() const {
  return Control_ && Control_->Parent() ? Control_->Parent()->Color() : clBtnFace;
}

void TControlSubClass::RepaintControl() {
  if (!Control_) return;
  auto* w = dynamic_cast<TWinControl*>(Control_);
  if (w) {
    if (!w->HandleAllocated()) return;
    Focused_ = w->Focused();
  }
  bool paintMessage = LastMessage_ == win::WM_PAINT;
  if (PaintDC_) {
    PaintOn(PaintDC_, paintMessage);
    return;
  }
  if (w) {
    win::HDC dc = win::GetDC(w->Handle());
    PaintOn(dc, paintMessage);
    win::ReleaseDC(w->Handle(), dc);
    return;
  }
  TWinControl* parent = Control_->Parent();
  if (!parent || !parent->HandleAllocated() || !Control_->Visible()) return;
  win::HDC dc = win::GetDC(parent->Handle());
  win::SetViewportOrgEx(dc, Control_->Left(), Control_->Top(), nullptr);
  win::IntersectClipRect(dc, 0, 0, Control_->Width(), Control_->Height());
  PaintOn(dc, paintMessage);
  win::ReleaseDC(parent->Handle(), dc);
}

void TControlSubClass::PaintOn(win::HDC DC, bool PaintMessage) {
  TControl* c = Control_;
  if (Skin_->ColorsDirty()) {
    DcCanvas canvas(DC);
    Skin_->UpdateColors(canvas.Get());
  }
  if (dynamic_cast<TCustomCombo*>(c)) PaintCombo(DC, false);
  if (NameIs(c, "TDBLookupComboBox")) PaintCombo(DC, true);
  if (dynamic_cast<TCustomEdit*>(c)) PaintEdit(DC);
  if (dynamic_cast<TCustomCheckBox*>(c)) PaintCheckBox(DC);
  if (dynamic_cast<TRadioButton*>(c)) PaintRadioButton(DC);
  if (dynamic_cast<TBitBtn*>(c)) PaintButton(DC, true);
  else if (dynamic_cast<TButton*>(c)) PaintButton(DC, false);
  if (dynamic_cast<TUpDown*>(c)) PaintUpDown(DC);
  if (dynamic_cast<TSpeedButton*>(c) && c->Visible()) PaintSpeedButton(DC);
  if (dynamic_cast<TCustomPanel*>(c) && PaintMessage) PaintPanel(DC);
  if (dynamic_cast<TCustomGroupBox*>(c) && PaintMessage) PaintGroupBox(DC);
  if (dynamic_cast<TCustomListBox*>(c) || dynamic_cast<TCustomTreeView*>(c)) PaintListBorder();
  if (dynamic_cast<TProgressBar*>(c)) PaintProgressBorder();
}

void TControlSubClass::PaintCombo(win::HDC DC, bool Lookup) {
  const TMenuSkinColors& k = Skin_->Colors();
  TControl* c = Control_;
  DcCanvas canvas(DC);
  TRect r = c->ClientRect();
  if (Lookup) {
    win::RECT wr;
    win::GetWindowRect(static_cast<TWinControl*>(c)->Handle(), &wr);
    r = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
  }
  auto* combo = dynamic_cast<TCustomComboBox*>(c);
  bool dropped = combo && combo->DroppedDown();
  bool rtl = RightToLeft(c);
  TColor arrow = c->Enabled() ? clBlack : clWhite;
  TColor border, button;
  if (Hot_) {
    border = k.SelectBorder;
    button = k.SelectFill;
  } else {
    border = c->Color();
    button = c->Tag == kSkinParentFaceTag ? LightenColor(ParentBackground(), 16) : clBtnFace;
    if (Focused_) {
      border = LightenColor(k.SelectBorder, 60);
      button = k.CheckedFill;
    }
  }
  if (dropped) {
    border = k.SelectBorder;
    arrow = clWhite;
    button = k.CheckedSelectedFill;
  }
  bool wide = Hot_ || Focused_;
  Frame(canvas.Get(), r, ParentBackground());
  Line(canvas.Get(), r.Left, r.Top, r.Right, r.Top, ParentBackground());
  TRect inner = wide ? r : Inflated(r, -1);
  Frame(canvas.Get(), inner, c->Color());
  TRect edge = inner;
  edge.Bottom = std::min(edge.Bottom + 1, r.Bottom);
  Frame(canvas.Get(), edge, border);
  if (combo && combo->Style() == csSimple) return;

  Integer w = ThumbSize() + 1 + (wide ? (rtl ? 2 : 1) : 0);
  TRect b = rtl ? TRect{edge.Left + 1, edge.Top + 1, edge.Left + 1 + w, edge.Bottom - 1}
                : TRect{edge.Right - 1 - w, edge.Top + 1, edge.Right - 1, edge.Bottom - 1};
  Fill(canvas.Get(), b, button);
  TRect strip = rtl ? TRect{b.Right, b.Top, b.Right + 5, b.Bottom} : TRect{b.Left - 5, b.Top, b.Left, b.Bottom};
  Fill(canvas.Get(), strip, c->Color());
  Integer x = rtl ? b.Right : b.Left - 1;
  Line(canvas.Get(), x, b.Top, x, b.Bottom, border);
  Integer ax = rtl ? r.Left + 5 : r.Right - (Lookup ? 9 : 10);
  Integer ay = r.Top + (Lookup ? 8 : 10);
  for (Integer i = 0; i < 3; ++i) Line(canvas.Get(), ax + i, ay + i, ax + 5 - i, ay + i, arrow);
}

void TControlSubClass::PaintEdit(win::HDC) {
  auto* edit = static_cast<TCustomEdit*>(Control_);
  if (edit->Ctl3D()) {
    Recreating_ = true;
    edit->SetCtl3D(false);
    if (!Control_) return;
  }
  const TMenuSkinColors& k = Skin_->Colors();
  TColor color;
  if (edit->BorderStyle() == bsNone)
    color = Hot_ && !Focused_ ? LightenColor(AverageColor({edit->Color(), ParentBackground()}), 40) : edit->Color();
  else
    color = Hot_ || Focused_ ? LightenColor(k.SelectBorder, 60) : DarkenColor(ParentBackground(), 60);
  win::HWND wnd = edit->Handle();
  win::HDC dc = win::GetWindowDC(wnd);
  {
    DcCanvas canvas(dc);
    win::RECT wr;
    win::GetWindowRect(wnd, &wr);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(color);
    canvas->Rectangle(0, 0, wr.right - wr.left, wr.bottom - wr.top);
  }
  win::ReleaseDC(wnd, dc);
}

void TControlSubClass::PaintCheckBox(win::HDC DC) {
  const TMenuSkinColors& k = Skin_->Colors();
  auto* box = dynamic_cast<TCheckBox*>(Control_);
  TCheckBoxState state = box ? box->State() : cbUnchecked;
  bool rightAligned = box && box->Alignment() == taLeftJustify;
  DcCanvas canvas(DC);
  TRect client = Control_->ClientRect();
  Integer s = ThumbSize();
  Integer areaTop = client.Top + 3, areaBottom = client.Bottom - 3;
  Integer top = areaTop + (areaBottom - areaTop - s) / 2;
  bool right = rightAligned != RightToLeft(Control_);
  Integer left = right ? client.Right - s : client.Left;
  TRect square{left, top, left + s, top + s};
  Fill(canvas.Get(), square, Control_->Color());
  TRect inner = Inflated(square, -2);
  TColor fill = state == cbGrayed ? static_cast<TColor>(win::RGB(192, 192, 192)) : clWindow;
  TColor pen = clBtnShadow;
  if (Hot_ || Focused_) {
    fill = k.SelectFill;
    pen = k.SelectBorder;
  }
  bool pressed = SpaceDown_ || ButtonDown_;
  if (pressed) fill = k.CheckedSelectedFill;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(fill);
  canvas->Pen()->SetColor(pen);
  canvas->Rectangle(inner);
  if (state == cbUnchecked) return;
  TColor mark = !Control_->Enabled() ? k.DisabledFont
                : pressed            ? clWindow
                : state == cbGrayed  ? static_cast<TColor>(win::RGB(128, 128, 128))
                                     : clHighlight;
  canvas->Pen()->SetColor(mark);
  for (Integer i = 0; i < 3; ++i) {
    canvas->MoveTo(inner.Left + 2, inner.Bottom - i - 5);
    canvas->LineTo(inner.Left + 4, inner.Bottom - i - 3);
    canvas->LineTo(inner.Left + 9, inner.Bottom - i - 8);
  }
}

void TControlSubClass::PaintRadioButton(win::HDC DC) {
  const TMenuSkinColors& k = Skin_->Colors();
  auto* radio = static_cast<TRadioButton*>(Control_);
  DcCanvas canvas(DC);
  TRect client = Control_->ClientRect();
  Integer s = ThumbSize();
  Integer areaTop = client.Top + 4, areaBottom = client.Bottom - 4;
  Integer top = areaTop + (areaBottom - areaTop - s) / 2;
  Integer left = RightToLeft(Control_) ? client.Right - s : client.Left;
  TRect square{left, top, left + s, top + s};
  Fill(canvas.Get(), square, Control_->Color());
  TRect ring = Inflated(square, -2);
  bool hot = Hot_ || Focused_;
  canvas->Brush()->SetColor(hot ? k.SelectFill : clWindow);
  canvas->Pen()->SetColor(hot ? k.SelectBorder : clBtnShadow);
  canvas->Ellipse(ring);
  if (!radio->Checked()) return;
  TColor dot = Control_->Enabled() ? clHighlight : k.DisabledFont;
  canvas->Brush()->SetColor(dot);
  canvas->Pen()->SetColor(dot);
  canvas->Ellipse(Inflated(ring, -2));
}

void TControlSubClass::PaintButton(win::HDC DC, bool BitButton) {
  const TMenuSkinColors& k = Skin_->Colors();
  TControl* c = Control_;
  Integer tag = c->Tag;
  bool parentFace = BitButton ? (tag & kSkinParentFaceTag) == kSkinParentFaceTag : tag == kSkinParentFaceTag;
  bool noEdges = BitButton && (tag & 1001) == 1001;
  bool leftText = BitButton && (tag & 1002) == 1002;
  bool hot = Hot_ || (BitButton && SpaceDown_);
  TColor face, border;
  if (hot) {
    face = LightenColor(parentFace ? ParentBackground() : static_cast<TColor>(clBtnFace), 40);
    border = LightenColor(k.SelectBorder, 60);
  } else {
    face = parentFace ? LightenColor(ParentBackground(), 16) : k.IconFill;
    border = Focused_ ? LightenColor(k.SelectBorder, 60) : static_cast<TColor>(clBtnShadow);
  }
  if (noEdges) border = face;
  DcCanvas canvas(DC);
  TRect r = c->ClientRect();
  Fill(canvas.Get(), r, ParentBackground());
  canvas->Brush()->SetColor(face);
  canvas->Pen()->SetColor(LightenColor(border, 30));
  canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 4, 4);
  if (c->Enabled() && !noEdges) {
    bool pressed = SpaceDown_ || (ButtonDown_ && Hot_);
    TColor shade = DarkenColor(border, 50);
    if (pressed) {
      Line(canvas.Get(), r.Left + 1, r.Bottom - 2, r.Left + 1, r.Top + 1, shade);
      canvas->LineTo(r.Right - 1, r.Top + 1);
    } else {
      Line(canvas.Get(), r.Right - 2, r.Top + 1, r.Right - 2, r.Bottom - 2, shade);
      canvas->LineTo(r.Left, r.Bottom - 2);
    }
  }
  bool rtl = RightToLeft(c);
  win::UINT rtlFlag = rtl ? win::DT_RTLREADING : 0;
  std::string caption = c->Caption();
  if (!BitButton) {
    Skin_->DrawItemText(true, caption, win::DT_CENTER | win::DT_VCENTER | win::DT_SINGLELINE | rtlFlag, c->Font(),
                        rtl, false, false, c->Enabled(), false, r, canvas.Get(), "");
    return;
  }
  auto* bit = static_cast<TBitBtn*>(c);
  if (leftText) {
    TRect t{r.Left + 4, r.Top + 2, r.Right - 4, r.Bottom - 2};
    Skin_->DrawItemText(true, caption,
                        (rtl ? win::DT_RIGHT : win::DT_LEFT) | win::DT_VCENTER | win::DT_SINGLELINE | rtlFlag,
                        c->Font(), rtl, false, false, c->Enabled(), false, t, canvas.Get(), "");
    return;
  }
  // The first glyph and the caption, centred as one block.
  std::unique_ptr<TBitmap> glyph;
  TBitmap* source = bit->Glyph();
  Integer gw = 0, gh = 0;
  if (source && !source->Empty()) {
    gw = source->Width() / std::max<Integer>(bit->NumGlyphs(), 1);
    gh = source->Height();
    glyph = std::make_unique<TBitmap>();
    glyph->SetSize(gw, gh);
    glyph->Canvas()->CopyRect({0, 0, gw, gh}, source->Canvas(), {0, 0, gw, gh});
  }
  canvas->Font()->Assign(c->Font());
  bool blank = Trim(caption).empty();
  TSize text = blank ? TSize{0, 0} : canvas->TextExtent(StripHotkey(caption));
  Integer spacing = blank || !glyph ? 0 : bit->Spacing();
  TButtonLayout layout = bit->Layout();
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  Integer blockW = horizontal ? gw + spacing + text.cx : std::max(gw, text.cx);
  Integer blockH = horizontal ? std::max(gh, text.cy) : gh + spacing + text.cy;
  Integer bx = r.Left + (r.Width() - blockW) / 2, by = r.Top + (r.Height() - blockH) / 2;
  TPoint g, t;
  switch (layout) {
    case blGlyphLeft: g = {bx, r.Top + (r.Height() - gh) / 2}; t = {bx + gw + spacing, r.Top + (r.Height() - text.cy) / 2}; break;
    case blGlyphRight: t = {bx, r.Top + (r.Height() - text.cy) / 2}; g = {bx + text.cx + spacing, r.Top + (r.Height() - gh) / 2}; break;
    case blGlyphTop: g = {r.Left + (r.Width() - gw) / 2, by}; t = {r.Left + (r.Width() - text.cx) / 2, by + gh + spacing}; break;
    case blGlyphBottom: t = {r.Left + (r.Width() - text.cx) / 2, by}; g = {r.Left + (r.Width() - gw) / 2, by + text.cy + spacing}; break;
  }
  if (glyph)
    Skin_->DrawItemIcon(true, canvas.Get(), rtl, false, false, c->Enabled(), Focused_, hot,
                        {g.X, g.Y - 1, g.X + gw, g.Y - 1 + gh}, glyph.get());
  if (!blank)
    Skin_->DrawItemText(true, caption, win::DT_LEFT | win::DT_SINGLELINE | rtlFlag, c->Font(), rtl, false, false,
                        c->Enabled(), false, {t.X, t.Y, t.X + text.cx + 1, t.Y + text.cy}, canvas.Get(), "");
}

void TControlSubClass::PaintUpDown(win::HDC DC) {
  const TMenuSkinColors& k = Skin_->Colors();
  TControl* c = Control_;
  DcCanvas canvas(DC);
  TRect r = c->ClientRect();
  Integer mid = r.Top + r.Height() / 2;
  TPoint mouse = c->ScreenToClient(Mouse ? Mouse->CursorPos() : TPoint{-1, -1});
  TColor arrowEnabled = c->Enabled() ? clBlack : clWhite;
  for (Integer half = 0; half < 2; ++half) {
    TRect h = half == 0 ? TRect{r.Left, r.Top, r.Right, mid} : TRect{r.Left, mid, r.Right, r.Bottom};
    bool inside = mouse.X >= h.Left && mouse.X < h.Right && mouse.Y >= h.Top && mouse.Y < h.Bottom;
    TColor border, fill, arrow = arrowEnabled;
    if (Hot_ && inside) {
      border = k.SelectBorder;
      fill = LightenColor(k.SelectFill, 60);
      if (ButtonDown_) {
        fill = k.CheckedSelectedFill;
        arrow = clWhite;
      }
    } else {
      fill = LightenColor(c->Tag == kSkinParentFaceTag ? ParentBackground() : k.SelectFill, 16);
      border = LightenColor(ParentBackground(), 80);
    }
    if (ColorToRGB(canvas->Pixels(h.Left, h.Top)) == ColorToRGB(border)) continue;
    canvas->Brush()->SetColor(fill);
    canvas->Pen()->SetColor(border);
    canvas->Rectangle(h);
    Integer cx = h.Left + h.Width() / 2, cy = h.Top + h.Height() / 2 - 2;
    canvas->Pen()->SetColor(arrow);
    for (Integer i = 0; i < 4; ++i) {
      Integer y = half == 0 ? cy + i : cy + 3 - i;
      canvas->MoveTo(cx - i - 1, y);
      canvas->LineTo(cx + i + 2, y);
    }
  }
}

void TControlSubClass::PaintSpeedButton(win::HDC DC) {
  const TMenuSkinColors& k = Skin_->Colors();
  auto* b = static_cast<TSpeedButton*>(Control_);
  bool parentFace = b->Tag == kSkinParentFaceTag;
  bool navigator = NameIs(b, "TNavButton");
  bool down = b->Down() || (ButtonDown_ && Hot_);
  TColor face, border = k.SelectBorder;
  if (Hot_) {
    face = b->Flat() ? (navigator ? ParentBackground() : k.SelectFill)
                     : LightenColor(parentFace ? ParentBackground() : static_cast<TColor>(clBtnFace), 40);
  } else {
    face = parentFace ? LightenColor(ParentBackground(), 16) : k.IconFill;
    if (!b->Flat()) border = clBtnShadow;
  }
  if (down) {
    face = Hot_ ? k.CheckedSelectedFill : k.CheckedFill;
    border = k.SelectBorder;
  }
  if (!b->Enabled()) border = clBtnShadow;
  DcCanvas canvas(DC);
  TRect r = b->ClientRect();
  // The forms library's speed buttons are opaque: the face is always filled.
  Fill(canvas.Get(), r, face);
  if (!b->Flat()) Frame(canvas.Get(), r, LightenColor(border, 30));
  else if (Hot_ || down) Frame(canvas.Get(), r, k.SelectBorder);
  bool rtl = RightToLeft(b);
  TBitmap* source = b->Glyph();
  if (source && !source->Empty()) {
    Integer gw = source->Width() / std::max<Integer>(b->NumGlyphs(), 1), gh = source->Height();
    TBitmap glyph;
    glyph.SetSize(gw, gh);
    glyph.Canvas()->CopyRect({0, 0, gw, gh}, source->Canvas(), {0, 0, gw, gh});
    Integer gx = r.Left + (r.Width() - gw) / 2, gy = r.Top + (r.Height() - gh) / 2;
    if (!b->Caption().empty()) gx = r.Left + 4;
    Skin_->DrawItemIcon(true, canvas.Get(), rtl, false, b->Down(), b->Enabled(), down, Hot_,
                        {gx, gy - 1, gx + gw, gy - 1 + gh}, &glyph);
  }
  if (!b->Caption().empty())
    Skin_->DrawItemText(true, b->Caption(), win::DT_CENTER | win::DT_VCENTER | win::DT_SINGLELINE, b->Font(), rtl,
                        false, false, b->Enabled(), false, r, canvas.Get(), "");
}

void TControlSubClass::PaintPanel(win::HDC DC) {
  auto* panel = dynamic_cast<TPanel*>(Control_);
  if (!panel) return;
  DcCanvas canvas(DC);
  TRect r = panel->ClientRect();
  TColor dark = DarkenColor(panel->Color(), 60), light = LightenColor(panel->Color(), 60);
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvLowered) Frame3D(canvas.Get(), r, dark, light, panel->BevelWidth());
    else if (cut == bvRaised) Frame3D(canvas.Get(), r, light, dark, panel->BevelWidth());
  };
  bevel(panel->BevelOuter());
  r = Inflated(r, -panel->BorderWidth());
  bevel(panel->BevelInner());
}

void TControlSubClass::PaintGroupBox(win::HDC DC) {
  TControl* c = Control_;
  DcCanvas canvas(DC);
  canvas->Font()->Assign(c->Font());
  std::string caption = c->Caption();
  std::string shown = StripHotkey(caption);
  Integer h = canvas->TextHeight(shown.empty() ? " " : shown);
  Integer w = shown.empty() ? 0 : canvas->TextWidth(shown);
  TRect client = c->ClientRect();
  TRect r = Inflated(client, -1);
  r.Top = h - 1;
  // Wipe the frame drawn before.
  Frame(canvas.Get(), Inflated(r, 1), c->Color());
  Frame(canvas.Get(), r, c->Color());
  bool ctl3D = static_cast<TWinControl*>(c)->Ctl3D();
  TColor topLeft = ctl3D ? LightenColor(c->Color(), 60) : DarkenColor(c->Color(), 60);
  TColor bottomRight = DarkenColor(c->Color(), 60);
  TRect f = r;
  Frame3D(canvas.Get(), f, topLeft, bottomRight, 1);
  bool rtl = RightToLeft(c);
  TRect t = rtl ? TRect{r.Right - 9 - w, 0, r.Right - 9, h} : TRect{r.Left + 9, 0, r.Left + 9 + w, h};
  Fill(canvas.Get(), t, c->Color());
  if (!shown.empty())
    Skin_->DrawItemText(true, caption, win::DT_LEFT | win::DT_SINGLELINE | (rtl ? win::DT_RTLREADING : 0),
                        c->Font(), rtl, false, false, c->Enabled(), false, t, canvas.Get(), "");
  Line(canvas.Get(), r.Left, r.Top, t.Left, r.Top, topLeft);
  Line(canvas.Get(), t.Right, r.Top, r.Right - 1, r.Top, topLeft);
}

void TControlSubClass::PaintListBorder() {
  auto* w = dynamic_cast<TWinControl*>(Control_);
  if (!w || !w->HandleAllocated()) return;
  win::HWND wnd = w->Handle();
  win::HDC dc = win::GetWindowDC(wnd);
  {
    DcCanvas canvas(dc);
    Skin_->UpdateColors(canvas.Get());
    const TMenuSkinColors& k = Skin_->Colors();
    bool single = BorderStyleOf(Control_) == bsSingle;
    TColor color = Hot_ || Focused_ ? LightenColor(k.SelectBorder, single ? 60 : 80)
                   : single         ? DarkenColor(ParentBackground(), 60)
                                    : ParentBackground();
    if (w->Ctl3D()) {
      Recreating_ = true;
      w->SetCtl3D(false);
    }
    win::RECT wr;
    win::GetWindowRect(wnd, &wr);
    Frame(canvas.Get(), {0, 0, wr.right - wr.left, wr.bottom - wr.top}, color);
  }
  win::ReleaseDC(wnd, dc);
}

void TControlSubClass::PaintProgressBorder() {
  auto* w = static_cast<TWinControl*>(Control_);
  win::HWND wnd = w->Handle();
  win::HDC dc = win::GetWindowDC(wnd);
  {
    DcCanvas canvas(dc);
    win::RECT wr;
    win::GetWindowRect(wnd, &wr);
    TColor color = Hot_ ? Skin_->Colors().SelectBorder : DarkenColor(ParentBackground(), 60);
    Frame(canvas.Get(), {0, 0, wr.right - wr.left, wr.bottom - wr.top}, color);
  }
  win::ReleaseDC(wnd, dc);
}
