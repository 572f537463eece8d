#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"

void TTodoAppHandler::ReopenStores(const QString& folder) {
  // Loaded aside first, so a damaged file in the new folder leaves the run as it was.
  auto categories = std::make_unique<TTdCategoryHandler>(folder + QStringLiteral("cat.tbl"));
  categories->Load();
  auto resources = std::make_unique<TTdResourceHandler>(folder + QStringLiteral("res.tbl"));
  resources->Load();
  auto types = std::make_unique<TTdTypeHandler>(folder + QStringLiteral("type.tbl"));
  types->Load();
  auto todos = std::make_unique<TTdTodoHandler>(folder + QStringLiteral("todo.tbl"));
  todos->Load();
  categories_ = std::move(categories);
  resources_ = std::move(resources);
  types_ = std::move(types);
  todos_ = std::move(todos);
  iconCache_.clear();
  BuildAssociationIcons();
}
