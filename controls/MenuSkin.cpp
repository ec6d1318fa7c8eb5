#include "controls/MenuSkin.h"

#include <algorithm>

#include "controls/ControlSubClass.h"
#include "controls/MenuSkinColors.h"
#include "controls/MenuSkinManager.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Mask.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/ScrollCtrls.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/UpDown.h"
#include "platform/forms/BitBtn.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/Painting.h"
#include "platform/win/WinTypes.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TMenuSkin, TComponent)

VXN_PUBLISH(TMenuSkin) {
  P.Property("DimLevel", &TMenuSkin::DimLevel, &TMenuSkin::SetDimLevel).Default(30);
  P.Property("GrayLevel", &TMenuSkin::GrayLevel, &TMenuSkin::SetGrayLevel).Default(10);
  P.Property("Font", &TMenuSkin::Font, &TMenuSkin::SetFont);
  P.Property("Color", &TMenuSkin::Color, &TMenuSkin::SetColor).Type(TypeInfoColor()).Default(clBtnFace);
  P.Property("DrawMenuBar", &TMenuSkin::DrawMenuBar, &TMenuSkin::SetDrawMenuBar).Default(false);
  P.Property("IconBackColor", &TMenuSkin::IconBackColor, &TMenuSkin::SetIconBackColor)
      .Type(TypeInfoColor())
      .Default(clBtnFace);
  P.Property("MenuBarColor", &TMenuSkin::MenuBarColor, &TMenuSkin::SetMenuBarColor)
      .Type(TypeInfoColor())
      .Default(clBtnFace);
  P.Property("SelectColor", &TMenuSkin::SelectColor, &TMenuSkin::SetSelectColor)
      .Type(TypeInfoColor())
      .Default(clHighlight);
  P.Property("SelectBorderColor", &TMenuSkin::SelectBorderColor, &TMenuSkin::SetSelectBorderColor)
      .Type(TypeInfoColor())
      .Default(clHighlight);
  P.Property("SelectFontColor", &TMenuSkin::SelectFontColor, &TMenuSkin::SetSelectFontColor)
      .Type(TypeInfoColor())
      .Default(clMenuText);
  P.Property("DisabledColor", &TMenuSkin::DisabledColor, &TMenuSkin::SetDisabledColor)
      .Type(TypeInfoColor())
      .Default(clInactiveCaption);
  P.Property("SeparatorColor", &TMenuSkin::SeparatorColor, &TMenuSkin::SetSeparatorColor)
      .Type(TypeInfoColor())
      .Default(clBtnFace);
  P.Property("CheckedColor", &TMenuSkin::CheckedColor, &TMenuSkin::SetCheckedColor)
      .Type(TypeInfoColor())
      .Default(clHighlight);
  P.Property("IconWidth", &TMenuSkin::IconWidth, &TMenuSkin::SetIconWidth).Default(24);
  P.Property("DrawSelect", &TMenuSkin::DrawSelect, &TMenuSkin::SetDrawSelect).Default(true);
  P.Property("UseSystemColors", &TMenuSkin::UseSystemColors, &TMenuSkin::SetUseSystemColors).Default(true);
  P.Property("UseDimColor", &TMenuSkin::UseDimColor, &TMenuSkin::SetUseDimColor).Default(false);
  P.Property("OverrideOwnerDraw", &TMenuSkin::OverrideOwnerDraw, &TMenuSkin::SetOverrideOwnerDraw).Default(false);
  P.Property("Gradient", &TMenuSkin::Gradient, &TMenuSkin::SetGradient).Default(false);
  P.Property("FlatMenu", &TMenuSkin::FlatMenu, &TMenuSkin::SetFlatMenu).Default(false);
  P.Property("AutoDetect", &TMenuSkin::AutoDetect, &TMenuSkin::SetAutoDetect).Default(false);
  P.Property("XPContainers", &TMenuSkin::XPContainers, &TMenuSkin::SetXPContainers)
      .Default(static_cast<int64_t>(TMenuSkin::AllContainers().Bits()));
  P.Property("XPControls", &TMenuSkin::XPControls, &TMenuSkin::SetXPControls).Default(static_cast<int64_t>(TMenuSkin::AllControls().Bits()));
  P.Property("Active", &TMenuSkin::Active, &TMenuSkin::SetActive).Default(false);
  P.Property("DisableSubclassing", &TMenuSkin::DisableSubclassing, &TMenuSkin::SetDisableSubclassing)
      .Default(false);
}

