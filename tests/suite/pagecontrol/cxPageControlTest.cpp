// A page control with three sheets on a form, driven by injected mouse and
// keys: which page shows, where the focus goes, which events fire and what
// a refusal keeps; pages hidden, moved and removed; the form stream.
#include "suite/pagecontrol/cxPageControl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/DockForm.h"
#include "platform/forms/Docking.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Input.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

// Tabs are 10 pixels per caption character wide and 20 high, from the left.
class PageControlTest : public FormTest {
 public:
  void SetUp() override {
    FormTest::SetUp();
    pc = new TcxPageControl(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(10, 10, 300, 200);
    for (const char* caption : {"&One", "&Two", "T&hree"}) {
      auto* page = new TcxTabSheet(form.get());
      page->SetCaption(caption);
      page->SetPageControl(pc);
      auto* edit = new TEdit(form.get());
      edit->SetParent(page);
      edit->SetBounds(5, 5, 80, 20);
      pages.push_back(page);
      edits.push_back(edit);
      page->OnShow = TNotifyEvent(this, &PageControlTest::Shown);
      page->OnHide = TNotifyEvent(this, &PageControlTest::Hidden);
    }
    pc->OnChange = TNotifyEvent(this, &PageControlTest::Changed);
    pc->OnPageChanging = TcxPageChangingEvent(this, &PageControlTest::PageChanging);
    form->Show();
    Pump();
    log.clear();
  }
  // A point of a tab's visible rect, on the screen (the middle, or near
  // its left edge).
  win::POINT TabPoint(Integer tabIndex, bool nearLeft = false) {
    const TRect r = pc->Tabs()->GetTab(tabIndex)->VisibleRect();
    return Screen(pc, nearLeft ? r.Left + 3 : (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Named pages without their edits and events, ready to be written.
  void PrepareForStream() {
    pages[0]->SetName("First");
    pages[1]->SetName("Second");
    pages[2]->SetName("Third");
    pc->SetName("Pages");
    form->SetName("Host");
    for (TEdit* e : edits) delete e;
    pc->OnChange = nullptr;
    pc->OnPageChanging = nullptr;
    for (TcxTabSheet* page : pages) page->OnShow = page->OnHide = nullptr;
  }
  void Key(win::UINT vk, bool shift = false, bool ctrl = false, bool alt = false) {
    win::InjectKeyPress(vk, shift, ctrl, alt);
    Pump();
  }

  void Changed(TObject*) { log.push_back("change " + Active()); }
  void PageChanging(TObject*, TcxTabSheet* page, bool& allow) {
    log.push_back("changing " + (page ? page->Caption() : std::string("nil")));
    allow = allowChange;
  }
  void Shown(TObject* sender) { log.push_back("show " + static_cast<TcxTabSheet*>(sender)->Caption()); }
  void Hidden(TObject* sender) { log.push_back("hide " + static_cast<TcxTabSheet*>(sender)->Caption()); }
  std::string Active() { return pc->ActivePage() ? pc->ActivePage()->Caption() : "nil"; }
  void ExpectActive(Integer page) {
    EXPECT_EQ(pc->ActivePage(), pages[static_cast<size_t>(page)]);
    EXPECT_EQ(pc->TabIndex(), page);
    for (Integer i = 0; i < 3; ++i) EXPECT_EQ(pages[static_cast<size_t>(i)]->Visible(), i == page) << i;
  }

  FactoryScope factory{{&PlainFakeClass()}};
  TcxPageControl* pc = nullptr;
  std::vector<TcxTabSheet*> pages;
  std::vector<TEdit*> edits;
  std::vector<std::string> log;
  bool allowChange = true;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(PageControlTest, ANewPageControl) {
  TcxPageControl fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 289);
  EXPECT_EQ(fresh.Height(), 193);
  EXPECT_TRUE(fresh.TabStop());
  EXPECT_EQ(fresh.Options(), (TcxPCOptions{pcoGradient, pcoGradientClientArea}));
  EXPECT_EQ(fresh.NavigatorPosition(), npRightTop);
  EXPECT_EQ(fresh.ActivePage(), nullptr);
  EXPECT_EQ(fresh.ActivePageIndex(), -1);
  // The first page joined becomes the active one and only it shows.
  ExpectActive(0);
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pages[2]->PageIndex(), 2);
  EXPECT_EQ(pc->Tabs()->GetTab(2)->Caption(), "T&hree");
  EXPECT_EQ(pages[0]->BoundsRect(), pc->DisplayClientRect());
}

TEST_F(PageControlTest, SwitchingByMouseAndKeys) {
  edits[0]->SetFocus();
  Pump();
  log.clear();
  win::InjectClick(TabPoint(1));
  Pump();
  ExpectActive(1);
  EXPECT_EQ(log, (Log{"changing &Two", "show &Two", "hide &One", "change &Two"}));
  EXPECT_FALSE(pc->Focused()) << "a click on another page's tab does not focus the control";
  EXPECT_EQ(form->ActiveControl(), edits[1]) << "the focus moved on with the page";
  // A click on the active page's tab focuses the control (away from the
  // first click, so that it is no double click).
  win::InjectClick(TabPoint(1, true));
  Pump();
  EXPECT_TRUE(pc->Focused());

  // Ctrl+Tab in an edit on the page goes on, wrapping; the focus follows to
  // the new page's first control.
  edits[1]->SetFocus();
  Pump();
  log.clear();
  Key(win::VK_TAB, false, true);
  ExpectActive(2);
  EXPECT_EQ(log, (Log{"changing T&hree", "show T&hree", "hide &Two", "change T&hree"}));
  EXPECT_EQ(form->ActiveControl(), edits[2]);
  Key(win::VK_TAB, false, true);
  ExpectActive(0);
  Key(win::VK_TAB, true, true);
  ExpectActive(2);
  EXPECT_EQ(form->ActiveControl(), edits[2]);

  // Arrows on the focused control move without wrapping.
  pc->SetFocus();
  Pump();
  Key(win::VK_RIGHT);
  ExpectActive(2);
  Key(win::VK_LEFT);
  ExpectActive(1);
  Key(win::VK_HOME);
  ExpectActive(0);
  Key(win::VK_END);
  ExpectActive(2);
  Key(win::VK_RIGHT, false, false, true);  // Alt+Right is the form's
  ExpectActive(2);

  // An accelerator from anywhere on the form.
  edits[2]->SetFocus();
  Pump();
  Key('T', false, false, true);
  ExpectActive(1);
  // Disabled pages are skipped and ignore their accelerator.
  pages[0]->SetEnabled(false);
  Key('O', false, false, true);
  ExpectActive(1);
  pc->SetFocus();
  Pump();
  Key(win::VK_LEFT);
  ExpectActive(1);
}

TEST_F(PageControlTest, ARefusalKeepsPageAndTab) {
  allowChange = false;
  win::InjectClick(TabPoint(2));
  Pump();
  edits[0]->SetFocus();
  Pump();
  Key(win::VK_TAB, false, true);
  pc->SetActivePage(pages[1]);
  ExpectActive(0);
  EXPECT_EQ(log, (Log{"changing T&hree", "changing &Two", "changing &Two"}));

  // The tab control's own changing event is asked first.
  allowChange = true;
  log.clear();
  pc->OnTabChanging = TcxTabChangingEvent(+[](TObject*, bool& allow) { allow = false; });
  win::InjectClick(TabPoint(2));
  Pump();
  ExpectActive(0);
  EXPECT_TRUE(log.empty());
  // Code that sets ActivePage asks OnPageChanging and fires OnChange once.
  pc->OnTabChanging = nullptr;
  pc->SetActivePage(pages[2]);
  ExpectActive(2);
  EXPECT_EQ(log, (Log{"changing T&hree", "show T&hree", "hide &One", "change T&hree"}));
}

TEST_F(PageControlTest, FocusThatCannotLeaveThePageSpringsTheTabBack) {
  struct Stubborn {
    TEdit* edit;
    void Exit(TObject*) { edit->SetFocus(); }
  } stubborn{edits[0]};
  edits[0]->SetFocus();
  Pump();
  edits[0]->OnExit = TNotifyEvent(&stubborn, &Stubborn::Exit);
  win::InjectClick(TabPoint(1));
  Pump();
  edits[0]->OnExit = nullptr;
  ExpectActive(0);
  EXPECT_EQ(form->ActiveControl(), edits[0]);
}

TEST_F(PageControlTest, HidingMovingAndRemovingPages) {
  pc->SetActivePage(pages[1]);
  log.clear();
  // Hiding the active page's tab shows the next visible page, with events.
  pages[1]->SetTabVisible(false);
  ExpectActive(2);
  EXPECT_EQ(log, (Log{"changing T&hree", "show T&hree", "hide &Two", "change T&hree"}));
  // A page whose tab is hidden can still be shown; no tab is selected then.
  pc->SetActivePage(pages[1]);
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  EXPECT_TRUE(pages[1]->Visible());
  EXPECT_EQ(pc->TabIndex(), -1);
  pages[1]->SetTabVisible(true);
  EXPECT_EQ(pc->TabIndex(), 1);

  // PageIndex: bounds, and a move selects the moved page.
  try {
    pages[0]->SetPageIndex(3);
    ADD_FAILURE() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "3 is an invalid PageIndex value.  PageIndex must be between 0 and 2");
  }
  EXPECT_THROW(pages[0]->SetPageIndex(-1), EListError);
  pages[2]->SetPageIndex(0);
  EXPECT_EQ(pc->Pages(0), pages[2]);
  EXPECT_EQ(pc->Tabs()->GetTab(0)->Caption(), "T&hree");
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_EQ(pc->TabIndex(), 0);
  pages[2]->SetPageIndex(2);

  // Removing a page that is not active keeps the active one, silently.
  pc->SetActivePage(pages[2]);
  log.clear();
  delete pages[0];
  EXPECT_EQ(pc->ActivePage(), pages[2]);
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_TRUE(log.empty());
  // Removing the active page activates the next one, cyclically.
  delete pages[2];
  EXPECT_EQ(pc->ActivePage(), pages[1]);
  EXPECT_EQ(pc->TabIndex(), 0);
  EXPECT_TRUE(pages[1]->Visible());
  delete pages[1];
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->PageCount(), 0);
  EXPECT_EQ(pc->TabIndex(), -1);
}

TEST_F(PageControlTest, ASingleHiddenTabAndDisabledPages) {
  // Disabled pages are skipped when looking for the next page.
  pages[1]->SetEnabled(false);
  EXPECT_EQ(pc->FindNextPage(pages[0], true, true), pages[2]);
  EXPECT_EQ(pc->FindNextPage(pages[0], true, false), pages[1]);
  EXPECT_EQ(pc->FindNextPage(pages[0], false, true), pages[2]);
  delete pages[1];
  delete pages[2];
  pages[0]->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(pc->TabIndex(), -1);
}

TEST_F(PageControlTest, PagesOnlyLiveInAPageControl) {
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  EXPECT_THROW(pages[2]->SetParent(panel), EAbort);  // the silent exception
  EXPECT_EQ(pages[2]->Parent(), pc);
  EXPECT_EQ(pc->PageCount(), 3);
  // Moving a page to another page control.
  auto* other = new TcxPageControl(form.get());
  other->SetParent(form.get());
  pages[2]->SetPageControl(other);
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(other->ActivePage(), pages[2]);
  EXPECT_EQ(pages[2]->Parent(), other);
  EXPECT_EQ(pages[2]->PageIndex(), 0);
}

TEST_F(PageControlTest, CloseButtonAsksAndFreesTheActivePage) {
  pc->SetOptions({pcoCloseButton});
  struct Asker {
    bool answer = false;
    Integer asked = 0;
    void CanClose(TObject*, bool& canClose) {
      ++asked;
      canClose = answer;
    }
  } asker;
  pc->OnCanClose = TcxPCCanCloseEvent(&asker, &Asker::CanClose);
  ASSERT_TRUE(pc->ShownNavigatorButtons().Contains(nbClose));
  const win::POINT close = Screen(pc, pc->Width() - 7, 10);
  win::InjectClick(close);
  Pump();
  EXPECT_EQ(asker.asked, 1);
  EXPECT_EQ(pc->PageCount(), 3);
  asker.answer = true;
  TcxTabSheet* second = pages[1];
  win::InjectClick(close);
  Pump();
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), second);
}

