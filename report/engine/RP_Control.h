#pragma once
// The base of the controls a dialog page holds: a view standing for a live control (a
// widget its subclass makes and owns), shown on the page's form before the report pages
// are built. The engine reaches the control only as a QObject (its "visible" and
// "geometry" properties) and paints it through the windows of the context.
#include "report/engine/RP_View.h"

class TrpControl : public TrpView {
public:
  TrpControl();

  // The live control, or null before the subclass made it.
  virtual QObject* Control() const = 0;

  // "VISIBLE" also shows or hides the live control.
  void SetPropValue(const QString& name, const TrpValue& value) override;
  // Only Name, the geometry, Visible and Restrictions.
  void DeclareProperties() override;
  // The live control sized to the view, painted at its place.
  void Draw(QPainter& canvas) override;

protected:
  // Nor may a control of the hidden dialog form bear it: the live controls share it.
  bool NameInUse(const QString& name) const override;
};
