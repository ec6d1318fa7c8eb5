#include "platform/forms/Menus.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Clipboard.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "platform/rtl/FormFiles.h"

using namespace win;
using namespace formstest;

namespace {

class MenusTest : public FormsTest {};

// Counts the clicks of the items it is bound to.
struct TClicks : TObject {
  std::vector<std::string> Log;
  void Click(TObject* Sender) { Log.push_back(static_cast<TMenuItem*>(Sender)->Name()); }
  void Popped(TObject*) { Log.push_back("popup"); }
};

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const std::string& Name, const std::string& Caption,
                   TClicks* Clicks = nullptr) {
  auto* item = new TMenuItem(Owner);
  item->SetName(Name);
  item->SetCaption(Caption);
  if (Clicks) item->OnClick = TNotifyEvent(Clicks, &TClicks::Click);
  Parent->Add(item);
  return item;
}

TEST(ShortCutTest, TextAndKeysConvertBothWays) {
  struct Case {
    Word Key;
    TShiftState Shift;
    const char* Text;
  } cases[] = {
      {'S', TShiftState{ssCtrl}, "Ctrl+S"},
      {VK_F10, TShiftState{ssShift}, "Shift+F10"},
      {VK_DELETE, TShiftState{ssAlt}, "Alt+Del"},
      {VK_INSERT, TShiftState{ssShift, ssCtrl}, "Shift+Ctrl+Ins"},
      {VK_RETURN, TShiftState{}, "Enter"},
      {'7', TShiftState{ssCtrl, ssAlt}, "Ctrl+Alt+7"},
  };
  for (const Case& c : cases) {
    TShortCut sc = ShortCut(c.Key, c.Shift);
    EXPECT_EQ(ShortCutToText(sc), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), sc) << c.Text;
    Word key = 0;
    TShiftState shift;
    ShortCutToKey(sc, key, shift);
    EXPECT_EQ(key, c.Key);
    EXPECT_TRUE(shift == c.Shift);
  }
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', TShiftState{ssCtrl}));
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
  EXPECT_EQ(ShortCut(0x1234, TShiftState{}), scNone);
  EXPECT_EQ(StripHotkey("&Save && E&xit"), "Save & Exit");
}

// A form with File (Open Ctrl+O, -, Save Ctrl+S disabled, Exit) and a
// button that has the focus: the shortcut reaches the item from the button.
class MenuFormTest : public MenusTest {
 protected:
  void SetUp() override {
    MenusTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBounds(100, 100, 400, 250);
    Form->SetCaption("Menus");
    Menu = new TMainMenu(Form.get());
    File = AddItem(Form.get(), Menu->Items(), "File", "&File", &Clicks);
    Open = AddItem(Form.get(), File, "Open", "&Open", &Clicks);
    Open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    AddItem(Form.get(), File, "N1", "-");
    Save = AddItem(Form.get(), File, "Save", "&Save", &Clicks);
    Save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
    Save->SetEnabled(false);
    AddItem(Form.get(), File, "Exit", "E&xit", &Clicks);
    AddItem(Form.get(), Menu->Items(), "Help", "&Help", &Clicks);
    Button = new TButton(Form.get());
    Button->SetParent(Form.get());
    Menu->AttachToForm(Form.get());
    Form->Show();
    Button->SetFocus();
    Pump();
  }
  void TearDown() override {
    Form.reset();
    MenusTest::TearDown();
  }

  TClicks Clicks;
  std::unique_ptr<TForm> Form;
  TMainMenu* Menu = nullptr;
  TMenuItem* File = nullptr;
  TMenuItem* Open = nullptr;
  TMenuItem* Save = nullptr;
  TButton* Button = nullptr;
};

