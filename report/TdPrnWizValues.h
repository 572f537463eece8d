#pragma once
// What the print wizard prints for a task: the text of each text column, the image of
// each picture column, the row colours; and the rows themselves, the visible nodes of
// the task tree walked as the report's user data set walks them.
#include "treeview/LazyTreeTypes.h"

#include <QString>

#include <cstdint>
#include <functional>

class TLazyStringTree;
class TTdTodo;
class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTypeHandler;
class TTodoAppHandler;
struct TTdAppOptions;

// Where the lookup names, entry images and association icons come from; any may be null
// (then names read as the lookup's "[no ...]" text and images as 0).
struct TPrintValueSources {
  const TTdCategoryHandler* Categories = nullptr;
  const TTdResourceHandler* Resources = nullptr;
  const TTdTypeHandler* Types = nullptr;
  // The icon index of a task's association, -1 when none is cached.
  std::function<int(const TTdTodo&)> AssociationImage;
};
TPrintValueSources PrintValueSourcesOf(TTodoAppHandler& app);

// The printed text of a text or check-box column (code 5: "1" when the status is OK,
// else "0"); empty for picture columns and unknown codes. Dates in the locale's short
// format, day spans at Now.
QString PrintColumnText(int code, const TTdTodo& task, const TPrintValueSources& sources);
// The image index of a picture column; 0 for no image and for other codes.
int PrintColumnImage(int code, const TTdTodo& task, const TPrintValueSources& sources);
// A row's background: the first row (0) and every other one take BackColorOdd.
int32_t PrintRowColor(int row, const TTdAppOptions& options);

// The rows of the report: the visible nodes of the task tree in display order. The
// cursor stands on a node (none = the end) with its row number from 0.
class TPrintTaskCursor {
public:
  using TaskOfNode = std::function<TTdTodo*(PLazyNode)>;
  TPrintTaskCursor(TLazyStringTree& tree, TaskOfNode taskOf) : tree_(tree), taskOf_(std::move(taskOf)) {}

  void First();
  void Next();
  bool Eof() const { return node_ == nullptr; }
  TTdTodo* Task() const;
  int Row() const { return row_; }

private:
  TLazyStringTree& tree_;
  TaskOfNode taskOf_;
  PLazyNode node_ = nullptr;
  int row_ = 0;
};
