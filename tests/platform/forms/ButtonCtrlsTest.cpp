#include "platform/forms/ButtonCtrls.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "tests/support/VisualStylesScope.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "tests/support/Pictures.h"

using namespace formstest;
using namespace win;

namespace {

class ButtonCtrlsTest : public HostedTest {
 protected:
  template <typename T>
  T* Add(const char* caption, Integer left, Integer top, Integer width = 80, Integer height = 24) {
    auto* c = Place<T>(left, top, width, height);
    c->SetCaption(caption);
    return c;
  }
  // Nothing is pumped here: the tests send the button's messages themselves.
  void Show() {
    host->HandleNeeded();
    ShowWindow(host->Handle(), SW_SHOW);
  }
  static void Press(TWinControl* c, UINT down, UINT up) {
    SendMessage(c->Handle(), down, MK_LBUTTON, MAKELPARAM(3, 3));
    if (up) SendMessage(c->Handle(), up, 0, MAKELPARAM(3, 3));
  }

  struct Clicks {
    std::vector<std::string> Log;
    void Click(TObject* Sender) { Log.push_back(static_cast<TComponent*>(Sender)->Name() + " click"); }
    void DblClick(TObject* Sender) { Log.push_back(static_cast<TComponent*>(Sender)->Name() + " dblclick"); }
  } clicks;
  void Watch(TControl* c, const char* name) {
    c->SetName(name);
    c->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    c->OnDblClick = TNotifyEvent(&clicks, &Clicks::DblClick);
  }

};

TEST_F(ButtonCtrlsTest, EnterAndEscapeReachTheDefaultAndCancelButtons) {
  std::vector<std::string> log;
  auto* other = LoggedChild(*host, &log, "edit");
  other->SetTabStop(true);
  auto* ok = Add<TButton>("OK", 10, 100);
  auto* cancel = Add<TButton>("Cancel", 100, 100);
  auto* third = Add<TButton>("Third", 190, 100);
  Watch(ok, "ok");
  Watch(cancel, "cancel");
  Watch(third, "third");
  ok->SetDefault(true);
  cancel->SetCancel(true);
  Show();
  EXPECT_EQ(GetWindowLongPtr(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));

  other->SetFocus();
  EXPECT_NE(host->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_NE(host->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"ok click", "cancel click"}));

  // A focused button takes Enter from the default one.
  clicks.Log.clear();
  third->SetFocus();
  EXPECT_FALSE(ok->Active());
  host->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"third click"}));

  // Disabled buttons and other keys stay out of it.
  clicks.Log.clear();
  other->SetFocus();
  ok->SetEnabled(false);
  EXPECT_EQ(host->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(host->Perform(CM_DIALOGKEY, VK_TAB, 0), 0);
  EXPECT_TRUE(clicks.Log.empty());
}

// The default button's black frame goes to the push button that has the
// focus and back to the default button when the focus leaves the push
// buttons; Enter follows it.
TEST_F(ButtonCtrlsTest, TheDefaultFrameFollowsTheFocus) {
  VisualStylesScope classic(false);
  auto* other = LoggedChild(*host, nullptr, "edit");
  other->SetTabStop(true);
  auto* ok = Add<TButton>("OK", 10, 100);
  auto* third = Add<TButton>("Third", 100, 100);
  ok->SetDefault(true);
  Show();
  auto type = [](TButton* b) { return GetWindowLongPtr(b->Handle(), GWL_STYLE) & BS_TYPEMASK; };
  constexpr LONG_PTR kDef = BS_DEFPUSHBUTTON, kPush = BS_PUSHBUTTON;
  struct Step {
    TWinControl* Focus;
    LONG_PTR Ok, Third;
  } steps[] = {{third, kPush, kDef}, {other, kDef, kPush}, {ok, kDef, kPush}, {third, kPush, kDef}};
  for (const Step& s : steps) {
    s.Focus->SetFocus();
    EXPECT_EQ(type(ok), s.Ok) << s.Focus->Name();
    EXPECT_EQ(type(third), s.Third) << s.Focus->Name();
  }
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*third, 0, 12), clBlack);
  EXPECT_NE(ScreenColorAt(*ok, 0, 12), clBlack);
  EXPECT_TRUE(ok->Default());  // the property stays
}

