#include "report/engine/RP_Control.h"

#include "report/engine/RP_Context.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Graphics.h"
#include "report/engine/RP_Host.h"

#include <QRect>
#include <QVariant>

TrpControl::TrpControl() { FillColor = kRpBtnFace; }

void TrpControl::SetPropValue(const QString& name, const TrpValue& value) {
  TrpView::SetPropValue(name, value);
  if (name.toUpper() == QLatin1String("VISIBLE")) {
    if (QObject* control = Control()) control->setProperty("visible", Visible);
  }
}

void TrpControl::DeclareProperties() {
  AddProperty(QStringLiteral("Name"), rpProp::Name);
  for (const char* name : {"Left", "Top", "Width", "Height"}) AddProperty(QString::fromLatin1(name), rpProp::Geometry);
  AddProperty(QStringLiteral("Visible"), rpProp::Boolean);
  AddProperty(QStringLiteral("Restrictions"), rpProp::WithEditor, true);
}

void TrpControl::Draw(QPainter& canvas) {
  BeginDraw(&canvas);
  QObject* control = Control();
  if (control) control->setProperty("geometry", QRect(0, 0, Width, Height));
  CalcGaps();
  if (TrpWindows* windows = rpWindows(); windows && control)
    windows->PaintControl(*control, canvas, QRect(Left, Top, Width + 1, Height + 1));
  RestoreCoord();
}

bool TrpControl::NameInUse(const QString& name) const {
  if (TrpView::NameInUse(name)) return true;
  const QObject* form = rpGlobals().DialogForm();
  return form && form->findChild<QObject*>(name, Qt::FindDirectChildrenOnly);
}
