// The locales the number editors' tests type in, and a scope that pins one
// with the formats the format controller builds from it.
#pragma once

#include <optional>

#include "platform/rtl/FormatSettings.h"
#include "suite/editors/cxFormatController.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace currency_locales {

// '.' groups thousands, ',' separates decimals; the symbol follows.
inline TFormatSettings German() {
  TFormatSettings s = injected_locales::German();
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  return s;
}

// The locale and the formats the controller builds from it, for one scope.
class LocaleScope {
 public:
  explicit LocaleScope(const TFormatSettings& s) : pin_(std::in_place, s) { FormatController()->ReloadFormats(); }
  ~LocaleScope() {
    pin_.reset();
    FormatController()->ReloadFormats();
  }

 private:
  std::optional<TFormatSettingsPin> pin_;
};

}  // namespace currency_locales
