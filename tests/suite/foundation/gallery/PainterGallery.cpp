// Draws the operations of every painter side by side (one column per look:
// flat, standard, ultra-flat, Office 11, native) and writes the picture to
// <directory>/painter-gallery.png. With --show it also puts the picture in a
// window of the desktop backend for the virtual-X smoke run, with a suite
// control under it whose content needs both of its own scroll bars: it tells
// the script where known pixels are (ready file) and ends when asked (quit
// file).
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Timer.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/PngImage.h"
#include "platform/rtl/Streams.h"
#include "platform/win/Display.h"
#include "platform/win/SdlDisplay.h"
#include "platform/win/SysColors.h"
#include "suite/foundation/FoundationStartup.h"
#include "suite/foundation/cxControl.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/dxThemeManager.h"
#include "tests/support/GalleryProgram.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr Integer kLabelWidth = 120;
constexpr Integer kCellWidth = 150;
constexpr Integer kCellHeight = 36;

using Op = std::function<void(TcxCustomLookAndFeelPainterClass, TcxCanvas*, const TRect&)>;

struct Row {
  const char* name;
  Op draw;
};

TRect Part(const TRect& cell, Integer index, Integer count) {
  const Integer w = (cell.Width() - 4) / count;
  return {cell.Left + 2 + index * w, cell.Top + 4, cell.Left + 2 + (index + 1) * w - 4, cell.Bottom - 4};
}

