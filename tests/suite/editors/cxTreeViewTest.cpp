// The tree view container on a shown form, as the radio's main window uses
// it: construction and the link to the inner tree, properties and events
// forwarded to the inner tree, clicks, keys and mouse positions handed back
// to the container, the application's calls (expand all, select, the node
// at a point), the container's scroll bars following the tree's, hot
// tracking, the form file with nodes and images, and pictures in both looks.
#include "suite/editors/cxTreeView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/Pictures.h"
#include "tests/support/SolidImages.h"
#include "tests/support/VisualStylesScope.h"

namespace {

// What the handlers saw, in order.
struct Log {
  std::vector<std::string> lines;
  TObject* sender = nullptr;
  TPoint point;
  bool clearKey = false;
  void Click(TObject* Sender) {
    sender = Sender;
    lines.push_back("click");
  }
  void DblClick(TObject* Sender) {
    sender = Sender;
    lines.push_back("dblclick");
  }
  void MouseDown(TObject* Sender, TMouseButton, TShiftState, Integer X, Integer Y) {
    sender = Sender;
    point = {X, Y};
    lines.push_back("down");
  }
  void KeyDown(TObject*, Word& Key, TShiftState) {
    lines.push_back("keydown " + std::to_string(Key));
    if (clearKey) Key = 0;
  }
  void KeyPress(TObject*, char32_t& Key) { lines.push_back("keypress " + std::to_string(static_cast<int>(Key))); }
  void InnerKeyPress(TObject*, char32_t& Key) {
    lines.push_back("inner keypress " + std::to_string(static_cast<int>(Key)));
  }
  void Changed(TObject* Sender, TTreeNode* Node) {
    sender = Sender;
    lines.push_back("change " + (Node ? Node->Text() : std::string("-")));
  }
  void Popup(TObject* Sender, TPoint, bool& Handled) {
    sender = Sender;
    Handled = true;
    lines.push_back("popup");
  }
};

class TreeViewContainer : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 240);
    tree = new TcxTreeView(form.get());
    tree->SetParent(form.get());
    // A visible border, so that the inner tree does not start at 0, 0.
    tree->Style()->SetTransparentBorder(false);
    tree->Style()->SetBorderStyle(cbsSingle);
    tree->SetBounds(10, 10, 160, 120);
    after = new TEdit(form.get());
    after->SetParent(form.get());
    after->SetBounds(200, 10, 80, 20);
    radio = Items()->Add(nullptr, "Radio");
    memory = Items()->AddChild(radio, "Memory");
    channels = Items()->AddChild(memory, "Channels");
    settings = Items()->AddChild(radio, "Settings");
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }

  TcxCustomInnerTreeView* Inner() { return tree->InnerTreeView(); }
  TTreeNodes* Items() { return tree->Items(); }
  win::POINT OnLabel(TTreeNode* n) {
    const TRect r = n->DisplayRect(true);
    const TPoint p = Inner()->ClientToScreen({r.Left + 3, r.Top + r.Height() / 2});
    return {p.X, p.Y};
  }
  void ClickAt(win::POINT p) {
    win::InjectMouseButton(win::VK_LBUTTON, true, p);
    win::InjectMouseButton(win::VK_LBUTTON, false, p);
    Application->ProcessMessages();
  }
  void AddRows(Integer n) {
    Items()->BeginUpdate();
    for (Integer i = 0; i < n; ++i) Items()->Add(nullptr, "Row " + std::to_string(i));
    Items()->EndUpdate();
  }

  std::unique_ptr<TForm> form;
  TcxTreeView* tree = nullptr;
  TEdit* after = nullptr;
  TTreeNode *radio = nullptr, *memory = nullptr, *channels = nullptr, *settings = nullptr;
};

