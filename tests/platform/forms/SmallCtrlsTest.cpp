#include "platform/forms/SmallCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tests/platform/forms/FormsFixture.h"
#include "tests/support/VisualStylesScope.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Mask.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/SimpleCtrls.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "tests/support/Pictures.h"

using namespace formstest;
using namespace win;

namespace {

class SmallCtrlsTest : public HostedTest {
 protected:
  void SetUp() override {
    HostedTest::SetUp();
    host->SetBounds(100, 100, 400, 300);
  }
};

struct ScrollLog {
  std::vector<std::pair<TScrollCode, Integer>> Scrolls;
  int Changes = 0;
  void Scroll(TObject*, TScrollCode Code, Integer& Pos) { Scrolls.emplace_back(Code, Pos); }
  void Change(TObject*) { ++Changes; }
};

TEST_F(SmallCtrlsTest, ScrollBarAnswersEveryCodeAndTracksTheThumb) {
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

TEST_F(SmallCtrlsTest, SplitterDragResizesItsNeighbour) {
  auto make = [&](TAlign align, Integer w) {
    auto* c = LoggedChild(*host, nullptr, "");
    c->SetWidth(w);
    c->SetAlign(align);
    return c;
  };
  TControl* left = make(alLeft, 100);
  auto* sp = new TSplitter(host.get());
  sp->SetParent(host.get());
  sp->SetLeft(100);
  TControl* client = make(alClient, 10);
  Show();
  ASSERT_EQ(sp->Left(), 100);
  int moves = 0;
  struct Moved {
    int* n;
    void On(TObject*) { ++*n; }
  } moved{&moves};
  sp->OnMoved = TNotifyEvent(&moved, &Moved::On);
  TPoint p = sp->ClientToScreen({1, 50});
  InjectDrag({p.X, p.Y}, {p.X + 60, p.Y});
  Pump();
  EXPECT_EQ(left->Width(), 160);
  EXPECT_EQ(sp->Left(), 160);
  EXPECT_EQ(client->Left(), 163);
  EXPECT_EQ(moves, 1);
  // Past the far side: the client keeps MinSize.
  p = sp->ClientToScreen({1, 50});
  InjectDrag({p.X, p.Y}, {p.X + 500, p.Y});
  Pump();
  EXPECT_EQ(left->Width(), 400 - 3 - 30);
  // Down to the minimum: snaps shut.
  p = sp->ClientToScreen({1, 50});
  InjectDrag({p.X, p.Y}, {p.X - 1000, p.Y});
  Pump();
  EXPECT_EQ(left->Width(), 0);
}

TEST_F(SmallCtrlsTest, ProgressBarStepsAndWraps) {
  auto* pb = new TProgressBar(host.get());
  pb->SetParent(host.get());
  pb->SetMax(50);
  pb->SetPosition(45);
  pb->StepIt();
  EXPECT_EQ(pb->Position(), 5);
  pb->SetPosition(80);
  EXPECT_EQ(pb->Position(), 50);
  pb->SetMax(20);
  EXPECT_EQ(pb->Position(), 20);
  Show();
  pb->SetPosition(10);
  pb->Repaint();  // painting a half-full bar must not fail
}

TEST_F(SmallCtrlsTest, UpDownStepsByClicksAndShowsInItsAssociate) {
  auto* buddy = LoggedChild(*host, nullptr, "");
  buddy->SetBounds(10, 10, 100, 24);
  auto* ud = new TUpDown(host.get());
  ud->SetMin(998);
  ud->SetMax(1002);
  ud->SetAssociate(buddy);
  EXPECT_EQ(ud->Parent(), host.get());
  EXPECT_EQ(buddy->Width(), 100 - ud->Width());
  EXPECT_EQ(ud->Left(), buddy->Left() + buddy->Width());
  EXPECT_EQ(buddy->Caption(), "998");
  std::vector<TUDBtnType> clicks;
  struct Log {
    std::vector<TUDBtnType>* v;
    void On(TObject*, TUDBtnType b) { v->push_back(b); }
  } log{&clicks};
  ud->OnClick = TUDClickEvent(&log, &Log::On);
  Show();
  TPoint up = ud->ClientToScreen({ud->Width() / 2, 2});
  TPoint down = ud->ClientToScreen({ud->Width() / 2, ud->Height() - 3});
  for (int i = 0; i < 5; ++i) InjectClick({up.X, up.Y});
  Pump();
  EXPECT_EQ(ud->Position(), 1002);  // stops at Max without Wrap
  EXPECT_EQ(buddy->Caption(), "1,002");
  InjectClick({down.X, down.Y});
  Pump();
  EXPECT_EQ(ud->Position(), 1001);
  EXPECT_EQ(clicks.size(), 6u);
  EXPECT_EQ(clicks.back(), btPrev);
  ud->SetWrap(true);
  ud->SetPosition(1002);
  InjectClick({up.X, up.Y});
  Pump();
  EXPECT_EQ(ud->Position(), 998);
  ud->SetThousands(false);
  ud->SetPosition(1000);
  EXPECT_EQ(buddy->Caption(), "1000");
  buddy->SetFocus();
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_UP);
  Pump();
  EXPECT_EQ(ud->Position(), 999);
  ud->SetArrowKeys(false);
  InjectKeyPress(VK_DOWN);
  Pump();
  EXPECT_EQ(ud->Position(), 999);
  delete buddy;
  EXPECT_EQ(ud->Associate(), nullptr);
}

TEST_F(SmallCtrlsTest, BitBtnKindsAndOwnerDrawnGlyph) {
  auto* b = Place<TBitBtn>(10, 10, 90, 28);
  b->SetKind(bkCancel);
  EXPECT_EQ(b->Caption(), "Cancel");
  EXPECT_EQ(b->ModalResult(), mrCancel);
  EXPECT_TRUE(b->Cancel());
  b->SetKind(bkOK);
  EXPECT_EQ(b->Caption(), "OK");
  EXPECT_TRUE(b->Default());
  TBitmap glyph;
  glyph.SetSize(32, 16);  // two glyphs: up (red) and disabled (blue)
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clBlue);
  glyph.Canvas()->FillRect(TRect{16, 0, 32, 16});
  glyph.Canvas()->SetPixels(0, 15, clOlive);  // the transparent colour
  b->SetGlyph(&glyph);
  EXPECT_EQ(b->NumGlyphs(), 2);
  b->SetCaption("");
  int clicks = 0;
  struct C {
    int* n;
    void On(TObject*) { ++*n; }
  } c{&clicks};
  b->OnClick = TNotifyEvent(&c, &C::On);
  Show();
  b->Repaint();
  HDC dc = GetDC(b->Handle());
  EXPECT_EQ(GetPixel(dc, 45, 14) & 0xFFFFFF, ColorToRGB(clRed) & 0xFFFFFF);  // the glyph in the middle
  ReleaseDC(b->Handle(), dc);
  b->SetEnabled(false);
  b->Repaint();
  dc = GetDC(b->Handle());
  EXPECT_EQ(GetPixel(dc, 45, 14) & 0xFFFFFF, ColorToRGB(clBlue) & 0xFFFFFF);
  ReleaseDC(b->Handle(), dc);
  b->SetEnabled(true);
  TPoint p = b->ClientToScreen({45, 14});
  InjectClick({p.X, p.Y});
  Pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(SmallCtrlsTest, ScrollBoxRangeFollowsChildrenAndBarsMoveThem) {
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

// A picture of the controls for a person to look at (under the build
// folder), with the combo's list open below it.
TEST_F(SmallCtrlsTest, ScreenshotOfTheControls) {
  host->SetBounds(20, 20, 570, 330);
  auto place = [&](TControl* c, Integer l, Integer t, Integer w, Integer h) {
    c->SetParent(host.get());
    c->SetBounds(l, t, w, h);
  };
  auto* lb = new TListBox(host.get());
  place(lb, 10, 10, 120, 100);
  for (const char* s : {"Channel 1", "Channel 2", "Channel 3", "Scan list", "Tones", "Keys", "Display", "Power"})
    lb->Items()->Add(s);
  lb->SetItemIndex(2);
  auto* od = new TListBox(host.get());
  place(od, 140, 10, 120, 100);
  od->SetStyle(lbOwnerDrawFixed);
  od->SetItemHeight(20);
  struct Painter {
    void Draw(TWinControl* c, Integer i, TRect r, TOwnerDrawState s) {
      TCanvas* cv = static_cast<TListBox*>(c)->Canvas();
      cv->FillRect(r);
      cv->Brush()->SetColor(i % 2 ? clRed : clGreen);
      cv->FillRect(TRect{r.Left + 3, r.Top + 4, r.Left + 15, r.Bottom - 4});
      cv->Brush()->SetStyle(bsClear);
      cv->TextOut(r.Left + 20, r.Top + 2, static_cast<TListBox*>(c)->Items()->Strings(i) + (s.Contains(odSelected) ? " *" : ""));
    }
  } painter;
  od->OnDrawItem = TDrawItemEvent(&painter, &Painter::Draw);
  for (const char* s : {"High power", "Low power", "Wide", "Narrow"}) od->Items()->Add(s);
  od->SetItemIndex(1);
  auto* cb = new TComboBox(host.get());
  place(cb, 270, 10, 140, 21);
  cb->SetStyle(csDropDownList);
  for (const char* s : {"12.5 kHz", "25 kHz", "6.25 kHz"}) cb->Items()->Add(s);
  cb->SetItemIndex(1);
  auto* edit = new TComboBox(host.get());
  place(edit, 270, 120, 140, 21);
  edit->SetText("446.00625");
  // The edit controls in a column on the right.
  auto* ed = new TEdit(host.get());
  place(ed, 420, 10, 140, 21);
  ed->SetText("频道 Channel 1");
  auto* me = new TMaskEdit(host.get());
  place(me, 420, 40, 140, 21);
  me->SetEditMask("9999/99/99;1; ");
  me->SetText("2026/12/10");
  auto* memo = new TMemo(host.get());
  place(memo, 420, 70, 140, 80);
  memo->Lines()->Add("Memo line one");
  memo->Lines()->Add("第二行");
  auto* sb = new TScrollBar(host.get());
  place(sb, 10, 120, 250, 17);
  sb->SetPageSize(20);
  sb->SetPosition(30);
  auto* vsb = new TScrollBar(host.get());
  vsb->SetKind(sbVertical);
  place(vsb, 390, 150, 17, 100);
  auto* box = new TScrollBox(host.get());
  place(box, 10, 145, 200, 100);
  auto* inner = new TBitBtn(host.get());
  inner->SetParent(box);
  inner->SetBounds(10, 150, 80, 25);
  inner->SetCaption("Far away");
  auto* ud = new TUpDown(host.get());
  auto* buddy = new TComboBox(host.get());
  place(buddy, 220, 150, 80, 21);
  buddy->SetStyle(csDropDown);
  ud->SetMax(16);
  ud->SetAssociate(buddy);
  ud->SetPosition(5);
  auto* pb = new TProgressBar(host.get());
  place(pb, 220, 185, 160, 16);
  pb->SetPosition(60);
  auto* ok = new TBitBtn(host.get());
  place(ok, 220, 215, 75, 25);
  ok->SetKind(bkOK);
  auto* cancel = new TBitBtn(host.get());
  place(cancel, 305, 215, 75, 25);
  cancel->SetKind(bkCancel);
  Show();
  auto* left = new TPanel(host.get());
  left->SetParent(host.get());
  left->SetHeight(40);
  left->SetAlign(alBottom);
  left->SetCaption("Panel below a splitter");
  auto* sp = new TSplitter(host.get());
  sp->SetAlign(alBottom);
  sp->SetHeight(4);
  sp->SetParent(host.get());
  sp->SetTop(left->Top() - 1);
  EXPECT_EQ(sp->Top() + sp->Height(), left->Top());
  lb->SetFocus();
  cb->SetDroppedDown(true);
  Pump();
  UpdateWindow(host->Handle());
  UpdateWindow(cb->ListHandle());

  RECT hr, lr;
  GetWindowRect(host->Handle(), &hr);
  GetWindowRect(cb->ListHandle(), &lr);
  int w = hr.right - hr.left, h = std::max(hr.bottom, lr.bottom) - hr.top;
  HDC screen = GetWindowDC(host->Handle());
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bm);
  BitBlt(mem, 0, 0, w, hr.bottom - hr.top, screen, 0, 0, SRCCOPY);
  ReleaseDC(host->Handle(), screen);
  HDC list = GetWindowDC(cb->ListHandle());
  BitBlt(mem, lr.left - hr.left, lr.top - hr.top, lr.right - lr.left, lr.bottom - lr.top, list, 0, 0, SRCCOPY);
  ReleaseDC(cb->ListHandle(), list);
  // Something other than the background was drawn where the list box stands.
  EXPECT_EQ(GetPixel(mem, 12 + 5, 12 + 2 * lb->ItemHeight() + 3) & 0xFFFFFF, ColorToRGB(clHighlight) & 0xFFFFFF);
  // The edit draws its own text (its window class paints, not the forms' paint path).
  int inked = 0;
  for (int y = 12 + 2; y < 12 + 19; ++y)
    for (int x = 422 + 2; x < 422 + 100; ++x)
      if ((GetPixel(mem, x, y) & 0xFFFFFF) == 0) ++inked;
  EXPECT_GT(inked, 20);
  SelectObject(mem, old);
  std::string path = PicturePath("forms-lists-demo.png");
  ASSERT_TRUE(SaveBitmapToPng(bm, path));
  std::printf("Controls picture: %s\n", std::filesystem::absolute(path).c_str());
  DeleteDC(mem);
  DeleteObject(bm);
  cb->SetDroppedDown(false);
}

// With the style: the progress bar is the style's bar with chunks up to its
// position, the up-down control its spin buttons and a bit button its push
// button; the classic look comes back when the style goes off.
TEST_F(SmallCtrlsTest, ProgressUpDownAndBitBtnFollowTheVisualStyle) {
  VisualStylesScope styles(true);
  auto* bar = Place<TProgressBar>(10, 10, 100, 16);
  bar->SetSmooth(true);
  bar->SetPosition(50);
  auto* ud = Place<TUpDown>(120, 10, 16, 24);
  auto* bit = Place<TBitBtn>(150, 10, 80, 25);
  Show();
  UpdateWindow(host->Handle());
  auto color = [](const char16_t* cls, int part, int state, int property) {
    ScopedTheme t(cls);
    COLORREF c = 0;
    EXPECT_EQ(GetThemeColor(t.get(), part, state, property, &c), S_OK);
    return static_cast<TColor>(c);
  };
  EXPECT_EQ(ScreenColorAt(*bar, 0, 8), color(u"Progress", PP_BAR, 1, TMT_BORDERCOLOR));
  EXPECT_EQ(ScreenColorAt(*bar, 20, 8), color(u"Progress", PP_CHUNK, 1, TMT_FILLCOLOR));
  EXPECT_EQ(ScreenColorAt(*bar, 90, 8), color(u"Progress", PP_BAR, 1, TMT_FILLCOLOR));
  EXPECT_EQ(ScreenColorAt(*ud, 0, 6), color(u"Spin", SPNP_UP, UPS_NORMAL, TMT_BORDERCOLOR));
  EXPECT_EQ(ScreenColorAt(*bit, 40, 4), color(u"Button", BP_PUSHBUTTON, PBS_NORMAL, TMT_FILLCOLOR));
  ud->SetEnabled(false);
  Pump();
  ud->Repaint();
  EXPECT_EQ(ScreenColorAt(*ud, 0, 6), color(u"Spin", SPNP_UP, UPS_DISABLED, TMT_BORDERCOLOR));

  SetVisualStylesEnabled(false);
  Pump();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*bar, 20, 8), ColorToRGB(clHighlight));
  EXPECT_EQ(ScreenColorAt(*bar, 0, 8), ColorToRGB(clBtnShadow));
}

}  // namespace
