#include "ui/TaskCellTexts.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "platform/FormatSettings.h"
#include "ui/TdCommon.h"

#include <cmath>

namespace {

QString CategoryName(const TTdTodo& task, const TTaskViewContext& c) {
  return c.Categories ? c.Categories->NameOf(task.Category) : QString::fromLatin1(TCategoryTraits::NoEntryName);
}
QString ResourceName(const TTdTodo& task, const TTaskViewContext& c) {
  return c.Resources ? c.Resources->NameOf(task.Resource) : QString::fromLatin1(TResourceTraits::NoEntryName);
}
QString TypeName(const TTdTodo& task, const TTaskViewContext& c) {
  return c.Types ? c.Types->NameOf(task.Type) : QString::fromLatin1(TTypeTraits::NoEntryName);
}

// An entry's own image, 0 when it has none (or the id is outside the list).
template <typename Handler>
int EntryImage(const Handler* handler, int32_t id) {
  if (!handler || id < 0 || id >= handler->Count()) return 0;
  const int image = handler->Items().GetItem(id)->ImageIndex;
  return image < 0 ? 0 : image;
}

QString DateText(TDateTime value, bool withTime) { return withTime ? DateTimeText(value) : ShortDateText(value); }

// A due date of 0 means the task has none.
bool HasDue(const TTdTodo& task) { return task.Due != 0; }

}  // namespace

QString DaysText(double days) { return FormatSettings().Locale.toString(days, 'f', 1); }

QString TaskCellText(const TTdTodo& task, int column, const TTaskViewContext& c) {
  const TTdAppOptions& o = *c.Options;
  switch (column) {
    case tcID: return QString::number(task.ID);
    case tcTitle: return task.IsTemplate() ? QStringLiteral("[TEMPLATE] ") + task.Title : task.Title;
    case tcCategory: return o.DisplayTextCategory ? CategoryName(task, c) : QString();
    case tcPriority: return o.DisplayTextPriority ? task.PriorityText() : QString();
    case tcCreated: return DateText(task.Created, o.DisplayDTCreatedTime);
    case tcDue:
      if (task.IsTemplate()) return QStringLiteral("TEMPLATE");
      if (!HasDue(task)) return QStringLiteral("-");
      return DateText(task.Due, o.DisplayDTDueTime);
    case tcStatus: return o.DisplayTextStatus ? task.StatusText() : QString();
    case tcPercent: return QString::number(task.Percent) + QLatin1Char('%');
    case tcCompleted:
      return task.Completed == 0 ? QStringLiteral("-") : DateText(task.Completed, o.DisplayDTCompletedTime);
    case tcNotes: {
      QString notes = task.Notes.left(40);
      notes.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
      return notes;
    }
    case tcReminder: return task.ReminderActivated() ? DateTimeText(task.ReminderDateTime) : QString();
    case tcResource: return o.DisplayResource ? ResourceName(task, c) : QString();
    case tcDaysGone: return o.DisplayDaysGone ? DaysText(std::fabs(c.Now - task.Created)) : QString();
    case tcDaysLeft:
      if (!o.DisplayDaysLeft || !HasDue(task)) return {};
      return DaysText(c.Now > task.Due ? -(c.Now - task.Due) : task.Due - c.Now);
    case tcType: return o.DisplayTextType ? TypeName(task, c) : QString();
    default: return {};  // done, link, flag, recurring: images and the check box only
  }
}

int TaskCellImage(const TTdTodo& task, int column, const TTaskViewContext& c) {
  const TTdAppOptions& o = *c.Options;
  switch (column) {
    case tcCategory: return o.DisplayImageCategory ? EntryImage(c.Categories, task.Category) : -1;
    case tcPriority: return o.DisplayImagePriority ? PriorityImage(task.Priority, 0) : -1;
    case tcStatus: return o.DisplayImageStatus ? StatusImage(task.Status, 0) : -1;
    case tcLink: {
      if (!o.DisplayImageAssociation) return -1;
      const int icon = task.Association.isEmpty() || !c.AssociationImage ? -1 : c.AssociationImage(task);
      return icon < 0 ? 0 : icon;
    }
    case tcReminder:
      if (!o.DisplayImageDTReminder) return -1;
      return task.ReminderActivated() ? ReminderImage(task.ReminderType, 0) : 0;
    case tcFlag: return o.DisplayFlagged ? FlagImage(task.Flagged()) : -1;
    case tcType: return o.DisplayImageType ? EntryImage(c.Types, task.Type) : -1;
    case tcRecurring: return o.DisplayRecurring ? RecurringImage(task.IsTemplate() || task.FromTemplate()) : -1;
    default: return -1;
  }
}