TEST_F(TreeViewContainer, TheInnerTreeIsMadeAlignedAndLinkedBothWays) {
  TcxTreeView fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 120);
  EXPECT_EQ(fresh.Height(), 100);
  EXPECT_FALSE(fresh.ParentColor());

  TcxCustomInnerTreeView* inner = Inner();
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Owner(), tree);
  EXPECT_EQ(inner->Parent(), tree);
  EXPECT_EQ(inner->Align(), alClient);
  EXPECT_EQ(inner->BorderStyle(), bsNone);
  EXPECT_FALSE(inner->AutoSize());
  EXPECT_FALSE(inner->ParentColor());
  EXPECT_TRUE(inner->ParentFont());
  EXPECT_TRUE(inner->ControlStyle.Contains(csDoubleClicks));
  EXPECT_EQ(tree->InnerControl(), inner);
  EXPECT_EQ(inner->ControlContainer(), tree);
  EXPECT_EQ(FindContainerOfControl(inner), tree);
  EXPECT_EQ(inner->LookAndFeel()->MasterLookAndFeel(), tree->Style()->LookAndFeel());
  EXPECT_NE(inner->cxCanvas(), nullptr);
  EXPECT_EQ(inner->BoundsRect(), tree->ViewInfo()->InnerControlRect);
  EXPECT_GT(inner->Left(), 0);
}

TEST_F(TreeViewContainer, PublishedPropertiesAreTheInnerTrees) {
  // Each written by name through the container and read back from the
  // inner tree, away from its default.
  const struct {
    const char* name;
    int64_t value;
  } cases[] = {
      {"AutoExpand", 1},   {"ChangeDelay", 250}, {"HideSelection", 0}, {"HotTrack", 1},
      {"Indent", 25},      {"MultiSelect", 1},   {"ReadOnly", 1},      {"RightClickSelect", 1},
      {"RowSelect", 1},    {"ShowButtons", 0},   {"ShowLines", 0},     {"ShowRoot", 0},
      {"SortType", stText}, {"ToolTips", 0},
      {"MultiSelectStyle", static_cast<int64_t>(TMultiSelectStyle{msShiftSelect, msSiblingOnly}.Bits())},
  };
  for (const auto& c : cases) {
    const TPropInfo* own = GetPropInfo(tree, c.name);
    ASSERT_NE(own, nullptr) << c.name;
    EXPECT_EQ(GetOrdProp(tree, *own), own->Default) << c.name << ": the default is the tree's";
    SetOrdProp(tree, *own, c.value);
    EXPECT_EQ(GetOrdProp(Inner(), *GetPropInfo(Inner(), c.name)), c.value) << c.name;
    EXPECT_EQ(GetOrdProp(tree, *own), c.value) << c.name;
  }

  auto images = SolidImages({clRed, clLime});
  SetObjectProp(tree, *GetPropInfo(tree, "Images"), images.get());
  SetObjectProp(tree, *GetPropInfo(tree, "StateImages"), images.get());
  EXPECT_EQ(Inner()->Images(), images.get());
  EXPECT_EQ(Inner()->StateImages(), images.get());
  tree->SetImages(nullptr);
  tree->SetStateImages(nullptr);

  // Assigning nodes copies them.
  TTreeView source(nullptr);
  source.Items()->AddChild(source.Items()->Add(nullptr, "One"), "Two");
  tree->SetItems(source.Items());
  ASSERT_EQ(Inner()->Items()->Count(), 2);
  EXPECT_EQ(Inner()->Items()->Item(1)->Text(), "Two");
  EXPECT_EQ(Inner()->Items()->Item(1)->Parent(), Inner()->Items()->Item(0));
}

TEST_F(TreeViewContainer, ForwardedEventsLiveInTheInnerTreeAndComeFromIt) {
  Log log;
  SetMethodProp(tree, *GetPropInfo(tree, "OnChange"), TTVChangedEvent(&log, &Log::Changed).AsMethod());
  EXPECT_TRUE(Inner()->OnChange.Assigned());
  EXPECT_TRUE(tree->GetOnChange().Assigned());
  tree->SetSelectedNode(settings);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"change Settings"}));
  EXPECT_EQ(log.sender, Inner());

  const char* events[] = {"OnAddition",      "OnAdvancedCustomDraw", "OnAdvancedCustomDrawItem", "OnCancelEdit",
                          "OnChange",        "OnChanging",           "OnCollapsed",              "OnCollapsing",
                          "OnCompare",       "OnCustomDraw",         "OnCustomDrawItem",         "OnDeletion",
                          "OnEditing",       "OnEdited",             "OnExpanding",              "OnExpanded",
                          "OnGetImageIndex", "OnGetSelectedIndex",   "OnCreateNodeClass"};
  for (const char* name : events) {
    const TPropInfo* own = GetPropInfo(tree, name);
    ASSERT_NE(own, nullptr) << name;
    EXPECT_EQ(own->PropType->Kind, GetPropInfo(Inner(), name)->PropType->Kind) << name;
  }
  // A handler set in C++ is the inner tree's too.
  struct Refuse {
    void Expanding(TObject*, TTreeNode*, bool& Allow) { Allow = false; }
  } refuse;
  tree->SetOnExpanding(TTVExpandingEvent(&refuse, &Refuse::Expanding));
  memory->Expand(false);
  EXPECT_FALSE(memory->Expanded());
  EXPECT_EQ(GetMethodProp(tree, *GetPropInfo(tree, "OnExpanding")).Data, &refuse);
  tree->SetOnExpanding({});
  EXPECT_FALSE(Inner()->OnExpanding.Assigned());
}

