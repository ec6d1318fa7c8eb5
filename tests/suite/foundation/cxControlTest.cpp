#include "suite/foundation/cxControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxDragAndDrop.h"
#include "suite/foundation/cxSettingsController.h"
#include "tests/suite/foundation/TopLevelHost.h"

namespace {

std::vector<std::string> Log;

// Records the steps of the control's own drag and drop.
class TRecordingDragAndDrop : public TcxDragAndDropObject {
  VXN_DECLARE_CLASS(TRecordingDragAndDrop)

 public:
  using TcxDragAndDropObject::TcxDragAndDropObject;
  ~TRecordingDragAndDrop() override { Log.push_back("freed"); }

 protected:
  void BeginDragAndDrop() override {
    Log.push_back("begin");
    TcxDragAndDropObject::BeginDragAndDrop();
  }
  void DragAndDrop(const TPoint& P, bool& Accepted) override {
    Log.push_back("step " + std::to_string(P.X) + "," + std::to_string(P.Y));
    TcxDragAndDropObject::DragAndDrop(P, Accepted);
  }
  void EndDragAndDrop(bool Accepted) override {
    Log.push_back(Accepted ? "end accepted" : "end refused");
    TcxDragAndDropObject::EndDragAndDrop(Accepted);
  }
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TRecordingDragAndDrop, TcxDragAndDropObject)

namespace {

using Host = TopLevelHost;

// A scrolling control over a content of a given size, with fixed pages, or
// with bars that contradict each other.
class TestControl : public TcxControl {
 public:
  explicit TestControl(TComponent* AOwner) : TcxControl(AOwner) {}

  enum Mode { Content, FixedPages, Contradicting } mode = Content;
  TSize content;
  bool hidesFitting = false;
  bool canStartDragAndDrop = false;
  int initPasses = 0;
  std::vector<std::tuple<TScrollBarKind, TScrollCode>> scrolls;
  std::function<void()> afterScroll;
  std::vector<TPoint> mouseDowns;

  using TcxControl::HandleGetDlgCode;

 protected:
  void InitScrollBarsParameters() override {
    ++initPasses;
    switch (mode) {
      case Content: {
        const TRect c = GetClientBounds();
        SetScrollBarInfo(sbHorizontal, 0, content.cx - 1, 1, c.Width(), 0, true, true);
        SetScrollBarInfo(sbVertical, 0, content.cy - 1, 1, c.Height(), 0, true, true);
        break;
      }
      case FixedPages:
        SetScrollBarInfo(sbHorizontal, 0, 99, 1, 90, 0, true, true);
        SetScrollBarInfo(sbVertical, 0, 99, 1, 90, 0, true, true);
        break;
      case Contradicting:
        // Each bar wants to be shown exactly when the other is not.
        SetScrollBarInfo(sbHorizontal, 0, 99, 1, IsVScrollBarVisible() ? 200 : 10, 0, true, true);
        SetScrollBarInfo(sbVertical, 0, 99, 1, IsHScrollBarVisible() ? 10 : 200, 0, true, true);
        break;
    }
  }
  bool HidesFittingScrollBar(TScrollBarKind) override { return hidesFitting; }
  void ScrollContent(TScrollBarKind AKind, TScrollCode ACode, Integer&) override {
    scrolls.emplace_back(AKind, ACode);
    if (afterScroll) afterScroll();
  }
  bool CanStartDragAndDropAt(const TPoint&) override { return canStartDragAndDrop; }
  void AfterMouseDown(TMouseButton AButton, Integer X, Integer Y) override {
    mouseDowns.push_back({X, Y});
    TcxControl::AfterMouseDown(AButton, X, Y);
  }
};

class Control : public ::testing::Test {
 protected:
  void SetUp() override {
    win::SetScreenSize(800, 600);
    win::ResetInputState();
    Log.clear();
    host = std::make_unique<Host>();
    ctl = new TestControl(host.get());
    ctl->SetParent(host.get());
    ctl->SetBounds(10, 10, 200, 150);
    host->HandleNeeded();
    Pump();
  }
  void TearDown() override {
    host.reset();
    win::ResetInputState();
  }
  void Pump() { Application->ProcessMessages(); }
  win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  void Layout(TSize content) {
    ctl->content = content;
    ctl->RecalcScrollBars();
  }

