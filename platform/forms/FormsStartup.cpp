#include "platform/forms/FormsStartup.h"

#include "platform/win/WinStartup.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/Metafile.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Mask.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/ScrollCtrls.h"
#include "platform/forms/Splitter.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/UpDown.h"
#include "platform/forms/BitBtn.h"
#include "platform/forms/Timer.h"
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
  RegisterStaticCtrlsClasses();
  RegisterScrollCtrlsClasses();
  RegisterSplitterClasses();
  RegisterProgressBarClasses();
  RegisterUpDownClasses();
  RegisterBitBtnClasses();
  RegisterTimerClasses();
  RegisterListCtrlsClasses();
  RegisterImgListClasses();
  RegisterActnListClasses();
  RegisterMenusClasses();
  RegisterComCtrlsClasses();
  RegisterDialogsClasses();
  InstallMenuKeyHook();
  CreateApplicationObjects();
}
