#pragma once
// The application object. Every event goes through it, so an error that a handler
// lets escape stops here: it is shown in the "Application Error" box and the program
// goes on with the next event.
#include <QApplication>
#include <QString>
#include <exception>

class Application : public QApplication {
  Q_OBJECT

public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the text of an error that reached the event loop in the "Application Error"
// box (error icon, OK) through the desktop.
void ShowApplicationError(const QString& message);

// The text of the exception being handled (for use inside a catch block): the message
// of our own errors, what() of others, a general text for anything else.
QString CurrentExceptionMessage();