TEST_F(PageControlTest, TheFormStreamListsPagesInOrderAndRestoresTheActivePage) {
  PrepareForStream();
  pages[2]->SetPageIndex(0);
  pc->SetActivePage(pages[1]);
  const std::string text = WriteComponentText(form.get());
  EXPECT_NE(text.find("ClientRectRight"), std::string::npos) << text;
  EXPECT_NE(text.find("ClientRectTop"), std::string::npos) << text;
  const size_t third = text.find("object Third");
  const size_t first = text.find("object First");
  ASSERT_NE(third, std::string::npos) << text;
  EXPECT_LT(third, first) << "pages follow their page order";

  log.clear();
  auto copy = std::make_unique<TForm>(nullptr);
  ReadComponentText(text, copy.get());
  auto* read = dynamic_cast<TcxPageControl*>(copy->FindComponent("Pages"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->PageCount(), 3);
  EXPECT_EQ(read->Pages(0)->Name(), "Third");
  ASSERT_NE(read->ActivePage(), nullptr);
  EXPECT_EQ(read->ActivePage()->Name(), "Second");
  EXPECT_EQ(read->TabIndex(), 2);
  EXPECT_TRUE(read->ActivePage()->Visible());
  EXPECT_FALSE(read->Pages(0)->Visible());
}

// A page control that takes dock clients, and a panel beside it dragged as one.
class PageControlDockingTest : public PageControlTest {
 public:
  void SetUp() override {
    PageControlTest::SetUp();
    pc->SetDockSite(true);
    client = new TPanel(form.get());
    client->SetName("client");
    client->SetParent(form.get());
    client->SetBounds(320, 20, 60, 50);
    client->DragKind = dkDock;
    client->SetDragMode(dmAutomatic);
    pc->OnDockOver = TDockOverEvent(this, &PageControlDockingTest::DockOver);
    pc->OnDockDrop = TDockDropEvent(this, &PageControlDockingTest::DockDrop);
    pc->OnUnDock = TUnDockEvent(this, &PageControlDockingTest::UnDock);
    Pump();
  }
  void TearDown() override {
    if (DragControl()) DragDone(false);
    PageControlTest::TearDown();
    Pump();  // floating hosts go
  }
  void DockOver(TObject*, TDragDockObject* source, Integer, Integer, TDragState state, bool&) {
    const TRect& r = source->DockRect;
    log.push_back(Format("over %d %d,%d,%d,%d", {state, r.Left, r.Top, r.Right, r.Bottom}));
  }
  void DockDrop(TObject*, TDragDockObject* source, Integer, Integer) {
    log.push_back("drop " + source->Control->Name());
  }
  void UnDock(TObject*, TControl* c, TWinControl* target, bool& allow) {
    log.push_back("undock " + c->Name() + " to " + (target ? target->ClassName() : std::string("nil")));
    allow = allowUndock;
  }
  void Drag(win::POINT from, win::POINT to) {
    win::InjectMouseButton(win::VK_LBUTTON, true, from);
    Pump();
    win::InjectMouseMove(to);
    Pump();
    win::InjectMouseButton(win::VK_LBUTTON, false, to);
    Pump();
  }
  TcxTabSheet* ClientPage() { return dynamic_cast<TcxTabSheet*>(client->Parent()); }

  TPanel* client = nullptr;
  bool allowUndock = true;
};

TEST_F(PageControlDockingTest, ADroppedControlGetsAPageOfItsOwn) {
  // Over the page control the dock rect is the page control's window.
  const TPoint pcOrigin = pc->ClientToScreen({0, 0});
  const TPoint to{pcOrigin.X + 150, pcOrigin.Y + 100};
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(client, 30, 25));
  Pump();
  win::InjectMouseMove({to.X, to.Y});
  Pump();
  const std::string rect = Format("%d,%d,%d,%d", {pcOrigin.X, pcOrigin.Y, pcOrigin.X + 300, pcOrigin.Y + 200});
  EXPECT_EQ(log, (Log{"over 0 " + rect, "over 2 " + rect}));
  log.clear();
  win::InjectMouseButton(win::VK_LBUTTON, false, {to.X, to.Y});
  Pump();

  ASSERT_EQ(pc->PageCount(), 4);
  TcxTabSheet* page = pc->Pages(3);
  EXPECT_EQ(ClientPage(), page);
  EXPECT_EQ(page->Owner(), pc);
  EXPECT_EQ(client->HostDockSite(), pc);
  EXPECT_EQ(client->Align(), alClient);
  EXPECT_EQ(pc->ActivePage(), page);
  EXPECT_TRUE(page->TabVisible());
  EXPECT_EQ(log, (Log{"over 1 " + rect, "changing ", "hide &One", "change ", "drop client"}));

  // The page follows its control's caption (to the end of the first line)
  // and visibility.
  client->SetCaption("Tools\r\nmore");
  EXPECT_EQ(page->Caption(), "Tools");
  client->Hide();
  EXPECT_FALSE(page->TabVisible());
  client->Show();
  EXPECT_TRUE(page->TabVisible());
  EXPECT_EQ(pc->UndockPage(), nullptr);
}

