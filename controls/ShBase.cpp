#include "controls/ShBase.h"

#include "controls/ShConst.h"

#include <QtGlobal>

EShException::EShException(int id) : Exception(ShellMessageText(id)), id_(id) {}

double VersionTextToNumber(const QString& text) {
  bool ok = false;
  double number = text.trimmed().toDouble(&ok);
  if (ok) return number;
  const int firstDot = text.indexOf(QLatin1Char('.'));
  const int secondDot = firstDot < 0 ? -1 : text.indexOf(QLatin1Char('.'), firstDot + 1);
  const QString majorMinor = (secondDot < 0 ? text : text.left(secondDot)).left(5);
  number = majorMinor.toDouble(&ok);
  return ok ? number : 0.0;
}

TShShellComponent::TShShellComponent(QObject* owner)
    : TShComponent(owner), shellVersion_(VersionTextToNumber(QString::fromLatin1(qVersion()))) {}
