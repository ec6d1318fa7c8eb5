// The tree view container: the platform's tree view inside a styled
// container, which gives it the container's border, styles, hot tracking
// and look-and-feel scroll bars (mirroring the tree's own), while nodes,
// selection and drawing stay the tree's. The container publishes the tree's
// properties and events by forwarding each access to the inner tree; the
// inner tree hands its input, focus and drag events back to the container,
// with mouse positions taken into the container's client coordinates.
#pragma once

#include <memory>
#include <span>

#include "platform/forms/ComCtrls.h"
#include "suite/editors/cxContainer.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeels.h"

class TcxCustomTreeView;

class TcxCustomInnerTreeView : public TTreeView, public IcxContainerInnerControl {
  VXN_DECLARE_CLASS(TcxCustomInnerTreeView)

 public:
  explicit TcxCustomInnerTreeView(TComponent* AOwner);
  ~TcxCustomInnerTreeView() override;

  TcxCanvas* cxCanvas() const { return FCanvas.get(); }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  TcxCustomTreeView* Container() const { return FContainer; }
  void SetContainer(TcxCustomTreeView* Value) { FContainer = Value; }

  // IcxContainerInnerControl
  TWinControl* Control() override { return this; }
  TcxContainer* ControlContainer() override;

  // The tree's notification handling (CN_NOTIFY), which the container
  // passes on too.
  void CNNotify(TMessage& Message);
  void DefaultHandler(TMessage& Message) override;
  void DragDrop(TObject* Source, Integer X, Integer Y) override;

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Click() override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
  void Expand(TTreeNode* Node) override;
  void Collapse(TTreeNode* Node) override;
  void Change(TTreeNode* Node) override;

 private:
  void SyncContainerScrollBars();
  bool BothContainerBarsShown() const;
  void PaintSizeGrip();

  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxCustomTreeView* FContainer = nullptr;  // not owned
};

// The tree's properties, read and written through the inner tree.
#define CX_TREE_VIEW_PROPERTY(Type, Name) \
  Type Name() const { return FInnerTreeView->Name(); } \
  void Set##Name(Type Value) { FInnerTreeView->Set##Name(Value); }
// Its events: the handler is stored in the inner tree, which is the Sender.
#define CX_TREE_VIEW_EVENT(Type, Name) \
  Type Get##Name() const { return FInnerTreeView->Name; } \
  void Set##Name(Type Value) { FInnerTreeView->Name = Value; }

class TcxCustomTreeView : public TcxContainer {
  VXN_DECLARE_CLASS(TcxCustomTreeView)

 public:
  explicit TcxCustomTreeView(TComponent* AOwner);
  ~TcxCustomTreeView() override;

  virtual TcxCustomInnerTreeView* InnerTreeView() const { return FInnerTreeView.get(); }
  virtual TClass InnerTreeViewClass() const { return TcxCustomInnerTreeView::StaticClass(); }
  virtual TcxCustomInnerTreeView* MakeInnerTreeView();
  // The inner tree's multi-selection.
  virtual void SelectNodeWithShift(TTreeNode* ANode, TShiftState AShiftState);
  virtual void SelectNodeArray(std::span<TTreeNode* const> ANodes);
  virtual void SelectNodeList(TList* ANodes);
  virtual void UnselectNode(TTreeNode* ANode);
  virtual void AddToSelection(TTreeNode* ANode, bool AValidate);
  virtual void ClearNodeSelection(bool AKeepPrimary);
  virtual TTreeNode* NodeToSelectNext();

  void ExpandAllNodes();
  // X and Y in the inner tree's client coordinates.
  TTreeNode* NodeAtPoint(Integer X, Integer Y) const;
  TTreeNode* SelectedNode() const;
  void SetSelectedNode(TTreeNode* ANode);

