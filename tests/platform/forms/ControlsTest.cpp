#include "platform/forms/Controls.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/ScrollCtrls.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Windows.h"

using namespace formstest;

namespace {

class ControlsTest : public FormsTest {};

TEST(NoticeNumbers, FollowTheirRule) {
  EXPECT_EQ(CN_KEYDOWN, 0xBD00u);
  EXPECT_EQ(CN_SYSKEYDOWN, 0xBD04u);
  EXPECT_EQ(CN_COMMAND, CN_BASE + win::WM_COMMAND);
  EXPECT_EQ(CM_MOUSELEAVE, 0xB014u);
  EXPECT_EQ(CM_WININICHANGE, 0xB025u);
  const win::UINT notices[] = {
      CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_SHOWINGCHANGED, CM_FONTCHANGED,      CM_COLORCHANGED,
      CM_TEXTCHANGED,    CM_MOUSEENTER,     CM_MOUSELEAVE,     CM_PARENTFONTCHANGED, CM_PARENTCOLORCHANGED,
      CM_SYSCOLORCHANGE, CM_DIALOGCHAR,     CM_DIALOGKEY,      CM_WANTSPECIALKEY,   CM_HINTSHOW,
      CM_CANCELMODE,     CM_FOCUSCHANGED,   CM_CURSORCHANGED,  CM_DESIGNHITTEST,    CM_CTL3DCHANGED,
      CM_PARENTCTL3DCHANGED, CM_BIDIMODECHANGED, CM_WININICHANGE, CM_CONTROLCHANGE, CM_EXIT,
      CM_INVALIDATE,     CM_DOCKNOTIFICATION, CM_UNDOCKCLIENT, CM_ENTER,            CM_MOUSEWHEEL};
  std::set<win::UINT> seen;
  for (win::UINT n : notices) {
    EXPECT_GE(n, 0xB000u);
    EXPECT_LE(n, 0xB0FFu);
    EXPECT_TRUE(seen.insert(n).second) << std::hex << n;
  }
}

// Children of a 300 x 200 parent take their places in the align order: top,
// bottom, left, right, then the client gets what is left; two controls of
// one alignment keep the order of their positions.
TEST_F(ControlsTest, AlignOrderAndResize) {
  THost host;
  auto make = [&](TAlign a, int l, int t, int w, int h) {
    auto* c = new TControl(&host);
    c->SetBounds(l, t, w, h);
    c->SetParent(&host);
    c->SetAlign(a);
    return c;
  };
  TControl* client = make(alClient, 0, 0, 10, 10);
  TControl* top2 = make(alTop, 0, 50, 10, 15);
  TControl* top1 = make(alTop, 0, 0, 10, 10);
  TControl* bottom = make(alBottom, 0, 0, 10, 20);
  TControl* left = make(alLeft, 0, 0, 30, 10);
  TControl* right = make(alRight, 0, 0, 40, 10);
  EXPECT_EQ(top1->BoundsRect(), Rect(0, 0, 300, 10));
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 10, 300, 25));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 180, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 25, 30, 180));
  EXPECT_EQ(right->BoundsRect(), Rect(260, 25, 300, 180));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 25, 260, 180));

  // With a window, a new size arrives through WM_SIZE and realigns.
  host.HandleNeeded();
  host.SetBounds(100, 100, 400, 300);
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 280, 400, 300));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 25, 360, 280));

  // A client control that may not grow leaves the rest of the space empty.
  client->Constraints()->SetMaxWidth(100);
  EXPECT_EQ(client->BoundsRect(), Rect(30, 25, 130, 280));

  top1->SetVisible(false);
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 0, 400, 15));
}

TEST_F(ControlsTest, AnchorsKeepTheirDistances) {
  THost host;  // client 300 x 200
  struct Case {
    TAnchors anchors;
    TRect after;  // after the parent grows by 100 x 50
  } cases[] = {
      {{akLeft, akTop}, Rect(200, 150, 220, 160)},
      {{akRight, akTop}, Rect(300, 150, 320, 160)},
      {{akLeft, akTop, akRight}, Rect(200, 150, 320, 160)},
      {{akLeft, akBottom}, Rect(200, 200, 220, 210)},
      {{akLeft, akTop, akRight, akBottom}, Rect(200, 150, 320, 210)},
      {{}, Rect(270, 188, 290, 198)},  // centre (210, 155) of 300 x 200 -> (280, 193) of 400 x 250
  };
  std::vector<TControl*> controls;
  for (auto& c : cases) {
    auto* control = new TControl(&host);
    control->SetParent(&host);
    control->SetBounds(200, 150, 20, 10);
    control->SetAnchors(c.anchors);
    controls.push_back(control);
  }
  host.SetBounds(100, 100, 400, 250);
  for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(controls[i]->BoundsRect(), cases[i].after) << i;
  host.SetBounds(100, 100, 300, 200);
  for (TControl* c : controls) EXPECT_EQ(c->BoundsRect(), Rect(200, 150, 220, 160));
}

