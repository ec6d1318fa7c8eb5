#include "platform/forms/ComCtrls.h"
#include "platform/forms/Menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "tests/platform/forms/FormsFixture.h"
#include "tests/support/VisualStylesScope.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/win/Input.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "tests/support/Pictures.h"
#include "tests/support/SolidImages.h"

using namespace formstest;

namespace {

class ComCtrlsTest : public FormsTest {
 protected:
  // Repaints the window and every window inside it.
  static void Paint(TWinControl& host) {
    win::RedrawWindow(host.Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
  }
  // The pixel at a point of a control inside the host.
  static TColor PixelOf(TWinControl& host, TControl* c, int x, int y) {
    TPoint p = host.ScreenToClient(c->ClientToScreen({x, y}));
    return PixelAt(host, p.X, p.Y);
  }
  // A screen point inside the node's label.
  static win::POINT OnLabel(TTreeView* tv, TTreeNode* n) {
    TRect r = n->DisplayRect(true);
    TPoint p = tv->ClientToScreen({r.Left + 3, r.Top + r.Height() / 2});
    return {p.X, p.Y};
  }

  // Root "A" (children A1, A2 (child A2x)), root "B".
  struct Tree {
    THost host;
    TTreeView* tv;
    TTreeNode *a, *a1, *a2, *a2x, *b;
    Tree() {
      host.SetBounds(100, 100, 300, 200);
      tv = new TTreeView(&host);
      tv->SetParent(&host);
      tv->SetBounds(0, 0, 200, 150);
      a = tv->Items()->Add(nullptr, "A");
      a1 = tv->Items()->AddChild(a, "A1");
      a2 = tv->Items()->AddChild(a, "A2");
      a2x = tv->Items()->AddChild(a2, "A2x");
      b = tv->Items()->Add(a, "B");
      host.HandleNeeded();
      win::ShowWindow(host.Handle(), win::SW_SHOW);
    }
  };

  struct Events {
    std::vector<std::string> Log;
    bool Allow = true;
    void Change(TObject*, TTreeNode* N) { Log.push_back("change " + (N ? N->Text() : std::string("-"))); }
    void Changing(TObject*, TTreeNode* N, bool& A) {
      Log.push_back("changing " + (N ? N->Text() : std::string("-")));
      A = Allow;
    }
    void Expanding(TObject*, TTreeNode* N, bool& A) {
      Log.push_back("expanding " + N->Text());
      A = Allow;
    }
    void Collapsing(TObject*, TTreeNode* N, bool& A) {
      Log.push_back("collapsing " + N->Text());
      A = Allow;
    }
  };
};

TEST_F(ComCtrlsTest, NodeStructureAndNavigation) {
  Tree t;
  TTreeNodes* items = t.tv->Items();
  EXPECT_EQ(items->Count(), 5);
  EXPECT_EQ(items->Item(3), t.a2x);  // absolute, depth first
  EXPECT_THROW(items->Item(5), EListError);
  EXPECT_EQ(t.a2x->Level(), 2);
  EXPECT_EQ(t.a2x->Parent(), t.a2);
  EXPECT_EQ(t.a2->Index(), 1);
  EXPECT_EQ(t.b->Index(), 1);
  EXPECT_EQ(t.a->Count(), 2);
  EXPECT_EQ(t.a->GetFirstChild(), t.a1);
  EXPECT_EQ(t.a1->getNextSibling(), t.a2);
  EXPECT_EQ(t.a2->getNextSibling(), nullptr);
  EXPECT_EQ(t.a2x->GetNext(), t.b);
  EXPECT_EQ(t.a2x->AbsoluteIndex(), 3);

  TTreeNode* first = items->Insert(t.a, "Z");  // before A
  EXPECT_EQ(items->GetFirstNode(), first);
  TTreeNode* a0 = items->AddChildFirst(t.a, "A0");
  EXPECT_EQ(t.a->GetFirstChild(), a0);

  // Deleting a parent takes its children; nothing dangles in the selection.
  t.tv->SetSelected(t.a2x);
  t.a2->Delete();
  EXPECT_EQ(t.a->Count(), 2);
  EXPECT_NE(t.tv->Selected(), nullptr);
  for (Integer i = 0; i < t.tv->SelectionCount(); ++i) EXPECT_NE(t.tv->Selections(i)->Text(), "A2x");
  items->Clear();
  EXPECT_EQ(items->Count(), 0);
  EXPECT_EQ(t.tv->Selected(), nullptr);
}

TEST_F(ComCtrlsTest, NodesComeBackFromTheFormFile) {
  Tree t;
  t.a2x->SetImageIndex(3);
  t.a2x->SetSelectedIndex(4);
  t.a2x->SetStateIndex(1);
  t.tv->SetName("Tree");
  t.tv->SetIndent(25);
  t.a->SetText("Radio \xE2\x80\x93 memory");
  std::string text = WriteComponentText(t.tv);
  EXPECT_NE(text.find("Items.Data"), std::string::npos) << text;

  std::unique_ptr<TComponent> read(ReadComponentText(text, nullptr));
  auto* tv = dynamic_cast<TTreeView*>(read.get());
  ASSERT_NE(tv, nullptr);
  EXPECT_EQ(tv->Indent(), 25);
  ASSERT_EQ(tv->Items()->Count(), 5);
  TTreeNode* a = tv->Items()->GetFirstNode();
  EXPECT_EQ(a->Text(), "Radio \xE2\x80\x93 memory");
  EXPECT_EQ(a->Count(), 2);
  TTreeNode* a2x = tv->Items()->Item(3);
  EXPECT_EQ(a2x->Text(), "A2x");
  EXPECT_EQ(a2x->Parent()->Text(), "A2");
  EXPECT_EQ(a2x->ImageIndex(), 3);
  EXPECT_EQ(a2x->SelectedIndex(), 4);
  EXPECT_EQ(a2x->StateIndex(), 1);
  EXPECT_EQ(tv->Items()->Item(4)->Level(), 0);

  // Damaged node data: a child count far beyond what the bytes could hold.
  TMemoryStream bad;
  const unsigned char bytes[] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
  bad.WriteBuffer(bytes, sizeof bytes);
  std::string hex = BinToHexText(std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
  std::string damaged = "object Tree: TTreeView\n  Items.Data = {" + hex + "}\nend\n";
  EXPECT_THROW(std::unique_ptr<TComponent>(ReadComponentText(damaged, nullptr)), Exception);
}

TEST_F(ComCtrlsTest, ExpansionAsksFirstAndMovesAHiddenSelection) {
  Tree t;
  Events ev;
  t.tv->OnExpanding = TTVExpandingEvent(&ev, &Events::Expanding);
  t.tv->OnCollapsing = TTVCollapsingEvent(&ev, &Events::Collapsing);
  ev.Allow = false;
  t.a->SetExpanded(true);
  EXPECT_FALSE(t.a->Expanded());
  ev.Allow = true;
  t.tv->FullExpand();
  EXPECT_TRUE(t.a->Expanded());
  EXPECT_TRUE(t.a2->Expanded());
  EXPECT_TRUE(t.a2x->IsVisible());

  t.tv->SetSelected(t.a2x);
  t.a->Collapse(false);
  EXPECT_EQ(t.tv->Selected(), t.a);  // the selection may not hide
  EXPECT_FALSE(t.a2x->IsVisible());
  t.tv->FullCollapse();
  EXPECT_FALSE(t.a2->Expanded());
  EXPECT_EQ(ev.Log.front(), "expanding A");

  // The messages of the native tree reach the same model.
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_EXPAND, win::TVE_EXPAND, reinterpret_cast<win::LPARAM>(t.a)),
            win::TRUE);
  EXPECT_TRUE(t.a->Expanded());
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_GETNEXTITEM, win::TVGN_CHILD, reinterpret_cast<win::LPARAM>(t.a)),
            reinterpret_cast<win::LRESULT>(t.a1));
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_GETCOUNT, 0, 0), 5);
  int notANode = 0;
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_DELETEITEM, 0, reinterpret_cast<win::LPARAM>(&notANode)),
            win::FALSE);
}

