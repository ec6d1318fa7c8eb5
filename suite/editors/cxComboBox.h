// The combo box: a drop-down edit whose popup is an owner-drawn list of its
// items. The list style decides how the text may change: free text
// completed from the items, free typing that must end on an item, or a fixed
// list where keys and clicks only choose items. The list sizes itself to its
// rows and widest item, a sizeable list snaps to whole items, a press on the
// edit dragged into the open list selects there, and a double click may step
// to the next item.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/ListCtrls.h"
#include "suite/editors/cxCustomEditListBox.h"
#include "suite/editors/cxCustomEditPopupWindow.h"
#include "suite/editors/cxDropDownEdit.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxTextEditLookupData.h"
#include "suite/editors/cxTextEditViewInfo.h"

class TcxCustomComboBox;

VXN_ENUM(TcxEditDropDownListStyle, lsEditFixedList, lsEditList, lsFixedList)

using TcxEditDrawItemEvent = TDelegate<void(TcxCustomComboBox* AControl, TcxCanvas* ACanvas, Integer AIndex,
                                            const TRect& ARect, TOwnerDrawState AState)>;
using TcxComboBoxMeasureItemEvent =
    TDelegate<void(TcxCustomComboBox* AControl, Integer AIndex, TcxCanvas* ACanvas, Integer& AHeight)>;

class TcxCustomComboBoxProperties : public TcxCustomDropDownEditProperties {
  VXN_DECLARE_CLASS(TcxCustomComboBoxProperties)

 public:
  explicit TcxCustomComboBoxProperties(TPersistent* AOwner);

  void Assign(TPersistent* Source) override;
  TClass EditClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  TClass LookupDataClass() override;
  TcxEditPopupWindowClass PopupWindowClass() override;
  Integer DropDownRowCount() override { return FDropDownRows; }
  TcxEditingStyle EditingStyle() override;
  bool HasLookupData() override { return true; }
  bool ClickOpensPopup() override { return FDropDownListStyle == lsFixedList; }

  TcxEditDropDownListStyle DropDownListStyle() const { return FDropDownListStyle; }
  void SetDropDownListStyle(TcxEditDropDownListStyle Value);
  Integer DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(Integer Value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer Value);
  TStrings* Items() const { return LookupItems(); }
  void SetItems(TStrings* Value) { SetLookupItems(Value); }
  bool Sorted() const { return LookupItemsSorted(); }
  void SetSorted(bool Value) { SetLookupItemsSorted(Value); }
  bool Revertable() const { return FRevertable; }
  void SetRevertable(bool Value) { FRevertable = Value; }
  bool DropDownAutoWidth() const { return PopupAutoSize(); }
  void SetDropDownAutoWidth(bool Value) { SetPopupAutoSize(Value); }
  bool DropDownSizeable() const { return PopupSizeable(); }
  void SetDropDownSizeable(bool Value) { SetPopupSizeable(Value); }
  Integer DropDownWidth() const { return PopupWidth(); }
  void SetDropDownWidth(Integer Value) { SetPopupWidth(Value); }

  TcxEditDrawItemEvent OnDrawItem;
  TcxComboBoxMeasureItemEvent OnMeasureItem;

 private:
  TcxEditDropDownListStyle FDropDownListStyle = lsEditList;
  Integer FDropDownRows = 8;
  Integer FItemHeight = 0;
  bool FRevertable = false;
};

class TcxComboBoxProperties : public TcxCustomComboBoxProperties {
  VXN_DECLARE_CLASS(TcxComboBoxProperties)

 public:
  using TcxCustomComboBoxProperties::TcxCustomComboBoxProperties;
};

// A fixed list with a custom draw handler shows its current item through the
// handler.
class TcxCustomComboBoxViewData : public TcxCustomDropDownEditViewData {
  VXN_DECLARE_CLASS(TcxCustomComboBoxViewData)

 public:
  bool IsComboLike() override { return true; }
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                     TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue, TcxCustomEditViewInfo* AViewInfo) override;
};

class TcxCustomComboBoxViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxCustomComboBoxViewInfo)

 public:
  TcxCustomComboBoxViewInfo();

  // The text area's drawing: the item through the draw handler when the
  // view is custom-drawn, else the plain text.
  void DrawItemText(TcxCustomTextEditViewInfo* Sender, TcxCanvas* ACanvas, const TRect& R);

  Integer ItemIndex = -1;
  bool CustomDrawn = false;
  // Nil when painting without an editor, with the properties alone.
  TcxCustomComboBox* ComboEdit = nullptr;
  TcxCustomComboBoxProperties* ComboProperties = nullptr;
};

