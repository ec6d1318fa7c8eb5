// The paint state of an editor: the container's view info plus the
// editor's own flags, colours and one view info per visible button. The
// editor's layout fills it; the editor drawing routines paint from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxEditTypes.h"

class TcxCustomEditProperties;

// One visible button of an editor.
class TcxEditButtonViewInfo : public TPersistent {
  VXN_DECLARE_CLASS(TcxEditButtonViewInfo)

 public:
  // Takes the paint state alone: native state, background colour, bounds,
  // state and the first-edge flag.
  void Assign(TPersistent* Source) override;
  // Empty when the paint state equals AOther's, else the bounds.
  std::unique_ptr<TcxRegion> ChangedRegion(TcxEditButtonViewInfo* AOther);
  // Invalidates the bounds moved by AOffset on AControl's window when the
  // paint state differs from AOther's; true when it did.
  bool RepaintIfChanged(TWinControl* AControl, TcxEditButtonViewInfo* AOther, const TPoint& AOffset);
  bool PaintStateEquals(const TcxEditButtonViewInfo& AOther) const;

  TRect Bounds;
  TRect VisibleBounds;
  TcxEditButtonState State = ebbsNormal;
  TcxEditButtonKind Kind = bkDown;
  std::string Caption;
  // The caption without its accelerator markers.
  std::string VisibleCaption;
  TColor TextColor = clBtnText;
  TBitmap* Glyph = nullptr;  // the button's, not owned
  bool Default = false;
  bool LeftAlignment = false;
  bool Stretchable = true;
  Integer Width = 0;
  TcxEditButtonStyle Style = btsDefault;
  bool Gradient = false;
  bool Transparent = false;
  bool IsInplace = false;
  // Drawn by the visual style when it can be (NativeStyle); the part and
  // state it is drawn in (0 when it is not), and whether that part lets
  // the background through.
  bool NativeStyle = false;
  Integer NativePart = 0;
  Integer NativeState = 0;
  bool NativePartiallyTransparent = false;
  bool FirstEdge = false;
  bool LastEdge = false;
  // The only button, a drop-down one.
  bool SingleDropDown = false;
  TColor BackgroundColor = clWindow;
  bool EraseBackground = false;
  // The button's index in the properties' Buttons.
  Integer ButtonIndex = 0;
};

using TcxEditButtonViewInfoClass = std::unique_ptr<TcxEditButtonViewInfo> (*)();

using TcxEditCustomDrawBackgroundEvent = TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, bool& Handled)>;
using TcxEditCustomDrawButtonEvent =
    TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, Integer AButtonIndex, bool& Handled)>;
using TcxEditCustomFillButtonAreaEvent =
    TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, const TRect& R, Integer AButtonIndex, bool& Handled)>;
using TcxEditPrepareButtonStateEvent =
    TDelegate<void(TObject* Sender, Integer AButtonIndex, TcxEditButtonState& State)>;

class TcxCustomEditViewInfo : public TcxContainerViewInfo {
  VXN_DECLARE_CLASS(TcxCustomEditViewInfo)

 public:
  TcxCustomEditViewInfo();
  ~TcxCustomEditViewInfo() override;

  TcxContainerBorderStyle BorderStyleInUse() override {
    return static_cast<TcxContainerBorderStyle>(EditBorderStyle);
  }
  void InternalPaint(TcxCanvas* ACanvas) override;
  // Takes colours, border, state and the buttons' paint state.
  void AssignFrom(TcxContainerViewInfo* Source) override;
  std::unique_ptr<TcxRegion> ChangedRegion(TcxContainerViewInfo* AViewInfo) override;
  void OffsetBy(Integer DX, Integer DY) override;