// What a wrapper around the tree sees: the notifications come back to the
// tree itself as CN_NOTIFY through its parent.
class TNotifiedTree : public TTreeView {
 public:
  using TTreeView::TTreeView;
  std::vector<std::string> Codes;
  bool RefuseEdit = false;  // answers TVN_BEGINLABELEDITA with "no"

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::TVM_INSERTITEMA) Codes.push_back("insert");
    auto* hdr = Message.Msg == CN_NOTIFY ? reinterpret_cast<win::NMHDR*>(Message.LParam) : nullptr;
    if (hdr && (hdr->code == win::TVN_BEGINLABELEDITA || hdr->code == win::TVN_ENDLABELEDITA)) {
      auto* info = reinterpret_cast<win::NMTVDISPINFOA*>(Message.LParam);
      std::string node = reinterpret_cast<TTreeNode*>(info->item.hItem)->Text();
      if (hdr->code == win::TVN_BEGINLABELEDITA) {
        Codes.push_back("begin edit " + node);
        Message.Result = RefuseEdit ? 1 : 0;
      } else {
        Codes.push_back("end edit " + node + (info->item.pszText ? ": " + std::string(info->item.pszText) : " cancelled"));
      }
      return;
    }
    if (Message.Msg == CN_NOTIFY) {
      auto* nm = reinterpret_cast<win::NMTREEVIEWA*>(Message.LParam);
      auto* node = reinterpret_cast<TTreeNode*>(nm->hdr.code == win::TVN_DELETEITEMA ? nm->itemOld : nm->itemNew);
      const char* name = nm->hdr.code == win::TVN_DELETEITEMA     ? "delete "
                         : nm->hdr.code == win::TVN_SELCHANGEDA   ? "selected "
                         : nm->hdr.code == win::TVN_ITEMEXPANDEDA ? "expanded "
                                                                  : nullptr;
      if (name) Codes.push_back(name + (node ? node->Text() : std::string("-")));
    }
    TTreeView::WndProc(Message);
  }
};

TEST_F(ComCtrlsTest, NotificationsComeBackReflected) {
  THost host;
  auto* tv = new TNotifiedTree(&host);
  tv->SetParent(&host);
  host.HandleNeeded();
  TTreeNode* a = tv->Items()->Add(nullptr, "A");
  TTreeNode* a1 = tv->Items()->AddChild(a, "A1");
  a->Expand(false);
  tv->SetSelected(a1);
  TTreeNode* b = tv->Items()->Add(nullptr, "B");
  a->Delete();  // the selection goes to the neighbour of the subtree
  EXPECT_EQ(tv->Selected(), b);
  b->Delete();
  EXPECT_EQ(tv->Codes, (std::vector<std::string>{"insert", "insert", "expanded A", "selected A1", "insert", "delete A1",
                                                 "selected B", "delete A", "delete B", "selected -"}));

  // Nodes made by the message alone.
  win::TVINSERTSTRUCTA ins;
  ins.hParent = win::TVI_ROOT;
  ins.hInsertAfter = win::TVI_LAST;
  ins.item.mask = win::TVIF_TEXT | win::TVIF_IMAGE;
  char zText[] = "Z", yText[] = "Y";
  ins.item.pszText = zText;
  ins.item.iImage = 7;
  auto* z = reinterpret_cast<TTreeNode*>(
      win::SendMessage(tv->Handle(), win::TVM_INSERTITEMA, 0, reinterpret_cast<win::LPARAM>(&ins)));
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(z->Text(), "Z");
  EXPECT_EQ(z->ImageIndex(), 7);
  ins.hInsertAfter = win::TVI_FIRST;
  ins.item.pszText = yText;
  win::SendMessage(tv->Handle(), win::TVM_INSERTITEMA, 0, reinterpret_cast<win::LPARAM>(&ins));
  EXPECT_EQ(tv->Items()->GetFirstNode()->Text(), "Y");
  int bogus = 0;
  ins.hParent = reinterpret_cast<win::HTREEITEM>(&bogus);  // not a node of this tree
  EXPECT_EQ(win::SendMessage(tv->Handle(), win::TVM_INSERTITEMA, 0, reinterpret_cast<win::LPARAM>(&ins)), 0);
  EXPECT_EQ(tv->Items()->Count(), 2);
}

TEST_F(ComCtrlsTest, KeysMoveExpandAndCollapse) {
  Tree t;
  win::SetFocus(t.tv->Handle());
  t.tv->SetSelected(t.a);
  struct Step {
    win::UINT Key;
    const char* Selected;
    bool AExpanded;
  } steps[] = {
      {win::VK_ADD, "A", true},       {win::VK_DOWN, "A1", true}, {win::VK_DOWN, "A2", true},
      {win::VK_MULTIPLY, "A2", true}, {win::VK_DOWN, "A2x", true}, {win::VK_LEFT, "A2", true},
      {win::VK_LEFT, "A2", true},     {win::VK_LEFT, "A", true},   {win::VK_SUBTRACT, "A", false},
      {win::VK_END, "B", false},      {win::VK_HOME, "A", false},  {win::VK_RIGHT, "A", true},
      {win::VK_RIGHT, "A1", true},    {win::VK_UP, "A", true},
  };
  for (const Step& s : steps) {
    win::InjectKeyPress(s.Key);
    Pump();
    ASSERT_NE(t.tv->Selected(), nullptr);
    EXPECT_EQ(t.tv->Selected()->Text(), s.Selected) << "key " << s.Key;
    EXPECT_EQ(t.a->Expanded(), s.AExpanded) << "key " << s.Key;
  }
}

TEST_F(ComCtrlsTest, ClickSelectsAndCanBeRefused) {
  Tree t;
  t.tv->FullExpand();
  Events ev;
  t.tv->OnChange = TTVChangedEvent(&ev, &Events::Change);
  t.tv->OnChanging = TTVChangingEvent(&ev, &Events::Changing);
  struct Clicks {
    int Single = 0, Double = 0;
    void Click(TObject*) { ++Single; }
    void DblClick(TObject*) { ++Double; }
  } clicks;
  t.tv->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
  t.tv->OnDblClick = TNotifyEvent(&clicks, &Clicks::DblClick);
  win::InjectClick(OnLabel(t.tv, t.a2));
  Pump();
  EXPECT_EQ(t.tv->Selected(), t.a2);
  EXPECT_EQ(ev.Log, (std::vector<std::string>{"changing A2", "change A2"}));
  ev.Allow = false;
  win::InjectClick(OnLabel(t.tv, t.b));
  Pump();
  EXPECT_EQ(t.tv->Selected(), t.a2);

  // A double click on a parent's label folds it.
  win::InjectDoubleClick(OnLabel(t.tv, t.a));
  Pump();
  EXPECT_FALSE(t.a->Expanded());
  EXPECT_GE(clicks.Single, 2);
  EXPECT_EQ(clicks.Double, 1);
}

TEST_F(ComCtrlsTest, MultiSelectWithCtrlAndShift) {
  Tree t;
  t.tv->FullExpand();
  t.tv->SetMultiSelect(true);
  t.tv->SetMultiSelectStyle(TMultiSelectStyle{msControlSelect, msShiftSelect});
  auto click = [&](TTreeNode* n, win::UINT modifier) {
    if (modifier) win::InjectKey(modifier, true);
    win::InjectClick(OnLabel(t.tv, n));
    if (modifier) win::InjectKey(modifier, false);
    Pump();
  };
  auto selected = [&] {
    std::vector<std::string> names;
    for (Integer i = 0; i < t.tv->SelectionCount(); ++i) names.push_back(t.tv->Selections(i)->Text());
    return names;
  };
  click(t.a1, 0);
  click(t.b, win::VK_CONTROL);
  EXPECT_EQ(selected(), (std::vector<std::string>{"A1", "B"}));
  EXPECT_EQ(t.tv->Selected(), t.b);
  click(t.a1, win::VK_CONTROL);  // toggles A1 off again
  EXPECT_EQ(selected(), (std::vector<std::string>{"B"}));
  click(t.a2, 0);
  click(t.b, win::VK_SHIFT);  // range over the visible rows
  EXPECT_EQ(selected(), (std::vector<std::string>{"A2", "A2x", "B"}));
  EXPECT_TRUE(t.a2x->Selected());
  t.tv->Subselect(t.a);
  EXPECT_EQ(t.tv->SelectionCount(), 4);
  EXPECT_EQ(t.tv->Selected(), t.b);
  t.tv->ClearSelection(true);
  EXPECT_EQ(selected(), (std::vector<std::string>{"B"}));
  t.tv->ClearSelection();
  EXPECT_EQ(t.tv->Selected(), nullptr);
  EXPECT_FALSE(t.b->Selected());
}

TEST_F(ComCtrlsTest, SelectingListsOfNodesAndTakingOneOut) {
  Tree t;
  t.tv->FullExpand();
  Events ev;
  t.tv->OnChange = TTVChangedEvent(&ev, &Events::Change);
  auto selected = [&] {
    std::vector<std::string> names;
    for (Integer i = 0; i < t.tv->SelectionCount(); ++i) names.push_back(t.tv->Selections(i)->Text());
    return names;
  };
  // Without MultiSelect only the last counts.
  TTreeNode* const pair[] = {t.a1, t.b};
  t.tv->Select(pair);
  EXPECT_EQ(selected(), (std::vector<std::string>{"B"}));

  t.tv->SetMultiSelect(true);
  TTreeView other(nullptr);
  TTreeNode* stranger = other.Items()->Add(nullptr, "X");
  TTreeNode* const nodes[] = {t.a1, nullptr, t.a2x, stranger, t.a1, t.b};
  t.tv->Select(nodes);
  EXPECT_EQ(selected(), (std::vector<std::string>{"A1", "A2x", "B"})) << "no gaps, strangers or repeats";
  EXPECT_EQ(t.tv->Selected(), t.b);

  TList list;
  list.Add(t.a);
  list.Add(t.a2);
  t.tv->Select(&list);
  EXPECT_EQ(selected(), (std::vector<std::string>{"A", "A2"}));
  EXPECT_FALSE(t.b->Selected());
  EXPECT_EQ(t.tv->Selected(), t.a2);

  ev.Log.clear();
  t.tv->Deselect(t.a);
  EXPECT_EQ(selected(), (std::vector<std::string>{"A2"}));
  EXPECT_TRUE(ev.Log.empty()) << "the selected node stays";
  t.tv->Deselect(t.a2);
  EXPECT_EQ(t.tv->Selected(), nullptr);
  EXPECT_EQ(ev.Log, (std::vector<std::string>{"change -"}));
  t.tv->Deselect(t.b);  // not selected: nothing
  EXPECT_EQ(t.tv->SelectionCount(), 0);
}

