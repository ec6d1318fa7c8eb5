// The suite's group box: caption places (vertical ones rotated), the room
// left for children, the accelerator, and the frame with no styles and with
// our renderer.
#include "suite/editors/cxGroupBox.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/GdiText.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxRadioGroup.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class GroupBoxTest : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    InitializeEditors();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 240);
    form->SetColor(clLime);
    box = new TcxGroupBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 185, 105);
    box->SetCaption("Port");
    box->Style()->LookAndFeel()->SetKind(lfStandard);
    form->Show();
    Application->ProcessMessages();
  }
  TcxGroupBoxViewInfo* Info() const { return static_cast<TcxGroupBoxViewInfo*>(box->ViewInfo()); }
  void Draw() {
    box->RecalculateAtCursor(false);
    Reset(box->Width(), box->Height());
    box->ViewInfo()->DrawTo(canvas.get());
  }
  // Height of "Qq" and width of the caption in the caption's upright font.
  TSize CaptionExtent(const std::string& text) {
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->Font()->Assign(box->CaptionFont());
    const Integer th = scratch.Canvas()->TextHeight("Qq");
    return {scratch.Canvas()->TextWidth(text), th};
  }
  Integer CountIn(const TRect& r, TColor c) const {
    Integer n = 0;
    for (Integer y = std::max(0, r.Top); y < std::min(bitmap->Height(), r.Bottom); ++y)
      for (Integer x = std::max(0, r.Left); x < std::min(bitmap->Width(), r.Right); ++x) n += Is(x, y, c);
    return n;
  }

  std::unique_ptr<TForm> form;
  TcxGroupBox* box = nullptr;
};

TEST_F(GroupBoxTest, CaptionRectAtEachOfTheThirteenPlaces) {
  const Integer W = 185, H = 105;
  struct Case {
    TcxCaptionAlignment alignment;
    // From the text width and height.
    TRect (*expected)(Integer tw, Integer th);
  };
  const Case cases[] = {
      {alTopLeft, [](Integer tw, Integer th) { return TRect{8, 0, 8 + tw, th}; }},
      {alTopCenter, [](Integer tw, Integer th) { return TRect{(W - tw) / 2, 0, (W - tw) / 2 + tw, th}; }},
      {alTopRight, [](Integer tw, Integer th) { return TRect{W - 8 - tw, 0, W - 8, th}; }},
      {alBottomLeft, [](Integer tw, Integer th) { return TRect{8, H - th - 2, 8 + tw, H - 2}; }},
      {alBottomCenter, [](Integer tw, Integer th) { return TRect{(W - tw) / 2, H - th - 2, (W - tw) / 2 + tw, H - 2}; }},
      {alBottomRight, [](Integer tw, Integer th) { return TRect{W - 8 - tw, H - th - 2, W - 8, H - 2}; }},
      {alLeftTop, [](Integer tw, Integer th) { return TRect{-1, 8, th - 1, 8 + tw}; }},
      {alLeftCenter,
       [](Integer tw, Integer th) { return TRect{-1, H - (H - tw) / 2 - tw, th - 1, H - (H - tw) / 2}; }},
      {alLeftBottom, [](Integer tw, Integer th) { return TRect{-1, H - 8 - tw, th - 1, H - 8}; }},
      {alRightTop, [](Integer tw, Integer th) { return TRect{W - th + 1, 8, W + 1, 8 + tw}; }},
      {alRightCenter, [](Integer tw, Integer th) { return TRect{W - th + 1, (H - tw) / 2, W + 1, (H - tw) / 2 + tw}; }},
      {alRightBottom, [](Integer tw, Integer th) { return TRect{W - th + 1, H - 8 - tw, W + 1, H - 8}; }},
      {alCenterCenter,
       [](Integer tw, Integer th) { return TRect{(W - tw) / 2, (H - th) / 2, (W - tw) / 2 + tw, (H - th) / 2 + th}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    box->SetAlignment(c.alignment);
    box->RecalculateAtCursor(false);
    const TSize e = CaptionExtent("Port");
    EXPECT_EQ(Info()->CaptionRect, c.expected(e.cx, e.cy));
    EXPECT_EQ(box->IsVerticalCaption(), c.alignment >= alLeftTop && c.alignment <= alRightBottom);
  }
}

TEST_F(GroupBoxTest, ChildrenKeepClearOfTheCaptionSide) {
  auto* child = new TPanel(form.get());
  child->SetParent(box);
  child->SetAlign(alClient);
  const Integer th = CaptionExtent("Qq").cy;
  EXPECT_EQ(child->Top(), th + 3);
  EXPECT_EQ(child->Left(), 2);
  box->SetAlignment(alRightTop);
  EXPECT_EQ(child->Top(), 2);
  EXPECT_EQ(box->Width() - child->Left() - child->Width(), th + 3);
  box->SetAlignment(alCenterCenter);
  EXPECT_EQ(child->Top(), 2) << "a centred caption takes no room";
}

TEST_F(GroupBoxTest, AcceleratorSelectsTheFirstChildAndAClickFocusesNothing) {
  auto* first = new TEdit(form.get());
  first->SetParent(box);
  first->SetBounds(10, 20, 60, 20);
  auto* outside = new TEdit(form.get());
  outside->SetParent(form.get());
  outside->SetBounds(200, 10, 60, 20);
  outside->SetFocus();
  box->SetCaption("&Port");
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'P', 0), 1);
  EXPECT_TRUE(first->Focused());
  EXPECT_FALSE(box->TabStop());
}