  std::unique_ptr<Host> host;
  TestControl* ctl;
};

TEST_F(Control, OwnBarsFollowTheContent) {
  const Integer a = win::GetSystemMetrics(win::SM_CYHSCROLL);
  const Integer b = win::GetSystemMetrics(win::SM_CXVSCROLL);
  struct Case {
    TSize content;
    bool h, v;
  } cases[] = {
      {{100, 100}, false, false}, {{200, 150}, false, false}, {{300, 100}, true, false},
      {{100, 300}, false, true},  {{300, 300}, true, true},
      {{195, 300}, true, true},  // the vertical bar takes the width the content needed
      {{300, 140}, true, true},  // the horizontal bar takes the height
  };
  for (const Case& c : cases) {
    Layout(c.content);
    EXPECT_EQ(ctl->HScrollBar()->Visible(), c.h) << c.content.cx << "x" << c.content.cy;
    EXPECT_EQ(ctl->VScrollBar()->Visible(), c.v) << c.content.cx << "x" << c.content.cy;
    EXPECT_EQ(ctl->SizeGrip()->Visible(), c.h && c.v);
    EXPECT_EQ(ctl->GetClientBounds(), (TRect{0, 0, 200 - (c.v ? b : 0), 150 - (c.h ? a : 0)}));
  }
  Layout({300, 300});
  EXPECT_EQ(ctl->HScrollBar()->BoundsRect(), (TRect{0, 150 - a, 200 - b, 150}));
  EXPECT_EQ(ctl->VScrollBar()->BoundsRect(), (TRect{200 - b, 0, 200, 150 - a}));
  EXPECT_EQ(ctl->SizeGrip()->BoundsRect(), (TRect{200 - b, 150 - a, 200, 150}));
  EXPECT_EQ(ctl->HScrollBar()->Parent(), ctl);
  EXPECT_EQ(ctl->VScrollBar()->PageSize(), 150 - a);
  EXPECT_EQ(ctl->VScrollBar()->LargeChange(), 150 - a);
}

TEST_F(Control, ScrollBarInfoRules) {
  ctl->mode = TestControl::FixedPages;
  ctl->SetScrollBars(ssVertical);
  EXPECT_FALSE(ctl->HScrollBar()->Visible()) << "ssVertical never shows the horizontal bar";
  EXPECT_TRUE(ctl->VScrollBar()->Visible());
  ctl->SetScrollBars(ssNone);
  EXPECT_FALSE(ctl->VScrollBar()->Visible());

  ctl->SetScrollBars(ssBoth);
  ctl->SetScrollBarInfo(sbVertical, 0, 9, 1, 10, 0, true, false);
  EXPECT_TRUE(ctl->VScrollBar()->Data.Visible) << "a range that needs no scrolling, not hideable";
  EXPECT_FALSE(ctl->VScrollBar()->Data.Enabled);
  ctl->SetScrollBarInfo(sbVertical, 0, 9, 1, 10, 0, true, true);
  EXPECT_FALSE(ctl->VScrollBar()->Data.Visible);
  ctl->SetScrollBarInfo(sbVertical, 5, 10, 1, 3, 2, true, true);
  EXPECT_FALSE(ctl->VScrollBar()->Data.Visible) << "a position below Min needs no bar";
  ctl->SetScrollBarInfo(sbVertical, 0, 99999, 40000, 50000, 0, true, true);
  EXPECT_EQ(ctl->VScrollBar()->Data.LargeChange, 32767) << "a page past the 16-bit step is held at the limit";
}

TEST_F(Control, BothFittingBarsAreHiddenWhenTheControlSaysSo) {
  ctl->mode = TestControl::FixedPages;
  ctl->RecalcScrollBars();
  EXPECT_TRUE(ctl->HScrollBar()->Visible() && ctl->VScrollBar()->Visible());
  ctl->hidesFitting = true;
  ctl->RecalcScrollBars();
  EXPECT_FALSE(ctl->HScrollBar()->Visible());
  EXPECT_FALSE(ctl->VScrollBar()->Visible());
  EXPECT_FALSE(ctl->SizeGrip()->Visible());
}

TEST_F(Control, ContradictingBarsSettleAfterFourPassesWithBothShown) {
  ctl->mode = TestControl::Contradicting;
  ctl->initPasses = 0;
  ctl->RecalcScrollBars();
  EXPECT_TRUE(ctl->HScrollBar()->Visible());
  EXPECT_TRUE(ctl->VScrollBar()->Visible());
  EXPECT_TRUE(ctl->SizeGrip()->Visible());
  // Four passes, and four more for the nested pass after the bars appeared.
  EXPECT_EQ(ctl->initPasses, 8);
}

TEST_F(Control, DialogCodesFollowWantedKeysAndCtrl) {
  ctl->SetWantedKeys({wkArrows, wkTab});
  EXPECT_EQ(win::SendMessage(ctl->Handle(), win::WM_GETDLGCODE, 0, 0), 3);
  win::InjectKey(win::VK_CONTROL, true);
  Pump();
  EXPECT_EQ(win::SendMessage(ctl->Handle(), win::WM_GETDLGCODE, 0, 0), 1);
  win::InjectKey(win::VK_CONTROL, false);
  Pump();
  ctl->SetWantedKeys({wkAll, wkChars});
  EXPECT_EQ(win::SendMessage(ctl->Handle(), win::WM_GETDLGCODE, 0, 0), 0x84);
}

TEST_F(Control, FocusOnClick) {
  auto* other = new TestControl(host.get());
  other->SetParent(host.get());
  other->SetBounds(220, 10, 100, 100);
  Pump();
  other->SetFocus();
  win::InjectClick(Screen(ctl, 20, 20));
  Pump();
  EXPECT_TRUE(ctl->Focused());
  other->FocusOnClick = false;
  win::InjectClick(Screen(other, 20, 20));
  Pump();
  EXPECT_TRUE(ctl->Focused()) << "FocusOnClick off leaves the focus where it was";

  // A click on the control's own bar focuses the control and scrolls.
  Layout({100, 300});
  other->SetFocus();
  TcxControlScrollBar* bar = ctl->VScrollBar();
  win::InjectClick(Screen(bar, bar->Width() / 2, bar->Height() - 3));
  Pump();
  EXPECT_TRUE(ctl->Focused());
  ASSERT_FALSE(ctl->scrolls.empty());
  EXPECT_EQ(ctl->scrolls.front(), std::make_tuple(sbVertical, scLineDown));
}

struct Destroyer {
  TControl* victim;
  void MouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) { delete victim; }
};

TEST_F(Control, DestroyedInOnMouseDownIsNotTouchedAgain) {
  Destroyer d{ctl};
  ctl->OnMouseDown = TMouseEvent(&d, &Destroyer::MouseDown);
  const Integer before = host->ControlCount();
  win::InjectClick(Screen(ctl, 20, 20));
  Pump();
  EXPECT_EQ(host->ControlCount(), before - 1);
}

TEST_F(Control, WheelScrollsTheVerticalBarOnly) {
  ctl->SetFocus();
  Layout({300, 100});
  win::InjectMouseWheel(-120, Screen(ctl, 20, 20));
  Pump();
  EXPECT_TRUE(ctl->scrolls.empty()) << "no vertical bar: the wheel does nothing";
  Layout({100, 300});
  win::InjectMouseWheel(-120, Screen(ctl, 20, 20));
  win::InjectMouseWheel(120, Screen(ctl, 20, 20));
  Pump();
  const auto lines = static_cast<size_t>(Mouse->WheelScrollLines());
  ASSERT_EQ(ctl->scrolls.size(), 2 * lines);
  EXPECT_EQ(ctl->scrolls.front(), std::make_tuple(sbVertical, scLineDown));
  EXPECT_EQ(ctl->scrolls.back(), std::make_tuple(sbVertical, scLineUp));
}

TEST_F(Control, WideControlTakesThePointFromTheCursor) {
  ctl->SetBounds(-34800, 10, 40000, 100);
  Pump();
  win::InjectClick(Screen(ctl, 35000, 20), win::VK_RBUTTON);
  Pump();
  ASSERT_FALSE(ctl->mouseDowns.empty());
  EXPECT_EQ(ctl->mouseDowns.back(), (TPoint{35000, 20}));
}

// The middle-button loop takes its anchor from the cursor, so the input is
// injected only once the loop runs (its first timer tick).
struct PendingInput {
  bool middleUp;
  win::POINT at;
};
std::vector<PendingInput> Pending;
win::HHOOK InputHook = nullptr;

win::LRESULT InjectOnFirstTick(int code, win::WPARAM wParam, win::LPARAM lParam) {
  auto* msg = reinterpret_cast<win::MSG*>(lParam);
  if (code >= 0 && msg->message == win::WM_TIMER && !Pending.empty()) {
    const auto input = std::move(Pending);
    Pending.clear();
    for (const PendingInput& i : input) {
      if (i.middleUp)
        win::InjectMouseButton(win::VK_MBUTTON, false, i.at);
      else
        win::InjectMouseMove(i.at);
    }
  }
  return win::CallNextHookEx(InputHook, code, wParam, lParam);
}

TEST_F(Control, MiddleButtonScrollingWithOnlyTheVerticalBar) {
  Layout({100, 300});
  ctl->SetFocus();
  const win::POINT anchor = Screen(ctl, 50, 50);
  InputHook = win::SetWindowsHookEx(win::WH_GETMESSAGE, &InjectOnFirstTick, nullptr, 0);
  // Up without moving keeps the mode; then sideways, which a vertical bar
  // alone ignores; then far down.
  Pending = {{true, anchor}, {false, {anchor.x + 150, anchor.y}}, {false, {anchor.x, anchor.y + 100}}};
  ctl->afterScroll = [&] {
    if (ctl->scrolls.size() == 2) win::InjectKeyPress(win::VK_ESCAPE);
  };
  win::InjectMouseButton(win::VK_MBUTTON, true, anchor);
  Pump();
  win::UnhookWindowsHookEx(InputHook);
  EXPECT_FALSE(ctl->IsMiddleButtonScrolling());
  ASSERT_GE(ctl->scrolls.size(), 2u);
  for (auto& s : ctl->scrolls) EXPECT_EQ(s, std::make_tuple(sbVertical, scLineDown));

  // Moving out of the zone and letting go ends the mode.
  ctl->scrolls.clear();
  ctl->afterScroll = nullptr;
  InputHook = win::SetWindowsHookEx(win::WH_GETMESSAGE, &InjectOnFirstTick, nullptr, 0);
  Pending = {{false, {anchor.x, anchor.y - 60}}, {true, {anchor.x, anchor.y - 60}}};
  win::InjectMouseButton(win::VK_MBUTTON, true, anchor);
  Pump();
  win::UnhookWindowsHookEx(InputHook);
  EXPECT_FALSE(ctl->IsMiddleButtonScrolling());
  for (auto& s : ctl->scrolls) EXPECT_EQ(s, std::make_tuple(sbVertical, scLineUp));
}

TEST_F(Control, DragAndDropStateMachine) {
  ctl->canStartDragAndDrop = true;
  ctl->DragAndDropObjectClass = TRecordingDragAndDrop::StaticClass();
  const win::POINT down = Screen(ctl, 50, 50);
  win::InjectMouseButton(win::VK_LBUTTON, true, down);
  Pump();
  EXPECT_EQ(ctl->DragAndDropState(), ddsStarting);
  win::InjectMouseMove({down.x + 2, down.y + 2});
  Pump();
  EXPECT_EQ(ctl->DragAndDropState(), ddsStarting) << "still within the threshold";
  win::InjectMouseMove({down.x + 20, down.y});
  Pump();
  EXPECT_EQ(ctl->DragAndDropState(), ddsInProcess);
  EXPECT_EQ(ctl->DragAndDropObject()->CurrentPoint, (TPoint{70, 50}));
  win::InjectMouseButton(win::VK_LBUTTON, false, {down.x + 20, down.y});
  Pump();
  EXPECT_EQ(ctl->DragAndDropState(), ddsNone);
  EXPECT_EQ(Log, (std::vector<std::string>{"begin", "step 70,50", "end accepted", "freed"}));

  // Esc ends a running one unaccepted; so does WM_CANCELMODE. (Each press
  // is elsewhere, so that none makes a double click.)
  Log.clear();
  const win::POINT second = Screen(ctl, 120, 40);
  win::InjectMouseButton(win::VK_LBUTTON, true, second);
  win::InjectMouseMove({second.x, second.y + 30});
  Pump();
  ASSERT_EQ(ctl->DragAndDropState(), ddsInProcess);
  win::InjectKeyPress(win::VK_ESCAPE);
  Pump();
  EXPECT_EQ(ctl->DragAndDropState(), ddsNone);
  EXPECT_EQ(Log, (std::vector<std::string>{"begin", "step 120,70", "end refused", "freed"}));
  win::InjectMouseButton(win::VK_LBUTTON, false, {second.x, second.y + 30});
  Pump();

  Log.clear();
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(ctl, 30, 100));
  Pump();
  ASSERT_EQ(ctl->DragAndDropState(), ddsStarting);
  ctl->Perform(win::WM_CANCELMODE, 0, 0);
  EXPECT_EQ(ctl->DragAndDropState(), ddsNone);
  EXPECT_EQ(Log, (std::vector<std::string>{"freed"})) << "a drag that never began is only freed";
  EXPECT_FALSE(ctl->IsMouseCaptured());
}

