// A top-level window without a frame for controls under test, at (50, 50)
// and 400 x 300 on the screen.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/win/Windows.h"

class TopLevelHost : public TCustomControl {
 public:
  TopLevelHost() : TCustomControl(nullptr) { SetBounds(50, 50, 400, 300); }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP | win::WS_VISIBLE | win::WS_CLIPCHILDREN;
    Params.WndParent = nullptr;
  }
};