TEST_F(TreeViewContainer, WhatTheApplicationAsksOfTheTree) {
  EXPECT_EQ(tree->SelectedNode(), nullptr) << "nothing selected yet";
  tree->ExpandAllNodes();
  EXPECT_TRUE(radio->Expanded());
  EXPECT_TRUE(memory->Expanded());
  EXPECT_TRUE(channels->IsVisible());

  tree->SetSelectedNode(channels);
  EXPECT_EQ(tree->SelectedNode(), channels);
  EXPECT_EQ(Inner()->Selected(), channels);

  const TRect r = memory->DisplayRect(true);
  EXPECT_EQ(tree->NodeAtPoint(r.Left + 2, r.Top + 2), memory);
  EXPECT_EQ(tree->NodeAtPoint(5, Inner()->ClientHeight() - 2), nullptr) << "below every node";
  EXPECT_EQ(tree->NodeAtPoint(-20, -20), nullptr);

  tree->SetReadOnly(true);
  EXPECT_FALSE(channels->EditText()) << "a read-only tree edits no label";
  tree->SetReadOnly(false);
  EXPECT_TRUE(channels->EditText());
  Inner()->EndEditing(true);
}

TEST_F(TreeViewContainer, SelectionCallsReachTheInnerTreesMultiSelection) {
  tree->ExpandAllNodes();
  tree->SetMultiSelect(true);
  tree->SelectNodeArray(std::vector<TTreeNode*>{memory, settings});
  EXPECT_EQ(Inner()->SelectionCount(), 2);
  EXPECT_EQ(tree->SelectedNode(), settings);
  tree->UnselectNode(settings);
  EXPECT_EQ(tree->SelectedNode(), memory);
  tree->AddToSelection(channels, false);
  EXPECT_EQ(Inner()->SelectionCount(), 2);
  EXPECT_TRUE(channels->Selected());
  tree->ClearNodeSelection(true);
  EXPECT_EQ(Inner()->SelectionCount(), 1);
  EXPECT_EQ(tree->SelectedNode(), memory);
  EXPECT_EQ(tree->NodeToSelectNext(), settings);
  TList list;
  list.Add(radio);
  list.Add(channels);
  tree->SelectNodeList(&list);
  EXPECT_TRUE(radio->Selected());
  EXPECT_EQ(tree->SelectedNode(), channels);
  tree->SelectNodeWithShift(settings, {ssCtrl});
  EXPECT_EQ(Inner()->SelectionCount(), 3);
}

TEST_F(TreeViewContainer, AClickOnANodeIsTheContainersClick) {
  Log log;
  tree->OnClick = TNotifyEvent(&log, &Log::Click);
  tree->OnDblClick = TNotifyEvent(&log, &Log::DblClick);
  tree->OnMouseDown = TMouseEvent(&log, &Log::MouseDown);
  tree->ExpandAllNodes();
  const TRect r = memory->DisplayRect(true);
  const win::POINT p = OnLabel(memory);
  ClickAt(p);
  EXPECT_EQ(tree->SelectedNode(), memory);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"down", "click"}));
  EXPECT_EQ(log.sender, tree);
  // In the container's client coordinates: the border moves the tree in.
  EXPECT_EQ(log.point, (TPoint{r.Left + 3 + Inner()->Left(), r.Top + r.Height() / 2 + Inner()->Top()}));
  EXPECT_EQ(log.point, tree->ScreenToClient({p.x, p.y}));
  EXPECT_EQ(win::GetFocus(), Inner()->Handle());

  log.lines.clear();
  ClickAt(p);  // the second click of a double click
  EXPECT_EQ(log.lines, (std::vector<std::string>{"dblclick", "down"}));
  EXPECT_EQ(log.sender, tree);
}