TEST_F(GroupBoxTest, VerticalCaptionsTurnAndLoseTheirAccelerator) {
  VisualStylesScope classic(false);
  box->Style()->SetColor(clWhite);
  auto picture = [&](const std::string& caption) {
    box->SetCaption(caption);
    Draw();
    return Rows(Info()->CaptionRect);
  };
  box->SetAlignment(alTopLeft);
  EXPECT_EQ(Info()->CaptionRect.Left, 8);
  const auto marked = picture("&Port");
  EXPECT_EQ(box->CaptionText(), "&Port");
  EXPECT_NE(marked, picture("Port")) << "the accelerator is underlined";

  box->SetAlignment(alLeftTop);
  const auto plain = picture("Port");
  EXPECT_EQ(plain, picture("&Port")) << "no ampersand, no underline";
  EXPECT_EQ(box->CaptionText(), "Port");
  const TRect r = Info()->CaptionRect;
  EXPECT_GT(r.Height(), r.Width()) << "the caption stands upright";
  // The text is really turned: its ink spreads along the rect's height.
  Integer top = r.Bottom, bottom = r.Top;
  for (Integer y = std::max(0, r.Top); y < r.Bottom; ++y)
    for (Integer x = 0; x < r.Right; ++x)
      if (Is(x, y, clBlack)) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  EXPECT_GT(bottom - top, r.Height() / 2);
}

TEST_F(GroupBoxTest, ABitmapFontTurnsInArial) {
  box->Style()->Font()->SetName("MS Sans Serif");
  box->SetAlignment(alTopLeft);
  EXPECT_EQ(box->CaptionFont()->GetName(), "MS Sans Serif");
  box->SetAlignment(alRightCenter);
  EXPECT_EQ(box->CaptionFont()->GetName(), "Arial");
  box->Style()->Font()->SetName("Tahoma");
  EXPECT_EQ(box->CaptionFont()->GetName(), "Tahoma") << "a scalable face stays";
}

TEST_F(GroupBoxTest, ClassicFramePassesThroughTheMiddleOfTheCaption) {
  VisualStylesScope classic(false);
  box->Style()->SetColor(clLime);
  Draw();
  const Integer th = Info()->CaptionHeight;
  const Integer x = box->Width() - 20;  // right of the caption
  EXPECT_TRUE(Is(x, th / 2 - 2, clLime));
  EXPECT_TRUE(Is(x, th / 2 - 1, clBtnShadow)) << "etched: shadow";
  EXPECT_TRUE(Is(x, th / 2, clBtnHighlight)) << "etched: highlight";
  EXPECT_TRUE(Is(x, th / 2 + 1, clLime));
  // The caption leaves a gap in the line; without one the line runs on.
  const TRect caption = Info()->CaptionRect;
  EXPECT_EQ(CountIn({caption.Left, th / 2 - 1, caption.Right, th / 2}, clBtnShadow), 0);
  box->SetCaption("");
  Draw();
  EXPECT_EQ(CountIn({caption.Left, th / 2 - 1, caption.Right, th / 2}, clBtnShadow), caption.Width());
  EXPECT_TRUE(Is(1, box->Height() / 2, clBtnHighlight) || Is(0, box->Height() / 2, clBtnShadow));

  // A single border in its colour, on a bottom caption's side.
  box->SetCaption("Port");
  box->SetAlignment(alBottomLeft);
  box->Style()->SetBorderStyle(cbsSingle);
  box->Style()->SetBorderColor(clRed);
  Draw();
  EXPECT_TRUE(Is(x, box->Height() - Info()->CaptionHeight / 2 - 1, clRed));
  EXPECT_TRUE(Is(x, 2, clRed) || Is(x, 1, clRed));
}

