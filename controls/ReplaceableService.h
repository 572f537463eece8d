#pragma once
// A desktop service the controls reach through one function, in whose place a test can
// put a fake for the lifetime of a scope (each service offers its own scope class).
#include <atomic>

template <typename Service>
class ReplaceableService {
public:
  // The replacement when there is one, else `real`.
  Service& Current(Service& real) const {
    Service* replacement = replacement_.load();
    return replacement != nullptr ? *replacement : real;
  }
  // Puts `replacement` in place for its lifetime, then the one before it again. Scopes
  // nest and end in the reverse order.
  class Scope {
  public:
    Scope(ReplaceableService& service, Service& replacement)
        : service_(service), previous_(service.replacement_.exchange(&replacement)) {}
    ~Scope() { service_.replacement_.store(previous_); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

  private:
    ReplaceableService& service_;
    Service* previous_;
  };

private:
  std::atomic<Service*> replacement_{nullptr};
};
