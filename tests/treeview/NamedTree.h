#pragma once
// A string tree whose nodes carry names by node, so they survive moves, copies between
// trees and pastes: built by hand, read back as one line in tree order.
#include "TreeFixture.h"

#include "treeview/LazyStringTree.h"

class NamedTree : public TLazyStringTree {
public:
  NamedTree() {
    auto timers = std::make_unique<FakeTimers>();
    fakeTimers = timers.get();
    SetTimerDriver(std::move(timers));
    SetClock([this] { return now; });
    OnGetText = [this](TBaseLazyTree*, PLazyNode node, int, TLSTTextType type, QString& text) {
      auto it = names.find(node);
      text = type == ttNormal && it != names.end() ? it->second : QString();
    };
    OnNewText = [this](TBaseLazyTree*, PLazyNode node, int, const QString& text) { names[node] = text; };
    OnFreeNode = [this](TBaseLazyTree*, PLazyNode node) { names.erase(node); };
    SetClipboardFormats({"Lazy Tree Data", "Unicode text"});
    TreeOptions().SetSelectionOptions({toMultiSelect});
  }
  ~NamedTree() override {
    // The texts this tree put on the clipboard are rendered while its names still answer.
    FlushClipboard();
    OnGetText = nullptr;
    OnNewText = nullptr;
    OnFreeNode = nullptr;
  }
  PLazyNode Add(const QString& name, PLazyNode parent = nullptr) {
    PLazyNode node = AddChild(parent);
    names[node] = name;
    return node;
  }
  // "a b(c d) e": names in tree order, children in brackets.
  QString Rows(PLazyNode parent = nullptr) {
    QStringList out;
    for (PLazyNode run = (parent ? parent : RootNode())->FirstChild; run; run = run->NextSibling) {
      QString entry = names.count(run) ? names[run] : QStringLiteral("?");
      if (run->FirstChild) entry += '(' + Rows(run) + ')';
      out << entry;
    }
    return out.join(' ');
  }
  PLazyNode Named(const QString& name) {
    for (PLazyNode run = GetFirstRaw(); run; run = GetNextRaw(run))
      if (names.count(run) && names[run] == name) return run;
    return nullptr;
  }
  using TBaseLazyTree::HandleTimer;

  FakeTimers* fakeTimers = nullptr;
  qint64 now = 0;
  std::map<PLazyNode, QString> names;
};