TEST_F(GroupBoxTest, AShadowFallsRightAndBelowTheFrameOnTheParentsColour) {
  VisualStylesScope classic(false);
  box->Style()->SetColor(clYellow);
  box->Style()->SetBorderStyle(cbsSingle);
  box->Style()->SetBorderColor(clRed);
  box->Style()->SetShadow(true);
  Draw();
  const Integer W = box->Width(), H = box->Height();
  const Integer th = Info()->CaptionHeight;
  // The frame stays inside the transparent border and the shadow's room.
  EXPECT_TRUE(Is(W - 5, H / 2, clRed)) << "the frame's right edge, left of the shadow";
  EXPECT_TRUE(Is(W / 2, H - 5, clRed));
  for (Integer d = 2; d <= 4; ++d) {
    EXPECT_TRUE(Is(W - d, H / 2, clBtnShadow)) << d;
    EXPECT_TRUE(Is(W / 2, H - d, clBtnShadow)) << d;
  }
  EXPECT_TRUE(Is(W - 3, th / 2 + 1, clLime)) << "above the shadow: the form";
  EXPECT_TRUE(Is(1, H - 3, clLime)) << "left of the shadow: the form";
  EXPECT_TRUE(Is(W / 2, H / 2, clYellow));
}

TEST_F(GroupBoxTest, ACentredCaptionWithShadowCentresInTheRoomLeft) {
  VisualStylesScope classic(false);
  box->Style()->SetShadow(true);
  box->SetAlignment(alTopCenter);
  const std::string wide(22, 'W');
  box->SetCaption(wide);
  box->RecalculateAtCursor(false);
  const Integer tw = CaptionExtent(wide).cx;
  EXPECT_EQ(Info()->CaptionRect.Left, (box->Width() - 3 - tw) / 2);
}

TEST_F(GroupBoxTest, NativeFrameForTopLeftAndCentreCaptionsOnly) {
  VisualStylesScope styled(true);
  box->Style()->LookAndFeel()->SetNativeStyle(true);
  box->SetParentBackground(false);
  box->Style()->SetColor(clLime);
  struct Case {
    TcxCaptionAlignment alignment;
    bool native;
  };
  const Case cases[] = {{alTopLeft, true},     {alLeftCenter, true},    {alCenterCenter, true},
                        {alBottomRight, false}, {alRightCenter, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    box->SetAlignment(c.alignment);
    Draw();
    EXPECT_EQ(Info()->NativeDrawing, c.native);
  }
  box->SetAlignment(alTopLeft);
  Draw();
  const Integer th = Info()->CaptionHeight;
  // The themed frame is drawn, below the caption's middle, and not over the
  // caption.
  EXPECT_GT(box->Width() * box->Height() - Count(clLime), 100);
  const TRect rightOfCaption{Info()->CaptionRect.Right + 1, 0, box->Width(), th / 2};
  EXPECT_EQ(CountIn(rightOfCaption, clLime), rightOfCaption.Width() * rightOfCaption.Height());
  EXPECT_LT(CountIn({rightOfCaption.Left, th / 2, rightOfCaption.Right, th / 2 + 1}, clLime), rightOfCaption.Width());
  EXPECT_GT(CountIn(Info()->CaptionRect, clLime), 0) << "the caption shows the box's colour behind its text";
}

TEST(GroupBoxStream, ThePortDialogsBoxReadsAndWritesBack) {
  InitializeEditors();
  const std::string text = R"(object Form1: TForm
  object Ports: TcxGroupBox
    Left = 8
    Top = 8
    Caption = 'Port'
    Alignment = alLeftCenter
    LookAndFeel.NativeStyle = True
    Height = 120
    Width = 150
    object COM1: TcxRadioButton
      Left = 20
      Top = 16
      Width = 65
      Height = 17
      Caption = 'COM1'
    end
  end
end
)";
  TForm form(nullptr);
  ReadComponentText(text, &form);
  auto* box = dynamic_cast<TcxGroupBox*>(form.FindComponent("Ports"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Alignment(), alLeftCenter);
  EXPECT_TRUE(box->Style()->LookAndFeel()->NativeStyle()) << "the box is drawn by what the form says";
  ASSERT_EQ(box->ControlCount(), 1);
  EXPECT_EQ(box->Controls(0)->Name(), "COM1");
  const std::string written = WriteComponentText(&form);
  EXPECT_NE(written.find("Alignment = alLeftCenter"), std::string::npos) << written;
  EXPECT_EQ(written.find("TabStop"), std::string::npos) << "off by default";
  EXPECT_EQ(written.find("CaptionBkColor"), std::string::npos);
}

TEST_F(GroupBoxTest, ANativeRadioButtonInsideShowsTheBoxBehindIt) {
  VisualStylesScope styled(true);
  box->Style()->LookAndFeel()->SetNativeStyle(true);
  box->Style()->SetColor(clYellow);
  auto* radio = new TcxRadioButton(form.get());
  radio->SetParent(box);
  radio->SetBounds(10, 30, 80, 17);
  radio->SetCaption("COM1");
  radio->LookAndFeel()->SetNativeStyle(true);
  Application->ProcessMessages();
  ASSERT_TRUE(radio->PaintsThemedParentBackground());
  Reset(radio->Width(), radio->Height());
  win::DRAWITEMSTRUCT item{};
  item.CtlType = win::ODT_BUTTON;
  item.hDC = bitmap->Canvas()->Handle();
  item.rcItem = {0, 0, radio->Width(), radio->Height()};
  radio->Perform(CN_DRAWITEM, 0, reinterpret_cast<win::LPARAM>(&item));
  EXPECT_TRUE(Is(radio->Width() - 2, 1, clLime)) << "the box shows the form through";
  box->SetParentBackground(false);
  Application->ProcessMessages();
  win::UpdateWindow(box->Handle());
  radio->Perform(CN_DRAWITEM, 0, reinterpret_cast<win::LPARAM>(&item));
  EXPECT_TRUE(Is(radio->Width() - 2, 1, clYellow)) << "the box's own colour, not white";
}

}  // namespace