TEST_F(MenuFormTest, ShortCutsReachOnClickOfEnabledItemsOnly) {
  InjectKeyPress('O', false, true);
  Pump();
  // The parent hears first, as when the user opens it.
  EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"File", "Open"}));
  Clicks.Log.clear();
  InjectKeyPress('S', false, true);
  Pump();
  EXPECT_TRUE(Clicks.Log.empty());
  Save->SetEnabled(true);
  File->SetEnabled(false);  // a disabled parent blocks its items' shortcuts too
  InjectKeyPress('S', false, true);
  Pump();
  EXPECT_TRUE(Clicks.Log.empty());
  File->SetEnabled(true);
  InjectKeyPress('S', false, true);
  Pump();
  EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"File", "Save"}));
}

// While the main form waits behind a modal form (disabled), its menu's
// shortcuts are the focused control's keys: Ctrl+C copies in the dialog's
// edit instead of running the main form's item.
TEST_F(MenuFormTest, ShortCutsOfAWaitingMainFormGoToTheFocusedControl) {
  TWinControl* previousMain = Application->MainForm();
  Application->SetMainForm(Form.get());
  ResetClipboard();
  Open->SetShortCut(ShortCut('C', TShiftState{ssCtrl}));
  Save->SetEnabled(true);
  Save->SetShortCut(ShortCut(VK_F5, TShiftState{}));
  TForm dialog(nullptr);
  dialog.AfterConstruction();
  dialog.SetBounds(150, 150, 200, 100);
  auto* edit = new TEdit(&dialog);
  edit->SetParent(&dialog);
  edit->SetText("hello");
  dialog.Show();
  edit->SetFocus();
  edit->SelectAll();
  for (bool waiting : {true, false}) {
    EnableWindow(Form->Handle(), waiting ? FALSE : TRUE);
    edit->SetFocus();
    Clicks.Log.clear();
    InjectKeyPress('C', false, true);
    InjectKeyPress(VK_F5);
    Pump();
    if (waiting) {
      EXPECT_TRUE(Clicks.Log.empty());
      EXPECT_EQ(Clipboard()->AsText(), "hello");
    } else {
      EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"File", "Open", "File", "Save"}));
    }
  }
  ResetClipboard();
  Application->SetMainForm(previousMain);
}

TEST_F(MenuFormTest, MnemonicsOpenTheBarAndChooseTheItem) {
  // Alt+F opens File; X chooses Exit (the chosen command runs once the loop
  // has closed).
  InjectKeyPress('F', false, false, true);
  InjectKeyPress('X');
  Pump();
  Pump();
  EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"File", "Exit"}));
  // F10 selects the bar; Down opens File at its first item, Enter runs it.
  Clicks.Log.clear();
  InjectKeyPress(VK_F10);
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_RETURN);
  Pump();
  Pump();
  EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"File", "Open"}));
}

// Alt pressed and released alone selects the bar like F10; Alt in a chord
// (Alt+F, Alt+Tab, Alt+click) does not, and Alt again or Escape leaves.
TEST_F(MenuFormTest, AltAloneSelectsTheBarButNotInAChord) {
  // The display may report the left Alt key rather than the generic one.
  for (UINT alt : {VK_MENU, VK_LMENU}) {
    Clicks.Log.clear();
    InjectKeyPress(alt);
    InjectKeyPress(VK_DOWN);
    InjectKeyPress(VK_RETURN);
    Pump();
    Pump();
    EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"File", "Open"})) << alt;
  }
  TPoint button = Center(Button);
  struct Case {
    const char* Name;
    std::function<void()> Press;
    std::vector<std::string> Clicked;
  } cases[] = {
      {"Alt+F, Escape twice",
       [] {
         InjectKeyPress('F', false, false, true);
         InjectKeyPress(VK_ESCAPE);
         InjectKeyPress(VK_ESCAPE);
       },
       {"File"}},  // opening File is its click
      {"Alt+Tab", [] { InjectKeyPress(VK_TAB, false, false, true); }, {}},
      {"Alt+click",
       [&] {
         InjectKey(VK_MENU, true);
         InjectClick(POINT{button.X, button.Y});
         InjectKey(VK_MENU, false);
       },
       {}},
      {"Alt, Alt",
       [] {
         InjectKeyPress(VK_MENU);
         InjectKeyPress(VK_MENU);
       },
       {}},
      {"Alt, Escape",
       [] {
         InjectKeyPress(VK_MENU);
         InjectKeyPress(VK_ESCAPE);
       },
       {}},
  };
  for (const Case& c : cases) {
    Button->SetFocus();
    Clicks.Log.clear();
    c.Press();
    // Had the bar stayed selected, these would open File and run Open.
    InjectKeyPress(VK_DOWN);
    InjectKeyPress(VK_RETURN);
    Pump();
    Pump();
    EXPECT_EQ(Clicks.Log, c.Clicked) << c.Name;
    EXPECT_EQ(GetOpenMenuWindow(), nullptr) << c.Name;
  }
}