std::vector<Row> Rows(TFont* font) {
  std::vector<Row> rows;
  for (TcxButtonState s : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDefault, cxbsDisabled}) {
    static const char* names[] = {"Button default", "Button normal", "Button hot", "Button pressed",
                                  "Button disabled"};
    rows.push_back({names[s], [s](auto p, auto c, const TRect& r) { p->DrawButtonWithCaption(c, r, "&OK", s); }});
  }
  rows.push_back({"Check boxes", [](auto p, auto c, const TRect& r) {
                    const TcxButtonState states[] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
                    for (int i = 0; i < 4; ++i) {
                      TRect b = Part(r, i, 4);
                      p->DrawCheckBoxInRect(c, {b.Left, b.Top, b.Left + 13, b.Top + 13}, states[i], i != 1);
                    }
                  }});
  rows.push_back({"Radio buttons", [](auto p, auto c, const TRect& r) {
                    const TcxButtonState states[] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
                    for (int i = 0; i < 4; ++i) {
                      TRect b = Part(r, i, 4);
                      p->DrawRadioButton(c, b.Left, b.Top, states[i], i != 1, false, clDefault);
                    }
                  }});
  rows.push_back({"Arrow buttons", [](auto p, auto c, const TRect& r) {
                    for (int i = 0; i < 4; ++i) {
                      TRect b = Part(r, i, 4);
                      p->DrawArrowButton(c, {b.Left, b.Top, b.Left + 17, b.Top + 17}, cxbsNormal,
                                         static_cast<ArrowDirection>(i), true);
                    }
                  }});
  rows.push_back({"Headers, sort", [font](auto p, auto c, const TRect& r) {
                    TRect a = Part(r, 0, 2), b = Part(r, 1, 2);
                    p->DrawHeader(c, a, a, {bRight}, cxBordersAll, cxbsNormal, taLeftJustify, VAlignCenter, false,
                                  true, "Name", font, clBtnText, p->HeaderAreaColor(), nullptr, false);
                    p->DrawHeader(c, b, b, {bLeft}, cxBordersAll, cxbsPressed, taLeftJustify, VAlignCenter, false,
                                  true, "Tone", font, clBtnText, p->HeaderAreaColor(), nullptr, true);
                    p->DrawSortArrow(c, {b.Right - 16, b.Top, b.Right, b.Bottom}, true);
                  }});
  rows.push_back({"Footer, indicators", [font](auto p, auto c, const TRect& r) {
                    TRect a = Part(r, 0, 2), b = Part(r, 1, 2);
                    p->DrawFooterCell(c, a, taRightJustify, VAlignCenter, false, "123", font, clBtnText, clBtnFace);
                    const Integer w = b.Width() / 3;
                    for (int k = 1; k <= 3; ++k)
                      p->DrawIndicatorCell(c, {b.Left + (k - 1) * w, b.Top, b.Left + k * w, b.Bottom},
                                           static_cast<TcxIndicatorKind>(k), clBtnFace);
                  }});
  rows.push_back({"Scroll bar", [](auto p, auto c, const TRect& r) {
                    TRect b{r.Left + 4, r.Top + 8, r.Right - 4, r.Top + 25};
                    const Integer a = 17;
                    p->DrawScrollBarElement(c, true, {b.Left, b.Top, b.Left + a, b.Bottom}, ScrollBarPartLineUp,
                                            cxbsNormal);
                    p->DrawScrollBarElement(c, true, {b.Left + a, b.Top, b.Left + 50, b.Bottom}, ScrollBarPartPageUp,
                                            cxbsNormal);
                    p->DrawScrollBarElement(c, true, {b.Left + 50, b.Top, b.Left + 80, b.Bottom}, ScrollBarPartThumb,
                                            cxbsHot);
                    p->DrawScrollBarElement(c, true, {b.Left + 80, b.Top, b.Right - a, b.Bottom},
                                            ScrollBarPartPageDown, cxbsPressed);
                    p->DrawScrollBarElement(c, true, {b.Right - a, b.Top, b.Right, b.Bottom}, ScrollBarPartLineDown,
                                            cxbsPressed);
                  }});
  rows.push_back({"Expand, plus, close", [](auto p, auto c, const TRect& r) {
                    TRect a = Part(r, 0, 5), b = Part(r, 1, 5), d = Part(r, 2, 5), e = Part(r, 3, 5), f = Part(r, 4, 5);
                    p->DrawTreeExpandButton(c, {a.Left, a.Top, a.Left + 11, a.Top + 11}, false, clDefault);
                    p->DrawSmallExpandButton(c, {b.Left, b.Top, b.Left + 9, b.Top + 9}, true, clBtnShadow, clWindow);
                    p->DrawPlusButton(c, {d.Left, d.Top, d.Left + 13, d.Top + 13}, cxbsNormal);
                    p->PaintCloseButton(c, {e.Left, e.Top, e.Left + 16, e.Top + 14}, cxbsNormal);
                    p->DrawDropDownButton(c, {f.Left, f.Top, f.Left + 17, f.Top + 20}, cxbsNormal, false);
                  }});
  rows.push_back({"Group toggle, tool", [](auto p, auto c, const TRect& r) {
                    TRect a = Part(r, 0, 3), b = Part(r, 1, 3), d = Part(r, 2, 3);
                    p->DrawGroupToggleButton(c, {a.Left, a.Top, a.Left + 15, a.Top + 15}, true, cxbsNormal);
                    p->DrawToolButton(c, b, cxbsHot);
                    p->DrawAutoHideButton(c, {d.Left, d.Top, d.Left + 16, d.Top + 14}, cxbsNormal, false, clBtnFace);
                  }});
  rows.push_back({"Border, edged bar", [](auto p, auto c, const TRect& r) {
                    TRect a = Part(r, 0, 2), b = Part(r, 1, 2);
                    p->DrawControlBorder(c, a);
                    p->DrawEdgedBar(c, b, {clWindow, nullptr}, true);
                  }});
  return rows;
}

TcxCustomLookAndFeelPainterClass Painters(int i) {
  switch (i) {
    case 0: return TcxFlatLookAndFeelPainter::Instance();
    case 1: return TcxStandardLookAndFeelPainter::Instance();
    case 2: return TcxUltraFlatLookAndFeelPainter::Instance();
    case 3: return TcxOffice11LookAndFeelPainter::Instance();
    default: return TcxWinXPLookAndFeelPainter::Instance();
  }
}

