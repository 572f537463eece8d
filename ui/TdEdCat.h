#pragma once
// "Edit Categories": the category list's editor. Deleting a category unlinks the tasks using it,
// in the task list and in the archive, and renumbers the ids that follow it.
#include "core/TdOption.h"

class TLTImageList;
class QWidget;
class TTodoAppHandler;

// True when something changed; then the default id and both filter lists come back
// renumbered. `images` are the task tree's pictures.
bool ShowEditCategoryDialog(TTodoAppHandler& app, const TLTImageList& images, int32_t& defaultId, TIdArray& include,
                            bool stayOnTop, TIdArray& exclude, QWidget* parent = nullptr);
