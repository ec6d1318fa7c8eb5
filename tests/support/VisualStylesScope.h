// Puts the visual style on or off for one test and back afterwards, so that
// a drawing test says which look it draws in.
#pragma once

#include "platform/win/UxTheme.h"

class VisualStylesScope {
 public:
  explicit VisualStylesScope(bool on) : was_(win::VisualStylesEnabled()) { win::SetVisualStylesEnabled(on); }
  ~VisualStylesScope() { win::SetVisualStylesEnabled(was_); }
  VisualStylesScope(const VisualStylesScope&) = delete;
  VisualStylesScope& operator=(const VisualStylesScope&) = delete;

 private:
  bool was_;
};
