#pragma once
// A data set over a table data set: the rows of a database table or query. The program
// has no database; TrpTableDataSet is what such a source has to offer, so an add-in
// (or a test) can supply one.
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Variant.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <cstdint>

class TrpTableDataSet;

enum class TrpFieldType { String, WideString, Boolean, Integer, Float, DateTime, Blob, Memo, Graphic, FormattedMemo,
                          ParadoxOle, DBaseOle, TypedBinary, Other };

class TrpField {
public:
  virtual ~TrpField() = default;
  virtual QString FieldName() const = 0;
  virtual TrpFieldType DataType() const = 0;
  virtual TrpTableDataSet* DataSet() const = 0;
  virtual bool IsNull() const = 0;
  virtual TrpValue Value() const = 0;
  virtual QString DisplayText() const = 0;
  // A field whose text an event supplies shows that text rather than its value.
  virtual bool HasTextHandler() const { return false; }
  virtual QByteArray BlobData() const { return {}; }
};

class TrpTableDataSet : public QObject {
public:
  using Bookmark = int64_t;

  explicit TrpTableDataSet(QObject* owner = nullptr) : QObject(owner) {}

  virtual bool Active() const = 0;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  virtual bool Eof() const = 0;
  virtual Bookmark GetBookmark() const = 0;
  virtual void GotoBookmark(Bookmark bookmark) = 0;
  virtual void FreeBookmark(Bookmark) {}
  // May raise: callers that only look ignore its errors.
  virtual QStringList FieldNames() const = 0;
  // Null when there is no such field (names match without regard to case).
  virtual TrpField* FindField(const QString& name) const = 0;
};

// Links data-aware pieces to a table data set.
class TrpDataSource : public QObject {
public:
  explicit TrpDataSource(QObject* owner = nullptr) : QObject(owner) {}
  TrpTableDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TrpTableDataSet* dataSet) { dataSet_ = dataSet; }

private:
  QPointer<TrpTableDataSet> dataSet_;
};

class TrpDBDataSet : public TrpDataset {
public:
  explicit TrpDBDataSet(QObject* owner = nullptr) : TrpDataset(owner) {}

  // Setting one clears the other; either is cleared when the object it names is freed.
  TrpTableDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TrpTableDataSet* dataSet);
  TrpDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TrpDataSource* dataSource);
  bool OpenDataSource() const { return openDataSource_; }
  void SetOpenDataSource(bool value) { openDataSource_ = value; }
  bool CloseDataSource() const { return closeDataSource_; }
  void SetCloseDataSource(bool value) { closeDataSource_ = value; }

  std::function<void()> OnOpen;
  std::function<void()> OnClose;

  // The data source's data set, else DataSet; null with neither.
  TrpTableDataSet* TableDataSet() const;

  void Init() override;
  void Exit() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;

private:
  // Raises "Unable to open dataset " and the component's name when there is none.
  TrpTableDataSet& Table() const;

  QPointer<TrpTableDataSet> dataSet_;
  QPointer<TrpDataSource> dataSource_;
  bool openDataSource_ = true;
  bool closeDataSource_ = false;
  bool hasBookmark_ = false;
  TrpTableDataSet::Bookmark bookmark_ = 0;
  bool eof_ = false;
};
