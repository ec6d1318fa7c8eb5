// What the menu skin's handlers measure and draw: menu items (the icon
// column, plain or gradient, the selection, check marks, icons, texts and
// separators), tool buttons, and the flat frame of popup-menu windows.
#include <algorithm>

#include "controls/MenuSkin.h"
#include "controls/MenuSkinColors.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"

namespace {

// x * 3 / 4 to the nearest integer, halves to the even one.
Integer ThreeQuarters(Integer x) {
  Integer num = x * 3, q = num / 4, r = num % 4;
  if (r > 2 || (r == 2 && (q & 1))) ++q;
  return q;
}

Integer HalfRounded(Integer x) {
  Integer q = x / 2;
  if ((x & 1) && (q & 1)) ++q;
  return q;
}

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void Frame(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FrameRect(R);
}

void PenLines(TCanvas* C, TColor Color, std::initializer_list<TPoint> Points) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Color);
  C->Polyline(std::vector<TPoint>(Points));
}

bool PopupFramePending() {
  if (!Application) return true;
  win::MSG m;
  return win::PeekMessage(&m, Application->Handle(), WM_SKINITEMFRAME, WM_SKINWINDOWFRAME, win::PM_NOREMOVE);
}

win::LRESULT PopupFrameWindowProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);

}  // namespace

// Items ----------------------------------------------------------------------------------

bool TMenuSkin::IsMenuBarItem(const TMenuItem* Item) const {
  auto* bar = dynamic_cast<TMainMenu*>(Item->GetParentMenu());
  return bar && Item->Parent() == bar->Items();
}

bool TMenuSkin::ItemRightToLeft(const TMenuItem* Item) const {
  TMenu* menu = Item->GetParentMenu();
  return menu && menu->IsRightToLeft();
}

bool TMenuSkin::ItemIcon(TMenuItem* Item, TBitmap* Icon) const {
  TMenuItem* parent = Item->Parent();
  TMenu* menu = Item->GetParentMenu();
  TCustomImageList* images = parent && parent->SubMenuImages() ? parent->SubMenuImages()
                             : menu                           ? menu->Images()
                                                              : nullptr;
  if (images && Item->ImageIndex() != -1 && images->GetBitmap(Item->ImageIndex(), Icon)) return true;
  if (Item->HasBitmap() && Item->Bitmap()->Width() > 0) {
    Icon->Assign(Item->Bitmap());
    return true;
  }
  return false;
}

void TMenuSkin::MeasureMenuItem(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!Active_ || !item || !ACanvas) return;
  std::string text = item->IsLine() ? "" : item->Caption();
  std::string shortCut = ShortCutToText(item->GetShortCut());
  if (!Trim(shortCut).empty()) text = item->Caption() + shortCut + "WWW";
  ACanvas->Font()->Assign(Font_.get());
  Integer textWidth = ACanvas->TextWidth(text) + 5;
  if (text.find('&') != std::string::npos) textWidth -= ACanvas->TextWidth("&");
  bool bar = IsMenuBarItem(item);
  if (!bar && item->Count() > 0) textWidth += 6;
  TBitmap icon;
  bool hasIcon = ItemIcon(item, &icon);
  Integer iconWidth = hasIcon ? icon.Width() : 0, iconHeight = hasIcon ? icon.Height() : 0;
  if (!bar) iconWidth = std::max(iconWidth, IconWidth_);
  Width = std::max(Width, textWidth + iconWidth);
  if (item->IsLine()) {
    Height = 4;
    return;
  }
  Integer th = ACanvas->TextHeight(text.empty() ? "W" : text);
  Integer h = std::max(th + ThreeQuarters(th), iconHeight + 6);
  Height = std::max(Height, h);
}

void TMenuSkin::DrawMenuItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!Active_ || !item) return;
  try {
    PaintMenuItem(item, ACanvas, ARect, Selected);
  } catch (...) {
    // A menu that cannot be drawn stays as it was; the menu loop goes on.
  }
}

