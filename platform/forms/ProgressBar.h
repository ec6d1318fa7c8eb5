// The self-drawn progress bar.
#pragma once

#include "platform/forms/Controls.h"

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

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterProgressBarClasses();
