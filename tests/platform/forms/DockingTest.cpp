#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/DockForm.h"
#include "platform/forms/Docking.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/Formatting.h"
#include "platform/win/Painting.h"

using namespace formstest;

namespace {

// A dock site that writes what it hears of its clients to a log.
class TSite : public TCustomControl {
 public:
  explicit TSite(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle += csAcceptsControls;
    SetDockSite(true);
  }
  std::vector<std::string> Log;

 protected:
  void DoRemoveDockClient(TControl* Client) override { Log.push_back("removed " + Client->Name()); }
  void CMUnDockClient(TMessage& Message) override {
    Log.push_back("undock " + reinterpret_cast<TControl*>(Message.LParam)->Name());
    TCustomControl::CMUnDockClient(Message);
  }
  void CMDockNotification(TMessage& Message) override {
    const auto* rec = reinterpret_cast<const TDockNotifyRec*>(Message.LParam);
    if (rec->ClientMsg == win::WM_SETTEXT)
      Log.push_back(std::string("text ") + reinterpret_cast<const char*>(rec->MsgLParam));
    else if (rec->ClientMsg == CM_VISIBLECHANGED)
      Log.push_back("visible " + std::to_string(rec->MsgWParam));
  }
};

// The events of a dock drag, in order.
struct TDockEvents {
  std::vector<std::string> log;
  bool allowUndock = true;
  void DockOver(TObject* Sender, TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
    (void)Sender;
    (void)Accept;
    const TRect& r = Source->DockRect;
    log.push_back(Format("over %d %d,%d rect %d,%d,%d,%d", {State, X, Y, r.Left, r.Top, r.Right, r.Bottom}));
  }
  void DockDrop(TObject* Sender, TDragDockObject* Source, Integer X, Integer Y) {
    (void)Sender;
    log.push_back(Format("drop %s at %d,%d", {Source->Control->Name(), X, Y}));
  }
  void EndDock(TObject* Sender, TObject* Target, Integer X, Integer Y) {
    (void)Sender;
    auto* t = static_cast<TComponent*>(Target);
    log.push_back(Format("end %s %d,%d", {!t ? "nil" : t->Name().empty() ? t->ClassName() : t->Name(), X, Y}));
  }
  void UnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow) {
    (void)Sender;
    log.push_back(Format("undock %s to %s", {Client->Name(), NewTarget ? NewTarget->Name() : "nil"}));
    Allow = allowUndock;
  }
};

// The bounds of what the screen's overlay shows (empty when nothing).
TRect OverlayInk() {
  win::SIZE size = win::GetScreenSize();
  int w = size.cx, h = size.cy;
  const uint32_t* px = win::ScreenOverlayPixels();
  TRect ink{w, h, -1, -1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (px[y * w + x] & 0xFFFFFF) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x + 1);
        ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink.Right < 0 ? TRect{} : ink;
}

// The frame of R (a checkerboard of inverted pixels, so its corners may stay
// dark) and nothing else.
void ExpectFrame(const TRect& R) {
  TRect ink = OverlayInk();
  EXPECT_LE(std::abs(ink.Left - R.Left), 1);
  EXPECT_LE(std::abs(ink.Top - R.Top), 1);
  EXPECT_LE(std::abs(ink.Right - R.Right), 1);
  EXPECT_LE(std::abs(ink.Bottom - R.Bottom), 1);
  int w = win::GetScreenSize().cx;
  EXPECT_EQ(win::ScreenOverlayPixels()[(R.Top + R.Height() / 2) * w + R.Left + R.Width() / 2] & 0xFFFFFF, 0u)
      << "the frame is not filled";
}

// A host of 400 x 300 at (100, 100) holding a dock client (a panel that is
// dragged as a dock client) and a dock site.
class DockingTest : public SizedHostTest {
 protected:
  void SetUp() override {
    SizedHostTest::SetUp();
    client = Place<TPanel>(10, 10, 160, 60);  // screen (110, 110) - (270, 170)
    client->SetName("client");
    client->DragKind = dkDock;
    client->SetDragMode(dmAutomatic);
    site = Place<TSite>(200, 100, 150, 150);  // screen (300, 200) - (450, 350)
    site->SetName("site");
    site->OnDockOver = TDockOverEvent(&events, &TDockEvents::DockOver);
    site->OnDockDrop = TDockDropEvent(&events, &TDockEvents::DockDrop);
    site->OnUnDock = TUnDockEvent(&events, &TDockEvents::UnDock);
    client->OnEndDock = TEndDragEvent(&events, &TDockEvents::EndDock);
    Show();
  }
  void TearDown() override {
    if (DragControl()) DragDone(false);
    SizedHostTest::TearDown();
  }
  static void Mouse(bool down, TPoint p) {
    win::InjectMouseButton(win::VK_LBUTTON, down, {p.X, p.Y});
    Pump();
  }
  static void MoveTo(TPoint p) {
    win::InjectMouseMove({p.X, p.Y});
    Pump();
  }
  // Drags the client by the mouse from one screen point to another.
  void DragClient(TPoint from, TPoint to) {
    Mouse(true, from);
    ASSERT_EQ(DragControl(), client);
    MoveTo(to);
    Mouse(false, to);
  }

