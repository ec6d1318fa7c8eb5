#include "suite/pagecontrol/cxPCPaintersFactory.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "suite/foundation/cxClasses.h"
#include "suite/pagecontrol/cxPCConsts.h"

VXN_IMPLEMENT_CLASS(TcxPCPaintersFactory, TObject)

namespace {

std::unique_ptr<TcxPCPaintersFactory>& FactorySlot() {
  static std::unique_ptr<TcxPCPaintersFactory> factory;
  return factory;
}

}  // namespace

void TcxPCPaintersFactory::RaiseFactoryError(const char* Method, const char* Message) const {
  throw Exception(std::string("TcxPCPaintersFactory.") + Method + ": " + TranslateResourceString(Message));
}

void TcxPCPaintersFactory::AddPainterClass(TcxPCCustomPainterClass APainterClass) {
  if (std::find(FPainterClasses.begin(), FPainterClasses.end(), APainterClass) == FPainterClasses.end())
    FPainterClasses.push_back(APainterClass);
}

void TcxPCPaintersFactory::RemovePainterClass(TcxPCCustomPainterClass APainterClass) {
  std::erase(FPainterClasses, APainterClass);
}

TcxPCCustomPainterClass TcxPCPaintersFactory::FindPainterClass(TcxPCStyleID StyleID) const {
  for (TcxPCCustomPainterClass painterClass : FPainterClasses)
    if (painterClass->StyleID() == StyleID) return painterClass;
  return nullptr;
}

TcxPCStyleID TcxPCPaintersFactory::GetStyleIDForLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  for (auto it = FPainterClasses.rbegin(); it != FPainterClasses.rend(); ++it)
    if ((*it)->MatchesLookAndFeel(ALookAndFeel)) return (*it)->StyleID();
  return -1;
}

TcxPCStyleID TcxPCPaintersFactory::GetDefaultStyleID(TcxLookAndFeel* ALookAndFeel) const {
  if (FPainterClasses.empty()) RaiseFactoryError("GetDefaultStyleID", scxPCNoRegisteredStyles);
  for (auto it = FPainterClasses.rbegin(); it != FPainterClasses.rend(); ++it)
    if ((*it)->IsDefaultForLookAndFeel(ALookAndFeel)) return (*it)->StyleID();
  return FPainterClasses.front()->StyleID();
}

std::unique_ptr<TcxPCCustomPainter> TcxPCPaintersFactory::GetPainterInstance(TcxPCCustomPainterClass APainterClass,
                                                                             TcxCustomTabControl* AControl) const {
  if (!APainterClass) RaiseFactoryError("GetPainterInstance", scxPCPainterClassError);
  return APainterClass->Construct(AControl);
}

TcxPCPaintersFactory* PaintersFactory() { return FactorySlot().get(); }

void RegisterPCPainterClass(TcxPCCustomPainterClass APainterClass) {
  if (!FactorySlot()) FactorySlot() = std::make_unique<TcxPCPaintersFactory>();
  FactorySlot()->AddPainterClass(APainterClass);
}

void UnregisterPCPainterClass(TcxPCCustomPainterClass APainterClass) {
  if (!FactorySlot()) return;
  FactorySlot()->RemovePainterClass(APainterClass);
  if (FactorySlot()->PainterClassCount() == 0) FactorySlot().reset();
}

void FinalizePCPaintersFactory() { FactorySlot().reset(); }
