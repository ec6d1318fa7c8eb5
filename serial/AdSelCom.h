// The port selection dialog and its probe: which of COM1 to COM50 exist on
// this machine, and which one the user picks when a port is to be opened
// without a number.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/System.h"

inline constexpr Integer HighestSelectablePort = 50;

// Opens the port for a moment; a port that another program holds, or that
// the user may not open, exists too.
bool PortExists(Integer Number);
// "COM1".."COM50" of the ports that exist, in order.
std::vector<std::string> ListPresentPorts();
// The number of a list entry: its text from the fourth character on (0 when
// that is no number).
Integer PortNumberOfEntry(const std::string& Entry);

// Made from its form file (AdSelCom.form) with CreateForm, shown modal and
// freed by whoever asked for a port.
class TComSelectForm : public TForm {
  VXN_DECLARE_CLASS(TComSelectForm)

 public:
  explicit TComSelectForm(TComponent* AOwner) : TForm(AOwner) {}

  // The components of the form file, found by name once it is read.
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TBevel* Bevel1 = nullptr;
  TComboBox* PortsComboBox = nullptr;
  TButton* OkBtn = nullptr;
  TButton* AbortBtn = nullptr;

  // Fills the list with the ports that exist and selects the first.
  void FormCreate(TObject* Sender);
  // The number of the selected entry ("COM12" gives 12); 0 when nothing is
  // selected.
  Integer SelectedPortNumber();

 protected:
  void Loaded() override;

 private:
  template <typename C>
  C* Part(const char* Name);
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterAdSelComClasses();
