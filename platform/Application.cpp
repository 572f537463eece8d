#include "platform/Application.h"

#include "platform/Desktop.h"
#include "platform/Exception.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowApplicationError(CurrentExceptionMessage());
  }
  return false;
}

void ShowApplicationError(const QString& message) {
  try {
    Desktop().MessageBox(QStringLiteral("Application Error"), message, QMessageBox::Critical, QMessageBox::Ok);
  } catch (...) {
    // Nothing may leave the event loop, not even a failure to show the failure.
  }
}

QString CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Exception& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
  } catch (...) {
    return QStringLiteral("An unknown error occurred.");
  }
}