void DrawGallery(TBitmap& bitmap) {
  TFont font;
  const std::vector<Row> rows = Rows(&font);
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(kLabelWidth + 5 * kCellWidth, static_cast<Integer>(rows.size() + 1) * kCellHeight);
  TcxCanvas canvas(bitmap.Canvas());
  canvas.SetBrushColor(clWindow);
  canvas.Canvas->FillRect({0, 0, bitmap.Width(), bitmap.Height()});
  const char* heads[] = {"Flat", "Standard", "Ultra-flat", "Office 11", ThemesActive() ? "Native" : "Native (no styles)"};
  for (int col = 0; col < 5; ++col) {
    const TRect cell{kLabelWidth + col * kCellWidth, 0, kLabelWidth + (col + 1) * kCellWidth, kCellHeight};
    canvas.Canvas->Font()->SetColor(clWindowText);
    canvas.DrawAlignedText(heads[col], cell, TextHCenter | TextVCenter | TextSingleLine, true);
  }
  for (size_t row = 0; row < rows.size(); ++row) {
    const Integer top = static_cast<Integer>(row + 1) * kCellHeight;
    canvas.Canvas->Font()->SetColor(clWindowText);
    canvas.SetBrushColor(clWindow);
    canvas.DrawAlignedText(rows[row].name, {4, top, kLabelWidth, top + kCellHeight}, TextLeft | TextVCenter | TextSingleLine,
                           true);
    for (int col = 0; col < 5; ++col) {
      const TRect cell{kLabelWidth + col * kCellWidth, top, kLabelWidth + (col + 1) * kCellWidth, top + kCellHeight};
      auto saved = canvas.ReadClipRegion();
      canvas.IntersectClip(cell);
      canvas.Canvas->Font()->Assign(&font);
      rows[row].draw(Painters(col), &canvas, {cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2});
      canvas.ApplyClipRegion(std::move(saved));
    }
  }
}

// A white page of 600 x 400 pixels seen through the control's bars.
class TPageControl : public TcxControl {
 public:
  using TcxControl::TcxControl;

 protected:
  void InitScrollBarsParameters() override {
    const TRect c = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, 599, 1, c.Width(), 0, true, true);
    SetScrollBarInfo(sbVertical, 0, 399, 1, c.Height(), 0, true, true);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(GetClientBounds());
  }
};

}  // namespace

int main(int argc, char** argv) {
  GalleryArgs args;
  if (int exitCode = ParseGalleryArgs(argc, argv, "painter_gallery", args)) return exitCode;
  const std::string& dir = args.Dir;
  const bool show = args.Show;
  InitializeFoundation();
  TBitmap gallery;
  DrawGallery(gallery);
  {
    TPngImage png;
    png.Assign(&gallery);
    png.SaveToFile(dir + "/painter-gallery.png");
  }
  if (show) {
    GalleryQuitter quitter{dir};
    auto* form = new TForm(nullptr);
    form->AfterConstruction();
    form->SetCaption("Painter gallery");
    form->SetBounds(10, 10, gallery.Width() + 20, gallery.Height() + 40);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, gallery.Width(), gallery.Height());
    image->Picture()->Assign(&gallery);
    form->SetHeight(form->Height() + 160);
    auto* control = new TPageControl(form);
    control->SetParent(form);
    control->SetBounds(10, gallery.Height() + 5, 240, 150);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    timer->SetOnTimer(TNotifyEvent(&quitter, &GalleryQuitter::Tick));
    form->Show();
    Application->ProcessMessages();
    {
      // The script compares the screen with the picture at a point inside
      // the standard painter's default button (its black outer ring).
      win::POINT probe{kLabelWidth + kCellWidth + 2, 4 * kCellHeight + 2};
      win::ClientToScreen(form->Handle(), &probe);
      std::ofstream ready(dir + "/ready.tmp");
      ready << "probe " << probe.x << " " << probe.y << "\n";
      // The size grip shows only when both bars do; the page is white.
      const TRect grip = control->SizeGrip()->BoundsRect();
      const TPoint gripAt = control->ClientToScreen({grip.Left + 3, grip.Top + 3});
      const win::COLORREF face = win::GetSysColor(win::COLOR_BTNFACE);
      ready << "grip " << gripAt.X << " " << gripAt.Y << " " << int(win::GetRValue(face)) << ","
            << int(win::GetGValue(face)) << "," << int(win::GetBValue(face)) << "\n";
      const TPoint pageAt = control->ClientToScreen({20, 20});
      ready << "page " << pageAt.X << " " << pageAt.Y << "\n";
      const TPoint barAt = control->ClientToScreen({control->VScrollBar()->Left() + 2, 60});
      ready << "bar " << barAt.X << " " << barAt.Y << "\n";
    }
    std::rename((dir + "/ready.tmp").c_str(), (dir + "/ready").c_str());
    Application->SetMainForm(form);
    Application->Run();
    delete form;
    win::InstallDisplay(nullptr);
  }
  return 0;
}
