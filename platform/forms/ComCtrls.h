// The common controls: the tree view with its nodes, the status bar and the
// tool bar. They draw themselves; the tree also answers the TVM_* messages
// and sends the TVN_* notifications that code talking to a tree window uses.
#pragma once

#include <memory>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/TreeViewMessages.h"
#include "platform/rtl/OwnedObject.h"

VXN_ENUM(TCustomDrawStage, cdPrePaint, cdPostPaint, cdPreErase, cdPostErase)
VXN_ENUM(TCustomDrawStateItem, cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault,
         cdsHot, cdsMarked, cdsIndeterminate)
using TCustomDrawState = TSet<TCustomDrawStateItem>;

// ---------------------------------------------------------------------------
// Tree view.

VXN_ENUM(TSortType, stNone, stData, stText, stBoth)
VXN_ENUM(TMultiSelectStyleItem, msControlSelect, msShiftSelect, msVisibleOnly, msSiblingOnly)
using TMultiSelectStyle = TSet<TMultiSelectStyleItem>;
VXN_ENUM(THitTest, htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
         htOnStateIcon, htToLeft, htToRight)
using THitTests = TSet<THitTest>;

class TTreeNodes;
class TTreeView;

class TTreeNode : public TPersistent {
  VXN_DECLARE_CLASS(TTreeNode)

 public:
  // OnCreateNodeClass may name a descendant; it is made through this owner.
  using TOwnerClass = TTreeNodes;
  explicit TTreeNode(TTreeNodes* AOwner);
  ~TTreeNode() override;

  TTreeNodes* Owner() const { return Owner_; }
  TTreeView* TreeView() const;
  win::HTREEITEM ItemId() const { return reinterpret_cast<win::HTREEITEM>(const_cast<TTreeNode*>(this)); }

  const std::string& Text() const { return Text_; }
  void SetText(const std::string& Value);
  Integer ImageIndex() const { return ImageIndex_; }
  void SetImageIndex(Integer Value);
  Integer SelectedIndex() const { return SelectedIndex_; }
  void SetSelectedIndex(Integer Value);
  Integer StateIndex() const { return StateIndex_; }
  void SetStateIndex(Integer Value);
  Integer OverlayIndex() const { return OverlayIndex_; }
  void SetOverlayIndex(Integer Value);
  void* Data() const { return Data_; }
  void SetData(void* Value);

  TTreeNode* Parent() const { return Parent_; }
  Integer Level() const;
  // The position among the parent's children (or among the roots).
  Integer Index() const;
  Integer AbsoluteIndex() const;
  Integer Count() const { return static_cast<Integer>(Children_.size()); }
  TTreeNode* Item(Integer Index) const;
  bool HasChildren() const { return !Children_.empty(); }
  TTreeNode* GetFirstChild() const { return Children_.empty() ? nullptr : Children_.front().get(); }
  TTreeNode* GetLastChild() const { return Children_.empty() ? nullptr : Children_.back().get(); }
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  // Depth-first order over the whole tree.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  bool IsVisible() const;
  bool HasAsParent(TTreeNode* Value) const;

  bool Expanded() const { return Expanded_; }
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const { return Selected_; }
  void SetSelected(bool Value);
  bool Focused() const;
  void MakeVisible();
  // The node's row in client coordinates; TextOnly gives the label alone.
  TRect DisplayRect(bool TextOnly) const;

  // Starts editing the label in place; false when the tree refuses
  // (ReadOnly, OnEditing, TVN_BEGINLABELEDITA) or the node is not shown.
  bool EditText();

  void Delete();
  void DeleteChildren();
  // Moves the node to be the last child of Destination (nil: a root).
  void MoveTo(TTreeNode* Destination);
  void AlphaSort(bool Recurse = false);
  void Assign(TPersistent* Source) override;

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;
  void Changed();

  TTreeNodes* Owner_;
  TTreeNode* Parent_ = nullptr;
  std::vector<std::unique_ptr<TTreeNode>> Children_;
  std::string Text_;
  Integer ImageIndex_ = 0;
  Integer SelectedIndex_ = 0;
  Integer StateIndex_ = -1;
  Integer OverlayIndex_ = -1;
  void* Data_ = nullptr;
  bool Expanded_ = false;
  bool Selected_ = false;
  bool Deleting_ = false;
  bool Bold_ = false;
};

class TTreeNodes : public TPersistent {
  VXN_DECLARE_CLASS(TTreeNodes)

 public:
  explicit TTreeNodes(TTreeView* AOwner);
  ~TTreeNodes() override;

