#include "report/TdPrnWizValues.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "core/TdOption.h"
#include "platform/FormatSettings.h"
#include "report/TdPrnWizModel.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdCommon.h"

namespace {

template <typename Handler>
QString NameOf(const Handler* handler, int32_t id, const char* noEntry) {
  return handler ? handler->NameOf(id) : QString::fromLatin1(noEntry);
}

// An entry's own image, 0 when it has none or the id is outside the list.
template <typename Handler>
int EntryImage(const Handler* handler, int32_t id) {
  if (!handler || id < 0 || id >= handler->Count()) return 0;
  const int image = handler->Items().GetItem(id)->ImageIndex;
  return image < 0 ? 0 : image;
}

// 0 stands for "no date".
QString DateOrDash(TDateTime value, bool withTime) {
  if (value == 0) return QStringLiteral("-");
  return withTime ? DateTimeText(value) : ShortDateText(value);
}

QString DueText(const TTdTodo& task, bool withTime) {
  return task.IsTemplate() ? QStringLiteral("TEMPLATE") : DateOrDash(task.Due, withTime);
}

// Fixed notation with one decimal, the locale's decimal separator, no digit grouping.
QString DaySpanText(double days) {
  QLocale locale = FormatSettings().Locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale.toString(days, 'f', 1);
}

// Reminder types without an image of their own (0) print no image, like a switched-off
// reminder.
int ReminderPicture(const TTdTodo& task) {
  return task.ReminderActivated() ? ReminderTypeImageIndex(task.ReminderType, 0) : 0;
}

}  // namespace

TPrintValueSources PrintValueSourcesOf(TTodoAppHandler& app) {
  TPrintValueSources sources;
  sources.Categories = &app.CategoryHandler();
  sources.Resources = &app.ResourceHandler();
  sources.Types = &app.TypeHandler();
  sources.AssociationImage = [&app](const TTdTodo& task) { return app.AssociationIconIndex(task); };
  return sources;
}

QString PrintColumnText(int code, const TTdTodo& task, const TPrintValueSources& s) {
  switch (code) {
    case pwCode::LinkText: return task.Association;
    case pwCode::CategoryText: return NameOf(s.Categories, task.Category, TCategoryTraits::NoEntryName);
    case pwCode::OK: return task.Status == tsOK ? QStringLiteral("1") : QStringLiteral("0");
    case pwCode::DateCompleted: return DateOrDash(task.Completed, false);
    case pwCode::DateTimeCompleted: return DateOrDash(task.Completed, true);
    case pwCode::DateCreated: return DateOrDash(task.Created, false);
    case pwCode::DateTimeCreated: return DateOrDash(task.Created, true);
    case pwCode::DateDue: return DueText(task, false);
    case pwCode::DateTimeDue: return DueText(task, true);
    case pwCode::ReminderText:
      return task.ReminderActivated() ? DateTimeText(task.ReminderDateTime) : QStringLiteral("-");
    case pwCode::Title: return task.Title;
    case pwCode::Notes: return task.Notes;
    case pwCode::Percent: return QString::number(task.Percent);
    case pwCode::PriorityText: return task.PriorityText();
    case pwCode::Resource: return NameOf(s.Resources, task.Resource, TResourceTraits::NoEntryName);
    case pwCode::StatusText: return task.StatusText();
    case pwCode::ID: return QString::number(task.ID);
    case pwCode::DaysGone: return DaySpanText(task.DaysGone());
    case pwCode::DaysLeft: return DaySpanText(task.DaysLeft());
    case pwCode::TypeText: return NameOf(s.Types, task.Type, TTypeTraits::NoEntryName);
    default: return QString();
  }
}

int PrintColumnImage(int code, const TTdTodo& task, const TPrintValueSources& s) {
  switch (code) {
    case pwCode::LinkImage: {
      const int icon = !task.Association.isEmpty() && s.AssociationImage ? s.AssociationImage(task) : -1;
      return icon < 0 ? 0 : icon;
    }
    case pwCode::CategoryImage: return EntryImage(s.Categories, task.Category);
    case pwCode::ReminderImage: return ReminderPicture(task);
    case pwCode::PriorityImage: return PriorityImageIndex(task.Priority, 0);
    case pwCode::StatusImage: return StatusImageIndex(task.Status, 0);
    case pwCode::Flag: return FlagImage(task.Flagged());
    case pwCode::TypeImage: return EntryImage(s.Types, task.Type);
    case pwCode::Recurring: return RecurringImage(task.IsTemplate() || task.FromTemplate());
    default: return 0;
  }
}

int32_t PrintRowColor(int row, const TTdAppOptions& options) {
  return (row + 1) % 2 == 1 ? options.BackColorOdd : options.BackColorEven;
}

void TPrintTaskCursor::First() {
  node_ = tree_.GetFirstVisible();
  row_ = 0;
}

void TPrintTaskCursor::Next() {
  if (!node_) return;
  node_ = tree_.GetNextVisible(node_);
  ++row_;
}

TTdTodo* TPrintTaskCursor::Task() const { return node_ && taskOf_ ? taskOf_(node_) : nullptr; }