TEST_F(TreeViewContainer, TabAndEnterGoToTheContainerNotToTheTree) {
  Log log;
  tree->OnKeyDown = TKeyEvent(&log, &Log::KeyDown);
  tree->OnKeyPress = TKeyPressEvent(&log, &Log::KeyPress);
  Inner()->OnKeyPress = TKeyPressEvent(&log, &Log::InnerKeyPress);
  tree->SetFocus();
  ASSERT_EQ(win::GetFocus(), Inner()->Handle());

  EXPECT_TRUE(Inner()->Perform(win::WM_GETDLGCODE, 0, 0) & win::DLGC_WANTTAB);
  EXPECT_TRUE(Inner()->Perform(win::WM_GETDLGCODE, 0, 0) & win::DLGC_WANTCHARS);
  win::InjectKey(win::VK_CONTROL, true);
  Application->ProcessMessages();
  EXPECT_FALSE(Inner()->Perform(win::WM_GETDLGCODE, 0, 0) & win::DLGC_WANTTAB) << "Ctrl+Tab is the dialog's";
  win::InjectKey(win::VK_CONTROL, false);
  Application->ProcessMessages();
  log.lines.clear();

  win::InjectKeyPress(win::VK_RETURN);
  Application->ProcessMessages();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"keydown 13", "keypress 13"})) << "Enter never reaches the tree";

  log.lines.clear();
  win::InjectKeyPress(win::VK_TAB);
  Application->ProcessMessages();
  EXPECT_EQ(win::GetFocus(), after->Handle()) << "the container's Tab handling moves on";
  for (const std::string& line : log.lines) EXPECT_EQ(line.find("inner"), std::string::npos) << line;
}

TEST_F(TreeViewContainer, TheContainerSeesKeysFirst) {
  Log log;
  tree->OnKeyDown = TKeyEvent(&log, &Log::KeyDown);
  tree->SetSelectedNode(radio);
  tree->SetFocus();
  log.clearKey = true;
  win::InjectKeyPress(win::VK_RIGHT);
  Application->ProcessMessages();
  EXPECT_FALSE(radio->Expanded()) << "a key the container took is gone";
  log.clearKey = false;
  win::InjectKeyPress(win::VK_RIGHT);
  Application->ProcessMessages();
  EXPECT_TRUE(radio->Expanded());
}

TEST_F(TreeViewContainer, ARightClickShowsTheContainersPopupOnce) {
  Log log;
  tree->OnContextPopup = TContextPopupEvent(&log, &Log::Popup);
  const win::POINT p = OnLabel(radio);
  win::InjectMouseButton(win::VK_RBUTTON, true, p);
  win::InjectMouseButton(win::VK_RBUTTON, false, p);
  Application->ProcessMessages();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"popup"}));
  EXPECT_EQ(log.sender, tree);
}

TEST_F(TreeViewContainer, ADragOfTheTreeIsTheContainers) {
  tree->SetDragMode(dmAutomatic);
  EXPECT_EQ(Inner()->DragMode(), dmAutomatic);
  for (TDragKind kind : {dkDrag, dkDock}) {
    tree->SetDragKind(kind);
    win::InjectMouseButton(win::VK_LBUTTON, true, OnLabel(radio));
    Application->ProcessMessages();
    EXPECT_TRUE(tree->Dragging()) << kind;
    EXPECT_FALSE(Inner()->Dragging()) << kind;
    CancelDrag();
    win::InjectMouseButton(win::VK_LBUTTON, false, OnLabel(radio));
    Application->ProcessMessages();
  }
}

