// The list box that editors place inside a container or a popup: it draws
// its items through the suite's canvas, lays the suite's own scroll bars over
// the native ones, hands keys, the mouse, drag and drop and focus changes to
// its container, and selects the first item that starts with what was typed
// within the auto-complete delay.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/ListCtrls.h"
#include "platform/forms/ScrollCtrls.h"
#include "suite/editors/cxContainer.h"
#include "suite/foundation/cxScrollBar.h"

class TcxCustomInnerListBox : public TListBox, public IcxContainerInnerControl {
  VXN_DECLARE_CLASS(TcxCustomInnerListBox)

 public:
  explicit TcxCustomInnerListBox(TComponent* AOwner);
  ~TcxCustomInnerListBox() override;

  // Var key: a key it used is cleared.
  virtual void AutoCompleteKey(char32_t& Key);
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  virtual bool UsesDefaultDrawing() { return !OnDrawItem; }
  // Whether the focused item gets the focus rectangle.
  virtual bool DrawsFocusRect() { return UsesDefaultDrawing(); }
  virtual void SyncScrollBars();

  // The corner between the two own bars, in window coordinates; empty
  // unless both are shown.
  TRect SizeGripBounds();

  // IcxContainerInnerControl
  TWinControl* Control() override { return this; }
  TcxContainer* ControlContainer() override { return HostContainer; }

  TcxContainer* HostContainer = nullptr;  // not owned
  TcxCanvas* SuiteCanvas() const { return FSuiteCanvas.get(); }
  TcxLookAndFeel* OwnLookAndFeel() const { return FLookAndFeel.get(); }
  TcxScrollBar* OwnHorzBar() const { return FHorzBar; }
  TcxScrollBar* OwnVertBar() const { return FVertBar; }
  // Milliseconds within which typed characters make one prefix.
  Cardinal AutoCompleteDelay = 500;
  Cardinal GetAutoCompleteDelay() const { return AutoCompleteDelay; }
  void SetAutoCompleteDelay(Cardinal Value) { AutoCompleteDelay = Value; }
  bool AutoComplete = true;
  const std::string& TypedPrefix() const { return FTypedPrefix; }

 protected:
  void Click() override;
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 public:
  void DragDrop(TObject* Source, Integer X, Integer Y) override;

 private:
  void SyncBar(TcxScrollBar* ABar, win::LONG AObjectId);
  void BarScrolled(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos);
  void DrawListItem(const win::DRAWITEMSTRUCT& AItem);
  void LeftButtonDown(TMessage& Message);
  void ContextMenu(TMessage& Message);
  bool BothBarsVisible() const;
  void RemoveBar(TcxScrollBar*& ABar);

  std::unique_ptr<TcxCanvas> FSuiteCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxScrollBar* FHorzBar = nullptr;  // freed here while it has no parent
  TcxScrollBar* FVertBar = nullptr;
  std::string FTypedPrefix;
  UInt64 FLastTypeTick = 0;
  Integer FBarParentingLock = 0;
  bool FSyncingScrollBars = false;
  bool FBeingDestroyed = false;
};

void RegisterCustomInnerListBoxClasses();