  TPanel* client = nullptr;
  TSite* site = nullptr;
  TDockEvents events;
};

TEST_F(DockingTest, DraggingOntoASiteDocksWithFeedback) {
  // Taken 20 and 10 pixels into the client; within the threshold nothing shows.
  Mouse(true, {130, 120});
  ASSERT_EQ(DragControl(), client);
  ASSERT_NE(dynamic_cast<TDragDockObject*>(DragObject()), nullptr);
  MoveTo({132, 121});
  EXPECT_TRUE(events.log.empty());
  EXPECT_EQ(OverlayInk(), TRect{});

  // Over the site: the floating size where the mouse holds it, framed on the screen.
  MoveTo({350, 250});
  EXPECT_EQ(events.log, (std::vector<std::string>{"over 0 50,50 rect 330,240,490,300",
                                                  "over 2 50,50 rect 330,240,490,300"}));
  ExpectFrame({330, 240, 490, 300});
  MoveTo({360, 260});
  ExpectFrame({340, 250, 500, 310});  // the old frame is gone

  events.log.clear();
  Mouse(false, {360, 260});
  EXPECT_EQ(DragControl(), nullptr);
  EXPECT_EQ(OverlayInk(), TRect{});
  EXPECT_EQ(events.log, (std::vector<std::string>{"over 1 60,60 rect 340,250,500,310", "drop client at 60,60",
                                                  "end site 60,60"}));
  EXPECT_EQ(client->Parent(), site);
  EXPECT_EQ(client->HostDockSite(), site);
  EXPECT_EQ(client->BoundsRect(), (TRect{40, 50, 200, 110}));  // the dock rect in the site
  ASSERT_EQ(site->DockClientCount(), 1);
  EXPECT_EQ(site->DockClients(0), client);
  EXPECT_FALSE(client->Floating());
}

TEST_F(DockingTest, DraggingOffASiteFloatsInAHostForm) {
  ASSERT_TRUE(client->ManualDock(site));
  EXPECT_EQ(client->HostDockSite(), site);
  client->SetBounds(0, 0, 160, 60);
  TPoint at = client->ClientToScreen({10, 10});

  // The site keeps a client it will not let go.
  events.allowUndock = false;
  events.log.clear();
  DragClient(at, {600, 500});
  EXPECT_EQ(events.log, (std::vector<std::string>{"undock client to nil", "end nil 0,0"}));
  EXPECT_EQ(client->HostDockSite(), site);

  // Let go, it floats at the mouse in a tool window of its own size.
  events.allowUndock = true;
  events.log.clear();
  DragClient(at, {600, 500});
  EXPECT_EQ(events.log, (std::vector<std::string>{"undock client to nil", "end TCustomDockForm 0,0"}));
  auto* floatHost = dynamic_cast<TCustomDockForm*>(client->HostDockSite());
  ASSERT_NE(floatHost, nullptr);
  EXPECT_TRUE(client->Floating());
  EXPECT_EQ(client->Parent(), floatHost);
  EXPECT_EQ(client->Align(), alClient);
  EXPECT_EQ(site->DockClientCount(), 0);
  EXPECT_EQ(site->Log, std::vector<std::string>{"removed client"});
  EXPECT_EQ(floatHost->Left(), 590);
  EXPECT_EQ(floatHost->Top(), 490);
  EXPECT_EQ(floatHost->ClientWidth(), 160);
  EXPECT_EQ(floatHost->ClientHeight(), 60);
  EXPECT_TRUE(floatHost->Visible());
  EXPECT_EQ(floatHost->BorderStyle(), bsSizeToolWin);
  EXPECT_EQ(OverlayInk(), TRect{});

  // Docked back, the host it floated in goes.
  Integer forms = Screen->FormCount();
  ASSERT_TRUE(client->ManualDock(site));
  EXPECT_EQ(client->HostDockSite(), site);
  EXPECT_FALSE(client->Floating());
  Pump();
  EXPECT_EQ(Screen->FormCount(), forms - 1);

  // A double float keeps the floating size it had.
  client->SetAlign(alClient);
  ASSERT_TRUE(client->ManualDock(nullptr));
  floatHost = dynamic_cast<TCustomDockForm*>(client->HostDockSite());
  ASSERT_NE(floatHost, nullptr);
  EXPECT_EQ(floatHost->ClientWidth(), 160);
  EXPECT_EQ(floatHost->ClientHeight(), 60);
}

