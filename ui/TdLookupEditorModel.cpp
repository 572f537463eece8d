#include "ui/TdLookupEditorModel.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "core/UtStrings.h"

#include <array>
#include <type_traits>

namespace LookupEditor {

namespace {

// First picker item, last picker item, image of the first item.
struct TGlyphRun {
  int first, last, image;
};
constexpr std::array<TGlyphRun, 6> kGlyphRuns{{
    {1, 4, 6}, {5, 15, 15}, {16, 21, 31}, {22, 25, 50}, {26, 38, 35}, {39, 39, 48},
}};

// The handler of one list and what a deletion must renumber with it.
template <typename Handler, auto DeleteFn, auto CountFn, auto RenumberFn, void (*ArchiveFn)(const QString&, int32_t)>
class TAccess : public TLookupAccess {
public:
  TAccess(Handler& list, TTodoAppHandler& app) : list_(list), app_(app) {}

  int Count() const override { return list_.Count(); }
  QString Name(int id) const override { return list_.Items().GetItem(id)->Name; }
  int Image(int id) const override {
    if constexpr (requires { list_.Items().GetItem(id)->ImageIndex; }) return list_.Items().GetItem(id)->ImageIndex;
    else return -1;
  }
  bool NameExists(const QString& name) const override { return list_.NameExists(name); }
  int Add(const QString& name, int image) override {
    auto* entry = Append();
    entry->Name = name;
    SetImage(*entry, image);
    list_.SetModified(true);
    return list_.Count() - 1;
  }
  void Replace(int id, const QString& name, int image) override {
    auto* entry = list_.Items().GetItem(id);
    entry->Name = name;
    SetImage(*entry, image);
    list_.SetModified(true);
  }
  int TaskCount(int id) const override { return (app_.TodoHandler().*CountFn)(id, true); }
  void Delete(int id) override {
    (list_.*DeleteFn)(list_.Items().GetItem(id));
    (app_.TodoHandler().*RenumberFn)(id);
  }
  void RenumberArchive(int id) override { ArchiveFn(app_.Options().DatabaseFolder, id); }

private:
  auto* Append() {
    if constexpr (std::is_same_v<Handler, TTdCategoryHandler>) return list_.AddCategory();
    else if constexpr (std::is_same_v<Handler, TTdResourceHandler>) return list_.AddResource();
    else return list_.AddType();
  }
  template <typename Entry>
  static void SetImage(Entry& entry, int image) {
    if constexpr (requires { entry.ImageIndex; }) entry.ImageIndex = image;
  }

  Handler& list_;
  TTodoAppHandler& app_;
};

using TCategoryAccess = TAccess<TTdCategoryHandler, &TTdCategoryHandler::DeleteCategory,
                                &TTdTodoHandler::CountByCategory, &TTdTodoHandler::RenumberCategory,
                                &RenumberArchiveCategory>;
using TResourceAccess = TAccess<TTdResourceHandler, &TTdResourceHandler::DeleteResource,
                                &TTdTodoHandler::CountByResource, &TTdTodoHandler::RenumberResource,
                                &RenumberArchiveResource>;
using TTypeAccess = TAccess<TTdTypeHandler, &TTdTypeHandler::DeleteType, &TTdTodoHandler::CountByType,
                            &TTdTodoHandler::RenumberType, &RenumberArchiveType>;

}  // namespace

const TVariant& VariantOf(TLookupKind kind) {
  static const TVariant categories{QStringLiteral("Edit Categories"), QStringLiteral("Categories:"),
                                   QStringLiteral("Category"), QStringLiteral("Category already exists"), true};
  static const TVariant resources{QStringLiteral("Edit Resources"), QStringLiteral("Resources:"),
                                  QStringLiteral("Resource"), QStringLiteral("Resource already exists"), false};
  static const TVariant types{QStringLiteral("Edit Types"), QStringLiteral("Types:"), QStringLiteral("Type"),
                              QStringLiteral("Type already exists"), true};
  switch (kind) {
    case TLookupKind::Category: return categories;
    case TLookupKind::Resource: return resources;
    case TLookupKind::Type: break;
  }
  return types;
}

int GlyphPickerImage(int item) {
  for (const TGlyphRun& run : kGlyphRuns)
    if (item >= run.first && item <= run.last) return run.image + item - run.first;
  return -1;
}

int GlyphPickerItemOf(int imageIndex) {
  for (int item = 1; item <= kGlyphPickerCount; ++item)
    if (GlyphPickerImage(item) == imageIndex) return item;
  return 0;
}

bool CanAdd(const QString& name) { return !name.isEmpty(); }

bool CanDelete(bool itemSelected) { return itemSelected; }

bool CanReplace(const TVariant& variant, bool itemSelected, const QString& name, const QString& selectedText) {
  if (!itemSelected || name.isEmpty()) return false;
  return variant.hasImage || !FastSameText(name, selectedText);
}

QString DeleteQuestion(const TVariant& variant, const QString& name, int taskCount) {
  const QString consequence =
      taskCount == 0 ? QStringLiteral("There are no To-Do items using this %1.").arg(variant.noun)
                     : QStringLiteral("The %1 To-Do items using this %2 will be unlinked.").arg(taskCount).arg(variant.noun);
  return QStringLiteral("Do you want to delete \"%1\"? ").arg(name) + consequence;
}

int32_t DefaultAfterDelete(int32_t defaultId, int32_t deletedId) {
  if (defaultId == deletedId) return 0;
  return defaultId > deletedId ? defaultId - 1 : defaultId;
}

std::unique_ptr<TLookupAccess> AccessTo(TLookupKind kind, TTodoAppHandler& app) {
  switch (kind) {
    case TLookupKind::Category: return std::make_unique<TCategoryAccess>(app.CategoryHandler(), app);
    case TLookupKind::Resource: return std::make_unique<TResourceAccess>(app.ResourceHandler(), app);
    case TLookupKind::Type: break;
  }
  return std::make_unique<TTypeAccess>(app.TypeHandler(), app);
}

void DeleteEntry(TLookupAccess& list, TTodoAppHandler& app, int id, TSelection& selection) {
  list.Delete(id);
  TTdCategoryHandler::RenumberIdArray(selection.include, id);
  TTdCategoryHandler::RenumberIdArray(selection.exclude, id);
  selection.defaultId = DefaultAfterDelete(selection.defaultId, id);
  app.TodoHandler().Save();
  app.TypeHandler().Save();
  app.ResourceHandler().Save();
  app.CategoryHandler().Save();
  list.RenumberArchive(id);
}

}  // namespace LookupEditor
