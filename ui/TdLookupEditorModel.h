#pragma once
// What the category, resource and type editors share without a window: the texts of
// each list, the buttons' enabling, the delete question, the glyph picker's images and
// the access to one list with everything that must follow when one of its entries goes.
#include "core/TdOption.h"

#include <QString>

#include <memory>

class TTodoAppHandler;

namespace LookupEditor {

enum class TLookupKind { Category, Resource, Type };

constexpr int kHelpContext = 7;
constexpr int kGlyphPickerCount = 39;

// The texts of one list.
struct TVariant {
  QString caption;      // "Edit Categories"
  QString listCaption;  // "Categories:"
  QString noun;         // "Category", in the delete question
  QString exists;       // "Category already exists"
  bool hasImage;
};
const TVariant& VariantOf(TLookupKind kind);

// The image the picker item (1..39) shows; -1 outside.
int GlyphPickerImage(int item);
// The first picker item showing the image; 0 when none does.
int GlyphPickerItemOf(int imageIndex);

bool CanAdd(const QString& name);
bool CanDelete(bool itemSelected);
// Categories and types take a new image under the same name; a resource only a name
// that differs, regardless of case, from what it has.
bool CanReplace(const TVariant& variant, bool itemSelected, const QString& name, const QString& selectedText);

// "Do you want to delete "Home"? The 3 To-Do items using this Category will be unlinked."
QString DeleteQuestion(const TVariant& variant, const QString& name, int taskCount);

// The default id after entry `deletedId` went: the entry itself leaves none (0), an
// entry above it moves down with the list.
int32_t DefaultAfterDelete(int32_t defaultId, int32_t deletedId);

// One lookup list of the application handler, by position (entry 0 included).
class TLookupAccess {
public:
  virtual ~TLookupAccess() = default;
  virtual int Count() const = 0;
  virtual QString Name(int id) const = 0;
  // -1 for none, and for a list without images.
  virtual int Image(int id) const = 0;
  virtual bool NameExists(const QString& name) const = 0;
  // Appends an entry; marks the list modified. Returns its id.
  virtual int Add(const QString& name, int image) = 0;
  // Marks the list modified.
  virtual void Replace(int id, const QString& name, int image) = 0;
  // The tasks of the live store using the entry, templates included.
  virtual int TaskCount(int id) const = 0;
  // Removes entry `id` and renumbers the live tasks to follow.
  virtual void Delete(int id) = 0;
  // Renumbers the tasks of the archive file after entry `id` went; writes it at once.
  virtual void RenumberArchive(int id) = 0;
};
std::unique_ptr<TLookupAccess> AccessTo(TLookupKind kind, TTodoAppHandler& app);

// What the caller hands in and gets back: the default entry and the filter id lists.
struct TSelection {
  int32_t defaultId = 0;
  TIdArray include;
  TIdArray exclude;
};

// Deletes entry `id` with everything that follows it: the live tasks, the selection's
// ids and default, and the archive file. The table files are saved at once with the
// archive, so the two never disagree on disk. The archive comes last: a damaged one
// raises its error after everything else is in order.
void DeleteEntry(TLookupAccess& list, TTodoAppHandler& app, int id, TSelection& selection);

}  // namespace LookupEditor