// Disabled captions of push buttons, check boxes and group boxes are
// embossed in the classic look: a highlight copy under the shadow one.
TEST_F(ButtonCtrlsTest, DisabledCaptionsAreEmbossed) {
  VisualStylesScope classic(false);
  host->SetColor(clBtnFace);
  auto* button = Add<TButton>("MMMM", 10, 10, 80, 24);
  auto* box = Add<TCheckBox>("MMMM", 10, 40, 100, 17);
  auto* group = Add<TGroupBox>("MMMM", 10, 70, 120, 60);
  Show();
  // Highlight pixels where the caption is, away from edges, marks and lines.
  const auto light = static_cast<TColor>(ColorToRGB(clBtnHighlight));
  struct Case {
    TWinControl* Control;
    TRect Text;
  } cases[] = {{button, Rect(4, 4, 76, 20)}, {box, Rect(18, 0, 70, 17)}, {group, Rect(10, 0, 30, 5)}};
  auto lit = [&](const Case& c) {
    int w = 0, h = 0, n = 0;
    std::vector<uint32_t> screen = ComposeScreen(&w, &h);
    for (Integer y = c.Text.Top; y < c.Text.Bottom; ++y)
      for (Integer x = c.Text.Left; x < c.Text.Right; ++x) {
        TPoint p = c.Control->ClientToScreen({x, y});
        uint32_t px = screen[static_cast<size_t>(p.Y) * w + p.X];
        n += static_cast<TColor>(((px & 0xFF) << 16) | (px & 0xFF00) | ((px >> 16) & 0xFF)) == light ? 1 : 0;
      }
    return n;
  };
  host->Repaint();
  for (const Case& c : cases) {
    EXPECT_EQ(lit(c), 0) << c.Control->ClassName();
    c.Control->SetEnabled(false);
    c.Control->Repaint();
    UpdateWindow(c.Control->Handle());
    EXPECT_GT(lit(c), 5) << c.Control->ClassName();
  }
}

// An owner-drawn button as the suite's buttons make them.
class TOwnerDrawn : public TButton {
 public:
  using TButton::TButton;
  std::vector<UINT> States;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TButton::CreateParams(Params);
    Params.Style = (Params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CN_DRAWITEM) {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      EXPECT_EQ(dis->CtlType, ODT_BUTTON);
      EXPECT_EQ(dis->hwndItem, Handle());
      EXPECT_EQ(dis->rcItem.right, Width());
      States.push_back(dis->itemState);
      Message.Result = 1;
      return;
    }
    TButton::WndProc(Message);
  }
};

TEST_F(ButtonCtrlsTest, OwnerDrawnButtonGetsItsDrawItems) {
  auto* button = Add<TOwnerDrawn>("Draw", 10, 10);
  Watch(button, "drawn");
  Show();
  auto paint = [&] {
    button->States.clear();
    button->Repaint();
    return button->States.empty() ? ~0u : button->States.back();
  };
  EXPECT_EQ(paint(), 0u);
  button->SetFocus();
  EXPECT_EQ(paint(), ODS_FOCUS);
  SendMessage(button->Handle(), BM_SETSTATE, 1, 0);
  EXPECT_EQ(SendMessage(button->Handle(), BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
  EXPECT_EQ(paint(), ODS_SELECTED | ODS_FOCUS);
  SendMessage(button->Handle(), BM_SETSTATE, 0, 0);
  button->SetEnabled(false);
  EXPECT_EQ(paint() & ODS_DISABLED, ODS_DISABLED);
  button->SetEnabled(true);

  // Mouse press and release click; a press released outside does not.
  Press(button, WM_LBUTTONDOWN, 0);
  EXPECT_EQ(paint() & ODS_SELECTED, ODS_SELECTED);
  SendMessage(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  Press(button, WM_LBUTTONDOWN, 0);
  SendMessage(button->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 3));
  EXPECT_EQ(paint() & ODS_SELECTED, 0u);
  SendMessage(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 3));
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"drawn click"}));

  // Space press and release click; an owner-drawn button tells of double clicks.
  clicks.Log.clear();
  SendMessage(button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(paint() & ODS_SELECTED, ODS_SELECTED);
  SendMessage(button->Handle(), WM_KEYUP, VK_SPACE, 0);
  SendMessage(button->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"drawn click", "drawn dblclick"}));
}

