// The suite's push button: a push button window always drawn by its control
// through the look-and-feel painters, with colours per state, a glyph beside
// the caption, and three kinds: standard, drop-down (the whole button opens
// a menu) and drop-down button (an arrow part at the right opens it).
#pragma once

#include <memory>
#include <string>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/Menus.h"
#include "suite/editors/cxButtonGlyph.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxMouseTracking.h"

VXN_ENUM(TcxButtonKind, cxbkStandard, cxbkDropDown, cxbkDropDownButton)
VXN_ENUM_INFO(TcxButtonState, cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled)
using TcxButtonAssignedColors = TSet<TcxButtonState>;

class TcxCustomButton;
class TCustomImageList;

using TcxButtonDropDownMenuPopupEvent =
    TDelegate<void(TObject* Sender, TPopupMenu*& APopupMenu, bool& AHandled)>;
using TcxButtonGetDrawParamsEvent =
    TDelegate<void(TcxCustomButton* Sender, TcxButtonState AState, TColor& AColor, TFont* AFont)>;

// Posted to the button itself: open the drop-down menu, and the menu closed.
inline constexpr win::UINT CM_DROPDOWNMENUREQUEST = 0x812C;
inline constexpr win::UINT CM_DROPDOWNMENUCLOSED = 0x812D;

// Width of the arrow part of a drop-down button, and how much of the face
// it takes from the main part.
inline constexpr Integer cxDropDownArrowPartWidth = 15;
inline constexpr Integer cxDropDownArrowPartExclude = 13;

// The face colour of each button state; clDefault leaves it to the painter.
class TcxButtonColors : public TPersistent {
  VXN_DECLARE_CLASS(TcxButtonColors)

 public:
  explicit TcxButtonColors(TcxCustomButton* AOwner);

  void Assign(TPersistent* Source) override;

  TColor Colors(TcxButtonState AState) const { return FColors[AState]; }
  void SetColor(TcxButtonState AState, TColor Value);
  TcxButtonAssignedColors AssignedColors() const { return FAssignedColors; }
  // Acts at design time only.
  void SetAssignedColors(TcxButtonAssignedColors Value);

  TColor Default() const { return FColors[cxbsDefault]; }
  void SetDefault(TColor Value) { SetColor(cxbsDefault, Value); }
  TColor Normal() const { return FColors[cxbsNormal]; }
  void SetNormal(TColor Value) { SetColor(cxbsNormal, Value); }
  TColor Hot() const { return FColors[cxbsHot]; }
  void SetHot(TColor Value) { SetColor(cxbsHot, Value); }
  TColor Pressed() const { return FColors[cxbsPressed]; }
  void SetPressed(TColor Value) { SetColor(cxbsPressed, Value); }
  TColor Disabled() const { return FColors[cxbsDisabled]; }
  void SetDisabled(TColor Value) { SetColor(cxbsDisabled, Value); }

  bool DefaultStored() const { return FAssignedColors.Contains(cxbsDefault); }
  bool NormalStored() const { return FAssignedColors.Contains(cxbsNormal); }
  bool HotStored() const { return FAssignedColors.Contains(cxbsHot); }
  bool PressedStored() const { return FAssignedColors.Contains(cxbsPressed); }
  bool DisabledStored() const { return FAssignedColors.Contains(cxbsDisabled); }

 private:
  void Changed();

  TcxCustomButton* FButton;  // the owner
  TColor FColors[5] = {clDefault, clDefault, clDefault, clDefault, clDefault};
  TcxButtonAssignedColors FAssignedColors;
};

class TcxCustomButton : public TButton, public IcxMouseTrackingCaller {
  VXN_DECLARE_CLASS(TcxCustomButton)

 public:
  explicit TcxCustomButton(TComponent* AOwner);
  ~TcxCustomButton() override;

