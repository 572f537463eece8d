// The program's entry: the application object, then the main window, then the loop.
#include <QApplication>
#include <QIcon>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmora.svg")));
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Velmora"));
  window.resize(800, 600);
  window.show();
  return app.exec();
}