TEST_F(MenuFormTest, TheBarLivesInTheFrameAndFollowsCaptionChanges) {
  HWND h = Form->Handle();
  HMENU bar = GetMenu(h);
  ASSERT_EQ(bar, Menu->Handle());
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  NonClientLayout l = LayoutNonClient(GetWindowLong(h, GWL_STYLE), GetWindowLong(h, GWL_EXSTYLE),
                                      wr.right - wr.left, wr.bottom - wr.top);
  EXPECT_EQ(l.client.bottom - l.client.top - cr.bottom, GetSystemMetrics(SM_CYMENU));
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(h, bar, 1, &item));
  EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(item.left + 3, item.top + 3)), HTMENU);
  char text[32];
  GetMenuString(bar, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Help");
  Menu->Items()->Items(1)->SetCaption("&About");
  GetMenuString(GetMenu(h), 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&About");
  // The drop-down shows shortcuts after a tab; an invisible item is left out.
  Open->SetVisible(false);
  HMENU sub = GetSubMenu(GetMenu(h), 0);
  EXPECT_EQ(GetMenuItemCount(sub), 3);
  Open->SetVisible(true);
  GetMenuString(GetSubMenu(GetMenu(h), 0), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Open\tCtrl+O");
  // A click on a bar item without a drop-down runs it.
  GetMenuItemRect(h, GetMenu(h), 1, &item);
  InjectClick(POINT{item.left + 3, item.top + 3});
  Pump();
  EXPECT_EQ(Clicks.Log, (std::vector<std::string>{"Help"}));
}

TEST_F(MenuFormTest, RadioItemsOfAGroupCheckOneAtATime) {
  TMenuItem* a = AddItem(Form.get(), File, "A", "A");
  TMenuItem* b = AddItem(Form.get(), File, "B", "B");
  TMenuItem* c = AddItem(Form.get(), File, "C", "C");
  for (TMenuItem* i : {a, b, c}) i->SetRadioItem(true);
  c->SetGroupIndex(2);
  a->SetChecked(true);
  c->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(c->Checked());  // another group
  EXPECT_EQ(GetMenuState(Menu->Handle(), b->Command(), MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(File->Find("a"), a);
  EXPECT_EQ(a->GetParentMenu(), Menu);
  delete b;  // freeing an item takes it out of its parent and the handle
  EXPECT_EQ(File->IndexOf(c), 5);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(Menu->Handle(), 0)), 6);
}

// Draws a green square as image 0 of a list.
std::unique_ptr<TImageList> GreenImages() {
  auto images = std::make_unique<TImageList>(nullptr);
  TBitmap strip;
  strip.SetSize(16, 16);
  strip.Canvas()->Brush()->SetColor(clLime);
  strip.Canvas()->FillRect(TRect{0, 0, 16, 16});
  images->Add(&strip, nullptr);
  return images;
}

struct TDrawLog : TObject {
  std::vector<std::string> Log;
  std::string WindowClass;
  void Measure(TObject* Sender, TCanvas*, Integer& Width, Integer& Height) {
    Log.push_back("measure " + static_cast<TMenuItem*>(Sender)->Name());
    Width = 150;
    Height = 24;
  }
  void Draw(TObject* Sender, TCanvas* Canvas, TRect, TOwnerDrawState State) {
    Log.push_back("draw " + static_cast<TMenuItem*>(Sender)->Name() + (State.Contains(odSelected) ? " selected" : ""));
    WindowClass = GetClassName(WindowFromDC(Canvas->Handle()));
  }
};

TEST_F(MenusTest, PopupMenuItemsAreOwnerDrawnOnTheMenuWindowAndClicked) {
  THost host;
  host.HandleNeeded();
  auto images = GreenImages();
  TClicks clicks;
  TDrawLog draws;
  TPopupMenu popup(nullptr);
  popup.SetImages(images.get());
  TClicks popped;
  popup.OnPopup = TNotifyEvent(&popped, &TClicks::Popped);
  TMenuItem* custom = AddItem(&popup, popup.Items(), "Custom", "Custom", &clicks);
  custom->OnMeasureItem = TMenuMeasureItemEvent(&draws, &TDrawLog::Measure);
  custom->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(&draws, &TDrawLog::Draw);
  TMenuItem* pictured = AddItem(&popup, popup.Items(), "Pictured", "&Pictured", &clicks);
  pictured->SetImageIndex(0);
  popup.SetPopupComponent(&host);
  // Down twice and Enter choose the second item, whose image is drawn
  // beside its caption.
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_RETURN);
  popup.Popup(300, 200);
  Pump();
  EXPECT_EQ(popped.Log, std::vector<std::string>{"popup"});
  EXPECT_EQ(clicks.Log, std::vector<std::string>{"Pictured"});
  EXPECT_EQ(popup.PopupComponent(), &host);
  ASSERT_GE(draws.Log.size(), 3u);
  EXPECT_EQ(draws.Log[0], "measure Custom");
  EXPECT_EQ(draws.Log[1], "draw Custom");
  EXPECT_NE(std::find(draws.Log.begin(), draws.Log.end(), "draw Custom selected"), draws.Log.end());
  EXPECT_EQ(draws.WindowClass, kMenuWindowClass);
}

// Lime pixels in each open menu window, outermost first.
std::vector<int> LimeInOpenMenus() {
  std::vector<HWND> menus;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) {
        if (IsWindowVisible(h) && GetClassName(h) == kMenuWindowClass) reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&menus));
  std::vector<int> counts;
  for (auto it = menus.rbegin(); it != menus.rend(); ++it) {
    SurfacePixels s;
    if (!GetWindowSurface(*it, &s)) continue;
    int lime = 0;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x)
        if ((reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(s.pixels) + y * s.strideBytes)[x] & 0xFFFFFF) ==
            0x00FF00)
          ++lime;
    counts.push_back(lime);
  }
  return counts;
}

