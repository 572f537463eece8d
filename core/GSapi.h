#pragma once
// The program-wide speech voice and the playback of a reminder. The voice is made once at
// start without contacting the speech engine and handed to the program through its
// context; when making it fails there is none, and every reminder plays without its
// speech part.
#include "platform/SpeechEngine.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class TSapiVoice : public SpeechVoice {
public:
  // Speaks through the given voice, by default the synthesiser on the sound device.
  // Contacts nothing: the engine starts at the first Speak.
  explicit TSapiVoice(std::unique_ptr<SpeechVoice> voice = nullptr);
  TSapiVoice(const TSapiVoice&) = delete;
  TSapiVoice& operator=(const TSapiVoice&) = delete;

  // Starts speaking the text and returns at once.
  void Speak(const QString& text) override;
  void Cancel() override;

private:
  std::unique_ptr<SpeechVoice> voice_;
};

// The voice for the program's start, or null when it cannot be made.
std::unique_ptr<TSapiVoice> CreateSapiVoice() noexcept;

// The context's voice, or null when there is none.
SpeechVoice* SapiVoice();

// The reminder type without its speech part: speech alone becomes a beep.
int WithoutSpeech(int reminderType);

// One reminder's alert: the beep, then the sound file played to its end, then the title
// spoken, as far as the type includes them; without a voice the speech part is left out
// (WithoutSpeech). The sound plays while the event loop goes on, and the speech follows
// when it has ended. Nothing that fails here reaches the caller.
class TReminderAlert : public QObject {
  Q_OBJECT

public:
  explicit TReminderAlert(QObject* parent = nullptr);
  // A sound still playing stops: the alert's owner (its window) is done with it.
  ~TReminderAlert() override;

  // Plays the beep at once and starts the rest; once per object.
  void Start(int reminderType, const QString& title, const QString& soundPath);
  // True once every part has played, been dropped or been stopped.
  bool Finished() const { return finished_; }

signals:
  void finishedPlaying();

private:
  void SoundEnded();
  void Finish();

  bool started_ = false;
  bool finished_ = false;
  bool speakAfterSound_ = false;
  bool soundPlaying_ = false;
  QString title_;
  unsigned epoch_ = 0;
};

// Plays a reminder's alert (see TReminderAlert) that frees itself when done.
void PlayReminder(int reminderType, const QString& title, const QString& soundPath);

// Ends every alert: sounds in progress and speech stop, and no part that is still to come
// plays. For the program's end.
void StopAllAlerts();
