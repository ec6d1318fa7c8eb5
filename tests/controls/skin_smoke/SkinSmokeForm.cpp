// The menu skin on a real window under a virtual X server: a main window
// with a main menu and a tool bar, skinned as the radio program's main window
// is. It tells the driving script where the menu bar's first item and the
// tool bar are and which colours the skin paints them in (ready file), and
// ends when the script asks (quit file) or after a deadline.
#include <cstdio>
#include <fstream>
#include <string>

#include "controls/ControlsStartup.h"
#include "controls/MenuSkin.h"
#include "controls/MenuSkinColors.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/SdlDisplay.h"
#include "platform/win/Windows.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr int kDeadlineMs = 60000;
std::string g_dir;

struct Handlers {
  int Elapsed = 0;
  void Tick(TObject*) {
    Elapsed += 100;
    std::ifstream quit(g_dir + "/quit");
    if (quit || Elapsed > kDeadlineMs) {
      win::EndMenu();
      Application->Terminate();
    }
  }
};

TMenuItem* Item(TComponent* Owner, TMenuItem* Parent, const std::string& Caption) {
  auto* item = new TMenuItem(Owner);
  item->SetCaption(Caption);
  Parent->Add(item);
  return item;
}

std::string Rgb(TColor c) {
  win::COLORREF v = ColorToRGB(c);
  return std::to_string(win::GetRValue(v)) + "," + std::to_string(win::GetGValue(v)) + "," +
         std::to_string(win::GetBValue(v));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_smoke <directory>\n");
    return 2;
  }
  g_dir = argv[1];
  InitializeControls();
  Application->SetTitle("Skin smoke");
  const char* backend = win::InstallDisplayForEnvironment();
  if (std::string(backend) != "sdl") {
    std::fprintf(stderr, "display backend is %s, not sdl\n", backend);
    return 1;
  }
  Handlers handlers;
  {
    auto* form = new TForm(Application);
    form->AfterConstruction();
    form->SetCaption("Skin smoke");
    form->SetBounds(60, 60, 480, 300);
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(form, menu->Items(), "&File");
    Item(form, file, "&Open")->SetShortCut(ShortCut('O', {ssCtrl}));
    Item(form, file, "&Save")->SetChecked(true);
    Item(form, file, "-");
    Item(form, file, "E&xit")->SetEnabled(false);
    Item(form, Item(form, menu->Items(), "&Help"), "&About");
    form->SetMenu(menu);
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetAlign(alTop);
    bar->SetHeight(30);
    // A wide separator first keeps the buttons clear of the open menu.
    auto* gap = new TToolButton(form);
    gap->SetStyle(tbsSeparator);
    gap->SetParent(bar);
    gap->SetWidth(200);
    TToolButton* last = nullptr;
    for (int i = 0; i < 3; ++i) {
      last = new TToolButton(form);
      last->SetParent(bar);
    }
    auto* skin = new TMenuSkin(form);
    skin->SetXPContainers({xccForm, xccToolbar, xccCoolbar});
    skin->SetXPControls({xcMainMenu, xcPopupMenu, xcToolbar});
    skin->SetActive(true);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    timer->SetOnTimer(TNotifyEvent(&handlers, &Handlers::Tick));
    form->Show();
    Application->ProcessMessages();
    {
      win::RECT item;
      win::GetMenuItemRect(form->Handle(), menu->Handle(), 0, &item);
      TPoint face = last->ClientToScreen({3, 3});
      skin->UpdateColors(nullptr);
      const TMenuSkinColors& c = skin->Colors();
      std::ofstream ready(g_dir + "/ready.tmp");
      ready << "file " << (item.left + item.right) / 2 << " " << (item.top + item.bottom) / 2 << "\n"
            << "item " << item.left << " " << item.top << " " << item.right << " " << item.bottom << "\n"
            << "bar " << face.X << " " << face.Y << "\n"
            << "iconfill " << Rgb(c.IconFill) << "\n"
            << "selectfill " << Rgb(c.SelectFill) << "\n"
            << "barface " << Rgb(LightenColor(bar->Color(), 16)) << "\n";
    }
    std::rename((g_dir + "/ready.tmp").c_str(), (g_dir + "/ready").c_str());
    Application->SetMainForm(form);
    Application->Run();
  }
  win::InstallDisplay(nullptr);
  return 0;
}
