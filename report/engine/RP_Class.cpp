// The report's form side: pages, information, object lookup, and the component's
// property in its owner's form file.
#include "report/engine/RP_Class.h"

#include "platform/DateTime.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_MemoExpand.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_PreviewView.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QBuffer>

TrpReport::TrpReport(QObject* owner)
    : Now([] { return static_cast<double>(DateTime::Now()); }), owner_(owner), prepared_(this) {
  FileName = rpLoadStr(rpStrings::Untitled);
  prepared_.OnBeginPage = [this](int index) {
    if (OnBeginPage) OnBeginPage(index);
  };
  prepared_.OnObjectClick = [this](TrpView& view) {
    if (OnObjectClick) OnObjectClick(view);
  };
  prepared_.OnMouseOverObject = [this](TrpView& view, Qt::CursorShape& cursor) {
    if (OnMouseOverObject) OnMouseOverObject(view, cursor);
  };
}

TrpReport::~TrpReport() {
  // The window shows our pages: it goes first.
  previewWindow_.reset();
}

TrpPage* TrpReport::AddPage() {
  pages_.push_back(std::make_unique<TrpPage>(this));
  return pages_.back().get();
}

void TrpReport::Clear() {
  currentView_ = nullptr;
  currentPage_ = nullptr;
  pages_.clear();
  Dictionary.Clear();
  TwoPass = false;
}

TrpView* TrpReport::FindObject(const QString& name) const {
  for (const auto& page : pages_) {
    if (TrpView* view = page->FindObject(name)) return view;
  }
  return nullptr;
}

void TrpReport::ClearInfo() {
  InfoComment.clear();
  InfoName.clear();
  InfoAuthor.clear();
  InfoVersionMajor.clear();
  InfoVersionMinor.clear();
  InfoVersionRelease.clear();
  InfoVersionBuild.clear();
  ReportPassword.clear();
  ReportProtected = false;
  InfoCreateDate = 0;
  InfoLastChange = 0;
}

QString TrpReport::ExpandFields(const QString& text) {
  if (building_) return rpExpandBrackets(text, [this](const QString& expression) { return ExpressionText(expression); });
  QString result;
  qsizetype pos = 0;
  while (pos < text.size()) {
    qsizetype start = pos, stop = pos;
    const QString expression = GetBracketedText(text, start, stop);
    if (stop == start || stop >= text.size()) {
      result += text.mid(pos);
      break;
    }
    result += text.mid(pos, start - pos);
    result += rpGlobals().Parser().Calc(expression).ToString();
    pos = stop + 1;
  }
  return result;
}

TrpObjectProperty rpGetObjectByName(TrpReport& report, const QString& text) {
  TrpView* current = report.CurrentView();
  const qsizetype dot = text.indexOf(u'.');
  if (dot < 0) return {current, text};
  const QString head = text.left(dot);
  const QString rest = text.mid(dot + 1);
  const QString upper = head.toUpper();
  if (upper.size() > 4 && upper.startsWith(QLatin1String("PAGE")) && upper[4].isDigit()) {
    bool ok = false;
    const int number = upper.mid(4).toInt(&ok);
    if (ok && number >= 1 && number <= report.PageCount()) return {report.Page(number - 1), rest};
  }
  if (TrpView* view = report.FindObject(head)) {
    view->Properties();
    return {view, rest};
  }
  if (current && current->FindProperty(head)) return {current, text};
  return {};
}

namespace {
constexpr int32_t kReportFormPropertyVersion = 25;
}

QByteArray TrpReport::WriteReportFormProperty() {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  rpWriteInt(out, kReportFormPropertyVersion);
  if (storeInDFM_) {
    QBuffer form;
    form.open(QIODevice::WriteOnly);
    WriteToStream(form);
    rpWriteInt(out, static_cast<int32_t>(form.size()));
    out.write(form.data());
  }
  return out.data();
}

bool TrpReport::ReadReportFormProperty(QIODevice& stream) {
  keptForm_.clear();
  if (stream.bytesAvailable() < 4) return false;
  rpReadInt(stream);  // the version word
  if (!storeInDFM_) return true;
  if (stream.bytesAvailable() < 4) return false;
  const int32_t size = rpReadInt(stream);
  if (size < 0 || size > stream.bytesAvailable()) return false;
  keptForm_ = stream.read(size);
  return true;
}

void TrpReport::Loaded() {
  if (keptForm_.isEmpty()) return;
  QBuffer form(&keptForm_);
  form.open(QIODevice::ReadOnly);
  ReadFromStream(form);
  form.close();
  keptForm_.clear();
}

void TrpReport::ComponentRemoved(const void* component) {
  if (component && component == dataset_) dataset_ = nullptr;
  if (component && component == preview_) preview_ = nullptr;
}