TEST_F(DockingTest, SiteInfoDecidesWhereADragDocks) {
  struct TRefuse {
    bool canDock = true;
    TRect influence;
    void Info(TObject*, TControl*, TRect& InfluenceRect, TPoint, bool& CanDock) {
      influence = InfluenceRect;
      CanDock = canDock;
    }
  } refuse;
  site->OnGetSiteInfo = TGetSiteInfoEvent(&refuse, &TRefuse::Info);

  struct Case {
    TPoint to;
    bool canDock;
    bool docks;
  } cases[] = {
      {{295, 195}, true, true},    // in the ten pixels around the site
      {{285, 185}, true, false},   // farther out it floats
      {{350, 250}, false, false},  // a site that will not take the client
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Format("%d,%d", {c.to.X, c.to.Y}));
    refuse.canDock = c.canDock;
    win::SetCursorPos(130, 120);
    client->BeginDrag(true);
    DragTo(c.to);
    EXPECT_EQ(static_cast<TDragDockObject*>(DragObject())->Floating, !c.docks);
    EXPECT_EQ(DragObject()->DragTarget, c.docks ? site : nullptr);
    DragDone(false);  // cancelled: nothing moves
    EXPECT_EQ(client->Parent(), host.get());
  }
  EXPECT_EQ(refuse.influence, (TRect{290, 190, 460, 360}));
  EXPECT_EQ(OverlayInk(), TRect{});
}

TEST_F(DockingTest, HostHearsOfItsClient) {
  ASSERT_TRUE(client->ManualDock(site));
  client->SetCaption("Tools\r\nmore");
  client->Hide();
  client->Show();
  EXPECT_EQ(site->Log,
            (std::vector<std::string>{"text Tools\r\nmore", "visible 0", "visible 1"}));

  // A docked client that is freed leaves its site as by an undock.
  site->Log.clear();
  delete client;
  EXPECT_EQ(site->Log, (std::vector<std::string>{"undock client", "removed client"}));
  EXPECT_EQ(site->DockClientCount(), 0);
}

TEST_F(DockingTest, FloatingHostFollowsItsClient) {
  ASSERT_TRUE(client->ManualFloat({600, 400, 700, 450}));
  auto* floatHost = dynamic_cast<TCustomDockForm*>(client->HostDockSite());
  ASSERT_NE(floatHost, nullptr);
  client->SetCaption("Palette");
  EXPECT_EQ(floatHost->Caption(), "Palette");
  client->Hide();
  EXPECT_FALSE(floatHost->Visible());

  // A site that goes takes its docked child along (the sanitizer watches
  // that neither looks for the other afterwards).
  delete floatHost;
  client = nullptr;
}

// A form floats as itself: off its site it is a top-level window again.
TEST_F(DockingTest, FormFloatsAsItself) {
  auto* form = new TForm(host.get());
  form->SetName("docked");
  form->SetBounds(0, 0, 120, 80);
  form->SetVisible(true);
  ASSERT_TRUE(form->ManualDock(site));
  EXPECT_EQ(form->Parent(), site);
  EXPECT_EQ(win::GetParent(form->Handle()), site->Handle());
  ASSERT_TRUE(form->ManualFloat({500, 120, 620, 200}));
  EXPECT_EQ(form->Parent(), nullptr);
  EXPECT_EQ(form->HostDockSite(), nullptr);
  EXPECT_TRUE(form->Floating());
  EXPECT_EQ(form->BoundsRect(), (TRect{500, 120, 620, 200}));
  EXPECT_TRUE(win::IsWindowVisible(form->Handle()));
  EXPECT_EQ(win::GetParent(form->Handle()), nullptr);
}

TEST_F(DockingTest, ShowAsksTheParentsAndChildOrderIsZOrder) {
  struct TShowing : TSite {
    using TSite::TSite;
    std::vector<std::string> shown;
    void ShowControl(TControl* AControl) override {
      shown.push_back(AControl->Name());
      TSite::ShowControl(AControl);
    }
  };
  auto* outer = new TShowing(host.get());
  outer->SetName("outer");
  outer->SetParent(host.get());
  auto* inner = new TShowing(host.get());
  inner->SetName("inner");
  inner->SetParent(outer);
  auto* label = new TLabel(host.get());
  label->SetName("label");
  label->SetParent(inner);
  label->SetVisible(false);
  label->Show();
  EXPECT_TRUE(label->Visible());
  EXPECT_EQ(inner->shown, std::vector<std::string>{"label"});
  EXPECT_EQ(outer->shown, std::vector<std::string>{"inner"});

  // The form reader's child order is the place in the z-order.
  auto* second = new TPanel(host.get());
  second->SetParent(outer);
  auto* third = new TPanel(host.get());
  third->SetParent(outer);
  outer->SetChildOrder(third, 0);
  EXPECT_EQ(outer->Controls(0), third);
  EXPECT_EQ(outer->Controls(2), second);
  EXPECT_EQ(win::GetWindow(third->Handle(), win::GW_HWNDNEXT), nullptr) << "the window went to the back";
}

}  // namespace
