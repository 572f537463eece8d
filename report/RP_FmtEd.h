#pragma once
// Edits a view's display format: a category, a kind within it, for numbers the decimal
// digits and separator, and for the fifth kind of each category a custom format text.
#include <QDialog>
#include <cstdint>
#include <vector>

class QLineEdit;
class QListWidget;

class TrpFmtForm : public QDialog {
  Q_OBJECT

public:
  TrpFmtForm(uint32_t format, const QString& pattern, QWidget* parent = nullptr);

  // The format word and custom text as OK leaves them (the ones given before that).
  uint32_t Format() const { return format_; }
  QString Pattern() const { return pattern_; }

  QListWidget* Categories() const { return categories_; }
  QListWidget* Kinds() const { return kinds_; }
  QLineEdit* Decimals() const { return decimals_; }
  QLineEdit* Separator() const { return separator_; }
  QLineEdit* Custom() const { return custom_; }

  void accept() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FillKinds(int category, int kind);
  void UpdateEnabled();
  int CurrentKind() const;

  QListWidget* categories_;
  QListWidget* kinds_;
  QLineEdit* decimals_;
  QLineEdit* separator_;
  QLineEdit* custom_;
  std::vector<int> kindOfRow_;
  uint32_t format_;
  QString pattern_;
};
