#include "suite/editors/cxTextEditLookupData.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/cxContainerStyles.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomTextEditLookupData, TcxInterfacedPersistent)

TcxCustomTextEditLookupData::TcxCustomTextEditLookupData(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner), FOwner(dynamic_cast<IcxTextEditLookupDataOwner*>(AOwner)) {
  FListNotificator.reset(new TcxFreeNotificator(nullptr));
  FListNotificator->OnFreeNotification = TNotifyEvent(this, &TcxCustomTextEditLookupData::ListFreed);
}

TcxCustomTextEditLookupData::~TcxCustomTextEditLookupData() {
  if (FList) FList->OnSelectionChanged = nullptr;
  FListNotificator->OnFreeNotification = nullptr;
}

void TcxCustomTextEditLookupData::ListFreed(TObject* Sender) {
  if (Sender == FList) FList = nullptr;
}

TcxCustomTextEditProperties* TcxCustomTextEditLookupData::ActiveProperties() const {
  return FOwner ? FOwner->LookupProperties() : nullptr;
}

// --- items --------------------------------------------------------------------------------

void TcxCustomTextEditLookupData::ItemText(Integer Index, std::string& Text) {
  Text = ActiveProperties()->LookupItems()->Strings(Index);
}

Integer TcxCustomTextEditLookupData::ItemCount() {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  return properties ? properties->LookupItems()->Count() : 0;
}

Integer TcxCustomTextEditLookupData::ItemIndexOfText(const std::string& Text) {
  const std::string upper = AnsiUpperCase(Text);
  std::string item;
  for (Integer i = 0; i < ItemCount(); ++i) {
    ItemText(i, item);
    if (AnsiUpperCase(item) == upper) return i;
  }
  return -1;
}

std::string TcxCustomTextEditLookupData::DisplayTextOfKey(const Variant& Key) {
  if (VarIsClear(Key)) return {};
  const Integer index = Key.AsInteger();
  if (index < 0 || index >= ItemCount()) return {};
  std::string text;
  ItemText(index, text);
  return text;
}

// --- current key and highlight -----------------------------------------------------------

void TcxCustomTextEditLookupData::SetCurrentKey(Integer Index) {
  if (Index < -1 || Index >= ItemCount()) return;
  FCurrentKey = Index;
  SetItemIndex(Index);
}

void TcxCustomTextEditLookupData::SetItemIndex(Integer Index) {
  if (Index < -1 || Index >= ItemCount() || (Index == FItemIndex && Index != -1)) return;
  if (FList && ItemCount() > 0) {
    // Scrolled to the top first, then nothing selected.
    if (Index == -1) FList->ChangeItemIndex(0);
    FList->ChangeItemIndex(Index);
  }
  FItemIndex = Index;
}

void TcxCustomTextEditLookupData::ListItemIndexChanged(TObject*) {
  if (FList) FItemIndex = FList->ItemIndex();
}

void TcxCustomTextEditLookupData::FireSelectItem() {
  if (FOnSelectItem) FOnSelectItem(this);
}

void TcxCustomTextEditLookupData::SetCurrentKeyValue(const Variant& Key) {
  const Integer old = FCurrentKey;
  const Integer key = VarIsClear(Key) ? -1 : Key.AsInteger();
  SetCurrentKey(key);
  if (FOwner) FOwner->SetLookupChanging(true);
  ScopeExit clear([this] {
    if (FOwner) FOwner->SetLookupChanging(false);
  });
  if (FCurrentKey != old) {
    FireSelectItem();
    return;
  }
  // The same item again: the editor hears of it when its text is not the
  // item's to the letter.
  if (key >= 0 && key < ItemCount() && FOwner) {
    std::string text;
    ItemText(key, text);
    if (FOwner->LookupOwnerText() != text) FireSelectItem();
  }
}

void TcxCustomTextEditLookupData::CommitItemIndex() {
  if (FItemIndex == -1) return;
  const Integer old = FCurrentKey;
  SetCurrentKeyValue(Variant(FItemIndex));
  // A pick always reaches the editor, even of the current item.
  if (FCurrentKey == old) FireSelectItem();
}

// --- searching ----------------------------------------------------------------------------------

void TcxCustomTextEditLookupData::NotFound(const std::string& Text, bool WholeText) {
  bool reset = true;
  switch (ActiveProperties()->EditingStyle()) {
    case esListText:
      reset = WholeText || (Text.empty() && ItemIndexOfText(std::string()) == -1);
      break;
    case esListPick:
      reset = WholeText;
      break;
    default:
      break;
  }
  if (reset) SetCurrentKey(-1);
}

