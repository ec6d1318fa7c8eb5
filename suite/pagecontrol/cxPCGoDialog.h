// The go-to-tab menu of a tab control: every visible, enabled tab with its
// caption, in tab order or sorted as if the accelerator marks were absent;
// choosing an item hands the tab's index to the control.
#pragma once

#include <string>

#include "platform/forms/Menus.h"
#include "platform/rtl/Delegates.h"

class TcxCustomTabControl;

using TcxPCGoDialogTabChosenEvent = TDelegate<void(Integer ATabIndex)>;

class TcxPCGoDialog : public TPopupMenu {
  VXN_DECLARE_CLASS(TcxPCGoDialog)

 public:
  explicit TcxPCGoDialog(TcxCustomTabControl* AOwner);

  // Rebuilds the items from the tabs.
  void FillItems(bool Sort);
  // Fills the menu and pops it up below the go-to button's left edge.
  void PopupForTabs(bool Sort);

  TcxPCGoDialogTabChosenEvent OnTabChosen;

 private:
  void ItemClick(TObject* Sender);

  TcxCustomTabControl* FTabControl;
};

// The caption as a sort key: an ampersand goes and the character after it
// stays ("&&" leaves one, a trailing "&" goes).
std::string RemoveAccelerators(const std::string& Caption);