  TTreeView* Owner() const { return Owner_; }
  // All nodes of the tree.
  Integer Count() const;
  // By absolute index (depth-first order); EListError when out of range.
  TTreeNode* Item(Integer Index) const;
  TTreeNode* GetFirstNode() const { return Roots_.empty() ? nullptr : Roots_.front().get(); }
  TTreeNode* GetNodeFromIndex(Integer Index) const { return Item(Index); }

  // A new last sibling of Sibling (a root when Sibling is nil).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
  // A new node just before Sibling (the last root when Sibling is nil).
  TTreeNode* Insert(TTreeNode* Sibling, const std::string& S);
  TTreeNode* InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
  void Delete(TTreeNode* Node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  void Assign(TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  friend class TTreeNode;
  friend class TTreeView;
  // New nodes go through the tree's TVM_INSERTITEMA once it has a window,
  // so that code watching its messages sees them.
  TTreeNode* InsertAt(TTreeNode* Parent, size_t Position, const std::string& S, void* Ptr);
  TTreeNode* InsertNode(TTreeNode* Parent, size_t Position, const std::string& S, void* Ptr);
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);

  TTreeView* Owner_;
  std::vector<std::unique_ptr<TTreeNode>> Roots_;
  Integer UpdateCount_ = 0;
};

using TTVChangedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node)>;
using TTVCompareEvent = TDelegate<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, Integer Data,
                                       Integer& Compare)>;