class TcxCustomComboBoxInnerEdit : public TcxCustomDropDownInnerEdit {
  VXN_DECLARE_CLASS(TcxCustomComboBoxInnerEdit)

 public:
  using TcxCustomDropDownInnerEdit::TcxCustomDropDownInnerEdit;

 protected:
  void WndProc(TMessage& Message) override;
};

// The popup's list: owner-drawn, rows as high as the settings or the
// handler say.
class TcxCustomComboBoxListBox : public TcxCustomEditListBox {
  VXN_DECLARE_CLASS(TcxCustomComboBoxListBox)

 public:
  explicit TcxCustomComboBoxListBox(TComponent* AOwner);

  bool OwnerDrawsItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  std::string ItemText(Integer Index) override;
  void ApplyListSettings() override;
  Integer HeightForItemCount(Integer Count) override;

  TcxCustomComboBox* Edit();

 protected:
  void MeasureItem(Integer Index, Integer& Height) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void WndProc(TMessage& Message) override;
};

class TcxComboBoxListBox : public TcxCustomComboBoxListBox {
  VXN_DECLARE_CLASS(TcxComboBoxListBox)

 public:
  using TcxCustomComboBoxListBox::TcxCustomComboBoxListBox;

  Integer ItemHeightOf(Integer Index) override;
  void ApplyListSettings() override;
  void ChangeItemIndex(Integer Value) override;

 protected:
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Resize() override;
};

class TcxComboBoxLookupData : public TcxCustomTextEditLookupData {
  VXN_DECLARE_CLASS(TcxComboBoxLookupData)

 public:
  using TcxCustomTextEditLookupData::TcxCustomTextEditLookupData;

  TClass ListBoxClass() override;
  void InitializeList(TWinControl* Parent) override;
  bool AdjustListSize(TSize& Size, Integer AMaxHeight) override;
  // The list's size for the rows shown; AAvailableWidth decides whether a
  // horizontal scroll bar is needed.
  virtual TSize CalculateListSize(Integer AAvailableHeight, Integer AAvailableWidth);
  using TcxCustomTextEditLookupData::CalculateListSize;

  TcxComboBoxListBox* ComboList() const;
};

class TcxComboBoxPopupWindow : public TcxCustomEditPopupWindow {
  VXN_DECLARE_CLASS(TcxComboBoxPopupWindow)

 public:
  using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;

  void FitToChildren() override;
};

// The classes of a combo box kind whose settings are APropertiesClass.
TcxCustomEditKind ComboBoxKind(TcxCustomEditPropertiesClass APropertiesClass);

class TcxCustomComboBox : public TcxCustomDropDownEdit {
  VXN_DECLARE_CLASS(TcxCustomComboBox)

 public:
  explicit TcxCustomComboBox(TComponent* AOwner, bool AIsInplace = false);

  TcxCustomComboBoxProperties* ActiveComboProperties() {
    return static_cast<TcxCustomComboBoxProperties*>(ActiveProperties());
  }
  TcxComboBoxLookupData* ComboLookupData() const { return static_cast<TcxComboBoxLookupData*>(LookupData()); }

  void ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  bool CanOpenPopup() override;
  void InnerEditChanged(TObject* Sender) override;
  TSize PopupContentSize() override;
  void ApplyPopupSettings() override;

  // Forgets the popup height (the in-place saved one when sizeable).
  void ResetPopupHeight();
  void FireDrawItem(TcxCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
  void FireMeasureItem(Integer AIndex, TcxCanvas* ACanvas, Integer& AHeight);
  bool HasCustomDrawItem();
  bool HasCustomItemHeight();

  Integer GetItemIndex() { return ItemIndex(); }

 protected:
  TcxCustomComboBox(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  void DblClick() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void PopupWindowShown(TObject* Sender) override;
  void WndProc(TMessage& Message) override;

};

class TcxComboBox : public TcxCustomComboBox {
  VXN_DECLARE_CLASS(TcxComboBox)

 public:
  explicit TcxComboBox(TComponent* AOwner, bool AIsInplace = false);

  TcxComboBoxProperties* ComboProperties() const { return static_cast<TcxComboBoxProperties*>(Properties()); }
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
};

class TcxEditRepositoryComboBoxItem : public TcxEditRepositoryItemOf<TcxComboBoxProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryComboBoxItem)

 public:
  explicit TcxEditRepositoryComboBoxItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

void RegisterComboBoxClasses();
