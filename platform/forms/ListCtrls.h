// Lists: TListBox over the LISTBOX window class, and TComboBox, whose edit
// (an EDIT window) and drop-down list (a LISTBOX in a popup window) are real
// windows that callers may subclass through EditHandle and ListHandle.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/StaticCtrls.h"

VXN_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
         odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

VXN_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
VXN_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)

class TWinControl;
using TDrawItemEvent = TDelegate<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TDelegate<void(TWinControl* Control, Integer Index, Integer& Height)>;

// The items of a list control: kept here always, and mirrored into the
// control's window while it has one (the window decides the sorted place).
class TListControlItems : public TStrings {
  VXN_DECLARE_CLASS(TListControlItems)

 public:
  // How the owning control reaches its window; nullptr while it has none.
  struct TTarget {
    virtual ~TTarget() = default;
    // The LISTBOX window holding the items.
    virtual win::HWND ItemsWindow() = 0;
    virtual bool ItemsSorted() const = 0;
    // After the change, so the owner can keep its selection in step.
    virtual void ItemInserted(Integer Index) = 0;
    virtual void ItemDeleted(Integer Index) = 0;
    virtual void ItemsCleared() = 0;
  };
  explicit TListControlItems(TTarget* Target) : Target_(Target) {}

  Integer GetCount() const override { return static_cast<Integer>(Items_.size()); }
  std::string Get(Integer Index) const override;
  void Put(Integer Index, const std::string& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  Integer Add(const std::string& S) override;
  void Insert(Integer Index, const std::string& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  Integer IndexOf(const std::string& S) const override;
  // Fills a new window with the kept items.
  void LoadWindow(win::HWND Wnd) const;
  // Sorts the kept items as the window sorts them (Sorted turned on).
  void SortAsWindow();

 private:
  struct Entry {
    std::string Text;
    TObject* Object = nullptr;
  };
  Integer InsertItem(Integer Index, const std::string& S, TObject* AObject);
  std::vector<Entry> Items_;
  TTarget* Target_;
};

class TCustomListBox : public TWinControl, private TListControlItems::TTarget {
  VXN_DECLARE_CLASS(TCustomListBox)

 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const { return Items_.get(); }
  void SetItems(TStrings* Value) { Items_->Assign(Value); }
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  bool MultiSelect() const { return MultiSelect_; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return ExtendedSelect_; }
  void SetExtendedSelect(bool Value);
  bool Selected(Integer Index);
  void SetSelected(Integer Index, bool Value);
  Integer SelCount();
  bool Sorted() const { return Sorted_; }
  void SetSorted(bool Value);
  Integer TopIndex();
  void SetTopIndex(Integer Value);
  Integer ItemHeight();
  void SetItemHeight(Integer Value);
  TListBoxStyle Style() const { return Style_; }
  void SetStyle(TListBoxStyle Value);
  bool IntegralHeight() const { return IntegralHeight_; }
  void SetIntegralHeight(bool Value);
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  TCanvas* Canvas() const { return Canvas_.get(); }
  Integer ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(Integer Index);
  void Clear() { Items_->Clear(); }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  bool PaintsItself() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);

 private:
  win::HWND ItemsWindow() override { return HandleAllocated() ? Handle() : nullptr; }
  bool ItemsSorted() const override { return Sorted_; }
  void ItemInserted(Integer Index) override;
  void ItemDeleted(Integer Index) override;
  void ItemsCleared() override;
  void SnapHeight(Integer& AHeight);

  std::unique_ptr<TListControlItems> Items_;
  std::unique_ptr<TCanvas> Canvas_;
  std::unique_ptr<TBrush> Brush_;
  bool MultiSelect_ = false;
  bool ExtendedSelect_ = true;
  bool Sorted_ = false;
  bool IntegralHeight_ = false;
  TListBoxStyle Style_ = lbStandard;
  TBorderStyle BorderStyle_ = bsSingle;
  Integer ItemHeight_ = 16;
  // What a window being destroyed leaves for the next one.
  Integer SavedIndex_ = -1;
  Integer SavedTop_ = 0;
  std::vector<bool> SavedSelected_;
};

class TListBox : public TCustomListBox {
  VXN_DECLARE_CLASS(TListBox)

 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// The base class of combo boxes (an edit with a drop-down list).
class TCustomCombo : public TWinControl {
  VXN_DECLARE_CLASS(TCustomCombo)

