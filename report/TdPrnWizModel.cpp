#include "report/TdPrnWizModel.h"

#include "core/BTodo.h"
#include "report/engine/RP_Graphics.h"

#include <algorithm>
#include <utility>

namespace {

bool ValidCode(int code) { return code >= 1 && code <= pwCode::Count; }

// The image/text pairs of one field.
constexpr std::array<std::pair<int, int>, 6> kTwins = {{{pwCode::LinkImage, pwCode::LinkText},
                                                        {pwCode::CategoryImage, pwCode::CategoryText},
                                                        {pwCode::ReminderImage, pwCode::ReminderText},
                                                        {pwCode::PriorityImage, pwCode::PriorityText},
                                                        {pwCode::StatusImage, pwCode::StatusText},
                                                        {pwCode::TypeImage, pwCode::TypeText}}};

}  // namespace

TPrintColumnKind PrintColumnKind(int code) {
  switch (code) {
    case pwCode::LinkImage:
    case pwCode::CategoryImage:
    case pwCode::ReminderImage:
    case pwCode::PriorityImage:
    case pwCode::StatusImage:
    case pwCode::Flag:
    case pwCode::TypeImage:
    case pwCode::Recurring: return TPrintColumnKind::Picture;
    case pwCode::OK: return TPrintColumnKind::CheckBox;
    case pwCode::Notes: return TPrintColumnKind::Notes;
    default: return TPrintColumnKind::Text;
  }
}

QString PrintColumnListCaption(int code) {
  return ValidCode(code) ? QString::fromLatin1(PrintFields[static_cast<size_t>(code - 1)].ListName) : QString();
}

QString PrintColumnHeaderCaption(int code) {
  return ValidCode(code) ? QString::fromLatin1(PrintFields[static_cast<size_t>(code - 1)].Heading) : QString();
}

int TwinOf(int code) {
  for (const auto& [image, text] : kTwins) {
    if (code == image) return text;
    if (code == text) return image;
  }
  return 0;
}

TPrintCaptions PrintHeaderCaptions(const std::vector<int>& printed, bool shortNames) {
  TPrintCaptions captions;
  for (int code = 1; code <= pwCode::Count; ++code) captions[static_cast<size_t>(code)] = PrintColumnHeaderCaption(code);
  if (!shortNames) return captions;
  for (size_t k = 0; k < printed.size(); ++k) {
    const int code = printed[k];
    if (!ValidCode(code)) continue;
    const bool textTwinFollows = k + 1 < printed.size() && printed[k + 1] == TwinOf(code);
    QString letter;
    switch (code) {
      case pwCode::CategoryImage: letter = QStringLiteral("C"); break;
      case pwCode::PriorityImage: letter = QStringLiteral("P"); break;
      case pwCode::StatusImage: letter = QStringLiteral("S"); break;
      case pwCode::TypeImage: letter = QStringLiteral("T"); break;
      case pwCode::Flag: captions[static_cast<size_t>(code)] = QStringLiteral("F"); continue;
      case pwCode::Recurring: captions[static_cast<size_t>(code)] = QStringLiteral("R"); continue;
      default: continue;
    }
    if (!textTwinFollows) captions[static_cast<size_t>(code)] = letter;
  }
  return captions;
}

bool IsColumnOffered(int code, const TTdAppOptions& o) {
  switch (code) {
    case pwCode::CategoryImage:
    case pwCode::CategoryText: return o.UseCategory;
    case pwCode::PriorityImage:
    case pwCode::PriorityText: return o.UsePriority;
    case pwCode::TypeImage:
    case pwCode::TypeText: return o.UseType;
    case pwCode::DateDue:
    case pwCode::DateTimeDue:
    case pwCode::DaysLeft: return o.UseDTDue;
    case pwCode::Percent: return o.UsePercent;
    case pwCode::LinkImage:
    case pwCode::LinkText: return o.UseAssociation;
    case pwCode::Notes: return o.UseNotes;
    case pwCode::ReminderImage:
    case pwCode::ReminderText: return o.UseDTReminder;
    case pwCode::Resource: return o.UseResource;
    case pwCode::Flag: return o.UseFlagged;
    default: return ValidCode(code);
  }
}

std::vector<int> OfferedColumns(const TTdAppOptions& options) {
  std::vector<int> codes;
  for (int code = 1; code <= pwCode::Count; ++code)
    if (IsColumnOffered(code, options)) codes.push_back(code);
  return codes;
}

std::vector<int> StoredColumns(const TTdAppOptions& options) {
  std::vector<int> codes;
  for (uint8_t code : options.PrintColumn) {
    // A code stored twice is printed once: the lists hold each column once.
    if (code != 0 && IsColumnOffered(code, options) && std::find(codes.begin(), codes.end(), code) == codes.end())
      codes.push_back(code);
  }
  return codes;
}

void StorePrintColumns(TTdAppOptions& options, const std::vector<int>& printed) {
  options.PrintColumn.fill(0);
  for (size_t k = 0; k < printed.size() && k < options.PrintColumn.size(); ++k)
    options.PrintColumn[k] = static_cast<uint8_t>(printed[k]);
}

int MillimetresToUnits(int millimetres) { return rpRound(millimetres * 18.0 / 5.0); }