namespace {

bool Designing(const TComponent* C) { return C && C->ComponentState().Contains(csDesigning); }

bool NameIs(const TObject* Object, const char* Name) { return Object && SameText(Object->ClassName(), Name); }

// A screen DC as a canvas for the colours computed before anything is drawn.
class ScreenCanvas {
 public:
  ScreenCanvas() : dc_(win::GetDC(nullptr)) { canvas_.SetHandle(dc_); }
  ~ScreenCanvas() {
    canvas_.SetHandle(nullptr);
    win::ReleaseDC(nullptr, dc_);
  }
  TCanvas* Canvas() { return &canvas_; }

 private:
  win::HDC dc_;
  TCanvas canvas_;
};

}  // namespace

TXPContainers TMenuSkin::AllContainers() {
  TXPContainers all;
  for (int i = xccForm; i <= xccPageScroller; ++i) all += static_cast<TXPContainer>(i);
  return all;
}

TXPControls TMenuSkin::AllControls() {
  TXPControls all;
  for (int i = xcMainMenu; i <= xcHotKey; ++i) all += static_cast<TXPControl>(i);
  return all;
}

TMenuSkin::TMenuSkin(TComponent* AOwner)
    : TComponent(AOwner),
      Form_(dynamic_cast<TScrollingWinControl*>(AOwner)),
      Font_(std::make_unique<TFont>()),
      XPContainers_(AllContainers()),
      XPControls_(AllControls()) {
  if (!Form_) throw EInvalidCast(SInvalidCast);
  if (Screen) Font_->Assign(Screen->MenuFont());
  SelectFontColor_ = Font_->GetColor();
  {
    ScreenCanvas screen;
    UpdateColors(screen.Canvas());
  }
  IsNT_ = Win32Platform == 2;
  IsW2K_ = Win32MajorVersion == 5 && Win32MinorVersion == 0;
  IsWXP_ = Win32MajorVersion == 5 && Win32MinorVersion == 1;
  if (!Designing(this)) TMenuSkinManager::Ensure();
}

TMenuSkin::~TMenuSkin() {
  // A form being freed marked its components before freeing them; by now
  // it has let go of this one, and its control part is gone.
  bool ownerGoing = ComponentState().Contains(csDestroying) || !Owner();
  Destroying();
  if (!ownerGoing) {
    bool wasActive = Active_;
    Active_ = false;
    ApplySkin(Owner(), false, !ownerGoing);
    Active_ = wasActive;
  }
  if (!Designing(this)) {
    if (TMenuSkinManager* manager = TMenuSkinManager::Instance()) manager->Unregister(this);
    if (!ownerGoing && Form_->HandleAllocated()) Form_->Invalidate();
    TMenuSkinManager::ReleaseIfUnused();
  }
  // Mended: every hook puts back what it replaced now, not at a message that
  // would reach a procedure of a freed hook.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
}

void TMenuSkin::Loaded() {
  TComponent::Loaded();
  // Active read from the form file waited for the components after it.
  if (Active_ && Owner()) {
    ApplySkin(Owner(), true, false);
    RedrawMenuBar();
  }
  if (!Designing(this))
    if (TMenuSkinManager* manager = TMenuSkinManager::Instance()) manager->Register(this);
}

void TMenuSkin::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Designing(this)) return;
  if (TMenuSkinManager* manager = TMenuSkinManager::Instance()) manager->ComponentNotice(AComponent, Operation);
}

// Properties ---------------------------------------------------------------------------

void TMenuSkin::SetColorField(TColor& Field, TColor Value) {
  Field = Value;
  ColorsDirty_ = true;
}

