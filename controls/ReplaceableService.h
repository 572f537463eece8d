#pragma once
// A desktop service the controls reach through one function, in whose place a test can
// put a fake for the lifetime of a scope: one slot per service type.
#include <atomic>

template <typename Service>
class ReplaceableService {
public:
  // The replacement when there is one, else `real`.
  static Service& Current(Service& real) {
    Service* replacement = replacement_.load();
    return replacement != nullptr ? *replacement : real;
  }
  // Puts `replacement` in place for its lifetime, then the one before it again. Scopes
  // nest and end in the reverse order.
  class Scope {
  public:
    explicit Scope(Service& replacement) : previous_(replacement_.exchange(&replacement)) {}
    ~Scope() { replacement_.store(previous_); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

  private:
    Service* previous_;
  };

private:
  static inline std::atomic<Service*> replacement_{nullptr};
};