using TTVCustomDrawEvent = TDelegate<void(TObject* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    TDelegate<void(TObject* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawEvent =
    TDelegate<void(TObject* Sender, const TRect& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, TCustomDrawState State,
                                                      TCustomDrawStage Stage, bool& PaintImages, bool& DefaultDraw)>;
using TTVEditingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCreateNodeClassEvent = TDelegate<void(TObject* Sender, TClass& NodeClass)>;

class TTreeLabelEdit;
class TTreeTip;

// The base class of tree views; TTreeView holds the nodes and draws them.
class TCustomTreeView : public TCustomControl {
  VXN_DECLARE_CLASS(TCustomTreeView)

 public:
  explicit TCustomTreeView(TComponent* AOwner) : TCustomControl(AOwner) {}
};

class TTreeView : public TCustomTreeView {
  VXN_DECLARE_CLASS(TTreeView)

 public:
  explicit TTreeView(TComponent* AOwner);
  ~TTreeView() override;

  TTreeNodes* Items() const { return Items_.get(); }
  void SetItems(TTreeNodes* Value) { Items_->Assign(Value); }

  bool AutoExpand() const { return AutoExpand_; }
  void SetAutoExpand(bool Value) { AutoExpand_ = Value; }
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool HideSelection() const { return HideSelection_; }
  void SetHideSelection(bool Value);
  bool HotTrack() const { return HotTrack_; }
  void SetHotTrack(bool Value);
  Integer Indent() const { return Indent_; }
  void SetIndent(Integer Value);
  bool MultiSelect() const { return MultiSelect_; }
  void SetMultiSelect(bool Value);
  TMultiSelectStyle MultiSelectStyle() const { return MultiSelectStyle_; }
  void SetMultiSelectStyle(TMultiSelectStyle Value) { MultiSelectStyle_ = Value; }
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool Value);
  bool RightClickSelect() const { return RightClickSelect_; }
  void SetRightClickSelect(bool Value) { RightClickSelect_ = Value; }
  bool RowSelect() const { return RowSelect_; }
  void SetRowSelect(bool Value);
  bool ShowButtons() const { return ShowButtons_; }
  void SetShowButtons(bool Value);
  bool ShowLines() const { return ShowLines_; }
  void SetShowLines(bool Value);
  bool ShowRoot() const { return ShowRoot_; }
  void SetShowRoot(bool Value);
  TSortType SortType() const { return SortType_; }
  void SetSortType(TSortType Value);
  // A label cut off by the window's edge shows whole in a tip while the
  // mouse rests on it.
  bool ToolTips() const { return ToolTips_; }
  void SetToolTips(bool Value);
  // Milliseconds between a selection change and OnChange (0: at once).
  Integer ChangeDelay() const { return ChangeDelay_; }
  void SetChangeDelay(Integer Value) { ChangeDelay_ = std::max<Integer>(Value, 0); }
  TCustomImageList* Images() const { return Images_; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return StateImages_; }
  void SetStateImages(TCustomImageList* Value);

  TTreeNode* Selected() const { return Selected_; }
  void SetSelected(TTreeNode* Value);
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* Value);
  Integer SelectionCount() const { return static_cast<Integer>(Selections_.size()); }
  TTreeNode* Selections(Integer Index) const;
  // Selects Node with the mouse or keyboard's Shift and Ctrl rules.
  void Select(TTreeNode* Node, TShiftState ShiftState = {});
  // The given nodes become the selection, as if Ctrl-clicked in turn: the
  // last is the selected node. Without MultiSelect only the last is.
  void Select(std::span<TTreeNode* const> Nodes);
  // The same for a list of nodes.
  void Select(TList* Nodes);
  // Takes Node out of the selection; when it was the selected node, the
  // most recently added of the others takes its place.
  void Deselect(TTreeNode* Node);
  // Adds Node to the selection without moving the focus.
  void Subselect(TTreeNode* Node, bool Validate = false);
  void ClearSelection(bool KeepPrimary = false);
  // The node that should become selected when the selected ones go.
  TTreeNode* FindNextToSelect() const;

  TTreeNode* GetNodeAt(Integer X, Integer Y) const;
  THitTests GetHitTestInfoAt(Integer X, Integer Y) const;
  void FullExpand();
  void FullCollapse();
  bool AlphaSort(bool ARecurse = true);
  Integer ItemHeight() const;
  bool IsEditing() const { return EditNode_ != nullptr; }
  // Ends an edit in place: Cancel keeps the node's text.
  void EndEditing(bool Cancel);
  // What the tree window itself answers (TVM_*, scrolling) is answered
  // here too, for code that passes a message on to the default handling.
  void DefaultHandler(TMessage& Message) override;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnExpanded;
  TTVExpandedEvent OnCollapsed;
  TTVExpandedEvent OnDeletion;
  TTVExpandedEvent OnAddition;
  TTVCompareEvent OnCompare;
  TTVCustomDrawEvent OnCustomDraw;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
  // Asked before a node is drawn; the handler sets Node's ImageIndex or
  // SelectedIndex.
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnCancelEdit;
  TTVCreateNodeClassEvent OnCreateNodeClass;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;
  void WMRButtonDown(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  // Told once a node has opened (closed): fire OnExpanded (OnCollapsed).
  virtual void Expand(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, std::string& S);

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  friend class TTreeLabelEdit;
  friend class TTreeTip;
  struct Row {
    TTreeNode* Node;
    Integer Level;
  };
  std::vector<Row> VisibleRows() const;
  Integer RowOf(const TTreeNode* Node) const;
  Integer ContentLeft(Integer Level) const;
  // Where the label starts: after the state image and the image.
  Integer LabelLeft(Integer Level, const TTreeNode* Node) const;
  Integer LabelWidth(const TTreeNode* Node) const;
  Integer TextWidth(const std::string& Text, bool Bold) const;
  TSize TextSize(const std::string& Text, bool Bold) const;
  win::UINT HitTest(Integer X, Integer Y, TTreeNode** Node) const;
  void NodeDeleting(TTreeNode* Node);
  void NodesChanged();
  void SortChildren(std::vector<std::unique_ptr<TTreeNode>>& List, bool Recurse, bool UseCompare);
  bool ExpandNode(TTreeNode* Node, bool Open);
  void SetFocusNode(TTreeNode* Node, TShiftState ShiftState);
  void UpdateScrollBars();
  void ScrollTo(Integer TopRow, Integer Left);
  void SendNotify(win::UINT Code, TTreeNode* Old, TTreeNode* New, win::UINT Action = 0);
  win::LRESULT TreeMessage(TMessage& Message, bool& Handled);
  void ImagesChanged(TObject* Sender);
  void PaintNodes();
  win::LRESULT SendDispInfo(win::UINT Code, TTreeNode* Node, char* Text);
  TTreeLabelEdit* BeginEdit(TTreeNode* Node);
  void FinishEdit(bool Cancel, bool KeepFocus);
  void PlaceEditor();
  void ItemMessage(TTreeNode* Node, win::TVITEMA& Item, bool Set);
  void DoChange();
  // Tips for clipped labels.
  bool LabelClipped(TTreeNode* Node) const;
  void TrackTip(TPoint ClientPos);
  void ShowTip();
  void HideTip();

  std::unique_ptr<TTreeNodes> Items_;
  TTreeNode* Selected_ = nullptr;
  TTreeNode* Anchor_ = nullptr;
  TTreeNode* Hot_ = nullptr;
  std::vector<TTreeNode*> Selections_;
  TCustomImageList* Images_ = nullptr;
  TCustomImageList* StateImages_ = nullptr;
  TChangeLink ImagesLink_;
  TChangeLink StateImagesLink_;
  TBorderStyle BorderStyle_ = bsSingle;
  TMultiSelectStyle MultiSelectStyle_ = TMultiSelectStyle{msControlSelect};
  TSortType SortType_ = stNone;
  Integer Indent_ = 19;
  Integer TopRow_ = 0;
  Integer ScrollLeft_ = 0;
  bool AutoExpand_ = false;
  bool HideSelection_ = true;
  bool HotTrack_ = false;
  bool MultiSelect_ = false;
  bool ReadOnly_ = false;
  bool RightClickSelect_ = false;
  bool RowSelect_ = false;
  bool ShowButtons_ = true;
  bool ShowLines_ = true;
  bool ShowRoot_ = true;
  bool ToolTips_ = true;
  bool Painting_ = false;
  Integer ChangeDelay_ = 0;
  bool ChangePending_ = false;
  OwnedObject<TTreeLabelEdit> Editor_;
  TTreeNode* EditNode_ = nullptr;
  // The node whose second click may start an edit once the double-click
  // time has passed without a double click.
  TTreeNode* ClickEditNode_ = nullptr;
  OwnedObject<TTreeTip> Tip_;
  TTreeNode* TipNode_ = nullptr;
};

// ---------------------------------------------------------------------------
// Status bar.

VXN_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)
VXN_ENUM(TStatusPanelStyle, psText, psOwnerDraw)