TEST_F(PageControlDockingTest, ItsTabDragsOrFloatsTheDockedControl) {
  ASSERT_TRUE(client->ManualDock(pc));
  ASSERT_EQ(pc->PageCount(), 4);
  client->SetCaption("Tools");

  // A double click on its tab floats it; its page goes, the next one shows.
  log.clear();
  win::InjectDoubleClick(TabPoint(3));
  Pump();
  EXPECT_NE(dynamic_cast<TCustomDockForm*>(client->HostDockSite()), nullptr);
  EXPECT_TRUE(client->Floating());
  EXPECT_EQ(client->Align(), alClient);  // the floating host fills itself with it
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->ActivePage(), pages[0]);
  EXPECT_EQ(pc->UndockPage(), nullptr);
  EXPECT_EQ(log.front(), "undock client to nil");

  // Docked again, its tab starts a drag; over its own page control it
  // cannot dock again, so let go there it floats.
  ASSERT_TRUE(client->ManualDock(pc));
  ASSERT_EQ(pc->PageCount(), 4);
  const TPoint middle = pc->ClientToScreen({150, 100});
  log.clear();
  allowUndock = false;  // a refused undock keeps it where it is
  Drag(TabPoint(3), {middle.X, middle.Y});
  EXPECT_EQ(client->HostDockSite(), pc);
  EXPECT_EQ(pc->PageCount(), 4);
  allowUndock = true;
  Drag(TabPoint(3), {middle.X, middle.Y});
  EXPECT_NE(dynamic_cast<TCustomDockForm*>(client->HostDockSite()), nullptr);
  EXPECT_EQ(pc->PageCount(), 3);
  for (const std::string& entry : log) EXPECT_EQ(entry.find("over"), std::string::npos) << entry;
}