// --- the button group, through its only kind of buttons: radio buttons -----------------------

namespace {

class ButtonGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
    group = new TcxRadioGroup(form.get());
    group->SetParent(form.get());
    group->SetBounds(10, 10, 200, 150);
    form->Show();
    Application->ProcessMessages();
  }
  TcxRadioGroupProperties* Props() const { return static_cast<TcxRadioGroupProperties*>(group->Properties()); }
  void Fill(Integer n, Integer columns) {
    Props()->Items()->Clear();
    for (Integer i = 0; i < n; ++i) Props()->Items()->Add()->SetCaption("Item" + std::to_string(i));
    Props()->SetColumns(columns);
  }
  TcxButtonGroupViewInfo* Info() const { return group->GroupViewInfo(); }
  // Sends an arrow to the group as the button with the focus does.
  Integer Arrow(Integer from, Word key) {
    group->Buttons(from)->SetFocus();
    Application->ProcessMessages();
    Word k = key;
    group->Buttons(from)->OnKeyDown(group->Buttons(from), k, TShiftState{});
    Application->ProcessMessages();
    return group->FocusedButtonIndex();
  }

  std::unique_ptr<TForm> form;
  TcxRadioGroup* group = nullptr;
};

TEST(ButtonGroupPropertiesTest, ColumnsShrinkToWhatTheRowsNeed) {
  InitializeEditors();
  struct Case {
    Integer items, columns, wantColumns, wantRows;
  };
  for (const Case& c : {Case{5, 4, 3, 2}, Case{3, 2, 2, 2}, Case{7, 3, 3, 3}, Case{4, 10, 4, 1}, Case{6, 1, 1, 6}}) {
    SCOPED_TRACE(std::to_string(c.items) + " items in " + std::to_string(c.columns));
    TcxCustomButtonGroupProperties p(nullptr);
    for (Integer i = 0; i < c.items; ++i) p.Items()->Add();
    p.SetColumns(c.columns);
    EXPECT_EQ(p.ColumnCount(), c.wantColumns);
    EXPECT_EQ(p.RowCount(), c.wantRows);
  }
  TcxCustomButtonGroupProperties p(nullptr);
  for (Integer bad : {0, -3}) {
    p.SetColumns(bad);
    EXPECT_EQ(p.Columns(), 1);
  }
  EXPECT_EQ(p.SupportedOperations(), 0x88Fu);
  p.Items()->Add();
  EXPECT_EQ(p.SupportedOperations(), 0x8AFu);
  // The sample of the kind is filled.
  auto sample = p.CreateOfSameClass();
  auto* filled = static_cast<TcxCustomButtonGroupProperties*>(sample.get());
  ASSERT_EQ(filled->Items()->Count(), 3);
  EXPECT_EQ(filled->Items()->Items(2)->Caption(), "C");
  EXPECT_EQ(filled->Columns(), 3);
}