void TMenuSkin::PaintMenuItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, bool Selected) {
  bool bar = IsMenuBarItem(Item);
  bool rtl = ItemRightToLeft(Item);
  Integer W = ARect.Width(), H = ARect.Height();
  Integer bitmapWidth = bar ? W : W + 4;
  TRect local = bar ? TRect{0, 0, W, H - 1} : TRect{4, 0, W + 4, H};
  if (ColorsDirty_) UpdateColors(ACanvas);
  TBitmap bitmap;
  bitmap.SetSize(std::max<Integer>(bitmapWidth, 1), std::max<Integer>(H, 1));
  TCanvas* c = bitmap.Canvas();
  c->Font()->Assign(Font_.get());
  std::string text = " " + Item->Caption();

  TBitmap icon;
  bool hasIcon = ItemIcon(Item, &icon);
  Integer iconWidth = hasIcon ? icon.Width() : 0;
  TRect column = rtl ? TRect{local.Right - IconWidth_, 0, local.Right, local.Bottom}
                     : TRect{local.Left, 0, local.Left + IconWidth_, local.Bottom};
  TRect check;
  if (hasIcon) {
    TRect wide = column;
    if (iconWidth > IconWidth_) {
      if (rtl) wide.Left = wide.Right - iconWidth;
      else wide.Right = wide.Left + iconWidth;
    }
    check = {wide.Left + 1, wide.Top + 2, wide.Right - 3, wide.Bottom - 2};
  } else {
    Integer x = column.Left + (column.Width() - 10) / 2, y = column.Top + (column.Height() - 10) / 2;
    check = {x, y, x + 10, y + 10};
  }
  if (bar) {
    check.Top -= 1;
    check.Bottom -= 1;
  }
  TRect textRect = local;
  Integer base = bar ? 4 : IconWidth_;
  if (!bar || hasIcon) {
    if (rtl) textRect.Right = hasIcon && iconWidth > base ? local.Right - iconWidth - 8 : local.Right - base;
    else textRect.Left = hasIcon && iconWidth > base ? local.Left + iconWidth + 4 : local.Left + base;
    if (bar) {
      if (rtl) textRect.Right += 5;
      else textRect.Left -= 5;
    }
  }

  // Background.
  if (bar) {
    if (DrawMenuBar_) Colors_.MenuBarFill = MenuBarColor_;
    Fill(c, {0, 0, bitmapWidth, H}, Colors_.MenuBarFill);
  } else if (HighColor_ && Gradient_) {
    DrawGradient(c, {local.Left, local.Top, local.Right + 2, local.Bottom}, rtl);
  } else {
    Fill(c, {0, 0, bitmapWidth, H}, Colors_.MenuFill);
    Fill(c, column, Colors_.IconFill);
  }
  c->Font()->SetColor(Item->Enabled() ? Font_->GetColor() : DisabledColor_);

  // Selection.
  if (Selected && DrawSelect_) {
    if (bar) {
      DrawMenuBarSelection(c, rtl, false, MenuBarColor_, local);
    } else if (Item->Enabled()) {
      TRect s{local.Left, local.Top + 1, local.Right - (FlatMenu_ ? 1 : 0), local.Bottom - 1};
      Fill(c, s, Colors_.SelectFill);
      Frame(c, s, Colors_.SelectBorder);
    }
  } else if (IsNT_ && bar && Item->Enabled() && Form_->HandleAllocated()) {
    // The bar item under the mouse shows where a click would open.
    win::POINT cursor;
    win::GetCursorPos(&cursor);
    win::RECT wr;
    win::GetWindowRect(Form_->Handle(), &wr);
    Integer x = cursor.x - wr.left, y = cursor.y - wr.top;
    if (x >= ARect.Left && x < ARect.Right - 1 && y >= ARect.Top && y < ARect.Bottom - 2) {
      TRect s{local.Left, local.Top, local.Right - 7, local.Bottom};
      Fill(c, s, Colors_.SelectFill);
      Frame(c, s, Colors_.SelectBorder);
    }
  }

  if (Item->Checked()) DrawCheckMark(Item, Selected, check, c, hasIcon, Item->Enabled());
  if (hasIcon)
    DrawItemIcon(false, c, rtl, bar, Item->Checked(), Item->Enabled(), false, Selected, column, &icon);
  if (Item->IsLine()) {
    Integer y = textRect.Top + HalfRounded(textRect.Height());
    Integer from = rtl ? textRect.Left : textRect.Left + 7, to = rtl ? textRect.Right - 7 : textRect.Right;
    PenLines(c, Colors_.SeparatorPen, {{from, y}, {to, y}});
  } else {
    win::UINT format = win::DT_SINGLELINE;
    if (rtl) {
      textRect.Right -= 3;
      format |= win::DT_RIGHT | win::DT_RTLREADING;
    } else {
      textRect.Left += 3;
      format |= win::DT_LEFT;
    }
    textRect.Top += (textRect.Height() - c->TextHeight("W")) / 2;
    DrawItemText(false, text, format, Font_.get(), rtl, bar, Item->Default(), Item->Enabled(), Selected, textRect, c,
                 ShortCutToText(Item->GetShortCut()));
  }

  Integer destX = bar ? ARect.Left : ARect.Left - 4;
  win::BitBlt(ACanvas->Handle(), destX, ARect.Top, bitmapWidth, H, c->Handle(), 0, 0, win::SRCCOPY);

  if (FlatMenu_ && !bar && !ComponentState().Contains(csDesigning) && Application) {
    win::HWND wnd = win::WindowFromDC(ACanvas->Handle());
    if (wnd && !(Form_->HandleAllocated() && wnd == Form_->Handle())) {
      if (!PopupFramePending())
        win::PostMessage(Application->Handle(), WM_SKINWINDOWFRAME, rtl ? 1 : 0, reinterpret_cast<win::LPARAM>(wnd));
    } else if (!wnd && !PopupFramePending()) {
      win::PostMessage(Application->Handle(), WM_SKINITEMFRAME, 0, reinterpret_cast<win::LPARAM>(Item));
    }
  }
}

