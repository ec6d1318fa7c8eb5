// Small controls: the scroll bar over the SCROLLBAR window class, the
// splitter that resizes its neighbour, the self-drawn progress bar and
// up-down buttons, and the button with a glyph.
#pragma once

#include <memory>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/SimpleCtrls.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/win/ChildNotify.h"

VXN_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
VXN_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
         scEndScroll)
using TScrollEvent = TDelegate<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TWinControl {
  VXN_DECLARE_CLASS(TScrollBar)

 public:
  explicit TScrollBar(TComponent* AOwner);
  ~TScrollBar() override;

  TScrollBarKind Kind() const { return Kind_; }
  void SetKind(TScrollBarKind Value);
  Integer Min() const { return Min_; }
  void SetMin(Integer Value) { SetParams(Position_, Value, Max_); }
  Integer Max() const { return Max_; }
  void SetMax(Integer Value) { SetParams(Position_, Min_, Value); }
  Integer Position() const { return Position_; }
  void SetPosition(Integer Value) { SetParams(Value, Min_, Max_); }
  Integer PageSize() const { return PageSize_; }
  void SetPageSize(Integer Value);
  Integer SmallChange() const { return SmallChange_; }
  void SetSmallChange(Integer Value) { SmallChange_ = Value; }
  Integer LargeChange() const { return LargeChange_; }
  void SetLargeChange(Integer Value) { LargeChange_ = Value; }
  // Range errors raise EInvalidOperation; the position is kept within what
  // the page leaves of the range.
  void SetParams(Integer APosition, Integer AMin, Integer AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  bool PaintsItself() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, Integer& ScrollPos);

 private:
  void DoScroll(win::WORD Code);
  Integer LastPosition() const;
  void UpdateWindow();

  TScrollBarKind Kind_ = sbHorizontal;
  Integer Min_ = 0;
  Integer Max_ = 100;
  Integer Position_ = 0;
  Integer PageSize_ = 0;
  Integer SmallChange_ = 1;
  Integer LargeChange_ = 1;
};

using TSplitterCanResizeEvent = TDelegate<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

// Sits between two aligned controls; dragging it resizes the control on the
// side it is aligned to.
class TSplitter : public TGraphicControl {
  VXN_DECLARE_CLASS(TSplitter)

 public:
  explicit TSplitter(TComponent* AOwner);

  Integer MinSize() const { return MinSize_; }
  void SetMinSize(Integer Value) { MinSize_ = Value < 1 ? 1 : Value; }
  bool AutoSnap() const { return AutoSnap_; }
  void SetAutoSnap(bool Value) { AutoSnap_ = Value; }
  TControl* Control() const { return Control_; }

  TSplitterCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TControl* FindNeighbour() const;
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  Integer NeighbourSize() const;
  // The room the other side leaves the neighbour, keeping MinSize for both.
  Integer MaxSize() const;
  void ResizeNeighbour(Integer NewSize);

  TControl* Control_ = nullptr;
  Integer MinSize_ = 30;
  bool AutoSnap_ = true;
  bool Dragging_ = false;
  Integer DownPos_ = 0;
  Integer StartSize_ = 0;
};

VXN_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)

class TProgressBar : public TWinControl {
  VXN_DECLARE_CLASS(TProgressBar)

 public:
  explicit TProgressBar(TComponent* AOwner);

  Integer Min() const { return Min_; }
  void SetMin(Integer Value);
  Integer Max() const { return Max_; }
  void SetMax(Integer Value);
  Integer Position() const { return Position_; }
  void SetPosition(Integer Value);
  Integer Step() const { return Step_; }
  void SetStep(Integer Value) { Step_ = Value; }
  bool Smooth() const { return Smooth_; }
  void SetSmooth(bool Value);
  TProgressBarOrientation Orientation() const { return Orientation_; }
  void SetOrientation(TProgressBarOrientation Value);
  // Past the end the bar starts again from Min, as the system's bar does.
  void StepIt();
  void StepBy(Integer Delta);

 protected:
  void PaintWindow(win::HDC DC) override;

 private:
  Integer Min_ = 0;
  Integer Max_ = 100;
  Integer Position_ = 0;
  Integer Step_ = 10;
  bool Smooth_ = false;
  TProgressBarOrientation Orientation_ = pbHorizontal;
};

VXN_ENUM(TUDBtnType, btNext, btPrev)
VXN_ENUM(TUDAlignButton, udLeft, udRight)
VXN_ENUM(TUDOrientation, udHorizontal, udVertical)
using TUDClickEvent = TDelegate<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

// Two arrow buttons that step a position; an associated control shows it.
class TUpDown : public TCustomControl {
  VXN_DECLARE_CLASS(TUpDown)

 public:
  explicit TUpDown(TComponent* AOwner);
  ~TUpDown() override;

  TWinControl* Associate() const { return Associate_; }
  // Sits at the associate's side and shows the position in its text.
  void SetAssociate(TWinControl* Value);
  TUDAlignButton AlignButton() const { return AlignButton_; }
  void SetAlignButton(TUDAlignButton Value) { AlignButton_ = Value; }
  Integer Min() const { return Min_; }
  void SetMin(Integer Value);
  Integer Max() const { return Max_; }
  void SetMax(Integer Value);
  Integer Position() const { return Position_; }
  void SetPosition(Integer Value);
  Integer Increment() const { return Increment_; }
  void SetIncrement(Integer Value) { Increment_ = Value; }
  bool Wrap() const { return Wrap_; }
  void SetWrap(bool Value) { Wrap_ = Value; }
  // Up and Down in the associate step the position too.
  bool ArrowKeys() const { return ArrowKeys_; }
  void SetArrowKeys(bool Value) { ArrowKeys_ = Value; }
  bool Thousands() const { return Thousands_; }
  void SetThousands(bool Value);
  TUDOrientation Orientation() const { return Orientation_; }
  void SetOrientation(TUDOrientation Value);

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  using TCustomControl::Click;
  virtual void Click(TUDBtnType Button);

