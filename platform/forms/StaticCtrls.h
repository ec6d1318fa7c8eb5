// The controls that show something and take no input, drawn by themselves
// without a window class of their own: labels, bevels, images, paint boxes
// and panels.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"

VXN_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
VXN_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
VXN_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
VXN_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
VXN_ENUM(TBevelStyle, bsLowered, bsRaised)
// Forms use all of these; panels and other controls only the first two.
VXN_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;

// True when Str marks the character of the key VK as its mnemonic ("&x",
// case-insensitive; "&&" is a literal ampersand).
bool IsAccel(win::WPARAM VK, const std::string& Str);

// Draws Width nested frames inward: top and left in TopColor, bottom and
// right in BottomColor; Rect comes back inside them.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width);

class TLabel : public TGraphicControl {
  VXN_DECLARE_CLASS(TLabel)

 public:
  explicit TLabel(TComponent* AOwner);

  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return Layout_; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return WordWrap_; }
  void SetWordWrap(bool Value);
  bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return ShowAccelChar_; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FocusControl_; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // Draws (or with DT_CALCRECT measures) the caption as the label shows it.
  void DoDrawText(TCanvas* ACanvas, TRect& Rect, win::UINT Flags);
  void AdjustBounds();

 private:
  win::UINT TextFlags() const;

  TAlignment Alignment_ = taLeftJustify;
  TTextLayout Layout_ = tlTop;
  bool WordWrap_ = false;
  bool ShowAccelChar_ = true;
  TWinControl* FocusControl_ = nullptr;
};

class TBevel : public TGraphicControl {
  VXN_DECLARE_CLASS(TBevel)

 public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return Shape_; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return Style_; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape Shape_ = bsBox;
  TBevelStyle Style_ = bsLowered;
};

class TImage : public TGraphicControl {
  VXN_DECLARE_CLASS(TImage)

 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return Picture_.get(); }
  void SetPicture(TPicture* Value) { Picture_->Assign(Value); }
  // Drawing on the image draws on its picture, made a bitmap of the
  // control's size when it holds none.
  TCanvas* Canvas();
  bool Stretch() const { return Stretch_; }
  void SetStretch(bool Value);
  bool Center() const { return Center_; }
  void SetCenter(bool Value);
  bool Proportional() const { return Proportional_; }
  void SetProportional(bool Value);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool Value);
  void SetAutoSize(bool Value) override;

  // Where the picture is drawn in the client area.
  TRect DestRect();

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);

  std::unique_ptr<TPicture> Picture_;
  bool Stretch_ = false;
  bool Center_ = false;
  bool Proportional_ = false;
  bool Transparent_ = false;
};

class TPaintBox : public TGraphicControl {
  VXN_DECLARE_CLASS(TPaintBox)

 public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};

// The base class of panels; TPanel carries the bevels and the caption.
class TCustomPanel : public TCustomControl {
  VXN_DECLARE_CLASS(TCustomPanel)

 public:
  explicit TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
};

class TPanel : public TCustomPanel {
  VXN_DECLARE_CLASS(TPanel)

 public:
  explicit TPanel(TComponent* AOwner);

  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return BevelInner_; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return BevelOuter_; }
  void SetBevelOuter(TBevelCut Value);
  Integer BevelWidth() const { return BevelWidth_; }
  void SetBevelWidth(Integer Value);
  Integer BorderWidth() const { return BorderWidth_; }
  void SetBorderWidth(Integer Value);
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void CMTextChanged(TMessage& Message) override;

 private:
  void Changed();

  TAlignment Alignment_ = taCenter;
  TBevelCut BevelInner_ = bvNone;
  TBevelCut BevelOuter_ = bvRaised;
  Integer BevelWidth_ = 1;
  Integer BorderWidth_ = 0;
  TBorderStyle BorderStyle_ = bsNone;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterStaticCtrlsClasses();
