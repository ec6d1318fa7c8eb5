// The small tool window a control floats in once it is undocked: a dock
// site of its own that follows its client's caption and visibility and goes
// away when the client leaves.
#pragma once

#include "platform/forms/CustomForms.h"

class TCustomDockForm : public TForm {
  VXN_DECLARE_CLASS(TCustomDockForm)

 public:
  explicit TCustomDockForm(TComponent* AOwner);

 protected:
  void DoAddDockClient(TControl* Client, const TRect& ARect) override;
  void DoRemoveDockClient(TControl* Client) override;
  void CMDockNotification(TMessage& Message) override;
};
