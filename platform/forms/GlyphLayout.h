// Where a button's glyph and caption go: laid out together as one block,
// centred (Margin < 0) or Margin from the edge the glyph sits at, Spacing
// between the two when both are there.
#pragma once

#include "platform/forms/ButtonCtrls.h"

struct TGlyphPlacement {
  TPoint Glyph;
  TPoint Text;
};

TGlyphPlacement PlaceGlyphAndText(TButtonLayout Layout, Integer Margin, Integer Spacing, TSize Button, TSize Glyph,
                                  TSize Text);
