#include "platform/forms/FormsStartup.h"

#include "platform/win/WinStartup.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/Metafile.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Mask.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/SimpleCtrls.h"
#include "platform/forms/SmallCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"

void InitializeForms() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeWin();
  RegisterCustomFormsClasses();
  RegisterGraphicsClasses();
  RegisterMetafileClasses();
  RegisterStdCtrlsClasses();
  RegisterMaskClasses();
  RegisterButtonCtrlsClasses();
  RegisterSimpleCtrlsClasses();
  RegisterSmallCtrlsClasses();
  RegisterExtCtrlsClasses();
  RegisterListCtrlsClasses();
  RegisterImgListClasses();
  RegisterActnListClasses();
  RegisterMenusClasses();
  RegisterComCtrlsClasses();
  RegisterDialogsClasses();
  InstallMenuKeyHook();
  CreateApplicationObjects();
}
