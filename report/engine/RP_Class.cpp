// The report's pages, information and object lookup.
#include "report/engine/RP_Class.h"

#include "platform/DateTime.h"
#include "report/engine/RP_Globals.h"

TrpReport::TrpReport() : Now([] { return static_cast<double>(DateTime::Now()); }) {}

TrpReport::~TrpReport() = default;

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
