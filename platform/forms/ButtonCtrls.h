// Buttons: the controls over the BUTTON window class
// (platform/win/ButtonControl.h), TButton, TCheckBox and TRadioButton, plus
// the self-drawn TGroupBox and TSpeedButton.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/WinUser.h"

VXN_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

// A windowed control whose default window procedure is the BUTTON class's.
class TButtonControl : public TWinControl {
  VXN_DECLARE_CLASS(TButtonControl)

 public:
  explicit TButtonControl(TComponent* AOwner);
  ~TButtonControl() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  // BN_CLICKED and BN_DOUBLECLICKED reflected from the parent.
  virtual void ButtonNotified(win::WORD Code);
  // While set, changing the check state programmatically fires no click.
  bool ClicksDisabled = false;

 private:
  std::unique_ptr<TBrush> Brush_;
};

class TButton : public TButtonControl {
  VXN_DECLARE_CLASS(TButton)

 public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return Default_; }
  void SetDefault(bool Value);
  bool Cancel() const { return Cancel_; }
  void SetCancel(bool Value) { Cancel_ = Value; }
  TModalResult ModalResult() const { return ModalResult_; }
  void SetModalResult(TModalResult Value) { ModalResult_ = Value; }
  // Enter belongs to the focused button, or to the default button while no
  // other button has the focus.
  bool Active() const;

  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void ButtonNotified(win::WORD Code) override;

 private:
  bool Default_ = false;
  bool Cancel_ = false;
  TModalResult ModalResult_ = mrNone;
};

// The base class of check boxes; TCheckBox keeps the state.
class TCustomCheckBox : public TButtonControl {
  VXN_DECLARE_CLASS(TCustomCheckBox)

 public:
  explicit TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {}
};

class TCheckBox : public TCustomCheckBox {
  VXN_DECLARE_CLASS(TCheckBox)

 public:
  explicit TCheckBox(TComponent* AOwner);

  TCheckBoxState State() const { return State_; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return State_ == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return AllowGrayed_; }
  void SetAllowGrayed(bool Value) { AllowGrayed_ = Value; }
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);
  // Unchecked -> checked -> grayed (when allowed) -> unchecked.
  void Toggle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CMDialogChar(TMessage& Message) override;
  void ButtonNotified(win::WORD Code) override;

 private:
  TCheckBoxState State_ = cbUnchecked;
  bool AllowGrayed_ = false;
  TAlignment Alignment_ = taRightJustify;
};

class TRadioButton : public TButtonControl {
  VXN_DECLARE_CLASS(TRadioButton)

 public:
  explicit TRadioButton(TComponent* AOwner);

  bool Checked() const { return Checked_; }
  // Checking one unchecks its siblings; the checked one takes the tab stop.
  void SetChecked(bool Value);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CMDialogChar(TMessage& Message) override;
  void ButtonNotified(win::WORD Code) override;

 private:
  bool Checked_ = false;
  TAlignment Alignment_ = taRightJustify;
};

// The base class of group boxes; TGroupBox draws the frame and caption.
class TCustomGroupBox : public TCustomControl {
  VXN_DECLARE_CLASS(TCustomGroupBox)

 public:
  explicit TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {}
};

class TGroupBox : public TCustomGroupBox {
  VXN_DECLARE_CLASS(TGroupBox)

 public:
  explicit TGroupBox(TComponent* AOwner);

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
};

VXN_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
VXN_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)

// A button without a window: a glyph and a caption, pressed by the mouse;
// buttons of one GroupIndex (not 0) stay down one at a time.
class TSpeedButton : public TGraphicControl {
  VXN_DECLARE_CLASS(TSpeedButton)

 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  bool AllowAllUp() const { return AllowAllUp_; }
  void SetAllowAllUp(bool Value);
  Integer GroupIndex() const { return GroupIndex_; }
  void SetGroupIndex(Integer Value);
  bool Down() const { return Down_; }
  void SetDown(bool Value);
  bool Flat() const { return Flat_; }
  void SetFlat(bool Value);
  // Up to four images side by side: up, disabled, down, stuck down.
  TBitmap* Glyph() const { return Glyph_.get(); }
  void SetGlyph(TBitmap* Value) { Glyph_->Assign(Value); }
  Integer NumGlyphs() const { return NumGlyphs_; }
  void SetNumGlyphs(Integer Value);
  TButtonLayout Layout() const { return Layout_; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return Margin_; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return Spacing_; }
  void SetSpacing(Integer Value);
  TButtonState State() const { return State_; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;

 private:
  void GlyphChanged(TObject* Sender);
  void UpdateExclusive();
  bool Inside(Integer X, Integer Y) const { return X >= 0 && X < Width() && Y >= 0 && Y < Height(); }

  std::unique_ptr<TBitmap> Glyph_;
  Integer NumGlyphs_ = 1;
  Integer GroupIndex_ = 0;
  bool AllowAllUp_ = false;
  bool Down_ = false;
  bool Flat_ = false;
  bool Dragging_ = false;
  bool MouseInControl_ = false;
  TButtonLayout Layout_ = blGlyphLeft;
  Integer Margin_ = -1;
  Integer Spacing_ = 4;
  TButtonState State_ = bsUp;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterButtonCtrlsClasses();