// A descendant hears each opening and closing once it has happened.
class TExpandWatcher : public TTreeView {
 public:
  using TTreeView::TTreeView;
  std::vector<std::string> Heard;

 protected:
  void Expand(TTreeNode* Node) override {
    Heard.push_back("expanded " + Node->Text() + (Node->Expanded() ? "" : " (still closed)"));
    TTreeView::Expand(Node);
  }
  void Collapse(TTreeNode* Node) override {
    Heard.push_back("collapsed " + Node->Text() + (Node->Expanded() ? " (still open)" : ""));
    TTreeView::Collapse(Node);
  }
};

TEST_F(ComCtrlsTest, DescendantsHearExpansionsAfterTheFact) {
  THost host;
  auto* tv = new TExpandWatcher(&host);
  tv->SetParent(&host);
  TTreeNode* a = tv->Items()->Add(nullptr, "A");
  tv->Items()->AddChild(a, "A1");
  std::vector<std::string> events;
  struct Handler {
    std::vector<std::string>* events;
    void Expanded(TObject*, TTreeNode* N) { events->push_back("OnExpanded " + N->Text()); }
    void Collapsed(TObject*, TTreeNode* N) { events->push_back("OnCollapsed " + N->Text()); }
  } handler{&events};
  tv->OnExpanded = TTVExpandedEvent(&handler, &Handler::Expanded);
  tv->OnCollapsed = TTVExpandedEvent(&handler, &Handler::Collapsed);
  a->Expand(false);
  a->Collapse(false);
  EXPECT_EQ(tv->Heard, (std::vector<std::string>{"expanded A", "collapsed A"}));
  EXPECT_EQ(events, (std::vector<std::string>{"OnExpanded A", "OnCollapsed A"}));
}

TEST_F(ComCtrlsTest, HitTestingFindsButtonsLabelsAndSpace) {
  Tree t;
  t.a->SetExpanded(true);
  Integer h = t.tv->ItemHeight();
  TRect la = t.a->DisplayRect(true);
  TRect la2 = t.a2->DisplayRect(true);
  EXPECT_EQ(la.Top, 0);
  EXPECT_EQ(la2.Top, 2 * h);
  EXPECT_EQ(la2.Left - la.Left, 19);  // one indent per level
  Integer mid = h / 2;
  struct Case {
    Integer X, Y;
    THitTests Expected;
    TTreeNode* Node;
  } cases[] = {
      {la.Left + 2, mid, THitTests{htOnItem, htOnLabel}, t.a},
      {la.Right + 5, mid, THitTests{htOnRight}, nullptr},
      {la.Left - 12, mid, THitTests{htOnButton}, nullptr},
      {la2.Left - 30, 2 * h + mid, THitTests{htOnIndent}, nullptr},
      {10, 5 * h, THitTests{htNowhere}, nullptr},
      {10, -3, THitTests{htAbove}, nullptr},
      {10, 1000, THitTests{htBelow}, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t.tv->GetHitTestInfoAt(c.X, c.Y), c.Expected) << c.X << "," << c.Y;
    EXPECT_EQ(t.tv->GetNodeAt(c.X, c.Y), c.Node) << c.X << "," << c.Y;
  }
  t.tv->SetRowSelect(true);
  EXPECT_EQ(t.tv->GetNodeAt(la.Right + 5, mid), t.a);

  // A click on the button folds the node without selecting it.
  TPoint button = t.tv->ClientToScreen({la.Left - 12, mid});
  win::InjectClick({button.X, button.Y});
  Pump();
  EXPECT_FALSE(t.a->Expanded());
  EXPECT_EQ(t.tv->Selected(), nullptr);

  win::TVHITTESTINFO info;
  info.pt = {la.Left + 2, mid};
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_HITTEST, 0, reinterpret_cast<win::LPARAM>(&info)),
            reinterpret_cast<win::LRESULT>(t.a));
  EXPECT_EQ(info.flags, win::TVHT_ONITEMLABEL);
}

TEST_F(ComCtrlsTest, CustomDrawSeesEveryVisibleNodeWithItsState) {
  Tree t;
  t.a->SetExpanded(true);
  win::SetFocus(t.tv->Handle());
  t.tv->SetSelected(t.a1);
  struct Draw {
    std::vector<std::string> Items;
    int Whole = 0;
    bool SkipB = false;
    void Tree(TObject*, const TRect& R, bool& D) {
      ++Whole;
      EXPECT_GT(R.Width(), 0);
      D = true;
    }
    void Item(TObject*, TTreeNode* N, TCustomDrawState S, bool& D) {
      std::string s = N->Text();
      if (S.Contains(cdsSelected)) s += " selected";
      if (S.Contains(cdsFocused)) s += " focused";
      if (S.Contains(cdsHot)) s += " hot";
      Items.push_back(s);
      if (SkipB && N->Text() == "B") D = false;
    }
  } draw;
  t.tv->OnCustomDraw = TTVCustomDrawEvent(&draw, &Draw::Tree);
  t.tv->OnCustomDrawItem = TTVCustomDrawItemEvent(&draw, &Draw::Item);
  Paint(t.host);
  EXPECT_EQ(draw.Whole, 1);
  EXPECT_EQ(draw.Items, (std::vector<std::string>{"A", "A1 selected focused", "A2", "B"}));

  // The selected label is filled with the highlight colour; a node whose
  // handler says "no default drawing" stays blank.
  TRect sel = t.a1->DisplayRect(true);
  TPoint p = t.tv->ClientToScreen({sel.Left + 1, sel.Top + 1});
  TPoint hp = t.host.ScreenToClient(p);
  EXPECT_EQ(PixelAt(t.host, hp.X, hp.Y), static_cast<TColor>(ColorToRGB(clHighlight)));
  auto inkIn = [&](TTreeNode* n) {
    TRect r = n->DisplayRect(true);
    TPoint o = t.host.ScreenToClient(t.tv->ClientToScreen({0, 0}));
    int ink = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (PixelAt(t.host, o.X + x, o.Y + y) != static_cast<TColor>(ColorToRGB(clWindow))) ++ink;
    return ink;
  };
  EXPECT_GT(inkIn(t.b), 0);
  draw.SkipB = true;
  Paint(t.host);
  EXPECT_EQ(inkIn(t.b), 0);

  // With hot tracking the node under the mouse is drawn hot.
  t.tv->SetHotTrack(true);
  win::InjectMouseMove(OnLabel(t.tv, t.a2));
  Pump();
  draw.Items.clear();
  Paint(t.host);
  EXPECT_EQ(draw.Items, (std::vector<std::string>{"A", "A1 selected focused", "A2 hot", "B"}));
}

TEST_F(ComCtrlsTest, ScrollingKeepsTheSelectionInView) {
  THost host;
  auto* tv = new TTreeView(&host);
  tv->SetParent(&host);
  tv->SetBounds(0, 0, 150, 100);
  host.HandleNeeded();
  for (int i = 0; i < 40; ++i) tv->Items()->Add(nullptr, "Node " + std::to_string(i));
  tv->SetSelected(tv->Items()->Item(30));
  EXPECT_NE(tv->TopItem(), tv->Items()->GetFirstNode());
  TRect r = tv->Items()->Item(30)->DisplayRect(false);
  EXPECT_GE(r.Top, 0);
  EXPECT_LE(r.Bottom, tv->ClientHeight());
  win::SendMessage(tv->Handle(), win::WM_VSCROLL, win::SB_TOP, 0);
  EXPECT_EQ(tv->TopItem(), tv->Items()->GetFirstNode());
  win::SendMessage(tv->Handle(), win::WM_VSCROLL, win::SB_LINEDOWN, 0);
  EXPECT_EQ(tv->TopItem(), tv->Items()->Item(1));
  win::SendMessage(tv->Handle(), win::WM_VSCROLL, win::SB_BOTTOM, 0);
  EXPECT_EQ(tv->Items()->Item(39)->DisplayRect(false).Bottom <= tv->ClientHeight(), true);

  // A wrapper's own scroll bar passing its scrolling on to the default
  // handling: the tree scrolls and its bar follows.
  TMessage scroll{win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 5),
                  reinterpret_cast<win::LPARAM>(host.Handle())};
  tv->DefaultHandler(scroll);
  EXPECT_EQ(tv->TopItem(), tv->Items()->Item(5));
  EXPECT_EQ(win::GetScrollPos(tv->Handle(), win::SB_VERT), 5);
}

