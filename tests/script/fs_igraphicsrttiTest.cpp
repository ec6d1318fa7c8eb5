#include "script/fs_igraphicsrtti.h"

#include <gtest/gtest.h>

#include "platform/forms/Graphics.h"
#include "platform/rtl/ObjectHandles.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

namespace {

// Drawing mode: our renderer's plain GDI path (canvas pixels, no styles involved).
TEST(GraphicsBindingTest, ACanvasDrawsOntoABitmap) {
  Runner r;
  // The host hands the script a bitmap with a size: the forms library's
  // bitmap drops a width set while its height is 0 (reported to its owner).
  TBitmap host;
  host.SetSize(10, 10);
  r.Script->DeclaredBy = fsDeclaredByModules;
  r.Script->DeclareObject("Host", &host);
  r.Script->DeclaredBy = fsDeclaredByScript;
  EXPECT_EQ(r.Run("PascalScript", R"(var b: TBitmap;
begin
  b := Host;
  b.Width := 20;
  Log(b.Width * 100 + b.Height);
  b.Canvas.Pixels[3, 4] := clRed;
  Log(b.Canvas.Pixels[3, 4] = clRed);
  b.Canvas.Pixels[15, 5] := clRed;
  b.Canvas.Rectangle(10, 0, 20, 10);  { black pen, white brush }
  Log(b.Canvas.Pixels[15, 5] = clWhite);
  Log(b.Canvas.Pixels[10, 5] = clBlack);
  Log(b.Canvas.TextWidth('WWW') > b.Canvas.TextWidth('i'));
end.)"),
            "2010 True True True True");
  EXPECT_EQ(host.Width(), 20);
  EXPECT_EQ(host.Canvas()->Pixels(3, 4), clRed);
  EXPECT_EQ(r.Run("JScript", "var b = Host; b.Canvas.Pixels[1, 1] = clLime; Log(b.Canvas.Pixels[1, 1] == clLime);"),
            "True");
}

TEST(GraphicsBindingTest, ColourConstantsAreSigned32BitValues) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", "begin Log(clWindow); Log(clNone); Log(clMedGray); Log(mbYes + mbNo) end."),
            "-16777211 536870911 10789024 3");
}

}  // namespace