struct PopupRecorder : public TComponent, public IcxPopupMenuComponent {
  PopupRecorder() : TComponent(nullptr) {}
  std::vector<TPoint> shown;
  bool IsShortCut(TMessage&) override { return false; }
  void Popup(Integer X, Integer Y) override { shown.push_back({X, Y}); }
};

TEST_F(Control, ContextPopupShowsTheMenuComponent) {
  TComponent plain(nullptr);
  ctl->SetPopupMenu(&plain);
  EXPECT_EQ(ctl->PopupMenu(), nullptr) << "neither a popup menu nor the popup interface";
  PopupRecorder menu;
  ctl->SetPopupMenu(&menu);
  const win::POINT at = Screen(ctl, 30, 40);
  win::SendMessage(ctl->Handle(), win::WM_CONTEXTMENU, 0, win::MAKELPARAM(at.x, at.y));
  win::SendMessage(ctl->Handle(), win::WM_CONTEXTMENU, 0, win::MAKELPARAM(0xFFFF, 0xFFFF));
  const win::POINT origin = Screen(ctl, 0, 0);
  EXPECT_EQ(menu.shown, (std::vector<TPoint>{{at.x, at.y}, {origin.x, origin.y}}));
  const win::POINT outside = Screen(ctl, 300, 40);
  win::SendMessage(ctl->Handle(), win::WM_CONTEXTMENU, 0, win::MAKELPARAM(outside.x, outside.y));
  EXPECT_EQ(menu.shown.size(), 2u) << "outside the client area";
  ctl->SetPopupMenu(nullptr);
}

