#include "suite/pagecontrol/cxPCPainterRegistration.h"

#include <iterator>
#include <memory>
#include <utility>

#include "suite/pagecontrol/cxPCPainterRoutines.h"
#include "suite/pagecontrol/cxPCPaintersFactory.h"
#include "suite/pagecontrol/cxPCButtonedPainter.h"
#include "suite/pagecontrol/cxPCExtraFlatPainter.h"
#include "suite/pagecontrol/cxPCFlatPainter.h"
#include "suite/pagecontrol/cxPCOffice11Painter.h"
#include "suite/pagecontrol/cxPCOneNotePainter.h"
#include "suite/pagecontrol/cxPCSlantedPainter.h"
#include "suite/pagecontrol/cxPCTabsPainter.h"
#include "suite/pagecontrol/cxPCUltraFlatPainter.h"

VXN_IMPLEMENT_CLASS(TcxPaletteChangedNotifier, TcxSystemPaletteChangedNotifier)

namespace {

std::unique_ptr<TcxPaletteChangedNotifier>& Notifier() {
  static std::unique_ptr<TcxPaletteChangedNotifier> notifier;
  return notifier;
}

// The styles in the order of the style table.
const TcxPCCustomPainterClass* StyleClasses(Integer& Count) {
  static const TcxPCCustomPainterClass classes[] = {
      &TcxPCTabsPainterClass::Instance(),      &TcxPCButtonsPainterClass::Instance(),
      &TcxPCFlatButtonsPainterClass::Instance(), &TcxPCExtraFlatPainterClass::Instance(),
      &TcxPCUltraFlatPainterClass::Instance(), &TcxPCFlatPainterClass::Instance(),
      &TcxPCOffice11PainterClass::Instance(),  &TcxPCSlantedPainterClass::Instance(),
      &TcxPCOneNotePainterClass::Instance()};
  Count = static_cast<Integer>(std::size(classes));
  return classes;
}

Integer& StartCount() {
  static Integer count = 0;
  return count;
}

}  // namespace

void TcxPaletteChangedNotifier::DoSystemPaletteChanged() { UpdateOneNoteSchemeColors(); }

void InitializePCPainters() {
  if (StartCount()++ > 0) return;
  LightFaceColor = ComputeLightFaceColor();
  UpdateOneNoteSchemeColors();
  // Made before its slot, so that at program end the notifier goes before
  // the listener it subscribed to.
  auto notifier = std::make_unique<TcxPaletteChangedNotifier>();
  Notifier() = std::move(notifier);
  Integer count = 0;
  const TcxPCCustomPainterClass* classes = StyleClasses(count);
  for (Integer i = 0; i < count; ++i) RegisterPCPainterClass(classes[i]);
}

void FinalizePCPainters() {
  if (StartCount() == 0 || --StartCount() > 0) return;
  Integer count = 0;
  const TcxPCCustomPainterClass* classes = StyleClasses(count);
  for (Integer i = 0; i < count; ++i) UnregisterPCPainterClass(classes[i]);
  Notifier().reset();
  FreePainterScreenCanvas();
}
