#include "TaskPresentationFixture.h"

#include "ui/ColumnFit.h"

namespace {

// Every character 7 pixels wide; bold rows 8.
class FixedMeasurer : public TTextMeasurer {
public:
  explicit FixedMeasurer(const TTdAppOptions& options) : options_(options) {}
  int TextWidth(const QString& text, TRowState state) override {
    return static_cast<int>(text.size()) * (RowStateFont(state, options_).Bold ? 8 : 7);
  }

private:
  const TTdAppOptions& options_;
};

class ColumnFitTest : public TaskPresentationFixture {
protected:
  FixedMeasurer measurer{options};
  TColumnFitter fitter{measurer};
  std::vector<const TTdTodo*> visible;

  const TColumnWidths& Largest(TDateTime later = 0) {
    TTaskViewContext c = Context();
    c.Now += later;
    return fitter.LargestTexts(
        [this](const std::function<void(const TTdTodo&)>& visit) {
          for (const TTdTodo* t : visible) visit(*t);
        },
        c);
  }
};

TEST_F(ColumnFitTest, WidestTextOfEachColumnInTheRowsFont) {
  TTdTodo& a = AddTask(QStringLiteral("Short"));
  TTdTodo& b = AddTask(QStringLiteral("A longer one"));
  b.Priority = 4;  // urgent rows are bold
  visible = {&a, &b};
  const TColumnWidths& w = Largest();
  EXPECT_EQ(w[tcTitle], 12 * 8);
  EXPECT_EQ(w[tcPriority], 6 * 8);  // "Urgent"
  EXPECT_EQ(w[tcDue], 10 * 8) << "the bold row's date is the wider";
  EXPECT_EQ(w[tcID], 0) << "hidden column";
  EXPECT_EQ(w[tcDone], 0) << "no text";
}

TEST_F(ColumnFitTest, FitRulesPerColumn) {
  struct Case {
    const char* name;
    std::function<void()> change;
    int column, measured, minWidth, want;
  };
  const Case cases[] = {
      {"check column", [] {}, tcDone, 300, 10, 20},
      {"flag column", [] {}, tcFlag, 300, 10, 20},
      {"title", [] {}, tcTitle, 120, 40, 120},
      {"title below its caption", [] {}, tcTitle, 30, 40, 40},
      {"status text and image", [] {}, tcStatus, 50, 10, 70},
      {"status image only", [&] { options.DisplayTextStatus = false; }, tcStatus, 50, 10, 20},
      {"status text only", [&] { options.DisplayImageStatus = false; }, tcStatus, 50, 10, 50},
  };
  const TTdAppOptions saved = options;
  for (const Case& c : cases) {
    options = saved;
    c.change();
    EXPECT_EQ(FitColumnWidth(c.column, c.measured, options, c.minWidth), c.want) << c.name;
  }
  EXPECT_EQ(MeasuredColumnWidth(100, 4), 110);
  EXPECT_EQ(HeaderMinWidth(33), 53);
}

TEST_F(ColumnFitTest, NothingIsMeasuredAgainUntilSomethingChanges) {
  TTdTodo& a = AddTask(QStringLiteral("Short"));
  TTdTodo& b = AddTask(QStringLiteral("Medium long"));
  visible = {&a, &b};
  Largest();
  const auto measured = fitter.MeasureCount();
  EXPECT_EQ(Largest()[tcTitle], 11 * 7);
  EXPECT_EQ(fitter.MeasureCount(), measured) << "a fit with nothing changed measures nothing";

  visible = {&a};
  fitter.VisibleRowsChanged();
  EXPECT_EQ(Largest()[tcTitle], 5 * 7) << "the maximum follows the visible rows";
  EXPECT_EQ(fitter.MeasureCount(), measured) << "from the widths kept per task";

  a.Title = QStringLiteral("Now the longest title");
  fitter.TaskChanged(&a);
  EXPECT_EQ(Largest()[tcTitle], 21 * 7);
  EXPECT_GT(fitter.MeasureCount(), measured);
}

TEST_F(ColumnFitTest, MaximaKeptThroughChangesEqualAFreshCount) {
  // Each step changes the rows or a task and tells the fitter as the task list does; the
  // maxima it keeps must be those of a fitter that counts every visible row afresh.
  TTdTodo& a = AddTask(QStringLiteral("Short"));
  TTdTodo& b = AddTask(QStringLiteral("The longest title"));
  TTdTodo& c = AddTask(QStringLiteral("Medium title"));
  TTdTodo& d = AddTask(QStringLiteral("The longest title"));
  TTdTodo& e = AddTask(QStringLiteral("An even longer title than those"));
  TTdTodo& f = AddTask(QStringLiteral("Tiny"));
  visible = {&a, &b, &c};
  Largest();
  const auto show = [&](TTdTodo& t) {
    visible.push_back(&t);
    fitter.RowShown(t, Context());
  };
  const auto remove = [&](const TTdTodo& t) {
    std::erase(visible, &t);
    fitter.TaskRemoved(&t);
  };
  const auto edit = [&](TTdTodo& t, const std::function<void()>& change) {
    change();
    fitter.TaskChanged(&t);
  };
  struct Step {
    const char* name;
    std::function<void()> apply;
  };
  const Step steps[] = {
      {"a row with an equal widest title added", [&] { show(d); }},
      {"one of two widest rows deleted", [&] { remove(b); }},
      {"a row with a wider title added", [&] { show(e); }},
      {"a narrower row added", [&] { show(f); }},
      {"the widest row deleted", [&] { remove(e); }},
      {"a title edited wider", [&] { edit(c, [&] { c.Title = QStringLiteral("Medium title, now the widest"); }); }},
      {"the widest title edited narrower", [&] { edit(c, [&] { c.Title = QStringLiteral("M"); }); }},
      {"a row's priority makes it bold", [&] { edit(f, [&] { f.Priority = 4; }); }},
      {"a row edited twice before a fit", [&] {
         edit(a, [&] { a.Title = QStringLiteral("Once"); });
         edit(a, [&] { a.Title = QStringLiteral("Twice, and wider than any other"); });
       }},
      {"an edited row deleted before a fit", [&] {
         edit(d, [&] { d.Title = QStringLiteral("Edited, then gone at once, the widest"); });
         remove(d);
       }},
      {"a deleted row's task added again", [&] { show(b); }},
      {"every row deleted", [&] {
         for (const TTdTodo* t : std::vector<const TTdTodo*>(visible)) remove(*t);
       }},
  };
  for (const Step& step : steps) {
    step.apply();
    FixedMeasurer freshMeasurer(options);
    TColumnFitter fresh(freshMeasurer);
    const TColumnWidths want = fresh.LargestTexts(
        [this](const std::function<void(const TTdTodo&)>& visit) {
          for (const TTdTodo* t : visible) visit(*t);
        },
        Context());
    EXPECT_EQ(Largest(), want) << step.name;
  }
}

TEST_F(ColumnFitTest, DaysColumnsFollowTheClock) {
  options.DisplayDaysGone = true;
  TTdTodo& a = AddTask(QStringLiteral("x"));
  a.Created = now - 9.9;
  visible = {&a};
  EXPECT_EQ(Largest()[tcDaysGone], 3 * 7);  // "9.9"
  EXPECT_EQ(Largest(0.005)[tcDaysGone], 3 * 7) << "minutes later the width is kept";
  EXPECT_EQ(Largest(0.2)[tcDaysGone], 4 * 7) << "hours later it is measured again: 10.1";
}

}  // namespace
