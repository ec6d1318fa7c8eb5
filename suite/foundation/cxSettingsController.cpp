#include "suite/foundation/cxSettingsController.h"

#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxSettingsController, TObject)

TcxSettingsController* SettingsController() {
  static auto* controller = new TcxSettingsController;  // its window outlives the display
  return controller;
}

TcxSettingsController::~TcxSettingsController() {
  if (FWindow) DeallocateHWnd(FWindow);
}

void TcxSettingsController::AddControl(TWinControl* AControl) {
  if (std::find(FList.begin(), FList.end(), AControl) != FList.end()) return;
  FList.push_back(AControl);
  if (!FWindow) FWindow = AllocateHWnd(TWndMethod(this, &TcxSettingsController::MainWndProc));
}

void TcxSettingsController::RemoveControl(TWinControl* AControl) {
  FList.erase(std::remove(FList.begin(), FList.end(), AControl), FList.end());
  if (FList.empty() && FWindow) {
    DeallocateHWnd(FWindow);
    FWindow = nullptr;
  }
}

void TcxSettingsController::MainWndProc(TMessage& Message) {
  try {
    if (Message.Msg == WM_SETTINGCHANGE && Message.WParam == SPI_SETNONCLIENTMETRICS) {
      for (TWinControl* c : std::vector<TWinControl*>(FList))
        if (c->HandleAllocated()) SendNotifyMessage(c->Handle(), MetricsChangedMessage, 0, 0);
      Message.Result = 0;
      return;
    }
    Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
  } catch (...) {
    Application->HandleException(this);
  }
}
