#include "report/RP_PrintForm.h"

#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "report/RP_FormButtons.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <climits>

namespace {

namespace printIds {
constexpr int Print = 53207, Printer = 53041, Properties = 53038, Name = 53702, Copies = 53703,
              NumberOfCopies = 53704, Collate = 53705, PageRange = 53706, All = 53707, CurrentPage = 53708,
              Pages = 53709, PagesHint = 53710, PrintWhich = 53711, AllPages = 53712, OddPages = 53713,
              EvenPages = 53714;
}  // namespace printIds

// A printer drawn in 18 x 16 pixels: paper over a grey body with a tray.
QIcon PrinterGlyph() {
  QPixmap glyph(18, 16);
  glyph.fill(Qt::transparent);
  QPainter p(&glyph);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(5, 0, 8, 6);
  p.setBrush(QColor(Qt::gray));
  p.drawRect(1, 6, 16, 6);
  p.setBrush(Qt::white);
  p.drawRect(4, 11, 10, 4);
  return QIcon(glyph);
}

// One sheet of a stack, its page number in the corner that the sheet in front of it
// leaves free, or in its middle for the front sheet.
void DrawSheet(QPainter& p, int x, int y, int number, bool front) {
  p.setBrush(Qt::white);
  p.drawRect(x, y, 20, 26);
  const QRect label = front ? QRect(x, y, 20, 26) : QRect(x + 1, y, 7, 9);
  p.drawText(label, Qt::AlignCenter, QString::number(number));
}

// Each printer of the list: its glyph 2 pixels from the left, its name at 24.
class TrpPrinterItemDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.icon = QIcon();
    plain.text.clear();
    plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
    const QRect r = option.rect;
    const QIcon glyph = index.data(Qt::DecorationRole).value<QIcon>();
    glyph.paint(painter, QRect(r.left() + 2, r.top() + (r.height() - 16) / 2, 18, 16));
    painter->save();
    painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                : QPalette::Text));
    painter->drawText(r.adjusted(24, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
    painter->restore();
  }
};

}  // namespace

// Shows how the copies come out: collated (1 2 3, 1 2 3) or not (1 1, 2 2, 3 3).
class TrpCollatePicture : public QWidget {
public:
  explicit TrpCollatePicture(QWidget* parent) : QWidget(parent) { setFixedSize(100, 56); }
  void SetCollated(bool collated) {
    collated_ = collated;
    update();
  }
  bool Collated() const { return collated_; }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QFont small = font();
    small.setPixelSize(8);
    p.setFont(small);
    p.setPen(palette().color(QPalette::WindowText));
    if (collated_) {
      // 74 x 53 at (8, 0): two stacks of three sheets.
      for (int stack = 0; stack < 2; ++stack)
        for (int sheet = 1; sheet <= 3; ++sheet) DrawSheet(p, 8 + stack * 40 + (sheet - 1) * 7, (sheet - 1) * 9, sheet, sheet == 3);
    } else {
      // 92 x 40 at (0, 8): three stacks of two equal sheets.
      for (int stack = 0; stack < 3; ++stack)
        for (int sheet = 0; sheet < 2; ++sheet) DrawSheet(p, stack * 34 + sheet * 5, 8 + sheet * 7, stack + 1, true);
    }
  }

private:
  bool collated_ = true;
};