void TMenuSkin::DrawMenuBarSelection(TCanvas* C, bool RightToLeft, bool ToolButton, TColor BarColor, const TRect& R) {
  Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  Fill(C, R, Colors_.SelectFill);
  if (RightToLeft || !HighColor_ || ToolButton) {
    TColor dark = DarkenColor(BarColor, 70);
    C->Brush()->SetColor(dark);
    PenLines(C, Colors_.SelectBorder, {{L, B - 1}, {L, T}, {Rt - 3, T}, {Rt - 3, B}});
    Fill(C, {Rt - 2, T + 2, Rt, B}, dark);
    Fill(C, {Rt - 2, T, Rt, T + 2}, BarColor);
    return;
  }
  PenLines(C, Colors_.SelectBorder, {{L, B - 1}, {L, T}, {Rt - 8, T}, {Rt - 8, B}});
  TColor bar = Colors_.MenuBarFill;
  Fill(C, {Rt - 7, T, Rt, B}, DarkenColor(bar, 10));
  Fill(C, {Rt - 7, T + 3, Rt - 2, B}, DarkenColor(bar, 30));
  Fill(C, {Rt - 7, T + 5, Rt - 3, B}, DarkenColor(bar, 60));
  Fill(C, {Rt - 7, T + 6, Rt - 5, B}, DarkenColor(bar, 100));
  PenLines(C, bar, {{Rt - 5, T + 1}, {Rt - 1, T + 1}, {Rt - 1, T + 6}});
  PenLines(C, bar, {{Rt - 3, T + 2}, {Rt - 2, T + 2}, {Rt - 2, T + 3}, {Rt - 3, T + 3}});
  PenLines(C, DarkenColor(bar, 10), {{Rt - 6, T + 3}, {Rt - 3, T + 3}, {Rt - 3, T + 6}, {Rt - 4, T + 6}, {Rt - 4, T + 3}});
  PenLines(C, DarkenColor(bar, 30), {{Rt - 5, T + 5}, {Rt - 4, T + 5}, {Rt - 4, T + 9}});
  PenLines(C, DarkenColor(bar, 40), {{Rt - 6, T + 5}, {Rt - 6, T + 7}});
}

