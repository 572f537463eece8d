// The association icon cache: one task-tree image per file extension.
#include "core/TdApp.h"

#include "core/BTodo.h"
#include "core/UtShell.h"

#include <QIcon>

namespace {

// ".DOC" for "Letter.doc": from the last dot of the last path element, upper-cased;
// empty when that element has no dot.
QString UpperExtension(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 0; --i) {
    const QChar c = path[i];
    if (c == u'.') return path.mid(i).toUpper();
    if (c == u'/') break;
  }
  return {};
}

}  // namespace

int TTodoAppHandler::AssociationIconIndex(const TTdTodo& task) const {
  if (task.Association.isEmpty()) return -1;
  const QString extension = UpperExtension(task.Association);
  if (extension.isEmpty()) return -1;
  const auto found = iconCache_.find(extension);
  return found == iconCache_.end() ? -1 : found->second;
}

void TTodoAppHandler::AddAssociationIcon(const TTdTodo& task) {
  const QString extension = UpperExtension(task.Association);
  if (extension.isEmpty() || iconCache_.contains(extension)) return;
  iconCache_.emplace(extension, AddIconForFile(task.Association));
}

void TTodoAppHandler::BuildAssociationIcons() {
  for (const auto& task : todos_->Todos()) AddAssociationIcon(*task);
}

int TTodoAppHandler::AddIconForFile(const QString& path) {
  // Without a window there is no image list to put the icon in.
  if (mainLink_ == nullptr) return -1;
  QIcon small;
  if (!GetFileIcon(path, nullptr, &small) || small.isNull()) return -1;
  return mainLink_->AddTaskImage(small);
}
