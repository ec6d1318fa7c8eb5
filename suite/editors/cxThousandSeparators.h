// Thousand separators in number texts, as the number editors show them while
// editing and for display. Separators and the decimal separator are the
// process-wide format settings' ones.
#pragma once

#include <string>

// Moves the part from the first "E" or "e" to the end into Exponent (empty
// when there is none).
void SplitExponentPart(std::string& Text, std::string& Exponent);
void RemoveThousandSeparators(std::string& Text);
// Regroups the integer digits in threes; leading and trailing blanks and the
// exponent stay where they were, and no separator follows a leading sign.
void InsertThousandSeparators(std::string& Text);
// The text without its separators reads as a number.
bool IsNumberText(const std::string& Text);
