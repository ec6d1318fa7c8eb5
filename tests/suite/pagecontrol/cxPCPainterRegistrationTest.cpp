// The painters' start: the styles registered in the style table's order
// (those built so far) and the colours computed at start.
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
  EXPECT_EQ(factory->PainterClasses(0)->StyleID(), 1);
  EXPECT_EQ(LightFaceColor, ComputeLightFaceColor());
  // Starting again changes nothing.
  const Integer count = factory->PainterClassCount();
  InitializePCPainters();
  FinalizePCPainters();
  EXPECT_EQ(PaintersFactory(), factory);
  EXPECT_EQ(factory->PainterClassCount(), count);
  // The last end takes the styles out again.
  FinalizePCPainters();
  EXPECT_EQ(PaintersFactory(), nullptr);
}