TEST_F(Control, ClassLibraryDragUsesTheSuiteDragObject) {
  ctl->BeginDrag(true);
  auto* object = dynamic_cast<TcxDragControlObject*>(DragObject());
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetDragCursor(false, 0, 0), crNoDrop);
  win::InjectKey(win::VK_CONTROL, true);
  Pump();
  EXPECT_EQ(object->GetDragCursor(true, 0, 0), crcxDragCopy);
  win::InjectKey(win::VK_CONTROL, false);
  Pump();
  EXPECT_EQ(object->GetDragCursor(true, 0, 0), ctl->DragCursor);
  DragDone(false);  // the object frees itself
  EXPECT_EQ(DragControl(), nullptr);
}

class RefusingControl : public TcxControl {
 public:
  using TcxControl::TcxControl;

 protected:
  bool AcceptsDragObject(TDragObject*) override { return false; }
};

TEST_F(Control, RefusedDragObjectCancelsTheDrag) {
  auto* refusing = new RefusingControl(host.get());
  refusing->SetParent(host.get());
  refusing->BeginDrag(true);
  EXPECT_EQ(DragControl(), nullptr);
}

TEST_F(Control, ChildComponentFollowsItsControl) {
  auto* child = new TcxControlChildComponent(ctl, false);
  EXPECT_EQ(child->Control(), ctl);
  EXPECT_TRUE(child->HasParent());
  EXPECT_EQ(child->GetParentComponent(), ctl);
  delete child;
  TcxControlChildComponent streamed(nullptr);
  EXPECT_FALSE(streamed.HasParent());
  streamed.SetParentComponent(ctl);
  EXPECT_EQ(streamed.Control(), ctl);
  TcxControlChildComponent owned(ctl, true);
  EXPECT_EQ(owned.Owner(), ctl->Owner());
}