TEST_F(ControlsTest, TabOrderAndNextControl) {
  THost host;
  std::vector<std::string> log;
  auto make = [&](const char* tag) {
    auto* c = LoggedChild(host, &log, tag);
    c->SetTabStop(true);
    return c;
  };
  TLogged* a = make("a");
  TLogged* b = make("b");
  TLogged* c = make("c");
  EXPECT_EQ(a->TabOrder(), 0);
  EXPECT_EQ(c->TabOrder(), 2);
  c->SetTabOrder(0);
  EXPECT_EQ(c->TabOrder(), 0);
  EXPECT_EQ(a->TabOrder(), 1);
  c->SetTabOrder(99);  // out of range: last
  EXPECT_EQ(c->TabOrder(), 2);

  // Nested: a's children come right after a.
  auto* inner = new TLogged(&host, &log, "inner");
  inner->SetParent(a);
  inner->SetTabStop(true);
  std::vector<TWinControl*> list;
  host.GetTabOrderList(list);
  EXPECT_EQ(list, (std::vector<TWinControl*>{a, inner, b, c}));

  EXPECT_EQ(host.FindNextControl(a, true, true, false), inner);
  EXPECT_EQ(host.FindNextControl(c, true, true, false), a);   // wraps around
  EXPECT_EQ(host.FindNextControl(a, false, true, false), c);  // backwards wraps
  EXPECT_EQ(host.FindNextControl(a, true, true, true), b);    // only direct children
  b->SetTabStop(false);
  inner->SetEnabled(false);
  EXPECT_EQ(host.FindNextControl(a, true, true, false), c);
  c->SetVisible(false);
  EXPECT_EQ(host.FindNextControl(a, true, true, false), a);
  EXPECT_EQ(host.FindNextControl(nullptr, true, true, false), a);

  c->SetVisible(true);
  host.HandleNeeded();
  host.SelectFirst();
  EXPECT_TRUE(a->Focused());
  host.SelectNext(a, true, true);
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(Screen->ActiveControl(), c);
}

// A parent hands messages about a child window back to the child as CN_x
// and answers with the child's answer.
TEST_F(ControlsTest, ParentReflectsChildMessagesAsNotices) {
  THost host;
  std::vector<std::string> log;
  auto* child = LoggedChild(host, &log, "child");
  child->Answer = 77;
  win::HWND parent = host.Handle();
  win::HWND ch = child->Handle();
  win::LPARAM chl = reinterpret_cast<win::LPARAM>(ch);

  win::NMHDR hdr;
  hdr.hwndFrom = ch;
  win::DRAWITEMSTRUCT dis;
  dis.CtlType = win::ODT_BUTTON;
  dis.hwndItem = ch;
  struct Case {
    win::UINT msg;
    win::LPARAM lParam;
    const char* seen;
  } cases[] = {
      {win::WM_COMMAND, chl, "child CN_COMMAND"},
      {win::WM_HSCROLL, chl, "child CN_HSCROLL"},
      {win::WM_VSCROLL, chl, "child CN_VSCROLL"},
      {win::WM_CTLCOLORSTATIC, chl, "child CN_CTLCOLORSTATIC"},
      {win::WM_CTLCOLOREDIT, chl, "child CN_CTLCOLOREDIT"},
      {win::WM_NOTIFY, reinterpret_cast<win::LPARAM>(&hdr), "child CN_NOTIFY"},
      {win::WM_DRAWITEM, reinterpret_cast<win::LPARAM>(&dis), "child CN_DRAWITEM"},
  };
  for (auto& c : cases) {
    log.clear();
    EXPECT_EQ(win::SendMessage(parent, c.msg, 0, c.lParam), 77) << c.seen;
    EXPECT_EQ(log, std::vector<std::string>{c.seen});
  }
  // A command that names no child of ours stays with the parent.
  log.clear();
  win::SendMessage(parent, win::WM_COMMAND, 1, 0);
  EXPECT_TRUE(log.empty());
}

