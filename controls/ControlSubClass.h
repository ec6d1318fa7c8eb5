// A hook in front of a standard control's window procedure (its
// WindowProc): it passes every message on, follows the focus, the mouse,
// the space key and the left button, and after the control painted itself
// paints a flat look over it in the menu skin's colours. It takes itself out
// when the skin is no longer active or the control's window goes; freed with
// its skin, it puts back what it replaced.
#pragma once

#include <memory>

#include "platform/forms/Controls.h"
#include "platform/rtl/Components.h"

class TMenuSkin;

class TControlSubClass : public TComponent {
  VXN_DECLARE_CLASS(TControlSubClass)

 public:
  // Owned by Skin. A control whose window procedure is a hook already
  // keeps it; this one then stays idle.
  TControlSubClass(TMenuSkin* Skin, TControl* Control);
  ~TControlSubClass() override;

  TControl* Control() const { return Control_; }
  TMenuSkin* Skin() const { return Skin_; }
  bool Idle() const { return Idle_; }
  bool Hot() const { return Hot_; }
  bool Focused() const { return Focused_; }
  bool ButtonDown() const { return ButtonDown_; }
  bool SpaceDown() const { return SpaceDown_; }
  bool RecreatePending() const { return Recreating_; }
  win::UINT LastMessage() const { return LastMessage_; }

  void ControlSubClassWindowProc(TMessage& Message);
  // The flat look over the control, by its class.
  void RepaintControl();

  // The hook now in front of a control's window procedure, or nil.
  static TControlSubClass* HookOf(const TControl* Control);
  // A new hook owned by NewSkin takes this one's place in front of the
  // control, with its saved procedure, styles and state.
  TControlSubClass* HandOver(TMenuSkin* NewSkin);
  // Puts back the saved window procedure, Ctl3D and border style.
  void Restore();
  // Frees the hooks of Skin whose control the skin no longer selects.
  static void ReleaseUnselected(TMenuSkin* Skin);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TControlSubClass(TMenuSkin* Skin, TControl* Control, TControlSubClass* From);
  void RestoreProcedure();
  void RestoreStyles();
  bool IsOwnProcedure(const TWndMethod& Method) const;
  void PaintOn(win::HDC DC, bool PaintMessage);
  void PaintCombo(win::HDC DC, bool Lookup);
  void PaintEdit(win::HDC DC);
  void PaintCheckBox(win::HDC DC);
  void PaintRadioButton(win::HDC DC);
  void PaintButton(win::HDC DC, bool BitButton);
  void PaintUpDown(win::HDC DC);
  void PaintSpeedButton(win::HDC DC);
  void PaintPanel(win::HDC DC);
  void PaintGroupBox(win::HDC DC);
  void PaintListBorder();
  void PaintProgressBorder();
  TColor ParentBackground() const;

  TControl* Control_;
  TWndMethod OldWindowProc_;
  TMenuSkin* Skin_;
  bool Idle_ = false;
  // Saved when the hook is made: edits, list boxes, tree views and the
  // data-aware lookup combo.
  bool SavedCtl3D_ = true;
  Byte SavedBorderStyle_ = 0;
  bool SavesStyles_ = false;
  bool Hot_ = false;
  bool Focused_ = false;
  bool ButtonDown_ = false;
  bool SpaceDown_ = false;
  bool SpaceRepeat_ = false;
  bool Recreating_ = false;
  win::UINT LastMessage_ = 0;
  // Cleared when the hook is freed: a message handler may free it.
  std::shared_ptr<bool> Alive_ = std::make_shared<bool>(true);
  // The DC of the paint message being handled (graphic controls).
  win::HDC PaintDC_ = nullptr;
};
