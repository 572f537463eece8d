#include "TaskPresentationFixture.h"

#include "ui/ColumnFit.h"

#include <limits>

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

// Letters 7 pixels wide, "W" and "M" 12, other characters 20, and "AV" kerned 3 pixels
// narrower; bounds are the plain sums, and texts beyond ASCII have none.
class KerningMeasurer : public TTextMeasurer {
public:
  int TextWidth(const QString& text, TRowState) override {
    int width = Sum(text);
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
      if (text[i] == QLatin1Char('A') && text[i + 1] == QLatin1Char('V')) width -= 3;
    return width;
  }
  int UpperBound(const QString& text, TRowState) override {
    for (const QChar c : text)
      if (c.unicode() > 0x7F) return -1;
    return Sum(text);
  }

private:
  static int Sum(const QString& text) {
    int width = 0;
    for (const QChar c : text) width += c == QLatin1Char('W') || c == QLatin1Char('M') ? 12 : c.unicode() > 0x7F ? 20 : 7;
    return width;
  }
};

class BoundedColumnFitTest : public TaskPresentationFixture {
protected:
  KerningMeasurer measurer;
  TColumnFitter bounded{measurer, 0};  // bounds at any number of rows
  std::vector<const TTdTodo*> visible;

  TColumnFitter::VisibleTasks Visible() {
    return [this](const std::function<void(const TTdTodo&)>& visit) {
      for (const TTdTodo* t : visible) visit(*t);
    };
  }
  // What a fitter that measures every text finds.
  TColumnWidths Measured() {
    KerningMeasurer exactMeasurer;
    TColumnFitter exact(exactMeasurer, std::numeric_limits<int>::max());
    return exact.LargestTexts(Visible(), Context());
  }
};

TEST_F(BoundedColumnFitTest, BoundsFindTheSameWidestTexts) {
  struct Case {
    const char* name;
    std::vector<const char*> titles;
    int widest;
  };
  const Case cases[] = {
      {"a short text of wide characters beats a long one of narrow", {"iiiiiiiiiii", "WWWWWWW", "abc"}, 84},
      {"kerning narrows the text of the largest bound", {"AVAVAVAV", "abcdefg"}, 49},
      {"a text without a bound is the widest", {"Plain title", "日本語の題名"}, 120},
      {"a text without a bound is narrower", {"A much longer plain title", "日本"}, 25 * 7},
      {"equal widest texts", {"abc", "xyz", "ab"}, 21},
      {"no text in the column", {"", ""}, 0},
  };
  options.DisplayNotes = true;  // shown, and empty in every row
  for (const Case& c : cases) {
    visible.clear();
    for (const char* title : c.titles) visible.push_back(&AddTask(QString::fromUtf8(title)));
    TColumnFitter fitter(measurer, 0);
    const TColumnWidths& widths = fitter.LargestTexts(Visible(), Context());
    EXPECT_EQ(widths[tcTitle], c.widest) << c.name;
    EXPECT_EQ(widths[tcNotes], 0) << c.name;
    EXPECT_EQ(widths, Measured()) << c.name;
  }
}

TEST_F(BoundedColumnFitTest, OnlyTextsWhoseBoundReachesTheWidestAreMeasured) {
  for (int i = 1; i <= 200; ++i) visible.push_back(&AddTask(QString(i, QLatin1Char('x'))));
  KerningMeasurer exactMeasurer;
  TColumnFitter exact(exactMeasurer, std::numeric_limits<int>::max());
  EXPECT_EQ(bounded.LargestTexts(Visible(), Context()), exact.LargestTexts(Visible(), Context()));
  EXPECT_EQ(exact.MeasureCount() - bounded.MeasureCount(), 199) << "one title measured of 200";
}

TEST_F(BoundedColumnFitTest, RowsLeftAtTheirBoundAreMeasuredWhenTheyCanBeWidest) {
  TTdTodo& a = AddTask(QStringLiteral("The widest title of all"));
  TTdTodo& b = AddTask(QStringLiteral("A second title"));
  TTdTodo& c = AddTask(QStringLiteral("AVAVAVAVAVAV"));  // bound 84, text 66
  TTdTodo& d = AddTask(QStringLiteral("A second title"));
  TTdTodo& e = AddTask(QStringLiteral("Another one"));  // 77
  visible = {&a, &b, &c, &d, &e};
  bounded.LargestTexts(Visible(), Context());
  const auto remove = [&](const TTdTodo& t) {
    std::erase(visible, &t);
    bounded.TaskRemoved(&t);
  };
  struct Step {
    const char* name;
    std::function<void()> apply;
  };
  const Step steps[] = {
      {"a row left at its bound hidden", [&] {
         std::erase(visible, &e);
         bounded.VisibleRowsChanged();
       }},
      {"the widest row deleted", [&] { remove(a); }},
      {"one of two equal widest rows deleted", [&] { remove(d); }},
      {"the other deleted", [&] { remove(b); }},
      {"the hidden row shown again, now the widest", [&] {
         visible.push_back(&e);
         bounded.RowShown(e, Context());
       }},
      {"a row edited wider", [&] {
         c.Title = QStringLiteral("Edited to be the widest title");
         bounded.TaskChanged(&c);
       }},
  };
  for (const Step& step : steps) {
    step.apply();
    EXPECT_EQ(bounded.LargestTexts(Visible(), Context()), Measured()) << step.name;
  }
}

}  // namespace
