// The shared drawing and conversion routines: the frame's pixels, rect
// arithmetic, colour shifting with clamping and system colours, and the
// integer readers' edge cases.
#include "suite/editors/EditorHelpers.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Input.h"
#include "tests/suite/foundation/CanvasFixture.h"

namespace {

class EditorHelpersDrawing : public CanvasTest {};

TEST_F(EditorHelpersDrawing, RectFrameTakesItsCoordinatesAsPixelsAndGivesTheInnerRect) {
  // Drawn with plain pens: no visual style is involved.
  TRect inner;
  DrawRectFrame(canvas.get(), {1, 1, 5, 4}, clRed, clBlue, inner);
  EXPECT_EQ(inner, (TRect{2, 2, 4, 3}));
  const std::vector<std::string> expected = {
      ".......",  //
      ".RRRRR.",  //
      ".R...B.",  //
      ".R...B.",  //
      ".RBBBB.",  //
      ".......",
  };
  EXPECT_EQ(Rows({0, 0, 7, 6}, {{clRed, 'R'}, {clBlue, 'B'}}), expected);
}

TEST_F(EditorHelpersDrawing, ColorLineLeavesOutItsEndAndKeepsThePenColour) {
  DrawColorLine(canvas.get(), clGreen, {2, 3}, {6, 3});
  EXPECT_EQ(Rows({0, 3, 8, 4}, {{clGreen, 'G'}}), std::vector<std::string>{"..GGGG.."});
  EXPECT_EQ(canvas->Pen()->GetColor(), clGreen);
}

TEST(EditorHelpers, RectArithmetic) {
  TRect r{10, 20, 30, 40};
  ExtendRect(r, -1, 2, 3, -4);
  EXPECT_EQ(r, (TRect{9, 22, 33, 36}));
  const struct {
    TRect rect;
    Integer width, height;
  } cases[] = {{{0, 0, 5, 7}, 5, 7}, {{5, 7, 5, 7}, 0, 0}, {{10, 10, 4, 3}, 0, 0}, {{-8, -6, -2, -1}, 6, 5}};
  for (const auto& c : cases) {
    EXPECT_EQ(RectWidthOrZero(c.rect), c.width) << c.rect.Left << "," << c.rect.Right;
    EXPECT_EQ(RectHeightOrZero(c.rect), c.height) << c.rect.Top << "," << c.rect.Bottom;
  }
}

TEST(EditorHelpers, ShiftColorChannelsClampsEachChannel) {
  const TColor window = static_cast<TColor>(ColorToRGB(clWindow));
  auto channel = [](TColor c, int shift) { return static_cast<Integer>((c >> shift) & 0xFF); };
  const struct {
    TColor color;
    Integer dr, dg, db;
    TColor expected;
  } cases[] = {
      {0x302010, 5, -6, 7, 0x371A15},
      {0x302010, -100, 0, 300, 0xFF2000},  // red below 0, blue above 255
      {0xF5E6CD, -60, -60, -60, 0xB9AA91},
      {clWindow, -60, -30, 0,
       (std::max(channel(window, 0) - 60, 0)) | (std::max(channel(window, 8) - 30, 0) << 8) |
           (channel(window, 16) << 16)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShiftColorChannels(c.color, c.dr, c.dg, c.db), c.expected) << std::hex << c.color;
}

TEST(EditorHelpers, IsIntegerText) {
  const struct {
    const char* text;
    bool expected;
  } cases[] = {{" 12 ", true},   {"", false},         {"   ", false},        {"1.5", false},
               {"-7", true},     {"+7", true},        {"$1F", true},         {"12a", false},
               {"1 2", false},   {"2147483648", false}, {"-2147483648", true}, {"$", false}};
  for (const auto& c : cases) EXPECT_EQ(IsIntegerText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(EditorHelpers, DigitsToInteger) {
  const struct {
    const char* text;
    bool stop;
    Integer expected;
  } cases[] = {{"a1b2", false, 12}, {"a1b2", true, 0},   {"", false, 0},         {"abc", false, 0},
               {"-12", true, -12},  {"12 34", true, 12}, {"12 34", false, 1234}, {"x-5", false, -5}};
  for (const auto& c : cases)
    EXPECT_EQ(DigitsToInteger(c.text, c.stop), c.expected) << '"' << c.text << '"' << c.stop;
  // A minus sign is collected wherever it stands, and then fails the
  // conversion unless it leads.
  for (const char* text : {"1-2", "-", "7-", "99999999999"})
    EXPECT_THROW(DigitsToInteger(text, true), EConvertError) << text;
}

TEST(EditorHelpers, NullOrEmptyVariant) {
  EXPECT_TRUE(IsNullOrEmptyVariant(Variant()));
  EXPECT_TRUE(IsNullOrEmptyVariant(Null()));
  EXPECT_FALSE(IsNullOrEmptyVariant(Variant(0)));
  EXPECT_FALSE(IsNullOrEmptyVariant(Variant(std::string())));
}

TEST(EditorHelpers, CurrentShiftStateReadsTheKeyboardState) {
  win::BYTE saved[256] = {}, keys[256] = {};
  win::GetKeyboardState(saved);
  keys[win::VK_SHIFT] = 0x80;
  keys[win::VK_LBUTTON] = 0x80;
  keys[win::VK_CONTROL] = 0x01;  // toggled only, not down
  win::SetKeyboardState(keys);
  const TShiftState shift = CurrentShiftState();
  win::SetKeyboardState(saved);
  EXPECT_EQ(shift, (TShiftState{ssShift, ssLeft}));
}

}  // namespace
