// A spin edit as its layout sees it: text properties with four spin buttons
// (the fast ones shown on request), the spin settings, an editor that may
// hold a button with a single-bordered classic style, and a 100 x 21 layout
// painted into a bitmap.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "suite/editors/cxSpinEditViewData.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

class SpinProperties : public TcxCustomTextEditProperties, public SpinButtonsSettings {
 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  TcxCustomEditViewDataClass ViewDataClass() override { return EditViewDataClassOf<TcxSpinEditViewData>(); }
  TcxContainerViewInfoClass ViewInfoClass() override { return &CreateContainerViewInfo<TcxSpinEditViewInfo>; }
  TcxSpinEditButtonsPosition SpinButtonsPosition() override { return position; }
  bool ShowFastButtons() override { return fast; }
  TcxSpinEditButtonsPosition position = sbpVert;
  bool fast = false;
};

class SpinFakeEdit : public TcxContainer, public IcxViewDataEdit, public SpinButtonsHolder {
 public:
  SpinFakeEdit()
      : TcxContainer(nullptr, &CreateContainerStyles<TcxContainerStyles>, &CreateContainerStyle<TcxEditStyle>,
                     &CreateContainerViewInfo<TcxCustomEditViewInfo>) {}
  bool IsEditFocused() override { return false; }
  bool InnerEditVisible() override { return false; }
  Integer CapturedButtonIndex() override { return -1; }
  Integer HeldSpinButtonMarker() override { return held; }
  Integer held = 0;
};

class SpinEditFixture : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    Reset(100, 21);
    // The layout paints with the editor's active style.
    edit = std::make_unique<SpinFakeEdit>();
    style = static_cast<TcxEditStyle*>(edit->Style());
    style->SetEditBorderStyle(ebsSingle);
    style->LookAndFeel()->SetNativeStyle(false);
    for (Integer i = 0; i < 4; ++i) props.Buttons()->Add()->SetKind(bkGlyph);
    SetFast(false);
  }
  void SetFast(bool fast) {
    props.fast = fast;
    props.Buttons()->Items(2)->SetVisible(fast);
    props.Buttons()->Items(3)->SetVisible(fast);
  }
  // Lays the edit out at (0, 0, 100, 21) with the pointer at P.
  void Layout(TPoint P = {-1, -1}) {
    auto vd = props.CreateViewData(style, false);
    vd->Edit = edit.get();
    vd->Enabled = enabled;
    vd->ComputeLayout(canvas.get(), {0, 0, 100, 21}, P, cxmbNone, TShiftState{}, &vi, false);
  }
  void Paint() {
    Reset(100, 21);
    vi.InternalPaint(canvas.get());
  }

  SpinProperties props{nullptr};
  TcxEditStyle* style = nullptr;
  std::unique_ptr<SpinFakeEdit> edit;
  bool enabled = true;
  TcxSpinEditViewInfo vi;
};
