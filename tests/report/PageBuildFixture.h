#pragma once
// Band generation over a user data set into in-memory pages, read back as a dump of
// "page: name x,y,w,h text" lines: the fixture of the tests that build pages from bands.
#include "BandFormFixture.h"
#include "ReportObjectsSupport.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_PageBuild.h"

#include <QBuffer>
#include <memory>
#include <vector>

// Pages kept as byte arrays, as the prepared pages keep their records.
class MemoryPageSink : public TrpPageSink {
public:
  int Add(const TrpPage&) override {
    pages.push_back(std::make_unique<QByteArray>());
    return Count() - 1;
  }
  QIODevice& PageStream(int index) override {
    buffer_ = std::make_unique<QBuffer>(pages.at(static_cast<size_t>(index)).get());
    buffer_->open(QIODevice::ReadWrite);
    buffer_->seek(buffer_->size());
    return *buffer_;
  }
  int Count() const override { return static_cast<int>(pages.size()); }

  std::vector<std::unique_ptr<QByteArray>> pages;

private:
  std::unique_ptr<QBuffer> buffer_;
};

// A text whose content asks for a fixed height, and one line of it at least 10.
class StretchView : public TestTextView {
public:
  int content = 0;
  int CalcHeight() override { return content; }
  int MinHeight() override { return 10; }
};

class PageBuildTest : public BandFormTest {
public:  // the table cases build their forms through it
  void SetUp() override {
    BandFormTest::SetUp();
    SetRows(3);
    rpGlobals().Parser().OnGetValue = [this](const QString& name, TrpValue& value) {
      const int i = rows->RecNo();
      if (name.toUpper() == QLatin1String("ROW"))
        value = TrpValue(values.value(i, i + 1));
      else if (name.toUpper() == QLatin1String("GRP"))
        value = TrpValue(groups.value(i));
      else
        rpGlobals().DefaultGetValue(name, value);
    };
  }

  void SetRows(int count) { rows->SetRangeEndCount(count); }

  template <class View = TestTextView>
  View* AddText(const QString& name, int top, int height, const QString& text, int left = 0) {
    auto* view = static_cast<View*>(page->Add(std::make_unique<View>()));
    view->Name = name;
    view->SetGeometry(left, top, 100, height);
    view->Flags = 0;
    view->Memo = QStringList{text};
    return view;
  }

  QStringList Build() {
    TrpReportBuild build(report, sink, &owner);
    build.BuildPages();
    return Read();
  }
  // The pages built so far.
  QStringList Read() {
    QStringList dump;
    for (size_t p = 0; p < sink.pages.size(); ++p) {
      QBuffer buffer(sink.pages[p].get());
      buffer.open(QIODevice::ReadOnly);
      if (buffer.size() == 0) dump << QStringLiteral("%1: (empty)").arg(p + 1);
      while (!buffer.atEnd()) {
        const int type = rpReadByte(buffer);
        EXPECT_EQ(type, rpObjectType::Memo);
        TestTextView view;
        view.PreparedMode = true;
        view.ReadFromStream(buffer, kRpStreamVersion);
        dump << QStringLiteral("%1: %2 %3,%4,%5,%6 %7")
                    .arg(p + 1)
                    .arg(view.Name)
                    .arg(view.Left)
                    .arg(view.Top)
                    .arg(view.Width)
                    .arg(view.Height)
                    .arg(view.Memo.join(u'|'));
      }
    }
    return dump;
  }

  TextObjectFactory factory;
  QList<int> values;
  QStringList groups;
  MemoryPageSink sink;
};
