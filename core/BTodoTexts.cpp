// The task vocabularies, their image indexes, the caption tables and the date texts.
#include "core/BTodo.h"

#include <QDateTime>

namespace {

constexpr std::array<const char*, kStatusCount> kStatusTexts = {"Created", "Open", "Waiting",
                                                                "Put on hold", "Cancelled", "OK"};
constexpr std::array<const char*, kPriorityCount> kPriorityTexts = {"-- unknown --", "Low", "Medium", "High",
                                                                    "Urgent"};
constexpr std::array<const char*, kReminderTypeCount> kReminderTypeTexts = {
    "", "Beep", "Sound", "Speech", "Beep & Speech", "Sound & Speech", "Beep & Sound", "Beep, Sound & Speech"};
constexpr std::array<int, kStatusCount> kStatusImages = {26, 29, 28, 27, 49, 30};
constexpr std::array<int, kReminderTypeCount> kReminderTypeImages = {-1, 10, 11, 12, 12, 12, 11, 12};

constexpr std::array<const char*, kColumnCount> kColumnCaptions = {
    "OK",     "ID",    "Title",    "Category", "Priority",  "Created",   "Due",  "Status", "%",  "OK",
    "Link",   "Notes", "Reminder", "Resource", "Flag",      "Days Gone", "Days Left", "Type", "Re"};
constexpr std::array<const char*, kColumnCount> kColumnLetters = {
    "", "", "", "C", "P", "", "", "S", "", "", "", "", "", "", "F", "", "", "T", "R"};

template <size_t N>
QString TextAt(const std::array<const char*, N>& table, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= N) return {};
  return QString::fromLatin1(table[static_cast<size_t>(index)]);
}

template <size_t N>
void AddTexts(TStringList& list, const std::array<const char*, N>& table) {
  for (size_t i = 0; i < N; ++i) list.append({QString::fromLatin1(table[i]), static_cast<int>(i)});
}

}  // namespace

const std::array<TPrintField, kPrintFieldCount> PrintFields = {{
    {"Link image", "Link"},
    {"Link text", "Link"},
    {"Category image", "Category"},
    {"Category text", "Category"},
    {"OK", "OK"},
    {"Date completed", "Completed"},
    {"Date-time completed", "Completed"},
    {"Date created", "Created"},
    {"Date-time created", "Created"},
    {"Date due", "Due"},
    {"Date-time due", "Due"},
    {"Reminder image", "Reminder"},
    {"Date-time reminder text", "Reminder"},
    {"Title", "Title"},
    {"Notes", "Notes"},
    {"Percent", "%"},
    {"Priority image", "Priority"},
    {"Priority text", "Priority"},
    {"Resource", "Resource"},
    {"Status image", "Status"},
    {"Status text", "Status"},
    {"Flag", "Flag"},
    {"ID", "ID"},
    {"Days Gone", "Days Gone"},
    {"Days Left", "Days Left"},
    {"Type image", "Type"},
    {"Type text", "Type"},
    {"Re", "Re"},
}};

QString StatusTextOf(int32_t status) { return TextAt(kStatusTexts, status); }
QString PriorityTextOf(int32_t priority) { return TextAt(kPriorityTexts, priority); }
QString ReminderTypeTextOf(int32_t reminderType) { return TextAt(kReminderTypeTexts, reminderType); }

int PriorityImageIndex(int32_t priority, int defaultIndex) {
  return priority >= 0 && priority < kPriorityCount ? priority : defaultIndex;
}

int StatusImageIndex(int32_t status, int defaultIndex) {
  return status >= 0 && status < kStatusCount ? kStatusImages[static_cast<size_t>(status)] : defaultIndex;
}

int ReminderTypeImageIndex(int32_t reminderType, int defaultIndex) {
  if (reminderType < 1 || reminderType >= kReminderTypeCount) return defaultIndex;
  return kReminderTypeImages[static_cast<size_t>(reminderType)];
}

QString ColumnCaption(int column) { return TextAt(kColumnCaptions, column); }
QString ColumnLetter(int column) { return TextAt(kColumnLetters, column); }
void FillColumnNames(TStringList& list) { AddTexts(list, kColumnCaptions); }
void FillStatusNames(TStringList& list) { AddTexts(list, kStatusTexts); }
void FillPriorityNames(TStringList& list) { AddTexts(list, kPriorityTexts); }

QString ShortDateText(TDateTime value) {
  const TFormatSettings& settings = FormatSettings();
  return settings.FormatDate(DateTime::ToQDate(value), settings.ShortDateFormat);
}

QString DateTimeText(TDateTime value) {
  const TFormatSettings& settings = FormatSettings();
  const QDateTime moment = DateTime::ToQDateTime(value);
  QString text = settings.FormatDate(moment.date(), settings.ShortDateFormat);
  if (moment.time().msecsSinceStartOfDay() != 0)
    text += QLatin1Char(' ') + settings.FormatTime(moment.time(), settings.LongTimeFormat);
  return text;
}

QString StripTemplatePrefix(const QString& title) {
  static const QString prefix = QStringLiteral("[TEMPLATE]");
  const QString trimmed = title.trimmed();
  if (!trimmed.startsWith(prefix, Qt::CaseInsensitive)) return title;
  return trimmed.mid(prefix.size()).trimmed();
}
