// A dialog's row of suite push buttons as the program's windows hold them
// (Ok as the default button and Cancel in the native style, a glyph button,
// a drop-down button with its arrow part, a button with a face colour of its
// own, a disabled one): drawn headless to <directory>/buttons.png, checking
// that the faces, the glyph, the arrow part and the states show; with --show
// it stays on the desktop backend for the virtual-X run, telling the script
// (ready file) where known pixels are, and ends when asked (quit file).
#include <cstdio>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/win/Display.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxButtons.h"
#include "tests/support/GalleryProgram.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr TColor kFace = 0x00C08040;  // the coloured button's own face
constexpr TColor kGlyphColour = clLime;

int Fail(const char* what, TColor seen = clNone, TColor wanted = clNone) {
  std::fprintf(stderr, "button gallery: %s (%06X, wanted %06X)\n", what, unsigned(seen), unsigned(wanted));
  return 1;
}

TcxButton* AddButton(TForm* form, const char* caption, const TRect& r) {
  auto* b = new TcxButton(form);
  b->SetParent(form);
  b->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  b->SetCaption(caption);
  b->LookAndFeel()->SetNativeStyle(true);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  GalleryArgs args;
  if (int exitCode = ParseGalleryArgs(argc, argv, "button_gallery", args)) return exitCode;
  const std::string& dir = args.Dir;
  const bool show = args.Show;
  if (!show) win::SetScreenSize(800, 600);
  InitializeEditors();
  auto* form = new TForm(nullptr);
  form->AfterConstruction();
  form->SetCaption("Buttons");
  form->SetBounds(40, 40, 380, 170);

  TcxButton* ok = AddButton(form, "Ok", {10, 10, 85, 35});
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  TcxButton* cancel = AddButton(form, "Cancel", {95, 10, 170, 35});
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);

  TcxButton* glyphButton = AddButton(form, "&Read", {10, 50, 120, 80});
  TBitmap glyph;
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(clOlive);
  glyph.Canvas()->FillRect({0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(kGlyphColour);
  glyph.Canvas()->FillRect({3, 3, 13, 13});
  glyphButton->SetGlyph(&glyph);

  TcxButton* drop = AddButton(form, "&Write", {130, 50, 240, 80});
  drop->SetKind(cxbkDropDownButton);
  auto* menu = new TPopupMenu(form);
  auto* item = new TMenuItem(menu);
  item->SetCaption("Write all");
  menu->Items()->Add(item);
  drop->SetDropDownMenu(menu);

  TcxButton* coloured = AddButton(form, "", {10, 95, 120, 125});
  coloured->LookAndFeel()->SetNativeStyle(false);
  coloured->LookAndFeel()->SetKind(lfStandard);
  coloured->Colors()->SetNormal(kFace);

  TcxButton* off = AddButton(form, "Off", {130, 95, 240, 125});
  off->SetEnabled(false);

  form->Show();
  ok->SetFocus();
  Application->ProcessMessages();

  TBitmap picture;
  SnapshotWindow(form->Handle(), picture);
  SavePng(picture, dir + "/buttons.png");
  auto pixel = [&](const TPoint& screen) { return SnapshotPixel(picture, form->Handle(), screen); };
  auto count = [&](TControl* c, const TRect& r, auto test) {
    int n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) n += test(pixel(c->ClientToScreen({x, y})));
    return n;
  };
  const TColor formColour = static_cast<TColor>(ColorToRGB(form->Color()));

  const TPoint faceAt = coloured->ClientToScreen({55, 15});
  if (pixel(faceAt) != kFace) return Fail("the button's own face colour is not drawn", pixel(faceAt), kFace);
  TPoint glyphAt{-1, -1};
  for (Integer y = 0; y < glyphButton->Height() && glyphAt.X < 0; ++y)
    for (Integer x = 0; x < glyphButton->Width() && glyphAt.X < 0; ++x)
      if (pixel(glyphButton->ClientToScreen({x, y})) == kGlyphColour) glyphAt = glyphButton->ClientToScreen({x + 2, y + 2});
  if (glyphAt.X < 0 || count(glyphButton, glyphButton->ClientRect(), [](TColor c) { return c == kGlyphColour; }) != 100)
    return Fail("the glyph is not drawn whole");
  if (count(glyphButton, glyphButton->ClientRect(), [](TColor c) { return c == clOlive; }) != 0)
    return Fail("the glyph's transparent colour shows");
  // The arrow part (the right 15 pixels): the down arrow's dark pixels
  // inside its borders.
  const TRect arrow{drop->Width() - 12, 4, drop->Width() - 3, drop->Height() - 4};
  if (count(drop, arrow, [](TColor c) { return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60; }) < 3)
    return Fail("the drop-down arrow is not drawn");
  // Every button draws a border of its own on the form.
  for (TcxButton* b : {ok, cancel, off})
    if (count(b, {0, 0, 1, b->Height()}, [&](TColor c) { return c != formColour; }) == 0)
      return Fail("a button has no border", formColour, formColour);
  // The focused Ok button is drawn as the default one, the others as they are.
  if (ok->PaintedState() != cxbsDefault || cancel->PaintedState() != cxbsNormal ||
      off->PaintedState() != cxbsDisabled || coloured->PaintedState() != cxbsNormal)
    return Fail("a button is drawn in the wrong state");

  if (show)
    RunShownGallery(form, dir,
                    "face " + std::to_string(faceAt.X) + " " + std::to_string(faceAt.Y) + " " + RgbText(kFace) + "\n" +
                        "glyph " + std::to_string(glyphAt.X) + " " + std::to_string(glyphAt.Y) + " " +
                        RgbText(kGlyphColour) + "\n");
  delete form;
  if (show) win::InstallDisplay(nullptr);
  return 0;
}
