#pragma once
// The engine's texts by string id. A translation can be installed as a callback that is
// asked first; otherwise the compiled-in table answers, and an id it lacks yields the
// empty text.
#include <QString>
#include <functional>

class TrpLocale {
public:
  using Localizer = std::function<QString(int id)>;

  QString LoadString(int id) const;
  // A non-empty answer of the callback wins over the table.
  void SetLocalizer(Localizer localizer) { localizer_ = std::move(localizer); }

private:
  Localizer localizer_;
};

// The one instance, made on first use.
TrpLocale& rpLocale();
// Drops the installed callback (tests run in any order).
void rpResetLocale();

QString rpLoadStr(int id);
