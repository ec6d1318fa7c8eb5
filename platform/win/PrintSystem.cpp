#include "platform/win/PrintSystem.h"

#include "platform/win/CupsPrintSystem.h"

namespace win {

namespace {
std::unique_ptr<PrintSystem>& Current() {
  static std::unique_ptr<PrintSystem> system;
  return system;
}
}  // namespace

PrintSystem& CurrentPrintSystem() {
  if (!Current()) Current() = std::make_unique<CupsPrintSystem>();
  return *Current();
}

std::unique_ptr<PrintSystem> SetPrintSystem(std::unique_ptr<PrintSystem> system) {
  std::unique_ptr<PrintSystem> previous = std::move(Current());
  Current() = std::move(system);
  return previous;
}

}  // namespace win
