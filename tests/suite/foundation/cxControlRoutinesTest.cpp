#include "suite/foundation/cxControlRoutines.h"

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"

namespace {

TEST(cxControlRoutines, NumericAndTextInputChars) {
  TFormatSettingsPin pin;
  struct Case {
    char32_t c;
    bool m0, m1, m2;
  } cases[] = {{U'7', true, true, true},  {U'-', true, true, true},   {U'.', false, true, true},
               {U'e', false, false, true}, {U'E', false, false, true}, {U'x', false, false, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsNumericInputChar(c.c, 0), c.m0) << static_cast<char>(c.c);
    EXPECT_EQ(IsNumericInputChar(c.c, 1), c.m1) << static_cast<char>(c.c);
    EXPECT_EQ(IsNumericInputChar(c.c, 2), c.m2) << static_cast<char>(c.c);
    EXPECT_FALSE(IsNumericInputChar(U'.', 3));
  }
  EXPECT_TRUE(IsTextInputChar(U' '));
  EXPECT_FALSE(IsTextInputChar(U'\t'));
  EXPECT_EQ(KeyCodeToCharCode(0x41), u'A');
}

class PopupHost : public TCustomControl {
 public:
  PopupHost() : TCustomControl(nullptr) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP | win::WS_VISIBLE;
    Params.WndParent = nullptr;
  }
};

class Routines : public ::testing::Test {
 protected:
  void SetUp() override {
    win::SetScreenSize(800, 600);
    win::ResetInputState();
    host = std::make_unique<PopupHost>();
    host->SetBounds(100, 100, 200, 100);
    host->HandleNeeded();
    win::ShowWindow(host->Handle(), win::SW_SHOW);
    Application->ProcessMessages();
  }
  void TearDown() override {
    host.reset();
    win::ResetInputState();
  }
  std::unique_ptr<PopupHost> host;
};

TEST_F(Routines, DragDetectLoopResults) {
  const Integer t = Mouse->DragThreshold();
  win::InjectMouseMove({150, 150});
  win::InjectMouseButton(win::VK_RBUTTON, true, {150, 150});
  win::InjectMouseButton(win::VK_RBUTTON, false, {150, 150});
  EXPECT_EQ(DragDetectLoop(host->Handle()), 0);
  win::InjectKey(win::VK_ESCAPE, true);
  EXPECT_EQ(DragDetectLoop(host->Handle()), 2);
  win::InjectKey(win::VK_ESCAPE, false);
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_TRUE(IsWithinDragThreshold({10, 10}, 10 + t - 1, 10 - t + 1));
  EXPECT_FALSE(IsWithinDragThreshold({10, 10}, 10 + t, 10));
}

TEST_F(Routines, WindowMappingWorkAreaAndCursors) {
  const TRect r = TranslateWindowRect(host->Handle(), nullptr, {0, 0, 10, 10});
  EXPECT_EQ(r, (TRect{100, 100, 110, 110}));
  EXPECT_EQ(TranslateWindowPoint(nullptr, host->Handle(), {105, 107}), (TPoint{5, 7}));
  EXPECT_EQ(GetMonitorWorkArea({10, 10}).Right, 800);
  EXPECT_TRUE(HasParentWithHandle(nullptr) == false);
  for (TCursor id = crcxDragCopy; id <= crcxHandPoint; ++id) {
    win::CursorImage image;
    EXPECT_TRUE(win::GetCursorImage(Screen->Cursors(id), &image)) << id << " " << SuiteCursorResourceName(id);
  }
  EXPECT_STREQ(SuiteCursorResourceName(2114), "CX_HANDPOINTCURSOR");
}

}  // namespace
