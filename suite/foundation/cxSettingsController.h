// Relays a change of the system's non-client metrics (title-bar and
// scroll-bar sizes) to every registered suite control.
#pragma once

#include <vector>

#include "platform/forms/Controls.h"

// The private message a control gets when the metrics changed.
inline constexpr win::UINT MetricsChangedMessage = 0x8131;

class TcxSettingsController : public TObject {
  VXN_DECLARE_CLASS(TcxSettingsController)

 public:
  ~TcxSettingsController() override;
  void AddControl(TWinControl* AControl);
  void RemoveControl(TWinControl* AControl);
  // Null while no control is registered.
  win::HWND Handle() const { return FWindow; }
  Integer ControlCount() const { return static_cast<Integer>(FList.size()); }

 protected:
  virtual void MainWndProc(TMessage& Message);

 private:
  std::vector<TWinControl*> FList;
  win::HWND FWindow = nullptr;
};

TcxSettingsController* SettingsController();