  virtual TcxEditButtonViewInfoClass ButtonViewInfoClass();
  // Kinds that paint no text of their own answer false.
  virtual bool DrawsText() { return true; }
  // Draws button AIndex: the custom handler first, else by its style.
  virtual void PaintButton(TcxCanvas* ACanvas, Integer AIndex);
  virtual void DrawButtonByStyle(TcxCanvas* ACanvas, Integer AIndex, TcxEditButtonStyle AStyle, const TRect& R);
  virtual void DrawButtonContent(TcxCanvas* ACanvas, Integer AIndex, const TRect& AContentRect, const TRect& AArea,
                                 TColor AContentColor, TColor AFaceColor);
  virtual bool HasHotButton();
  // Whether the mouse holds a button down; hosts keep the editor's capture
  // while it does.
  virtual bool AnyButtonPressed() { return PressedButton != -1; }
  // P is relative to the view info's origin.
  virtual bool PointOnButton(const TPoint& P);
  // True when some text lies at P; AText is cleared when none does.
  virtual bool TextAtPoint(const TPoint& P, std::string& AText);
  // The position of the text at P; 0: none.
  virtual Integer TextPositionAtPoint(const TPoint& P) {
    (void)P;
    return 0;
  }
  virtual void PrepareTextFont(TFont* AFont) { (void)AFont; }
  virtual bool RepaintChangesAll(TWinControl* AControl, TcxCustomEditViewInfo* AOld);
  // Invalidates on AControl's window only what differs from AOld (all of
  // it without AOld), leaving AExcludeRect alone; true when anything was.
  virtual bool RepaintChanges(TWinControl* AControl, const TRect& AExcludeRect, TcxCustomEditViewInfo* AOld);

  // Fills a button's area with AColor unless the custom handler does; an
  // opaque enabled Office 11 gradient button gets the scheme's gradient.
  void FillButtonArea(TcxCanvas* ACanvas, Integer AIndex, const TRect& R, TColor AColor);
  // Only in place: true when the custom handler drew the background.
  bool DrawCustomBackground(TcxCanvas* ACanvas);
  bool HasBackgroundDrawHandler() const { return static_cast<bool>(OnCustomDrawBackground); }

  Integer ButtonCount() const { return static_cast<Integer>(Buttons.size()); }
  TcxEditButtonViewInfo* Button(Integer AIndex) const { return Buttons[AIndex].get(); }
  // Keeps the existing button view infos, so that their old state is known.
  void SetButtonCount(Integer ACount);

  TcxCustomEditProperties* Properties = nullptr;
  std::vector<std::unique_ptr<TcxEditButtonViewInfo>> Buttons;
  Integer PressedButton = -1;
  Integer HotButton = -1;
  bool IsButtonReallyPressed = false;
  bool Enabled = true;
  bool Focused = false;
  // Passed to window invalidation.
  bool EraseBackground = false;
  bool InnerEditVisible = false;
  bool PaintingCopy = false;
  // The editor offers itself as a container's inner control.
  bool HasInnerControl = false;
  bool IsInplace = false;
  bool IsDesigning = false;
  // Painted over the parent's image (nothing of its own background).
  bool Transparent = false;
  // The editor's in-place offsets are not empty (extra flag 4).
  bool HasInplaceMargins = false;
  Integer ExtraFlags = 0;
  TcxEditBorderStyle EditBorderStyle = ebsNone;
  // Like HoverLevel; kinds that draw their hot state themselves read it.
  Integer EditHoverLevel = 0;
  // The client area after the border, before the buttons.
  TRect ClientRect;
  TRect InnerEditRect;
  TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
  TFont* Font = nullptr;  // the style's, not owned
  TColor TextColor = clWindowText;
  win::HWND WindowHandle = nullptr;
  // The control whose image a transparent editor shows, the editor itself,
  // and where the editor's origin lies in that control.
  TWinControl* BackgroundControl = nullptr;
  TWinControl* Edit = nullptr;
  TPoint BackgroundOffset;

  TcxEditCustomDrawBackgroundEvent OnCustomDrawBackground;
  TcxEditCustomDrawButtonEvent OnCustomDrawButton;
  TcxEditCustomFillButtonAreaEvent OnCustomFillButtonArea;
  TcxEditPrepareButtonStateEvent OnPrepareButtonState;
};

template <typename T>
std::unique_ptr<TcxEditButtonViewInfo> CreateEditButtonViewInfo() {
  return std::make_unique<T>();
}
