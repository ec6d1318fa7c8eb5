#include "script/fs_igraphicsrtti.h"

#include <gtest/gtest.h>

#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

namespace {

// Drawing mode: our renderer's plain GDI path (canvas pixels, no styles involved).
TEST(GraphicsBindingTest, ACanvasDrawsOntoABitmap) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var b: TBitmap;
begin
  b := TBitmap.Create;
  b.Width := 20; b.Height := 10;
  Log(b.Width * 100 + b.Height);
  b.Canvas.Pixels[3, 4] := clRed;
  Log(b.Canvas.Pixels[3, 4] = clRed);
  b.Canvas.Pixels[15, 5] := clRed;
  b.Canvas.Rectangle(10, 0, 20, 10);  { black pen, white brush }
  Log(b.Canvas.Pixels[15, 5] = clWhite);
  Log(b.Canvas.Pixels[10, 5] = clBlack);
  Log(b.Canvas.TextWidth('WWW') > b.Canvas.TextWidth('i'));
  b.Free;
end.)"),
            "2010 True True True True");
  EXPECT_EQ(r.Run("JScript", "var b = new TBitmap; b.Width = 4; b.Height = 4; "
                             "b.Canvas.Pixels[1, 1] = clLime; Log(b.Canvas.Pixels[1, 1] == clLime); b.Free();"),
            "True");
}

TEST(GraphicsBindingTest, ColourConstantsAreSigned32BitValues) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", "begin Log(clWindow); Log(clNone); Log(clMedGray); Log(mbYes + mbNo) end."),
            "-16777211 536870911 10788000 3");
}

}  // namespace
