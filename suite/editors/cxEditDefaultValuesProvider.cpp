#include "suite/editors/cxEditDefaultValuesProvider.h"

#include "suite/editors/cxEditProperties.h"

VXN_IMPLEMENT_CLASS(TcxCustomEditDefaultValuesProvider, TcxInterfacedPersistent)

TcxCustomEditDefaultValuesProvider::~TcxCustomEditDefaultValuesProvider() { ReleaseFromProperties(); }

void TcxCustomEditDefaultValuesProvider::ReleaseFromProperties() { ReleaseProviderFromLiveProperties(this); }
