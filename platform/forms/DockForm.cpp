#include "platform/forms/DockForm.h"

#include "platform/forms/Docking.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TCustomDockForm, TForm)

TCustomDockForm::TCustomDockForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeToolWin);
  SetFormStyle(fsStayOnTop);
  SetDockSite(true);
  DragKind = dkDock;
}

void TCustomDockForm::DoAddDockClient(TControl* Client, const TRect& ARect) {
  TForm::DoAddDockClient(Client, ARect);
  Client->SetAlign(alClient);
  SetCaption(Client->Caption());
}

void TCustomDockForm::DoRemoveDockClient(TControl* Client) {
  TForm::DoRemoveDockClient(Client);
  // Freed later: the client is still leaving when this runs.
  if (DockClientCount() == 0) Release();
}

void TCustomDockForm::CMDockNotification(TMessage& Message) {
  const auto* rec = reinterpret_cast<const TDockNotifyRec*>(Message.LParam);
  if (rec->ClientMsg == win::WM_SETTEXT)
    SetCaption(rec->MsgLParam ? reinterpret_cast<const char*>(rec->MsgLParam) : "");
  else if (rec->ClientMsg == CM_VISIBLECHANGED)
    rec->MsgWParam ? Show() : Hide();
  TForm::CMDockNotification(Message);
}