TEST_F(PageControlDockingTest, DockingControlsThatAreNoStrangers) {
  // A control already on one of the pages moves that page to the end.
  log.clear();
  ASSERT_TRUE(edits[0]->ManualDock(pc));
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->Pages(2), pages[0]);
  EXPECT_EQ(edits[0]->Parent(), pages[0]);
  EXPECT_EQ(log.back(), "drop ");

  // A form gives its caption; an invisible one gets a hidden tab and does
  // not become active.
  auto* tool = new TForm(form.get());
  tool->SetCaption("Settings");
  ASSERT_TRUE(tool->ManualDock(pc));
  ASSERT_EQ(pc->PageCount(), 4);
  EXPECT_EQ(pc->Pages(3)->Caption(), "Settings");
  EXPECT_FALSE(pc->Pages(3)->TabVisible());
  EXPECT_EQ(pc->ActivePage(), pages[0]);  // selected when its page moved

  // A docked control that is freed takes its page along.
  delete tool;
  EXPECT_EQ(pc->PageCount(), 3);
}

TEST_F(PageControlDockingTest, UndockAsksAndPreparesThePage) {
  ASSERT_TRUE(client->ManualDock(pc));
  TcxTabSheet* page = ClientPage();
  allowUndock = false;
  EXPECT_FALSE(pc->DoUnDock(nullptr, client));
  EXPECT_EQ(pc->UndockPage(), nullptr);
  EXPECT_EQ(client->Align(), alClient);
  allowUndock = true;
  EXPECT_TRUE(pc->DoUnDock(nullptr, client));
  EXPECT_EQ(pc->UndockPage(), page);
  EXPECT_EQ(client->Align(), alNone);
  // The message prepares an undock the same way.
  client->SetAlign(alClient);
  EXPECT_EQ(pc->Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<win::LPARAM>(client)), 1);
  EXPECT_EQ(pc->UndockPage(), page);
  EXPECT_EQ(client->Align(), alNone);
  // A control on a page that is no dock client has no page to give up.
  pc->Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<win::LPARAM>(edits[0]));
  EXPECT_EQ(pc->UndockPage(), nullptr);
  EXPECT_EQ(edits[0]->Align(), alNone);
  EXPECT_EQ(pc->PageCount(), 4);
}

// Showing a control on a hidden page shows its page first.
TEST_F(PageControlTest, ShowingAControlOnAHiddenPageShowsThePage) {
  edits[2]->Hide();
  log.clear();
  edits[2]->Show();
  ExpectActive(2);
  EXPECT_TRUE(edits[2]->Visible());
  EXPECT_EQ(log, (Log{"changing T&hree", "show T&hree", "hide &One", "change T&hree"}));
}

// A stream that gives a page's place among the children sets its PageIndex.
TEST_F(PageControlTest, TheStreamsChildOrderIsThePageIndex) {
  PrepareForStream();
  std::string text = WriteComponentText(form.get());
  const std::string third = "object Third: TcxTabSheet";
  ASSERT_NE(text.find(third), std::string::npos) << text;
  text.insert(text.find(third) + third.size(), " [0]");
  auto copy = std::make_unique<TForm>(nullptr);
  ReadComponentText(text, copy.get());
  auto* read = dynamic_cast<TcxPageControl*>(copy->FindComponent("Pages"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->PageCount(), 3);
  EXPECT_EQ(read->Pages(0)->Name(), "Third");
  EXPECT_EQ(read->Pages(1)->Name(), "First");
  EXPECT_EQ(read->Pages(2)->Name(), "Second");
}