TEST_F(ButtonGroupTest, ButtonsFillColumnsFirstAndShareTheRowsLeftover) {
  Fill(3, 2);
  TcxGroupBoxButtonViewInfo* third = Info()->GroupButton(2);
  EXPECT_EQ(third->Column, 1);
  EXPECT_EQ(third->Row, 0);
  for (Integer content : {100, 101}) {
    SCOPED_TRACE(content);
    Fill(3, 1);
    const Integer frame = group->Height() - Info()->InnerControlRect.Height();
    group->SetBounds(10, 10, 200, content + frame);
    group->RecalculateAtCursor(false);
    const TRect inner = Info()->InnerControlRect;
    ASSERT_EQ(inner.Height(), content);
    // Inside the 3D frame, below the caption's line.
    EXPECT_EQ(inner.Left, 2);
    EXPECT_EQ(inner.Right, group->Width() - 2);
    // 100 and 101 rows of 33: what is left over goes half above, the
    // larger half below.
    const Integer first = inner.Top + (content == 101 ? 1 : 0);
    for (Integer i = 0; i < 3; ++i) {
      const TRect r = Info()->Button(i)->Bounds;
      EXPECT_EQ(r.Top, first + 33 * i);
      EXPECT_EQ(r.Height(), 33);
      EXPECT_EQ(r.Left, inner.Left + 6) << "clear of the frame";
      EXPECT_EQ(r.Width(), inner.Width() - 6);
      EXPECT_EQ(group->Buttons(i)->BoundsRect(), r) << "the window stands where its view info says";
    }
  }
}

TEST_F(ButtonGroupTest, ButtonsFollowTheItemsOneByOne) {
  Fill(3, 1);
  ASSERT_EQ(group->ButtonCount(), 3);
  TWinControl* first = group->Buttons(0);
  TWinControl* last = group->Buttons(2);
  Props()->Items()->Delete(1);
  ASSERT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->Buttons(0), first);
  EXPECT_EQ(group->Buttons(1), last) << "the middle button went, not the last";
  EXPECT_EQ(static_cast<TcxCustomRadioGroupButton*>(last)->Caption(), "Item2");
  Props()->Items()->Add()->SetCaption("New");
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->RadioButton(2)->Caption(), "New");

  Props()->Items()->Items(1)->SetEnabled(false);
  EXPECT_TRUE(group->Buttons(0)->Enabled());
  EXPECT_FALSE(group->Buttons(1)->Enabled()) << "its item is disabled";
  Props()->Items()->Items(1)->SetEnabled(true);
  group->SetEnabled(false);
  for (Integer i = 0; i < 3; ++i) EXPECT_FALSE(group->Buttons(i)->Enabled());
  group->SetEnabled(true);
  EXPECT_TRUE(group->Buttons(1)->Enabled());
}

TEST_F(ButtonGroupTest, ANoticeNamingAnItemPastTheButtonsKeepsThemInStep) {
  Fill(3, 1);
  Props()->Items()->NotifyItem(bgicDeleted, 7);
  EXPECT_EQ(group->ButtonCount(), 3);
  Props()->Items()->NotifyItem(bgicDeleted, -1);
  EXPECT_EQ(group->ButtonCount(), 3);
  Props()->Items()->NotifyItem(bgicAdded, 3);
  EXPECT_EQ(group->ButtonCount(), 3) << "no button beyond the items";
}

TEST_F(ButtonGroupTest, ArrowsMoveAlongColumnsAndRows) {
  struct Case {
    Integer items, columns, from;
    Word key;
    Integer to;
  };
  const Case cases[] = {
      {7, 3, 3, win::VK_RIGHT, 6},  // column 1, row 0 to the third column
      {7, 3, 4, win::VK_RIGHT, 4},  // nothing beside it in the third column
      {7, 3, 6, win::VK_LEFT, 3},  {7, 3, 4, win::VK_UP, 3},   {7, 3, 0, win::VK_UP, 0},
      {7, 3, 2, win::VK_DOWN, 2},  {7, 3, 5, win::VK_DOWN, 5},  // last rows
      {3, 2, 2, win::VK_DOWN, 2},  // alone in its column
      {3, 2, 0, win::VK_DOWN, 1},  {3, 2, 0, win::VK_LEFT, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.items) + "/" + std::to_string(c.columns) + " from " + std::to_string(c.from) +
                 " key " + std::to_string(c.key));
    Fill(c.items, c.columns);
    EXPECT_EQ(Arrow(c.from, c.key), c.to);
  }
}

}  // namespace
