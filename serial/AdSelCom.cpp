#include "serial/AdSelCom.h"

#include "serial/AwWin32.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

bool PortExists(Integer Number) {
  if (Number <= 0) return false;
  auto* probe = new TApdWin32Dispatcher(nullptr);
  bool exists = false;
  if (probe->OpenHandle("\\\\.\\COM" + std::to_string(Number), 64, 64) >= 0) {
    exists = true;
    probe->CloseDevice();
  } else {
    exists = win::DeviceExistsDespite(win::GetLastError());
  }
  probe->Free();
  return exists;
}

std::vector<std::string> ListPresentPorts() {
  std::vector<std::string> ports;
  for (Integer n = 1; n <= HighestSelectablePort; ++n)
    if (PortExists(n)) ports.push_back("COM" + std::to_string(n));
  return ports;
}

Integer PortNumberOfEntry(const std::string& Entry) {
  if (Entry.size() <= 3) return 0;
  try {
    return StrToInt(Entry.substr(3));
  } catch (const Exception&) {
    return 0;
  }
}

VXN_IMPLEMENT_CREATABLE_CLASS(TComSelectForm, TForm)
VXN_PUBLISH(TComSelectForm) {
  P.Handler("FormCreate", &TComSelectForm::FormCreate);
}

void RegisterAdSelComClasses() {
  RegisterClasses({TComSelectForm::StaticClass()});
}

template <typename C>
C* TComSelectForm::Part(const char* Name) {
  auto* part = dynamic_cast<C*>(FindComponent(Name));
  if (!part) throw EComponentError(Format("Component %s missing from %s", {Name, ClassName()}));
  return part;
}

void TComSelectForm::Loaded() {
  TForm::Loaded();
  Label1 = Part<TLabel>("Label1");
  Label2 = Part<TLabel>("Label2");
  Bevel1 = Part<TBevel>("Bevel1");
  PortsComboBox = Part<TComboBox>("PortsComboBox");
  OkBtn = Part<TButton>("OkBtn");
  AbortBtn = Part<TButton>("AbortBtn");
}

void TComSelectForm::FormCreate(TObject*) {
  PortsComboBox->Items()->Clear();
  for (const std::string& entry : ListPresentPorts()) PortsComboBox->Items()->Add(entry);
  PortsComboBox->SetItemIndex(0);
  // Deliberate difference: with no port at all, OK would return a number
  // that opens nothing; only Cancel is left.
  OkBtn->SetEnabled(PortsComboBox->Items()->Count() > 0);
}

Integer TComSelectForm::SelectedPortNumber() {
  Integer index = PortsComboBox->ItemIndex();
  if (index < 0) return 0;
  return PortNumberOfEntry(PortsComboBox->Items()->Strings(index));
}
