#include "platform/forms/ComCtrls.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TTabSheet, TWinControl)
VXN_PUBLISH(TTabSheet) {
  P.Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(0);
  P.Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle += csAcceptsControls;
}

void RegisterComCtrlsClasses() {
  RegisterClasses({TTreeView::StaticClass(), TStatusBar::StaticClass(), TToolBar::StaticClass(),
                   TToolButton::StaticClass(), TTabSheet::StaticClass()});
}