// The message loop gives a key to the focused control as CN_KEYDOWN before
// its window gets WM_KEYDOWN; a dialog key taken by the form never arrives.
TEST_F(ControlsTest, KeysReachTheControlFirst) {
  THost host;
  std::vector<std::string> log;
  auto* edit = LoggedChild(host, &log, "edit");
  edit->SetTabStop(true);
  std::vector<win::WPARAM> keys;
  struct Sink {
    std::vector<win::WPARAM>* keys;
    void KeyDown(TObject*, Word& Key, TShiftState) { keys->push_back(Key); }
  } sink{&keys};
  edit->OnKeyDown = TKeyEvent(&sink, &Sink::KeyDown);
  host.HandleNeeded();
  edit->SetFocus();
  ASSERT_TRUE(edit->Focused());

  win::PostMessage(edit->Handle(), win::WM_KEYDOWN, 'A', 0);
  Pump();
  // The character made from the key takes the same road.
  EXPECT_EQ(log, (std::vector<std::string>{"edit CN_KEYDOWN", "edit WM_KEYDOWN", "edit CN_CHAR", "edit WM_CHAR"}));
  EXPECT_EQ(keys, std::vector<win::WPARAM>{'A'});

  struct Case {
    win::UINT msg;
    win::WPARAM key;
    std::vector<std::string> seen;
  } cases[] = {
      {win::WM_KEYUP, 'A', {"edit CN_KEYUP", "edit WM_KEYUP"}},
      {win::WM_SYSKEYDOWN, win::VK_F5, {"edit CN_SYSKEYDOWN", "edit WM_SYSKEYDOWN"}},
  };
  for (auto& c : cases) {
    log.clear();
    win::PostMessage(edit->Handle(), c.msg, c.key, 0);
    Pump();
    EXPECT_EQ(log, c.seen);
  }

  // Tab is a dialog key unless the control asks for it.
  log.clear();
  host.TakeDialogKeys = true;
  win::PostMessage(edit->Handle(), win::WM_KEYDOWN, win::VK_TAB, 0);
  Pump();
  EXPECT_EQ(log, std::vector<std::string>{"edit CN_KEYDOWN"});
  EXPECT_EQ(host.DialogKeys, std::vector<win::WPARAM>{win::VK_TAB});

  log.clear();
  edit->DlgCode = win::DLGC_WANTTAB;
  win::PostMessage(edit->Handle(), win::WM_KEYDOWN, win::VK_TAB, 0);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"edit CN_KEYDOWN", "edit WM_KEYDOWN", "edit CN_CHAR", "edit WM_CHAR"}));
}

struct TSpy {
  std::vector<win::UINT> seen;
  TWndMethod saved;
  bool swallow = false;
  void Proc(TMessage& Message) {
    // Every control hears of each focus change; that is not what is watched here.
    if (Message.Msg != CM_FOCUSCHANGED) seen.push_back(Message.Msg);
    if (swallow && Message.Msg == win::WM_USER + 5) {
      Message.Result = 5;
      return;
    }
    saved(Message);
  }
};

TEST_F(ControlsTest, WindowProcChainReplacedAndRestored) {
  THost host;
  auto* c = new TControl(&host);
  c->SetParent(&host);
  c->SetBounds(0, 0, 10, 10);
  int clicks = 0;
  struct Sink {
    int* clicks;
    void Click(TObject*) { ++*clicks; }
  } sink{&clicks};
  c->OnClick = TNotifyEvent(&sink, &Sink::Click);

  TSpy spy;
  spy.saved = c->WindowProc;
  c->WindowProc = TWndMethod(&spy, &TSpy::Proc);
  spy.swallow = true;
  EXPECT_EQ(c->Perform(win::WM_USER + 5, 0, 0), 5);
  // Messages the spy passes on still reach the control's own handling.
  c->Perform(win::WM_LBUTTONDOWN, 0, win::MAKELPARAM(1, 1));
  c->Perform(win::WM_LBUTTONUP, 0, win::MAKELPARAM(1, 1));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(spy.seen, (std::vector<win::UINT>{win::WM_USER + 5, win::WM_LBUTTONDOWN, win::WM_LBUTTONUP}));

  c->WindowProc = spy.saved;
  spy.seen.clear();
  EXPECT_EQ(c->Perform(win::WM_USER + 5, 0, 0), 0);
  EXPECT_TRUE(spy.seen.empty());

  // A windowed control's window procedure goes through WindowProc too.
  std::vector<std::string> log;
  auto* w = LoggedChild(host, &log, "w");
  TSpy wspy;
  wspy.saved = w->WindowProc;
  w->WindowProc = TWndMethod(&wspy, &TSpy::Proc);
  wspy.swallow = true;
  EXPECT_EQ(win::SendMessage(w->Handle(), win::WM_USER + 5, 0, 0), 5);
  w->WindowProc = wspy.saved;
  EXPECT_EQ(win::SendMessage(w->Handle(), win::WM_USER + 5, 0, 0), 0);
}

TEST_F(ControlsTest, RecreatedHandleKeepsChildrenAndText) {
  THost host;
  std::vector<std::string> log;
  auto* panel = LoggedChild(host, &log, "panel");
  panel->SetBounds(10, 20, 100, 50);
  auto* inner = new TLogged(&host, &log, "inner");
  inner->SetParent(panel);
  inner->SetBounds(5, 6, 30, 10);
  inner->SetText("kept");
  win::HWND oldPanel = panel->Handle();
  win::HWND oldInner = inner->Handle();
  win::SetWindowText(oldInner, "typed");  // the window's text wins

  panel->RecreateWnd();
  ASSERT_TRUE(panel->HandleAllocated());
  EXPECT_FALSE(win::IsWindow(oldPanel));
  EXPECT_FALSE(win::IsWindow(oldInner));
  ASSERT_TRUE(inner->HandleAllocated());
  EXPECT_EQ(win::GetParent(inner->Handle()), panel->Handle());
  EXPECT_EQ(win::GetParent(panel->Handle()), host.Handle());
  EXPECT_EQ(FindControl(inner->Handle()), inner);
  EXPECT_EQ(FindControl(oldInner), nullptr);
  EXPECT_EQ(win::GetWindowText(inner->Handle()), "typed");
  EXPECT_EQ(inner->BoundsRect(), Rect(5, 6, 35, 16));
  EXPECT_EQ(panel->ClientOrigin(), Point(110, 120));
}

