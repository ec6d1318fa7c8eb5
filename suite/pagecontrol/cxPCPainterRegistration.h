// Start and end of the tab painters: the shared colours, the tab styles
// registered with the painters factory in the style table's order, and the
// notifier that refreshes the scheme colours when the system colours change.
#pragma once

#include "suite/foundation/cxLookAndFeels.h"

class TcxPaletteChangedNotifier : public TcxSystemPaletteChangedNotifier {
  VXN_DECLARE_CLASS(TcxPaletteChangedNotifier)

 public:
  // A primary subscriber: told after the Office 11 colours are new.
  TcxPaletteChangedNotifier() : TcxSystemPaletteChangedNotifier(true) {}
  void DoSystemPaletteChanged() override;
};

// Each runs once however often it is called.
void InitializePCPainters();
void FinalizePCPainters();