TEST_F(ComCtrlsTest, SortingByTextAndByHandler) {
  THost host;
  auto* tv = new TTreeView(&host);
  tv->SetParent(&host);
  for (const char* s : {"charlie", "Alpha", "bravo"}) tv->Items()->Add(nullptr, s);
  tv->SetSortType(stText);
  auto order = [&] {
    std::string s;
    for (TTreeNode* n = tv->Items()->GetFirstNode(); n; n = n->getNextSibling()) s += n->Text() + " ";
    return s;
  };
  EXPECT_EQ(order(), "Alpha bravo charlie ");
  tv->Items()->Add(nullptr, "able");
  EXPECT_EQ(order(), "able Alpha bravo charlie ");
  struct Reverse {
    void Compare(TObject*, TTreeNode* A, TTreeNode* B, Integer, Integer& C) { C = -AnsiCompareText(A->Text(), B->Text()); }
  } rev;
  tv->SetSortType(stNone);
  tv->OnCompare = TTVCompareEvent(&rev, &Reverse::Compare);
  tv->AlphaSort();
  EXPECT_EQ(order(), "charlie bravo Alpha able ");
}

TEST_F(ComCtrlsTest, NodeImagesComeBeforeTheLabel) {
  Tree t;
  auto images = SolidImages({clRed, clBlue});
  TRect before = t.a->DisplayRect(true);
  t.tv->SetImages(images.get());
  t.a->SetImageIndex(0);
  t.a->SetSelectedIndex(1);
  t.b->SetImageIndex(0);
  t.b->SetSelectedIndex(1);
  TRect after = t.a->DisplayRect(true);
  EXPECT_GE(after.Left - before.Left, 16);
  EXPECT_GE(t.tv->ItemHeight(), 18);
  TRect rb = t.b->DisplayRect(true);
  Integer iconX = after.Left - 10;
  EXPECT_EQ(t.tv->GetHitTestInfoAt(iconX, after.Top + 4), (THitTests{htOnItem, htOnIcon}));
  EXPECT_EQ(t.tv->GetNodeAt(iconX, after.Top + 4), t.a);
  t.tv->SetSelected(t.b);
  Paint(t.host);
  EXPECT_EQ(PixelOf(t.host, t.tv, iconX, after.Top + 8), static_cast<TColor>(ColorToRGB(clRed)));
  EXPECT_EQ(PixelOf(t.host, t.tv, iconX, rb.Top + 8), static_cast<TColor>(ColorToRGB(clBlue)));  // SelectedIndex
  // An overlay of the list drawn over the node's image.
  TBitmap lime;
  lime.SetSize(16, 16);
  lime.Canvas()->Brush()->SetColor(clLime);
  lime.Canvas()->FillRect({0, 0, 16, 16});
  images->Add(&lime, nullptr);
  ASSERT_TRUE(images->Overlay(2, 0));
  t.a->SetOverlayIndex(0);
  Paint(t.host);
  EXPECT_EQ(PixelOf(t.host, t.tv, iconX, after.Top + 8), static_cast<TColor>(ColorToRGB(clLime)));
  // A change of the list repaints the tree; a freed list is let go.
  EXPECT_FALSE(win::GetUpdateRect(t.tv->Handle(), nullptr, win::FALSE));
  images->SetHeight(24);
  EXPECT_TRUE(win::GetUpdateRect(t.tv->Handle(), nullptr, win::FALSE));
  EXPECT_GE(t.tv->ItemHeight(), 26);
  images.reset();
  EXPECT_EQ(t.tv->Images(), nullptr);
  Paint(t.host);
}

// Editing labels in place. Root "A" (children "A1" with child "A1x"), root
// "B"; everything expanded, A1 selected, the tree focused; a second control
// to take the focus away.
struct EditTree {
  THost host;
  TNotifiedTree* tv;
  TEdit* other;
  TTreeNode *a, *a1, *a1x, *b;
  std::vector<std::string> Log;
  bool AllowEdit = true;
  bool DeleteOnEdited = false;
  EditTree() {
    host.SetBounds(100, 100, 300, 200);
    tv = new TNotifiedTree(&host);
    tv->SetParent(&host);
    tv->SetBounds(0, 0, 200, 150);
    other = new TEdit(&host);
    other->SetParent(&host);
    other->SetBounds(210, 0, 80, 20);
    a = tv->Items()->Add(nullptr, "A");
    a1 = tv->Items()->AddChild(a, "A1");
    a1x = tv->Items()->AddChild(a1, "A1x");
    b = tv->Items()->Add(nullptr, "B");
    host.HandleNeeded();
    win::ShowWindow(host.Handle(), win::SW_SHOW);
    tv->FullExpand();
    win::SetFocus(tv->Handle());
    tv->SetSelected(a1);
    tv->Codes.clear();
    tv->OnEditing = TTVEditingEvent(this, &EditTree::Editing);
    tv->OnEdited = TTVEditedEvent(this, &EditTree::Edited);
    tv->OnCancelEdit = TTVExpandedEvent(this, &EditTree::Cancelled);
  }
  void Editing(TObject*, TTreeNode* N, bool& Allow) {
    Log.push_back("editing " + N->Text());
    Allow = AllowEdit;
  }
  // Sees the node's old text; what it leaves in S becomes the new one.
  void Edited(TObject*, TTreeNode* N, std::string& S) {
    Log.push_back("edited " + N->Text() + " -> " + S);
    S += "!";
    if (DeleteOnEdited) N->Delete();
  }
  void Cancelled(TObject*, TTreeNode* N) { Log.push_back("cancelled " + N->Text()); }
  win::HWND Editor() {
    return reinterpret_cast<win::HWND>(win::SendMessage(tv->Handle(), win::TVM_GETEDITCONTROL, 0, 0));
  }
  // Starts an edit of N by message and types Text over the label.
  win::HWND EditAndType(TTreeNode* N, const std::string& Text) {
    auto editor = reinterpret_cast<win::HWND>(
        win::SendMessage(tv->Handle(), win::TVM_EDITLABELA, 0, reinterpret_cast<win::LPARAM>(N)));
    win::InjectText(Text);
    Application->ProcessMessages();
    return editor;
  }
};

TEST_F(ComCtrlsTest, LabelEditingIsAcceptedCancelledOrRefused) {
  enum End { kEnter, kEscape, kFocusAway, kNone };
  struct Case {
    const char* Name;
    bool ReadOnly, Refuse, ParentRefuses;
    End Finish;
    const char* Text;  // A1's text afterwards
    std::vector<std::string> Log, Codes;
  } cases[] = {
      {"Enter accepts", false, false, false, kEnter, "New!", {"editing A1", "edited A1 -> New"},
       {"begin edit A1", "end edit A1: New"}},
      {"Escape cancels", false, false, false, kEscape, "A1", {"editing A1", "cancelled A1"},
       {"begin edit A1", "end edit A1 cancelled"}},
      {"losing the focus accepts", false, false, false, kFocusAway, "New!", {"editing A1", "edited A1 -> New"},
       {"begin edit A1", "end edit A1: New"}},
      {"OnEditing refuses", false, true, false, kNone, "A1", {"editing A1"}, {"begin edit A1"}},
      {"the parent refuses", false, false, true, kNone, "A1", {}, {"begin edit A1"}},
      {"read only", true, false, false, kNone, "A1", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EditTree t;
    t.tv->SetReadOnly(c.ReadOnly);
    t.AllowEdit = !c.Refuse;
    t.tv->RefuseEdit = c.ParentRefuses;
    win::InjectKeyPress(win::VK_F2);
    Pump();
    bool editing = c.Finish != kNone;
    EXPECT_EQ(t.tv->IsEditing(), editing);
    win::HWND editor = t.Editor();
    EXPECT_EQ(editor != nullptr, editing);
    if (editing) {
      EXPECT_EQ(win::GetFocus(), editor);
      // The edit lies over the label and starts with its text.
      win::RECT er;
      win::GetWindowRect(editor, &er);
      TPoint label = t.tv->ClientToScreen({t.a1->DisplayRect(true).Left, t.a1->DisplayRect(true).Top});
      EXPECT_EQ(er.left, label.X);
      EXPECT_EQ(er.top, label.Y);
      char text[16] = {};
      win::GetWindowText(editor, text, sizeof text);
      EXPECT_STREQ(text, "A1");
      win::InjectText("New");
      Pump();
      EXPECT_EQ(t.a1->Text(), "A1");  // nothing changes while typing
      if (c.Finish == kEnter) win::InjectKeyPress(win::VK_RETURN);
      if (c.Finish == kEscape) win::InjectKeyPress(win::VK_ESCAPE);
      if (c.Finish == kFocusAway) win::SetFocus(t.other->Handle());
      Pump();
      EXPECT_FALSE(t.tv->IsEditing());
      EXPECT_EQ(t.Editor(), nullptr);
      EXPECT_FALSE(win::IsWindowVisible(editor));
      EXPECT_EQ(win::GetFocus(), c.Finish == kFocusAway ? t.other->Handle() : t.tv->Handle());
    }
    EXPECT_EQ(t.a1->Text(), c.Text);
    EXPECT_EQ(t.Log, c.Log);
    EXPECT_EQ(t.tv->Codes, c.Codes);
    EXPECT_TRUE(t.host.DialogKeys.empty());  // Enter and Escape never reached the form
  }

  // EditText and TVM_ENDEDITLABELNOW do the same without keys.
  EditTree t;
  EXPECT_TRUE(t.b->EditText());
  win::SetWindowText(t.Editor(), "Bee");
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_ENDEDITLABELNOW, win::FALSE, 0), win::TRUE);
  EXPECT_EQ(t.b->Text(), "Bee!");
  EXPECT_EQ(win::SendMessage(t.tv->Handle(), win::TVM_ENDEDITLABELNOW, win::FALSE, 0), win::FALSE);
  t.tv->SetReadOnly(true);
  EXPECT_FALSE(t.b->EditText());
}

