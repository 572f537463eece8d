#pragma once
// The report's expression language. TrpParser turns an infix expression into a
// reverse-Polish text in which each operator is one character and every operand is its
// source text followed by a blank (a function call: its whole source text, no blank),
// and evaluates such a text on a stack of TrpValue. Names and functions beyond the six
// built in (COPY, IF, STRTODATE, STRTOTIME, TRUE, FALSE) are answered by two callbacks.
//
// Operators, their codes and priorities (a lower number binds tighter; "(" on the
// operator stack counts 5):
//   >= 1, <= 2, <> 3, < 60, = 61, > 62       priority 3
//   + 43, - 45 (binary), unary - 9, unary + 10  priority 2
//   * 42, / 47, MOD 13, AND 5, OR 4, NOT 12    priority 1
//   INT 6, FRAC 7, STR 11, ROUND 14            priority 0
// So AND and OR bind like "*": «a = 1 and b = 2» is «a = (1 and b) = 2»; conditions
// are written «(a = 1) and (b = 2)». Prefix operators (unary minus and plus, NOT, INT,
// FRAC, STR, ROUND) are always pushed: «2*-3» is -6.
//
// A compiled text is evaluated often (a band's condition for every record), so each
// parser keeps the decoded form of the texts it has met; the cost of an evaluation does
// not depend on how many came before it.
#include "report/engine/RP_Variant.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace rpOp {
constexpr char16_t GreaterEqual = 1;
constexpr char16_t LessEqual = 2;
constexpr char16_t NotEqual = 3;
constexpr char16_t Or = 4;
constexpr char16_t And = 5;
constexpr char16_t Int = 6;
constexpr char16_t Frac = 7;
constexpr char16_t Negate = 9;
constexpr char16_t Plus = 10;
constexpr char16_t Str = 11;
constexpr char16_t Not = 12;
constexpr char16_t Mod = 13;
constexpr char16_t Round = 14;
}  // namespace rpOp

// The one-character operators: * + - / < = >.
inline bool rpIsOperatorChar(char16_t c) {
  return c == u'*' || c == u'+' || c == u'-' || c == u'/' || c == u'<' || c == u'=' || c == u'>';
}

// Text scanners shared by the parser, the script compiler and the function splitter.
// Positions are 0-based indexes into the text.

// Called with start at a "[" (or before it: the first "[" from start is taken). Returns
// the text between it and its matching "]", where brackets inside single-quoted text
// (outside double quotes) and inside double-quoted text (outside single quotes) do not
// count; start is left at the "[" and stop at the "]". Without a "[" the result is
// empty and stop equals start; without a matching "]" stop is the text's length.
QString GetBracketedText(const QString& text, qsizetype& start, qsizetype& stop);
// Skips blanks (codes up to 32), then reads up to the next blank or one of
// ( ) * + - / < = > [ ; such characters inside double quotes do not end the word.
// A comma, ";" or "]" do not end it either.
QString ReadIdentifier(const QString& text, qsizetype& pos);
// From the quote at pos to the matching one; two quotes in a row stand for one and do
// not end it. The result keeps its quotes; pos is left after it.
QString ReadQuotedString(const QString& text, qsizetype& pos);
// Called at a "(": splits the arguments at the commas of the outermost level (commas and
// parentheses inside quotes or brackets do not count) into up to three trimmed texts
// and leaves pos after the ")". Unbalanced parentheses raise EParserError with an empty
// message.
void SplitArguments(const QString& text, qsizetype& pos, QString& p1, QString& p2, QString& p3);

// A number operand starts with a digit or a decimal separator.
inline bool rpStartsNumber(QChar c) { return (c >= u'0' && c <= u'9') || c == u',' || c == u'.'; }

class TrpParser {
public:
  // Resolves a name; value starts null.
  using GetValueEvent = std::function<void(const QString& name, TrpValue& value)>;
  // Resolves a function call; p1..p3 are the unevaluated argument texts (empty when the
  // call has fewer); value starts null.
  using FunctionEvent =
      std::function<void(const QString& name, const QString& p1, const QString& p2, const QString& p3, TrpValue& value)>;

  TrpParser();
  ~TrpParser();
  TrpParser(const TrpParser&) = delete;
  TrpParser& operator=(const TrpParser&) = delete;

  GetValueEvent OnGetValue;
  FunctionEvent OnFunction;

  static QString CompileExpression(const QString& text);
  TrpValue EvaluateRPN(const QString& rpn);
  // Compiles (once per distinct text) and evaluates.
  TrpValue Calc(const QString& text);

  struct Program;

private:
  std::shared_ptr<const Program> Decode(const QString& rpn);
  void Run(const Program& program, size_t base);

  QHash<QString, std::shared_ptr<const Program>> programs_;
  QString lastText_;
  std::shared_ptr<const Program> lastProgram_;
  QHash<QString, QString> compiled_;
  std::vector<TrpValue> stack_;
  int depth_ = 0;
};

// Named values: script variables and constants. Names match without regard to case;
// a sorted list finds them by halving, an unsorted one keeps the order they came in.
class TrpVariables {
public:
  explicit TrpVariables(bool sorted = false) : sorted_(sorted) {}

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

  // Adds the pair when the name is new, otherwise replaces the value.
  void SetVariable(const QString& name, const TrpValue& value);
  // Null when the name is absent.
  TrpValue Variable(const QString& name) const;
  // -1 when absent.
  int IndexOf(const QString& name) const;
  int Count() const { return static_cast<int>(items_.size()); }
  QString Name(int index) const;
  void SetName(int index, const QString& name);
  // An index out of range reads as the integer 0 and writes nothing.
  TrpValue Value(int index) const;
  void SetValue(int index, const TrpValue& value);
  void Delete(int index);
  void Clear() { items_.clear(); }

private:
  struct Item {
    QString name;
    TrpValue value;
  };
  // The insertion point for name in a sorted list, and whether it is there.
  std::pair<size_t, bool> Find(const QString& name) const;
  void Sort();

  std::vector<Item> items_;
  bool sorted_ = false;
};