std::optional<int> ParseInteger(const QString& text) {
  QString digits = text.trimmed();
  // The edits show a negative number in parentheses ("0;(0)").
  const bool bracketed = digits.size() > 2 && digits.startsWith(u'(') && digits.endsWith(u')');
  if (bracketed) digits = QLatin1Char('-') + digits.mid(1, digits.size() - 2);
  bool ok = false;
  const int value = digits.toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

// --- the column lists ---

void TPrintColumnLists::Fill(const std::vector<int>& offered) {
  Available = offered;
  Selected.clear();
  AvailableIndex = SelectedIndex = -1;
}

void TPrintColumnLists::SelectStored(const std::vector<int>& stored) {
  for (int code : stored) {
    const auto found = std::find(Available.begin(), Available.end(), code);
    if (found == Available.end()) continue;
    AvailableIndex = static_cast<int>(found - Available.begin());
    Select();
  }
}

void TPrintColumnLists::Select() {
  if (!CanSelect()) return;
  const int code = Available[static_cast<size_t>(AvailableIndex)];
  Available.erase(Available.begin() + AvailableIndex);
  Selected.push_back(code);
  AvailableIndex = std::min(AvailableIndex, static_cast<int>(Available.size()) - 1);
  SelectedIndex = static_cast<int>(Selected.size()) - 1;
  const bool notesPrinted = std::find(Selected.begin(), Selected.end(), pwCode::Notes) != Selected.end();
  if (Shown && code != pwCode::Notes && notesPrinted && SelectedIndex >= 1) {
    std::swap(Selected[static_cast<size_t>(SelectedIndex)], Selected[static_cast<size_t>(SelectedIndex - 1)]);
    --SelectedIndex;
  }
}

void TPrintColumnLists::DeSelect() {
  if (!CanDeSelect()) return;
  const int code = Selected[static_cast<size_t>(SelectedIndex)];
  Selected.erase(Selected.begin() + SelectedIndex);
  Available.push_back(code);
  SelectedIndex = std::min(SelectedIndex, static_cast<int>(Selected.size()) - 1);
  AvailableIndex = static_cast<int>(Available.size()) - 1;
}

bool TPrintColumnLists::CanMoveUp() const {
  return InRange(Selected, SelectedIndex) && SelectedIndex >= 1 &&
         Selected[static_cast<size_t>(SelectedIndex)] != pwCode::Notes;
}

bool TPrintColumnLists::CanMoveDown() const {
  const int last = static_cast<int>(Selected.size()) - 1;
  if (!InRange(Selected, SelectedIndex) || SelectedIndex >= last) return false;
  if (Selected[static_cast<size_t>(SelectedIndex)] == pwCode::Notes) return false;
  return !(SelectedIndex == last - 1 && Selected.back() == pwCode::Notes);
}

void TPrintColumnLists::MoveUp() {
  if (!InRange(Selected, SelectedIndex) || SelectedIndex < 1) return;
  std::swap(Selected[static_cast<size_t>(SelectedIndex)], Selected[static_cast<size_t>(SelectedIndex - 1)]);
  --SelectedIndex;
}

void TPrintColumnLists::MoveDown() {
  if (!InRange(Selected, SelectedIndex) || SelectedIndex + 1 >= static_cast<int>(Selected.size())) return;
  std::swap(Selected[static_cast<size_t>(SelectedIndex)], Selected[static_cast<size_t>(SelectedIndex + 1)]);
  ++SelectedIndex;
}

TPrintWizardStatus ComputeWizardStatus(const TPrintColumnLists& lists, const TPrintWizardChoice& choice) {
  TPrintWizardStatus s;
  s.Select = lists.CanSelect();
  s.DeSelect = lists.CanDeSelect();
  s.MoveUp = lists.CanMoveUp();
  s.MoveDown = lists.CanMoveDown();
  s.Margins = choice.UseMargins;
  const bool printer = choice.PrinterSelected;
  const bool paper = (choice.BinSelected || choice.BinCount == 0) && choice.PaperSelected;
  s.PaperPage = printer;
  s.OtherPages = printer && paper;
  s.Preview = printer && paper && !lists.Selected.empty();
  if (!s.Preview) s.Message = QStringLiteral("You must select a paper source and a size");
  return s;
}

QString LayoutFieldLabel(int field) {
  static const char* const labels[] = {"Left, mm:", "Top, mm:", "Right, mm:", "Bottom, mm:", "Extra gap, mm:",
                                       "Title max width, mm:"};
  return field >= 0 && field < 6 ? QString::fromLatin1(labels[field]) : QString();
}

std::optional<TPrintLayoutError> ReadLayoutTexts(const TPrintLayoutTexts& t, TTdAppOptions& o) {
  const std::array<const QString*, 6> texts = {&t.Left, &t.Top, &t.Right, &t.Bottom, &t.ExtraGap, &t.MaxWidthTitle};
  std::array<int, 6> values{};
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::optional<int> value = ParseInteger(*texts[i]);
    if (!value) return TPrintLayoutError{static_cast<int>(i), *texts[i]};
    values[i] = *value;
  }
  o.MarginLeft = values[0];
  o.MarginTop = values[1];
  o.MarginRight = values[2];
  o.MarginBottom = values[3];
  o.ExtraGap = values[4];
  o.MaxWidthTitle = values[5];
  return std::nullopt;
}
