#pragma once
// Numbers to text and back for the numeric edit, over the separators of the locale in
// use. Display formats are sectioned masks: "positive;negative;zero", each made of
//   0   a digit, shown even when it is a leading or trailing zero
//   #   a digit, left out when it is a leading or trailing zero
//   .   the decimal separator (the first one in the section)
//   ,   group the integer digits by thousands (anywhere in the section)
//   E+ E- e+ e-  scientific notation; the zeros after it give the exponent's digits
//   "x" 'x'      literal text
// and any other character as itself. A missing or empty negative or zero section falls
// back to the first one; only the first section gets a "-" for negative values.
#include <QString>
#include <optional>

struct TNumSeparators {
  QChar decimal = QLatin1Char('.');
  QChar thousand = QLatin1Char(',');
};

QString FormatNumber(double value, const QString& mask, const TNumSeparators& separators);

// The value of an edit's text: negative when it holds "-" or "(", built from its digits
// and the decimal separator alone (so "1a2" reads 12 and "(12)" reads -12). An empty
// text is 0; none when what is left is not a number ("1.2.3", "-").
std::optional<double> ParseNumericText(const QString& text, QChar decimalSeparator);

// Whether a typed character may go into a numeric edit: digits, a sign at the start (or
// over the whole text), one decimal separator (unless only whole numbers are allowed)
// and control characters other than Enter.
struct TNumericKeyContext {
  QString text;
  int cursor = 0;
  int selectionStart = 0;  // with selectionLength 0 there is no selection
  int selectionLength = 0;
  bool integersOnly = true;
  QChar decimalSeparator = QLatin1Char('.');
};
bool AcceptsNumericKey(QChar key, const TNumericKeyContext& context);
