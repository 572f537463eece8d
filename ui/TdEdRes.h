#pragma once
// "Edit Resources": the resource list's editor. Deleting a resource unlinks the tasks using it,
// in the task list and in the archive, and renumbers the ids that follow it.
#include "core/TdOption.h"

class QWidget;
class TTodoAppHandler;

// True when something changed; then the default id and both filter lists come back
// renumbered.
bool ShowEditResourceDialog(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                            TIdArray& exclude, QWidget* parent = nullptr);
