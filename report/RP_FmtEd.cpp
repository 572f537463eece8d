#include "report/RP_FmtEd.h"

#include "report/RP_FormButtons.h"
#include "report/RP_UtilsUi.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kCategories = 5;
constexpr int kKindsPerCategory = 5;
constexpr int kCustomKind = 4;

}  // namespace

TrpFmtForm::TrpFmtForm(uint32_t format, const QString& pattern, QWidget* parent)
    : QDialog(parent), format_(format), pattern_(pattern) {
  setObjectName(QStringLiteral("rpFmtForm"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  categories_ = new QListWidget(this);
  kinds_ = new QListWidget(this);
  for (int c = 0; c < kCategories; ++c) categories_->addItem(rpLoadStr(rpStrings::FormatCategory0 + c));
  decimals_ = new QLineEdit(this);
  decimals_->setValidator(new QIntValidator(0, 18, decimals_));
  separator_ = new QLineEdit(this);
  separator_->setMaxLength(1);
  separator_->installEventFilter(this);
  custom_ = new QLineEdit(this);
  grid->addWidget(categories_, 0, 0);
  grid->addWidget(kinds_, 0, 1);
  grid->addWidget(decimals_, 1, 0);
  grid->addWidget(separator_, 1, 1);
  grid->addWidget(custom_, 2, 0, 1, 2);
  layout->addLayout(grid);
  layout->addWidget(rpOkCancelButtons(this));

  const TrpDisplayFormat f = rpSplitFormat(format);
  decimals_->setText(QString::number(f.decimals));
  separator_->setText(f.separator.isNull() ? QString() : QString(f.separator));
  custom_->setText(pattern);
  categories_->setCurrentRow(std::clamp(f.category, 0, kCategories - 1));
  FillKinds(categories_->currentRow(), f.kind);
  connect(categories_, &QListWidget::currentRowChanged, this, [this](int row) { FillKinds(row, 0); });
  connect(kinds_, &QListWidget::currentRowChanged, this, [this] { UpdateEnabled(); });
}

void TrpFmtForm::FillKinds(int category, int kind) {
  const QSignalBlocker block(kinds_);
  kinds_->clear();
  kindOfRow_.clear();
  for (int k = 0; k < kKindsPerCategory; ++k) {
    const QString text = rpLoadStr(rpStrings::FormatKind0 + category * kKindsPerCategory + k);
    if (text.isEmpty()) continue;
    kinds_->addItem(text);
    kindOfRow_.push_back(k);
  }
  const auto it = std::find(kindOfRow_.begin(), kindOfRow_.end(), kind);
  kinds_->setCurrentRow(it == kindOfRow_.end() ? 0 : static_cast<int>(it - kindOfRow_.begin()));
  UpdateEnabled();
}

int TrpFmtForm::CurrentKind() const {
  const int row = kinds_->currentRow();
  return row >= 0 && row < static_cast<int>(kindOfRow_.size()) ? kindOfRow_[static_cast<size_t>(row)] : 0;
}

void TrpFmtForm::UpdateEnabled() {
  const bool number = categories_->currentRow() == rpFormatCategory::Number;
  rpEnableControls({decimals_, separator_}, number);
  rpEnableControls({custom_}, CurrentKind() == kCustomKind);
}

void TrpFmtForm::accept() {
  TrpDisplayFormat f;
  f.category = categories_->currentRow();
  f.kind = CurrentKind();
  f.decimals = f.category == rpFormatCategory::Number ? decimals_->text().toInt() : 0;
  f.separator = separator_->text().isEmpty() ? QChar(u',') : separator_->text()[0];
  format_ = rpMakeFormat(f);
  if (custom_->isEnabled()) pattern_ = custom_->text();
  QDialog::accept();
}

bool TrpFmtForm::eventFilter(QObject* watched, QEvent* event) {
  // Entering the separator selects it, so typing replaces it; the selection comes after
  // the focus handling of the edit itself.
  if (watched == separator_ && event->type() == QEvent::FocusIn) {
    QTimer::singleShot(0, separator_, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}
