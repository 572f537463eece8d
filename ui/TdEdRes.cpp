#include "ui/TdEdRes.h"

#include "ui/TdLookupEditor.h"

bool ShowEditResourceDialog(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                            TIdArray& exclude, QWidget* parent) {
  return ShowLookupEditor(LookupEditor::TLookupKind::Resource, app, nullptr, defaultId, include, stayOnTop, exclude,
                          parent);
}
