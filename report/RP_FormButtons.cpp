#include "report/RP_FormButtons.h"

#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* rpOkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(rpLoadStr(rpStrings::Ok));
  buttons->button(QDialogButtonBox::Cancel)->setText(rpLoadStr(rpStrings::ProgressCancel));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}
