// Runs an undo step when the scope ends, whether it ends normally or by an
// exception: the one way state that a function changes for a while (a flag,
// an update count, a loading state) is put back.
#pragma once

#include <utility>

template <typename Undo>
class ScopeExit {
 public:
  explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() {
    if (armed_) undo_();
  }
  // The change stays: nothing is undone.
  void Dismiss() { armed_ = false; }

 private:
  Undo undo_;
  bool armed_ = true;
};
