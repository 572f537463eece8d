// The export file: the task list as text, one line per task.
#include "core/TdApp.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "platform/SafeFile.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Values go out as they are: quotes and line breaks inside them are not escaped.
void Field(QString& line, const QString& value) {
  line += QLatin1Char('"');
  line += value;
  line += QLatin1String("\";");
}

QString Bit(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

QByteArray TTodoAppHandler::ExportBytes() const {
  const TTdAppOptions& o = Options();
  QString text;
  Field(text, QStringLiteral("ID"));
  if (o.UseCategory) Field(text, QStringLiteral("Category"));
  if (o.UseResource) Field(text, QStringLiteral("Resource"));
  Field(text, QStringLiteral("Title"));
  if (o.UseNotes) Field(text, QStringLiteral("Notes"));
  if (o.UsePriority) Field(text, QStringLiteral("Priority"));
  Field(text, QStringLiteral("Status"));
  if (o.UseType) Field(text, QStringLiteral("Type"));
  if (o.UsePercent) Field(text, QStringLiteral("Percent"));
  Field(text, QStringLiteral("Created"));
  if (o.UseDTDue) Field(text, QStringLiteral("Due"));
  Field(text, QStringLiteral("Completed"));
  if (o.UseDTReminder) {
    Field(text, QStringLiteral("ReminderActivated"));
    Field(text, QStringLiteral("ReminderPath"));
    Field(text, QStringLiteral("ReminderType"));
    Field(text, QStringLiteral("ReminderDateTime"));
  }
  if (o.UseFlagged) Field(text, QStringLiteral("Flagged"));
  if (o.UseAssociation) Field(text, QStringLiteral("Association"));
  text += kLineEnd;

  for (const auto& item : todos_->Todos()) {
    const TTdTodo& t = *item;
    Field(text, QString::number(t.ID));
    if (o.UseCategory) Field(text, categories_->NameOf(t.Category));
    if (o.UseResource) Field(text, resources_->NameOf(t.Resource));
    Field(text, t.Title);
    if (o.UseNotes) Field(text, t.Notes);
    if (o.UsePriority) Field(text, t.PriorityText());
    Field(text, t.StatusText());
    if (o.UseType) Field(text, types_->NameOf(t.Type));
    if (o.UsePercent) Field(text, QString::number(t.Percent) + QLatin1Char('%'));
    Field(text, DateTimeText(t.Created));
    if (o.UseDTDue) Field(text, DateTimeText(t.Due));
    Field(text, t.IsClosed() ? DateTimeText(t.Completed) : QString());
    if (o.UseDTReminder) {
      Field(text, Bit(t.ReminderActivated()));
      Field(text, t.ReminderPath);
      Field(text, t.ReminderTypeText());
      Field(text, DateTimeText(t.ReminderDateTime));
    }
    if (o.UseFlagged) Field(text, Bit(t.Flagged()));
    if (o.UseAssociation) Field(text, t.Association);
    text += kLineEnd;
  }
  return text.toUtf8();
}

void TTodoAppHandler::ExportTasks(const QString& fileName) const {
  // Written whole or not at all; an export keeps no safety copy.
  WriteFileSafely(fileName, ExportBytes(), false);
}
