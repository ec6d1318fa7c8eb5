// A small form for the desktop backend under a virtual X server: a button, a
// control that shows the characters it receives, a row of standard controls
// and a borderless popup form. It tells the driving script where to click
// (ready file) and what it saw (state file), switches the visual style off
// when the script asks (classic file), and ends when the script asks (quit
// file) or after a deadline, so that it never outlives a broken run.
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/ScrollCtrls.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Controls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Forms.h"
#include "platform/forms/FormsStartup.h"
#include "platform/forms/Graphics.h"
#include "platform/win/SdlDisplay.h"
#include "platform/win/SysColors.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr int kDeadlineMs = 60000;
// Where the form shows that it saw the click.
constexpr TColor kClickedColour = 0x00C800;

std::string g_dir;
int g_clicks = 0;
std::string g_typed;

void SaveState() {
  std::string tmp = g_dir + "/state.tmp";
  {
    std::ofstream out(tmp);
    out << "clicks=" << g_clicks << "\ntext=" << g_typed << "\nmode=" << (win::VisualStylesEnabled() ? "styled" : "classic")
        << "\n";
  }
  std::rename(tmp.c_str(), (g_dir + "/state").c_str());
}

void AppendUtf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

class TEcho : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void MouseDown(TMouseButton, TShiftState, Integer, Integer) override { SetFocus(); }
  void KeyPress(char32_t& Key) override {
    AppendUtf8(g_typed, Key);
    SaveState();
    Invalidate();
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
    Canvas()->TextOut(6, 10, "Typed: " + g_typed);
  }
};

struct Handlers {
  TForm* Form = nullptr;
  TButton* Button = nullptr;
  int Elapsed = 0;
  void Click(TObject*) {
    ++g_clicks;
    Button->SetCaption("Clicked " + std::to_string(g_clicks));
    Form->SetColor(kClickedColour);
    SaveState();
  }
  void Tick(TObject*) {
    Elapsed += 100;
    std::ifstream quit(g_dir + "/quit");
    if (quit || Elapsed > kDeadlineMs) Application->Terminate();
    if (win::VisualStylesEnabled() && std::ifstream(g_dir + "/classic")) {
      win::SetVisualStylesEnabled(false);
      SaveState();
    }
  }
};

win::POINT Centre(TWinControl* c) {
  win::RECT r;
  win::GetWindowRect(c->Handle(), &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: sdl_smoke <directory>\n");
    return 2;
  }
  g_dir = argv[1];
  InitializeForms();
  const char* backend = win::InstallDisplayForEnvironment();
  if (std::string(backend) != "sdl") {
    std::fprintf(stderr, "display backend is %s, not sdl\n", backend);
    return 1;
  }
  Handlers handlers;
  {
    auto* form = new TForm(nullptr);
    form->AfterConstruction();
    form->SetCaption("SDL smoke");
    form->SetBounds(60, 60, 420, 330);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 140, 36);
    button->SetCaption("Press me");
    auto* echo = new TEcho(form);
    echo->SetParent(form);
    echo->SetBounds(20, 80, 360, 36);
    // Standard controls, to be seen in both looks.
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetBounds(20, 130, 100, 20);
    check->SetCaption("Check");
    check->SetChecked(true);
    auto* radio = new TRadioButton(form);
    radio->SetParent(form);
    radio->SetBounds(130, 130, 100, 20);
    radio->SetCaption("Radio");
    radio->SetChecked(true);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(240, 128, 140, 23);
    edit->SetText("Edit");
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(20, 165, 140, 21);
    auto* progress = new TProgressBar(form);
    progress->SetParent(form);
    progress->SetBounds(180, 166, 200, 18);
    progress->SetPosition(60);
    auto* group = new TGroupBox(form);
    group->SetParent(form);
    group->SetBounds(20, 200, 250, 80);
    group->SetCaption("Group");
    auto* bar = new TScrollBar(form);
    bar->SetParent(form);
    bar->SetBounds(290, 205, 90, 17);
    auto* popup = new TForm(form);
    popup->AfterConstruction();
    popup->SetBorderStyle(bsNone);
    popup->SetColor(clYellow);
    popup->SetBounds(520, 120, 160, 80);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    handlers.Form = form;
    handlers.Button = button;
    button->OnClick = TNotifyEvent(&handlers, &Handlers::Click);
    timer->SetOnTimer(TNotifyEvent(&handlers, &Handlers::Tick));
    form->Show();
    popup->Show();
    form->Show();
    Application->ProcessMessages();
    SaveState();
    {
      win::POINT b = Centre(button), e = Centre(echo), p = Centre(popup);
      win::POINT back{10, 200};
      win::ClientToScreen(form->Handle(), &back);
      std::ofstream ready(g_dir + "/ready.tmp");
      ready << "button " << b.x << " " << b.y << "\necho " << e.x << " " << e.y << "\npopup " << p.x << " " << p.y
            << "\nback " << back.x << " " << back.y << "\n";
      // A point of the button's face away from its caption, and the face
      // colour of each look.
      win::RECT br;
      win::GetWindowRect(button->Handle(), &br);
      win::COLORREF styled = 0;
      win::ScopedTheme theme(u"Button");
      win::GetThemeColor(theme.get(), win::BP_PUSHBUTTON, win::PBS_NORMAL, win::TMT_FILLCOLOR, &styled);
      win::COLORREF classic = win::GetSysColor(win::COLOR_BTNFACE);
      auto rgb = [](win::COLORREF c) {
        return std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," + std::to_string((c >> 16) & 0xFF);
      };
      ready << "face " << br.left + 8 << " " << br.top + 5 << " " << rgb(styled) << " " << rgb(classic) << "\n";
    }
    std::rename((g_dir + "/ready.tmp").c_str(), (g_dir + "/ready").c_str());
    Application->SetMainForm(form);
    Application->Run();
    delete form;
  }
  win::InstallDisplay(nullptr);
  return 0;
}