void TMenuSkin::DrawCheckMark(TMenuItem* Item, bool Selected, const TRect& R, TCanvas* C, bool HasIcon,
                              bool Enabled) {
  if (!Item->Checked()) return;
  TColor pen = Enabled ? Colors_.SelectBorder : Colors_.DisabledFont;
  TColor brush = Selected ? Colors_.CheckedSelectedFill : Colors_.CheckedFill;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(brush);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(pen);
  if (Item->RadioItem()) {
    if (HasIcon) {
      C->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 6, 6);
    } else {
      C->Ellipse(R);
      C->Brush()->SetColor(pen);
      C->Ellipse(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    }
    return;
  }
  if (HasIcon) {
    C->Rectangle(R);
    return;
  }
  C->Pen()->SetColor(Enabled ? Colors_.CheckedFrame : Colors_.DisabledFont);
  C->Rectangle(R);
  TColor tick = Enabled ? static_cast<TColor>(clBlack) : Colors_.DisabledFont;
  Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  PenLines(C, tick, {{L + 1, T + 5}, {L + 4, B - 2}});
  PenLines(C, tick, {{L + 2, T + 5}, {L + 4, B - 3}});
  PenLines(C, tick, {{L + 2, T + 4}, {L + 5, B - 3}});
  PenLines(C, tick, {{L + 4, B - 3}, {Rt + 2, T - 1}});
  PenLines(C, tick, {{L + 4, B - 2}, {Rt - 2, T + 3}});
}

void TMenuSkin::DrawItemIcon(bool ToolButton, TCanvas* C, bool RightToLeft, bool MenuBarItem, bool Checked,
                             bool Enabled, bool Down, bool Highlighted, const TRect& R, TBitmap* Icon) {
  if (!Icon || Icon->Empty()) return;
  Integer w = Icon->Width();
  Integer left, top;
  if (ToolButton) {
    top = R.Top + 1;
    left = R.Left;
  } else {
    top = R.Top + 3;
    if (w < IconWidth_) left = R.Left + (IconWidth_ - w) / 2 - 1;
    else left = RightToLeft ? R.Right - w - 2 : R.Left + 2;
    if (MenuBarItem) left = RightToLeft ? R.Right - w - 5 : R.Left + 1;
  }
  if (Highlighted && Enabled && !Down) {
    if (MenuBarItem) {
      top -= 2;
      left -= 1;
    } else if (!Checked) {
      top -= 1;
      left -= 1;
    }
  }
  if (!Highlighted && Enabled && !Checked && HighColor_) DimBitmap(Icon, DimLevel_);
  if (!Enabled) {
    GrayBitmap(Icon, GrayLevel_);
    DimBitmap(Icon, 40);
  }
  if (Highlighted && Enabled && !Checked) {
    TColor base = ToolButton && HighColor_ && !UseSystemColors_ ? LightenColor(SelectColor_, 68) : Colors_.SelectFill;
    TColor shadow = DarkenColor(base, 50);
    uint32_t background = Icon->ScanLine(Icon->Height() - 1)[0] & 0xFFFFFF;
    for (Integer y = 0; y < Icon->Height(); ++y) {
      const uint32_t* row = Icon->ScanLine(y);
      for (Integer x = 0; x < w; ++x)
        if ((row[x] & 0xFFFFFF) != background) C->SetPixels(left + 2 + x, top + 2 + y, shadow);
    }
  }
  Icon->SetTransparentMode(tmAuto);
  Icon->SetTransparent(true);
  C->Draw(left, top, Icon);
}

