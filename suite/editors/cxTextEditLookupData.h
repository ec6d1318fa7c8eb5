// The lookup data of a text editor: the list of its lookup items with the
// current item (the current key) and the item highlighted in an open
// drop-down list. It finds items for typed text, moves through the items by
// direction, and fills and places the drop-down list box. The editor talks
// to it through IcxTextEditLookupData alone.
#pragma once

#include <string>

#include "platform/rtl/OwnedObject.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/cxCustomEditListBox.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/foundation/cxClasses.h"

class TcxContainerStyle;

// Navigate's directions.
enum TcxLookupNavigation : Integer {
  lnFirst = 0,
  lnLast = 1,
  lnNext = 2,
  lnPrevious = 3,
  lnPageUp = 4,
  lnPageDown = 5
};

class IcxTextEditLookupData {
 public:
  virtual ~IcxTextEditLookupData() = default;
  // The size may be changed, the height within AMaxHeight; False when the
  // list cannot be shown.
  virtual bool AdjustListSize(TSize& Size, Integer AMaxHeight) = 0;
  virtual void ResetListHighlight() = 0;
  virtual void CloseUp() = 0;
  virtual void BeforeDropDown() = 0;
  virtual void TypedTextChanged(const std::string& Text) = 0;
  virtual bool ContainsText(const std::string& Text) = 0;
  virtual TWinControl* ListControl() = 0;
  virtual Variant CurrentKey() = 0;
  virtual std::string DisplayTextOfKey(const Variant& Key) = 0;
  virtual TNotifyEvent OnCurrentKeyChanged() = 0;
  virtual TNotifyEvent OnSelectItem() = 0;
  virtual TSize CalculateListSize() = 0;
  virtual void Navigate(Integer Direction, bool Wrap) = 0;
  virtual void InitializeList(TWinControl* Parent) = 0;
  virtual bool HasNoItems() = 0;
  virtual bool IsPointInList(TPoint ScreenPoint) = 0;
  virtual bool LocateText(std::string& Text, std::string& Tail, bool FromCurrent) = 0;
  virtual void PositionList(const TRect& Rect) = 0;
  virtual void ItemsChanged() = 0;
  virtual void CommitItemIndex() = 0;
  virtual void SetCurrentKeyValue(const Variant& Key) = 0;
  virtual void SetOnCurrentKeyChanged(TNotifyEvent Handler) = 0;
  virtual void SetOnSelectItem(TNotifyEvent Handler) = 0;
  virtual void SyncItemIndexWithText() = 0;
};

// What the lookup data ask of the text editor that owns them. The text
// editor implements it.
class IcxTextEditLookupDataOwner {
 public:
  virtual ~IcxTextEditLookupDataOwner() = default;
  // The editor's active properties.
  virtual TcxCustomTextEditProperties* LookupProperties() = 0;
  virtual std::string LookupOwnerText() = 0;
  // The editor's LookupChanging flag.
  virtual void SetLookupChanging(bool Value) = 0;
  // The editor's QueryEditing: whether its value may change now.
  virtual bool LookupQueryEditing() = 0;
  // Whether that query is running.
  virtual bool LookupQueryingEditing() = 0;
  virtual TcxContainerStyle* LookupActiveStyle() = 0;
};

class TcxCustomTextEditLookupData : public TcxInterfacedPersistent, public IcxTextEditLookupData {
  VXN_DECLARE_CLASS(TcxCustomTextEditLookupData)

 public:
  explicit TcxCustomTextEditLookupData(TPersistent* AOwner);
  ~TcxCustomTextEditLookupData() override;

  // Introduced here, in slot order.
  virtual void ItemText(Integer Index, std::string& Text);
  virtual Integer ItemCount();
  // The class of the drop-down list box (a TcxCustomEditListBox); nil here.
  virtual TClass ListBoxClass() { return nullptr; }
  virtual void ListItemIndexChanged(TObject* Sender);
  virtual bool LocateTypedText(std::string& Text, std::string& Tail, bool WholeText, bool FromCurrent);
  virtual void UpdateListItemCount();
  bool AdjustListSize(TSize& Size, Integer AMaxHeight) override {
    (void)Size;
    (void)AMaxHeight;
    return true;
  }
  void BeforeDropDown() override {}
  void TypedTextChanged(const std::string& Text) override { (void)Text; }
  bool ContainsText(const std::string& Text) override { return ItemIndexOfText(Text) != -1; }
  TSize CalculateListSize() override { return TSize{0, 0}; }
  void InitializeList(TWinControl* Parent) override;
  void PositionList(const TRect& Rect) override;
  void ItemsChanged() override { UpdateListItemCount(); }
  void SyncItemIndexWithText() override;

  // IcxTextEditLookupData
  void ResetListHighlight() override { SetItemIndex(FCurrentKey); }
  void CloseUp() override {}
  TWinControl* ListControl() override { return FList; }
  Variant CurrentKey() override { return Variant(FCurrentKey); }
  std::string DisplayTextOfKey(const Variant& Key) override;
  TNotifyEvent OnCurrentKeyChanged() override { return FOnCurrentKeyChanged; }
  TNotifyEvent OnSelectItem() override { return FOnSelectItem; }
  void Navigate(Integer Direction, bool Wrap) override;
  bool HasNoItems() override { return ItemCount() == 0; }
  bool IsPointInList(TPoint ScreenPoint) override;
  bool LocateText(std::string& Text, std::string& Tail, bool FromCurrent) override {
    return LocateTypedText(Text, Tail, false, FromCurrent);
  }
  void CommitItemIndex() override;
  void SetCurrentKeyValue(const Variant& Key) override;
  void SetOnCurrentKeyChanged(TNotifyEvent Handler) override { FOnCurrentKeyChanged = Handler; }
  void SetOnSelectItem(TNotifyEvent Handler) override { FOnSelectItem = Handler; }

  // The first item equal to Text ignoring case; -1 when none.
  Integer ItemIndexOfText(const std::string& Text);
  Integer CurrentKeyIndex() const { return FCurrentKey; }
  Integer ItemIndex() const { return FItemIndex; }
  void SetCurrentKey(Integer Index);
  void SetItemIndex(Integer Index);
  TcxCustomEditListBox* List() const { return FList; }
  IcxTextEditLookupDataOwner* Owner() const { return FOwner; }
  TcxCustomTextEditProperties* ActiveProperties() const;

 private:
  void NotFound(const std::string& Text, bool WholeText);
  void ListFreed(TObject* Sender);
  void SetListItemCount(Integer Count);
  void FireSelectItem();

  IcxTextEditLookupDataOwner* FOwner;  // the editor
  Integer FCurrentKey = -1;
  Integer FItemIndex = -1;
  TcxCustomEditListBox* FList = nullptr;  // owned by the window it is placed on
  OwnedObject<TcxFreeNotificator> FListNotificator;
  TNotifyEvent FOnCurrentKeyChanged;
  TNotifyEvent FOnSelectItem;
};

void RegisterTextEditLookupDataClasses();