class TStatusBar;

class TStatusPanel : public TCollectionItem {
  VXN_DECLARE_CLASS(TStatusPanel)

 public:
  explicit TStatusPanel(TCollection* Collection);

  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel Bevel() const { return Bevel_; }
  void SetBevel(TStatusPanelBevel Value);
  TStatusPanelStyle Style() const { return Style_; }
  void SetStyle(TStatusPanelStyle Value);
  std::string Text() const { return Text_; }
  void SetText(const std::string& Value);
  Integer Width() const { return Width_; }
  void SetWidth(Integer Value);
  std::string DisplayName() override { return Text_.empty() ? TCollectionItem::DisplayName() : Text_; }
  void Assign(TPersistent* Source) override;

 private:
  TAlignment Alignment_ = taLeftJustify;
  TStatusPanelBevel Bevel_ = pbLowered;
  TStatusPanelStyle Style_ = psText;
  std::string Text_;
  Integer Width_ = 50;
};

class TStatusPanels : public TCollection {
  VXN_DECLARE_CLASS(TStatusPanels)

 public:
  explicit TStatusPanels(TStatusBar* StatusBar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(Integer Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  friend class TStatusBar;
  TStatusBar* StatusBar_;
};

using TDrawPanelEvent = TDelegate<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TCustomControl {
  VXN_DECLARE_CLASS(TStatusBar)

 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return Panels_.get(); }
  void SetPanels(TStatusPanels* Value) { Panels_->Assign(Value); }
  bool SimplePanel() const { return SimplePanel_; }
  void SetSimplePanel(bool Value);
  std::string SimpleText() const { return SimpleText_; }
  void SetSimpleText(const std::string& Value);
  bool SizeGrip() const { return SizeGrip_; }
  void SetSizeGrip(bool Value);
  // The rectangle of a panel in client coordinates (the last one reaches
  // the size grip).
  TRect PanelRect(Integer Index);
  // Where the size grip sits; empty when there is none.
  TRect SizeGripRect();

  TDrawPanelEvent OnDrawPanel;

 protected:
  void Paint() override;
  void WndProc(TMessage& Message) override;

 private:
  friend class TStatusPanels;
  bool GripShown();

  std::unique_ptr<TStatusPanels> Panels_;
  std::string SimpleText_;
  bool SimplePanel_ = false;
  bool SizeGrip_ = true;
};

// ---------------------------------------------------------------------------
// Tool bar.

VXN_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
VXN_ENUM(TCustomDrawTarget, dtControl, dtItem, dtSubItem)

class TToolBar;
class TMenuItem;

class TToolButton : public TGraphicControl {
  VXN_DECLARE_CLASS(TToolButton)

 public:
  explicit TToolButton(TComponent* AOwner);