  CX_TREE_VIEW_PROPERTY(bool, AutoExpand)
  CX_TREE_VIEW_PROPERTY(Integer, ChangeDelay)
  CX_TREE_VIEW_PROPERTY(bool, HideSelection)
  CX_TREE_VIEW_PROPERTY(bool, HotTrack)
  CX_TREE_VIEW_PROPERTY(TCustomImageList*, Images)
  CX_TREE_VIEW_PROPERTY(TTreeNodes*, Items)
  CX_TREE_VIEW_PROPERTY(Integer, Indent)
  CX_TREE_VIEW_PROPERTY(bool, MultiSelect)
  CX_TREE_VIEW_PROPERTY(TMultiSelectStyle, MultiSelectStyle)
  CX_TREE_VIEW_PROPERTY(bool, ReadOnly)
  CX_TREE_VIEW_PROPERTY(bool, RightClickSelect)
  CX_TREE_VIEW_PROPERTY(bool, RowSelect)
  CX_TREE_VIEW_PROPERTY(bool, ShowButtons)
  CX_TREE_VIEW_PROPERTY(bool, ShowLines)
  CX_TREE_VIEW_PROPERTY(bool, ShowRoot)
  CX_TREE_VIEW_PROPERTY(TSortType, SortType)
  CX_TREE_VIEW_PROPERTY(TCustomImageList*, StateImages)
  CX_TREE_VIEW_PROPERTY(bool, ToolTips)

  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnAddition)
  CX_TREE_VIEW_EVENT(TTVAdvancedCustomDrawEvent, OnAdvancedCustomDraw)
  CX_TREE_VIEW_EVENT(TTVAdvancedCustomDrawItemEvent, OnAdvancedCustomDrawItem)
  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnCancelEdit)
  CX_TREE_VIEW_EVENT(TTVChangedEvent, OnChange)
  CX_TREE_VIEW_EVENT(TTVChangingEvent, OnChanging)
  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnCollapsed)
  CX_TREE_VIEW_EVENT(TTVCollapsingEvent, OnCollapsing)
  CX_TREE_VIEW_EVENT(TTVCompareEvent, OnCompare)
  CX_TREE_VIEW_EVENT(TTVCustomDrawEvent, OnCustomDraw)
  CX_TREE_VIEW_EVENT(TTVCustomDrawItemEvent, OnCustomDrawItem)
  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnDeletion)
  CX_TREE_VIEW_EVENT(TTVEditingEvent, OnEditing)
  CX_TREE_VIEW_EVENT(TTVEditedEvent, OnEdited)
  CX_TREE_VIEW_EVENT(TTVExpandingEvent, OnExpanding)
  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnExpanded)
  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnGetImageIndex)
  CX_TREE_VIEW_EVENT(TTVExpandedEvent, OnGetSelectedIndex)
  CX_TREE_VIEW_EVENT(TTVCreateNodeClassEvent, OnCreateNodeClass)

  void SyncControlWithStyle(TObject* Sender) override;
  void AlignInnerControl() override;

 protected:
  // For a descendant whose inner tree is of its own class (a constructor
  // does not reach the override of InnerTreeViewClass).
  TcxCustomTreeView(TComponent* AOwner, TClass AInnerTreeViewClass);

  bool HasOwnScrollBars() const override { return true; }
  void ScrollContent(TScrollBarKind AKind, TScrollCode ACode, Integer& APosition) override;
  void NotifyFontListeners() override;
  bool CanResize(Integer& NewWidth, Integer& NewHeight) override;
  void WndProc(TMessage& Message) override;

 private:
  TcxCustomInnerTreeView* CreateInnerTreeView(TClass AClass);

  OwnedObject<TcxCustomInnerTreeView> FInnerTreeView;
};

#undef CX_TREE_VIEW_PROPERTY
#undef CX_TREE_VIEW_EVENT

class TcxTreeView : public TcxCustomTreeView {
  VXN_DECLARE_CLASS(TcxTreeView)

 public:
  using TcxCustomTreeView::TcxCustomTreeView;
};

void RegisterTreeViewClasses();