TEST_F(ControlsTest, HandleWithoutParentIsRefused) {
  TLogged* orphan = nullptr;
  std::vector<std::string> log;
  orphan = new TLogged(nullptr, &log, "orphan");
  orphan->SetName("Orphan");
  try {
    orphan->HandleNeeded();
    ADD_FAILURE() << "no exception";
  } catch (EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "Control 'Orphan' has no parent window");
  }
  orphan->Free();
}

// The mouse over a graphic control reaches it through its parent's window,
// in its own coordinates; a click needs the button to go up inside.
TEST_F(ControlsTest, GraphicChildGetsMouseInItsCoordinates) {
  THost host;
  auto* g = new TGraphicControl(&host);
  g->SetParent(&host);
  g->SetBounds(40, 30, 20, 10);
  std::vector<TPoint> downs;
  int clicks = 0;
  struct Sink {
    std::vector<TPoint>* downs;
    int* clicks;
    void Down(TObject*, TMouseButton, TShiftState, Integer X, Integer Y) { downs->push_back({X, Y}); }
    void Click(TObject*) { ++*clicks; }
  } sink{&downs, &clicks};
  g->OnMouseDown = TMouseEvent(&sink, &Sink::Down);
  g->OnClick = TNotifyEvent(&sink, &Sink::Click);
  win::HWND h = host.Handle();
  win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(45, 33));
  win::SendMessage(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(46, 34));
  EXPECT_EQ(downs, std::vector<TPoint>{Point(5, 3)});
  EXPECT_EQ(clicks, 1);
  win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(45, 33));
  win::SendMessage(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(5, 5));  // captured, released outside
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs.size(), 2u);
}

class TDragSink {
 public:
  std::vector<std::string> log;
  bool accept = true;
  void DragOver(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
    (void)Sender;
    (void)Source;
    log.push_back("over " + std::to_string(State) + " " + std::to_string(X) + "," + std::to_string(Y));
    Accept = accept;
  }
  void DragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y) {
    (void)Sender;
    log.push_back("drop from " + static_cast<TComponent*>(Source)->Name() + " at " + std::to_string(X) + "," +
                  std::to_string(Y));
  }
  void EndDrag(TObject* Sender, TObject* Target, Integer X, Integer Y) {
    (void)Sender;
    log.push_back(std::string("end ") + (Target ? static_cast<TComponent*>(Target)->Name() : "nil") + " " +
                  std::to_string(X) + "," + std::to_string(Y));
  }
};

TEST_F(ControlsTest, DragAndDropBetweenTwoControls) {
  THost host;
  std::vector<std::string> unused;
  auto* source = new TLogged(&host, &unused, "s");
  source->SetName("source");
  source->SetParent(&host);
  source->SetBounds(10, 10, 50, 20);
  auto* target = new TLogged(&host, &unused, "t");
  target->SetName("target");
  target->SetParent(&host);
  target->SetBounds(100, 100, 50, 20);
  TDragSink sink;
  target->OnDragOver = TDragOverEvent(&sink, &TDragSink::DragOver);
  target->OnDragDrop = TDragDropEvent(&sink, &TDragSink::DragDrop);
  source->OnEndDrag = TEndDragEvent(&sink, &TDragSink::EndDrag);
  host.HandleNeeded();

  // Through the mouse: press on the source, move past the threshold onto
  // the target, release.
  source->SetDragMode(dmAutomatic);
  win::InjectMouseButton(win::VK_LBUTTON, true, {115, 115});
  Pump();
  ASSERT_EQ(DragControl(), source);
  win::InjectMouseMove({117, 116});  // within the threshold: nothing yet
  Pump();
  EXPECT_TRUE(sink.log.empty());
  win::InjectMouseMove({205, 205});
  Pump();
  win::InjectMouseMove({210, 206});
  Pump();
  win::InjectMouseButton(win::VK_LBUTTON, false, {210, 206});
  Pump();
  EXPECT_EQ(DragControl(), nullptr);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"over 0 5,5", "over 2 5,5", "over 2 10,6", "over 1 10,6",
                                                "drop from source at 10,6", "end target 10,6"}));

  // Refused by the target: no drop, the source hears of no target.
  sink.log.clear();
  sink.accept = false;
  win::SetCursorPos(5, 5);  // nowhere over our windows
  source->BeginDrag(true);
  DragTo(target->ClientToScreen({3, 4}));
  DragDone(true);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"over 0 3,4", "over 2 3,4", "over 1 3,4", "end nil 0,0"}));
}

