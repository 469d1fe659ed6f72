#pragma once
// Runs an action when the scope ends, however it ends: for undoing a step that has no
// handle of its own to own.

#include <utility>

template <typename F>
class TScopeExit {
 public:
  explicit TScopeExit(F f) : FAction(std::move(f)) {}
  ~TScopeExit() { FAction(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F FAction;
};
