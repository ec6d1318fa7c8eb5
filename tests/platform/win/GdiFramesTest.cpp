#include "platform/win/GdiFrames.h"

#include <gtest/gtest.h>

#include "tests/platform/win/GdiFixture.h"
#include "platform/win/OwnBitmaps.h"
#include "platform/win/SysColors.h"

using namespace win;

namespace {
// The classic scheme's edge colours; 3-D light equals the button face there.
const std::map<COLORREF, char> kEdges{{RGB(128, 128, 128), 'S'}, {RGB(255, 255, 255), '.'},
                                      {RGB(64, 64, 64), 'K'},    {RGB(212, 208, 200), 'F'},
                                      {RGB(0, 0, 0), '#'}};
}  // namespace

using GdiFrames = GdiCanvas;

TEST_F(GdiFrames, FocusRectangleIsDottedAndXorTwiceRestores) {
  RECT r{1, 1, 7, 5};
  DrawFocusRect(dc, &r);
  EXPECT_EQ(Rows(0, 0, 8, 6), (std::vector<std::string>{"........", ".#.#.#..", "......#.", ".#......",
                                                         "..#.#.#.", "........"}));
  DrawFocusRect(dc, &r);
  EXPECT_EQ(CountColor(RGB(255, 255, 255)), 256);
  RECT thin{2, 8, 9, 9};  // one row: each pixel still inverted once
  DrawFocusRect(dc, &thin);
  DrawFocusRect(dc, &thin);
  EXPECT_EQ(CountColor(RGB(255, 255, 255)), 256);
}

TEST_F(GdiFrames, EdgesByBorderKindAndSides) {
  RECT r{0, 0, 4, 4};
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
  EXPECT_EQ(Rows(0, 0, 4, 4, kEdges), (std::vector<std::string>{"FFFK", "F.SK", "FSSK", "KKKK"}));
  EXPECT_EQ(r, (RECT{2, 2, 2, 2}));

  r = {5, 0, 9, 4};
  DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
  EXPECT_EQ(Rows(5, 0, 9, 4, kEdges), (std::vector<std::string>{"SSS.", "SKF.", "SFF.", "...."}));

  r = {10, 0, 14, 4};
  DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT | BF_TOP);  // right and bottom untouched
  EXPECT_EQ(Rows(10, 0, 14, 4, kEdges), (std::vector<std::string>{"SSSS", "S...", "S...", "S..."}));

  r = {0, 6, 4, 10};
  DrawEdge(dc, &r, EDGE_BUMP, BF_RECT | BF_FLAT);
  EXPECT_EQ(Rows(0, 6, 4, 10, kEdges), (std::vector<std::string>{"SSSS", "SFFS", "SFFS", "SSSS"}));

  r = {5, 6, 9, 10};
  DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT | BF_MONO | BF_MIDDLE);
  EXPECT_EQ(Rows(5, 6, 9, 10, kEdges), (std::vector<std::string>{"####", "#..#", "#..#", "####"}));

  r = {10, 6, 14, 10};
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT);
  EXPECT_EQ(Rows(10, 6, 14, 10, kEdges), (std::vector<std::string>{"...K", ".FSK", ".SSK", "KKKK"}));
}

TEST_F(GdiFrames, PushButtonFaceAndItsAdjustedRect) {
  RECT r{0, 0, 5, 5};
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(Rows(0, 0, 5, 5, kEdges), (std::vector<std::string>{"....K", ".FFSK", ".FFSK", ".SSSK", "KKKKK"}));
  EXPECT_EQ(r, (RECT{2, 2, 3, 3}));
  r = {6, 0, 11, 5};
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(Rows(6, 0, 11, 5, kEdges), (std::vector<std::string>{"KKKK.", "KSSF.", "KSFF.", "KFFF.", "....."}));
}

TEST_F(GdiFrames, CheckBoxIsTheClassicPicture) {
  RECT r{1, 1, 14, 14};
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(Rows(1, 1, 14, 14, kEdges),
            (std::vector<std::string>{"SSSSSSSSSSSS.", "SKKKKKKKKKKF.", "SK.........F.", "SK.......#.F.",
                                      "SK......##.F.", "SK.#...###.F.", "SK.##.###..F.", "SK.#####...F.",
                                      "SK..###....F.", "SK...#.....F.", "SK.........F.", "SFFFFFFFFFFF.",
                                      "............."}));
}

