// The suite's group box: a container editor that holds child controls
// inside a frame, with a caption at one of thirteen places; the captions on
// the left and right side read vertically, drawn with a rotated font. The
// frame is the Button visual style's group box or a classic frame of the
// style's border style.
#pragma once

#include <memory>
#include <string>

#include "platform/win/GdiFonts.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxTextEditViewInfo.h"

VXN_ENUM(TcxCaptionAlignment, alTopLeft, alTopCenter, alTopRight, alBottomLeft, alBottomCenter, alBottomRight,
         alLeftTop, alLeftCenter, alLeftBottom, alRightTop, alRightCenter, alRightBottom, alCenterCenter)

// The side a caption sits on.
enum class TcxCaptionSide { Top, Bottom, Left, Right, Centre };
TcxCaptionSide CaptionSideOf(TcxCaptionAlignment AAlignment);

class TcxCustomGroupBox;

class TcxCustomGroupBoxProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TcxCustomGroupBoxProperties)

 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;

  TClass EditClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
};

class TcxGroupBoxButtonViewInfo : public TcxEditButtonViewInfo {
  VXN_DECLARE_CLASS(TcxGroupBoxButtonViewInfo)
};

class TcxGroupBoxViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxGroupBoxViewInfo)

 public:
  TcxGroupBoxViewInfo();
  ~TcxGroupBoxViewInfo() override;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void OffsetBy(Integer DX, Integer DY) override;
  TcxEditButtonViewInfoClass ButtonViewInfoClass() override;

  TRect CaptionRect;
  // The caption is drawn here first, then copied onto CaptionRect.
  std::unique_ptr<TBitmap> CaptionBitmap;
  std::unique_ptr<TcxCanvas> CaptionCanvas;
  TcxCustomGroupBox* GroupBox = nullptr;
  TcxCaptionAlignment Alignment = alTopLeft;
  // Height of "Qq" in the caption font.
  Integer CaptionHeight = 0;
  bool NeedsParentBackground = false;
  bool UsesParentBackground = false;

 private:
  void DrawFrame(TcxCanvas* ACanvas, bool AIntoCaption);
  void DrawThemedFrame(TcxCanvas* ACanvas);
  void DrawClassicFrame(TcxCanvas* ACanvas, bool AClearBrush);
  void DrawCaption(TcxCanvas* ACanvas);
};

class TcxGroupBoxViewData : public TcxCustomEditViewData {
  VXN_DECLARE_CLASS(TcxGroupBoxViewData)

 public:
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  TcxContainerStateFlags CalculateContainerState(const TRect& ABounds, const TPoint& P, Integer AButton,
                                                 TShiftState AShift, bool AIsMouseEvent) override;
  TColor CalculateBorderColor() override;
  void BorderExtent(TRect& R) override;
  void ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) override;
  // The native look follows the Edit theme, asked for by NativeStyle or by
  // the Office 11 kind.
  static bool IsNativeLookAndFeel(TcxLookAndFeel* ALookAndFeel);

  TcxCustomGroupBox* GroupBox = nullptr;

 private:
  // The caption's side when the caption takes room there; Centre otherwise.
  TcxCaptionSide SideWithRoom();
  Integer CaptionTextHeight();
  TRect CalculateCaptionRect(const TRect& ABounds);
};

class TcxCustomGroupBox : public TcxCustomEdit {
  VXN_DECLARE_CLASS(TcxCustomGroupBox)

 public:
  explicit TcxCustomGroupBox(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomGroupBox() override;

  TcxCaptionAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TcxCaptionAlignment Value);
  TColor CaptionBkColor() const { return FCaptionBkColor; }
  void SetCaptionBkColor(TColor Value) { FCaptionBkColor = Value; }
  // Colour and font are the normal style's.
  TColor StyleColor() const { return Style()->Color(); }
  void SetStyleColor(TColor Value) { Style()->SetColor(Value); }
  TFont* StyleFont() const { return Style()->Font(); }
  void SetStyleFont(TFont* Value) { Style()->SetFont(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
  // The published look and feel is the normal style's, which the box is
  // drawn by.
  TcxLookAndFeel* StyleLookAndFeel() const { return Style()->LookAndFeel(); }
  void SetStyleLookAndFeel(TcxLookAndFeel* Value) { Style()->SetLookAndFeel(Value); }
  void SetTransparentLook(bool Value);

  bool IsVerticalCaption() const;
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  const std::string& CaptionText() const { return FCaptionText; }
  win::UINT CaptionDrawFlags() const;
  // Puts the caption font into a canvas, with the theme's text colour when
  // native.
  void SelectCaptionFont(TcxCanvas* ACanvas, bool ANative);
  void UpdateCaptionFont();
  void UpdateCaptionText();

  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;
  bool DefaultParentColor() override { return true; }
  bool KeepsOwnTabOrder() override { return true; }
  void AlignInnerControl() override {}
  TcxContainerStyle* GetActiveStyle() override;
  bool UsesParentBackground() override;
  bool NeedsParentBackground() override { return UsesParentBackground() || IsTransparent(); }
  // The background's source changed: lay out and paint again.
  void ParentBackgroundChanged() override {
    RecalculateAtCursor(false);
    Invalidate();
  }
  TRect GetVisibleBounds() override;
  void SyncControlWithStyle(TObject* Sender) override;

  std::unique_ptr<TcxGroupBoxViewData> CreateLayoutViewData();

 protected:
  bool CanFocusOnClick() override { return false; }
  void AdjustClientRect(TRect& Rect) override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  TcxCaptionAlignment FAlignment = alTopLeft;
  TColor FCaptionBkColor = clNone;
  std::unique_ptr<TFont> FCaptionFont;
  // The rotated font of a vertical caption (no rotation when not vertical).
  win::LOGFONT FCaptionLogFont{};
  bool FSelectingFirst = false;
  std::string FCaptionText;
};

class TcxGroupBox : public TcxCustomGroupBox {
  VXN_DECLARE_CLASS(TcxGroupBox)

 public:
  using TcxCustomGroupBox::TcxCustomGroupBox;
};

void RegisterGroupBoxClasses();
