#pragma once
// ExpandVariables without the view: the bracketed «[...]» fields of a memo's lines are
// replaced by the texts a callback gives for them (the report's memo expression hook:
// evaluation, then display format), and values holding line breaks become lines.
#include <QString>
#include <QStringList>
#include <functional>

// The formatted text of the expression between a pair of brackets.
using TrpExpressionText = std::function<QString(const QString& expression)>;

// Each bracketed field of `text`, from left to right, replaced by valueOf(its inner
// text). Brackets nest, and brackets inside quoted strings do not count (as the
// expression language reads them). A substituted value is not scanned again, so a value
// that holds "[" is printed as it is. A "[" without its "]" is kept as text.
QString rpExpandBrackets(const QString& text, const TrpExpressionText& valueOf);

// The expanded lines of a memo: each line with its fields replaced (unless textOnly);
// a result holding CR/LF, CR or LF breaks into several lines (a break at its very end
// adds none); an empty result stays one empty line.
QStringList rpExpandVariables(const QStringList& memo, bool textOnly, const TrpExpressionText& valueOf);
