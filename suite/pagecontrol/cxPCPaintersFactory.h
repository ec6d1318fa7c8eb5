// The registry of tab styles: painter classes by style ID, the style that
// belongs to a look-and-feel, and the making and releasing of painters.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/System.h"
#include "suite/pagecontrol/cxPCPainter.h"

class TcxLookAndFeel;

class TcxPCPaintersFactory : public TObject {
  VXN_DECLARE_CLASS(TcxPCPaintersFactory)

 public:
  TcxPCPaintersFactory() = default;

  // Appends unless present.
  void AddPainterClass(TcxPCCustomPainterClass APainterClass);
  void RemovePainterClass(TcxPCCustomPainterClass APainterClass);
  Integer PainterClassCount() const { return static_cast<Integer>(FPainterClasses.size()); }
  TcxPCCustomPainterClass PainterClasses(Integer Index) const { return FPainterClasses.at(static_cast<size_t>(Index)); }
  // Null for an unknown ID.
  TcxPCCustomPainterClass FindPainterClass(TcxPCStyleID StyleID) const;
  // -1 when no style matches.
  TcxPCStyleID GetStyleIDForLookAndFeel(TcxLookAndFeel* ALookAndFeel) const;
  TcxPCStyleID GetDefaultStyleID(TcxLookAndFeel* ALookAndFeel) const;
  std::unique_ptr<TcxPCCustomPainter> GetPainterInstance(TcxPCCustomPainterClass APainterClass,
                                                         TcxCustomTabControl* AControl) const;
  void ReleasePainter(std::unique_ptr<TcxPCCustomPainter> APainter) const { APainter.reset(); }

 private:
  [[noreturn]] void RaiseFactoryError(const char* Method, const char* Message) const;

  std::vector<TcxPCCustomPainterClass> FPainterClasses;
};

// The shared factory; null until the first registration and after the
// last class left.
TcxPCPaintersFactory* PaintersFactory();
void RegisterPCPainterClass(TcxPCCustomPainterClass APainterClass);
void UnregisterPCPainterClass(TcxPCCustomPainterClass APainterClass);
// The end of the module: the factory goes, whatever is registered.
void FinalizePCPaintersFactory();