TEST_F(ButtonCtrlsTest, CheckBoxCyclesItsStates) {
  auto* box = Add<TCheckBox>("&Check", 10, 10, 100, 17);
  Watch(box, "box");
  Show();
  HWND h = box->Handle();
  SendMessage(h, BM_CLICK, 0, 0);
  EXPECT_EQ(box->State(), cbChecked);
  EXPECT_EQ(SendMessage(h, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessage(h, BM_CLICK, 0, 0);
  EXPECT_EQ(box->State(), cbUnchecked);  // no grayed unless allowed
  box->SetAllowGrayed(true);
  for (TCheckBoxState want : {cbChecked, cbGrayed, cbUnchecked}) {
    SendMessage(h, WM_KEYDOWN, VK_SPACE, 0);
    SendMessage(h, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(box->State(), want);
  }
  box->SetState(cbGrayed);
  EXPECT_EQ(SendMessage(h, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(clicks.Log.size(), 6u);  // every change clicks, also a programmatic one

  // The mnemonic focuses and toggles.
  EXPECT_NE(host->Perform(CM_DIALOGCHAR, 'c', 0), 0);
  EXPECT_EQ(GetFocus(), h);
  EXPECT_EQ(box->State(), cbUnchecked);
}

TEST_F(ButtonCtrlsTest, RadioButtonsUncheckTheirSiblings) {
  auto* a = Add<TRadioButton>("&Alpha", 10, 10);
  auto* b = Add<TRadioButton>("&Beta", 10, 40);
  auto* c = Add<TRadioButton>("&Gamma", 10, 70);
  Watch(a, "a");
  Watch(b, "b");
  Show();
  a->SetChecked(true);
  EXPECT_TRUE(a->TabStop());
  EXPECT_FALSE(b->TabStop());

  SendMessage(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(SendMessage(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(b->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(b->TabStop());  // the checked one takes the tab stop
  EXPECT_FALSE(a->TabStop());

  // Reaching a radio button by the keyboard (arrows move the focus) chooses it.
  c->SetFocus();
  EXPECT_TRUE(c->Checked());
  EXPECT_FALSE(b->Checked());

  // A radio button tells of double clicks; the mnemonic chooses.
  clicks.Log.clear();
  SendMessage(a->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"a dblclick"}));
  EXPECT_NE(host->Perform(CM_DIALOGCHAR, 'b', 0), 0);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(GetFocus(), b->Handle());
}

// The side of the text is a window style: moving it makes a new window,
// which keeps the check. A disabled button leaves its mnemonic alone.
TEST_F(ButtonCtrlsTest, CheckAndRadioButtonsMoveTheirTextAndIgnoreMnemonicsWhenDisabled) {
  auto* box = Add<TCheckBox>("&Check", 10, 10, 100, 17);
  auto* radio = Add<TRadioButton>("&Radio", 10, 40, 100, 17);
  box->SetChecked(true);
  radio->SetChecked(true);
  Show();
  auto leftText = [](TWinControl* c) { return (GetWindowLongPtr(c->Handle(), GWL_STYLE) & BS_LEFTTEXT) != 0; };
  EXPECT_FALSE(leftText(box));
  EXPECT_FALSE(leftText(radio));
  box->SetAlignment(taLeftJustify);
  radio->SetAlignment(taLeftJustify);
  for (TWinControl* c : {static_cast<TWinControl*>(box), static_cast<TWinControl*>(radio)}) {
    EXPECT_TRUE(leftText(c)) << c->Caption();
    EXPECT_EQ(SendMessage(c->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED) << c->Caption();
  }

  box->SetEnabled(false);
  radio->SetEnabled(false);
  EXPECT_EQ(host->Perform(CM_DIALOGCHAR, 'c', 0), 0);
  EXPECT_EQ(host->Perform(CM_DIALOGCHAR, 'r', 0), 0);
  EXPECT_TRUE(box->Checked());
}

TEST_F(ButtonCtrlsTest, ButtonMnemonicClicks) {
  auto* ok = Add<TButton>("&Save", 10, 10);
  Watch(ok, "save");
  Show();
  EXPECT_EQ(host->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_NE(host->Perform(CM_DIALOGCHAR, 's', 0), 0);
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"save click"}));
}

TEST_F(ButtonCtrlsTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
  auto make = [&](const char* name, Integer left) {
    auto* b = Place<TSpeedButton>(left, 10, 30, 22);
    b->SetGroupIndex(1);
    Watch(b, name);
    return b;
  };
  TSpeedButton* a = make("a", 10);
  TSpeedButton* b = make("b", 50);
  Show();
  HWND h = host->Handle();
  auto click = [&](int x, int upX) {
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 20));
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(upX, 20));
  };
  click(20, 20);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
  click(60, 60);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  click(60, 60);  // the last one down stays down without AllowAllUp
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);  // told to the whole group
  EXPECT_TRUE(a->AllowAllUp());
  click(60, 60);
  EXPECT_FALSE(b->Down());
  click(20, 200);  // released outside: no click, no change
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), bsUp);
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"a click", "b click", "b click", "b click"}));

  // Without a group a speed button only clicks.
  a->SetGroupIndex(0);
  a->SetDown(true);
  EXPECT_FALSE(a->Down());
}

