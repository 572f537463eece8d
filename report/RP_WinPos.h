#pragma once
// Window positions of the engine's windows in the per-user store: under
// "Software\BandReport", the sub-key "Form\" + the window's class name, the values
// "XPosition", "YPosition", "Width", "Height" and "Maximized".
#include "platform/RegistryStore.h"

class QWidget;

// Writes all five values.
void rpSaveFormPosition(QWidget& window, const RegistryStore& store = RegistryStore());
// Normal state when "Maximized" reads false (maximised when it is absent), then the
// bounds, each value defaulting to the window's current one.
void rpRestoreFormPosition(QWidget& window, const RegistryStore& store = RegistryStore());
