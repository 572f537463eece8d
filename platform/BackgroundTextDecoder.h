#pragma once
// Decodes the texts of a large table file on a second thread while the first goes on
// reading its records: turning 100,000 tasks' text into UTF-16, and the fresh memory
// that takes, was half the time of a load.
#include "platform/FileText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class BackgroundTextDecoder {
public:
  // Starts the thread that decodes. Where none can start (it raises std::system_error,
  // as std::thread does in a process out of threads) the texts are decoded in place.
  using StartThread = std::function<std::thread(std::function<void()>)>;

  explicit BackgroundTextDecoder(StartThread startThread = {}) : startThread_(std::move(startThread)) {}
  BackgroundTextDecoder(const BackgroundTextDecoder&) = delete;
  BackgroundTextDecoder& operator=(const BackgroundTextDecoder&) = delete;
  ~BackgroundTextDecoder() { Finish(); }

  // Copies the bytes; their text is put into *target once committed. Nothing may touch
  // *target until Finish returns. Empty bytes leave *target as it is.
  void Defer(QByteArrayView bytes, QString* target);
  // The texts deferred so far belong to whole records and may be decoded. Texts
  // deferred after the last commit, those of a record cut short, are dropped.
  void Commit();
  // Puts every committed text in place and returns once all are there.
  void Finish();

private:
  struct Item {
    QString* target;
    qsizetype offset;
    qsizetype size;
  };
  struct Batch {
    QByteArray bytes;
    qsizetype used = 0;
    std::vector<Item> items;
    size_t committed = 0;
  };

  std::unique_ptr<Batch> TakeSpare();
  void Submit();
  void Run();
  void Decode(Batch& batch);

  std::unique_ptr<Batch> current_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Batch>> queued_;
  std::vector<std::unique_ptr<Batch>> spare_;
  int batches_ = 0;
  bool finishing_ = false;
  StartThread startThread_;
  bool noThread_ = false;  // none could be started: the texts are decoded in place
  FileTextPool pool_;       // used by whichever thread decodes, never by both
  std::thread worker_;
};