// A window with every simple control, saved as simple-controls.png in the
// working directory for a person to look at.
// With the visual style the buttons wear its parts, follow the pointer, and
// go back to the classic look when the style is switched off at run time.
TEST_F(ButtonCtrlsTest, WithTheStyleButtonsDrawItsPartsAndFollowASwitch) {
  VisualStylesScope styles(true);
  host->SetColor(clBtnFace);
  auto* plain = Add<TButton>("", 10, 10, 80, 25);
  auto* def = Add<TButton>("", 100, 10, 80, 25);
  def->SetDefault(true);
  auto* check = Add<TCheckBox>("Check", 10, 50, 100, 20);
  check->SetChecked(true);
  auto* group = Add<TGroupBox>("", 10, 80, 150, 60);
  Show();
  host->Repaint();
  ScopedTheme theme(u"Button");
  ASSERT_TRUE(theme);
  auto color = [&](int part, int state, int property) {
    COLORREF c = 0;
    EXPECT_EQ(GetThemeColor(theme.get(), part, state, property, &c), S_OK);
    return static_cast<TColor>(c);
  };
  EXPECT_EQ(ScreenColorAt(*plain, 40, 4), color(BP_PUSHBUTTON, PBS_NORMAL, TMT_FILLCOLOR));
  EXPECT_EQ(ScreenColorAt(*plain, 40, 0), color(BP_PUSHBUTTON, PBS_NORMAL, TMT_BORDERCOLOR));
  EXPECT_EQ(ScreenColorAt(*def, 40, 0), color(BP_PUSHBUTTON, PBS_DEFAULTED, TMT_BORDERCOLOR));
  // The checked box is filled with the accent; the group box has the style's frame.
  EXPECT_EQ(ScreenColorAt(*check, 2, 4), color(BP_CHECKBOX, CBS_CHECKEDNORMAL, TMT_FILLCOLOR));
  EXPECT_EQ(ScreenColorAt(*group, 75, 59), color(BP_GROUPBOX, GBS_NORMAL, TMT_BORDERCOLOR));

  // Hot while the pointer is over the button, normal once it has left.
  SendMessage(plain->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  UpdateWindow(plain->Handle());
  EXPECT_EQ(ScreenColorAt(*plain, 40, 4), color(BP_PUSHBUTTON, PBS_HOT, TMT_FILLCOLOR));
  SendMessage(plain->Handle(), WM_MOUSELEAVE, 0, 0);
  UpdateWindow(plain->Handle());
  EXPECT_EQ(ScreenColorAt(*plain, 40, 4), color(BP_PUSHBUTTON, PBS_NORMAL, TMT_FILLCOLOR));

  SetVisualStylesEnabled(false);
  Pump();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*plain, 40, 4), ColorToRGB(clBtnFace));
  EXPECT_EQ(ScreenColorAt(*plain, 79, 12), static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW)));  // the classic edge
}

