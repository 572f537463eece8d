#pragma once
// Finds out whether another copy of the program is running for this user, and lets a
// later copy ask the running one to come forward. The running copy listens on a local
// socket whose name comes from the window class, the caption and the user, in a folder
// only this user can enter: another user cannot take the name and keep the program from
// starting, and two starts of one user meet there whatever their temporary folder is.
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

  // A name without a folder goes into PrivateRuntimeFolder().
  explicit InstanceChannel(const QString& serverName, QObject* parent = nullptr);
  ~InstanceChannel() override;

  // A socket name made only of safe characters, short enough for a socket path, and
  // different for every (window class, caption, user).
  static QString ServerName(const QString& windowClass, const QString& caption, const QString& userName);
  // The login name of the user running the program.
  static QString CurrentUserName();
  // $XDG_RUNTIME_DIR when the session has one; otherwise a folder of this user's that
  // nobody else may enter, made when missing. Empty when no such folder can be had.
  static QString PrivateRuntimeFolder();

  // Looks for a running copy; when there is none, starts listening (clearing the
  // socket a crashed copy may have left behind). When listening is impossible the
  // program runs unguarded as First.
  Role Start();
  bool IsListening() const { return server_.isListening(); }
  // The socket's full path.
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
