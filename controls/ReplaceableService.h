#pragma once
// A desktop service the controls reach through one function, in whose place a test can
// put a fake for as long as it runs.
#include <atomic>

template <typename Service>
class ReplaceableService {
public:
  // The replacement when there is one, else `real`.
  Service& Current(Service& real) const {
    Service* replacement = replacement_.load();
    return replacement != nullptr ? *replacement : real;
  }
  // Puts `replacement` in place (nullptr: the real one again); returns the one replaced.
  Service* Replace(Service* replacement) { return replacement_.exchange(replacement); }

private:
  std::atomic<Service*> replacement_{nullptr};
};
