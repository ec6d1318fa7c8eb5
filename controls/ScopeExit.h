// Runs a piece of code when a scope ends, however it ends, unless dismissed:
// the grid puts back state it changed for the length of an operation.
#pragma once

#include <utility>

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : F_(std::move(f)) {}
  ~ScopeExit() {
    if (Active_) F_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  void Dismiss() { Active_ = false; }

 private:
  F F_;
  bool Active_ = true;
};
