// A program that references nothing of the forms library but Application and
// its start-up, and reads a form naming every class a form may hold. With
// classes registered by static initialisers, the linker would leave out the
// modules nothing references and the read would fail ("Class TEdit not
// found"); the explicit start-up registers them all.
#include <cstdio>
#include <exception>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/FormsStartup.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/UnitsStartup.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

void InitializeUnits() { InitializeForms(); }

namespace {

// The classes, in the order the form holds them.
const char* const kClasses[] = {
    "TEdit",       "TMemo",        "TMaskEdit",     "TTimer",      "TButton",      "TCheckBox",
    "TRadioButton", "TGroupBox",   "TSpeedButton",  "TLabel",      "TBevel",       "TImage",
    "TPaintBox",   "TPanel",       "TScrollBar",    "TSplitter",   "TProgressBar", "TUpDown",
    "TBitBtn",     "TScrollBox",   "TListBox",      "TComboBox",   "TImageList",   "TMainMenu",
    "TPopupMenu",  "TOpenDialog",  "TSaveDialog",   "TColorDialog", "TFontDialog", "TPrintDialog",
    "TPrinterSetupDialog", "TTreeView", "TStatusBar", "TToolBar",
};

std::string FormText() {
  std::string text = "object Probe: TForm\n";
  int n = 0;
  for (const char* name : kClasses) {
    text += "  object C" + std::to_string(++n) + ": " + name + "\n";
    if (std::string(name) == "TMainMenu") text += "    object Item: TMenuItem\n    end\n";
    if (std::string(name) == "TToolBar") text += "    object Tool: TToolButton\n    end\n";
    text += "  end\n";
  }
  return text + "end\n";
}

}  // namespace

int main() {
  InitializeUnits();
  if (!Application) {
    std::fprintf(stderr, "no Application after the start-up\n");
    return 1;
  }
  try {
    TComponent* form = ReadComponentText(FormText(), nullptr, "probe");
    int n = 0;
    for (const char* name : kClasses) {
      TComponent* c = form->FindComponent("C" + std::to_string(++n));
      if (!c || c->ClassName() != name) {
        std::fprintf(stderr, "%s was not read\n", name);
        return 1;
      }
    }
    form->Free();
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
  std::printf("1 passed, 0 failed\n");
  return 0;
}
