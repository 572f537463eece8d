#include "report/RP_WinPos.h"

#include <QWidget>

namespace {

QString SubKey(const QWidget& window) {
  return QStringLiteral("Software\\BandReport\\Form\\") + QString::fromLatin1(window.metaObject()->className());
}

int ReadInt(const RegistryStore& store, const QString& key, const char* name, int fallback) {
  const std::optional<QString> text = store.ReadString(RegistryHive::CurrentUser, key, QString::fromLatin1(name));
  bool ok = false;
  const int value = text ? text->toInt(&ok) : 0;
  return ok ? value : fallback;
}

}  // namespace

void rpSaveFormPosition(QWidget& window, const RegistryStore& store) {
  const QString key = SubKey(window);
  store.CreateKey(RegistryHive::CurrentUser, key);
  const QRect bounds = window.isMaximized() ? window.normalGeometry() : window.geometry();
  auto write = [&](const char* name, const QString& value) {
    store.WriteString(RegistryHive::CurrentUser, key, QString::fromLatin1(name), value);
  };
  write("XPosition", QString::number(bounds.x()));
  write("YPosition", QString::number(bounds.y()));
  write("Width", QString::number(bounds.width()));
  write("Height", QString::number(bounds.height()));
  write("Maximized", window.isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
}

void rpRestoreFormPosition(QWidget& window, const RegistryStore& store) {
  const QString key = SubKey(window);
  const std::optional<QString> maximized = store.ReadString(RegistryHive::CurrentUser, key, QStringLiteral("Maximized"));
  const bool isMaximized = !maximized || (*maximized != QLatin1String("0") &&
                                          maximized->compare(QLatin1String("false"), Qt::CaseInsensitive) != 0);
  if (!isMaximized) window.setWindowState(window.windowState() & ~Qt::WindowMaximized);
  const QRect current = window.geometry();
  window.setGeometry(ReadInt(store, key, "XPosition", current.x()), ReadInt(store, key, "YPosition", current.y()),
                     ReadInt(store, key, "Width", current.width()), ReadInt(store, key, "Height", current.height()));
}
