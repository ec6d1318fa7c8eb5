// Image lists of solid 16x16 squares, one image per colour, for tests that
// find a node's or a button's image by its colour.
#pragma once

#include <initializer_list>
#include <memory>

#include "platform/forms/Graphics.h"
#include "platform/forms/ImgList.h"

inline void AddSolidImages(TCustomImageList* List, std::initializer_list<TColor> Colors) {
  for (TColor c : Colors) {
    TBitmap b;
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect({0, 0, 16, 16});
    List->Add(&b, nullptr);
  }
}

inline std::unique_ptr<TCustomImageList> SolidImages(std::initializer_list<TColor> Colors) {
  auto list = std::make_unique<TCustomImageList>(16, 16);
  AddSolidImages(list.get(), Colors);
  return list;
}
