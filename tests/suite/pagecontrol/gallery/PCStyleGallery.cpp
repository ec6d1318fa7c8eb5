// Draws a tab control in every registered tab style, with the tabs on each
// of the four sides, and writes one picture per style to
// <directory>/pc-style-<name>.png. Visual styles follow VXN_THEMES; the
// styles that can draw natively do so when they are on.
#include <cstdio>
#include <string>

#include "platform/forms/PngImage.h"
#include "suite/pagecontrol/PageControlStartup.h"
#include "suite/pagecontrol/cxPCPainterRegistration.h"
#include "suite/pagecontrol/cxPCPaintersFactory.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr Integer kCellWidth = 260;
constexpr Integer kCellHeight = 150;

// One control of the style with its tabs at Position, copied into the
// gallery at Left.
void DrawCell(TcxPCStyleID Style, TcxTabPosition Position, TBitmap& Gallery, Integer Left) {
  FakeTabControl control;
  control.AddTabs({"&First", "Second", "Third", "A longer fourth", "Fifth"});
  control.Tabs()->GetTab(2)->SetHighlighted(true);
  control.Tabs()->GetTab(3)->SetEnabled(false);
  control.LookAndFeel()->SetNativeStyle(true);  // drawn natively where a style can and styles are on
  control.SetStyle(Style);
  control.SetShowFrame(true);
  control.SetTabPosition(Position);
  control.SetOptions({pcoGradient, pcoGradientClientArea, pcoCloseButton, pcoGoDialog});
  control.ShowWindow(kCellWidth - 10, kCellHeight - 10);
  control.SetTabIndex(1);
  control.Tabs()->SetHotTab(0);
  control.focused = true;
  TcxPCCustomPainter* painter = control.Painter();
  painter->SaveClip();
  painter->Paint();
  painter->RestoreClip();
  Gallery.Canvas()->Draw(Left + 5, 5, control.surface.bitmap.get());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pc_style_gallery <directory>\n");
    return 2;
  }
  const std::string dir = argv[1];
  InitializePageControl();
  InitializePCPainters();
  TcxPCPaintersFactory* factory = PaintersFactory();
  for (Integer i = 0; factory && i < factory->PainterClassCount(); ++i) {
    const TcxPCCustomPainterClass style = factory->PainterClasses(i);
    TBitmap gallery;
    gallery.SetPixelFormat(pf32bit);
    gallery.SetSize(4 * kCellWidth, kCellHeight);
    gallery.Canvas()->Brush()->SetColor(clWhite);
    gallery.Canvas()->FillRect({0, 0, 4 * kCellWidth, kCellHeight});
    for (TcxTabPosition position : {tpTop, tpBottom, tpLeft, tpRight})
      DrawCell(style->StyleID(), position, gallery, position * kCellWidth);
    TPngImage png;
    png.Assign(&gallery);
    png.SaveToFile(dir + "/pc-style-" + style->StyleName() + ".png");
  }
  FinalizePCPainters();
  return 0;
}
