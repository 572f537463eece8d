// main() of every test binary: the program's application object on the offscreen
// platform with a fixed locale and style, so widget tests paint and format the same on
// every machine, and an error escaping an event handler reaches the error box as it
// would in the program.
//
// No test reaches the real desktop unless it asks for it: a fake stands in throughout,
// and a message box that no test expected fails the test instead of waiting for a click.
#include "platform/Application.h"
#include "support/FakeDesktop.h"

#include <QLocale>
#include <QStyleFactory>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  Application app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  FakeDesktop quiet;
  quiet.onMessage = [](const FakeDesktop::Message& message) {
    ADD_FAILURE() << "unexpected message box: " << message.caption.toStdString() << ": " << message.text.toStdString();
    return Msg::Ok;
  };
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
