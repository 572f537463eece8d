#pragma once
// Holds a tree in its update bracket for a scope: BeginTreeUpdate now, EndTreeUpdate when
// the scope ends, however it ends, so a failing step never leaves the tree frozen.
#include <exception>

template <typename Tree>
class TTreeUpdateGuard {
public:
  explicit TTreeUpdateGuard(Tree& tree) : tree_(tree), exceptions_(std::uncaught_exceptions()) {
    tree_.BeginTreeUpdate();
  }
  TTreeUpdateGuard(const TTreeUpdateGuard&) = delete;
  TTreeUpdateGuard& operator=(const TTreeUpdateGuard&) = delete;
  // Ending the update runs the owner's events, which may throw: on the normal path that
  // error goes to the caller; while another error unwinds, that one is kept and the
  // second dropped, since two at once would end the program.
  ~TTreeUpdateGuard() noexcept(false) {
    if (std::uncaught_exceptions() == exceptions_) {
      tree_.EndTreeUpdate();
      return;
    }
    try {
      tree_.EndTreeUpdate();
    } catch (...) {
    }
  }

private:
  Tree& tree_;
  int exceptions_;
};