// Items with images in drop-downs and in their sub-menus show the image,
// also in a menu built before it was attached to its form.
TEST_F(MenusTest, ImagesOfItemsInSubMenusAreDrawn) {
  auto images = GreenImages();
  TForm form(nullptr);
  form.AfterConstruction();
  form.SetBounds(100, 100, 400, 250);
  auto* menu = new TMainMenu(&form);
  menu->SetImages(images.get());
  TMenuItem* file = AddItem(&form, menu->Items(), "File", "&File");
  TMenuItem* recent = AddItem(&form, file, "Recent", "&Recent");
  AddItem(&form, recent, "One", "&One")->SetImageIndex(0);
  AddItem(&form, file, "Open", "&Open")->SetImageIndex(0);
  menu->AttachToForm(&form);
  form.Show();
  Pump();
  static std::vector<std::vector<int>> seen;
  seen.clear();
  HHOOK hook = SetWindowsHookEx(
      WH_CALLWNDPROC,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && cwp->message == WM_ENTERIDLE && seen.empty()) {
          seen.push_back(LimeInOpenMenus());
          InjectKeyPress(VK_ESCAPE);
          InjectKeyPress(VK_ESCAPE);
          InjectKeyPress(VK_ESCAPE);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
      },
      nullptr, 0);
  InjectKeyPress('F', false, false, true);
  InjectKeyPress(VK_RIGHT);  // Recent opens at One
  Pump();
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(seen.size(), 1u);
  ASSERT_EQ(seen[0].size(), 2u);
  EXPECT_GT(seen[0][0], 100);  // Open's image in File
  EXPECT_GT(seen[0][1], 100);  // One's image in Recent
}

