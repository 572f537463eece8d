#pragma once
// Small stand-ins for what the engine reaches through interfaces: a table in memory, a
// report host with bands and objects, and windows that answer from a script.
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Aggregates.h"
#include "report/engine/RP_DBSet.h"
#include "report/engine/RP_Host.h"

#include <QHash>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class MemoryTable;

class MemoryField : public TrpField {
public:
  MemoryField(MemoryTable& table, QString name, TrpFieldType type) : table_(table), name_(std::move(name)), type_(type) {}
  QString FieldName() const override { return name_; }
  TrpFieldType DataType() const override { return type_; }
  TrpTableDataSet* DataSet() const override;
  bool IsNull() const override { return Value().IsNull(); }
  TrpValue Value() const override;
  QString DisplayText() const override { return QStringLiteral("<") + Value().ToString() + u'>'; }
  bool HasTextHandler() const override { return textHandler; }
  // The value's text in UTF-8 (a memo field's bytes).
  QByteArray BlobData() const override {
    const TrpValue value = Value();
    return value.IsNull() ? QByteArray() : value.ToString().toUtf8();
  }
  bool textHandler = false;

private:
  MemoryTable& table_;
  QString name_;
  TrpFieldType type_;
};

// Rows of named values; the bookmark is the row index.
class MemoryTable : public TrpTableDataSet {
public:
  explicit MemoryTable(QObject* owner = nullptr) : TrpTableDataSet(owner) {}

  void AddField(const QString& name, TrpFieldType type) {
    fields_.push_back(std::make_unique<MemoryField>(*this, name, type));
  }
  void AddRow(QHash<QString, TrpValue> row) { rows.push_back(std::move(row)); }

  bool Active() const override { return active; }
  void Open() override {
    active = true;
    ++opened;
  }
  void Close() override { active = false; }
  void First() override { row = 0; }
  void Next() override {
    if (row < static_cast<int>(rows.size())) ++row;
  }
  void Prior() override {
    if (row > 0) --row;
  }
  bool Eof() const override { return row >= static_cast<int>(rows.size()); }
  Bookmark GetBookmark() const override { return row; }
  void GotoBookmark(Bookmark bookmark) override { row = static_cast<int>(bookmark); }
  QStringList FieldNames() const override {
    QStringList names;
    for (const auto& field : fields_) names << field->FieldName();
    return names;
  }
  TrpField* FindField(const QString& name) const override {
    for (const auto& field : fields_) {
      if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0) return field.get();
    }
    return nullptr;
  }

  std::vector<QHash<QString, TrpValue>> rows;
  int row = 0;
  bool active = false;
  int opened = 0;

private:
  std::vector<std::unique_ptr<MemoryField>> fields_;
};

inline TrpTableDataSet* MemoryField::DataSet() const { return &table_; }

inline TrpValue MemoryField::Value() const {
  if (table_.Eof()) return TrpValue::Null();
  return table_.rows[static_cast<size_t>(table_.row)].value(name_, TrpValue::Null());
}

// An object with a few properties, recording what scripts do to it.
class FakeObject : public TrpScriptObject {
public:
  QHash<QString, TrpValue> properties;
  QStringList calls;

  bool HasProperty(const QString& name) override { return properties.contains(name.toUpper()); }
  void SetPropValue(const QString& name, const TrpValue& value) override { properties.insert(name.toUpper(), value); }
  TrpValue GetPropValue(const QString& name) override { return properties.value(name.toUpper(), TrpValue::Null()); }
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override {
    calls << name + u'(' + QStringList{p1, p2, p3}.join(u',') + u')';
    return TrpValue();
  }
};

class FakeBand : public TrpAggregateBand {
public:
  FakeBand(QString name, int type) : name_(std::move(name)), type_(type) {}
  QString Name() const override { return name_; }
  int BandType() const override { return type_; }
  bool HasCrossObjects() const override { return crossObjects; }
  TrpAggregateBand* AggregateSource() const override { return source_; }
  void SetAggregateSource(TrpAggregateBand* band) override { source_ = band; }
  TrpAggregateValues& Aggregates() override { return values_; }
  bool crossObjects = false;

private:
  QString name_;
  int type_;
  TrpAggregateBand* source_ = nullptr;
  TrpAggregateValues values_;
};

