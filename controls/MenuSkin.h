// The menu skin: a component on a form that gives the form's menus, tool
// bars and standard controls a flat look (a light menu background, a shaded
// icon column, filled selection rectangles). Set Active, it walks the form's
// components and, by class and by the class of each one's parent, makes
// menus owner-drawn by its own measure and draw handlers, draws the tool
// bars' buttons, and puts a TControlSubClass in front of the window
// procedure of standard controls. One manager (MenuSkinManager.h) carries
// the active skin to forms made later.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/rtl/Components.h"

class TMenuItem;
class TCustomImageList;
class TControlSubClass;

VXN_ENUM(TXPContainer, xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox,
         xccGroupBox, xccTabSheet, xccPageScroller)
using TXPContainers = TSet<TXPContainer>;
VXN_ENUM(TXPControl, xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcListBox, xcEdit, xcMaskEdit,
         xcMemo, xcRichEdit, xcMiscEdit, xcCheckBox, xcRadioButton, xcButton, xcBitBtn, xcSpeedButton, xcUpDown,
         xcPanel, xcGroupBox, xcTreeView, xcListView, xcProgressBar, xcHotKey)
using TXPControls = TSet<TXPControl>;

// Posted to the application window when a popup menu's items were drawn and
// its window wants the flat frame: the item in lParam (its window still
// unknown), or the right-to-left flag in wParam and the window in lParam.
inline constexpr win::UINT WM_SKINITEMFRAME = 0xBCB3;
inline constexpr win::UINT WM_SKINWINDOWFRAME = 0xBCB4;

// A menu skin's component or container that it leaves alone.
inline constexpr Integer kSkinExcludedTag = 999;
// A control that takes its button face from its parent's background.
inline constexpr Integer kSkinParentFaceTag = 1000;

// The colours every drawing of the skin uses, derived by UpdateColors.
struct TMenuSkinColors {
  TColor MenuFill = clWhite;
  TColor IconFill = clBtnFace;
  TColor SelectFill = clHighlight;
  TColor SelectBorder = clHighlight;
  TColor SelectFont = clMenuText;
  TColor CheckedFill = clHighlight;
  TColor CheckedSelectedFill = clHighlight;
  TColor CheckedFrame = clHighlight;
  TColor MenuBarFill = clBtnFace;
  TColor DisabledFont = clInactiveCaption;
  TColor SeparatorPen = clBtnFace;
  TColor FrameColor = clBtnShadow;
  TColor ShadowColor = clBtnShadow;
};

class TMenuSkin : public TComponent {
  VXN_DECLARE_CLASS(TMenuSkin)

 public:
  // The owner must be a TScrollingWinControl (normally the form).
  explicit TMenuSkin(TComponent* AOwner);
  ~TMenuSkin() override;

  Byte DimLevel() const { return DimLevel_; }
  void SetDimLevel(Byte Value) { DimLevel_ = Value; }
  Byte GrayLevel() const { return GrayLevel_; }
  void SetGrayLevel(Byte Value) { GrayLevel_ = Value; }
  TFont* Font() const { return Font_.get(); }
  void SetFont(TFont* Value);
  TColor Color() const { return Color_; }
  void SetColor(TColor Value) { SetColorField(Color_, Value); }
  bool DrawMenuBar() const { return DrawMenuBar_; }
  void SetDrawMenuBar(bool Value) { DrawMenuBar_ = Value; }
  TColor IconBackColor() const { return IconBackColor_; }
  void SetIconBackColor(TColor Value) { SetColorField(IconBackColor_, Value); }
  TColor MenuBarColor() const { return MenuBarColor_; }
  void SetMenuBarColor(TColor Value);
  TColor SelectColor() const { return SelectColor_; }
  void SetSelectColor(TColor Value) { SetColorField(SelectColor_, Value); }
  TColor SelectBorderColor() const { return SelectBorderColor_; }
  void SetSelectBorderColor(TColor Value) { SetColorField(SelectBorderColor_, Value); }
  TColor SelectFontColor() const { return SelectFontColor_; }
  void SetSelectFontColor(TColor Value) { SetColorField(SelectFontColor_, Value); }
  TColor DisabledColor() const { return DisabledColor_; }
  void SetDisabledColor(TColor Value) { SetColorField(DisabledColor_, Value); }
  TColor SeparatorColor() const { return SeparatorColor_; }
  void SetSeparatorColor(TColor Value) { SetColorField(SeparatorColor_, Value); }
  TColor CheckedColor() const { return CheckedColor_; }
  void SetCheckedColor(TColor Value) { SetColorField(CheckedColor_, Value); }
  Integer IconWidth() const { return IconWidth_; }
  void SetIconWidth(Integer Value) { IconWidth_ = Value; }
  bool DrawSelect() const { return DrawSelect_; }
  void SetDrawSelect(bool Value) { DrawSelect_ = Value; }
  bool UseSystemColors() const { return UseSystemColors_; }
  void SetUseSystemColors(bool Value);
  bool UseDimColor() const { return UseDimColor_; }
  void SetUseDimColor(bool Value) { UseDimColor_ = Value; }
  bool OverrideOwnerDraw() const { return OverrideOwnerDraw_; }
  void SetOverrideOwnerDraw(bool Value) { OverrideOwnerDraw_ = Value; }
  bool Gradient() const { return Gradient_; }
  void SetGradient(bool Value) { Gradient_ = Value; }
  bool FlatMenu() const { return FlatMenu_; }
  void SetFlatMenu(bool Value) { FlatMenu_ = Value; }
  bool AutoDetect() const { return AutoDetect_; }
  void SetAutoDetect(bool Value) { AutoDetect_ = Value; }
  TXPContainers XPContainers() const { return XPContainers_; }
  void SetXPContainers(TXPContainers Value);
  TXPControls XPControls() const { return XPControls_; }
  void SetXPControls(TXPControls Value);
  bool Active() const { return Active_; }
  void SetActive(bool Value);
  bool DisableSubclassing() const { return DisableSubclassing_; }
  void SetDisableSubclassing(bool Value);

