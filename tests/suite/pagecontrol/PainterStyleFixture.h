// A tab control of three tabs drawn by one tab style on a test bitmap, with
// visual styles off ("no styles") unless a test turns them on, and the
// shared face colours computed as at the painters' start.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "suite/pagecontrol/cxPCPainterRoutines.h"
#include "suite/pagecontrol/cxPCTabsPainter.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"
#include "tests/support/VisualStylesScope.h"

class PainterStyleTest : public ::testing::Test {
 protected:
  // The Tabs style stays registered beside the style under test: the
  // control starts with it and then switches.
  void Start(TcxPCCustomPainterClass Style, Integer W = 200, Integer H = 100,
             const std::vector<std::string>& Captions = {"abcd", "efgh", "ijkl"}) {
    control.reset();
    factory.reset();
    LightFaceColor = ComputeLightFaceColor();
    UpdateOneNoteSchemeColors();
    factory = std::make_unique<FactoryScope>(std::vector<TcxPCCustomPainterClass>{&TcxPCTabsPainterClass::Instance(), Style});
    control = std::make_unique<FakeTabControl>();
    control->AddTabs(Captions);
    control->SetStyle(Style->StyleID());
    control->ShowWindow(W, H);
  }
  void TearDown() override {
    control.reset();
    factory.reset();
  }
  void PaintAll(Integer W = 0, Integer H = 0) {
    if (W > 0) control->surface.Reset(W, H);
    control->Painter()->SaveClip();
    control->Painter()->Paint();
    control->Painter()->RestoreClip();
  }
  TcxTab* Tab(Integer Index) const { return control->Tabs()->GetTab(Index); }
  TRect Display(Integer Index) const { return Tab(Index)->DisplayRect(); }
  const TestSurface& Surface() const { return control->surface; }
  bool Is(Integer X, Integer Y, TColor C) const { return control->surface.Is(X, Y, C); }
  Integer CountIn(const TRect& R, TColor C) const {
    Integer n = 0;
    for (Integer y = R.Top; y < R.Bottom; ++y)
      for (Integer x = R.Left; x < R.Right; ++x) n += Is(x, y, C);
    return n;
  }

  VisualStylesScope classic{false};
  std::unique_ptr<FactoryScope> factory;
  std::unique_ptr<FakeTabControl> control;
};
