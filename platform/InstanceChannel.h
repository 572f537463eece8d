#pragma once
// Finds out whether another copy of the program is running for this user, and lets a
// later copy ask the running one to come forward. The running copy listens on a local
// socket whose name comes from the window class, the caption and the user.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

class InstanceChannel : public QObject {
  Q_OBJECT

public:
  enum class Role {
    First,   // no other copy answered: this one now listens
    Second,  // another copy is running
  };

  explicit InstanceChannel(QString serverName, QObject* parent = nullptr);
  ~InstanceChannel() override;

  // A socket name made only of safe characters, short enough for a socket path, and
  // different for every (window class, caption, user).
  static QString ServerName(const QString& windowClass, const QString& caption, const QString& userName);
  // The login name of the user running the program.
  static QString CurrentUserName();

  // Looks for a running copy; when there is none, starts listening (clearing the
  // socket a crashed copy may have left behind). When listening is impossible the
  // program runs unguarded as First.
  Role Start();
  bool IsListening() const { return server_.isListening(); }
  const QString& Name() const { return name_; }

  // Asks the running copy to come forward and waits (briefly) for it to confirm.
  bool AskToComeForward();

  // Called in the running copy when a later one asks it to come forward.
  std::function<void()> OnComeForward;

private:
  bool IsAnswered() const;
  void Accept();

  QString name_;
  QLocalServer server_;
};
