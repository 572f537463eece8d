#include "ui/TdEdType.h"

#include "ui/TdLookupEditor.h"

bool ShowEditTypeDialog(TTodoAppHandler& app, const TLTImageList& images, int32_t& defaultId, TIdArray& include,
                        bool stayOnTop, TIdArray& exclude, QWidget* parent) {
  return ShowLookupEditor(LookupEditor::TLookupKind::Type, app, &images, defaultId, include, stayOnTop, exclude,
                          parent);
}