void TMenuSkin::SetFont(TFont* Value) {
  Font_->Assign(Value);
  RedrawMenuBar();
}

void TMenuSkin::SetMenuBarColor(TColor Value) {
  SetColorField(MenuBarColor_, Value);
  RedrawMenuBar();
}

void TMenuSkin::SetUseSystemColors(bool Value) {
  UseSystemColors_ = Value;
  ColorsDirty_ = true;
  RedrawMenuBar();
}

void TMenuSkin::SetActive(bool Value) {
  if (Active_ == Value) return;
  Active_ = Value;
  if (ComponentState().Contains(csLoading)) return;  // Loaded applies it
  if (Owner()) ApplySkin(Owner(), Value, true);
  RedrawMenuBar();
}

void TMenuSkin::SetXPContainers(TXPContainers Value) {
  if (XPContainers_ == Value) return;
  if (!Active_ || ComponentState().Contains(csLoading) || !Owner()) {
    XPContainers_ = Value;
    return;
  }
  Active_ = false;
  ApplySkin(Owner(), false, true);
  XPContainers_ = Value;
  Active_ = true;
  ApplySkin(Owner(), true, true);
  TControlSubClass::ReleaseUnselected(this);
}

void TMenuSkin::SetXPControls(TXPControls Value) {
  if (XPControls_ == Value) return;
  if (!Active_ || ComponentState().Contains(csLoading) || !Owner()) {
    XPControls_ = Value;
    return;
  }
  Active_ = false;
  ApplySkin(Owner(), false, true);
  XPControls_ = Value;
  Active_ = true;
  ApplySkin(Owner(), true, true);
  TControlSubClass::ReleaseUnselected(this);
}

void TMenuSkin::SetDisableSubclassing(bool Value) {
  if (DisableSubclassing_ == Value) return;
  bool previous = DisableSubclassing_;
  DisableSubclassing_ = Value;
  if (TMenuSkinManager* manager = TMenuSkinManager::Instance()) manager->SubclassingChanged(this, previous);
}

void TMenuSkin::RedrawMenuBar() {
  auto* form = dynamic_cast<TForm*>(Form_);
  if (form && form->Menu() && form->HandleAllocated()) win::DrawMenuBar(form->Handle());
}

// Applying -----------------------------------------------------------------------------

void TMenuSkin::ApplySkin(TComponent* Container, bool Enable, bool Update) {
  if (!Container) return;
  // A walk may add hooks to this skin, never components to the container.
  for (Integer i = 0; i < Container->ComponentCount(); ++i)
    ApplySkinToComponent(Container->Components(i), Enable, Update);
}

bool TMenuSkin::IsSkinHandler(const TMenuItem* Item) const {
  return Item->OnDrawItem == TMenuDrawItemEvent(const_cast<TMenuSkin*>(this), &TMenuSkin::DrawMenuItem) ||
         Item->OnMeasureItem == TMenuMeasureItemEvent(const_cast<TMenuSkin*>(this), &TMenuSkin::MeasureMenuItem);
}

void TMenuSkin::ApplyToMenu(TMenuItem* Parent, bool Enable) {
  TMenuDrawItemEvent draw(this, &TMenuSkin::DrawMenuItem);
  TMenuMeasureItemEvent measure(this, &TMenuSkin::MeasureMenuItem);
  for (Integer i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (item->Tag != kSkinExcludedTag) {
      bool ownDrawing = (item->OnDrawItem && item->OnDrawItem != draw) ||
                        (item->OnMeasureItem && item->OnMeasureItem != measure) || item->OnAdvancedDrawItem;
      if (Enable) {
        if (!ownDrawing || OverrideOwnerDraw_) {
          item->OnAdvancedDrawItem = nullptr;
          item->OnDrawItem = draw;
          item->OnMeasureItem = measure;
        }
      } else {
        if (item->OnDrawItem == draw) item->OnDrawItem = nullptr;
        if (item->OnMeasureItem == measure) item->OnMeasureItem = nullptr;
      }
    }
    ApplyToMenu(item, Enable);
  }
}

