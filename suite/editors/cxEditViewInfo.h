// The paint state of an editor: the container's view info plus the
// editor's own flags, colours and one view info per visible button. The
// editor's layout fills it; the editor drawing routines paint from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxEditTypes.h"

class TcxCustomEditViewInfo;

// One visible button of an editor.
class TcxEditButtonViewInfo : public TPersistent {
  VXN_DECLARE_CLASS(TcxEditButtonViewInfo)

 public:
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
  Integer ButtonIndex = 0;
};

using TcxEditCustomDrawBackgroundEvent = TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, bool& Handled)>;
using TcxEditCustomDrawButtonEvent =
    TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, Integer AButtonIndex, bool& Handled)>;
using TcxEditCustomFillButtonAreaEvent =
    TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, const TRect& R, Integer AButtonIndex, bool& Handled)>;

class TcxCustomEditViewInfo : public TcxContainerViewInfo {
  VXN_DECLARE_CLASS(TcxCustomEditViewInfo)

 public:
  TcxCustomEditViewInfo();
  ~TcxCustomEditViewInfo() override;

  // Draws button AIndex: the custom handler first, else by its style.
  virtual void PaintButton(TcxCanvas* ACanvas, Integer AIndex);
  virtual void DrawButtonByStyle(TcxCanvas* ACanvas, Integer AIndex, TcxEditButtonStyle AStyle, const TRect& R);
  virtual void DrawButtonContent(TcxCanvas* ACanvas, Integer AIndex, const TRect& AContentRect, const TRect& AArea,
                                 TColor AContentColor, TColor AFaceColor);
  // Fills a button's area with AColor unless the custom handler does.
  virtual void FillButtonArea(TcxCanvas* ACanvas, Integer AIndex, const TRect& R, TColor AColor);
  // Only in place: true when the custom handler drew the background.
  bool DrawCustomBackground(TcxCanvas* ACanvas);

  Integer ButtonCount() const { return static_cast<Integer>(Buttons.size()); }
  TcxEditButtonViewInfo* Button(Integer AIndex) const { return Buttons[AIndex].get(); }
  // Keeps the existing button view infos, so that their old state is known.
  void SetButtonCount(Integer ACount);

  std::vector<std::unique_ptr<TcxEditButtonViewInfo>> Buttons;
  bool Enabled = true;
  bool Focused = false;
  bool IsInplace = false;
  bool IsDesigning = false;
  // Painted over the parent's image (nothing of its own background).
  bool Transparent = false;
  // The editor's in-place offsets are not empty.
  bool HasInplaceMargins = false;
  // Bit 4: the editor's content rectangle is not empty.
  Integer ExtraFlags = 0;
  TcxEditBorderStyle EditBorderStyle = ebsNone;
  TFont* Font = nullptr;  // the style's, not owned
  TColor TextColor = clWindowText;
  // The control whose image a transparent editor shows, the editor itself,
  // and where the editor's origin lies in that control.
  TWinControl* BackgroundControl = nullptr;
  TWinControl* Edit = nullptr;
  TPoint BackgroundOffset;

  TcxEditCustomDrawBackgroundEvent OnCustomDrawBackground;
  TcxEditCustomDrawButtonEvent OnCustomDrawButton;
  TcxEditCustomFillButtonAreaEvent OnCustomFillButtonArea;
};