  TToolBar* ToolBar() const;
  TToolButtonStyle Style() const { return Style_; }
  void SetStyle(TToolButtonStyle Value);
  Integer ImageIndex() const { return ImageIndex_; }
  void SetImageIndex(Integer Value);
  bool Down() const { return Down_; }
  void SetDown(bool Value);
  bool Grouped() const { return Grouped_; }
  void SetGrouped(bool Value) { Grouped_ = Value; }
  bool AllowAllUp() const { return AllowAllUp_; }
  void SetAllowAllUp(bool Value) { AllowAllUp_ = Value; }
  bool Indeterminate() const { return Indeterminate_; }
  void SetIndeterminate(bool Value);
  bool Marked() const { return Marked_; }
  void SetMarked(bool Value);
  TComponent* DropdownMenu() const { return DropdownMenu_; }
  void SetDropdownMenu(TComponent* Value) { DropdownMenu_ = Value; }
  // A menu item the button stands for: it shows the item's caption, hint,
  // image and enabled state, and a click clicks the item. Cleared when the
  // item is freed.
  TMenuItem* MenuItem() const { return MenuItem_; }
  void SetMenuItem(TMenuItem* Value);
  // The button's position on its bar.
  Integer Index() const;
  // Whether the mouse is over it (and it could be pressed).
  bool Hot() const;
  bool Pressed() const { return Pressed_; }
  void Click() override;
  void SetParent(TWinControl* AParent) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TToolBar;
  void Changed();

  TToolButtonStyle Style_ = tbsButton;
  TComponent* DropdownMenu_ = nullptr;
  TMenuItem* MenuItem_ = nullptr;
  Integer ImageIndex_ = -1;
  bool Down_ = false;
  bool Grouped_ = false;
  bool AllowAllUp_ = false;
  bool Indeterminate_ = false;
  bool Marked_ = false;
  bool Pressed_ = false;
  bool MouseInside_ = false;
};

using TTBCustomDrawEvent = TDelegate<void(TToolBar* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTBCustomDrawBtnEvent =
    TDelegate<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw)>;
using TTBAdvancedCustomDrawBtnEvent =
    TDelegate<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, TCustomDrawStage Stage,
                   bool& DefaultDraw)>;

class TToolBar : public TCustomControl {
  VXN_DECLARE_CLASS(TToolBar)

 public:
  explicit TToolBar(TComponent* AOwner);

  Integer ButtonCount() const;
  TToolButton* Buttons(Integer Index) const;
  Integer ButtonWidth() const { return ButtonWidth_; }
  void SetButtonWidth(Integer Value);
  Integer ButtonHeight() const { return ButtonHeight_; }
  void SetButtonHeight(Integer Value);
  bool Flat() const { return Flat_; }
  void SetFlat(bool Value);
  bool List() const { return List_; }
  void SetList(bool Value);
  bool ShowCaptions() const { return ShowCaptions_; }
  void SetShowCaptions(bool Value);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool Value);
  bool Wrapable() const { return Wrapable_; }
  void SetWrapable(bool Value);
  TCustomImageList* Images() const { return Images_; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* HotImages() const { return HotImages_; }
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return DisabledImages_; }
  void SetDisabledImages(TCustomImageList* Value);
  // The button under the mouse (nil when none).
  TToolButton* HotButton() const { return Hot_; }
  // The state custom drawing reports for a button.
  TCustomDrawState ButtonState(TToolButton* Button) const;
  // Lays the buttons and controls out in a row, left to right.
  void ArrangeButtons();

  TTBCustomDrawEvent OnCustomDraw;
  TTBCustomDrawBtnEvent OnCustomDrawButton;
  TTBAdvancedCustomDrawBtnEvent OnAdvancedCustomDrawButton;

 protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TToolButton;
  void DrawButton(TToolButton* Button, TCanvas* Canvas);
  void SetHot(TToolButton* Button);

  void ImagesChanged(TObject* Sender);

  TCustomImageList* Images_ = nullptr;
  TCustomImageList* HotImages_ = nullptr;
  TCustomImageList* DisabledImages_ = nullptr;
  TChangeLink ImagesLink_;
  TChangeLink HotImagesLink_;
  TChangeLink DisabledImagesLink_;
  TToolButton* Hot_ = nullptr;
  Integer ButtonWidth_ = 23;
  Integer ButtonHeight_ = 22;
  bool Flat_ = false;
  bool List_ = false;
  bool ShowCaptions_ = false;
  bool Transparent_ = false;
  bool Wrapable_ = true;
  bool Arranging_ = false;
};

// ---------------------------------------------------------------------------
// Tab sheet: one page of controls; code that picks containers by class
// tests for it.

class TTabSheet : public TWinControl {
  VXN_DECLARE_CLASS(TTabSheet)

 public:
  explicit TTabSheet(TComponent* AOwner);

  Integer ImageIndex() const { return ImageIndex_; }
  void SetImageIndex(Integer Value) { ImageIndex_ = Value; }
  bool TabVisible() const { return TabVisible_; }
  void SetTabVisible(bool Value) { TabVisible_ = Value; }

 private:
  Integer ImageIndex_ = 0;
  bool TabVisible_ = true;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterComCtrlsClasses();
