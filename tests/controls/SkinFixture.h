// Forms with menus, a tool bar and standard controls for the menu skin's
// tests, on the headless screen, and pixel helpers. Every drawing here goes
// through GDI calls of the skin's own; the tests run with the platform's
// default look unless they say otherwise.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/ControlSubClass.h"
#include "controls/MenuSkin.h"
#include "controls/MenuSkinColors.h"
#include "controls/MenuSkinManager.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/CustomForms.h"
#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Display.h"
#include "platform/win/Gdi.h"
#include "platform/win/Windows.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"

namespace skintest {

inline TColor Rgb(int r, int g, int b) { return static_cast<TColor>(win::RGB(r, g, b)); }
inline TColor Resolved(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

// The derived colours as the pixels show them (system colours resolved).
inline TMenuSkinColors ResolvedColors(const TMenuSkinColors& c) {
  TMenuSkinColors r = c;
  for (TColor* f : {&r.MenuFill, &r.IconFill, &r.SelectFill, &r.SelectBorder, &r.SelectFont, &r.CheckedFill,
                    &r.CheckedSelectedFill, &r.CheckedFrame, &r.MenuBarFill, &r.DisabledFont, &r.SeparatorPen,
                    &r.FrameColor, &r.ShadowColor})
    *f = Resolved(*f);
  return r;
}

// A bitmap to paint items into, read back pixel by pixel.
struct Paper {
  TBitmap bitmap;
  Paper(int w, int h, TColor fill = clFuchsia) {
    bitmap.SetSize(w, h);
    bitmap.Canvas()->Brush()->SetColor(fill);
    bitmap.Canvas()->FillRect({0, 0, w, h});
  }
  TCanvas* Canvas() { return bitmap.Canvas(); }
  TColor At(int x, int y) {
    uint32_t p = bitmap.ScanLine(y)[x] & 0xFFFFFF;
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
  }
};

// A solid square picture of one colour with a white bottom-left corner
// (the transparent colour of an icon).
inline std::unique_ptr<TBitmap> SolidIcon(int size, TColor color) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(size, size);
  b->Canvas()->Brush()->SetColor(color);
  b->Canvas()->FillRect({0, 0, size, size});
  b->Canvas()->SetPixels(0, size - 1, clWhite);
  return b;
}

// The pixel at a screen point, read from the surface of the top-level
// window that Wnd belongs to.
inline TColor ScreenPixel(win::HWND Wnd, TPoint Screen) {
  win::HWND root = win::GetAncestor(Wnd, win::GA_ROOT);
  win::SurfacePixels s;
  if (!win::GetWindowSurface(root, &s)) {
    ADD_FAILURE() << "no surface";
    return clNone;
  }
  win::RECT r;
  win::GetWindowRect(root, &r);
  int x = Screen.X - r.left, y = Screen.Y - r.top;
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) {
    ADD_FAILURE() << "outside the window";
    return clNone;
  }
  uint32_t p = reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(s.pixels) + y * s.strideBytes)[x];
  return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}
// A pixel of a control's client area.
inline TColor ClientPixel(TControl* C, int X, int Y) {
  TWinControl* w = dynamic_cast<TWinControl*>(C) ? static_cast<TWinControl*>(C) : C->Parent();
  return ScreenPixel(w->Handle(), C->ClientToScreen({X, Y}));
}
// A pixel of a window, frame included, from its top left corner.
inline TColor WindowPixel(win::HWND Wnd, int X, int Y) {
  win::RECT r;
  win::GetWindowRect(Wnd, &r);
  return ScreenPixel(Wnd, {r.left + X, r.top + Y});
}

// The main window of the radio program in small: a main menu, a popup menu,
// a tool bar, a combo box, and an edit on a panel.
class SkinTest : public formstest::FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(50, 50, 400, 300);
    menu = new TMainMenu(form.get());
    file = AddItem(menu->Items(), "&File");
    open = AddItem(file, "&Open");
    AddItem(file, "-");
    popup = new TPopupMenu(form.get());
    AddItem(popup->Items(), "Copy");
    bar = new TToolBar(form.get());
    bar->SetParent(form.get());
    bar->SetAlign(alTop);
    button = new TToolButton(form.get());
    button->SetParent(bar);
    combo = new TComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 60, 120, 21);
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 100, 200, 100);
    edit = new TEdit(form.get());
    edit->SetParent(panel);
    edit->SetBounds(10, 10, 120, 21);
    form->SetMenu(menu);
  }
  void TearDown() override {
    form.reset();
    FormsTest::TearDown();
  }
  TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption) {
    auto* item = new TMenuItem(form.get());
    item->SetCaption(Caption);
    Parent->Add(item);
    return item;
  }
  // The radio program's choice: menus and the tool bar only.
  TMenuSkin* RadioSkin() {
    auto* skin = new TMenuSkin(form.get());
    skin->SetXPContainers({xccForm, xccToolbar, xccCoolbar});
    skin->SetXPControls({xcMainMenu, xcPopupMenu, xcToolbar});
    return skin;
  }
  void ShowForm() {
    form->Show();
    Pump();
  }

  std::unique_ptr<TForm> form;
  TMainMenu* menu = nullptr;
  TMenuItem* file = nullptr;
  TMenuItem* open = nullptr;
  TPopupMenu* popup = nullptr;
  TToolBar* bar = nullptr;
  TToolButton* button = nullptr;
  TComboBox* combo = nullptr;
  TPanel* panel = nullptr;
  TEdit* edit = nullptr;
};

}  // namespace skintest