namespace {

// The member of XPControls that selects a control, or -1.
int SelectingControl(TControl* C) {
  if (dynamic_cast<TCustomCombo*>(C)) return xcCombo;
  if (NameIs(C, "TDBLookupComboBox")) return xcButton;
  if (dynamic_cast<TEdit*>(C)) return xcEdit;
  if (NameIs(C, "TMaskEdit") || NameIs(C, "TDBEdit")) return xcMaskEdit;
  if (dynamic_cast<TCustomMemo*>(C)) return xcMemo;
  if (dynamic_cast<TCustomCheckBox*>(C)) return xcCheckBox;
  if (dynamic_cast<TRadioButton*>(C)) return xcRadioButton;
  if (NameIs(C, "TButton") || NameIs(C, "TDBNavigator")) return xcButton;
  if (NameIs(C, "TBitBtn")) return xcBitBtn;
  if (dynamic_cast<TSpeedButton*>(C)) return xcSpeedButton;
  if (NameIs(C, "TUpDown")) return xcUpDown;
  if (dynamic_cast<TCustomPanel*>(C)) return xcPanel;
  if (dynamic_cast<TCustomGroupBox*>(C)) return xcGroupBox;
  if (dynamic_cast<TCustomListBox*>(C)) return xcListBox;
  if (dynamic_cast<TCustomTreeView*>(C)) return xcTreeView;
  if (dynamic_cast<TProgressBar*>(C)) return xcProgressBar;
  return -1;
}

// The member of XPContainers that selects a parent, or -1.
int SelectingContainer(TWinControl* P) {
  if (!P) return -1;
  if (dynamic_cast<TToolBar*>(P)) return xccToolbar;
  if (dynamic_cast<TCustomPanel*>(P)) return xccPanel;
  if (dynamic_cast<TScrollBox*>(P)) return xccScrollBox;
  if (dynamic_cast<TCustomGroupBox*>(P)) return xccGroupBox;
  if (dynamic_cast<TTabSheet*>(P) || NameIs(P, "TdxTabSheet")) return xccTabSheet;
  if (NameIs(P, "TDBCtrlPanel")) return xccFrame;
  if (dynamic_cast<TCustomForm*>(P)) return xccForm;
  return -1;
}

}  // namespace

bool TMenuSkin::Selects(TControl* Control) const {
  int kind = SelectingControl(Control);
  int container = SelectingContainer(Control->Parent());
  return kind >= 0 && container >= 0 && XPControls_.Contains(static_cast<TXPControl>(kind)) &&
         XPContainers_.Contains(static_cast<TXPContainer>(container));
}

void TMenuSkin::ApplySkinToComponent(TComponent* Component, bool Enable, bool Update) {
  if (auto* menu = dynamic_cast<TMainMenu*>(Component)) {
    if (!XPControls_.Contains(xcMainMenu) || menu->Tag == kSkinExcludedTag) return;
    menu->SetOwnerDraw(Enable);
    ApplyToMenu(menu->Items(), Enable);
    if (menu->Items()->Count() > 0) {
      // The bar measures its items again when one of them changes.
      TMenuItem* first = menu->Items()->Items(0);
      std::string caption = first->Caption();
      first->SetCaption("");
      first->SetCaption(caption);
    }
    return;
  }
  if (auto* menu = dynamic_cast<TPopupMenu*>(Component)) {
    if (!XPControls_.Contains(xcPopupMenu)) return;
    menu->SetOwnerDraw(Enable);
    ApplyToMenu(menu->Items(), Enable);
    return;
  }
  if (auto* bar = dynamic_cast<TToolBar*>(Component); bar && XPControls_.Contains(xcToolbar)) {
    if (Designing(this)) return;
    bar->SetFlat(true);
    TTBCustomDrawBtnEvent draw(this, &TMenuSkin::DrawToolButton);
    if (Enable) {
      if (!bar->OnCustomDrawButton || OverrideOwnerDraw_) bar->OnCustomDrawButton = draw;
    } else if (bar->OnCustomDrawButton == draw) {
      bar->OnCustomDrawButton = nullptr;
    }
    if (Update) bar->Invalidate();
  } else if (auto* control = dynamic_cast<TControl*>(Component); control && !Designing(this)) {
    if (Enable && Selects(control) && control->Tag != kSkinExcludedTag &&
        control->Parent()->Tag != kSkinExcludedTag && !TControlSubClass::HookOf(control))
      new TControlSubClass(this, control);
    if (Update) control->Invalidate();
  }
  if (dynamic_cast<TCustomForm*>(Component) || NameIs(Component, "TDBNavigator"))
    ApplySkin(Component, Enable, Update);
}

