#include "ui/TdEdCat.h"

#include "ui/TdLookupEditor.h"

bool ShowEditCategoryDialog(TTodoAppHandler& app, const TLTImageList& images, int32_t& defaultId, TIdArray& include,
                            bool stayOnTop, TIdArray& exclude, QWidget* parent) {
  return ShowLookupEditor(LookupEditor::TLookupKind::Category, app, &images, defaultId, include, stayOnTop, exclude,
                          parent);
}