 private:
  void StepBy(TUDBtnType Button);
  void ShowInAssociate();
  void AssociateWndProc(TMessage& Message);
  void ReleaseAssociate();
  TWinControl* Associate_ = nullptr;
  TWndMethod AssociateProc_;
  bool ArrowKeys_ = true;
  TUDAlignButton AlignButton_ = udRight;
  Integer Min_ = 0;
  Integer Max_ = 100;
  Integer Position_ = 0;
  Integer Increment_ = 1;
  bool Wrap_ = false;
  bool Thousands_ = true;
  TUDOrientation Orientation_ = udVertical;
  Integer Pressed_ = -1;  // the button held down (TUDBtnType), or -1
};

VXN_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)

// A push button drawn by its control: a glyph beside the caption.
class TBitBtn : public TButton {
  VXN_DECLARE_CLASS(TBitBtn)

 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  TBitBtnKind Kind() const { return Kind_; }
  // Gives the button the caption, result and default or cancel role of its kind.
  void SetKind(TBitBtnKind Value);
  TBitmap* Glyph() const { return Glyph_.get(); }
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return NumGlyphs_; }
  void SetNumGlyphs(Integer Value);
  TButtonLayout Layout() const { return Layout_; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return Margin_; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return Spacing_; }
  void SetSpacing(Integer Value);

  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  void DrawItem(const win::DRAWITEMSTRUCT& Item);
  std::unique_ptr<TBitmap> Glyph_;
  std::unique_ptr<TCanvas> Canvas_;
  TBitBtnKind Kind_ = bkCustom;
  Integer NumGlyphs_ = 1;
  TButtonLayout Layout_ = blGlyphLeft;
  Integer Margin_ = -1;
  Integer Spacing_ = 4;
};

// A window whose children may lie beyond its client area; its scroll bars
// move them into view. The range follows the children (AutoScroll).
class TScrollBox;

// One scroll bar of a scroll box (its HorzScrollBar or VertScrollBar): the
// box's position and range along one axis, and the step of a click on an
// arrow. Range is measured from the box's children.
class TControlScrollBar : public TPersistent {
  VXN_DECLARE_CLASS(TControlScrollBar)

 public:
  TControlScrollBar(TScrollBox* Control, TScrollBarKind Kind) : Control_(Control), Kind_(Kind) {}

  TScrollBarKind Kind() const { return Kind_; }
  Integer Increment() const;
  void SetIncrement(Integer Value);
  Integer Position() const;
  void SetPosition(Integer Value);
  Integer Range() const;

  // Takes the increment and the position of another bar.
  void Assign(TPersistent* Source) override;

 private:
  TScrollBox* Control_;
  TScrollBarKind Kind_;
};

class TScrollBox : public TScrollingWinControl {
  VXN_DECLARE_CLASS(TScrollBox)

 public:
  explicit TScrollBox(TComponent* AOwner);
  ~TScrollBox() override;

  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool AutoScroll() const { return AutoScroll_; }
  void SetAutoScroll(bool Value);
  // Scroll positions and ranges (pixels) of the horizontal and vertical bars.
  Integer HorzPosition() const { return Pos_[0]; }
  void SetHorzPosition(Integer Value) { ScrollTo(Value, Pos_[1]); }
  Integer VertPosition() const { return Pos_[1]; }
  void SetVertPosition(Integer Value) { ScrollTo(Pos_[0], Value); }
  Integer HorzRange() const { return Range_[0]; }
  Integer VertRange() const { return Range_[1]; }
  // The step of both bars; each bar can take its own (HorzScrollBar, VertScrollBar).
  Integer Increment() const { return Increment_[1]; }
  void SetIncrement(Integer Value) { Increment_[0] = Increment_[1] = Value < 1 ? 1 : Value; }
  TControlScrollBar* HorzScrollBar() const { return Bars_[0].get(); }
  void SetHorzScrollBar(TControlScrollBar* Value) { Bars_[0]->Assign(Value); }
  TControlScrollBar* VertScrollBar() const { return Bars_[1].get(); }
  void SetVertScrollBar(TControlScrollBar* Value) { Bars_[1]->Assign(Value); }
  // Scrolls so that the child lies wholly inside the client area.
  void ScrollInView(TControl* AControl);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void WndProc(TMessage& Message) override;

 private:
  void UpdateRange();
  void ScrollTo(Integer X, Integer Y);
  void DoScroll(int Bar, win::WORD Code);
  TBorderStyle BorderStyle_ = bsSingle;
  bool AutoScroll_ = true;
  bool Updating_ = false;
  friend class TControlScrollBar;
  Integer Increment_[2] = {8, 8};
  std::unique_ptr<TControlScrollBar> Bars_[2];
  Integer Pos_[2] = {0, 0};
  Integer Range_[2] = {0, 0};
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterSmallCtrlsClasses();
