#include "platform/forms/ListCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/platform/forms/FormsFixture.h"
#include "tests/support/VisualStylesScope.h"
#include "platform/forms/BitBtn.h"
#include "platform/forms/Mask.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/ScrollCtrls.h"
#include "platform/forms/Splitter.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/UpDown.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Painting.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "tests/support/Pictures.h"

using namespace formstest;
using namespace win;

namespace {

class ListCtrlsTest : public HostedTest {
 protected:
  void SetUp() override {
    HostedTest::SetUp();
    host->SetBounds(100, 100, 400, 300);
  }
  template <typename T>
  T* Add(Integer left, Integer top, Integer width, Integer height) {
    return Place<T>(left, top, width, height);
  }
  // The screen point at the middle of a list item.
  static POINT ItemPoint(TCustomListBox* lb, Integer index) {
    TRect r = lb->ItemRect(index);
    TPoint p = lb->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    return {p.X, p.Y};
  }
  static POINT ListItemPoint(HWND list, int index) {
    RECT r;
    SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
  }
  static POINT Mid(TControl* c) {
    TPoint p = Center(c);
    return {p.X, p.Y};
  }
  // Lists take Alt (Alt+Down drops a combo box) rather than Shift or Ctrl.
  static void Key(UINT vk, bool alt = false) {
    InjectKeyPress(vk, false, false, alt);
    Pump();
  }
};

struct Counter {
  int Clicks = 0, DblClicks = 0, Changes = 0, Selects = 0, Drops = 0, Closes = 0;
  void Click(TObject*) { ++Clicks; }
  void DblClick(TObject*) { ++DblClicks; }
  void Change(TObject*) { ++Changes; }
  void Select(TObject*) { ++Selects; }
  void Drop(TObject*) { ++Drops; }
  void Close(TObject*) { ++Closes; }
};

TEST_F(ListCtrlsTest, ListBoxItemsFollowTheWindowAndSurviveRecreation) {
  auto* lb = Add<TListBox>(10, 10, 120, 100);
  lb->SetSorted(true);
  for (const char* s : {"delta", "Alpha", "charlie", "bravo"}) lb->Items()->Add(s);
  lb->SetItemIndex(1);  // before the window: kept for it
  EXPECT_EQ(lb->Items()->CommaText(), "Alpha,bravo,charlie,delta");
  Show();
  HWND wnd = lb->Handle();
  EXPECT_EQ(SendMessage(wnd, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(lb->ItemIndex(), 1);
  EXPECT_EQ(lb->Items()->Add("Bz"), 2);  // the window's sorted place
  EXPECT_EQ(lb->ItemIndex(), 1);
  lb->Items()->Delete(0);
  EXPECT_EQ(lb->ItemIndex(), 0);
  EXPECT_EQ(SendMessage(wnd, LB_GETTEXTLEN, 1, 0), 2);
  lb->SetMultiSelect(true);  // a new window with the same items
  EXPECT_NE(lb->Handle(), nullptr);
  EXPECT_EQ(SendMessage(lb->Handle(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_TRUE(lb->Selected(0));  // the single selection carries over
  lb->SetSelected(0, false);
  lb->SetSelected(2, true);
  lb->SetSelected(3, true);
  EXPECT_EQ(lb->SelCount(), 2);
  lb->SetStyle(lbOwnerDrawFixed);  // recreated again: selection kept
  EXPECT_TRUE(lb->Selected(2));
  EXPECT_TRUE(lb->Selected(3));
  EXPECT_FALSE(lb->Selected(0));
  EXPECT_THROW(lb->Selected(9), EStringListError);
  lb->Items()->Clear();
  EXPECT_EQ(SendMessage(lb->Handle(), LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListCtrlsTest, ListBoxSelectsByMouseAndKeys) {
  auto* lb = Add<TListBox>(10, 10, 120, 100);
  for (const char* s : {"one", "two", "three", "four"}) lb->Items()->Add(s);
  Counter n;
  lb->OnClick = TNotifyEvent(&n, &Counter::Click);
  lb->OnDblClick = TNotifyEvent(&n, &Counter::DblClick);
  Show();
  InjectClick(ItemPoint(lb, 2));
  Pump();
  EXPECT_EQ(lb->ItemIndex(), 2);
  EXPECT_EQ(n.Clicks, 1);
  EXPECT_TRUE(lb->Focused());
  Key(VK_DOWN);
  EXPECT_EQ(lb->ItemIndex(), 3);
  Key(VK_DOWN);  // at the end: nothing changes, no click
  EXPECT_EQ(n.Clicks, 2);
  Key(VK_HOME);
  EXPECT_EQ(lb->ItemIndex(), 0);
  InjectText("t");  // type-ahead
  Pump();
  EXPECT_EQ(lb->ItemIndex(), 1);
  InjectDoubleClick(ItemPoint(lb, 3));
  Pump();
  EXPECT_EQ(lb->ItemIndex(), 3);
  EXPECT_EQ(n.DblClicks, 1);
  EXPECT_EQ(lb->ItemAtPos(lb->ScreenToClient({ItemPoint(lb, 1).x, ItemPoint(lb, 1).y}), true), 1);
  EXPECT_EQ(lb->ItemAtPos({5, 95}, true), -1);  // below the last item
}

TEST_F(ListCtrlsTest, ExtendedSelectionWithShiftAndCtrl) {
  auto* lb = Add<TListBox>(10, 10, 120, 120);
  for (const char* s : {"a", "b", "c", "d", "e"}) lb->Items()->Add(s);
  lb->SetMultiSelect(true);
  Show();
  InjectClick(ItemPoint(lb, 1));
  Pump();
  InjectKey(VK_SHIFT, true);
  InjectClick(ItemPoint(lb, 3));
  InjectKey(VK_SHIFT, false);
  Pump();
  EXPECT_EQ(lb->SelCount(), 3);
  InjectKey(VK_CONTROL, true);
  InjectClick(ItemPoint(lb, 2));
  InjectKey(VK_CONTROL, false);
  Pump();
  EXPECT_FALSE(lb->Selected(2));
  EXPECT_TRUE(lb->Selected(1));
  EXPECT_TRUE(lb->Selected(3));
  EXPECT_EQ(lb->ItemIndex(), 2);  // the caret
}

struct DrawLog {
  std::vector<std::string> Lines;
  void Draw(TWinControl* c, Integer Index, TRect Rect, TOwnerDrawState State) {
    auto* canvas = dynamic_cast<TCustomListBox*>(c) ? dynamic_cast<TCustomListBox*>(c)->Canvas()
                                                      : dynamic_cast<TCustomComboBox*>(c)->Canvas();
    canvas->FillRect(Rect);
    Lines.push_back(std::to_string(Index) + (State.Contains(odSelected) ? " sel" : "") +
                    (State.Contains(odComboBoxEdit) ? " face" : "") + " h" + std::to_string(Rect.Height()));
  }
  void Measure(TWinControl*, Integer Index, Integer& Height) { Height = 10 + 5 * Index; }
  bool Has(const std::string& s) const { return std::find(Lines.begin(), Lines.end(), s) != Lines.end(); }
};

TEST_F(ListCtrlsTest, OwnerDrawnListBoxMeasuresAndDrawsThroughItsEvents) {
  auto* lb = Add<TListBox>(10, 10, 120, 150);
  DrawLog log;
  lb->OnDrawItem = TDrawItemEvent(&log, &DrawLog::Draw);
  lb->OnMeasureItem = TMeasureItemEvent(&log, &DrawLog::Measure);
  lb->SetStyle(lbOwnerDrawVariable);
  for (const char* s : {"a", "b", "c"}) lb->Items()->Add(s);
  lb->SetItemIndex(1);
  Show();
  EXPECT_EQ(lb->ItemRect(0).Height(), 10);
  EXPECT_EQ(lb->ItemRect(2).Height(), 20);
  EXPECT_EQ(lb->ItemRect(2).Top, 25);
  UpdateWindow(lb->Handle());
  EXPECT_TRUE(log.Has("0 h10"));
  EXPECT_TRUE(log.Has("1 sel h15"));
  EXPECT_TRUE(log.Has("2 h20"));

  log.Lines.clear();
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemHeight(18);
  UpdateWindow(lb->Handle());
  EXPECT_TRUE(log.Has("1 sel h18"));
  EXPECT_EQ(lb->ItemRect(2).Top, 36);
  InjectClick(ItemPoint(lb, 2));
  Pump();
  EXPECT_EQ(lb->ItemIndex(), 2);
}

TEST_F(ListCtrlsTest, IntegralHeightShowsWholeItemsOnly) {
  auto* lb = Add<TListBox>(10, 10, 120, 100);
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemHeight(15);
  lb->SetIntegralHeight(true);
  EXPECT_EQ(lb->Height(), 4 + 6 * 15);
  lb->SetBounds(10, 10, 120, 40);
  EXPECT_EQ(lb->Height(), 4 + 2 * 15);
  lb->SetIntegralHeight(false);
  lb->SetBounds(10, 10, 120, 40);
  EXPECT_EQ(lb->Height(), 40);
}

TEST_F(ListCtrlsTest, DropDownListOpensPicksAndClosesByMouse) {
  auto* cb = Add<TComboBox>(10, 10, 150, 21);
  cb->SetStyle(csDropDownList);
  for (const char* s : {"red", "green", "blue"}) cb->Items()->Add(s);
  Counter n;
  cb->OnSelect = TNotifyEvent(&n, &Counter::Select);
  cb->OnChange = TNotifyEvent(&n, &Counter::Change);
  cb->OnDropDown = TNotifyEvent(&n, &Counter::Drop);
  cb->OnCloseUp = TNotifyEvent(&n, &Counter::Close);
  Show();
  EXPECT_EQ(cb->EditHandle(), nullptr);
  InjectClick(Mid(cb));
  Pump();
  ASSERT_TRUE(cb->DroppedDown());
  EXPECT_EQ(n.Drops, 1);
  HWND list = cb->ListHandle();
  EXPECT_TRUE(IsWindowVisible(list));
  RECT lr, cr;
  GetWindowRect(list, &lr);
  GetWindowRect(cb->Handle(), &cr);
  EXPECT_EQ(lr.top, cr.bottom);  // right below the combo
  InjectMouseMove(ListItemPoint(list, 2));
  Pump();
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);  // the highlight follows the pointer
  EXPECT_EQ(cb->ItemIndex(), -1);
  InjectClick(ListItemPoint(list, 2));
  Pump();
  EXPECT_FALSE(cb->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(cb->ItemIndex(), 2);
  EXPECT_EQ(cb->GetText(), "blue");
  EXPECT_EQ(n.Selects, 1);
  EXPECT_EQ(n.Changes, 0);  // OnSelect is set, so a pick is not a change
  EXPECT_EQ(n.Closes, 1);

  // A press outside cancels.
  InjectClick(Mid(cb));
  Pump();
  ASSERT_TRUE(cb->DroppedDown());
  InjectMouseMove(ListItemPoint(list, 0));
  InjectClick({390, 390});
  Pump();
  EXPECT_FALSE(cb->DroppedDown());
  EXPECT_EQ(cb->ItemIndex(), 2);
  EXPECT_EQ(n.Selects, 1);
  EXPECT_EQ(n.Closes, 2);
}

TEST_F(ListCtrlsTest, ComboKeysSelectOpenAcceptAndCancel) {
  auto* cb = Add<TComboBox>(10, 10, 150, 21);
  cb->SetStyle(csDropDownList);
  for (const char* s : {"red", "green", "blue", "black"}) cb->Items()->Add(s);
  Counter n;
  cb->OnChange = TNotifyEvent(&n, &Counter::Change);
  Show();
  cb->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(cb->ItemIndex(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(cb->GetText(), "green");
  EXPECT_EQ(n.Changes, 2);  // without OnSelect a pick is a change
  Key(VK_F4);
  ASSERT_TRUE(cb->DroppedDown());
  Key(VK_DOWN);
  EXPECT_EQ(cb->ItemIndex(), 1);  // only the highlight moves while open
  Key(VK_ESCAPE);
  EXPECT_FALSE(cb->DroppedDown());
  EXPECT_EQ(cb->ItemIndex(), 1);
  Key(VK_DOWN, true);  // Alt+Down
  ASSERT_TRUE(cb->DroppedDown());
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_FALSE(cb->DroppedDown());
  EXPECT_EQ(cb->GetText(), "black");
  EXPECT_EQ(n.Changes, 3);
  InjectText("g");
  Pump();
  EXPECT_EQ(cb->GetText(), "green");
}

TEST_F(ListCtrlsTest, DropDownEditTypesAndCanBeSubclassed) {
  auto* cb = Add<TComboBox>(10, 10, 150, 21);
  for (const char* s : {"Alpha", "Beta"}) cb->Items()->Add(s);
  Counter n;
  cb->OnChange = TNotifyEvent(&n, &Counter::Change);
  Show();
  HWND edit = cb->EditHandle();
  ASSERT_NE(edit, nullptr);
  static std::vector<WPARAM> seen;
  static WNDPROC previous;
  seen.clear();
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CHAR) seen.push_back(w);
        return CallWindowProc(previous, h, m, w, l);
      })));
  cb->SetFocus();
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_TRUE(cb->Focused());
  InjectText("beta");
  Pump();
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(cb->GetText(), "beta");
  EXPECT_EQ(cb->ItemIndex(), 1);  // the typed text names an item
  EXPECT_EQ(n.Changes, 4);
  Key(VK_UP);
  EXPECT_EQ(cb->GetText(), "Alpha");
  EXPECT_EQ(GetWindowText(edit), "Alpha");
  cb->SetText("gamma");
  EXPECT_EQ(cb->ItemIndex(), -1);
  EXPECT_EQ(n.Changes, 5);  // programs' changes are not the user's
  // The button opens the list even with an edit.
  TPoint button = cb->ClientToScreen({cb->Width() - 6, 10});
  InjectClick({button.X, button.Y});
  Pump();
  EXPECT_TRUE(cb->DroppedDown());
  Key(VK_ESCAPE);
  EXPECT_FALSE(cb->DroppedDown());
}

TEST_F(ListCtrlsTest, OwnerDrawnComboDrawsItsFaceAndItsList) {
  auto* cb = Add<TComboBox>(10, 10, 150, 22);
  DrawLog log;
  cb->OnDrawItem = TDrawItemEvent(&log, &DrawLog::Draw);
  cb->OnMeasureItem = TMeasureItemEvent(&log, &DrawLog::Measure);
  cb->SetStyle(csOwnerDrawVariable);
  for (const char* s : {"a", "b", "c"}) cb->Items()->Add(s);
  cb->SetItemIndex(1);
  Show();
  cb->SetFocus();
  UpdateWindow(cb->Handle());
  EXPECT_TRUE(log.Has("1 sel face h16"));
  log.Lines.clear();
  cb->SetDroppedDown(true);
  UpdateWindow(cb->ListHandle());
  RECT lr;
  GetWindowRect(cb->ListHandle(), &lr);
  EXPECT_EQ(lr.bottom - lr.top, 10 + 15 + 20 + 2);
  EXPECT_TRUE(log.Has("0 h10"));
  EXPECT_TRUE(log.Has("1 sel h15"));
  EXPECT_TRUE(log.Has("2 h20"));
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(cb->ItemIndex(), 2);
}

// With the style a combo box has the field frame of the Edit class and the
// style's flat drop-down button; without it, the sunken edge and the raised
// classic button.
TEST_F(ListCtrlsTest, ComboBoxFrameAndButtonFollowTheVisualStyle) {
  VisualStylesScope styles(true);
  auto* cb = Add<TComboBox>(10, 10, 150, 21);
  Show();
  UpdateWindow(host->Handle());
  ScopedTheme edit(u"Edit");
  COLORREF border = 0;
  GetThemeColor(edit.get(), EP_EDITTEXT, ETS_NORMAL, TMT_BORDERCOLOR, &border);
  EXPECT_EQ(ScreenColorAt(*cb, 0, 10), static_cast<TColor>(border));
  EXPECT_EQ(ScreenColorAt(*cb, 1, 10), ColorToRGB(clWindow));
  EXPECT_EQ(ScreenColorAt(*cb, 140, 5), ColorToRGB(clWindow));  // no raised face in the button's corner
  SetVisualStylesEnabled(false);
  Pump();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*cb, 0, 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ScreenColorAt(*cb, 140, 5), ColorToRGB(clBtnFace));
}

// A picture of the controls for a person to look at (under the build
// folder), with the combo's list open below it.
TEST_F(ListCtrlsTest, ScreenshotOfTheControls) {
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

}  // namespace