void TMenuSkin::DrawItemText(bool ToolButton, const std::string& Text, win::UINT Format, TFont* AFont,
                             bool RightToLeft, bool MenuBarItem, bool IsDefault, bool Enabled, bool Selected,
                             const TRect& R, TCanvas* C, const std::string& ShortCut) {
  C->Font()->Assign(AFont);
  TColor color = AFont->GetColor();
  if (Selected) color = Colors_.SelectFont;
  if (!Enabled) color = Colors_.DisabledFont;
  if (ToolButton && !Enabled) {
    TBitmap text;
    text.SetSize(std::max<Integer>(R.Width(), 1), std::max<Integer>(R.Height(), 1));
    TCanvas* tc = text.Canvas();
    Fill(tc, {0, 0, R.Width(), R.Height()}, C->Brush()->GetColor());
    tc->Font()->Assign(AFont);
    tc->Font()->SetColor(Colors_.DisabledFont);
    win::RECT tr{0, (R.Height() - tc->TextHeight("W")) / 2, R.Width(), R.Height()};
    tc->Brush()->SetStyle(bsClear);
    tc->RequiredState();
    win::DrawTextEx(tc->Handle(), Text.c_str(), static_cast<int>(Text.size()), &tr,
                    Format | win::DT_EXPANDTABS | win::DT_VCENTER, nullptr);
    win::BitBlt(C->Handle(), R.Left, R.Top, R.Width(), R.Height(), tc->Handle(), 0, 0, win::SRCCOPY);
    return;
  }
  if (MenuBarItem && Selected && UseSystemColors_) color = ContrastTextColor(Colors_.IconFill);
  C->Brush()->SetStyle(bsClear);
  win::UINT format = Format | win::DT_EXPANDTABS;
  auto drawAt = [&](const TRect& r, TColor textColor) {
    C->Font()->SetColor(textColor);
    C->RequiredState();
    win::RECT wr{r.Left, r.Top, r.Right, r.Bottom};
    win::DrawTextEx(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), &wr, format, nullptr);
  };
  if (IsDefault && Enabled) {
    // A bold look from four copies in darkened background colours.
    struct Offset {
      Integer dx, dy, wider, darken;
    };
    for (Offset o : {Offset{1, 0, 0, 30}, Offset{1, 2, 1, 30}, Offset{0, 1, 0, 40}, Offset{1, 1, 1, 60}}) {
      TRect r{R.Left + o.dx, R.Top + o.dy, R.Right + o.wider, R.Bottom + o.dy};
      drawAt(r, DarkenColor(C->Pixels(r.Left, r.Top), o.darken));
    }
  }
  drawAt(R, color);
  if (Trim(ShortCut).empty()) return;
  std::string key = ShortCut + " ";
  C->RequiredState();
  win::RECT kr{R.Left, R.Top, R.Right, R.Bottom};
  if (RightToLeft) {
    kr.left = R.Left + 10;
    win::DrawTextEx(C->Handle(), key.c_str(), static_cast<int>(key.size()), &kr,
                    win::DT_LEFT | win::DT_SINGLELINE | win::DT_EXPANDTABS, nullptr);
  } else {
    kr.right = R.Right - 10;
    win::DrawTextEx(C->Handle(), key.c_str(), static_cast<int>(key.size()), &kr,
                    win::DT_RIGHT | win::DT_SINGLELINE | win::DT_EXPANDTABS, nullptr);
  }
}

void TMenuSkin::DrawGradient(TCanvas* C, const TRect& R, bool RightToLeft) {
  Integer step = 0;
  for (Integer i = 0; i < R.Width(); ++i) {
    Integer x = RightToLeft ? R.Right - 1 - i : R.Left + i;
    Fill(C, {x, R.Top, x + 1, R.Bottom}, LightenColor(Colors_.IconFill, step));
    bool band = RightToLeft ? x > R.Right - IconWidth_ + 5 && x < R.Right : x > R.Left && x < R.Left + IconWidth_ + 5;
    step = std::min(step + (band ? 3 : 1), 96);
  }
}

// Tool buttons --------------------------------------------------------------------------

