// The list box of the text editors' drop-down lists: every row as high as
// the font's text, the item under the mouse followed while the mouse is not
// captured, a selection change reported to the lookup data, the wheel
// scrolling by the system's wheel lines, and the selection drawn as focused
// although the focus stays in the editor.
#pragma once

#include <string>

#include "suite/editors/cxCustomInnerListBox.h"
#include "suite/editors/cxTextEditProperties.h"

// What an edit list box asks of the editor whose drop-down list it is. The
// text editor implements it.
class IcxEditListBoxOwner {
 public:
  virtual ~IcxEditListBoxOwner() = default;
  virtual TcxEditingStyle ListOwnerEditingStyle() = 0;
};

class TcxCustomEditListBox : public TcxCustomInnerListBox {
  VXN_DECLARE_CLASS(TcxCustomEditListBox)

 public:
  using TOwnerClass = TComponent;
  explicit TcxCustomEditListBox(TComponent* AOwner);

  // Introduced here, in slot order.
  virtual bool OwnerDrawsItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
  virtual std::string ItemText(Integer Index) { return Items()->Strings(Index); }
  virtual void ApplyListSettings() {}
  virtual Integer HeightForItemCount(Integer Count) { return Count * ItemHeightOf(-1); }
  // -1 stands for the common height.
  virtual Integer ItemHeightOf(Integer Index);
  virtual Integer ItemWidthOf(Integer Index);

  bool DrawsFocusRect() override;
  // The item-index setter: the list's own step, then the scroll bars and
  // the selection notice.
  virtual void ChangeItemIndex(Integer Value);
  bool IsVisible();
  // The editor of the popup window the list is placed on; nil elsewhere.
  TControl* OwnerEdit();

  bool TrackMouse = true;
  TNotifyEvent OnSelectionChanged;

 protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void MeasureItem(Integer Index, Integer& Height) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void Click() override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void WndProc(TMessage& Message) override;

 private:
  Integer TextHeight(const std::string& Text);
  Integer TextWidth(const std::string& Text);
  void SelectionChanged();
};

void RegisterCustomEditListBoxClasses();