// Esc cancels a drag; the source hears that nothing took it.
TEST_F(ControlsTest, CancelledDragEndsWithoutTarget) {
  THost host;
  std::vector<std::string> unused;
  auto* source = LoggedChild(host, &unused, "s");
  TDragSink sink;
  source->OnEndDrag = TEndDragEvent(&sink, &TDragSink::EndDrag);
  host.HandleNeeded();
  source->BeginDrag(true);
  ASSERT_TRUE(source->Dragging());
  win::PostMessage(DragObject()->DragHandle, win::WM_KEYDOWN, win::VK_ESCAPE, 0);
  Pump();
  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(sink.log, std::vector<std::string>{"end nil 0,0"});
}

TEST_F(ControlsTest, ParentFontAndColorFollowTheParent) {
  THost host;
  auto* c = new TControl(&host);
  c->SetParent(&host);
  host.SetColor(clBtnFace);
  EXPECT_NE(c->Color(), clBtnFace);  // not ParentColor
  c->SetParentColor(true);
  EXPECT_EQ(c->Color(), clBtnFace);
  host.SetColor(clRed);
  EXPECT_EQ(c->Color(), clRed);
  host.Font()->SetName("Courier New");
  EXPECT_EQ(c->Font()->GetName(), "Courier New");
  c->Font()->SetName("Arial");
  EXPECT_FALSE(c->ParentFont());
  host.Font()->SetName("Verdana");
  EXPECT_EQ(c->Font()->GetName(), "Arial");
}

// A creation parameter (the reading order) changes: the window is made anew.
TEST_F(ControlsTest, ReadingOrderRecreatesTheWindow) {
  THost host;
  std::vector<std::string> log;
  auto* c = LoggedChild(host, &log, "c");
  win::HWND before = c->Handle();
  EXPECT_EQ(win::GetWindowLong(before, win::GWL_EXSTYLE) & static_cast<win::LONG>(win::WS_EX_RTLREADING), 0);
  c->SetBiDiMode(bdRightToLeft);
  EXPECT_FALSE(win::IsWindow(before));
  EXPECT_NE(win::GetWindowLong(c->Handle(), win::GWL_EXSTYLE) & static_cast<win::LONG>(win::WS_EX_RTLREADING), 0);
}

// The reading order follows the parent's until the control is given one.
TEST_F(ControlsTest, ReadingOrderFollowsTheParentUntilSet) {
  THost host;
  host.SetBiDiMode(bdRightToLeft);
  auto* follower = new TControl(&host);
  follower->SetParent(&host);
  auto* own = new TControl(&host);
  own->SetParent(&host);
  EXPECT_TRUE(follower->ParentBiDiMode());
  EXPECT_EQ(follower->BiDiMode(), bdRightToLeft) << "taken when placed";
  own->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(own->ParentBiDiMode());
  host.SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(follower->BiDiMode(), bdRightToLeftReadingOnly) << "follows a change";
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight) << "keeps its own";
  own->SetParentBiDiMode(true);
  EXPECT_EQ(own->BiDiMode(), bdRightToLeftReadingOnly) << "follows again once told to";
}

class TPopupSpy : public TComponent, public IPopupComponent {
 public:
  using TComponent::TComponent;
  std::vector<std::string> calls;
  bool Auto = true;
  bool AutoPopup() const override { return Auto; }
  void SetPopupComponent(TComponent* Component) override { calls.push_back("for " + Component->Name()); }
  void Popup(Integer X, Integer Y) override { calls.push_back("at " + std::to_string(X) + "," + std::to_string(Y)); }
};

TEST_F(ControlsTest, ContextMenuPopsUpThePopupMenu) {
  THost host;
  auto* c = new TControl(&host);
  c->SetName("grid");
  c->SetParent(&host);
  c->SetBounds(10, 10, 50, 50);
  TPopupSpy menu(nullptr);
  c->SetPopupMenu(&menu);
  // By the mouse at a screen point, by the keyboard at the control's corner.
  EXPECT_EQ(c->Perform(win::WM_CONTEXTMENU, 0, win::MAKELPARAM(130, 140)), 1);
  EXPECT_EQ(c->Perform(win::WM_CONTEXTMENU, 0, win::MAKELPARAM(0xFFFF, 0xFFFF)), 1);
  EXPECT_EQ(menu.calls, (std::vector<std::string>{"for grid", "at 130,140", "for grid", "at 110,110"}));

  // OnContextPopup may take it first.
  struct Sink {
    std::vector<TPoint> at;
    void OnContextPopup(TObject*, TPoint MousePos, bool& Handled) {
      at.push_back(MousePos);
      Handled = true;
    }
  } sink;
  c->OnContextPopup = TContextPopupEvent(&sink, &Sink::OnContextPopup);
  menu.calls.clear();
  EXPECT_EQ(c->Perform(win::WM_CONTEXTMENU, 0, win::MAKELPARAM(130, 140)), 1);
  EXPECT_EQ(sink.at, std::vector<TPoint>{Point(20, 30)});
  EXPECT_TRUE(menu.calls.empty());
}