void TMenuSkin::DrawToolButton(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw) {
  TCanvas* c = Sender->Canvas();
  if (ColorsDirty_) UpdateColors(c);
  TColor hotFill = HighColor_ && !UseSystemColors_ ? LightenColor(SelectColor_, 68) : Colors_.SelectFill;
  TRect r = Button->BoundsRect();
  TColor barColor = Sender->Color();
  TColor background = HighColor_ ? LightenColor(barColor, 16) : barColor;
  bool transparent = Sender->Transparent();
  if (!transparent) Fill(c, r, background);

  bool hot = State.Contains(cdsHot), checked = State.Contains(cdsChecked), selected = State.Contains(cdsSelected);
  bool down = Button->Down(), dropDown = Button->Style() == tbsDropDown;
  bool enabled = !State.Contains(cdsDisabled);
  TRect face{r.Left, r.Top + 1, r.Right, r.Bottom};
  bool framed = false;
  if (hot) {
    Fill(c, face, checked || down || selected ? Colors_.CheckedSelectedFill : hotFill);
    framed = true;
  } else if (checked) {
    Fill(c, face, Colors_.CheckedFill);
    framed = true;
  } else if (State.Contains(cdsIndeterminate)) {
    Fill(c, face, hotFill);
  } else if (Button->MenuItem() && State.Empty() && !transparent) {
    Fill(c, face, barColor);
  }
  if (framed) {
    if (dropDown) {
      Frame(c, {r.Left, r.Top + 2, r.Right - 14, r.Bottom - 1}, Colors_.SelectBorder);
      Frame(c, {r.Right - 14, r.Top + 2, r.Right - 1, r.Bottom - 1}, Colors_.SelectBorder);
    } else {
      Frame(c, {r.Left, r.Top + 2, r.Right - 1, r.Bottom - 1}, Colors_.SelectBorder);
    }
  }
  bool rtl = Button->BiDiMode() != bdLeftToRight;
  if ((Button->MenuItem() || Button->DropdownMenu()) && selected)
    DrawMenuBarSelection(c, rtl, true, barColor, r);
  DefaultDraw = false;

  if (dropDown) {
    Integer ax = r.Right - 10, ay = r.Top + (r.Height() - 3) / 2 + 1;
    for (Integer i = 0; i < 3; ++i) PenLines(c, clBlack, {{ax + i, ay + i}, {ax + 5 - i, ay + i}});
  }

  Integer reserve = dropDown ? 12 : 0;
  Integer imageWidth = 0;
  TCustomImageList* images = Sender->Images();
  Integer index = Button->ImageIndex();
  if (hot && Sender->HotImages() && index >= 0 && index < Sender->HotImages()->Count()) images = Sender->HotImages();
  else if (!enabled && Sender->DisabledImages() && index >= 0 && index < Sender->DisabledImages()->Count())
    images = Sender->DisabledImages();
  TBitmap image;
  if (images && index >= 0 && index < images->Count() && images->GetBitmap(index, &image)) {
    imageWidth = image.Width();
    Integer left;
    if (!Sender->List()) {
      Integer room = r.Width() - reserve - image.Width();
      left = r.Left + HalfRounded(room);
    } else {
      left = rtl ? r.Right - reserve - image.Width() - 3 : r.Left + 3;
    }
    Integer top = r.Top + 2;
    DrawItemIcon(true, c, rtl, false, checked, enabled, down, hot, {left, top, left + image.Width(), top + image.Height()},
                 &image);
  }

  if (Sender->ShowCaptions() && !Button->Caption().empty()) {
    c->Font()->Assign(Sender->Font());
    Integer th = c->TextHeight("W");
    TRect t = r;
    win::UINT format = win::DT_SINGLELINE;
    if (!Sender->List()) {
      t.Top = r.Bottom - th - 6;
      format |= win::DT_CENTER;
    } else if (rtl) {
      t.Right = r.Right - (imageWidth + 7);
      format |= win::DT_RIGHT | win::DT_VCENTER;
    } else {
      t.Left = r.Left + imageWidth + 6;
      format |= win::DT_LEFT | win::DT_VCENTER;
    }
    if (down && !enabled) t = {t.Left + 1, t.Top + 1, t.Right - 1, t.Bottom - 1};
    c->Brush()->SetColor(background);
    DrawItemText(true, Button->Caption(), format, Sender->Font(), rtl, false, false, enabled, false, t, c, "");
  }

  Integer i = Button->Index();
  if (i > 0) {
    TToolButton* before = Sender->Buttons(i - 1);
    if (before->Style() == tbsSeparator || before->Style() == tbsDivider) {
      TRect s = before->BoundsRect();
      if (!transparent) Fill(c, s, background);
      if (before->Tag > 0) {
        Integer x = s.Left + s.Width() / 2;
        PenLines(c, DarkenColor(barColor, 30), {{x, s.Top + 2}, {x, s.Bottom - 1}});
      }
    }
  }
}

// Popup frames -------------------------------------------------------------------------

