#include "platform/AutostartEntry.h"

#include <QStringList>

namespace {

// Escapes of the format's string values.
QString EscapeValue(const QString& text) {
  QString out;
  out.reserve(text.size() + 8);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\\')) out += QLatin1String("\\\\");
    else if (c == QLatin1Char('\n')) out += QLatin1String("\\n");
    else if (c == QLatin1Char('\r')) out += QLatin1String("\\r");
    else if (c == QLatin1Char('\t')) out += QLatin1String("\\t");
    else if (c == QLatin1Char(' ') && i == 0) out += QLatin1String("\\s");
    else out += c;
  }
  return out;
}

QString UnescapeValue(QStringView text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c != QLatin1Char('\\') || i + 1 == text.size()) {
      out += c;
      continue;
    }
    const QChar next = text.at(++i);
    if (next == QLatin1Char('s')) out += QLatin1Char(' ');
    else if (next == QLatin1Char('n')) out += QLatin1Char('\n');
    else if (next == QLatin1Char('r')) out += QLatin1Char('\r');
    else if (next == QLatin1Char('t')) out += QLatin1Char('\t');
    else out += next;
  }
  return out;
}

bool NeedsQuotes(const QString& argument) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  if (argument.isEmpty()) return true;
  for (const QChar c : argument)
    if (reserved.contains(c)) return true;
  return false;
}

// One argument of the Exec key, before the string escapes are applied.
QString ExecArgument(const QString& argument) {
  QString out;
  if (NeedsQuotes(argument)) {
    out += QLatin1Char('"');
    for (const QChar c : argument) {
      if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
        out += QLatin1Char('\\');
      out += c;
    }
    out += QLatin1Char('"');
  } else {
    out = argument;
  }
  return out.replace(QLatin1Char('%'), QLatin1String("%%"));
}

QString ParseExecArgument(const QString& exec) {
  QString text = exec;
  text.replace(QLatin1String("%%"), QLatin1String("%"));
  if (!text.startsWith(QLatin1Char('"'))) return text;
  QString out;
  for (qsizetype i = 1; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('"')) break;
    if (c == QLatin1Char('\\') && i + 1 < text.size()) {
      out += text.at(++i);
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace

QByteArray AutostartEntryText(const QString& name, const QString& program) {
  const QString text = QLatin1String("[Desktop Entry]\nType=Application\nName=") + EscapeValue(name) +
                       QLatin1String("\nExec=") + EscapeValue(ExecArgument(program)) +
                       QLatin1String("\nX-GNOME-Autostart-enabled=true\n");
  return text.toUtf8();
}

std::optional<QString> AutostartEntryProgram(const QByteArray& entry) {
  bool inMainGroup = false;
  const QString text = QString::fromUtf8(entry);
  for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
    line = line.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inMainGroup = line == QLatin1String("[Desktop Entry]");
      continue;
    }
    if (!inMainGroup) continue;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || line.left(equals).trimmed() != QLatin1String("Exec")) continue;
    return ParseExecArgument(UnescapeValue(line.mid(equals + 1).trimmed()));
  }
  return std::nullopt;
}
