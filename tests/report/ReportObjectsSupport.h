#pragma once
// What the tests of report objects share: a plain text object standing in for the
// memo (type 0), a report wired to the parser so scripts reach its objects as the
// report component wires them, and byte helpers.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_ObjectRegistry.h"
#include "report/engine/RP_Utils.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>

class TestTextView : public TrpStretcheable {
public:
  TestTextView() {
    Typ = rpObjectType::Memo;
    SetBaseName(QStringLiteral("Memo"));
  }
  QString ClassName() const override { return QStringLiteral("TrpMemoView"); }
  void DeclareProperties() override {
    TrpView::DeclareProperties();
    AddProperty(QStringLiteral("Stretched"), rpProp::Boolean);
  }
  void Draw(QPainter& canvas) override {
    BeginDraw(&canvas);
    CalcGaps();
    ShowBackground();
    ShowFrame();
    RestoreCoord();
  }
  int CalcHeight() override { return Height; }
  int MinHeight() override { return 1; }
  int RemainHeight() override { return 0; }
};

// Installs the text object for the test's lifetime.
struct TextObjectFactory {
  TextObjectFactory() {
    rpSetMemoViewFactory([] { return std::make_unique<TestTextView>(); });
  }
  ~TextObjectFactory() { rpSetMemoViewFactory({}); }
};

// Names with a dot reach the report's objects, calls with a dot their methods.
inline void WireParserToReport(TrpReport& report) {
  TrpParser& parser = rpGlobals().Parser();
  parser.OnGetValue = [&report](const QString& name, TrpValue& value) {
    if (name.contains(u'.')) {
      const TrpObjectProperty target = rpGetObjectByName(report, name);
      if (target.object) {
        value = target.object->GetPropValue(target.property);
        return;
      }
    }
    rpGlobals().DefaultGetValue(name, value);
  };
  parser.OnFunction = [&report](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                                TrpValue& value) {
    if (name.contains(u'.')) {
      const TrpObjectProperty target = rpGetObjectByName(report, name);
      if (target.object) {
        value = target.object->DoMethod(target.property, p1, p2, p3);
        return;
      }
    }
    rpGlobals().DefaultFunction(name, p1, p2, p3, value);
  };
}

// The report as the language's host: assignments reach its objects.
class ObjectHost : public TrpReportHost {
public:
  explicit ObjectHost(TrpReport& report) : report_(report) { rpGlobals().SetCurrentReport(this); }
  ~ObjectHost() override { rpGlobals().SetCurrentReport(nullptr); }
  bool SetDictionaryVariable(const QString&, const TrpValue&) override { return false; }
  bool SetModalResult(int) override { return false; }
  void SetCurY(int) override {}
  TrpObjectProperty GetObjectByName(const QString& text) override { return rpGetObjectByName(report_, text); }
  QObject* Owner() override { return nullptr; }
  int CurrentBandType() override { return -1; }
  TrpDataset* DataBandDataSet(int) override { return nullptr; }
  TrpDataset* DefaultDataSet() override { return nullptr; }
  bool BindingDataSources() const override { return false; }
  TrpAggregateBand* CurrentAggregateBand() override { return nullptr; }
  TrpAggregateBand* ExaminedDataBand() override { return nullptr; }
  int CurrentColumn() const override { return 0; }

private:
  TrpReport& report_;
};

// Little-endian byte builder for expected records.
class Bytes {
public:
  Bytes& b(int v) {
    data_ += static_cast<char>(v);
    return *this;
  }
  Bytes& w(int v) {
    char x[2];
    qToLittleEndian(static_cast<uint16_t>(v), x);
    data_.append(x, 2);
    return *this;
  }
  Bytes& i(int64_t v) {
    char x[4];
    qToLittleEndian(static_cast<uint32_t>(v), x);
    data_.append(x, 4);
    return *this;
  }
  Bytes& s(const char* text) {
    const QByteArray t(text);
    w(static_cast<int>(t.size()));
    data_ += t;
    return b(0);
  }
  Bytes& raw(const QByteArray& bytes) {
    data_ += bytes;
    return *this;
  }
  // A list of lines in the current layout.
  Bytes& list(std::initializer_list<const char*> lines) {
    w(static_cast<int>(lines.size()));
    int n = 0;
    for (const char* line : lines) {
      const QByteArray t(line);
      w(static_cast<int>(t.size()));
      data_ += t;
      if (++n < static_cast<int>(lines.size())) b(13);
    }
    return b(0);
  }
  const QByteArray& data() const { return data_; }
  qsizetype size() const { return data_.size(); }

private:
  QByteArray data_;
};

// A buffer open for reading the bytes from their start.
class ReadBuffer : public QBuffer {
public:
  explicit ReadBuffer(const QByteArray& bytes) {
    setData(bytes);
    open(QIODevice::ReadOnly);
  }
};

inline QByteArray WriteView(TrpView& view) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  view.WriteToStream(buffer);
  return buffer.data();
}

inline QByteArray WriteReport(TrpReport& report) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  report.WriteToStream(buffer);
  return buffer.data();
}

inline bool ReadReport(TrpReport& report, const QByteArray& bytes) {
  ReadBuffer buffer(bytes);
  return report.ReadFromStream(buffer);
}