namespace {

win::LRESULT PopupFrameWindowProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
  auto previous = reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
  if (msg == win::WM_ERASEBKGND) return 1;
  bool closing = (msg == win::WM_SHOWWINDOW && wParam == 0) || msg == win::WM_CLOSE || msg == win::WM_DESTROY;
  if (!closing) return previous ? win::CallWindowProc(previous, hwnd, msg, wParam, lParam) : 0;
  win::SetWindowRgn(hwnd, nullptr, win::FALSE);
  win::SetWindowLongPtr(hwnd, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(previous));
  win::SetWindowLongPtr(hwnd, win::GWLP_USERDATA, 0);
  win::RECT wr;
  win::GetWindowRect(hwnd, &wr);
  win::LRESULT result = previous ? win::CallWindowProc(previous, hwnd, msg, wParam, lParam) : 0;
  // A parent sub-menu beside this one draws its frame again.
  win::HWND next = win::WindowFromPoint({wr.right + 2, wr.top});
  if (!next) next = win::WindowFromPoint({wr.right + 2, wr.bottom - 1});
  if (next && next != hwnd &&
      win::GetWindowLongPtr(next, win::GWLP_WNDPROC) == reinterpret_cast<win::LONG_PTR>(&PopupFrameWindowProc))
    win::InvalidateRect(next, nullptr, win::TRUE);
  return result;
}

}  // namespace

bool IsPopupFrameWindow(win::HWND Wnd) {
  return win::IsWindow(Wnd) &&
         win::GetWindowLongPtr(Wnd, win::GWLP_WNDPROC) == reinterpret_cast<win::LONG_PTR>(&PopupFrameWindowProc);
}

void TMenuSkin::DrawPopupFrame(win::HWND Wnd, bool RightToLeft) {
  static bool running = false;
  if (running || !win::IsWindow(Wnd)) return;
  running = true;
  struct Reset {
    ~Reset() { running = false; }
  } reset;
  win::RECT wr;
  win::GetWindowRect(Wnd, &wr);
  Integer w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (!IsPopupFrameWindow(Wnd)) {
    win::LONG_PTR previous =
        win::SetWindowLongPtr(Wnd, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&PopupFrameWindowProc));
    win::SetWindowLongPtr(Wnd, win::GWLP_USERDATA, previous);
  }
  if (!IsWXP_) {
    // Room for a shadow of our own: the window's shape leaves the corners.
    win::HRGN current = win::CreateRectRgn(0, 0, 0, 0);
    int kind = win::GetWindowRgn(Wnd, current);
    win::RECT box{};
    if (kind != win::ERROR) win::GetRgnBox(current, &box);
    win::DeleteObject(current);
    if (kind == win::ERROR || kind == win::NULLREGION || std::abs(box.right - box.left - w) > 5 ||
        std::abs(box.bottom - box.top - h) > 5) {
      win::HRGN shape = win::CreateRectRgn(0, 0, w - 2, h - 2);
      win::HRGN lower = win::CreateRectRgn(2, 2, w, h);
      win::CombineRgn(shape, shape, lower, win::RGN_OR);
      win::DeleteObject(lower);
      win::SetWindowRgn(Wnd, shape, win::TRUE);  // the window owns the region now
    }
    w -= 2;
    h -= 2;
  }
  win::HDC dc = win::GetWindowDC(Wnd);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    TCanvas* c = &canvas;
    if (ColorsDirty_) UpdateColors(c);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(Colors_.FrameColor);
    c->Rectangle(0, 0, w, h);
    if (RightToLeft) PenLines(c, Colors_.IconFill, {{w - 3, 2}, {w - 2, h - 1}});
    else Fill(c, {1, 2, 3, h - 1}, Colors_.IconFill);
    win::StretchBlt(dc, 1, 1, w - 2, 2, dc, 1, 3, w - 2, 1, win::SRCCOPY);
    if (IsWXP_) {
      win::StretchBlt(dc, 1, h - 3, w - 2, 2, dc, 1, 3, w - 2, 1, win::SRCCOPY);
      Fill(c, {w - 3, 1, w - 1, h - 1}, Colors_.MenuFill);
    } else {
      Fill(c, {2, h, w + 2, h + 2}, Colors_.ShadowColor);
      Fill(c, {w, 2, w + 2, h + 2}, Colors_.ShadowColor);
    }
    canvas.SetHandle(nullptr);
  }
  win::ReleaseDC(Wnd, dc);
}