TEST_F(ComCtrlsTest, AnEditEndsSafelyWhenItsNodeGoesOrMoves) {
  {  // The edited node deleted with its parent: cancelled while it still exists.
    EditTree t;
    win::HWND editor = t.EditAndType(t.a1x, "Gone");
    ASSERT_NE(editor, nullptr);
    t.a1->Delete();
    EXPECT_FALSE(t.tv->IsEditing());
    EXPECT_FALSE(win::IsWindowVisible(editor));
    EXPECT_EQ(t.Log, (std::vector<std::string>{"editing A1x", "cancelled A1x"}));
    win::InjectKeyPress(win::VK_RETURN);  // nothing left to end
    Pump();
    EXPECT_EQ(t.Log.size(), 2u);
  }
  {  // Collapsing hides the label: the edit ends as a focus loss would.
    EditTree t;
    t.EditAndType(t.a1x, "Folded");
    t.a->Collapse(false);
    EXPECT_FALSE(t.tv->IsEditing());
    EXPECT_EQ(t.a1x->Text(), "Folded!");
  }
  {  // Scrolling takes the edit away from its label.
    EditTree t;
    t.tv->SetBounds(0, 0, 200, t.tv->ItemHeight() * 2 + 4);
    t.EditAndType(t.a, "Top");
    win::SendMessage(t.tv->Handle(), win::WM_VSCROLL, win::SB_LINEDOWN, 0);
    EXPECT_FALSE(t.tv->IsEditing());
    EXPECT_EQ(t.a->Text(), "Top!");
  }
  {  // OnEdited deleting the node it was given.
    EditTree t;
    t.DeleteOnEdited = true;
    t.EditAndType(t.b, "Bye");
    win::InjectKeyPress(win::VK_RETURN);
    Pump();
    EXPECT_EQ(t.tv->Items()->Count(), 3);
    EXPECT_FALSE(t.tv->IsEditing());
  }
  {  // The tree freed in the middle of an edit says nothing more.
    EditTree t;
    t.EditAndType(t.b, "Late");
    delete t.tv;
    Pump();
    EXPECT_EQ(t.Log, (std::vector<std::string>{"editing B"}));
  }
}

TEST_F(ComCtrlsTest, ASecondClickOnTheSelectedLabelEditsIt) {
  TFakeClockScope clock;
  EditTree t;
  UInt64 wait = win::GetDoubleClickTime() + 1;
  win::InjectClick(OnLabel(t.tv, t.b));  // selects B
  Pump();
  clock.Advance(wait);
  Pump();
  EXPECT_EQ(t.tv->Selected(), t.b);
  EXPECT_FALSE(t.tv->IsEditing());

  win::InjectClick(OnLabel(t.tv, t.b));  // again: an edit once no double click follows
  Pump();
  EXPECT_FALSE(t.tv->IsEditing());
  clock.Advance(wait);
  Pump();
  EXPECT_TRUE(t.tv->IsEditing());
  win::InjectKeyPress(win::VK_ESCAPE);
  Pump();

  clock.Advance(wait);
  win::InjectDoubleClick(OnLabel(t.tv, t.b));
  Pump();
  clock.Advance(wait);
  Pump();
  EXPECT_FALSE(t.tv->IsEditing());
  EXPECT_EQ(t.Log, (std::vector<std::string>{"editing B", "cancelled B"}));
}

TEST_F(ComCtrlsTest, ItemMessagesRoundTripWithinTheBuffer) {
  Tree t;
  t.tv->FullExpand();
  auto send = [&](win::UINT Msg, win::TVITEMA& Item) {
    return win::SendMessage(t.tv->Handle(), Msg, 0, reinterpret_cast<win::LPARAM>(&Item));
  };
  char text[] = "R\xC3\xA9sum\xC3\xA9";  // "Résumé"
  int payload = 0;
  win::TVITEMA set;
  set.mask = win::TVIF_TEXT | win::TVIF_IMAGE | win::TVIF_SELECTEDIMAGE | win::TVIF_PARAM | win::TVIF_STATE;
  set.hItem = t.a2->ItemId();
  set.pszText = text;
  set.iImage = 4;
  set.iSelectedImage = 5;
  set.lParam = reinterpret_cast<win::LPARAM>(&payload);
  set.stateMask = win::TVIS_BOLD | win::TVIS_OVERLAYMASK | win::TVIS_STATEIMAGEMASK | win::TVIS_EXPANDED;
  set.state = win::TVIS_BOLD | win::INDEXTOOVERLAYMASK(2) | win::INDEXTOSTATEIMAGEMASK(3);
  EXPECT_EQ(send(win::TVM_SETITEMA, set), win::TRUE);
  EXPECT_EQ(t.a2->Text(), "R\xC3\xA9sum\xC3\xA9");
  EXPECT_EQ(t.a2->ImageIndex(), 4);
  EXPECT_EQ(t.a2->SelectedIndex(), 5);
  EXPECT_EQ(t.a2->Data(), &payload);
  EXPECT_EQ(t.a2->OverlayIndex(), 1);
  EXPECT_EQ(t.a2->StateIndex(), 2);
  EXPECT_FALSE(t.a2->Expanded());
  t.tv->SetSelected(t.a2);

  // Read back through buffers of several sizes: never past the end, never
  // half a character, always terminated.
  struct Case {
    int Size;
    const char* Expected;
  } cases[] = {{32, "R\xC3\xA9sum\xC3\xA9"}, {3, "R"}, {4, "R\xC3\xA9"}, {1, ""}};
  for (const Case& c : cases) {
    char buffer[40];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    win::TVITEMA get;
    get.mask = win::TVIF_TEXT | win::TVIF_HANDLE;
    get.hItem = t.a2->ItemId();
    get.pszText = buffer;
    get.cchTextMax = c.Size;
    EXPECT_EQ(send(win::TVM_GETITEMA, get), win::TRUE);
    EXPECT_STREQ(buffer, c.Expected) << c.Size;
    EXPECT_EQ(buffer[c.Size], '#') << c.Size;
  }
  win::TVITEMA get;
  get.mask = win::TVIF_IMAGE | win::TVIF_SELECTEDIMAGE | win::TVIF_PARAM | win::TVIF_STATE | win::TVIF_CHILDREN;
  get.hItem = t.a2->ItemId();
  get.stateMask = 0xFFFF;
  EXPECT_EQ(send(win::TVM_GETITEMA, get), win::TRUE);
  EXPECT_EQ(get.iImage, 4);
  EXPECT_EQ(get.iSelectedImage, 5);
  EXPECT_EQ(get.lParam, reinterpret_cast<win::LPARAM>(&payload));
  EXPECT_EQ(get.cChildren, 1);
  EXPECT_EQ(get.state,
            win::TVIS_SELECTED | win::TVIS_BOLD | win::INDEXTOOVERLAYMASK(2) | win::INDEXTOSTATEIMAGEMASK(3));
  get.stateMask = win::TVIS_SELECTED;
  send(win::TVM_GETITEMA, get);
  EXPECT_EQ(get.state, win::TVIS_SELECTED);

  int bogus = 0;
  get.hItem = reinterpret_cast<win::HTREEITEM>(&bogus);
  EXPECT_EQ(send(win::TVM_GETITEMA, get), win::FALSE);
  EXPECT_EQ(send(win::TVM_SETITEMA, get), win::FALSE);
}

