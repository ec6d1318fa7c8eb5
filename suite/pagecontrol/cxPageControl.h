// The page control and its pages: one tab per page in page order, the tab
// mirroring the page's caption, image, highlight, enabled state and tab
// visibility; choosing a tab shows its page and moves the focus along.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/rtl/Delegates.h"
#include "suite/pagecontrol/cxCustomTabControl.h"

class TcxPageControl;
class TcxTab;

class TcxTabSheet : public TCustomControl {
  VXN_DECLARE_CLASS(TcxTabSheet)

 public:
  explicit TcxTabSheet(TComponent* AOwner);
  ~TcxTabSheet() override;

  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  bool Highlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TcxPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TcxPageControl* Value) { MoveToPageControl(Value); }
  Integer PageIndex() const;
  void SetPageIndex(Integer Value);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  TcxTab* Tab() const { return FTab; }
  Integer TabVisibleIndex() const;

  // Keeps the page control and makes it the parent.
  virtual void AttachToPageControl(TcxPageControl* APageControl);
  void MoveToPageControl(TcxPageControl* APageControl);
  void SyncTab();
  // Only a page control (or none) is taken as the parent.
  void SetParent(TWinControl* AParent) override;

  TNotifyEvent OnHide;
  TNotifyEvent OnShow;

 protected:
  friend class TcxPageControl;

  void ReadState(TReader& Reader) override;
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void DrawThemedBackground(win::HDC DC);

 private:
  void Detach();
  void PaintNonClient();

  Integer FBorderWidth = 0;
  bool FHighlighted = false;
  Integer FImageIndex = -1;
  TcxPageControl* FPageControl = nullptr;
  TcxTab* FTab = nullptr;
  bool FTabVisible = true;
  bool FAttaching = false;
};

using TcxPageChangingEvent = TDelegate<void(TObject* Sender, TcxTabSheet* NewPage, bool& AllowChange)>;

class TcxPageControl : public TcxCustomTabControl {
  VXN_DECLARE_CLASS(TcxPageControl)

 public:
  explicit TcxPageControl(TComponent* AOwner);
  ~TcxPageControl() override;

  TcxTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TcxTabSheet* Value);
  Integer ActivePageIndex() const;
  void SetActivePageIndex(Integer Value) { SetActivePage(Pages(Value)); }
  bool Focusable() const { return FFocusable; }
  void SetFocusable(bool Value);
  Integer PageCount() const { return static_cast<Integer>(FPages.size()); }
  TcxTabSheet* Pages(Integer Index) const;
  Integer IndexOfPage(const TcxTabSheet* APage) const;

  // The page after (or before) a page, cyclically, skipping pages whose tab
  // is hidden or that are disabled when VisibleOnly; nil without pages.
  TcxTabSheet* FindNextPage(TcxTabSheet* CurPage, bool GoForward, bool VisibleOnly) const;
  void SelectNextPage(bool GoForward, bool VisibleOnly = true);

  void InsertPage(TcxTabSheet* APage);
  void RemovePage(TcxTabSheet* APage);
  void UpdateTab(TcxTabSheet* APage);
  void UpdateTabs();
  void MovePage(Integer CurIndex, Integer NewIndex);

  TcxPageChangingEvent OnPageChanging;

  // Docking (with DockSite): a control docked into the page control sits on
  // a page of its own; undocking it frees that page once the control has
  // left it.
  TcxTabSheet* UndockPage() const { return FUndockPage; }
  // Asks OnUnDock, then prepares the client's page for the undock.
  bool DoUnDock(TWinControl* NewTarget, TControl* Client) override;
  virtual bool PrepareUndock(TWinControl* NewTarget, TControl* Client);
  // A dropped control gets a new page (or its page moves to the end).
  virtual Integer DockAsNewSheet(TDragDockObject* DragDockObject);
  // The page a docked control of this page control sits on, or nil.
  TcxTabSheet* PageOfDockClient(TControl* Client) const;
  void DockOver(TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
  void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) override;
  // A page asked to be shown becomes the active page first.
  void ShowControl(TControl* AControl) override;
  // A stream's order for a page is its PageIndex.
  void SetChildOrder(TComponent* Child, Integer Order) override;

  TControl* PageOfTab(Integer ATabIndex) override { return Pages(ATabIndex); }
  void CloseTab() override;
  void ImagesChanged(TObject* Sender) override;
  bool SelectionNeedsVisibleTab() const override { return true; }
  bool PrintsClientArea() const override { return false; }
  bool CanChangeTab(Integer NewIndex) override;
  void TabChanged() override;
  void RecalculateLayout() override;
  bool CanFocus() override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  virtual void SyncActivePage();
  virtual bool CanChangePage(TcxTabSheet* NewPage);
  virtual void PageChanged();
  // Moves a control that is not a page out to the page control's parent.
  virtual void MoveForeignChildOut(bool Inserting, TControl* AControl);

 protected:
  void ChangeActivePage(TcxTabSheet* APage);
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  bool CanFocusOnClickAt(Integer X, Integer Y) override;
  void DoAddDockClient(TControl* Client, const TRect& ARect) override;
  void DoRemoveDockClient(TControl* Client) override;
  void CMDockClient(TMessage& Message) override;
  void CMUnDockClient(TMessage& Message) override;
  void CMDockNotification(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMLButtonDblClk(TMessage& Message) override;

 private:
  friend class TcxTabSheet;
  // The docked control on the page whose tab is at a client point, or nil.
  TControl* DockClientAt(const TPoint& Pos);

  TcxTabSheet* FActivePage = nullptr;
  bool FFocusable = true;
  bool FInserting = false;
  std::vector<TcxTabSheet*> FPages;  // not owned
  TcxTabSheet* FUndockPage = nullptr;
  TcxTabSheet* FNewDockPage = nullptr;
};

void RegisterPageControlClasses();
