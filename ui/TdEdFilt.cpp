#include "ui/TdEdFilt.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/FormatSettings.h"
#include "platform/HelpRequest.h"
#include "ui/TdDialogButtons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace {

template <typename Handler>
QStringList NamesOf(const Handler& handler) {
  QStringList names;
  for (const auto& entry : handler.Items()) names << entry->Name;
  return names;
}

QStringList TextsOf(void (*fill)(TStringList&)) {
  TStringList list;
  fill(list);
  QStringList texts;
  for (const TStringItem& item : list) texts << item.text;
  return texts;
}

}  // namespace

TTdEditFilterDialog::TTdEditFilterDialog(const TTdAppOptions& options, const TTdCategoryHandler& categories,
                                         const TTdResourceHandler& resources, const TTdTodoHandler& todos,
                                         const TTdTypeHandler& types, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      options_(options),
      bounds_(DefaultFilterBounds(todos)) {
  setObjectName(QStringLiteral("FilterDialog"));
  setWindowTitle(QStringLiteral("Edit Filter"));
  const TTdAppOptions& o = options_;

  status_ = MakeListGroup(QStringLiteral("Status"), QStringLiteral("Status"),
                          {QStringLiteral("Any status"), QStringLiteral("Only selected status")},
                          TextsOf(FillStatusNames), true);
  priority_ = MakeListGroup(QStringLiteral("Priority"), QStringLiteral("Priority"),
                            {QStringLiteral("Any priority "), QStringLiteral("Only selected priorities")},
                            TextsOf(FillPriorityNames), o.UsePriority);
  category_ = MakeListGroup(QStringLiteral("Category"), QStringLiteral("Category"),
                            {QStringLiteral("Any category"), QStringLiteral("Only selected categories"),
                             QStringLiteral("Not selected categories")},
                            NamesOf(categories), o.UseCategory);
  resource_ = MakeListGroup(QStringLiteral("Resource"), QStringLiteral("Resource"),
                            {QStringLiteral("Any resource"), QStringLiteral("Only selected resources"),
                             QStringLiteral("Not selected resources")},
                            NamesOf(resources), o.UseResource);
  type_ = MakeListGroup(QStringLiteral("Type"), QStringLiteral("Type"),
                        {QStringLiteral("Any type"), QStringLiteral("Only selected types")}, NamesOf(types),
                        o.UseType);

  flagGroup_ = new QGroupBox(QStringLiteral("Flag"), this);
  flagGroup_->setObjectName(QStringLiteral("FlagGroup"));
  flagMode_ = MakeModeGroup(flagGroup_, {QStringLiteral("All"), QStringLiteral("Only Flagged"),
                                         QStringLiteral("Only Not Flagged")});
  notesGroup_ = new QGroupBox(QStringLiteral("Notes"), this);
  notesGroup_->setObjectName(QStringLiteral("NotesGroup"));
  notesMode_ = MakeModeGroup(notesGroup_, {QStringLiteral("All"), QStringLiteral("Only with Notes"),
                                           QStringLiteral("Only without Notes")});
  flagGroup_->setVisible(o.UseFlagged);
  notesGroup_->setVisible(o.UseNotes);

  auto* datesGroup = new QGroupBox(QStringLiteral("Dates"), this);
  datesGroup->setObjectName(QStringLiteral("DatesGroup"));
  auto* datesLayout = new QGridLayout(datesGroup);
  const char* names[fdCount] = {"created", "due", "completed", "reminder"};
  const char* keys[fdCount] = {"Created", "Due", "Completed", "Reminder"};
  const QString dateFormat = FormatSettings().ShortDateFormat;
  for (int k = 0; k < fdCount; ++k) {
    TDateRowControls& row = dates_[k];
    row.FirstLabel = new QLabel(QStringLiteral("First %1:").arg(QString::fromLatin1(names[k])), datesGroup);
    row.LastLabel = new QLabel(QStringLiteral("Last %1:").arg(QString::fromLatin1(names[k])), datesGroup);
    row.First = new QDateEdit(datesGroup);
    row.Last = new QDateEdit(datesGroup);
    row.Use = new QCheckBox(QStringLiteral("Use"), datesGroup);
    row.First->setObjectName(QStringLiteral("%1First").arg(QString::fromLatin1(keys[k])));
    row.Last->setObjectName(QStringLiteral("%1Last").arg(QString::fromLatin1(keys[k])));
    row.Use->setObjectName(QStringLiteral("%1Use").arg(QString::fromLatin1(keys[k])));
    for (QDateEdit* picker : {row.First, row.Last}) {
      picker->setCalendarPopup(true);
      if (!dateFormat.isEmpty()) picker->setDisplayFormat(dateFormat);
    }
    connect(row.Use, &QCheckBox::toggled, this, [this] { RunGuarded([this] { UpdateControls(); }); });
    datesLayout->addWidget(row.FirstLabel, k, 0);
    datesLayout->addWidget(row.First, k, 1);
    datesLayout->addWidget(row.LastLabel, k, 2);
    datesLayout->addWidget(row.Last, k, 3);
    datesLayout->addWidget(row.Use, k, 4);
  }
  dates_[fdDue].InUse = o.UseDTDue;
  dates_[fdReminder].InUse = o.UseDTReminder;


  // Hidden groups leave no gap: each column's layout closes up over them.
  auto* columns = new QHBoxLayout;
  const QList<QList<QWidget*>> columnGroups = {{status_.Group, priority_.Group},
                                               {category_.Group, resource_.Group},
                                               {type_.Group, flagGroup_, notesGroup_}};
  for (const QList<QWidget*>& groups : columnGroups) {
    auto* column = new QVBoxLayout;
    for (QWidget* g : groups) column->addWidget(g);
    column->addStretch(1);
    columns->addLayout(column);
  }
  QBoxLayout* buttons = OkCommandCancelHelpRow(
      *this, QStringLiteral("&Clear"), "ClearButton", [this] { btnClearClick(); },
      [] { ShowHelpContext(kFilterDialogHelpContext); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(datesGroup);
  layout->addLayout(buttons);

  // Opening: the lists, the date windows and the modes from the options.
  ShowListGroup(status_, OpenFilterList(o.FilterStatus, {}, status_.List->count()));
  ShowListGroup(priority_, OpenFilterList(o.FilterPriority, {}, priority_.List->count()));
  ShowListGroup(category_, OpenFilterList(o.FilterCategoryIncl, o.FilterCategoryExcl, category_.List->count()));
  ShowListGroup(resource_, OpenFilterList(o.FilterResourceIncl, o.FilterResourceExcl, resource_.List->count()));
  ShowListGroup(type_, OpenFilterList(o.FilterType, {}, type_.List->count()));
  for (int k = 0; k < fdCount; ++k) {
    const TFilterDateFields f = FilterDateFields(static_cast<TFilterDateKind>(k));
    ShowDates(k, {o.*f.Use, PickerDay(o.*f.First, bounds_.First[k]), PickerDay(o.*f.Last, bounds_.Last[k])});
  }
  flagMode_->button(o.FilterFlagMode >= 0 && o.FilterFlagMode <= 2 ? o.FilterFlagMode : 0)->setChecked(true);
  notesMode_->button(o.FilterNotesMode >= 0 && o.FilterNotesMode <= 2 ? o.FilterNotesMode : 0)->setChecked(true);
  ready_ = true;
  UpdateControls();
}

TTdEditFilterDialog::~TTdEditFilterDialog() = default;

TTdEditFilterDialog::TListGroup TTdEditFilterDialog::MakeListGroup(const QString& title, const QString& name,
                                                                   const QStringList& choices,
                                                                   const QStringList& items, bool inUse) {
  TListGroup g;
  g.InUse = inUse;
  g.Group = new QGroupBox(title, this);
  g.Group->setObjectName(name + QStringLiteral("Group"));
  g.Group->setVisible(inUse);
  auto* layout = new QVBoxLayout(g.Group);
  g.Choice = new QButtonGroup(g.Group);
  for (int i = 0; i < choices.size(); ++i) {
    auto* radio = new QRadioButton(choices[i], g.Group);
    g.Choice->addButton(radio, i);
    layout->addWidget(radio);
  }
  g.List = new QListWidget(g.Group);
  g.List->setObjectName(name + QStringLiteral("List"));
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, g.List);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
  }
  g.List->setMinimumHeight(g.List->fontMetrics().height() * 5);
  layout->addWidget(g.List, 1);
  QButtonGroup* choice = g.Choice;
  connect(choice, &QButtonGroup::idClicked, this, [this, choice] {
    RunGuarded([&] {
      for (TListGroup* group : {&status_, &priority_, &category_, &resource_, &type_})
        if (group->Choice == choice) ChoiceClicked(*group);
    });
  });
  return g;
}

QButtonGroup* TTdEditFilterDialog::MakeModeGroup(QGroupBox* group, const QStringList& choices) {
  auto* layout = new QVBoxLayout(group);
  auto* buttons = new QButtonGroup(group);
  for (int i = 0; i < choices.size(); ++i) {
    auto* radio = new QRadioButton(choices[i], group);
    buttons->addButton(radio, i);
    layout->addWidget(radio);
  }
  return buttons;
}

void TTdEditFilterDialog::ShowListGroup(TListGroup& group, const TFilterListState& state) {
  group.Choice->button(state.Choice < group.Choice->buttons().size() ? state.Choice : fcAny)->setChecked(true);
  for (int i = 0; i < group.List->count(); ++i)
    group.List->item(i)->setCheckState(i < state.Checked.size() && state.Checked[i] ? Qt::Checked : Qt::Unchecked);
}

TFilterListState TTdEditFilterDialog::ListState(const TListGroup& group) {
  TFilterListState state;
  state.Choice = static_cast<TFilterChoice>(std::max(group.Choice->checkedId(), 0));
  for (int i = 0; i < group.List->count(); ++i) state.Checked << (group.List->item(i)->checkState() == Qt::Checked);
  return state;
}

void TTdEditFilterDialog::ShowDates(int kind, const TFilterDateRow& row) {
  dates_[kind].Use->setChecked(row.Use);
  dates_[kind].First->setDate(row.First);
  dates_[kind].Last->setDate(row.Last);
}

void TTdEditFilterDialog::ChoiceClicked(TListGroup& group) {
  if (group.Choice->checkedId() == fcAny) {
    for (int i = 0; i < group.List->count(); ++i) group.List->item(i)->setCheckState(Qt::Unchecked);
  }
  UpdateControls();
}

void TTdEditFilterDialog::UpdateControls() {
  if (!ready_) return;
  for (TListGroup* g : {&status_, &priority_, &category_, &resource_, &type_})
    g->List->setEnabled(g->InUse && g->Choice->checkedId() != fcAny);
  for (const TDateRowControls& row : dates_) {
    for (QWidget* w : {static_cast<QWidget*>(row.Use), static_cast<QWidget*>(row.FirstLabel),
                       static_cast<QWidget*>(row.LastLabel)})
      w->setEnabled(row.InUse);
    row.First->setEnabled(row.InUse && row.Use->isChecked());
    row.Last->setEnabled(row.InUse && row.Use->isChecked());
  }
}

void TTdEditFilterDialog::btnClearClick() {
  for (TListGroup* g : {&status_, &priority_, &category_, &resource_, &type_})
    if (g->InUse) ShowListGroup(*g, TFilterListState{});
  for (int k = 0; k < fdCount; ++k) {
    if (dates_[k].InUse) ShowDates(k, {false, DateTime::ToQDate(bounds_.First[k]), DateTime::ToQDate(bounds_.Last[k])});
  }
  if (options_.UseFlagged) flagMode_->button(0)->setChecked(true);
  if (options_.UseNotes) notesMode_->button(0)->setChecked(true);
  UpdateControls();
}

TFilterFormState TTdEditFilterDialog::FormState() const {
  TFilterFormState form;
  form.Status = ListState(status_);
  form.Priority = ListState(priority_);
  form.Category = ListState(category_);
  form.Resource = ListState(resource_);
  form.Type = ListState(type_);
  for (int k = 0; k < fdCount; ++k)
    form.Dates[k] = {dates_[k].Use->isChecked(), dates_[k].First->date(), dates_[k].Last->date()};
  form.FlagMode = std::max(flagMode_->checkedId(), 0);
  form.NotesMode = std::max(notesMode_->checkedId(), 0);
  return form;
}

void TTdEditFilterDialog::StoreFilter() { ::StoreFilter(options_, FormState()); }

void TTdEditFilterDialog::done(int result) {
  if (result == QDialog::Accepted && !RunGuarded([this] { StoreFilter(); })) return;
  QDialog::done(result);
}

bool ShowEditFilterDialog(TTdAppOptions& options, const TTdCategoryHandler& categories,
                          const TTdResourceHandler& resources, const TTdTodoHandler& todos,
                          const TTdTypeHandler& types) {
  std::unique_ptr<TTdEditFilterDialog> dialog;
  {
    ScopedWaitCursor wait;
    dialog = std::make_unique<TTdEditFilterDialog>(options, categories, resources, todos, types);
    if (options.AlwaysOnTop) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  if (dialog->exec() != QDialog::Accepted) return false;
  options = dialog->Options();
  return true;
}
