// The application's global objects made fresh, with the band and model
// tables filled, and freed again: for one test, or for a fuzz target's life.
#pragma once

#include "app/AllClass.h"
#include "app/MacType.h"
#include "app/Maindb.h"

// Frees the global objects, however they were made.
inline void FreeAppGlobalObjects() {
  FreeAndNil(ALL);
  FreeAndNil(ChannelScratch);
  FreeAndNil(LangTexts);
  FreeAndNil(MacList);
  FreeAndNil(FrqList);
}

class AppGlobalObjects {
 public:
  AppGlobalObjects() {
    ALL = new TALL;
    ChannelScratch = new TChannel;
    LangTexts = new TLanguage;
    MacList = new TMacList;
    FrqList = new TFrqList;
    RegisterBands();
    RegisterModels();
  }
  ~AppGlobalObjects() { FreeAppGlobalObjects(); }
  AppGlobalObjects(const AppGlobalObjects&) = delete;
  AppGlobalObjects& operator=(const AppGlobalObjects&) = delete;
};