TEST_F(GdiFrames, RadioMaskAndImageMeasureAsTheCallersExpect) {
  Reset(13, 13);
  RECT cell{0, 0, 13, 13};
  PatBlt(dc, 0, 0, 13, 13, BLACKNESS);
  DrawFrameControl(dc, &cell, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_CHECKED | DFCS_FLAT);
  EXPECT_EQ(Rows(0, 0, 13, 13), (std::vector<std::string>{
                                     "....####.....", "..########...", ".##########..", ".##########..",
                                     "############.", "############.", "############.", "############.",
                                     ".##########..", ".##########..", "..########...", "....####.....",
                                     "............."}));

  PatBlt(dc, 0, 0, 13, 13, BLACKNESS);
  DrawFrameControl(dc, &cell, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED | DFCS_FLAT);
  std::map<COLORREF, char> legend = kEdges;
  legend[RGB(0, 0, 0)] = '#';
  // Dot in window text (black) inside a white face inside a flat ring; the
  // corners outside the circle keep the black fill.
  EXPECT_EQ(Rows(0, 3, 13, 9, legend), (std::vector<std::string>{"#S........S##", "S....##....S#",
                                                                  "S...####...S#", "S...####...S#",
                                                                  "S....##....S#", "#S........S##"}));
  EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 0));

  PatBlt(dc, 0, 0, 13, 13, WHITENESS);
  DrawFrameControl(dc, &cell, DFC_BUTTON, DFCS_BUTTONRADIO);
  // Outer ring shadow and highlight, inner ring dark shadow and light,
  // split by the diagonal from bottom-left to top-right.
  EXPECT_EQ(Rows(0, 0, 12, 12, kEdges), (std::vector<std::string>{
                                            "....SSSS....", "..SSKKKKSS..", ".SKK....KK..", ".SK......F..",
                                            "SK........F.", "SK........F.", "SK........F.", "SK........F.",
                                            ".SK......F..", ".SKF....FF..", "....FFFF....", "............"}));
}

TEST_F(GdiFrames, ScrollArrowsAndMenuGlyphs) {
  RECT r{0, 0, 16, 16};
  DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLUP);
  std::map<COLORREF, char> legend = kEdges;
  EXPECT_EQ(Rows(3, 5, 12, 11, legend), (std::vector<std::string>{"FFFFFFFFF", "FFFF#FFFF", "FFF###FFF",
                                                                   "FF#####FF", "F#######F", "FFFFFFFFF"}));
  Reset(16, 16);
  DrawFrameControl(dc, &r, DFC_MENU, DFCS_MENUARROW);
  // Black on white: a right-pointing triangle, apex to the right.
  int rightmost = -1;
  for (int x = 0; x < 16; ++x)
    if (Pixel(x, 7) == RGB(0, 0, 0)) rightmost = x;
  EXPECT_GT(rightmost, 7);
  EXPECT_EQ(Pixel(rightmost, 6), RGB(255, 255, 255));
  EXPECT_EQ(CountColor(RGB(255, 255, 255)) + CountColor(RGB(0, 0, 0)), 256);
}

// The restore glyph is two windows, the back one up and right; a button
// that does nothing shows its glyph embossed.
TEST_F(GdiFrames, CaptionRestoreGlyphAndEmbossedInactiveGlyphs) {
  RECT r{0, 0, 16, 14};
  DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONRESTORE);
  EXPECT_EQ(Rows(3, 3, 11, 11, kEdges), (std::vector<std::string>{"FF######", "FF######", "FF#FFFF#", "######F#",
                                                                   "########", "#FFFF#FF", "#FFFF#FF", "######FF"}));
  Reset(16, 14);
  DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONMAX | DFCS_INACTIVE);
  EXPECT_EQ(Rows(3, 3, 12, 12, kEdges),
            (std::vector<std::string>{"SSSSSSSSF", "SSSSSSSS.", "S......S.", "S.FFFFFS.", "S.FFFFFS.", "S.FFFFFS.",
                                      "S.FFFFFS.", "SSSSSSSS.", "F........"}));
}

TEST(GdiOwnBitmaps, CheckBoxCellsAreTwelveRadioTwelveByThirteenCheckBoxes) {
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  ASSERT_NE(boxes, nullptr);
  BITMAP bm;
  GetObject(boxes, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 4 * CHECKBOX_CELL);
  EXPECT_EQ(bm.bmHeight, 3 * CHECKBOX_CELL);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, boxes);
  const int c = CHECKBOX_CELL;
  // Row 0: the check mark in the checked cells only; pushed cells are grey inside.
  EXPECT_EQ(GetPixel(dc, 3, 5), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(dc, c + 3, 5), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(GetPixel(dc, 2 * c + 3, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetPixel(dc, 3 * c + 3, 5), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, c - 1, c - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  // Row 1: radio buttons, the dot in the checked ones.
  EXPECT_EQ(GetPixel(dc, 5, c + 5), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(dc, c + 5, c + 5), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(GetPixel(dc, 4, c), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, 0, c), GetSysColor(COLOR_BTNFACE)) << "outside the circle: the face";
  // Row 2: disabled check boxes are grey inside with a grey mark.
  EXPECT_EQ(GetPixel(dc, 3, 2 * c + 3), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetPixel(dc, c + 3, 2 * c + 5), GetSysColor(COLOR_BTNSHADOW));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(boxes);

  for (int id : {OBM_CHECK, OBM_MNARROW, OBM_UPARROW, OBM_DNARROW, OBM_LFARROW, OBM_RGARROW, OBM_SIZE, OBM_CLOSE}) {
    HBITMAP b = LoadBitmap(nullptr, MAKEINTRESOURCE(id));
    EXPECT_NE(b, nullptr) << id;
    DeleteObject(b);
  }
  EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCE(1)), nullptr);
}
