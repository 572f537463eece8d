#pragma once
// A list of captions whose items each carry a value beside the text: a code, an id, a
// group number or an image index. Tabs, combo boxes and lookup lists fill and read it.
#include <QList>
#include <QString>

template <typename T>
struct TObjectStringItem {
  QString text;
  T object{};
  bool operator==(const TObjectStringItem&) const = default;
};

using TStringItem = TObjectStringItem<int>;
using TStringList = QList<TStringItem>;

// Image indexes kept parallel to a string list.
using TImageIndexList = QList<int>;
