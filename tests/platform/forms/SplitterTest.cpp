#include "platform/forms/Splitter.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

using SplitterTest = SizedHostTest;

TEST_F(SplitterTest, SplitterDragResizesItsNeighbour) {
  auto make = [&](TAlign align, Integer w) {
    auto* c = LoggedChild(*host, nullptr, "");
    c->SetWidth(w);
    c->SetAlign(align);
    return c;
  };
  TControl* left = make(alLeft, 100);
  auto* sp = new TSplitter(host.get());
  sp->SetParent(host.get());
  sp->SetLeft(100);
  TControl* client = make(alClient, 10);
  Show();
  ASSERT_EQ(sp->Left(), 100);
  int moves = 0;
  struct Moved {
    int* n;
    void On(TObject*) { ++*n; }
  } moved{&moves};
  sp->OnMoved = TNotifyEvent(&moved, &Moved::On);
  TPoint p = sp->ClientToScreen({1, 50});
  InjectDrag({p.X, p.Y}, {p.X + 60, p.Y});
  Pump();
  EXPECT_EQ(left->Width(), 160);
  EXPECT_EQ(sp->Left(), 160);
  EXPECT_EQ(client->Left(), 163);
  EXPECT_EQ(moves, 1);
  // Past the far side: the client keeps MinSize.
  p = sp->ClientToScreen({1, 50});
  InjectDrag({p.X, p.Y}, {p.X + 500, p.Y});
  Pump();
  EXPECT_EQ(left->Width(), 400 - 3 - 30);
  // Down to the minimum: snaps shut.
  p = sp->ClientToScreen({1, 50});
  InjectDrag({p.X, p.Y}, {p.X - 1000, p.Y});
  Pump();
  EXPECT_EQ(left->Width(), 0);
}

}  // namespace