TrpPrintForm::TrpPrintForm(TrpPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer), openingIndex_(printer.PrinterIndex) {
  setObjectName(QStringLiteral("rpPrintForm"));
  setWindowTitle(rpLoadStr(printIds::Print));
  auto* layout = new QVBoxLayout(this);

  auto* printerGroup = new QGroupBox(rpLoadStr(printIds::Printer), this);
  auto* printerRow = new QHBoxLayout(printerGroup);
  auto* nameLabel = new QLabel(rpLoadStr(printIds::Name), printerGroup);
  printers_ = new QComboBox(printerGroup);
  const QIcon glyph = PrinterGlyph();
  printers_->setIconSize(QSize(18, 16));
  printers_->setItemDelegate(new TrpPrinterItemDelegate(printers_));
  for (const QString& name : printer_.Printers) printers_->addItem(glyph, name);
  printers_->setCurrentIndex(printer_.PrinterIndex);
  nameLabel->setBuddy(printers_);
  properties_ = new QPushButton(rpLoadStr(printIds::Properties), printerGroup);
  printerRow->addWidget(nameLabel);
  printerRow->addWidget(printers_, 1);
  printerRow->addWidget(properties_);
  layout->addWidget(printerGroup);

  auto* middle = new QHBoxLayout;
  auto* rangeGroup = new QGroupBox(rpLoadStr(printIds::PageRange), this);
  auto* rangeGrid = new QGridLayout(rangeGroup);
  all_ = new QRadioButton(rpLoadStr(printIds::All), rangeGroup);
  current_ = new QRadioButton(rpLoadStr(printIds::CurrentPage), rangeGroup);
  pages_ = new QRadioButton(rpLoadStr(printIds::Pages), rangeGroup);
  pageText_ = new QLineEdit(rangeGroup);
  auto* hint = new QLabel(rpLoadStr(printIds::PagesHint), rangeGroup);
  hint->setWordWrap(true);
  all_->setChecked(true);
  rangeGrid->addWidget(all_, 0, 0, 1, 2);
  rangeGrid->addWidget(current_, 1, 0, 1, 2);
  rangeGrid->addWidget(pages_, 2, 0);
  rangeGrid->addWidget(pageText_, 2, 1);
  rangeGrid->addWidget(hint, 3, 0, 1, 2);
  middle->addWidget(rangeGroup, 1);

  auto* copiesGroup = new QGroupBox(rpLoadStr(printIds::Copies), this);
  auto* copiesGrid = new QGridLayout(copiesGroup);
  auto* copiesLabel = new QLabel(rpLoadStr(printIds::NumberOfCopies), copiesGroup);
  copies_ = new QSpinBox(copiesGroup);
  copies_->setRange(1, 9999);  // down stops at 1
  copies_->setValue(1);
  copiesLabel->setBuddy(copies_);
  collate_ = new QCheckBox(rpLoadStr(printIds::Collate), copiesGroup);
  collate_->setChecked(true);
  picture_ = new TrpCollatePicture(copiesGroup);
  copiesGrid->addWidget(copiesLabel, 0, 0);
  copiesGrid->addWidget(copies_, 0, 1);
  copiesGrid->addWidget(picture_, 1, 0);
  copiesGrid->addWidget(collate_, 1, 1);
  middle->addWidget(copiesGroup);
  layout->addLayout(middle);

  auto* parityRow = new QHBoxLayout;
  auto* parityLabel = new QLabel(rpLoadStr(printIds::PrintWhich), this);
  parity_ = new QComboBox(this);
  parity_->addItems({rpLoadStr(printIds::AllPages), rpLoadStr(printIds::OddPages), rpLoadStr(printIds::EvenPages)});
  parity_->setCurrentIndex(0);
  parityLabel->setBuddy(parity_);
  parityRow->addWidget(parityLabel);
  parityRow->addSpacing(11);
  parityRow->addWidget(parity_);
  parityRow->addStretch(1);
  layout->addLayout(parityRow);

  auto* buttons = rpOkCancelButtons(this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  layout->addWidget(buttons);

  connect(printers_, &QComboBox::activated, this, [this](int index) {
    RunGuarded([&] { PrinterChosen(index); });
  });
  connect(properties_, &QPushButton::clicked, this, [this] { RunGuarded([&] { printer_.PropertiesDialog(); }); });
  connect(collate_, &QCheckBox::toggled, picture_, &TrpCollatePicture::SetCollated);
  connect(pages_, &QRadioButton::clicked, pageText_, [this] { pageText_->setFocus(); });
  pageText_->installEventFilter(this);
}

QWidget* TrpPrintForm::CollatePicture() const { return picture_; }

void TrpPrintForm::PrinterChosen(int index) {
  try {
    printer_.SelectPrinterIndex(index);
  } catch (const ErpPrinterError& e) {
    printers_->setCurrentIndex(printer_.PrinterIndex);
    Desktop().MessageBox(rpLoadStr(rpStrings::Error), e.Message(), Msg::Critical, Msg::Ok);
  }
}

bool TrpPrintForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pageText_ && event->type() == QEvent::FocusIn) pages_->setChecked(true);
  return QDialog::eventFilter(watched, event);
}

TrpPrintRequest TrpPrintForm::Request() const {
  TrpPrintRequest request;
  request.printerIndex = printer_.PrinterIndex;
  request.copies = copies_->value();
  request.collate = collate_->isChecked();
  request.range = pages_->isChecked()     ? TrpPageRangeChoice::Pages
                  : current_->isChecked() ? TrpPageRangeChoice::Current
                                          : TrpPageRangeChoice::All;
  request.pageText = pageText_->text();
  request.parity = static_cast<TrpPageParity>(parity_->currentIndex());
  return request;
}

void TrpPrintForm::accept() {
  // A page text that cannot be read is said now, while the user can still mend it.
  if (pages_->isChecked()) {
    try {
      TrpPageList::Parse(pageText_->text(), INT_MAX);
    } catch (const EConvertError& e) {
      Desktop().MessageBox(rpLoadStr(rpStrings::Error), e.Message(), Msg::Critical, Msg::Ok);
      pageText_->setFocus();
      pageText_->selectAll();
      return;
    }
  }
  QDialog::accept();
}

void TrpPrintForm::done(int result) {
  if (result != QDialog::Accepted && printer_.PrinterIndex != openingIndex_) {
    try {
      printer_.SelectPrinterIndex(openingIndex_);
    } catch (const ErpPrinterError&) {
      // The printer the dialog opened with has gone meanwhile; the one chosen stays.
    }
  }
  QDialog::done(result);
}

bool rpShowPrintDialog(TrpPrinter& printer, TrpPrintRequest& request, QWidget* parent) {
  TrpPrintForm form(printer, parent);
  if (form.exec() != QDialog::Accepted) return false;
  request = form.Request();
  return true;
}