TEST_F(TreeViewContainer, HotTrackingFollowsThePointerOverTheTree) {
  after->SetFocus();
  tree->Style()->SetHotTrack(true);
  tree->StyleHot()->SetBorderColor(clRed);
  win::InjectMouseMove(OnLabel(radio));
  Application->ProcessMessages();
  EXPECT_TRUE(tree->ViewInfo()->StateFlags & csHot);
  EXPECT_EQ(tree->ViewInfo()->BorderColor, clRed);
  const TPoint elsewhere = after->ClientToScreen({5, 5});
  win::InjectMouseMove({elsewhere.X, elsewhere.Y});
  Application->ProcessMessages();
  EXPECT_FALSE(tree->ViewInfo()->StateFlags & csHot) << "leaving the tree ends the hot state";

  tree->Style()->SetColor(clYellow);
  EXPECT_EQ(Inner()->Color(), clYellow);
  tree->Style()->Font()->SetName("Courier New");
  EXPECT_EQ(Inner()->Font()->GetName(), "Courier New");
}

TEST_F(TreeViewContainer, TheContainersBarsFollowTheTrees) {
  TcxControlScrollBar* bar = tree->VScrollBar();
  EXPECT_FALSE(bar->Visible()) << "everything fits";
  AddRows(30);
  Application->ProcessMessages();
  win::SCROLLINFO info;
  info.fMask = win::SIF_ALL;
  auto inner = [&] {
    win::GetScrollInfo(Inner()->Handle(), win::SB_VERT, &info);
    return info;
  };
  ASSERT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Max(), inner().nMax);
  EXPECT_EQ(bar->PageSize(), static_cast<Integer>(inner().nPage));
  EXPECT_EQ(bar->Position(), 0);
  // Over the tree's own bar, in the container.
  win::SCROLLBARINFO own;
  ASSERT_TRUE(win::GetScrollBarInfo(Inner()->Handle(), win::OBJID_VSCROLL, &own));
  EXPECT_EQ(bar->ClientToScreen({0, 0}), (TPoint{own.rcScrollBar.left, own.rcScrollBar.top}));

  // Scrolling with the container's bar scrolls the tree.
  const TPoint arrow = bar->ClientToScreen({bar->Width() / 2, bar->Height() - 3});
  ClickAt({arrow.X, arrow.Y});
  EXPECT_EQ(inner().nPos, 1);
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(Inner()->TopItem(), radio->GetNextVisible());

  // Inserting, deleting, expanding and collapsing: the bar follows.
  const Integer rows = inner().nMax;
  Items()->Add(nullptr, "More");
  EXPECT_EQ(bar->Max(), rows + 1);
  Items()->GetFirstNode()->getNextSibling()->Delete();
  Application->ProcessMessages();
  EXPECT_EQ(bar->Max(), rows);
  radio->Expand(false);
  EXPECT_EQ(bar->Max(), rows + 2);
  radio->Collapse(false);
  EXPECT_EQ(bar->Max(), rows);

  Items()->Clear();
  Application->ProcessMessages();
  EXPECT_FALSE(bar->Visible());
}

