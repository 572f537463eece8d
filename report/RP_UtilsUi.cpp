#include "report/RP_UtilsUi.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStyle>
#include <QWidget>

void rpEnableControls(const QList<QWidget*>& controls, bool enabled) {
  for (QWidget* control : controls) {
    if (!control) continue;
    QPalette palette = control->palette();
    const QPalette base = control->style() ? control->style()->standardPalette() : QPalette();
    if (qobject_cast<QLabel*>(control)) {
      palette.setColor(QPalette::WindowText, enabled ? base.color(QPalette::WindowText)
                                                     : base.color(QPalette::Disabled, QPalette::WindowText));
    } else if (qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
               qobject_cast<QPlainTextEdit*>(control)) {
      palette.setColor(QPalette::Base, enabled ? base.color(QPalette::Base) : base.color(QPalette::Button));
    }
    control->setPalette(palette);
    control->setEnabled(enabled);
  }
}

QWidget* rpControlAtPos(QWidget* parent, QPoint point) {
  if (!parent) return nullptr;
  const QObjectList& children = parent->children();
  // Later children lie on top.
  for (auto it = children.crbegin(); it != children.crend(); ++it) {
    auto* child = qobject_cast<QWidget*>(*it);
    if (!child || !child->isVisible() || child->isWindow() || !child->geometry().contains(point)) continue;
    const QPoint inner = child->mapFromParent(point);
    bool hasWidgets = false;
    for (QObject* grandChild : child->children()) hasWidgets = hasWidgets || qobject_cast<QWidget*>(grandChild);
    if (hasWidgets) {
      if (QWidget* deeper = rpControlAtPos(child, inner)) return deeper;
    }
    return child;
  }
  return nullptr;
}