 public:
  explicit TCustomCombo(TComponent* AOwner) : TWinControl(AOwner) {}
};

class TCustomComboBox : public TCustomCombo, private TListControlItems::TTarget {
  VXN_DECLARE_CLASS(TCustomComboBox)

 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return Items_.get(); }
  void SetItems(TStrings* Value) { Items_->Assign(Value); }
  Integer ItemIndex() const { return ItemIndex_; }
  void SetItemIndex(Integer Value);
  TComboBoxStyle Style() const { return Style_; }
  void SetStyle(TComboBoxStyle Value);
  Integer DropDownCount() const { return DropDownCount_; }
  void SetDropDownCount(Integer Value) { DropDownCount_ = Value < 1 ? 1 : Value; }
  bool DroppedDown() const { return DroppedDown_; }
  void SetDroppedDown(bool Value);
  bool Sorted() const { return Sorted_; }
  void SetSorted(bool Value);
  Integer ItemHeight() const { return ItemHeight_; }
  void SetItemHeight(Integer Value);
  Integer MaxLength() const { return MaxLength_; }
  void SetMaxLength(Integer Value);
  TCanvas* Canvas() const { return Canvas_.get(); }
  // The edit window of csDropDown / csSimple (nullptr otherwise) and the
  // list window; both made with the control's window.
  win::HWND EditHandle() { return HandleAllocated() ? EditHandle_ : nullptr; }
  win::HWND ListHandle() { return HandleAllocated() ? ListHandle_ : nullptr; }
  std::string GetText() const override;
  void SetText(const std::string& Value) override;
  bool Focused() override;
  void Clear();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void PaintWindow(win::HDC DC) override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();

 private:
  friend struct TComboBoxAccess;
  win::HWND ItemsWindow() override { return HandleAllocated() ? ListHandle_ : nullptr; }
  bool ItemsSorted() const override { return Sorted_; }
  void ItemInserted(Integer Index) override;
  void ItemDeleted(Integer Index) override;
  void ItemsCleared() override;
  bool HasEdit() const { return Style_ == csDropDown || Style_ == csSimple; }
  bool OwnerDraw() const { return Style_ == csOwnerDrawFixed || Style_ == csOwnerDrawVariable; }
  // A key of the combo's own (from the control or its edit); true if used.
  bool ComboKey(win::UINT Key, bool Alt);
  // Moves the selection by the keyboard or the list and tells the program.
  void SelectIndex(Integer Index, bool Notify);
  void CloseList(bool Accept);
  void ShowEditText(const std::string& S);
  TRect ButtonRect() const;
  static win::LRESULT EditProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
  static win::LRESULT ListProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
  static win::LRESULT SinkProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

  std::unique_ptr<TListControlItems> Items_;
  std::unique_ptr<TCanvas> Canvas_;
  std::unique_ptr<TBrush> Brush_;
  win::HWND EditHandle_ = nullptr;
  win::HWND ListHandle_ = nullptr;
  // The list's owner: a popup's notices go to its top-level owner, and this
  // hidden one hands them to the combo.
  win::HWND SinkHandle_ = nullptr;
  win::WNDPROC DefEditProc_ = nullptr;
  win::WNDPROC DefListProc_ = nullptr;
  TComboBoxStyle Style_ = csDropDown;
  Integer ItemIndex_ = -1;
  Integer IndexBeforeDrop_ = -1;
  Integer DropDownCount_ = 8;
  Integer ItemHeight_ = 16;
  Integer MaxLength_ = 0;
  bool Sorted_ = false;
  bool DroppedDown_ = false;
  bool SettingEditText_ = false;
  std::string Text_;
};

class TComboBox : public TCustomComboBox {
  VXN_DECLARE_CLASS(TComboBox)

 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterListCtrlsClasses();