class FakeHost : public TrpReportHost {
public:
  QHash<QString, TrpValue> dictionary;  // upper-case names
  std::map<QString, FakeObject*> objects;
  QObject owner;
  int modalResult = -1;
  bool hasDialog = true;
  int curY = -1;
  int bandType = -1;
  std::map<int, TrpDataset*> dataSets;
  TrpDataset* defaultDataSet = nullptr;
  bool binding = false;
  TrpAggregateBand* current = nullptr;
  TrpAggregateBand* examined = nullptr;
  int column = 0;

  bool SetDictionaryVariable(const QString& name, const TrpValue& value) override {
    if (!dictionary.contains(name.toUpper())) return false;
    dictionary.insert(name.toUpper(), value);
    return true;
  }
  bool SetModalResult(int result) override {
    if (!hasDialog) return false;
    modalResult = result;
    return true;
  }
  void SetCurY(int y) override { curY = y; }
  TrpObjectProperty GetObjectByName(const QString& text) override {
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0) return {};
    const auto it = objects.find(text.left(dot).toUpper());
    if (it == objects.end()) return {};
    return {it->second, text.mid(dot + 1)};
  }
  QObject* Owner() override { return &owner; }
  int CurrentBandType() override { return bandType; }
  TrpDataset* DataBandDataSet(int type) override {
    const auto it = dataSets.find(type);
    return it == dataSets.end() ? nullptr : it->second;
  }
  TrpDataset* DefaultDataSet() override { return defaultDataSet; }
  bool BindingDataSources() const override { return binding; }
  TrpAggregateBand* CurrentAggregateBand() override { return current; }
  TrpAggregateBand* ExaminedDataBand() override { return examined; }
  int CurrentColumn() const override { return column; }
};

class FakeProgress : public TrpProgressView {
public:
  QString caption, first, second;
  int repaints = 0;
  bool visible = false;
  void SetCaption(const QString& text) override { caption = text; }
  void SetFirstLine(const QString& text) override { first = text; }
  void SetSecondLine(const QString& text) override { second = text; }
  QString SecondLine() const override { return second; }
  bool Run(std::function<void()> work) override {
    work();
    return true;
  }
  void Close(bool) override {}
  bool IsVisible() const override { return visible; }
  void SetVisible(bool value) override { visible = value; }
  void ProcessEvents() override { ++repaints; }
};

// Puts itself in the engine's context for its lifetime; the globals made meanwhile take
// its windows.
class FakeWindows : public TrpWindows {
public:
  FakeWindows() : scope_(rpContextWith([this](TrpContext& c) { c.Windows = this; })) {}
  FakeWindows(const FakeWindows&) = delete;
  FakeWindows& operator=(const FakeWindows&) = delete;

  QString inputAnswer;
  int messageAnswer = 1;
  QStringList log;
  FakeProgress* progress = nullptr;

  std::unique_ptr<TrpProgressView> CreateProgressWindow() override {
    auto view = std::make_unique<FakeProgress>();
    progress = view.get();
    return view;
  }
  std::unique_ptr<QObject> CreateDialogForm() override {
    auto form = std::make_unique<QObject>();
    form->setObjectName(QStringLiteral("DialogForm"));
    return form;
  }
  QString InputBox(const QString& caption, const QString& prompt, const QString& defaultText) override {
    log << QStringLiteral("input:") + caption + u'|' + prompt + u'|' + defaultText;
    return inputAnswer;
  }
  int MessageBox(const QString& text, const QString& caption, int flags) override {
    log << QStringLiteral("message:") + text + u'|' + caption + u'|' + QString::number(flags);
    return messageAnswer;
  }

private:
  TrpContextScope scope_;
};