TEST_F(TreeViewContainer, TheNodesAndImagesOfTheFormFileComeBack) {
  auto* images = new TImageList(form.get());
  images->SetName("Images");
  AddSolidImages(images, {clRed, clLime});
  form->SetName("MainForm");
  tree->SetName("FunctionTree");
  after->SetName("Edit");
  tree->SetAlign(alClient);
  tree->SetReadOnly(true);
  tree->SetImages(images);
  channels->SetImageIndex(1);
  channels->SetSelectedIndex(1);
  const std::string text = WriteComponentText(form.get());
  EXPECT_NE(text.find("Items.Data"), std::string::npos) << text;
  EXPECT_NE(text.find("object FunctionTree: TcxTreeView"), std::string::npos) << text;
  EXPECT_EQ(text.find("TcxCustomInnerTreeView"), std::string::npos) << "the inner tree is no part of the form";

  auto read = std::make_unique<TForm>(nullptr);
  ReadComponentText(text, read.get());
  auto* again = dynamic_cast<TcxTreeView*>(read->FindComponent("FunctionTree"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Align(), alClient);
  EXPECT_TRUE(again->ReadOnly());
  EXPECT_EQ(again->Images(), read->FindComponent("Images"));
  ASSERT_EQ(again->Items()->Count(), 4);
  TTreeNode* node = again->Items()->Item(2);
  EXPECT_EQ(node->Text(), "Channels");
  EXPECT_EQ(node->Parent()->Text(), "Memory");
  EXPECT_EQ(node->ImageIndex(), 1);
  EXPECT_EQ(again->InnerTreeView()->Items(), again->Items());
}

// The picture: the container's frame around the tree, nodes with their
// images, the selection and the corner between the two bars.
class TreeViewPicture : public TreeViewContainer {
 protected:
  void Draw(const char* name) {
    images = SolidImages({clRed, clLime});
    tree->SetImages(images.get());
    radio->SetImageIndex(0);
    radio->SetSelectedIndex(0);
    memory->SetImageIndex(1);
    memory->SetSelectedIndex(1);
    Items()->AddChild(settings, "A label long enough to need the horizontal bar, and more");
    AddRows(20);
    tree->ExpandAllNodes();
    tree->SetSelectedNode(memory);
    tree->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(tree->HScrollBar()->Visible());
    ASSERT_TRUE(tree->VScrollBar()->Visible());
    surface.Reset(tree->Width(), tree->Height());
    win::RedrawWindow(form->Handle(), nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
    win::HDC dc = win::GetWindowDC(form->Handle());
    const TPoint origin = tree->ClientToScreen({0, 0});
    win::RECT window{};
    win::GetWindowRect(form->Handle(), &window);
    win::BitBlt(surface.bitmap->Canvas()->Handle(), 0, 0, tree->Width(), tree->Height(), dc,
                origin.X - window.left, origin.Y - window.top, win::SRCCOPY);
    win::ReleaseDC(form->Handle(), dc);
    surface.bitmap->SaveToFile(PicturePath(name));
  }
  void TearDown() override {
    tree->SetImages(nullptr);
    TreeViewContainer::TearDown();
  }
  // A point of the inner tree's client area in the picture.
  TPoint InPicture(TPoint p) { return tree->ScreenToClient(Inner()->ClientToScreen(p)); }

  void ExpectTreeContent() {
    const TRect icon = radio->DisplayRect(true);
    const TPoint redIcon = InPicture({icon.Left - 10, icon.Top + icon.Height() / 2});
    EXPECT_TRUE(surface.Is(redIcon.X, redIcon.Y, clRed)) << "the root's image";
    const TRect selected = memory->DisplayRect(true);
    const TPoint highlight = InPicture({selected.Right - 2, selected.Top + 1});
    EXPECT_TRUE(surface.Is(highlight.X, highlight.Y, clHighlight)) << "the selected label";
    const TPoint greenIcon = InPicture({selected.Left - 10, selected.Top + selected.Height() / 2});
    EXPECT_TRUE(surface.Is(greenIcon.X, greenIcon.Y, clLime));
    // The corner between the bars.
    const TcxControlScrollBar* h = tree->HScrollBar();
    const TcxControlScrollBar* v = tree->VScrollBar();
    EXPECT_TRUE(surface.Is(v->Left() + 2, h->Top() + 2, clBtnFace)) << "the corner is button face";
    EXPECT_TRUE(surface.Is(v->Left() + v->Width() - 2, h->Top() + h->Height() - 2, clBtnFace));
  }

  TestSurface surface;
  std::unique_ptr<TCustomImageList> images;
};

TEST_F(TreeViewPicture, WithoutStyles) {
  VisualStylesScope styles(false);
  tree->Style()->SetBorderColor(clRed);
  tree->Style()->LookAndFeel()->SetNativeStyle(true);
  Draw("cxTreeView-classic.bmp");
  ASSERT_FALSE(tree->ViewInfo()->NativeDrawing);
  EXPECT_TRUE(surface.Is(0, 0, clRed)) << "the style's single border";
  EXPECT_TRUE(surface.Is(tree->Width() - 1, tree->Height() - 1, clRed));
  ExpectTreeContent();
}

TEST_F(TreeViewPicture, WithOurRenderer) {
  VisualStylesScope styles(true);
  tree->Style()->SetBorderColor(clRed);
  tree->Style()->LookAndFeel()->SetNativeStyle(true);
  Draw("cxTreeView-styled.bmp");
  ASSERT_TRUE(tree->ViewInfo()->NativeDrawing);
  EXPECT_FALSE(surface.Is(0, 0, clRed)) << "the native border, not the style's colour";
  EXPECT_FALSE(surface.Is(0, 0, clWhite));
  ExpectTreeContent();
}

}  // namespace