  TcxButtonColors* Colors() const { return FColors.get(); }
  void SetColors(TcxButtonColors* Value) { FColors->Assign(Value); }
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(Integer Value);
  TcxButtonKind Kind() const { return FKind; }
  void SetKind(TcxButtonKind Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TPopupAlignment PopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TPopupAlignment Value) { FPopupAlignment = Value; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  // A TPopupMenu or a component with the suite's popup-menu interface.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  // Kept and streamed; the button is owner-drawn whatever it says.
  bool UseSystemPaint() const { return FUseSystemPaint; }
  void SetUseSystemPaint(bool Value) { FUseSystemPaint = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  TcxButtonDropDownMenuPopupEvent OnDropDownMenuPopup;
  TcxButtonGetDrawParamsEvent OnGetDrawParams;

  void Click() override;

  TcxButtonGlyph* ButtonGlyph() const { return FGlyph.get(); }
  bool GlyphModified() const { return FGlyphModified; }
  bool MenuVisible() const { return FMenuVisible; }
  bool MouseInControl() const { return FMouseInControl; }
  bool ArrowPartHeld() const { return FArrowPartHeld; }
  bool LooksDefault() const { return FLooksDefault; }
  // The state the last paint drew.
  TcxButtonState PaintedState() const { return FPaintedState; }

  TcxCustomLookAndFeelPainterClass Painter() { return PainterClass(); }
  TRect ContentRect(TcxButtonState AState);
  TPoint DropDownMenuPoint(TPopupMenu* AMenu);
  TPopupAlignment MenuAlignmentAt(const TPoint& P, TPopupAlignment AAlignment);

  // IcxMouseTrackingCaller
  void MouseLeave() override;

 protected:
  // New virtual operations.
  virtual bool FireDropDownMenuPopup(TPopupMenu*& AMenu);
  virtual bool ShowContextMenu(TComponent* AMenu, Integer X, Integer Y);
  virtual std::unique_ptr<TcxButtonGlyph> GlyphClass();
  virtual TcxCustomLookAndFeelPainterClass PainterClass();
  virtual bool UsesNativeButtonPaint() { return false; }

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void Loaded() override;
  // Besides what every control takes from its action, an action image
  // becomes the glyph while the button has none of its own.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  std::unique_ptr<TControlActionLink> CreateActionLink() override;
  void CopyActionImage(TCustomImageList* AImages, Integer AIndex);

  void PaintButton();
  void ExcludeArrowPart(TRect& R);
  void RequestDropDownMenu();
  bool UsesHotTrack();

 private:
  void DrawItem(const win::DRAWITEMSTRUCT& Item);
  void DropDownMenuRequested();
  void DropDownMenuClosed();
  void MouseEntered();
  void MouseLeft();
  bool CursorOverButton();
  bool InArrowPart(const TPoint& P);
  void GlyphChanged(TObject*) { Invalidate(); }
  void ActionLinkChanged(TObject* Sender) { TakeActionImage(Sender); }
  void TakeActionImage(TObject* AAction);
  void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues);
  void UpdateLooksDefault(TWinControl* AFocused);

  std::unique_ptr<TCanvas> FControlCanvas;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxButtonColors> FColors;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TcxButtonGlyph> FGlyph;
  TcxButtonKind FKind = cxbkStandard;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
  TPopupAlignment FPopupAlignment = paLeft;
  TPopupMenu* FDropDownMenu = nullptr;
  TComponent* FPopupMenu = nullptr;
  bool FUseSystemPaint = false;
  bool FWordWrap = false;
  bool FIsDown = false;
  bool FIsFocused = false;
  bool FLooksDefault = false;
  bool FArrowPartHeld = false;
  bool FMenuVisible = false;
  bool FMouseInControl = false;
  bool FClickFromMouse = false;
  bool FGlyphModified = false;
  TcxButtonState FPaintedState = cxbsNormal;
};

class TcxButton : public TcxCustomButton {
  VXN_DECLARE_CLASS(TcxButton)

 public:
  using TcxCustomButton::TcxCustomButton;
};

void RegisterButtonClasses();
