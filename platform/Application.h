#pragma once
// The application object. Every event goes through it, so an error that a handler
// lets escape stops here: it is shown in the "Application Error" box and the program
// goes on with the next event.
#include "platform/ApplicationError.h"

#include <QApplication>

class Application : public QApplication {
  Q_OBJECT

public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};