TEST_F(ControlsTest, PopupMenuIsForgottenWhenFreed) {
  TControl c(nullptr);
  auto* menu = new TPopupSpy(nullptr);
  c.SetPopupMenu(menu);
  menu->Free();
  EXPECT_EQ(c.PopupMenu(), nullptr);
}

// Painting with a DC in wParam: the window paints, then each graphic child
// with its own origin and clip; a control's PaintTo does the same elsewhere.
TEST_F(ControlsTest, PaintWithAGivenDC) {
  struct TPainted : TCustomControl {
    explicit TPainted(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::vector<win::HDC> dcs;
    void Paint() override { dcs.push_back(Canvas()->Handle()); }
  };
  struct TGraphic : TGraphicControl {
    explicit TGraphic(TComponent* AOwner) : TGraphicControl(AOwner) {}
    std::vector<win::POINT> origins;
    void Paint() override {
      win::POINT p;
      win::GetViewportOrgEx(Canvas()->Handle(), &p);
      origins.push_back(p);
    }
  };
  THost host;
  auto* panel = new TPainted(&host);
  panel->SetParent(&host);
  panel->SetBounds(0, 0, 100, 100);
  auto* g = new TGraphic(&host);
  g->SetParent(panel);
  g->SetBounds(7, 9, 20, 20);
  auto* hidden = new TGraphic(&host);
  hidden->SetParent(panel);
  hidden->SetVisible(false);
  win::HDC dc = win::CreateCompatibleDC(nullptr);
  win::HBITMAP bmp = win::CreateCompatibleBitmap(dc, 200, 200);
  win::HGDIOBJ old = win::SelectObject(dc, bmp);
  win::SendMessage(panel->Handle(), win::WM_PAINT, reinterpret_cast<win::WPARAM>(dc), 0);
  EXPECT_EQ(panel->dcs, std::vector<win::HDC>{dc});
  EXPECT_EQ(g->origins, (std::vector<win::POINT>{{7, 9}}));
  EXPECT_TRUE(hidden->origins.empty());
  panel->PaintTo(dc, 50, 60);
  EXPECT_EQ(g->origins.back(), (win::POINT{57, 69}));
  // A painter that throws leaves the DC as it found it: origin, clipping and
  // the canvas's hold on it are all undone on the way out.
  struct TFailing : TGraphicControl {
    explicit TFailing(TComponent* AOwner) : TGraphicControl(AOwner) {}
    void Paint() override { throw Exception("paint failed"); }
  };
  auto* failing = new TFailing(&host);
  failing->SetParent(panel);
  failing->SetBounds(30, 30, 20, 20);
  EXPECT_THROW(panel->PaintTo(dc, 50, 60), Exception);
  win::POINT origin{-1, -1};
  win::GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin, (win::POINT{0, 0}));
  win::RECT clip{};
  EXPECT_EQ(win::GetClipBox(dc, &clip), win::SIMPLEREGION);
  EXPECT_EQ(clip, (win::RECT{0, 0, 200, 200}));
  EXPECT_FALSE(failing->Canvas()->HandleAllocated());
  win::SelectObject(dc, old);
  win::DeleteObject(bmp);
  win::DeleteDC(dc);
}

// A painter that holds a control as const reads its geometry.
TEST_F(ControlsTest, GeometryIsReadableThroughAConstControl) {
  THost host;
  auto* panel = new TCustomControl(&host);
  panel->SetParent(&host);
  panel->SetBounds(10, 20, 60, 40);
  const TControl& seen = *panel;
  EXPECT_EQ(seen.ClientRect(), Rect(0, 0, 60, 40));
  EXPECT_EQ(seen.ClientWidth(), 60);
  EXPECT_EQ(seen.ClientHeight(), 40);
  const TPoint origin = seen.ClientOrigin();
  EXPECT_EQ(origin, (TPoint{host.Left() + 10, host.Top() + 20}));
  EXPECT_EQ(seen.ClientToScreen(TPoint{1, 2}), (TPoint{origin.X + 1, origin.Y + 2}));
  EXPECT_EQ(seen.ScreenToClient(origin), (TPoint{0, 0}));
}

TEST_F(ControlsTest, FocusMovesWithEnterAndExit) {
  THost host;
  std::vector<std::string> log;
  auto* a = LoggedChild(host, &log, "a");
  auto* b = LoggedChild(host, &log, "b");
  struct Sink {
    std::vector<std::string> seen;
    void Enter(TObject* Sender) { seen.push_back("enter " + static_cast<TComponent*>(Sender)->Name()); }
    void Exit(TObject* Sender) { seen.push_back("exit " + static_cast<TComponent*>(Sender)->Name()); }
  } sink;
  a->SetName("a");
  b->SetName("b");
  for (TWinControl* w : {static_cast<TWinControl*>(a), static_cast<TWinControl*>(b)}) {
    w->OnEnter = TNotifyEvent(&sink, &Sink::Enter);
    w->OnExit = TNotifyEvent(&sink, &Sink::Exit);
  }
  a->SetFocus();
  b->SetFocus();
  EXPECT_EQ(sink.seen, (std::vector<std::string>{"enter a", "exit a", "enter b"}));
  b->SetEnabled(false);
  EXPECT_FALSE(b->CanFocus());
  EXPECT_THROW(b->SetFocus(), EInvalidOperation);
}

