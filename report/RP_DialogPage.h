#pragma once
// The modal form of a dialog page on Qt Widgets: the page's controls on a dialog with
// the page's caption, colour, size, border and position.
#include "report/engine/RP_Host.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class TrpDialogPage : public QDialog, public TrpDialogPageForm {
public:
  TrpDialogPage();
  // Hands the placed controls back to the hidden dialog form, whose owners free them.
  ~TrpDialogPage() override;

  void Place(QObject& control) override;
  void SetLook(const TrpDialogLook& look) override;
  int ShowModal() override;
  void SetModalResult(int result) override;

private:
  std::vector<QPointer<QWidget>> placed_;
};
