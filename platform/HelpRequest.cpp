#include "platform/HelpRequest.h"

#include "platform/AppContext.h"

void ShowHelpContext(int context) {
  const std::function<void(int)>& help = AppContext().Help;
  if (help) help(context);
}
