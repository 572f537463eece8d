#include "platform/HelpRequest.h"

namespace {
std::function<void(int)>& Handler() {
  static std::function<void(int)> handler;
  return handler;
}
}  // namespace

void ShowHelpContext(int context) {
  if (Handler()) Handler()(context);
}

std::function<void(int)> SetHelpHandler(std::function<void(int)> handler) {
  std::swap(Handler(), handler);
  return handler;
}