TEST_F(ComCtrlsTest, TipShowsTheWholeOfAClippedLabelOnly) {
  TFakeClockScope clock;
  Application->HintPause = 500;
  Tree t;
  t.tv->SetBounds(0, 0, 90, 150);
  t.b->SetText("A label far too long for this narrow tree");
  auto tipAt = [&](TTreeNode* n) -> THintWindow* {
    return dynamic_cast<THintWindow*>(FindControl(win::WindowFromPoint(OnLabel(t.tv, n))));
  };
  // A label that fits shows no tip however long the mouse rests.
  win::InjectMouseMove(OnLabel(t.tv, t.a));
  Pump();
  clock.Advance(1000);
  Pump();
  EXPECT_EQ(tipAt(t.a), nullptr);

  win::InjectMouseMove(OnLabel(t.tv, t.b));
  Pump();
  clock.Advance(499);
  Pump();
  EXPECT_EQ(tipAt(t.b), nullptr);
  clock.Advance(1);
  Pump();
  THintWindow* tip = tipAt(t.b);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->Caption(), t.b->Text());
  // In place: over the label, and the whole text, past the tree's edge.
  EXPECT_EQ(tip->Left(), t.tv->ClientToScreen({t.b->DisplayRect(true).Left, 0}).X);
  EXPECT_GT(tip->Width(), t.tv->ClientWidth());
  // Moving over the tip keeps it; a key takes it away.
  win::POINT onTip = OnLabel(t.tv, t.b);
  win::InjectMouseMove({onTip.x + 10, onTip.y});
  Pump();
  EXPECT_TRUE(win::IsWindowVisible(tip->Handle()));
  win::SetFocus(t.tv->Handle());
  win::InjectKeyPress(win::VK_SHIFT);
  Pump();
  EXPECT_FALSE(win::IsWindowVisible(tip->Handle()));

  // Leaving the tree takes it away too; without ToolTips there is none.
  win::InjectMouseMove(OnLabel(t.tv, t.a));
  win::InjectMouseMove(OnLabel(t.tv, t.b));
  Pump();
  clock.Advance(500);
  Pump();
  EXPECT_TRUE(win::IsWindowVisible(tip->Handle()));
  win::InjectMouseMove({onTip.x + 10, onTip.y});  // over the tip, then away from both
  Pump();
  EXPECT_TRUE(win::IsWindowVisible(tip->Handle()));
  TPoint outside = t.host.ClientToScreen({250, 180});
  win::InjectMouseMove({outside.X, outside.Y});
  Pump();
  EXPECT_FALSE(win::IsWindowVisible(tip->Handle()));
  t.tv->SetToolTips(false);
  win::InjectMouseMove(OnLabel(t.tv, t.b));
  Pump();
  clock.Advance(1000);
  Pump();
  EXPECT_FALSE(win::IsWindowVisible(tip->Handle()));
}

// A node class of the program's own, chosen through OnCreateNodeClass.
class TChannelNode : public TTreeNode {
  VXN_DECLARE_CLASS(TChannelNode)

 public:
  using TTreeNode::TTreeNode;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TChannelNode, TTreeNode)

TEST_F(ComCtrlsTest, AdvancedCustomDrawStagesAndImageCallbacks) {
  Tree t;
  auto images = SolidImages({clRed, clBlue, clLime});
  t.tv->SetImages(images.get());
  win::SetFocus(t.tv->Handle());
  t.tv->SetSelected(t.b);
  struct Draw {
    std::vector<std::string> Log;
    bool NoImagesForA = false;
    void Tree(TObject*, const TRect&, TCustomDrawStage Stage, bool&) {
      Log.push_back(Stage == cdPrePaint ? "tree pre" : "tree post");
    }
    void Item(TObject*, TTreeNode* N, TCustomDrawState, TCustomDrawStage Stage, bool& Images, bool&) {
      Log.push_back(N->Text() + (Stage == cdPrePaint ? " pre" : " post"));
      if (NoImagesForA && N->Text() == "A") Images = false;
    }
    // Images chosen while drawing: lime for a node, blue for the selected one.
    void Image(TObject*, TTreeNode* N) {
      Log.push_back("image " + N->Text());
      N->SetImageIndex(2);
    }
    void Selected(TObject*, TTreeNode* N) {
      Log.push_back("selected image " + N->Text());
      N->SetSelectedIndex(1);
    }
  } draw;
  t.tv->OnAdvancedCustomDraw = TTVAdvancedCustomDrawEvent(&draw, &Draw::Tree);
  t.tv->OnAdvancedCustomDrawItem = TTVAdvancedCustomDrawItemEvent(&draw, &Draw::Item);
  t.tv->OnGetImageIndex = TTVExpandedEvent(&draw, &Draw::Image);
  t.tv->OnGetSelectedIndex = TTVExpandedEvent(&draw, &Draw::Selected);
  Paint(t.host);
  EXPECT_EQ(draw.Log, (std::vector<std::string>{"tree pre", "A pre", "image A", "A post", "B pre", "selected image B",
                                                "B post", "tree post"}));
  // Setting indexes while drawing asks for no further painting.
  EXPECT_FALSE(win::GetUpdateRect(t.tv->Handle(), nullptr, win::FALSE));
  Integer iconX = t.a->DisplayRect(true).Left - 10;
  EXPECT_EQ(PixelOf(t.host, t.tv, iconX, t.a->DisplayRect(true).Top + 8), static_cast<TColor>(ColorToRGB(clLime)));
  EXPECT_EQ(PixelOf(t.host, t.tv, iconX, t.b->DisplayRect(true).Top + 8), static_cast<TColor>(ColorToRGB(clBlue)));
  draw.NoImagesForA = true;
  draw.Log.clear();
  Paint(t.host);
  EXPECT_EQ(PixelOf(t.host, t.tv, iconX, t.a->DisplayRect(true).Top + 8), static_cast<TColor>(ColorToRGB(clWindow)));
  EXPECT_EQ(std::count(draw.Log.begin(), draw.Log.end(), "image A"), 0);
  t.tv->SetImages(nullptr);

  struct Classes {
    TClass Chosen;
    void Create(TObject*, TClass& C) { C = Chosen; }
  } classes{TChannelNode::StaticClass()};
  t.tv->OnCreateNodeClass = TTVCreateNodeClassEvent(&classes, &Classes::Create);
  EXPECT_NE(dynamic_cast<TChannelNode*>(t.tv->Items()->AddChild(t.b, "Channel 1")), nullptr);
  classes.Chosen = TStatusPanel::StaticClass();  // not a node: an ordinary one is made
  TTreeNode* plain = t.tv->Items()->AddChild(t.b, "Channel 2");
  EXPECT_EQ(plain->ClassType(), TTreeNode::StaticClass());
}

TEST_F(ComCtrlsTest, ChangeDelayReportsWhereQuickMovesEnd) {
  TFakeClockScope clock;
  Tree t;
  t.tv->FullExpand();
  Events ev;
  t.tv->OnChange = TTVChangedEvent(&ev, &Events::Change);
  t.tv->SetChangeDelay(300);
  win::SetFocus(t.tv->Handle());
  t.tv->SetSelected(t.a);
  for (int i = 0; i < 3; ++i) win::InjectKeyPress(win::VK_DOWN);
  Pump();
  EXPECT_TRUE(ev.Log.empty());
  clock.Advance(300);
  Pump();
  EXPECT_EQ(ev.Log, (std::vector<std::string>{"change A2x"}));
}

// ---------------------------------------------------------------------------

TEST_F(ComCtrlsTest, StatusBarPanelsFillTheBarUpToTheGrip) {
  THost host;
  host.SetBounds(100, 100, 400, 100);
  auto* sb = new TStatusBar(&host);
  sb->SetParent(&host);
  host.HandleNeeded();
  win::ShowWindow(host.Handle(), win::SW_SHOW);
  EXPECT_EQ(sb->Align(), alBottom);
  EXPECT_EQ(sb->Width(), host.ClientWidth());
  TStatusPanel* p0 = sb->Panels()->Add();
  p0->SetWidth(120);
  p0->SetText("COM1");
  TStatusPanel* p1 = sb->Panels()->Add();
  p1->SetWidth(80);
  p1->SetText("Ready");
  p1->SetAlignment(taCenter);
  EXPECT_EQ(sb->PanelRect(0).Left, 0);
  EXPECT_EQ(sb->PanelRect(0).Right, 120);
  EXPECT_EQ(sb->PanelRect(1).Left, 120);
  TRect grip = sb->SizeGripRect();
  EXPECT_EQ(grip.Right, sb->ClientWidth());
  EXPECT_EQ(sb->PanelRect(1).Right, grip.Left);  // the last panel stretches
  sb->SetSizeGrip(false);
  EXPECT_EQ(sb->PanelRect(1).Right, sb->ClientWidth());
  EXPECT_TRUE(sb->SizeGripRect().Width() == 0);
  sb->SetSizeGrip(true);

  TPoint g = sb->ClientToScreen({grip.Left + grip.Width() / 2, grip.Top + grip.Height() / 2});
  EXPECT_EQ(win::SendMessage(sb->Handle(), win::WM_NCHITTEST, 0, win::MAKELPARAM(g.X, g.Y)), win::HTBOTTOMRIGHT);

  struct Owner {
    std::vector<std::string> Drawn;
    void Draw(TStatusBar*, TStatusPanel* P, const TRect& R) {
      Drawn.push_back(P->Text() + (R.Width() > 0 ? " ok" : " empty"));
    }
  } owner;
  sb->OnDrawPanel = TDrawPanelEvent(&owner, &Owner::Draw);
  p1->SetStyle(psOwnerDraw);
  Paint(host);
  EXPECT_EQ(owner.Drawn, (std::vector<std::string>{"Ready ok"}));
  sb->SetSimplePanel(true);
  sb->SetSimpleText("Reading...");
  owner.Drawn.clear();
  Paint(host);
  EXPECT_TRUE(owner.Drawn.empty());  // the simple text replaces the panels
}

