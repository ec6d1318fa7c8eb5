// The suite's stand-alone radio button: the radio button window turned
// owner-drawn, its mark painted by the Button visual style (native) or by
// the look-and-feel painter, its caption painted here; it tracks a hot and
// pressed state from the mouse and may show its parent through.
#pragma once

#include <memory>

#include "platform/forms/ButtonCtrls.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxMouseTracking.h"

// The button's state byte.
inline constexpr uint8_t cxRadioStateDisabled = 0;
inline constexpr uint8_t cxRadioStateHot = 1;
inline constexpr uint8_t cxRadioStateNormal = 2;
inline constexpr uint8_t cxRadioStatePressed = 3;

// The classic radio mark's size, measured once at start-up from the system's
// radio mask.
TSize RadioButtonSize();

class TcxRadioButton : public TRadioButton, public IcxMouseTrackingCaller {
  VXN_DECLARE_CLASS(TcxRadioButton)

 public:
  explicit TcxRadioButton(TComponent* AOwner);
  ~TcxRadioButton() override;

  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  // A TPopupMenu or a component with the suite's popup-menu interface.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  uint8_t State() const { return FState; }
  // The mark's rectangle, placed by the last paint.
  const TRect& ButtonRect() const { return FButtonRect; }

  bool Focused() override;
  void Invalidate() override;

  // IcxMouseTrackingCaller
  void MouseLeave() override { MouseLeave(nullptr); }

  virtual void AdjustCaptionRect(TRect& R, bool ANative);
  virtual bool ShowContextMenu(TComponent* AMenu, Integer X, Integer Y);
  virtual bool IsInplace() { return false; }
  virtual bool PaintsThemedParentBackground();
  virtual bool IsNativeStyle();
  virtual bool PaintsTransparent();
  virtual bool NeedsBackground();
  virtual void RedrawButton() { Invalidate(); }
  virtual void PaintButton();
  virtual void RefreshButtonState(TMouseButton AButton, bool AHasButton, TShiftState AShift, const TPoint& P);

  // The mark's rectangle for a mark of size S.
  TRect MarkRect(const TSize& S, bool ANative);

 protected:
  virtual void EnabledChanged();
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void DoEnter() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;

  void UpdateButtonState();
  TcxCanvas* Canvas() const { return FCanvas.get(); }

 private:
  void DrawItem(const win::DRAWITEMSTRUCT& Item);
  void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { RedrawButton(); }
  void InvalidateButtonRect(Integer AInflate);
  void FillBackground(TColor AColor);
  void DrawCaption(bool ANative);
  void StartMouseTracking();

  std::unique_ptr<TCanvas> FControlCanvas;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TComponent* FPopupMenu = nullptr;
  uint8_t FState = cxRadioStateNormal;
  bool FTransparent = false;
  bool FWordWrap = false;
  TRect FButtonRect;
};

// Measures the mark and registers the classes; the folder's start-up calls it.
void InitializeRadioGroup();
