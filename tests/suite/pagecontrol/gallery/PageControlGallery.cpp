// A form with a page control of three sheets, as the program's settings
// windows hold one: drawn headless to <directory>/page-control.png (the
// first page) and page-control-second.png (after a click on the second
// tab), checking that the strip, the page and the switch show; with --show
// it stays on the desktop backend for the virtual-X run, telling the script
// (ready file) where a known pixel of the active page is, and ends when
// asked (quit file).
#include <cstdio>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Display.h"
#include "platform/win/Rects.h"
#include "platform/win/Input.h"
#include "platform/win/SdlDisplay.h"
#include "platform/win/Windows.h"
#include "suite/pagecontrol/PageControlStartup.h"
#include "suite/pagecontrol/cxPageControl.h"
#include "tests/support/GalleryProgram.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

int Fail(const char* what, TColor seen = clNone, TColor wanted = clNone) {
  std::fprintf(stderr, "page control gallery: %s (%06X, page %06X)\n", what, unsigned(seen), unsigned(wanted));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  GalleryArgs args;
  if (int exitCode = ParseGalleryArgs(argc, argv, "page_control_gallery", args)) return exitCode;
  const std::string& dir = args.Dir;
  const bool show = args.Show;
  if (!show) win::SetScreenSize(800, 600);
  InitializePageControl();
  auto* form = new TForm(nullptr);
  form->AfterConstruction();
  form->SetCaption("Page control");
  form->SetBounds(40, 40, 360, 260);
  auto* pages = new TcxPageControl(form);
  pages->SetParent(form);
  pages->SetBounds(10, 10, 320, 200);
  pages->LookAndFeel()->SetNativeStyle(true);
  TcxTabSheet* sheets[3];
  const char* captions[] = {"&General", "&Radio", "&Display"};
  for (int i = 0; i < 3; ++i) {
    sheets[i] = new TcxTabSheet(form);
    sheets[i]->SetCaption(captions[i]);
    sheets[i]->SetPageControl(pages);
    auto* label = new TLabel(form);
    label->SetParent(sheets[i]);
    label->SetCaption(std::string("Settings of ") + (captions[i] + 1));
    label->SetBounds(140, 10 + 30 * i, 150, 16);
    auto* edit = new TEdit(form);
    edit->SetParent(sheets[i]);
    edit->SetBounds(10, 40 + 30 * i, 120, 21);
  }
  form->Show();
  Application->ProcessMessages();

  // The first page: its edit's top border shows, where the second page's
  // edit would be is empty page.
  TBitmap first;
  SnapshotWindow(form->Handle(), first);
  SavePng(first, dir + "/page-control.png");
  const TPoint editOne = sheets[0]->ClientToScreen({20, 40});
  // Pages are aligned only while they show: both points from the first.
  const TPoint editTwo = sheets[0]->ClientToScreen({20, 70});
  auto pixel = [&](TBitmap& b, const TPoint& screen) { return SnapshotPixel(b, form->Handle(), screen); };
  const TColor pageColour = pixel(first, editTwo);
  if (pixel(first, editOne) == pageColour)
    return Fail("the first page's edit is not drawn", pixel(first, editOne), pageColour);
  const TRect tab = pages->Tabs()->GetTab(1)->VisibleRect();
  if (tab.Right <= tab.Left) return Fail("the second tab is not shown");

  // A click on the second tab shows the second page.
  const TPoint at = pages->ClientToScreen({(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2});
  win::InjectClick({at.X, at.Y});
  Application->ProcessMessages();
  if (pages->ActivePage() != sheets[1]) return Fail("the click did not switch pages");
  TBitmap second;
  SnapshotWindow(form->Handle(), second);
  SavePng(second, dir + "/page-control-second.png");
  if (pixel(second, editTwo) == pageColour)
    return Fail("the second page's edit is not drawn", pixel(second, editTwo), pageColour);
  if (pixel(second, editOne) != pageColour)
    return Fail("the first page still shows", pixel(second, editOne), pageColour);

  if (show) {
    const TColor c = pixel(second, editOne);
    RunShownGallery(form, dir,
                    "page " + std::to_string(editOne.X) + " " + std::to_string(editOne.Y) + " " + RgbText(c) + "\n");
  }
  delete form;
  if (show) win::InstallDisplay(nullptr);
  return 0;
}