// ---------------------------------------------------------------------------

class ToolBarTest : public ComCtrlsTest {
 protected:
  struct Bar {
    THost host;
    TToolBar* bar;
    std::vector<TToolButton*> buttons;
    Bar() {
      host.SetBounds(100, 100, 300, 100);
      bar = new TToolBar(&host);
      bar->SetParent(&host);
      bar->SetFlat(true);
      host.HandleNeeded();
      win::ShowWindow(host.Handle(), win::SW_SHOW);
    }
    TToolButton* Add(TToolButtonStyle Style) {
      auto* b = new TToolButton(&host);
      b->SetStyle(Style);
      b->SetParent(bar);
      buttons.push_back(b);
      return b;
    }
    win::POINT At(TToolButton* b) {
      TPoint p = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
      return {p.X, p.Y};
    }
  };
};

TEST_F(ToolBarTest, ButtonsLineUpAndClick) {
  Bar t;
  TToolButton* open = t.Add(tbsButton);
  TToolButton* sep = t.Add(tbsSeparator);
  TToolButton* check = t.Add(tbsCheck);
  TToolButton* off = t.Add(tbsButton);
  EXPECT_EQ(open->Left(), 0);
  EXPECT_EQ(sep->Left(), 23);
  EXPECT_EQ(check->Left(), 31);
  EXPECT_EQ(t.bar->ButtonCount(), 4);
  EXPECT_EQ(check->Index(), 2);

  struct Clicks {
    std::vector<std::string> Log;
    void Click(TObject* S) { Log.push_back(static_cast<TToolButton*>(S)->Caption()); }
  } clicks;
  open->SetCaption("open");
  check->SetCaption("check");
  off->SetCaption("off");
  for (TToolButton* b : {open, check, off}) b->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
  off->SetEnabled(false);
  for (TToolButton* b : {open, check, off, check}) {
    win::InjectClick(t.At(b));
    Pump();
  }
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"open", "check", "check"}));
  EXPECT_FALSE(check->Down());  // down and up again

  // Grouped check buttons: one down at a time, and one stays down.
  TToolButton* g1 = t.Add(tbsCheck);
  TToolButton* g2 = t.Add(tbsCheck);
  g1->SetGrouped(true);
  g2->SetGrouped(true);
  g1->SetDown(true);
  win::InjectClick(t.At(g2));
  Pump();
  EXPECT_TRUE(g2->Down());
  EXPECT_FALSE(g1->Down());
  win::InjectClick(t.At(g2));
  Pump();
  EXPECT_TRUE(g2->Down());
}

// A stand-in for a popup menu: records where it was asked to appear.
class TRecordingPopup : public TComponent, public IPopupComponent {
 public:
  using TComponent::TComponent;
  bool AutoPopup() const override { return true; }
  void SetPopupComponent(TComponent* C) override { Component = C; }
  void Popup(Integer X, Integer Y) override { At.push_back({X, Y}); }
  TComponent* Component = nullptr;
  std::vector<TPoint> At;
};

TEST_F(ToolBarTest, DropDownArrowOpensTheMenu) {
  Bar t;
  TToolButton* b = t.Add(tbsDropDown);
  EXPECT_EQ(b->Width(), 23 + 14);
  TRecordingPopup menu(nullptr);
  b->SetDropdownMenu(&menu);
  struct Clicks {
    int N = 0;
    void Click(TObject*) { ++N; }
  } clicks;
  b->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
  TPoint arrow = b->ClientToScreen({b->Width() - 5, b->Height() / 2});
  win::InjectClick({arrow.X, arrow.Y});
  Pump();
  ASSERT_EQ(menu.At.size(), 1u);
  EXPECT_EQ(menu.At[0], b->ClientToScreen({0, b->Height()}));
  EXPECT_EQ(menu.Component, b);
  EXPECT_EQ(clicks.N, 0);
  win::InjectClick(t.At(b));  // the face is an ordinary button
  Pump();
  EXPECT_EQ(clicks.N, 1);
  EXPECT_EQ(menu.At.size(), 1u);
  b->SetDropdownMenu(nullptr);
}

TEST_F(ToolBarTest, CustomDrawGetsTheButtonStates) {
  Bar t;
  TToolButton* plain = t.Add(tbsButton);
  TToolButton* checked = t.Add(tbsCheck);
  TToolButton* disabled = t.Add(tbsButton);
  TToolButton* mixed = t.Add(tbsCheck);
  checked->SetDown(true);
  disabled->SetEnabled(false);
  mixed->SetIndeterminate(true);

  struct Draw {
    std::map<TToolButton*, TCustomDrawState> Pre;
    std::vector<std::string> Calls;
    TToolButton* Owned = nullptr;
    void Bar(TToolBar*, const TRect&, bool&) { Calls.push_back("bar"); }
    std::map<TToolButton*, TCustomDrawState> Simple;
    void Button(TToolBar*, TToolButton* B, TCustomDrawState S, bool& D) {
      Calls.push_back("button");
      Simple[B] = S;
      if (B == Owned) D = false;
    }
    void Advanced(TToolBar*, TToolButton* B, TCustomDrawState S, TCustomDrawStage Stage, bool&) {
      if (Stage == cdPrePaint) Pre[B] = S;
      if (Stage == cdPostPaint) Calls.push_back("post");
    }
  } draw;
  t.bar->OnCustomDraw = TTBCustomDrawEvent(&draw, &Draw::Bar);
  t.bar->OnCustomDrawButton = TTBCustomDrawBtnEvent(&draw, &Draw::Button);
  t.bar->OnAdvancedCustomDrawButton = TTBAdvancedCustomDrawBtnEvent(&draw, &Draw::Advanced);

  // Hot follows the mouse.
  win::InjectMouseMove(t.At(plain));
  Pump();
  EXPECT_EQ(t.bar->HotButton(), plain);
  Paint(t.host);
  EXPECT_EQ(draw.Calls.front(), "bar");
  EXPECT_EQ(draw.Pre[plain], TCustomDrawState{cdsHot});
  EXPECT_EQ(draw.Pre[checked], TCustomDrawState{cdsChecked});
  EXPECT_EQ(draw.Pre[disabled], TCustomDrawState{cdsDisabled});
  EXPECT_EQ(draw.Pre[mixed], TCustomDrawState{cdsIndeterminate});
  EXPECT_EQ(draw.Simple[plain], TCustomDrawState{cdsHot});
  EXPECT_EQ(draw.Simple[checked], TCustomDrawState{cdsChecked});

  // Held down under the mouse: selected as well as hot.
  win::InjectMouseButton(win::VK_LBUTTON, true, t.At(plain));
  Pump();
  Paint(t.host);
  EXPECT_EQ(draw.Pre[plain], (TCustomDrawState{cdsHot, cdsSelected}));
  win::InjectMouseButton(win::VK_LBUTTON, false, t.At(plain));
  TPoint away = t.host.ClientToScreen({150, 80});
  win::InjectMouseMove({away.X, away.Y});
  Pump();
  EXPECT_EQ(t.bar->HotButton(), nullptr);

  // A button drawn by its handler gets no advanced calls.
  draw.Owned = checked;
  draw.Pre.clear();
  draw.Calls.clear();
  Paint(t.host);
  EXPECT_EQ(draw.Pre.count(checked), 0u);
  EXPECT_EQ(draw.Pre.count(plain), 1u);
  EXPECT_EQ(std::count(draw.Calls.begin(), draw.Calls.end(), "post"), 3);
}

TEST_F(ToolBarTest, AButtonStandsForItsMenuItem) {
  Bar t;
  struct Clicks {
    int N = 0;
    void Click(TObject*) { ++N; }
  } clicks;
  auto* item = new TMenuItem(&t.host);
  item->SetCaption("&Open");
  item->SetHint("Opens a file");
  item->SetImageIndex(3);
  item->SetEnabled(true);
  item->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
  TToolButton* b = t.Add(tbsButton);
  b->SetMenuItem(item);
  EXPECT_EQ(b->Caption(), "&Open");
  EXPECT_EQ(b->GetHint(), "Opens a file");
  EXPECT_EQ(b->ImageIndex(), 3);
  win::InjectClick(t.At(b));
  Pump();
  EXPECT_EQ(clicks.N, 1);
  delete item;
  EXPECT_EQ(b->MenuItem(), nullptr);
  win::InjectClick(t.At(b));
  Pump();
  EXPECT_EQ(clicks.N, 1);
}