TEST_F(Control, FontListenersHearOfAFontChange) {
  struct Listener : IcxFontListener {
    int told = 0;
    void FontChanged(TObject*, TFont*) override { ++told; }
  } listener;
  ctl->AddFontListener(&listener);
  ctl->Font()->SetSize(14);
  EXPECT_EQ(listener.told, 1);
  ctl->RemoveFontListener(&listener);
  ctl->Font()->SetSize(15);
  EXPECT_EQ(listener.told, 1);
}

TEST_F(Control, ScrollBarSizeFollowsTheSystemMetrics) {
  Layout({300, 300});
  win::NONCLIENTMETRICS saved;
  win::SystemParametersInfo(win::SPI_GETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
  win::NONCLIENTMETRICS wide = saved;
  wide.iScrollWidth = 25;
  wide.iScrollHeight = 25;
  win::SystemParametersInfo(win::SPI_SETNONCLIENTMETRICS, sizeof(wide), &wide, 0);
  win::SendMessage(SettingsController()->Handle(), win::WM_SETTINGCHANGE, win::SPI_SETNONCLIENTMETRICS, 0);
  Pump();
  EXPECT_EQ(ctl->VScrollBar()->Width(), 25);
  EXPECT_EQ(ctl->HScrollBar()->Height(), 25);
  EXPECT_EQ(ctl->GetClientBounds(), (TRect{0, 0, 175, 125})) << "laid out again";
  win::SystemParametersInfo(win::SPI_SETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
}

class PictureControl : public TcxControl {
 public:
  using TcxControl::TcxControl;
  using TcxControl::GetDragImages;

 protected:
  bool HasDragImages() override { return true; }
  TSize GetDragImageSize() override { return {16, 12}; }
  void DrawDragImage(TcxCanvas* ACanvas, const TRect& R) override {
    ACanvas->SetBrushColor(clRed);
    ACanvas->Canvas->FillRect(R);
  }
};

TEST_F(Control, DragImagesAreDrawnByTheControl) {
  EXPECT_EQ(static_cast<TControl*>(ctl)->GetDragImages(), nullptr);
  PictureControl picture(nullptr);
  TDragImageList* images = picture.GetDragImages();
  ASSERT_NE(images, nullptr);
  EXPECT_NE(dynamic_cast<TcxDragImageList*>(images), nullptr);
  EXPECT_EQ(images->Count(), 1);
  EXPECT_EQ(images->Width(), 16);
  EXPECT_EQ(images->Height(), 12);
  EXPECT_EQ(picture.GetDragImages(), images) << "made once";
}

}  // namespace