// Colours ------------------------------------------------------------------------------

void TMenuSkin::UpdateColors(TCanvas* Canvas) {
  ColorsDirty_ = false;
  if (Canvas) {
    win::HDC dc = Canvas->Handle();
    HighColor_ = win::GetDeviceCaps(dc, win::BITSPIXEL) * win::GetDeviceCaps(dc, win::PLANES) > 15;
  }
  TMenuSkinColors& c = Colors_;
  c.MenuFill = Color_;
  c.IconFill = IconBackColor_;
  if (HighColor_) {
    if (UseDimColor_) {
      c.SelectFill = LightenColor(SelectColor_, 68);
      c.CheckedFill = LightenColor(SelectColor_, 80);
      c.CheckedSelectedFill = LightenColor(SelectColor_, 50);
    } else {
      c.SelectFill = c.CheckedFill = c.CheckedSelectedFill = SelectColor_;
    }
    c.FrameColor = DarkenColor(clBtnFace, 90);
    c.ShadowColor = DarkenColor(clBtnFace, 76);
  } else {
    c.SelectFill = SelectColor_;
    c.CheckedFill = clWhite;
    c.CheckedSelectedFill = static_cast<TColor>(win::RGB(192, 192, 192));
    c.FrameColor = c.ShadowColor = clBtnShadow;
  }
  c.SelectBorder = SelectBorderColor_;
  c.SelectFont = SelectFontColor_;
  c.MenuBarFill = MenuBarColor_;
  c.DisabledFont = DisabledColor_;
  c.CheckedFrame = CheckedColor_;
  c.SeparatorPen = SeparatorColor_;
  if (!UseSystemColors_) return;
  c.SelectFont = Font_->GetColor();
  if (HighColor_) {
    c.MenuFill = LightenColor(clBtnFace, 86);
    c.IconFill = LightenColor(clBtnFace, 16);
    c.SelectFill = LightenColor(clHighlight, 68);
    c.SelectBorder = clHighlight;
    c.MenuBarFill = clBtnFace;
    c.DisabledFont = LightenColor(clBtnShadow, 10);
    c.SeparatorPen = LightenColor(clBtnShadow, 25);
    c.CheckedFrame = clHighlight;
    c.CheckedFill = LightenColor(clHighlight, 80);
    c.CheckedSelectedFill = LightenColor(clHighlight, 50);
  } else {
    c.MenuFill = clWhite;
    c.IconFill = clBtnFace;
    c.SelectFill = clWhite;
    c.SelectBorder = clHighlight;
    c.MenuBarFill = clBtnFace;
    c.DisabledFont = clBtnShadow;
    c.CheckedFrame = clHighlight;
    c.SeparatorPen = clBtnShadow;
    c.CheckedFill = c.CheckedSelectedFill = clWhite;
  }
}

TColor TMenuSkin::ContrastTextColor(TColor Background) const {
  win::COLORREF c = ColorToRGB(Background);
  Integer r = win::GetRValue(c), g = win::GetGValue(c), b = win::GetBValue(c);
  if ((r + b) / 2 > 150 || g > 200) return Font_->GetColor();
  return LightenColor(Background, 90);
}

void RegisterMenuSkinClasses() { RegisterClasses({TMenuSkin::StaticClass()}); }