// The target going away in the middle of a drag leaves nothing dangling.
TEST_F(ControlsTest, TargetFreedDuringTheDrag) {
  THost host;
  std::vector<std::string> unused;
  auto* source = LoggedChild(host, &unused, "s");
  auto* target = LoggedChild(host, &unused, "t");
  target->SetBounds(100, 100, 50, 20);
  TDragSink sink;
  target->OnDragOver = TDragOverEvent(&sink, &TDragSink::DragOver);
  target->OnDragDrop = TDragDropEvent(&sink, &TDragSink::DragDrop);
  source->OnEndDrag = TEndDragEvent(&sink, &TDragSink::EndDrag);
  host.HandleNeeded();
  source->BeginDrag(true);
  DragTo(target->ClientToScreen({1, 1}));
  target->Free();
  sink.log.clear();
  DragDone(true);
  EXPECT_EQ(sink.log, std::vector<std::string>{"end nil 0,0"});
}

// A wheel notch nobody on the control takes goes on to the parent.
TEST_F(ControlsTest, UnhandledWheelGoesToTheParent) {
  THost host;
  auto* c = new TControl(&host);
  c->SetParent(&host);
  struct Sink {
    std::vector<std::string> seen;
    bool take = false;
    void Wheel(TObject* Sender, TShiftState, Integer Delta, TPoint, bool& Handled) {
      seen.push_back((dynamic_cast<THost*>(Sender) ? "host " : "child ") + std::to_string(Delta));
      Handled = take && !dynamic_cast<THost*>(Sender);
    }
  } sink;
  c->OnMouseWheel = TMouseWheelEvent(&sink, &Sink::Wheel);
  host.OnMouseWheel = TMouseWheelEvent(&sink, &Sink::Wheel);
  win::WPARAM down = win::MAKEWPARAM(0, static_cast<win::WORD>(-120));
  EXPECT_EQ(c->Perform(win::WM_MOUSEWHEEL, down, 0), 0);
  sink.take = true;
  EXPECT_EQ(c->Perform(win::WM_MOUSEWHEEL, down, 0), 1);
  EXPECT_EQ(sink.seen, (std::vector<std::string>{"child -120", "host -120", "child -120"}));
}

// A form that previews keys sees them first and may keep them.
TEST_F(ControlsTest, KeyPreviewSeesKeysFirst) {
  struct TPreviewing : THost {
    bool preview = true;
    bool PreviewsKeys() const override { return preview; }
  } host;
  std::vector<std::string> log;
  auto* edit = LoggedChild(host, &log, "edit");
  struct Sink {
    std::vector<std::string> seen;
    void HostKey(TObject*, Word& Key, TShiftState) {
      seen.push_back("host " + std::to_string(Key));
      if (Key == win::VK_F2) Key = 0;
    }
    void EditKey(TObject*, Word& Key, TShiftState) { seen.push_back("edit " + std::to_string(Key)); }
  } sink;
  host.OnKeyDown = TKeyEvent(&sink, &Sink::HostKey);
  edit->OnKeyDown = TKeyEvent(&sink, &Sink::EditKey);
  win::SendMessage(edit->Handle(), win::WM_KEYDOWN, win::VK_F1, 0);
  win::SendMessage(edit->Handle(), win::WM_KEYDOWN, win::VK_F2, 0);
  host.preview = false;
  win::SendMessage(edit->Handle(), win::WM_KEYDOWN, win::VK_F2, 0);
  EXPECT_EQ(sink.seen, (std::vector<std::string>{"host 112", "edit 112", "host 113", "edit 113"}));
}

// A change of system settings or colours reaches every control as a notice.
TEST_F(ControlsTest, SystemChangesReachEveryControl) {
  THost host;
  auto* panel = LoggedChild(host, nullptr, "panel");
  auto* c = new TControl(&host);
  c->SetParent(panel);
  TSpy spy;
  spy.saved = c->WindowProc;
  c->WindowProc = TWndMethod(&spy, &TSpy::Proc);
  win::SendMessage(host.Handle(), win::WM_SETTINGCHANGE, 0x2A, 0);
  win::SendMessage(host.Handle(), win::WM_SYSCOLORCHANGE, 0, 0);
  c->WindowProc = spy.saved;
  EXPECT_EQ(spy.seen, (std::vector<win::UINT>{CM_WININICHANGE, CM_SYSCOLORCHANGE}));
}

