// The wizard's window: the notebook's six pages and the buttons below it.
#include "report/TdPrnWiz.h"

#include "controls/FmNumEdit.h"
#include "controls/clnbk.h"
#include "platform/ApplicationError.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_PageBuild.h"
#include "treeview/LazyTreeImageList.h"
#include "ui/TdCommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// A sheet of paper, upright or on its side, for the orientation pictures.
QPixmap PaperPicture(bool landscape) {
  const QSize size = landscape ? QSize(44, 32) : QSize(32, 44);
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
  for (int y = 6; y < size.height() - 4; y += 5) painter.drawLine(5, y, size.width() - 6, y);
  return pixmap;
}

TFmNumericEdit* NumberEdit(QWidget* parent, const char* name) {
  auto* edit = new TFmNumericEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->SetDisplayFormat(QStringLiteral("0;(0)"));
  return edit;
}

QLabel* Panel(QWidget* parent, const char* name) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setMinimumHeight(40);
  panel->setAutoFillBackground(true);
  return panel;
}

}  // namespace

TPrintWizardDialog::TPrintWizardDialog(const TTdAppOptions& options, TTodoAppHandler& app, TPrintTaskList& tasks,
                                       const TLTImageList* images, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      options_(options),
      app_(app),
      tasks_(tasks),
      images_(images),
      sources_(PrintValueSourcesOf(app)),
      cursor_(tasks.TaskTree(), [&tasks](PLazyNode node) { return tasks.TaskOf(node); }),
      dataOwner_(std::make_unique<QObject>()),
      report_(std::make_unique<TrpReport>(dataOwner_.get())) {
  setObjectName(QStringLiteral("PrintWizardDialog"));
  setWindowTitle(QStringLiteral("Print To-Do list"));
  rpUserDataset = new TrpUserDataset(dataOwner_.get());
  rpUserDataset->setObjectName(QStringLiteral("rpUserDataset"));
  rpUserDataset->OnFirst = [this] { rpUserDatasetFirst(); };
  rpUserDataset->OnNext = [this] { rpUserDatasetNext(); };
  rpUserDataset->OnCheckEOF = [this](bool& eof) { rpUserDatasetCheckEOF(eof); };
  report_->SetDataset(rpUserDataset);
  // The report is built anew for each preview; its prepared pages are not edited.
  report_->SetModifyPrepared(false);
  report_->OnGetValue = [this](const QString& name, TrpValue& value, bool& handled) {
    QString text;
    if (!rpReportGetValue(name, text)) return;
    value = TrpValue(text);
    handled = true;  // an empty text prints empty
  };
  report_->OnBeforePrint = [this](QStringList&, TrpView& view) {
    const TrpReportBuild* build = report_->Build();
    const bool inPageHeader = build && build->CurrentBand && build->CurrentBand->Type == rpBand::PageHeader;
    rpReportBeforePrint(view, inPageHeader);
  };
  captions_ = PrintHeaderCaptions({}, false);

  Notebook = new TClNotebook(this);
  Notebook->setObjectName(QStringLiteral("Notebook"));
  Notebook->BeginLoading();
  Notebook->SetUseActiveTabFont(false);
  const char* captions[pgCount] = {"Printer", "Paper", "Layout", "Fonts", "Colors", "Content"};
  std::array<QWidget*, pgCount> pages{};
  for (int i = 0; i < pgCount; ++i) {
    auto* page = new TClTabPage(Notebook);
    page->SetCaption(QString::fromLatin1(captions[i]));
    pages[static_cast<size_t>(i)] = page;
  }
  Notebook->EndLoading();
  BuildPrinterPage(pages[pgPrinter]);
  BuildPaperPage(pages[pgPaper]);
  BuildLayoutPage(pages[pgLayout]);
  BuildFontsPage(pages[pgFonts]);
  BuildColorsPage(pages[pgColors]);
  BuildContentPage(pages[pgContent]);

  CmdClose = new QPushButton(QStringLiteral("Close"), this);
  CmdClose->setObjectName(QStringLiteral("CmdClose"));
  CmdClose->setDefault(true);
  CmdPreview = new QPushButton(QStringLiteral("Preview"), this);
  CmdPreview->setObjectName(QStringLiteral("CmdPreview"));
  CmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
  CmdHelp = new QPushButton(QStringLiteral("&Help"), this);
  CmdHelp->setObjectName(QStringLiteral("CmdHelp"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {CmdClose, CmdPreview, CmdCancel, CmdHelp}) {
    b->setMinimumWidth(75);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Notebook, 1);
  layout->addLayout(buttons);
  resize(460, 384);
  BindEvents();
}

TPrintWizardDialog::~TPrintWizardDialog() = default;

void TPrintWizardDialog::BuildPrinterPage(QWidget* page) {
  lbPrinters = new QListWidget(page);
  lbPrinters->setObjectName(QStringLiteral("lbPrinters"));
  lbPrinters->setUniformItemSizes(true);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(lbPrinters);
}

void TPrintWizardDialog::BuildPaperPage(QWidget* page) {
  auto* source = new QGroupBox(QStringLiteral("Paper source"), page);
  lbBins = new QListWidget(source);
  lbBins->setObjectName(QStringLiteral("lbBins"));
  (new QVBoxLayout(source))->addWidget(lbBins);

  auto* size = new QGroupBox(QStringLiteral("Size"), page);
  cmbPaperSizes = new QComboBox(size);
  cmbPaperSizes->setObjectName(QStringLiteral("cmbPaperSizes"));
  (new QVBoxLayout(size))->addWidget(cmbPaperSizes);

  auto* orientation = new QGroupBox(QStringLiteral("Orientation"), page);
  rbPortrait = new QRadioButton(QStringLiteral("Portrait"), orientation);
  rbPortrait->setObjectName(QStringLiteral("rbPortrait"));
  rbLandscape = new QRadioButton(QStringLiteral("Landscape"), orientation);
  rbLandscape->setObjectName(QStringLiteral("rbLandscape"));
  imgPortrait = new QLabel(orientation);
  imgPortrait->setObjectName(QStringLiteral("imgPortrait"));
  imgPortrait->setPixmap(PaperPicture(false));
  imgLandScape = new QLabel(orientation);
  imgLandScape->setObjectName(QStringLiteral("imgLandScape"));
  imgLandScape->setPixmap(PaperPicture(true));
  auto* orientationLayout = new QGridLayout(orientation);
  orientationLayout->addWidget(rbPortrait, 0, 0);
  orientationLayout->addWidget(rbLandscape, 1, 0);
  orientationLayout->addWidget(imgPortrait, 0, 1, 2, 1);
  orientationLayout->addWidget(imgLandScape, 0, 1, 2, 1);

  lblMessage = new QLabel(page);
  lblMessage->setObjectName(QStringLiteral("lblMessage"));
  auto* layout = new QGridLayout(page);
  layout->addWidget(source, 0, 0, 2, 1);
  layout->addWidget(size, 0, 1);
  layout->addWidget(orientation, 1, 1);
  layout->addWidget(lblMessage, 2, 0, 1, 2);
}

void TPrintWizardDialog::BuildLayoutPage(QWidget* page) {
  auto* margins = new QGroupBox(QStringLiteral("Page margins"), page);
  chkUseMargins = new QCheckBox(QStringLiteral("Use margins"), margins);
  chkUseMargins->setObjectName(QStringLiteral("chkUseMargins"));
  txtLeft = NumberEdit(margins, "txtLeft");
  txtRight = NumberEdit(margins, "txtRight");
  txtTop = NumberEdit(margins, "txtTop");
  txtBottom = NumberEdit(margins, "txtBottom");
  auto* grid = new QGridLayout(margins);
  grid->addWidget(chkUseMargins, 0, 0, 1, 4);
  const std::array<TFmNumericEdit*, 4> edits = {txtLeft, txtRight, txtTop, txtBottom};
  const std::array<int, 4> fields = {0, 2, 1, 3};  // left, right, top, bottom
  for (size_t i = 0; i < edits.size(); ++i) {
    auto* label = new QLabel(LayoutFieldLabel(fields[i]), margins);
    label->setBuddy(edits[i]);
    marginLabels[i] = label;
    const int row = 1 + static_cast<int>(i) / 2, column = (static_cast<int>(i) % 2) * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(edits[i], row, column + 1);
  }
  txtExtraGap = NumberEdit(page, "txtExtraGap");
  txtMaxWidthTitle = NumberEdit(page, "txtMaxWidthTitle");
  auto* layout = new QGridLayout(page);
  layout->addWidget(margins, 0, 0, 1, 2);
  layout->addWidget(new QLabel(LayoutFieldLabel(4), page), 1, 0);
  layout->addWidget(txtExtraGap, 1, 1);
  layout->addWidget(new QLabel(LayoutFieldLabel(5), page), 2, 0);
  layout->addWidget(txtMaxWidthTitle, 2, 1);
  layout->setRowStretch(3, 1);
}

void TPrintWizardDialog::BuildFontsPage(QWidget* page) {
  auto* layout = new QGridLayout(page);
  const std::array<std::pair<const char*, const char*>, 3> rows = {
      {{"Page Header Font...", "pnlHeaderFont"}, {"Normal Font...", "pnlNormalFont"}, {"Notes Font...", "pnlNotesFont"}}};
  std::array<QPushButton*, 3> buttons{};
  std::array<QLabel*, 3> panels{};
  for (size_t i = 0; i < rows.size(); ++i) {
    buttons[i] = new QPushButton(QString::fromLatin1(rows[i].first), page);
    panels[i] = Panel(page, rows[i].second);
    layout->addWidget(buttons[i], static_cast<int>(i), 0);
    layout->addWidget(panels[i], static_cast<int>(i), 1);
  }
  layout->setColumnStretch(1, 1);
  btnHeaderFont = buttons[0];
  btnNormalFont = buttons[1];
  btnNotesFont = buttons[2];
  pnlHeaderFont = panels[0];
  pnlNormalFont = panels[1];
  pnlNotesFont = panels[2];
}

void TPrintWizardDialog::BuildColorsPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  auto makeGroup = [&](const char* caption, const char* panelName, QLabel*& panel, QPushButton*& button) {
    auto* group = new QGroupBox(QString::fromLatin1(caption), page);
    panel = Panel(group, panelName);
    button = new QPushButton(QStringLiteral("Color..."), group);
    auto* row = new QHBoxLayout(group);
    row->addWidget(panel, 1);
    row->addWidget(button);
    layout->addWidget(group);
  };
  makeGroup("Odd-numbered rows", "pnlOddColor", pnlOddColor, btnOddColor);
  makeGroup("Even-numbered rows", "pnlEvenColor", pnlEvenColor, btnEvenColor);
  layout->addStretch(1);
}

void TPrintWizardDialog::BuildContentPage(QWidget* page) {
  lbVisibleColumns = new QListWidget(page);
  lbVisibleColumns->setObjectName(QStringLiteral("lbVisibleColumns"));
  lbSelectedColumns = new QListWidget(page);
  lbSelectedColumns->setObjectName(QStringLiteral("lbSelectedColumns"));
  CmdSelect = new QPushButton(QStringLiteral(">"), page);
  CmdSelect->setObjectName(QStringLiteral("CmdSelect"));
  CmdDeSelect = new QPushButton(QStringLiteral("<"), page);
  CmdDeSelect->setObjectName(QStringLiteral("CmdDeSelect"));
  CmdMoveUp = new QPushButton(QStringLiteral("Up"), page);
  CmdMoveUp->setObjectName(QStringLiteral("CmdMoveUp"));
  CmdMoveDown = new QPushButton(QStringLiteral("Down"), page);
  CmdMoveDown->setObjectName(QStringLiteral("CmdMoveDown"));
  rgSelection = new QGroupBox(QStringLiteral("Selection"), page);
  rgSelection->setObjectName(QStringLiteral("rgSelection"));
  rgOnlyTab = new QRadioButton(QStringLiteral("Only Tasks on selected tab"), rgSelection);
  rgAllTasks = new QRadioButton(QStringLiteral("All Tasks"), rgSelection);
  auto* selection = new QVBoxLayout(rgSelection);
  selection->addWidget(rgOnlyTab);
  selection->addWidget(rgAllTasks);

  auto* moves = new QVBoxLayout;
  moves->addStretch(1);
  for (QPushButton* b : {CmdSelect, CmdDeSelect, CmdMoveUp, CmdMoveDown}) moves->addWidget(b);
  moves->addStretch(1);
  auto* layout = new QGridLayout(page);
  layout->addWidget(new QLabel(QStringLiteral("Available columns:"), page), 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Selected columns:"), page), 0, 2);
  layout->addWidget(lbVisibleColumns, 1, 0);
  layout->addLayout(moves, 1, 1);
  layout->addWidget(lbSelectedColumns, 1, 2);
  layout->addWidget(rgSelection, 2, 0, 1, 3);
}

void TPrintWizardDialog::BindEvents() {
  auto guarded = [this](void (TPrintWizardDialog::*handler)()) {
    return [this, handler] { RunGuarded([&] { (this->*handler)(); }); };
  };
  connect(lbPrinters, &QListWidget::currentRowChanged, this, [this] {
    if (formShown_) RunGuarded([this] { FillPaperAndBins(); });
  });
  connect(lbBins, &QListWidget::currentRowChanged, this, guarded(&TPrintWizardDialog::UpdateStatus));
  connect(cmbPaperSizes, &QComboBox::currentIndexChanged, this, guarded(&TPrintWizardDialog::UpdateStatus));
  connect(chkUseMargins, &QCheckBox::toggled, this, guarded(&TPrintWizardDialog::UpdateStatus));
  connect(lbVisibleColumns, &QListWidget::currentRowChanged, this, [this](int row) {
    lists_.AvailableIndex = row;
    RunGuarded([this] { UpdateStatus(); });
  });
  connect(lbSelectedColumns, &QListWidget::currentRowChanged, this, [this](int row) {
    lists_.SelectedIndex = row;
    RunGuarded([this] { UpdateStatus(); });
  });
  connect(rbPortrait, &QRadioButton::toggled, this, [this] { ShowOrientation(); });
  connect(CmdSelect, &QPushButton::clicked, this, guarded(&TPrintWizardDialog::CmdSelectClick));
  connect(CmdDeSelect, &QPushButton::clicked, this, guarded(&TPrintWizardDialog::CmdDeSelectClick));
  connect(CmdMoveUp, &QPushButton::clicked, this, guarded(&TPrintWizardDialog::CmdMoveUpClick));
  connect(CmdMoveDown, &QPushButton::clicked, this, guarded(&TPrintWizardDialog::CmdDownClick));
  connect(btnHeaderFont, &QPushButton::clicked, this, [this] { RunGuarded([this] { EditFont(options_.PrintHeaderFont); }); });
  connect(btnNormalFont, &QPushButton::clicked, this, [this] { RunGuarded([this] { EditFont(options_.PrintNormalFont); }); });
  connect(btnNotesFont, &QPushButton::clicked, this, [this] { RunGuarded([this] { EditFont(options_.PrintNotesFont); }); });
  connect(btnOddColor, &QPushButton::clicked, this,
          [this] { RunGuarded([this] { EditColor(options_.BackColorOdd); }); });
  connect(btnEvenColor, &QPushButton::clicked, this,
          [this] { RunGuarded([this] { EditColor(options_.BackColorEven); }); });
  connect(CmdClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(CmdPreview, &QPushButton::clicked, this, guarded(&TPrintWizardDialog::CmdPreviewClick));
  connect(CmdHelp, &QPushButton::clicked, this, guarded(&TPrintWizardDialog::CmdHelpClick));
}

void TPrintWizardDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  RunGuarded([this] { FormShow(); });
}