TEST_F(MenusTest, ContextMenuOfAControlPopsUpItsPopupMenu) {
  THost host;
  TPopupMenu popup(nullptr);
  TClicks clicks;
  AddItem(&popup, popup.Items(), "First", "&First", &clicks);
  host.SetPopupMenu(&popup);
  host.HandleNeeded();
  // The right click opens the menu; F chooses First.
  TPoint at = Center(&host);
  InjectClick(POINT{at.X, at.Y}, VK_RBUTTON);
  InjectKeyPress('F');
  Pump();
  Pump();
  EXPECT_EQ(clicks.Log, std::vector<std::string>{"First"});
  EXPECT_EQ(popup.PopupComponent(), &host);
}

TEST_F(MenusTest, MenusAndImagesAreReadFromTheFormFile) {
  TForm form(nullptr);
  ReadComponentText(R"(object Form1: TForm
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  object MainMenu1: TMainMenu
    Images = Images1
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
        ImageIndex = 0
        ShortCut = 16463
      end
      object N1: TMenuItem
        Caption = '-'
      end
    end
  end
  object Images1: TImageList
    Width = 8
    Height = 8
  end
end
)",
                    &form);
  TMainMenu* menu = TMainMenu::OfForm(&form);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->Name(), "MainMenu1");
  ASSERT_EQ(menu->Items()->Count(), 1);
  TMenuItem* file = menu->Items()->Items(0);
  ASSERT_EQ(file->Count(), 2);
  EXPECT_EQ(file->Items(0)->GetShortCut(), ShortCut('O', TShiftState{ssCtrl}));
  EXPECT_TRUE(file->Items(1)->IsLine());
  ASSERT_NE(menu->Images(), nullptr);
  EXPECT_EQ(menu->Images()->Width(), 8);
  EXPECT_EQ(file->Items(0)->GetImageList(), menu->Images());
  form.Show();
  EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
  // Writing the menu gives the items back under it.
  std::string text = WriteComponentText(menu);
  EXPECT_NE(text.find("object Open1: TMenuItem"), std::string::npos);
  EXPECT_NE(text.find("ShortCut = 16463"), std::string::npos);
}

