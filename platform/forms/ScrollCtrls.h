// Scrolling controls: the scroll bar over the SCROLLBAR window class, and
// the scroll box whose bars move its children into view.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/StaticCtrls.h"
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
void RegisterScrollCtrlsClasses();
