#include "suite/pagecontrol/cxPCGoDialog.h"

#include <memory>

#include "platform/win/Windows.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCPainter.h"

VXN_IMPLEMENT_CLASS(TcxPCGoDialog, TPopupMenu)

std::string RemoveAccelerators(const std::string& Caption) {
  std::string key;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&') {
      if (++i < Caption.size()) key += Caption[i];
      continue;
    }
    key += Caption[i];
  }
  return key;
}

TcxPCGoDialog::TcxPCGoDialog(TcxCustomTabControl* AOwner) : TPopupMenu(AOwner), FTabControl(AOwner) {}

void TcxPCGoDialog::FillItems(bool Sort) {
  TStringList list;
  TcxTabs* tabs = FTabControl->Tabs();
  for (Integer v = 0; v < tabs->VisibleCount(); ++v) {
    TcxTab* tab = tabs->GetVisibleTab(v);
    if (tab->IsEnabledNow()) list.AddObject(RemoveAccelerators(tab->Caption()), tab);
  }
  if (Sort) list.Sort();
  Items()->Clear();
  for (Integer i = 0; i < list.Count(); ++i) {
    auto* tab = static_cast<TcxTab*>(list.Objects(i));
    auto* item = new TMenuItem(this);  // owned by the menu
    item->SetCaption(tab->Caption());
    item->Tag = tab->Index();
    item->OnClick = TNotifyEvent(this, &TcxPCGoDialog::ItemClick);
    Items()->Add(item);
  }
}

void TcxPCGoDialog::PopupForTabs(bool Sort) {
  FillItems(Sort);
  TRect button;
  FTabControl->Painter()->GoDialogButtonBounds(button);
  win::POINT at{button.Left, button.Bottom};
  win::ClientToScreen(FTabControl->WindowHandle(), &at);
  Popup(at.x, at.y);
}

void TcxPCGoDialog::ItemClick(TObject* Sender) {
  if (OnTabChosen) OnTabChosen(static_cast<TComponent*>(Sender)->Tag);
}
