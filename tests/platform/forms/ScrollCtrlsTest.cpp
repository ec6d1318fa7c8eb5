#include "platform/forms/ScrollCtrls.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

using ScrollCtrlsTest = SizedHostTest;

struct ScrollLog {
  std::vector<std::pair<TScrollCode, Integer>> Scrolls;
  int Changes = 0;
  void Scroll(TObject*, TScrollCode Code, Integer& Pos) { Scrolls.emplace_back(Code, Pos); }
  void Change(TObject*) { ++Changes; }
};

TEST_F(ScrollCtrlsTest, ScrollBarAnswersEveryCodeAndTracksTheThumb) {
  auto* sb = Place<TScrollBar>(10, 10, 200, 17);
  sb->SetParams(0, 0, 109);
  sb->SetPageSize(10);
  sb->SetSmallChange(2);
  sb->SetLargeChange(25);
  ScrollLog log;
  sb->OnScroll = TScrollEvent(&log, &ScrollLog::Scroll);
  sb->OnChange = TNotifyEvent(&log, &ScrollLog::Change);
  Show();
  SCROLLBARINFO info;
  ASSERT_TRUE(GetScrollBarInfo(sb->Handle(), OBJID_CLIENT, &info));
  auto at = [&](int x) { return POINT{info.rcScrollBar.left + x, (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2}; };
  InjectClick(at(info.dxyLineButton - 3));  // the left arrow at the start: clamped, no change
  Pump();
  EXPECT_EQ(sb->Position(), 0);
  InjectClick(at(info.rcScrollBar.right - info.rcScrollBar.left - 3));  // right arrow
  Pump();
  EXPECT_EQ(sb->Position(), 2);
  InjectClick(at(info.xyThumbBottom + 20));  // page right
  Pump();
  EXPECT_EQ(sb->Position(), 27);
  // Each press ends with scEndScroll.
  ASSERT_EQ(log.Scrolls.size(), 6u);
  EXPECT_EQ(log.Scrolls[0], std::make_pair(scLineUp, Integer{0}));
  EXPECT_EQ(log.Scrolls[1], std::make_pair(scEndScroll, Integer{0}));
  EXPECT_EQ(log.Scrolls[2], std::make_pair(scLineDown, Integer{2}));
  EXPECT_EQ(log.Scrolls[4], std::make_pair(scPageDown, Integer{27}));
  EXPECT_EQ(log.Changes, 2);

  // Thumb tracking: scTrack while moving, scPosition when let go.
  ASSERT_TRUE(GetScrollBarInfo(sb->Handle(), OBJID_CLIENT, &info));
  log.Scrolls.clear();
  int thumb = (info.xyThumbTop + info.xyThumbBottom) / 2;
  InjectDrag(at(thumb), at(info.rcScrollBar.right - info.rcScrollBar.left + 50));
  Pump();
  EXPECT_EQ(sb->Position(), 100);  // the last position the page leaves
  ASSERT_FALSE(log.Scrolls.empty());
  EXPECT_EQ(log.Scrolls.front().first, scTrack);
  bool positioned = false;
  for (auto& s : log.Scrolls) positioned |= s.first == scPosition && s.second == 100;
  EXPECT_TRUE(positioned);
  EXPECT_EQ(log.Scrolls.back().first, scEndScroll);
  EXPECT_EQ(GetScrollPos(sb->Handle(), SB_CTL), 100);

  // Keyboard-free codes straight from the window: top and bottom.
  SendMessage(host->Handle(), WM_HSCROLL, SB_TOP, reinterpret_cast<LPARAM>(sb->Handle()));
  EXPECT_EQ(sb->Position(), 0);
  SendMessage(host->Handle(), WM_HSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(sb->Handle()));
  EXPECT_EQ(sb->Position(), 100);
  EXPECT_THROW(sb->SetParams(0, 10, 5), EInvalidOperation);
  sb->SetKind(sbVertical);  // turns round
  EXPECT_EQ(sb->Width(), 17);
  EXPECT_EQ(sb->Height(), 200);
  EXPECT_EQ(GetScrollPos(sb->Handle(), SB_CTL), 100);
}

TEST_F(ScrollCtrlsTest, ScrollBoxRangeFollowsChildrenAndBarsMoveThem) {
  auto* box = Place<TScrollBox>(10, 10, 200, 150);
  auto* far = new TLogged(host.get(), nullptr, "");
  far->SetParent(box);
  far->SetBounds(10, 300, 50, 50);
  Show();
  RECT rc;
  GetClientRect(box->Handle(), &rc);
  EXPECT_EQ(box->VertRange(), 350);
  EXPECT_EQ(box->HorzRange(), 60);
  EXPECT_TRUE(GetWindowLongPtr(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongPtr(box->Handle(), GWL_STYLE) & WS_HSCROLL);
  SCROLLBARINFO info;
  ASSERT_TRUE(GetScrollBarInfo(box->Handle(), OBJID_VSCROLL, &info));
  InjectClick({(info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.bottom - 3});  // down arrow
  Pump();
  EXPECT_EQ(box->VertPosition(), 8);
  EXPECT_EQ(far->Top(), 292);
  SendMessage(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(box->VertPosition(), 350 - rc.bottom);
  EXPECT_EQ(far->Top() + far->Height(), rc.bottom);
  SendMessage(box->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(far->Top(), 300);
  // Each bar as an object of its own: its range, position and its own step.
  TControlScrollBar* vert = box->VertScrollBar();
  EXPECT_EQ(vert->Kind(), sbVertical);
  EXPECT_EQ(vert->Range(), 350);
  vert->SetIncrement(20);
  EXPECT_EQ(box->HorzScrollBar()->Increment(), 8);
  SendMessage(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(vert->Position(), 20);
  EXPECT_EQ(far->Top(), 280);
  vert->SetPosition(0);
  EXPECT_EQ(far->Top(), 300);
  box->ScrollInView(far);
  EXPECT_EQ(far->Top() + far->Height(), rc.bottom);
  // The child moved in its scrolled place stretches the range from there.
  far->SetTop(far->Top() + 100);
  EXPECT_EQ(box->VertRange(), 450);
}

}  // namespace
