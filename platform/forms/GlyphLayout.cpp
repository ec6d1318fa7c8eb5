#include "platform/forms/GlyphLayout.h"

TGlyphPlacement PlaceGlyphAndText(TButtonLayout Layout, Integer Margin, Integer Spacing, TSize Button, TSize Glyph,
                                  TSize Text) {
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  Integer space = (Glyph.cx && Text.cx) ? Spacing : 0;
  Integer total = horizontal ? Glyph.cx + space + Text.cx : Glyph.cy + space + Text.cy;
  Integer extent = horizontal ? Button.cx : Button.cy;
  Integer start = Margin < 0 ? (extent - total) / 2 : Margin;
  if (Margin >= 0 && (Layout == blGlyphRight || Layout == blGlyphBottom)) start = extent - Margin - total;
  TGlyphPlacement at;
  if (horizontal) {
    bool glyphFirst = Layout == blGlyphLeft;
    at.Glyph = {glyphFirst ? start : start + Text.cx + space, (Button.cy - Glyph.cy) / 2};
    at.Text = {glyphFirst ? start + Glyph.cx + space : start, (Button.cy - Text.cy) / 2};
  } else {
    bool glyphFirst = Layout == blGlyphTop;
    at.Glyph = {(Button.cx - Glyph.cx) / 2, glyphFirst ? start : start + Text.cy + space};
    at.Text = {(Button.cx - Text.cx) / 2, glyphFirst ? start + Glyph.cy + space : start};
  }
  return at;
}
