#include "suite/foundation/cxSettingsController.h"

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"

namespace {

class Listener : public TCustomControl {
 public:
  Listener() : TCustomControl(nullptr) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP;
    Params.WndParent = nullptr;
  }

 public:
  int told = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == MetricsChangedMessage) ++told;
    TCustomControl::WndProc(Message);
  }
};

TEST(cxSettingsController, NonClientMetricsReachEveryRegisteredControlOnce) {
  Listener a, b, unregistered;
  a.HandleNeeded();
  b.HandleNeeded();
  unregistered.HandleNeeded();
  SettingsController()->AddControl(&a);
  SettingsController()->AddControl(&b);
  SettingsController()->AddControl(&a);
  EXPECT_EQ(SettingsController()->ControlCount(), 2);
  ASSERT_NE(SettingsController()->Handle(), nullptr);
  win::SendMessage(SettingsController()->Handle(), win::WM_SETTINGCHANGE, win::SPI_SETNONCLIENTMETRICS, 0);
  win::SendMessage(SettingsController()->Handle(), win::WM_SETTINGCHANGE, win::SPI_SETWORKAREA, 0);
  Application->ProcessMessages();
  EXPECT_EQ(a.told, 1);
  EXPECT_EQ(b.told, 1);
  EXPECT_EQ(unregistered.told, 0);
  SettingsController()->RemoveControl(&a);
  SettingsController()->RemoveControl(&b);
  EXPECT_EQ(SettingsController()->Handle(), nullptr) << "the window goes with the last control";
}

}  // namespace
