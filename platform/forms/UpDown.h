// The up-down control: two self-drawn arrow buttons that step a position.
#pragma once

#include <memory>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"

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

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterUpDownClasses();
