#include "suite/data/DataStartup.h"

#include "suite/editors/EditorsStartup.h"
#include "platform/db/DbStartup.h"
#include "suite/data/cxDataEditRepositoryItems.h"
#include "suite/data/cxFilter.h"
#include "suite/data/cxFilterConsts.h"
#include "suite/data/cxValueTypes.h"

void InitializeData() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeEditors();
  InitializeDb();
  RegisterValueTypeClasses();
  InstallFilterValueTypeQueries();
  RegisterFilterResourceStrings();
  RegisterFilterClasses();
  // After every item class the program has is registered.
  RegisterDataEditRepositoryItems();
}
