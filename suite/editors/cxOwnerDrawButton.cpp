#include "suite/editors/cxOwnerDrawButton.h"

#include "platform/forms/Menus.h"
#include "suite/foundation/cxControlRoutines.h"

void MeasureItemAsControl(TControl* AControl, TMessage& Message) {
  auto* item = reinterpret_cast<win::MEASUREITEMSTRUCT*>(Message.LParam);
  item->itemWidth = static_cast<win::UINT>(AControl->Width());
  item->itemHeight = static_cast<win::UINT>(AControl->Height());
}

void SetContextPopupMenu(TComponent* AOwner, TComponent*& AField, TComponent* AValue) {
  if (AValue && !dynamic_cast<TPopupMenu*>(AValue) && !dynamic_cast<IcxPopupMenuComponent*>(AValue))
    AValue = nullptr;
  if (AValue == AField) return;
  if (AField) AField->RemoveFreeNotification(AOwner);
  AField = AValue;
  if (AField) AField->FreeNotification(AOwner);
}

TPoint ContextMenuScreenPoint(TControl* AControl, const TPoint& AMousePos) {
  const bool keyboard = AMousePos.X == -1 && AMousePos.Y == -1;
  return AControl->ClientToScreen(keyboard ? TPoint{0, 0} : AMousePos);
}