bool TcxCustomTextEditLookupData::LocateTypedText(std::string& Text, std::string& Tail, bool WholeText,
                                                  bool FromCurrent) {
  if (ItemCount() == 0) {
    NotFound(Text, WholeText);
    return false;
  }
  if (WholeText && ActiveProperties()->MRULookup()) {
    const Integer i = ItemIndexOfText(Text);
    if (i == -1) {
      SetCurrentKey(-1);
      return false;
    }
    Tail.clear();
    SetCurrentKey(i);
    return true;
  }
  const size_t length = Utf8CharCount(Text);
  const std::string upper = AnsiUpperCase(Text);
  std::string item;
  for (Integer i = FromCurrent ? FItemIndex + 1 : 0; i < ItemCount() && !Text.empty(); ++i) {
    ItemText(i, item);
    const std::string prefix = Utf8Copy(item, 0, length);
    if (AnsiUpperCase(prefix) != upper) continue;
    Text = prefix;
    Tail = item.substr(prefix.size());
    SetCurrentKey(i);
    return true;
  }
  NotFound(Text, WholeText);
  return false;
}

void TcxCustomTextEditLookupData::SyncItemIndexWithText() {
  if (!FOwner || FOwner->LookupQueryingEditing()) return;
  const std::string text = FOwner->LookupOwnerText();
  if (FItemIndex < ItemCount() && AnsiUpperCase(DisplayTextOfKey(Variant(FItemIndex))) == AnsiUpperCase(text))
    return;
  std::string typed = text;
  std::string tail;
  LocateTypedText(typed, tail, true, false);
}

// --- navigation -----------------------------------------------------------------------------------

void TcxCustomTextEditLookupData::Navigate(Integer Direction, bool Wrap) {
  const Integer n = ItemCount();
  if (n == 0) return;
  const Integer base = FItemIndex != -1 ? FItemIndex : FCurrentKey;
  const Integer rows = ActiveProperties()->DropDownRowCount();
  Integer result = base;
  switch (Direction) {
    case lnFirst: result = 0; break;
    case lnLast: result = n - 1; break;
    case lnNext:
      if (base != n - 1)
        result = base + 1;
      else
        result = Wrap ? 0 : base;
      break;
    case lnPrevious:
      result = base - 1;
      if (result < 0) result = Wrap ? n - 1 : base;
      break;
    case lnPageUp:
      if (base != -1) {
        result = base - rows + 1;
        if (result < 0) result = Wrap && base == 0 ? n - 1 : 0;
      } else {
        result = Wrap ? n - 1 : -1;
      }
      break;
    case lnPageDown:
      result = base == -1 ? rows - 1 : base + rows - 1;
      if (result >= n) result = Wrap && base == n - 1 ? 0 : n - 1;
      break;
    default: return;
  }
  const bool listShown = FList && FList->IsVisible();
  if (!listShown || (ActiveProperties()->ImmediateUpdateText() && FOwner && FOwner->LookupQueryEditing()))
    SetCurrentKeyValue(Variant(result));
  else
    SetItemIndex(result);
}

// --- the list ------------------------------------------------------------------------------------

void TcxCustomTextEditLookupData::SetListItemCount(Integer Count) {
  TStrings* items = FList->Items();
  if (items->Count() == Count) return;
  items->BeginUpdate();
  ScopeExit end([items] { items->EndUpdate(); });
  while (items->Count() < Count) items->Add(std::string());
  while (items->Count() > Count) items->Delete(items->Count() - 1);
}

void TcxCustomTextEditLookupData::UpdateListItemCount() {
  if (FList) SetListItemCount(ItemCount());
}

void TcxCustomTextEditLookupData::InitializeList(TWinControl* Parent) {
  if (!FList && ListBoxClass()) {
    TObject* made = CreateInstance(ListBoxClass(), Parent);
    FList = dynamic_cast<TcxCustomEditListBox*>(made);
    if (!FList) {
      delete made;
      throw EClassNotFound(SClassNotFound, {std::string(ListBoxClass()->Name)});
    }
    FListNotificator->AddSender(FList);
  }
  if (!FList) return;
  if (TcxContainerStyle* style = FOwner ? FOwner->LookupActiveStyle() : nullptr) {
    FList->SetColor(style->Color());
    FList->Font()->Assign(style->Font());
    FList->Canvas()->Font()->Assign(style->Font());
  }
  FList->SetParent(Parent);
  FList->OnSelectionChanged = TNotifyEvent(this, &TcxCustomTextEditLookupData::ListItemIndexChanged);
  SetListItemCount(ItemCount());
  FList->SetItemIndex(FItemIndex);
  FList->ApplyListSettings();
  SyncItemIndexWithText();
}

void TcxCustomTextEditLookupData::PositionList(const TRect& Rect) {
  if (FList) FList->SetBounds(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
}

bool TcxCustomTextEditLookupData::IsPointInList(TPoint ScreenPoint) {
  if (!FList) return false;
  const TPoint p = FList->ScreenToClient(ScreenPoint);
  const TRect bounds = FList->BoundsRect();
  return p.X >= 0 && p.Y >= 0 && p.X < bounds.Right - bounds.Left && p.Y < bounds.Bottom - bounds.Top;
}

void RegisterTextEditLookupDataClasses() {
  RegisterClasses({TcxCustomTextEditLookupData::StaticClass()});
}
