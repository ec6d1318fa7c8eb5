// The suite's scroll bar: a window control drawn entirely through the
// look-and-feel painter, with its own geometry of arrows, thumb and track,
// auto-repeat of arrow and page clicks while the button is held, and thumb
// dragging with snap-back when the pointer strays too far.
#pragma once

#include <memory>

#include "platform/forms/ScrollCtrls.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxTimer.h"
#include "suite/foundation/dxThemeManager.h"

class TcxScrollBar : public TCustomControl {
  VXN_DECLARE_CLASS(TcxScrollBar)

 public:
  explicit TcxScrollBar(TComponent* AOwner);
  ~TcxScrollBar() override;

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer Min() const { return FMin; }
  void SetMin(Integer Value) { SetScrollParams(Value, FMax, FPageSize, FPosition, true); }
  Integer Max() const { return FMax; }
  void SetMax(Integer Value) { SetScrollParams(FMin, Value, FPageSize, FPosition, true); }
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer Value) { SetScrollParams(FMin, FMax, Value, FPosition, true); }
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value) { SetScrollParams(FMin, FMax, FPageSize, Value, true); }
  SmallInt SmallChange() const { return FSmallChange; }
  void SetSmallChange(SmallInt Value) { FSmallChange = Value; }
  SmallInt LargeChange() const { return FLargeChange; }
  void SetLargeChange(SmallInt Value) { FLargeChange = Value; }
  bool UnlimitedTracking = false;
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  // Raises EInvalidOperation "Scrollbar property out of range" when
  // AMax < AMin or AMax < APageSize.
  void SetScrollParams(Integer AMin, Integer AMax, Integer APageSize, Integer APosition, bool ARedraw = true);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Scroll(TScrollCode ACode);

  // Geometry and state, for tests and the control base.
  const TRect& FirstArrowRect() const { return FFirstArrow; }
  const TRect& SecondArrowRect() const { return FSecondArrow; }
  const TRect& ThumbRect() const { return FThumb; }
  const TRect& PageUpRect() const { return FPageUp; }
  const TRect& PageDownRect() const { return FPageDown; }
  Integer ThumbMinimum() const { return FThumbMinimum; }
  ScrollBarPart PressedPart() const { return FPressedPart; }
  ScrollBarPart HotPart() const { return FHotPart; }
  ScrollBarPart HitTest(const TPoint& P) const;
  TcxButtonState PartState(ScrollBarPart APart) const;
  TcxTimer* RepeatTimer() const { return FTimer.get(); }

 protected:
  virtual void FireChange();
  virtual void DoScroll(TScrollCode ACode, Integer& APosition);
  virtual void HandleMouseEnter(TControl* AControl);
  virtual void HandleMouseLeave(TControl* AControl);
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  void CalculateArrows();
  void CalculateThumb();
  void CalculatePageAreas();
  void CalculateThumbMinimum();
  Integer PositionFromThumb() const;
  void CancelTracking();
  TcxCustomLookAndFeelPainterClass Painter() const;

 private:
  void AutoRepeat(TObject* Sender);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void ThemeChanged(TObject* Sender);
  void Recalculate();
  Integer TrackLength() const;

  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0;
  Integer FMax = 100;
  Integer FPageSize = 0;
  Integer FPosition = 0;
  SmallInt FSmallChange = 1;
  SmallInt FLargeChange = 1;
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxThemeChangedNotificator> FNotificator;
  std::unique_ptr<TcxTimer> FTimer;
  TRect FFirstArrow, FSecondArrow, FThumb, FPageUp, FPageDown;
  Integer FThumbMinimum = 8;
  ScrollBarPart FPressedPart = ScrollBarPartNone;
  ScrollBarPart FHotPart = ScrollBarPartNone;
  TPoint FDownPoint;
  Integer FSavePosition = 0;
  TPoint FSaveThumbPos;
};
