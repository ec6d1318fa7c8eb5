// The pattern matcher of the filter's like and not-like conditions: one
// wildcard stands for any run of characters (% by default), one for exactly
// one character (_ by default). Matching is case-sensitive and counts
// characters (UTF-8 code points); the caller upper-cases both sides for a
// case-insensitive match.
//
// A run of unescaped any-run wildcards counts as one ("a%%" matches "a" as
// "a%" does), and matching takes time proportional to text length times
// pattern length: no pattern backtracks exponentially.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/System.h"

bool LikeMatch(std::string_view AText, std::string_view APattern, char AAnyRun = '%', char AAnyOne = '_');
// With an escape character (0 for none) that makes the next pattern character
// literal. The lengths are byte counts of the two texts.
bool LikeMatchCore(const char* AText, Integer ATextLength, const char* APattern, char AEscape, char AAnyOne,
                   char AAnyRun, Integer APatternLength);
// Replaces every pair of consecutive wildcards by one until none is left.
void CollapseDoubledWildcard(std::string& APattern, char AWildcard);
// After collapsing: removes a leading wildcard (adds 2 to the answer) and a
// trailing one (adds 1); patterns shorter than 2 characters answer 0.
Integer StripLikeWildcards(std::string& APattern, char AWildcard);
