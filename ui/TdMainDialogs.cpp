#include "ui/TdMainDialogs.h"

#include "platform/Desktop.h"

void TNotAvailableDialogs::Tell(const QString& what) {
  Desktop().MessageBox(QStringLiteral("Message"), what + QStringLiteral(" is not available yet."), Msg::Information,
                       Msg::Ok);
}

bool TNotAvailableDialogs::EditTodo(TTodoAppHandler&, TTdTodo&, bool, bool) {
  Tell(QStringLiteral("The task editor"));
  return false;
}
bool TNotAvailableDialogs::EditOptions(TTodoAppHandler&, TTdAppOptions&) {
  Tell(QStringLiteral("The options dialog"));
  return false;
}
bool TNotAvailableDialogs::EditFilter(TTodoAppHandler&, TTdAppOptions&) {
  Tell(QStringLiteral("The filter dialog"));
  return false;
}
bool TNotAvailableDialogs::EditSort(TTdAppOptions&) {
  Tell(QStringLiteral("The sort dialog"));
  return false;
}
bool TNotAvailableDialogs::EditCategories(TTodoAppHandler&, int32_t&, TIdArray&, bool, TIdArray&) {
  Tell(QStringLiteral("The category editor"));
  return false;
}
bool TNotAvailableDialogs::EditResources(TTodoAppHandler&, int32_t&, TIdArray&, bool, TIdArray&) {
  Tell(QStringLiteral("The resource editor"));
  return false;
}
bool TNotAvailableDialogs::EditTypes(TTodoAppHandler&, int32_t&, TIdArray&, bool, TIdArray&) {
  Tell(QStringLiteral("The type editor"));
  return false;
}
int TNotAvailableDialogs::ViewArchive(const QString&, TTodoAppHandler&, bool) {
  Tell(QStringLiteral("The archive viewer"));
  return 0;
}
bool TNotAvailableDialogs::RunPrintWizard(TTdAppOptions&, TTodoAppHandler&, TLazyStringTree&, bool&) {
  Tell(QStringLiteral("Printing"));
  return false;
}
void TNotAvailableDialogs::Backup(TTodoAppHandler&) { Tell(QStringLiteral("The backup")); }
void TNotAvailableDialogs::ShowAbout(bool, const QIcon&) { Tell(QStringLiteral("The About box")); }