TEST_F(ButtonCtrlsTest, ScreenshotOfEverySimpleControl) {
  VisualStylesScope classic(false);
  host->SetBounds(100, 100, 420, 260);
  host->SetColor(clBtnFace);
  auto* label = Place<TLabel>(10, 10, 0, 0);
  label->SetCaption("&Label");
  auto* panel = Add<TPanel>("Panel", 10, 30, 120, 40);
  panel->SetBevelInner(bvLowered);
  Place<TBevel>(140, 30, 60, 40);
  auto* image = Place<TImage>(210, 30, 40, 40);
  image->SetStretch(true);
  image->Canvas()->Brush()->SetColor(clNavy);
  image->Canvas()->Ellipse(0, 0, 40, 40);
  Place<TPaintBox>(260, 30, 60, 40);
  auto* group = Add<TGroupBox>("Group", 10, 80, 200, 100);
  auto* r1 = new TRadioButton(host.get());
  r1->SetParent(group);
  r1->SetBounds(10, 20, 120, 20);
  r1->SetCaption("Radio one");
  r1->SetChecked(true);
  auto* r2 = new TRadioButton(host.get());
  r2->SetParent(group);
  r2->SetBounds(10, 45, 120, 20);
  r2->SetCaption("Radio two");
  auto* check = Add<TCheckBox>("Check box", 220, 90, 120, 20);
  check->SetChecked(true);
  auto* grayed = Add<TCheckBox>("Grayed", 220, 115, 120, 20);
  grayed->SetAllowGrayed(true);
  grayed->SetState(cbGrayed);
  auto* ok = Add<TButton>("OK", 220, 200, 80, 25);
  ok->SetDefault(true);
  Add<TButton>("Cancel", 310, 200, 80, 25);
  auto* speed = Place<TSpeedButton>(330, 30, 70, 26);
  speed->SetCaption("Speed");
  speed->Glyph()->SetSize(16, 16);
  speed->Glyph()->Canvas()->Brush()->SetColor(clFuchsia);  // the bottom-left colour: transparent
  speed->Glyph()->Canvas()->FillRect(Rect(0, 0, 16, 16));
  speed->Glyph()->Canvas()->Brush()->SetColor(clGreen);
  speed->Glyph()->Canvas()->Ellipse(2, 2, 14, 14);
  speed->SetGroupIndex(3);
  speed->SetDown(true);
  Show();
  host->Repaint();
  UpdateWindow(host->Handle());
  HDC dc = GetWindowDC(host->Handle());
  EXPECT_TRUE(SaveDCToPng(dc, PicturePath("simple-controls.png")));
  ReleaseDC(host->Handle(), dc);
  EXPECT_EQ(SendMessage(r1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  win::SurfacePixels s;
  ASSERT_TRUE(win::GetWindowSurface(host->Handle(), &s));
  TPoint glyph = host->ClientToScreen({speed->Left() + 30, speed->Top() + 13});
  RECT wr;
  GetWindowRect(host->Handle(), &wr);
  uint32_t p = s.pixels[(glyph.Y - wr.top) * s.strideBytes / 4 + glyph.X - wr.left];
  EXPECT_NE(p & 0xFFFFFF, 0xFF00FFu);  // the glyph's key colour is left out
}

}  // namespace
