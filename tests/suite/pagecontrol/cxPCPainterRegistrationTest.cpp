// The painters' start: the nine styles registered in the style table's
// order and the colours computed at start.
#include "suite/pagecontrol/cxPCPainterRegistration.h"

#include <gtest/gtest.h>

#include "suite/pagecontrol/cxPCPainterRoutines.h"
#include "suite/pagecontrol/cxPCPaintersFactory.h"
#include "suite/pagecontrol/cxPCTabsPainter.h"

TEST(PCPainterRegistration, StylesAreRegisteredAtStart) {
  InitializePCPainters();
  TcxPCPaintersFactory* factory = PaintersFactory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->FindPainterClass(1), &TcxPCTabsPainterClass::Instance());
  const TcxPCStyleID ids[] = {1, 2, 3, 5, 6, 7, 8, 9, 10};
  ASSERT_EQ(factory->PainterClassCount(), 9);
  for (Integer i = 0; i < 9; ++i) EXPECT_EQ(factory->PainterClasses(i)->StyleID(), ids[i]) << i;
  EXPECT_EQ(factory->FindPainterClass(4), nullptr);
  EXPECT_EQ(LightFaceColor, ComputeLightFaceColor());
  // Starting again changes nothing.
  const Integer count = factory->PainterClassCount();
  InitializePCPainters();
  FinalizePCPainters();
  EXPECT_EQ(PaintersFactory(), factory);
  EXPECT_EQ(factory->PainterClassCount(), count);
  // The folder's start-up holds one start too: the last end takes the
  // styles out again, and a new start brings them back.
  FinalizePCPainters();
  EXPECT_EQ(PaintersFactory(), factory);
  FinalizePCPainters();
  EXPECT_EQ(PaintersFactory(), nullptr);
  InitializePCPainters();
  ASSERT_NE(PaintersFactory(), nullptr);
  EXPECT_EQ(PaintersFactory()->FindPainterClass(1), &TcxPCTabsPainterClass::Instance());
}
