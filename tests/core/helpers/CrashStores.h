#pragma once
// The two contents the crash test saves in turn, made the same way in the test and in
// the saving program it kills.
#include "core/BTodo.h"

namespace crash_stores {

// Small enough for quick rounds, large enough that a save takes a while to kill inside.
constexpr int kOldCount = 2000;
constexpr int kNewCount = 2001;

inline void Fill(TTdTodoHandler& store, int count) {
  for (int i = 0; i < count; ++i) {
    TTdTodo* t = store.AddTodo();
    t->Created = 38000.5;  // the same bytes in both processes
    t->ID = ++store.LastId;
    t->Title = QStringLiteral("Task %1: call the supplier about the order").arg(i);
    t->Notes = QString(150, QLatin1Char('n')) + QString::number(i);
    t->Due = 38000 + i % 400;
  }
}

}  // namespace crash_stores
