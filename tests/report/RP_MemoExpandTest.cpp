// Substituting a memo's bracketed fields through a value callback, and values that hold
// line breaks becoming lines.
#include "report/engine/RP_MemoExpand.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

class MemoExpandTest : public ::testing::Test {
protected:
  TrpExpressionText Values() {
    return [this](const QString& expression) {
      asked_ << expression;
      const auto found = values_.constFind(expression);
      return found != values_.cend() ? *found : u'<' + expression + u'>';
    };
  }

  QHash<QString, QString> values_;
  QStringList asked_;
};

TEST_F(MemoExpandTest, EachFieldIsReplacedByItsText) {
  struct Case {
    QString text, expected;
  };
  for (const Case& c : {
           Case{QStringLiteral("Total: [SUM(x)] items"), QStringLiteral("Total: <SUM(x)> items")},
           Case{QStringLiteral("[a][b]"), QStringLiteral("<a><b>")},
           Case{QStringLiteral("[IF([A] = 1, 'x', 'y')]!"), QStringLiteral("<IF([A] = 1, 'x', 'y')>!")},
           Case{QStringLiteral("['a]b'] and [\"c]\"]"), QStringLiteral("<'a]b'> and <\"c]\">")},
           Case{QStringLiteral("no fields"), QStringLiteral("no fields")},
           Case{QStringLiteral("open [field"), QStringLiteral("open [field")},
           Case{QStringLiteral("[x] then [open"), QStringLiteral("<x> then [open")},
           Case{QStringLiteral("a ] b"), QStringLiteral("a ] b")},
       }) {
    EXPECT_EQ(rpExpandBrackets(c.text, Values()), c.expected) << c.text.toStdString();
  }
}

TEST_F(MemoExpandTest, SubstitutedTextIsNotScannedAgain) {
  values_[QStringLiteral("A")] = QStringLiteral("[A]");
  EXPECT_EQ(rpExpandBrackets(QStringLiteral("[A]"), Values()), QStringLiteral("[A]"));
  EXPECT_EQ(asked_, QStringList{QStringLiteral("A")});
}

TEST_F(MemoExpandTest, LineBreaksInValuesMakeLines) {
  values_[QStringLiteral("Two")] = QStringLiteral("one\r\ntwo");
  values_[QStringLiteral("CR")] = QStringLiteral("x\ry\nz");
  values_[QStringLiteral("Trailing")] = QStringLiteral("last\r\n");
  values_[QStringLiteral("Empty")] = QString();
  values_[QStringLiteral("Gap")] = QStringLiteral("a\r\n\r\nb");
  const QStringList memo{QStringLiteral("[Two]"), QString(), QStringLiteral("[CR]"), QStringLiteral("[Trailing]"),
                         QStringLiteral("[Empty]"), QStringLiteral("[Gap]")};
  EXPECT_EQ(rpExpandVariables(memo, false, Values()),
            (QStringList{QStringLiteral("one"), QStringLiteral("two"), QString(), QStringLiteral("x"),
                         QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("last"), QString(),
                         QStringLiteral("a"), QString(), QStringLiteral("b")}));
}

TEST_F(MemoExpandTest, TextOnlyKeepsTheBrackets) {
  EXPECT_EQ(rpExpandVariables({QStringLiteral("[A] x")}, true, Values()), QStringList{QStringLiteral("[A] x")});
  EXPECT_TRUE(asked_.isEmpty());
}

}  // namespace