// Controls hear when they start or stop being shown, also when it is their
// parent that appears or goes.
TEST_F(ControlsTest, ShowingChangesReachTheChildren) {
  struct TWatcher : TCustomControl {
    explicit TWatcher(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::vector<bool> seen;
    void Dispatch(TMessage& Message) override {
      if (Message.Msg == CM_SHOWINGCHANGED) seen.push_back(Showing());
      TCustomControl::Dispatch(Message);
    }
  };
  THost host;
  auto* panel = new TWatcher(&host);
  panel->SetParent(&host);
  auto* inner = new TWatcher(&host);
  inner->SetParent(panel);
  host.HandleNeeded();
  EXPECT_EQ(inner->seen, std::vector<bool>{true});
  host.SetVisible(false);
  EXPECT_EQ(panel->seen, (std::vector<bool>{true, false}));
  EXPECT_EQ(inner->seen, (std::vector<bool>{true, false}));
  host.SetVisible(true);
  inner->SetVisible(false);
  EXPECT_EQ(panel->seen, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(inner->seen, (std::vector<bool>{true, false, true, false}));
}

// What Paint draws reaches the window's surface, straight or through the
// double buffer, and the window's own colour fills the rest.
TEST_F(ControlsTest, PaintReachesTheScreen) {
  struct TBox : TCustomControl {
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    void Paint() override {
      win::RECT r{2, 2, 12, 12};
      win::HBRUSH red = win::CreateSolidBrush(win::RGB(255, 0, 0));
      win::FillRect(Canvas()->Handle(), &r, red);
      win::DeleteObject(red);
    }
  };
  for (bool buffered : {false, true}) {
    THost host;
    auto* box = new TBox(&host);
    box->SetParent(&host);
    box->SetBounds(20, 30, 40, 40);
    box->SetColor(clBlue);
    box->DoubleBuffered = buffered;
    host.HandleNeeded();
    box->Repaint();
    win::SurfacePixels s;
    ASSERT_TRUE(win::GetWindowSurface(host.Handle(), &s));
    auto pixel = [&](int x, int y) { return s.pixels[y * (s.strideBytes / 4) + x]; };
    EXPECT_EQ(pixel(20 + 5, 30 + 5), 0xFF0000u) << buffered;  // 0x00RRGGBB
    EXPECT_EQ(pixel(20 + 30, 30 + 30), 0x0000FFu) << buffered;
  }
}

// Code that chooses controls and containers by class asks for the class
// library's base classes; each named control stands below its own.
TEST(ControlClassTree, NamedControlsStandBelowTheirLibraryBases) {
  struct Case {
    TClass Control, Base, Above;
  };
  const Case cases[] = {
      {TComboBox::StaticClass(), TCustomCombo::StaticClass(), TWinControl::StaticClass()},
      {TComboBox::StaticClass(), TCustomComboBox::StaticClass(), TCustomCombo::StaticClass()},
      {TCheckBox::StaticClass(), TCustomCheckBox::StaticClass(), TButtonControl::StaticClass()},
      {TPanel::StaticClass(), TCustomPanel::StaticClass(), TCustomControl::StaticClass()},
      {TGroupBox::StaticClass(), TCustomGroupBox::StaticClass(), TCustomControl::StaticClass()},
      {TTreeView::StaticClass(), TCustomTreeView::StaticClass(), TCustomControl::StaticClass()},
      {TForm::StaticClass(), TCustomForm::StaticClass(), TScrollingWinControl::StaticClass()},
      {TScrollBox::StaticClass(), TScrollingWinControl::StaticClass(), TWinControl::StaticClass()},
      {TTabSheet::StaticClass(), TWinControl::StaticClass(), TControl::StaticClass()},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(c.Control->InheritsFrom(c.Base)) << c.Control->Name << " / " << c.Base->Name;
    EXPECT_TRUE(c.Base->InheritsFrom(c.Above)) << c.Base->Name << " / " << c.Above->Name;
  }
  // Neighbours do not cross over.
  EXPECT_FALSE(TRadioButton::StaticClass()->InheritsFrom(TCustomCheckBox::StaticClass()));
  EXPECT_FALSE(TListBox::StaticClass()->InheritsFrom(TCustomCombo::StaticClass()));
  EXPECT_FALSE(TToolBar::StaticClass()->InheritsFrom(TCustomPanel::StaticClass()));
  EXPECT_FALSE(TScrollingWinControl::StaticClass()->InheritsFrom(TCustomControl::StaticClass()));
  EXPECT_EQ(FindClass("TTabSheet"), TTabSheet::StaticClass());
}

// Ctl3D follows the parent until it is set; setting it stops following.
TEST_F(HostedTest, Ctl3DFollowsTheParentUntilSet) {
  auto* panel = Place<TPanel>(0, 0, 100, 100);
  auto* inner = new TPanel(host.get());
  inner->SetParent(panel);
  EXPECT_TRUE(inner->Ctl3D());
  host->SetCtl3D(false);
  EXPECT_FALSE(panel->Ctl3D());
  EXPECT_FALSE(inner->Ctl3D());
  EXPECT_TRUE(inner->ParentCtl3D());
  inner->SetCtl3D(true);
  EXPECT_FALSE(inner->ParentCtl3D());
  host->SetCtl3D(true);
  panel->SetCtl3D(false);
  EXPECT_TRUE(inner->Ctl3D());
  inner->SetParentCtl3D(true);
  EXPECT_FALSE(inner->Ctl3D());
}

}  // namespace
