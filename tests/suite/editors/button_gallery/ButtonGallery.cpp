// A dialog's row of suite push buttons as the program's windows hold them
// (Ok as the default button and Cancel in the native style, a glyph button,
// a drop-down button with its arrow part, a button with a face colour of its
// own, a disabled one) beside a tree view container with node images, as the
// main window holds it, and below them the port dialog's group box of radio
// buttons and the channel window's check boxes (checked, unchecked, grayed,
// and one in the ultra-flat look): drawn headless to <directory>/buttons.png,
// checking that the faces, the glyph, the arrow part, the states, the tree's
// nodes, images and lines, the checks, the radio marks and the group box's
// caption and frame show, and that clicks select a node, check a box and
// move the radio group's check; with --show it stays on the desktop backend
// for the virtual-X run, telling the script (ready file) where known pixels
// are and where to click, and ends when asked (quit file).
#include <cstdio>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxButtons.h"
#include "suite/editors/cxCheckBox.h"
#include "suite/editors/cxGroupBox.h"
#include "suite/editors/cxRadioGroup.h"
#include "suite/editors/cxTreeView.h"
#include "tests/support/GalleryProgram.h"
#include "tests/support/SolidImages.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr TColor kFace = 0x00C08040;  // the coloured button's own face
constexpr TColor kGlyphColour = clLime;
constexpr TColor kRootImage = clRed;  // the tree's node images
constexpr TColor kChildImage = clBlue;

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

TcxCheckBox* AddCheckBox(TForm* form, const char* caption, const TRect& r) {
  auto* b = new TcxCheckBox(form);
  b->SetParent(form);
  b->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  b->SetCaption(caption);
  b->Style()->LookAndFeel()->SetNativeStyle(true);
  return b;
}

