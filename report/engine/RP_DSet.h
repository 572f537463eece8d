#pragma once
// The data sets that feed data bands. A data set is a component: a QObject whose
// objectName is the name reports use to find it.
#include <QObject>
#include <functional>

enum TrpRangeBegin { rbFirst = 0, rbCurrent = 1 };
enum TrpRangeEnd { reLast = 0, reCurrent = 1, reCount = 2 };

class TrpDataset : public QObject {
public:
  explicit TrpDataset(QObject* owner = nullptr) : QObject(owner) {}

  TrpRangeBegin RangeBegin() const { return rangeBegin_; }
  void SetRangeBegin(TrpRangeBegin value) { rangeBegin_ = value; }
  TrpRangeEnd RangeEnd() const { return rangeEnd_; }
  void SetRangeEnd(TrpRangeEnd value) { rangeEnd_ = value; }
  int RangeEndCount() const { return rangeEndCount_; }
  void SetRangeEndCount(int value) { rangeEndCount_ = value; }
  // 0 at the first record.
  int RecNo() const { return recNo_; }

  std::function<void()> OnFirst;
  std::function<void()> OnNext;
  std::function<void()> OnPrior;
  // May set or clear the end the data set reports.
  std::function<void(bool& eof)> OnCheckEOF;

  virtual void Init() {}
  virtual void Exit() {}
  virtual void First();
  virtual void Next();
  virtual void Prior();
  virtual bool Eof();

protected:
  bool CountReached() const { return rangeEnd_ == reCount && recNo_ >= rangeEndCount_; }

private:
  TrpRangeBegin rangeBegin_ = rbFirst;
  TrpRangeEnd rangeEnd_ = reLast;
  int rangeEndCount_ = 0;
  int recNo_ = 0;
};

// A data set whose records are whatever its events say: the print wizard walks the task
// tree's visible nodes with one.
class TrpUserDataset : public TrpDataset {
public:
  using TrpDataset::TrpDataset;
};
