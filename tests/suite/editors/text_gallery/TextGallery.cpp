// A setup dialog's text editors as the program's windows hold them: a plain
// one with the radio's name, a right-aligned one that paints its own text
// while another control has the focus, one in the native look, and one
// that completes what is typed from its lookup items: drawn headless to
// <directory>/texts.png, checking that each text shows where its alignment
// puts it, and that typing the start of an item shows the item with the
// completion selected; with --show it stays on the desktop backend for the
// virtual-X run, telling the script (ready file) where known pixels are and
// where to click, and ends when asked (quit file).
#include <cstdio>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxTextEdit.h"
#include "tests/support/GalleryProgram.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

int Fail(const char* what, TColor seen = clNone, TColor wanted = clNone) {
  std::fprintf(stderr, "text gallery: %s (%06X, wanted %06X)\n", what, unsigned(seen), unsigned(wanted));
  return 1;
}

TcxTextEdit* AddEdit(TForm* form, const char* text, const TRect& r) {
  auto* e = new TcxTextEdit(form);
  e->SetParent(form);
  e->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  e->SetText(text);
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  GalleryArgs args;
  if (int exitCode = ParseGalleryArgs(argc, argv, "text_gallery", args)) return exitCode;
  const std::string& dir = args.Dir;
  const bool show = args.Show;
  if (!show) win::SetScreenSize(800, 600);
  InitializeEditors();

  auto* form = new TForm(nullptr);
  form->AfterConstruction();
  form->SetCaption("Setup");
  form->SetBounds(40, 40, 300, 190);
  TcxTextEdit* plain = AddEdit(form, "Handheld N41", {10, 10, 200, 31});
  TcxTextEdit* right = AddEdit(form, "Bank A", {10, 45, 200, 66});
  right->TextProperties()->Alignment()->SetHorz(taRightJustify);
  TcxTextEdit* native = AddEdit(form, "Native", {10, 80, 200, 101});
  native->Style()->LookAndFeel()->SetNativeStyle(true);
  TcxTextEdit* lookup = AddEdit(form, "", {10, 115, 200, 136});
  lookup->TextProperties()->LookupItems()->SetText("apple\nbanana\ncherry");
  form->Show();
  plain->SetFocus();
  Application->ProcessMessages();

  TBitmap picture;
  SnapshotWindow(form->Handle(), picture);
  SavePng(picture, dir + "/texts.png");
  auto pixel = [&](const TPoint& screen) { return SnapshotPixel(picture, form->Handle(), screen); };
  const TColor textColour = static_cast<TColor>(ColorToRGB(clWindowText));
  const TColor back = static_cast<TColor>(ColorToRGB(clWindow));
  // The first pixel of text colour inside a part of an editor's text
  // rectangle; (-1, -1) when there is none.
  auto textIn = [&](TcxTextEdit* e, Integer fromX, Integer toX) {
    const TRect r = e->TextViewInfo()->TextRect;
    for (Integer x = fromX; x < toX; ++x)
      for (Integer y = r.Top; y < r.Bottom; ++y)
        if (pixel(e->ClientToScreen({x, y})) == textColour) return e->ClientToScreen({x, y});
    return TPoint{-1, -1};
  };
  for (TcxTextEdit* e : {plain, right, native})
    if (textIn(e, 0, e->Width()).X < 0) return Fail("an editor's text is not drawn");
  const TPoint textAt = textIn(plain, 0, plain->Width());
  // The unfocused right-aligned editor: its own painting puts the text at
  // the right, nothing at the left.
  if (right->InnerEditVisible()) return Fail("the unfocused right-aligned editor shows its inner edit");
  const TRect rightText = right->TextViewInfo()->TextRect;
  const TPoint rightAt = textIn(right, rightText.Right - rightText.Width() / 3, rightText.Right);
  if (rightAt.X < 0) return Fail("the right-aligned text is not at the right");
  if (textIn(right, rightText.Left, rightText.Left + rightText.Width() / 2).X >= 0)
    return Fail("the right-aligned editor draws text at its left");
  const TPoint rightLeftAt = right->ClientToScreen({rightText.Left + 4, rightAt.Y - right->ClientToScreen({0, 0}).Y});
  if (pixel(rightLeftAt) != back) return Fail("the right-aligned editor's left is not its background", pixel(rightLeftAt), back);

  // Where the completion of "a" to "apple" shows selected: the middle of
  // "pple" on the inner edit's top row.
  TWinControl* inner = lookup->InnerTextEdit()->Control();
  TBitmap measure;
  measure.Canvas()->Font()->Assign(inner->Font());
  const Integer typed = measure.Canvas()->TextWidth("a");
  const Integer whole = measure.Canvas()->TextWidth("apple");
  const TPoint completionAt = inner->ClientToScreen({typed + (whole - typed) / 2, 1});
  const TColor highlight = static_cast<TColor>(ColorToRGB(clHighlight));
  if (pixel(completionAt) == highlight) return Fail("the lookup editor shows a selection before typing");
  const TPoint clickAt = lookup->ClientToScreen({lookup->Width() / 2, lookup->Height() / 2});

  if (show) {
    auto point = [](const TPoint& p) { return std::to_string(p.X) + " " + std::to_string(p.Y); };
    RunShownGallery(form, dir,
                    "text " + point(textAt) + " " + RgbText(textColour) + "\n" + "righttext " + point(rightAt) +
                        "\n" + "rightleft " + point(rightLeftAt) + " " + RgbText(back) + "\n" + "lookupclick " +
                        point(clickAt) + "\n" + "completion " + point(completionAt) + " " + RgbText(highlight) + "\n");
    if (lookup->GetText() != "apple") return Fail("the typing on the screen did not complete the item");
  } else {
    win::InjectMouseButton(win::VK_LBUTTON, true, {clickAt.X, clickAt.Y});
    win::InjectMouseButton(win::VK_LBUTTON, false, {clickAt.X, clickAt.Y});
    Application->ProcessMessages();
    win::InjectText("a");
    Application->ProcessMessages();
    if (lookup->GetText() != "apple" || lookup->SelStart() != 1 || lookup->SelLength() != 4)
      return Fail("typing does not complete the item");
    SnapshotWindow(form->Handle(), picture);
    SavePng(picture, dir + "/texts-completed.png");
    if (pixel(completionAt) != highlight)
      return Fail("the completion is not shown selected", pixel(completionAt), highlight);
    // With the focus on it, the right-aligned editor shows its inner edit.
    right->SetFocus();
    Application->ProcessMessages();
    if (!right->InnerEditVisible() || !right->InnerWholeVisible())
      return Fail("the focused right-aligned editor does not show its inner edit");
  }
  delete form;
  if (show) win::InstallDisplay(nullptr);
  return 0;
}
