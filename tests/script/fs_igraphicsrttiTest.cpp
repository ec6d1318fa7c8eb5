#include "script/fs_igraphicsrtti.h"

#include <gtest/gtest.h>

#include "platform/forms/Graphics.h"
#include "platform/forms/Metafile.h"
#include "platform/rtl/ObjectHandles.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

namespace {

// Drawing mode: our renderer's plain GDI path (canvas pixels, no styles involved).
TEST(GraphicsBindingTest, ACanvasDrawsOntoABitmap) {
  Runner r;
  // The script sizes its own bitmap one side at a time.
  EXPECT_EQ(r.Run("PascalScript", R"(var b: TBitmap;
begin
  b := TBitmap.Create;
  b.Width := 20;
  b.Height := 10;
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
  EXPECT_EQ(r.Run("JScript", R"(var b = new TBitmap(); b.Height = 3; b.Width = 3;
b.Canvas.Pixels[1, 1] = clLime; Log(b.Canvas.Pixels[1, 1] == clLime); b.Free();)"),
            "True");
}

// A script records a picture, then shows it on a bitmap twice as large.
TEST(GraphicsBindingTest, AMetafileRecordsAndReplays) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var m: TMetafile; mc: TMetafileCanvas; b: TBitmap;
begin
  m := TMetafile.Create;
  mc := TMetafileCanvas.Create(m, 0);
  mc.Pixels[4, 4] := clBlue;
  mc.MoveTo(0, 0);
  mc.LineTo(8, 0);
  mc.Free;
  Log(m.Width * 100 + m.Height);
  b := TBitmap.Create;
  b.Width := 20;
  b.Height := 20;
  b.Canvas.StretchDraw(0, 0, 18, 10, m);
  Log(b.Canvas.Pixels[9, 9] = clBlue);  { one pixel became two by two }
  Log(b.Canvas.Pixels[8, 0] = clBlack);
  Log(b.Canvas.Pixels[12, 12] = clWhite);
  b.Free;
  m.Free;
end.)"),
            "905 True True True");
  // A reference device that is no device is refused.
  EXPECT_EQ(r.Run("PascalScript", "var m: TMetafile; begin m := TMetafile.Create; TMetafileCanvas.Create(m, 77) end."),
            "raised: Invalid reference device");
}

TEST(GraphicsBindingTest, ColourConstantsAreSigned32BitValues) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", "begin Log(clWindow); Log(clNone); Log(clMedGray); Log(mbYes + mbNo) end."),
            "-16777211 536870911 10789024 3");
}

}  // namespace