// The form file names the bar and the window menu; the first main menu of
// the file is not the bar unless Menu names it.
TEST_F(MenusTest, FormFileNamesTheMenuAndTheWindowMenu) {
  TForm form(nullptr);
  ReadComponentText(R"(object Form1: TForm
  Width = 300
  Height = 200
  Menu = MainMenu2
  WindowMenu = Window1
  object MainMenu1: TMainMenu
    object Other1: TMenuItem
      Caption = '&Other'
    end
  end
  object MainMenu2: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
    end
    object Window1: TMenuItem
      Caption = '&Window'
      Visible = False
    end
  end
end
)",
                    &form);
  auto* first = dynamic_cast<TMainMenu*>(form.FindComponent("MainMenu1"));
  auto* second = dynamic_cast<TMainMenu*>(form.FindComponent("MainMenu2"));
  auto* window = dynamic_cast<TMenuItem*>(form.FindComponent("Window1"));
  ASSERT_TRUE(first && second && window);
  EXPECT_EQ(form.Menu(), second);
  EXPECT_EQ(TMainMenu::OfForm(&form), second);
  EXPECT_EQ(first->Form(), nullptr);
  EXPECT_EQ(form.WindowMenu(), window);
  EXPECT_EQ(second->WindowMenu(), window);
  std::string text = WriteComponentText(&form);
  EXPECT_NE(text.find("Menu = MainMenu2"), std::string::npos);
  EXPECT_NE(text.find("WindowMenu = Window1"), std::string::npos);

  form.Show();
  HWND h = form.Handle();
  EXPECT_EQ(GetMenu(h), second->Handle());
  RECT withBar, without;
  GetClientRect(h, &withBar);
  form.SetMenu(nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_EQ(second->Form(), nullptr);
  GetClientRect(h, &without);
  EXPECT_EQ(without.bottom - withBar.bottom, GetSystemMetrics(SM_CYMENU));
  form.SetMenu(first);
  EXPECT_EQ(GetMenu(h), first->Handle());
  EXPECT_EQ(first->WindowMenu(), window);  // the window menu goes with the bar
  // Attaching another menu directly makes it the form's Menu too.
  second->AttachToForm(&form);
  EXPECT_EQ(form.Menu(), second);
  EXPECT_EQ(first->Form(), nullptr);
  // Freed, the menu and the window menu let go.
  delete window;
  EXPECT_EQ(form.WindowMenu(), nullptr);
  EXPECT_EQ(second->WindowMenu(), nullptr);
  delete second;
  EXPECT_EQ(form.Menu(), nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
  GetClientRect(h, &withBar);
  EXPECT_EQ(withBar.bottom, without.bottom);
}

TEST_F(MenusTest, MdiFrameListsItsChildrenInTheWindowMenu) {
  TWinControl* previousMain = Application->MainForm();
  auto frame = std::make_unique<TForm>(nullptr);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 500, 350);
  frame->AfterConstruction();
  Application->SetMainForm(frame.get());
  auto* menu = new TMainMenu(frame.get());
  TClicks clicks;
  TMenuItem* window = AddItem(frame.get(), menu->Items(), "Window", "&Window", &clicks);
  AddItem(frame.get(), window, "Cascade", "&Cascade", &clicks);
  menu->SetWindowMenu(window);
  menu->AttachToForm(frame.get());
  frame->Show();
  std::vector<TForm*> children;
  for (const char* name : {"Alpha", "Beta"}) {
    auto* child = new TForm(frame.get());
    child->SetName(name);
    child->SetCaption(name);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10, 10, 200, 120);
    child->AfterConstruction();
    children.push_back(child);
  }
  Pump();
  ASSERT_EQ(frame->MDIChildCount(), 2);
  TForm* second = frame->MDIChildren(1);
  ASSERT_NE(second, frame->ActiveMDIChild());
  // Alt+W opens the window menu; 2 chooses the second child listed.
  for (int round = 0; round < 2; ++round) {
    InjectKeyPress('W', false, false, true);
    InjectKeyPress(round == 0 ? VK_ESCAPE : '2');
    if (round == 0) InjectKeyPress(VK_ESCAPE);
    Pump();
    Pump();
    // Opening it again lists the children once, not twice.
    HMENU sub = GetSubMenu(GetMenu(frame->Handle()), 0);
    EXPECT_EQ(GetMenuItemCount(sub), 4);  // Cascade, a line, two children
    char text[64];
    GetMenuString(sub, 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text), "&2 " + second->Caption());  // as listed when it opened
  }
  EXPECT_EQ(frame->ActiveMDIChild(), second);
  EXPECT_EQ(clicks.Log, (std::vector<std::string>{"Window", "Window"}));
  frame.reset();
  Application->SetMainForm(previousMain);
}

}  // namespace
