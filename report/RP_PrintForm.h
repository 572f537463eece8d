#pragma once
// The print dialog the preview shows before printing: which printer (switched at once
// as the user picks it, and put back when the dialog closes without OK), its set-up,
// copies and collation, and which pages.
#include "report/engine/RP_PrinterPageList.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TrpPrinter;
class TrpCollatePicture;

enum class TrpPageRangeChoice { All = 0, Current = 1, Pages = 2 };

// What the caller prints with.
struct TrpPrintRequest {
  int printerIndex = 0;
  int copies = 1;
  bool collate = true;
  TrpPageRangeChoice range = TrpPageRangeChoice::All;
  QString pageText;
  TrpPageParity parity = TrpPageParity::All;
};

class TrpPrintForm : public QDialog {
  Q_OBJECT

public:
  explicit TrpPrintForm(TrpPrinter& printer, QWidget* parent = nullptr);

  TrpPrintRequest Request() const;

  QComboBox* PrinterList() const { return printers_; }
  QPushButton* PropertiesButton() const { return properties_; }
  QSpinBox* CopiesEdit() const { return copies_; }
  QCheckBox* CollateCheck() const { return collate_; }
  QWidget* CollatePicture() const;
  QRadioButton* AllButton() const { return all_; }
  QRadioButton* CurrentButton() const { return current_; }
  QRadioButton* PagesButton() const { return pages_; }
  QLineEdit* PagesEdit() const { return pageText_; }
  QComboBox* ParityList() const { return parity_; }

  void accept() override;
  void done(int result) override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void PrinterChosen(int index);

  TrpPrinter& printer_;
  int openingIndex_;
  QComboBox* printers_;
  QPushButton* properties_;
  QSpinBox* copies_;
  QCheckBox* collate_;
  TrpCollatePicture* picture_;
  QRadioButton* all_;
  QRadioButton* current_;
  QRadioButton* pages_;
  QLineEdit* pageText_;
  QComboBox* parity_;
};

// Runs the dialog modally on the engine's printer; true and the request filled when
// the user pressed OK.
bool rpShowPrintDialog(TrpPrinter& printer, TrpPrintRequest& request, QWidget* parent = nullptr);