TEST_F(ToolBarTest, HotAndDisabledButtonsTakeTheirImageLists) {
  Bar t;
  auto normal = SolidImages({clRed});
  auto hot = SolidImages({clBlue});
  t.bar->SetImages(normal.get());
  t.bar->SetHotImages(hot.get());
  TToolButton* one = t.Add(tbsButton);
  TToolButton* two = t.Add(tbsButton);
  TToolButton* off = t.Add(tbsButton);
  for (TToolButton* b : {one, two, off}) b->SetImageIndex(0);
  off->SetEnabled(false);
  win::InjectMouseMove(t.At(two));
  Pump();
  Paint(t.host);
  auto center = [&](TToolButton* b) { return PixelOf(t.host, t.bar, b->Left() + b->Width() / 2, b->Top() + b->Height() / 2); };
  EXPECT_EQ(center(one), static_cast<TColor>(ColorToRGB(clRed)));
  EXPECT_EQ(center(two), static_cast<TColor>(ColorToRGB(clBlue)));
  EXPECT_NE(center(off), static_cast<TColor>(ColorToRGB(clRed)));  // the disabled look
  t.bar->SetImages(nullptr);
  t.bar->SetHotImages(nullptr);
}

// A frame with a tool bar, a tree and a status bar, saved for a person to look at.
// The tree's expand buttons are the style's glyphs while it is on, the
// classic boxes framed in the grey-text colour without it.
TEST_F(ComCtrlsTest, TreeButtonsFollowTheVisualStyle) {
  VisualStylesScope styles(true);
  Tree t;
  t.tv->SetShowLines(false);
  auto count = [&](TColor color) {
    int n = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 40; ++x) n += PixelOf(t.host, t.tv, x, y) == color;
    return n;
  };
  Paint(t.host);
  TColor grey = ColorToRGB(clGrayText);
  EXPECT_EQ(count(grey), 0);
  EXPECT_LT(count(ColorToRGB(clWindow)), 40 * 60);  // the glyphs are there
  win::SetVisualStylesEnabled(false);
  Paint(t.host);
  EXPECT_GT(count(grey), 20);
}

// Without the style a checked button that is down shows a dither of the
// face and the highlight inside its sunken edge; pressed, it is plain face.
TEST_F(ToolBarTest, ACheckedButtonIsDitheredInTheClassicLook) {
  VisualStylesScope classic(false);
  Bar t;
  TToolButton* check = t.Add(tbsCheck);
  check->SetDown(true);
  Paint(t.host);
  const auto face = static_cast<TColor>(ColorToRGB(clBtnFace)), light = static_cast<TColor>(ColorToRGB(clBtnHighlight));
  // Away from the edge and the image: alternate pixels along a row and a column.
  Integer y = 4;
  for (Integer x = 4; x < 10; ++x) {
    TColor here = PixelOf(t.host, check, x, y), right = PixelOf(t.host, check, x + 1, y);
    EXPECT_TRUE((here == face && right == light) || (here == light && right == face)) << x;
    EXPECT_EQ(PixelOf(t.host, check, x, y + 1), right) << x;
  }
}

TEST_F(ToolBarTest, WithTheStyleButtonsAreTheStylesToolButtons) {
  VisualStylesScope styles(true);
  Bar t;
  TToolButton* plain = t.Add(tbsButton);
  TToolButton* check = t.Add(tbsCheck);
  check->SetDown(true);
  Paint(t.host);
  win::ScopedTheme theme(u"ToolBar");
  win::COLORREF checkedBorder = 0;
  win::GetThemeColor(theme.get(), win::TP_BUTTON, win::TS_CHECKED, win::TMT_BORDERCOLOR, &checkedBorder);
  EXPECT_EQ(PixelOf(t.host, check, 0, check->Height() / 2), static_cast<TColor>(checkedBorder));
  // A normal button shows nothing of its own: the bar's colour.
  EXPECT_EQ(PixelOf(t.host, plain, 0, plain->Height() / 2), ColorToRGB(t.bar->Color()));
}

TEST_F(ComCtrlsTest, FrameWithBarsAndTreeScreenshot) {
  VisualStylesScope styles(true);  // the picture shows the default look
  TWinControl* previousMain = Application->MainForm();
  auto* frame = new TForm(nullptr);
  frame->SetFormStyle(fsMDIForm);
  frame->SetCaption("Programming software");
  frame->SetBounds(0, 0, 640, 420);
  frame->AfterConstruction();
  Application->SetMainForm(frame);
  auto images = SolidImages({clNavy, clGreen, clMaroon, clOlive});
  auto* bar = new TToolBar(frame);
  bar->SetParent(frame);
  bar->SetFlat(true);
  bar->SetImages(images.get());
  for (int i = 0; i < 5; ++i) {
    auto* b = new TToolButton(frame);
    b->SetStyle(i == 2 ? tbsSeparator : (i == 4 ? tbsCheck : tbsButton));
    b->SetImageIndex(i > 2 ? i - 1 : i);
    b->SetParent(bar);
  }
  auto* sb = new TStatusBar(frame);
  sb->SetParent(frame);
  for (const char* text : {"COM1", "N41", "Ready"}) {
    TStatusPanel* p = sb->Panels()->Add();
    p->SetText(text);
    p->SetWidth(100);
  }
  auto* tv = new TTreeView(frame);
  tv->SetParent(frame);
  tv->SetAlign(alLeft);
  tv->SetWidth(170);
  tv->SetImages(images.get());
  TTreeNode* root = tv->Items()->Add(nullptr, "Radio");
  for (const char* s : {"Channels", "Scan groups", "Settings"}) {
    TTreeNode* n = tv->Items()->AddChild(root, s);
    n->SetImageIndex(1);
    n->SetSelectedIndex(2);
  }
  tv->Items()->AddChild(tv->Items()->Item(1), "Bank A")->SetImageIndex(3);
  tv->FullExpand();
  auto* menu = new TMainMenu(frame);
  for (const char* caption : {"&File", "&Edit", "&Radio", "&Window", "&Help"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  menu->AttachToForm(frame);
  frame->Show();
  auto* child = new TForm(nullptr);
  child->SetCaption("Channels");
  child->SetFormStyle(fsMDIChild);
  child->SetBounds(10, 10, 300, 200);
  child->AfterConstruction();
  tv->SetSelected(tv->Items()->Item(1));
  win::SetFocus(tv->Handle());
  Paint(*frame);
  EXPECT_EQ(tv->SelectionCount(), 1);
  EXPECT_FALSE(root->Selected());
  EXPECT_EQ(tv->Top(), bar->Height());
  EXPECT_EQ(sb->Top() + sb->Height(), frame->ClientHeight());
  // The MDI client takes only the space the bars and the tree leave.
  win::RECT clientArea, treeArea;
  win::GetWindowRect(frame->ClientHandle(), &clientArea);
  win::GetWindowRect(tv->Handle(), &treeArea);
  EXPECT_GE(clientArea.left, treeArea.right);
  // What the picture shows: the tool buttons' images, the focused tree's
  // selected label in the highlight colour with its selected image, the
  // first panel's text and the workspace beside the child.
  auto* first = bar->Buttons(0);
  EXPECT_EQ(PixelOf(*frame, first, first->Width() / 2, first->Height() / 2), ColorToRGB(clNavy));
  auto* checkButton = bar->Buttons(4);
  EXPECT_EQ(PixelOf(*frame, checkButton, checkButton->Width() / 2, checkButton->Height() / 2), ColorToRGB(clOlive));
  TTreeNode* channels = tv->Items()->Item(1);
  TRect label = channels->DisplayRect(true);
  int highlighted = 0;
  for (int y = label.Top; y < label.Bottom; ++y)
    for (int x = label.Left; x < label.Right; ++x) highlighted += static_cast<win::COLORREF>(PixelOf(*frame, tv, x, y)) == ColorToRGB(clHighlight);
  EXPECT_GT(highlighted, label.Width() * label.Height() / 2);
  EXPECT_EQ(PixelOf(*frame, tv, label.Left - 12, (label.Top + label.Bottom) / 2), ColorToRGB(clMaroon));
  TRect scanGroups = tv->Items()->Item(3)->DisplayRect(true);  // after Bank A, Channels' child
  EXPECT_EQ(PixelOf(*frame, tv, scanGroups.Left - 12, (scanGroups.Top + scanGroups.Bottom) / 2),
            ColorToRGB(clGreen));  // an unselected node shows its ImageIndex
  int ink = 0;
  for (int y = 0; y < sb->Height(); ++y)
    for (int x = 0; x < 100; ++x) ink += static_cast<win::COLORREF>(PixelOf(*frame, sb, x, y)) == ColorToRGB(clBtnText);
  EXPECT_GT(ink, 10);
  TPoint workspace = frame->ScreenToClient({clientArea.right - 10, clientArea.bottom - 10});
  EXPECT_EQ(ScreenColorAt(*frame, workspace.X, workspace.Y), ColorToRGB(clAppWorkSpace));
  win::HDC dc = win::GetWindowDC(frame->Handle());
  EXPECT_TRUE(win::SaveDCToPng(dc, PicturePath("common-controls.png")));
  win::ReleaseDC(frame->Handle(), dc);
  tv->SetImages(nullptr);
  bar->SetImages(nullptr);
  delete frame;
  Application->SetMainForm(previousMain);
}

}  // namespace
