#include "suite/editors/EditorsStartup.h"

#include "suite/editors/cxButtons.h"
#include "suite/editors/cxCheckBox.h"
#include "suite/editors/cxComboBox.h"
#include "suite/editors/cxContainer.h"
#include "suite/editors/cxContainerStyles.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxCurrencyEdit.h"
#include "suite/editors/cxCurrencyEditProperties.h"
#include "suite/editors/cxCustomEditListBox.h"
#include "suite/editors/cxCustomInnerListBox.h"
#include "suite/editors/cxCustomInnerTextEdit.h"
#include "suite/editors/cxCustomEditPopupWindow.h"
#include "suite/editors/cxCustomPopupWindow.h"
#include "suite/editors/cxDateUtils.h"
#include "suite/editors/cxDropDownEdit.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditButtons.h"
#include "suite/editors/cxEditRegisteredRepositoryItems.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxFilterEditHelpers.h"
#include "suite/editors/cxGroupBox.h"
#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxPopupEdit.h"
#include "suite/editors/cxProgressBar.h"
#include "suite/editors/cxRadioGroup.h"
#include "suite/editors/cxSolidBrushCache.h"
#include "suite/editors/cxSpinEdit.h"
#include "suite/editors/cxSpinEditProperties.h"
#include "suite/editors/cxSplitter.h"
#include "suite/editors/cxTextEdit.h"
#include "suite/editors/cxTextEditLookupData.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/editors/cxTrackBar.h"
#include "suite/editors/cxTreeView.h"
#include "platform/db/DbStartup.h"
#include "suite/foundation/FoundationStartup.h"

void InitializeEditors() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeDb();
  InitializeFoundation();
  InitializeContainerViewInfo();
  RegisterContainerStylesClasses();
  InitializeSolidBrushCache();
  RegisterContainerClasses();
  InitializeEditPainting();
  RegisterSmartDateWords();
  RegisterCustomPopupWindowClasses();
  RegisterCustomEditPopupWindowClasses();
  RegisterCustomInnerListBoxClasses();
  RegisterTreeViewClasses();
  InstallPopupWindowHooks();
  RegisterEditButtonsClasses();
  RegisterEditStylesClasses();
  DefaultEditStyleController();
  RegisterEditRepositoryClasses();
  RegisterEditClasses();
  RegisterEditCursors();
  RegisterButtonClasses();
  InitializeRadioGroup();
  InitializeCheckBox();
  RegisterGroupBoxClasses();
  RegisterHotZoneStyles();
  RegisterCustomEditListBoxClasses();
  RegisterTextEditLookupDataClasses();
  RegisterTextEditPropertiesClasses();
  RegisterSpinEditPropertiesClasses();
  RegisterCurrencyEditPropertiesClasses();
  RegisterCustomInnerTextEditClasses();
  RegisterTextEditClasses();
  RegisterDropDownEditClasses();
  RegisterMaskEditClasses();
  RegisterPopupEditClasses();
  RegisterCurrencyEditClasses();
  RegisterComboBoxClasses();
  RegisterSpinEditClasses();
  // Before the bars, which add their own helpers.
  RegisterFilterEditHelpers();
  InitializeEditProgressBar();
  InitializeTrackBar();
  // Last: the default items are made of the item classes registered above.
  RegisterDefaultDBRepositoryItems();
}
