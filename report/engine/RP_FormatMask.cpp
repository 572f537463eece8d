// Text laid out by an edit mask.
#include "report/engine/RP_Format.h"

#include <vector>

namespace {

enum class CaseRule { Keep, Upper, Lower };

struct MaskPlace {
  bool input = false;  // a place the text fills; otherwise a literal
  QChar literal;
  CaseRule caseRule = CaseRule::Keep;
};

bool IsInputChar(QChar c) {
  switch (c.unicode()) {
    case u'0':
    case u'9':
    case u'#':
    case u'L':
    case u'l':
    case u'A':
    case u'a':
    case u'C':
    case u'c': return true;
    default: return false;
  }
}

// The positions of the unescaped ";" that end the mask and the save-literals field.
struct MaskFields {
  QString mask;
  bool saveLiterals = true;
  QChar blank = u'_';
};

MaskFields SplitFields(const QString& editMask) {
  std::vector<qsizetype> separators;
  for (qsizetype i = 0; i < editMask.size(); ++i) {
    if (editMask[i] == u'\\') {
      ++i;
    } else if (editMask[i] == u';') {
      separators.push_back(i);
    }
  }
  MaskFields f;
  f.mask = editMask;
  if (separators.size() >= 2) {
    const qsizetype first = separators[separators.size() - 2];
    const qsizetype second = separators.back();
    f.mask = editMask.left(first);
    const QString save = editMask.mid(first + 1, second - first - 1);
    f.saveLiterals = save != QLatin1String("0");
    const QString blank = editMask.mid(second + 1);
    if (!blank.isEmpty()) f.blank = blank[0];
  } else if (separators.size() == 1) {
    f.mask = editMask.left(separators[0]);
    f.saveLiterals = editMask.mid(separators[0] + 1) != QLatin1String("0");
  }
  return f;
}

}  // namespace

QString rpFormatMaskText(const QString& editMask, const QString& text) {
  const MaskFields fields = SplitFields(editMask);
  const TrpFormatSettings& fs = rpFormatSettings();
  std::vector<MaskPlace> places;
  CaseRule caseRule = CaseRule::Keep;
  bool alignRight = false;
  const QString& mask = fields.mask;
  for (qsizetype i = 0; i < mask.size(); ++i) {
    const QChar c = mask[i];
    MaskPlace place;
    if (c == u'\\' && i + 1 < mask.size()) {
      place.literal = mask[++i];
    } else if (c == u'!') {
      alignRight = true;
      continue;
    } else if (c == u'<' && i + 1 < mask.size() && mask[i + 1] == u'>') {
      caseRule = CaseRule::Keep;
      ++i;
      continue;
    } else if (c == u'>') {
      caseRule = CaseRule::Upper;
      continue;
    } else if (c == u'<') {
      caseRule = CaseRule::Lower;
      continue;
    } else if (IsInputChar(c)) {
      place.input = true;
      place.caseRule = caseRule;
    } else if (c == u':') {
      place.literal = fs.TimeSeparator;
    } else if (c == u'/') {
      place.literal = fs.DateSeparator;
    } else if (c == u'_') {
      place.literal = u' ';
    } else {
      place.literal = c;
    }
    places.push_back(place);
  }

  // The characters that fill the input places, in order.
  QString typed;
  if (fields.saveLiterals) {
    qsizetype t = 0;
    for (const MaskPlace& place : places) {
      if (t >= text.size()) break;
      if (place.input || text[t] == place.literal) {
        if (place.input) typed += text[t];
        ++t;
      }
    }
  } else {
    typed = text;
  }
  qsizetype inputs = 0;
  for (const MaskPlace& place : places) inputs += place.input ? 1 : 0;
  typed.truncate(inputs);
  const qsizetype skip = alignRight ? inputs - typed.size() : 0;

  QString out;
  qsizetype inputIndex = 0;
  for (const MaskPlace& place : places) {
    if (!place.input) {
      out += place.literal;
      continue;
    }
    const qsizetype t = inputIndex++ - skip;
    QChar c = t >= 0 && t < typed.size() ? typed[t] : fields.blank;
    if (place.caseRule == CaseRule::Upper) c = c.toUpper();
    if (place.caseRule == CaseRule::Lower) c = c.toLower();
    out += c;
  }
  return out;
}
