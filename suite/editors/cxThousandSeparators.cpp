#include "suite/editors/cxThousandSeparators.h"

#include <algorithm>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"

void SplitExponentPart(std::string& Text, std::string& Exponent) {
  const size_t pos = Text.find_first_of("Ee");
  if (pos == std::string::npos) {
    Exponent.clear();
    return;
  }
  Exponent = Text.substr(pos);
  Text.erase(pos);
}

void RemoveThousandSeparators(std::string& Text) {
  const char separator = DefaultFormatSettings().ThousandSeparator;
  Text.erase(std::remove(Text.begin(), Text.end(), separator), Text.end());
}

void InsertThousandSeparators(std::string& Text) {
  const TFormatSettings& settings = DefaultFormatSettings();
  std::string exponent;
  SplitExponentPart(Text, exponent);
  const size_t first = Text.find_first_not_of(' ');
  if (first == std::string::npos) {
    Text += exponent;
    return;
  }
  const size_t last = Text.find_last_not_of(' ');
  const std::string leading = Text.substr(0, first);
  const std::string trailing = Text.substr(last + 1);
  std::string body = Text.substr(first, last - first + 1);
  RemoveThousandSeparators(body);

  const size_t decimal = body.find(settings.DecimalSeparator);
  size_t end = decimal == std::string::npos ? body.size() : decimal;
  const bool signed_ = !body.empty() && (body[0] == '-' || body[0] == '+');
  const size_t start = signed_ ? 1 : 0;
  // Walks leftwards from the last integer character; a separator goes in
  // front of every third one but never in front of the first.
  for (size_t count = 0; end > start; --end) {
    if (count > 0 && count % 3 == 0) body.insert(end, 1, settings.ThousandSeparator);
    ++count;
  }
  Text = leading + body + trailing + exponent;
}

bool IsNumberText(const std::string& Text) {
  std::string plain = Text;
  RemoveThousandSeparators(plain);
  Extended value = 0;
  return TryStrToFloat(plain, value);
}