  static TXPContainers AllContainers();
  static TXPControls AllControls();

  // Applies (or removes) the skin to every component Container owns.
  void ApplySkin(TComponent* Container, bool Enable, bool Update);
  void ApplySkinToComponent(TComponent* Component, bool Enable, bool Update);

  // The derived colours, recomputed against Canvas's device.
  void UpdateColors(TCanvas* Canvas);
  bool ColorsDirty() const { return ColorsDirty_; }
  const TMenuSkinColors& Colors() const { return Colors_; }
  // The last drawing surface had more than 15 bits per pixel.
  bool HighColor() const { return HighColor_; }
  TColor ContrastTextColor(TColor Background) const;

  // The handlers the skin becomes.
  void MeasureMenuItem(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height);
  void DrawMenuItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected);
  void DrawToolButton(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw);
  // The flat frame of a popup menu's window.
  void DrawPopupFrame(win::HWND Wnd, bool RightToLeft);

  // The drawings they share with the control repainting.
  void PaintMenuItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, bool Selected);
  void DrawMenuBarSelection(TCanvas* ACanvas, bool RightToLeft, bool ToolButton, TColor BarColor, const TRect& R);
  void DrawCheckMark(TMenuItem* Item, bool Selected, const TRect& R, TCanvas* ACanvas, bool HasIcon,
                     bool Enabled);
  void DrawItemIcon(bool ToolButton, TCanvas* ACanvas, bool RightToLeft, bool MenuBarItem, bool Checked,
                    bool Enabled, bool Down, bool Highlighted, const TRect& R, TBitmap* Icon);
  void DrawItemText(bool ToolButton, const std::string& Text, win::UINT Format, TFont* AFont, bool RightToLeft,
                    bool MenuBarItem, bool IsDefault, bool Enabled, bool Selected, const TRect& R,
                    TCanvas* ACanvas, const std::string& ShortCut);
  void DrawGradient(TCanvas* ACanvas, const TRect& R, bool RightToLeft);

  // The form (or other scrolling window) the skin belongs to.
  TScrollingWinControl* Form() const { return Form_; }
  // The platform, read at creation: NT family, version 5.0, version 5.1.
  bool IsNT() const { return IsNT_; }
  bool IsW2K() const { return IsW2K_; }
  bool IsWXP() const { return IsWXP_; }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool IsNT_ = true;
  bool IsW2K_ = false;
  bool IsWXP_ = false;

 private:
  friend class TControlSubClass;
  friend class TMenuSkinManager;
  void SetColorField(TColor& Field, TColor Value);
  // Whether the control's class and its parent's class are among the
  // selected members.
  bool Selects(TControl* Control) const;
  void RedrawMenuBar();
  void ApplyToMenu(TMenuItem* Item, bool Enable);
  bool IsSkinHandler(const TMenuItem* Item) const;
  // The icon of an item into Icon; false when it has none.
  bool ItemIcon(TMenuItem* Item, TBitmap* Icon) const;
  bool IsMenuBarItem(const TMenuItem* Item) const;
  bool ItemRightToLeft(const TMenuItem* Item) const;

  TScrollingWinControl* Form_;
  Byte DimLevel_ = 30;
  Byte GrayLevel_ = 10;
  std::unique_ptr<TFont> Font_;
  TColor Color_ = clBtnFace;
  bool DrawMenuBar_ = false;
  TColor IconBackColor_ = clBtnFace;
  TColor MenuBarColor_ = clBtnFace;
  TColor SelectColor_ = clHighlight;
  TColor SelectBorderColor_ = clHighlight;
  TColor SelectFontColor_ = clMenuText;
  TColor DisabledColor_ = clInactiveCaption;
  TColor SeparatorColor_ = clBtnFace;
  TColor CheckedColor_ = clHighlight;
  Integer IconWidth_ = 24;
  bool DrawSelect_ = true;
  bool UseSystemColors_ = true;
  bool UseDimColor_ = false;
  bool OverrideOwnerDraw_ = false;
  bool Gradient_ = false;
  bool FlatMenu_ = false;
  bool AutoDetect_ = false;
  TXPContainers XPContainers_;
  TXPControls XPControls_;
  bool Active_ = false;
  bool DisableSubclassing_ = false;

  bool ColorsDirty_ = true;
  bool HighColor_ = true;
  TMenuSkinColors Colors_;
};

// Whether a window wears the skin's popup frame (its procedure is the
// frame's, until it hides or goes).
bool IsPopupFrameWindow(win::HWND Wnd);

// Registers the skin's classes by name; the folder's start-up calls it.
void RegisterMenuSkinClasses();
