#include "AdSelCom.h"

#include "AwWin32.h"
#include "SysUtils.h"
#include "Windows.h"

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
