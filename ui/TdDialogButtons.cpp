#include "ui/TdDialogButtons.h"

#include "platform/ApplicationError.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace {
constexpr int kButtonWidth = 75;
}

QPushButton* DialogButton(const QString& text, const char* objectName, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(objectName));
  button->setAutoDefault(false);
  button->setMinimumWidth(kButtonWidth);
  return button;
}

QBoxLayout* CommandColumn(int topSpacing, std::initializer_list<QPushButton*> commands, QPushButton* close,
                          QPushButton* help) {
  auto* column = new QVBoxLayout;
  column->addSpacing(topSpacing);
  for (QPushButton* b : commands) column->addWidget(b);
  column->addStretch();
  column->addWidget(close);
  column->addWidget(help);
  return column;
}

QBoxLayout* OkCommandCancelHelpRow(QDialog& dialog, const QString& commandText, const char* commandName,
                                   std::function<void()> command, std::function<void()> help) {
  QPushButton* ok = DialogButton(QStringLiteral("OK"), "OkButton", &dialog);
  ok->setDefault(true);
  QPushButton* own = DialogButton(commandText, commandName, &dialog);
  QPushButton* cancel = DialogButton(QStringLiteral("Cancel"), "CancelButton", &dialog);
  QPushButton* helpButton = DialogButton(QStringLiteral("&Help"), "HelpButton", &dialog);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(own, &QPushButton::clicked, &dialog, [command = std::move(command)] { RunGuarded(command); });
  QObject::connect(helpButton, &QPushButton::clicked, &dialog, [help = std::move(help)] { RunGuarded(help); });
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* b : {ok, own, cancel, helpButton}) row->addWidget(b);
  return row;
}
