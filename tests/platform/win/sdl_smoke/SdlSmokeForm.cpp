// A small form for the desktop backend under a virtual X server: a button, a
// control that shows the characters it receives, and a borderless popup
// form. It tells the driving script where to click (ready file) and what it
// saw (state file), and ends when the script asks (quit file) or after a
// deadline, so that it never outlives a broken run.
#include <cstdio>
#include <fstream>
#include <string>

#include "ButtonCtrls.h"
#include "Controls.h"
#include "CustomForms.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "FormsStartup.h"
#include "Graphics.h"
#include "SdlDisplay.h"
#include "Windows.h"

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
    out << "clicks=" << g_clicks << "\ntext=" << g_typed << "\n";
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
    form->SetBounds(60, 60, 420, 260);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 140, 36);
    button->SetCaption("Press me");
    auto* echo = new TEcho(form);
    echo->SetParent(form);
    echo->SetBounds(20, 80, 360, 36);
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
    }
    std::rename((g_dir + "/ready.tmp").c_str(), (g_dir + "/ready").c_str());
    Application->SetMainForm(form);
    Application->Run();
    delete form;
  }
  win::InstallDisplay(nullptr);
  return 0;
}