// The pixel of a mark that tells a checked control from an unchecked one of
// the same kind: where their pictures differ, nearest the mark's centre.
// Offsets within the mark; (-1, -1) when they look the same.
template <typename Pixel>
TPoint MarkDifference(const TRect& AMark, TControl* AChecked, TControl* AUnchecked, Pixel pixel) {
  TPoint best{-1, -1};
  Integer bestDistance = 1 << 30;
  const TPoint centre{AMark.Width() / 2, AMark.Height() / 2};
  for (Integer y = 0; y < AMark.Height(); ++y)
    for (Integer x = 0; x < AMark.Width(); ++x) {
      const TPoint at{AMark.Left + x, AMark.Top + y};
      if (pixel(AChecked->ClientToScreen(at)) == pixel(AUnchecked->ClientToScreen(at))) continue;
      const Integer d = (x - centre.X) * (x - centre.X) + (y - centre.Y) * (y - centre.Y);
      if (d < bestDistance) {
        bestDistance = d;
        best = {x, y};
      }
    }
  return best;
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
  form->SetBounds(40, 40, 400, 260);

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

  auto* images = new TCustomImageList(form);
  AddSolidImages(images, {kRootImage, kChildImage});
  auto* tree = new TcxTreeView(form);
  tree->SetParent(form);
  tree->SetBounds(250, 10, 135, 115);
  tree->Style()->LookAndFeel()->SetNativeStyle(true);
  tree->SetImages(images);
  TTreeNode* radio = tree->Items()->Add(nullptr, "Radio");
  TTreeNode* memory = tree->Items()->AddChild(radio, "Memory");
  TTreeNode* settings = tree->Items()->AddChild(radio, "Settings");
  radio->SetImageIndex(0);
  radio->SetSelectedIndex(0);
  for (TTreeNode* n : {memory, settings}) {
    n->SetImageIndex(1);
    n->SetSelectedIndex(1);
  }
  tree->ExpandAllNodes();

  // The port dialog's group box of radio buttons, COM1 checked.
  auto* ports = new TcxGroupBox(form);
  ports->SetParent(form);
  ports->SetBounds(10, 135, 230, 80);
  ports->SetCaption("Port");
  ports->Style()->LookAndFeel()->SetNativeStyle(true);
  std::vector<TcxRadioButton*> radios;
  for (int i = 0; i < 4; ++i) {
    auto* b = new TcxRadioButton(form);
    b->SetParent(ports);
    b->SetBounds(10 + 100 * (i % 2), 20 + 25 * (i / 2), 65, 17);
    b->SetCaption("COM" + std::to_string(i + 1));
    b->LookAndFeel()->SetNativeStyle(true);
    radios.push_back(b);
  }
  radios[0]->SetChecked(true);

  // The channel window's check boxes.
  TcxCheckBox* scan = AddCheckBox(form, "Scan", {250, 135, 385, 152});
  scan->SetChecked(true);
  TcxCheckBox* busy = AddCheckBox(form, "Busy lock", {250, 155, 385, 172});
  TcxCheckBox* compander = AddCheckBox(form, "Compander", {250, 175, 385, 192});
  compander->ActiveCheckProperties()->SetAllowGrayed(true);
  compander->SetState(cbsGrayed);
  TcxCheckBox* flat = AddCheckBox(form, "Wide", {250, 195, 385, 212});
  flat->Style()->LookAndFeel()->SetNativeStyle(false);
  flat->Style()->LookAndFeel()->SetKind(lfUltraFlat);
  flat->SetChecked(true);

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

  // The tree: each node's image and label, and the lines joining the
  // children to their root, inside the tree's area. Nothing is selected yet.
  TcxCustomInnerTreeView* inner = tree->InnerTreeView();
  const TColor treeColour = static_cast<TColor>(ColorToRGB(inner->Color()));
  auto onTree = [&](const TPoint& client) { return pixel(inner->ClientToScreen(client)); };
  auto imageAt = [&](TTreeNode* n) {
    const TRect label = n->DisplayRect(true);
    return TPoint{label.Left - 10, label.Top + label.Height() / 2};
  };
  if (onTree(imageAt(radio)) != kRootImage) return Fail("the root's image is not drawn", onTree(imageAt(radio)), kRootImage);
  for (TTreeNode* n : {memory, settings})
    if (onTree(imageAt(n)) != kChildImage) return Fail("a child's image is not drawn", onTree(imageAt(n)), kChildImage);
  for (TTreeNode* n : {radio, memory, settings})
    if (count(inner, n->DisplayRect(true), [](TColor c) { return (c & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60; }) < 10)
      return Fail("a node's label has no text");
  // The children's lines run left of their images, between the root's row
  // and the last child's.
  const TRect first = memory->DisplayRect(true);
  const TRect last = settings->DisplayRect(true);
  const TRect lines{0, first.Top, first.Left - 18, last.Bottom};
  if (count(inner, lines, [&](TColor c) { return c != treeColour; }) < 5) return Fail("the tree draws no lines");
  if (tree->SelectedNode() != nullptr) return Fail("a node is selected before any click");
  // Where the selection shows once Memory is clicked: its label's highlight.
  const TPoint clickAt = inner->ClientToScreen({first.Left + 3, first.Top + first.Height() / 2});
  const TPoint selectedAt = inner->ClientToScreen({first.Right - 2, first.Top + 1});
  const TColor highlight = static_cast<TColor>(ColorToRGB(clHighlight));
  const TPoint rootImageAt = inner->ClientToScreen(imageAt(radio));

  // The check boxes: checked, unchecked and grayed checks differ; the
  // ultra-flat one draws its mark in the button text colour.
  const TRect check = scan->CheckViewInfo()->CheckRect;
  if (check.Width() <= 0 || busy->CheckViewInfo()->CheckRect != check) return Fail("the checks are not laid out alike");
  const TPoint markOffset = MarkDifference(check, scan, busy, pixel);
  if (markOffset.X < 0) return Fail("a checked box looks unchecked");
  if (MarkDifference(check, compander, busy, pixel).X < 0 || MarkDifference(check, compander, scan, pixel).X < 0)
    return Fail("the grayed box looks checked or unchecked");
  const TPoint markInCheck{check.Left + markOffset.X, check.Top + markOffset.Y};
  const TColor markColour = pixel(scan->ClientToScreen(markInCheck));
  const TRect flatCheck = flat->CheckViewInfo()->CheckRect;
  const TColor buttonText = static_cast<TColor>(ColorToRGB(clBtnText));
  if (count(flat, flatCheck, [&](TColor c) { return c == buttonText; }) < 10) return Fail("the ultra-flat mark is not drawn");
  for (TcxCheckBox* b : {scan, busy, compander})
    if (count(b, {check.Right, 0, b->Width(), b->Height()}, [](TColor c) { return (c & 0xFFFFFF) < 0x404040; }) < 10)
      return Fail("a check box's caption is not drawn");
  // The radio buttons: COM1's mark differs from COM2's.
  const TRect mark = radios[0]->ButtonRect();
  const TPoint dotOffset = MarkDifference(mark, radios[0], radios[1], pixel);
  if (mark.Width() <= 0 || dotOffset.X < 0) return Fail("a checked radio button looks unchecked");
  const TPoint dotInMark{mark.Left + dotOffset.X, mark.Top + dotOffset.Y};
  const TColor dotColour = pixel(radios[0]->ClientToScreen(dotInMark));
  // The group box: its caption's text and a frame line right of it.
  const TRect caption = static_cast<TcxGroupBoxViewInfo*>(ports->ViewInfo())->CaptionRect;
  if (caption.Left != 8 || count(ports, caption, [](TColor c) { return (c & 0xFFFFFF) < 0x404040; }) < 10)
    return Fail("the group box's caption is not drawn");
  const TColor portsColour = static_cast<TColor>(ColorToRGB(ports->Style()->Color()));
  if (count(ports, {caption.Right + 10, caption.Height() / 2 - 2, ports->Width() - 10, caption.Height() / 2 + 3},
            [&](TColor c) { return c != portsColour && c != formColour; }) < 10)
    return Fail("the group box's frame is not drawn");
  const TPoint checkClickAt = busy->ClientToScreen({check.Left + check.Width() / 2, check.Top + check.Height() / 2});
  const TPoint checkMarkAt = busy->ClientToScreen(markInCheck);
  const TPoint radioClickAt = radios[2]->ClientToScreen({30, 8});
  const TPoint radioDotAt = radios[2]->ClientToScreen(dotInMark);

  if (show) {
    auto point = [](const TPoint& p) { return std::to_string(p.X) + " " + std::to_string(p.Y); };
    RunShownGallery(form, dir,
                    "face " + point(faceAt) + " " + RgbText(kFace) + "\n" + "glyph " + point(glyphAt) + " " +
                        RgbText(kGlyphColour) + "\n" + "treeimage " + point(rootImageAt) + " " +
                        RgbText(kRootImage) + "\n" + "treeclick " + point(clickAt) + "\n" + "treeselected " +
                        point(selectedAt) + " " + RgbText(highlight) + "\n" + "checkclick " + point(checkClickAt) +
                        "\n" + "checkmark " + point(checkMarkAt) + " " + RgbText(markColour) + "\n" +
                        "radioclick " + point(radioClickAt) + "\n" + "radiodot " + point(radioDotAt) + " " +
                        RgbText(dotColour) + "\n");
    if (tree->SelectedNode() != memory) return Fail("the click on the screen did not select the node");
    if (!busy->Checked()) return Fail("the click on the screen did not check the box");
    if (!radios[2]->Checked() || radios[0]->Checked()) return Fail("the click on the screen did not move the radio check");
  } else {
    win::InjectMouseButton(win::VK_LBUTTON, true, {clickAt.X, clickAt.Y});
    win::InjectMouseButton(win::VK_LBUTTON, false, {clickAt.X, clickAt.Y});
    Application->ProcessMessages();
    if (tree->SelectedNode() != memory) return Fail("a click on a node does not select it");
    SnapshotWindow(form->Handle(), picture);
    SavePng(picture, dir + "/buttons-selected.png");
    if (pixel(selectedAt) != highlight) return Fail("the selected node is not highlighted", pixel(selectedAt), highlight);

    // A click checks the unchecked box and moves the radio group's check;
    // with the mouse gone again each shows the checked look.
    for (TPoint at : {checkClickAt, radioClickAt}) {
      win::InjectMouseButton(win::VK_LBUTTON, true, {at.X, at.Y});
      win::InjectMouseButton(win::VK_LBUTTON, false, {at.X, at.Y});
      Application->ProcessMessages();
    }
    win::InjectMouseMove({0, 0});
    Application->ProcessMessages();
    busy->Perform(CM_MOUSELEAVE, 0, 0);
    radios[2]->Perform(CM_MOUSELEAVE, 0, 0);
    Application->ProcessMessages();
    if (!busy->Checked()) return Fail("a click does not check the box");
    if (!radios[2]->Checked() || radios[0]->Checked()) return Fail("a click does not move the radio check");
    SnapshotWindow(form->Handle(), picture);
    SavePng(picture, dir + "/buttons-checked.png");
    if (pixel(checkMarkAt) != markColour) return Fail("the clicked box shows no mark", pixel(checkMarkAt), markColour);
    if (pixel(radioDotAt) != dotColour) return Fail("the clicked radio button shows no dot", pixel(radioDotAt), dotColour);
  }
  delete form;
  if (show) win::InstallDisplay(nullptr);
  return 0;
}