QString TaskCellHint(const TTdTodo& task, int column, const TTaskViewContext& c) {
  const TTdAppOptions& o = *c.Options;
  switch (column) {
    case tcDone:
      return task.IsOK() ? QStringLiteral("Click to change status to Working")
                         : QStringLiteral("Click to change status to OK");
    case tcTitle:
      return o.UseNotes && o.ShowNotesAsHint && !task.Notes.isEmpty() ? WrapText(task.Notes, 45) : QString();
    case tcCategory: return o.DisplayTextCategory ? QString() : CategoryName(task, c);
    case tcPriority: return o.DisplayTextPriority ? QString() : task.PriorityText();
    case tcStatus: return o.DisplayTextStatus ? QString() : task.StatusText();
    case tcType: return o.DisplayTextType ? QString() : TypeName(task, c);
    case tcCreated:
      return o.DisplayDTCreatedTime ? QString() : QStringLiteral("Created ") + DateTimeText(task.Created);
    case tcDue:
      if (task.IsTemplate() || o.DisplayDTDueTime || !HasDue(task)) return {};
      return QStringLiteral("Due ") + DateTimeText(task.Due);
    case tcCompleted:
      if (o.DisplayDTCompletedTime || task.Completed == 0) return {};
      return QStringLiteral("Completed ") + DateTimeText(task.Completed);
    case tcLink: return task.Association;
    case tcReminder:
      return task.ReminderActivated() ? QStringLiteral("Reminder at ") + DateTimeText(task.ReminderDateTime)
                                      : QString();
    case tcFlag:
      return task.Flagged() ? QStringLiteral("Double-click to clear flag") : QStringLiteral("Double-click to set flag");
    default: return {};
  }
}

QString ColumnHeaderHint(int column) {
  static const char* const hints[kColumnCount] = {
      "Mark checkbox when Task is done",
      "ID number for the Task",
      "Title for the Task",
      "Category for the Task",
      "Priority for the Task",
      "Date when the Task was created",
      "Date when the Task is due",
      "Status for the Task",
      "Percent complete",
      "Date when the Task was completed",
      "Program/Document associated with the Task",
      "Notes for the Task",
      "Reminder for the Task",
      "Resource for the Task",
      "Flag for the Task",
      "Days gone since Task was created",
      "Days left before Task is due",
      "Type for the Task",
      "Recurring Task",
  };
  return column >= 0 && column < kColumnCount ? QString::fromLatin1(hints[column]) : QString();
}

bool ColumnShown(int column, const TTdAppOptions& o) {
  switch (column) {
    case tcDone: return o.DisplayDone;
    case tcID: return o.DisplayID;
    case tcTitle: return true;
    case tcCategory: return o.DisplayCategory;
    case tcPriority: return o.DisplayPriority;
    case tcCreated: return o.DisplayDTCreated;
    case tcDue: return o.DisplayDTDue;
    case tcStatus: return o.DisplayStatus;
    case tcPercent: return o.DisplayPercent;
    case tcCompleted: return o.DisplayDTCompleted;
    case tcLink: return o.DisplayImageAssociation;
    case tcNotes: return o.DisplayNotes;
    case tcReminder: return o.DisplayImageDTReminder;
    case tcResource: return o.DisplayResource;
    case tcFlag: return o.DisplayFlagged;
    case tcDaysGone: return o.DisplayDaysGone;
    case tcDaysLeft: return o.DisplayDaysLeft;
    case tcType: return o.DisplayType;
    case tcRecurring: return o.DisplayRecurring;
    default: return false;
  }
}

bool ColumnShowsText(int column, const TTdAppOptions& o) {
  switch (column) {
    case tcCategory: return o.DisplayTextCategory;
    case tcPriority: return o.DisplayTextPriority;
    case tcStatus: return o.DisplayTextStatus;
    case tcType: return o.DisplayTextType;
    case tcDone:
    case tcLink:
    case tcFlag:
    case tcRecurring: return false;
    default: return column >= 0 && column < kColumnCount;
  }
}

bool ColumnShowsImage(int column, const TTdAppOptions& o) {
  switch (column) {
    case tcCategory: return o.DisplayImageCategory;
    case tcPriority: return o.DisplayImagePriority;
    case tcStatus: return o.DisplayImageStatus;
    case tcType: return o.DisplayImageType;
    case tcLink: return o.DisplayImageAssociation;
    case tcReminder: return o.DisplayImageDTReminder;
    case tcFlag: return o.DisplayFlagged;
    case tcRecurring: return o.DisplayRecurring;
    default: return false;
  }
}

QString ColumnHeaderCaption(int column, const TTdAppOptions& o) {
  if (o.ShortColumnNames) {
    const bool imageOnly = ColumnShowsImage(column, o) && !ColumnShowsText(column, o);
    const bool narrow = column == tcCategory || column == tcPriority || column == tcStatus || column == tcType;
    if ((narrow && imageOnly) || column == tcFlag) return ColumnLetter(column);
  }
  return ColumnCaption(column);
}

QString WrapText(const QString& text, int width) {
  QStringList out;
  const QStringList paragraphs = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
  for (const QString& paragraph : paragraphs) {
    QString line;
    for (QString word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      while (word.size() > width) {  // a word longer than a line is cut
        if (!line.isEmpty()) out << line, line.clear();
        out << word.left(width);
        word = word.mid(width);
      }
      if (line.isEmpty()) line = word;
      else if (line.size() + 1 + word.size() <= width) line += QLatin1Char(' ') + word;
      else out << line, line = word;
    }
    out << line;
  }
  return out.join(QLatin1Char('\n'));
}
