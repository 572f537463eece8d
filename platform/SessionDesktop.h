#pragma once
// The real desktop session behind the Desktop seam: libcanberra sounds, the desktop's
// document opener, the toolkit's message boxes, cursor and screens.
#include "platform/Desktop.h"

#include <memory>

std::unique_ptr<DesktopServices> CreateSessionDesktop();
