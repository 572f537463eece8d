#include "platform/PrivateProfile.h"

#include "platform/BinaryStream.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Fold(QStringView name) { return name.trimmed().toString().toCaseFolded(); }

// A line that adds no line of its own when written.
QString OneLine(const QString& text) {
  if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) return text;
  QString line = text;
  line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  return line;
}

bool IsComment(QStringView trimmed) { return trimmed.startsWith(QLatin1Char(';')); }

// Position of "=" when the line holds a key with a name, else -1.
qsizetype KeySeparator(QStringView line) {
  const QStringView trimmed = line.trimmed();
  if (trimmed.isEmpty() || IsComment(trimmed)) return -1;
  const qsizetype equals = line.indexOf(QLatin1Char('='));
  if (equals < 0 || line.left(equals).trimmed().isEmpty()) return -1;
  return equals;
}

QString Unquote(QStringView value) {
  value = value.trimmed();
  if (value.size() >= 2) {
    const QChar first = value.front();
    if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
      value = value.mid(1, value.size() - 2);
  }
  return value.toString();
}

QString CutToBuffer(QString text, int bufferSize) {
  if (bufferSize <= 0) return {};
  if (text.size() < bufferSize) return text;
  qsizetype keep = bufferSize - 1;
  // Never keep half of a surrogate pair.
  if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;
  text.truncate(keep);
  return text;
}

QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1).isSpace()) --end;
  return text.left(end);
}

}  // namespace

PrivateProfileFile::PrivateProfileFile(QString fileName) : fileName_(std::move(fileName)) {
  const QFileInfo info(fileName_);
  if (!info.exists()) return;
  QFile file(fileName_);
  if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
    unreadable_ = true;
    return;
  }
  Parse(DecodeFileText(file.readAll()));
}

PrivateProfileFile PrivateProfileFile::FromBytes(const QByteArray& bytes, QString fileName) {
  PrivateProfileFile document;
  document.fileName_ = std::move(fileName);
  document.Parse(DecodeFileText(bytes));
  return document;
}

void PrivateProfileFile::Parse(const QString& text) {
  QStringView rest(text);
  if (rest.startsWith(QChar(0xFEFF))) rest = rest.mid(1);  // a byte-order mark is no part of the first line
  Section* current = nullptr;
  while (!rest.isEmpty()) {
    const qsizetype end = rest.indexOf(QLatin1Char('\n'));
    QStringView line = end < 0 ? rest : rest.left(end);
    rest = end < 0 ? QStringView() : rest.mid(end + 1);
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);

    const QStringView trimmed = line.trimmed();
    const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
    if (trimmed.startsWith(QLatin1Char('[')) && close > 0) {
      if (current) IndexKeys(*current);
      Section section;
      section.name = trimmed.mid(1, close - 1).trimmed().toString();
      section.header = line.toString();
      sections_.push_back(std::move(section));
      current = &sections_.back();
      continue;
    }
    Line entry{line.toString(), current ? KeySeparator(line) : -1};
    (current ? current->lines : preamble_).push_back(std::move(entry));
  }
  if (current) IndexKeys(*current);
  for (int i = 0; i < static_cast<int>(sections_.size()); ++i) {
    const QString folded = Fold(sections_[i].name);
    if (!sectionIndex_.contains(folded)) sectionIndex_.insert(folded, i);
  }
}

void PrivateProfileFile::IndexKeys(Section& section) {
  section.keys.clear();
  section.lastKeyLine = -1;
  for (int i = 0; i < static_cast<int>(section.lines.size()); ++i) {
    const Line& line = section.lines[i];
    if (line.equals < 0) continue;
    const QString folded = Fold(QStringView(line.text).left(line.equals));
    if (!section.keys.contains(folded)) section.keys.insert(folded, i);
    section.lastKeyLine = i;
  }
}

const PrivateProfileFile::Section* PrivateProfileFile::FindSection(const QString& name) const {
  const auto it = sectionIndex_.constFind(Fold(name));
  return it == sectionIndex_.cend() ? nullptr : &sections_[*it];
}

std::optional<QString> PrivateProfileFile::FindValue(const QString& section, const QString& key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  const auto it = found->keys.constFind(Fold(key));
  if (it == found->keys.cend()) return std::nullopt;
  const Line& line = found->lines[*it];
  return Unquote(QStringView(line.text).mid(line.equals + 1));
}

QString PrivateProfileFile::ReadString(const QString& section, const QString& key, const QString& defaultValue,
                                       int bufferSize) const {
  std::optional<QString> value = FindValue(section, key);
  return CutToBuffer(value ? std::move(*value) : WithoutTrailingBlanks(defaultValue), bufferSize);
}

void PrivateProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
  const QString sectionName = OneLine(section).trimmed();
  const QString keyName = OneLine(key).trimmed();
  const QString text = OneLine(value);
  if (keyName.isEmpty()) return;

  auto found = sectionIndex_.constFind(Fold(sectionName));
  if (found == sectionIndex_.cend()) {
    Section added;
    added.name = sectionName;
    added.header = QLatin1Char('[') + sectionName + QLatin1Char(']');
    sections_.push_back(std::move(added));
    found = sectionIndex_.insert(Fold(sectionName), static_cast<int>(sections_.size()) - 1);
  }
  Section& target = sections_[*found];

  const QString folded = Fold(keyName);
  const auto existing = target.keys.constFind(folded);
  if (existing != target.keys.cend()) {
    Line& line = target.lines[*existing];
    const QString spelling = line.text.left(line.equals).trimmed();
    QString updated = spelling + QLatin1Char('=') + text;
    if (updated == line.text) return;
    line.text = std::move(updated);
    line.equals = spelling.size();
  } else {
    // Every key line lies at or before lastKeyLine, so no indexed position moves.
    const int at = target.lastKeyLine + 1;
    target.lines.insert(target.lines.begin() + at, Line{keyName + QLatin1Char('=') + text, keyName.size()});
    target.keys.insert(folded, at);
    target.lastKeyLine = at;
  }
  modified_ = true;
}

bool PrivateProfileFile::DeleteKey(const QString& section, const QString& key) {
  const auto found = sectionIndex_.constFind(Fold(section));
  if (found == sectionIndex_.cend()) return false;
  Section& target = sections_[*found];
  const auto existing = target.keys.constFind(Fold(key));
  if (existing == target.keys.cend()) return false;
  target.lines.erase(target.lines.begin() + *existing);
  IndexKeys(target);
  modified_ = true;
  return true;
}

QByteArray PrivateProfileFile::ToBytes() const {
  QString text;
  qsizetype size = 0;
  for (const Line& line : preamble_) size += line.text.size() + 1;
  for (const Section& section : sections_) {
    size += section.header.size() + 1;
    for (const Line& line : section.lines) size += line.text.size() + 1;
  }
  text.reserve(size);
  for (const Line& line : preamble_) text.append(line.text).append(QLatin1Char('\n'));
  for (const Section& section : sections_) {
    text.append(section.header).append(QLatin1Char('\n'));
    for (const Line& line : section.lines) text.append(line.text).append(QLatin1Char('\n'));
  }
  return EncodeFileText(text);
}

void PrivateProfileFile::UpdateFile() {
  if (unreadable_)
    throw EWriteError(QStringLiteral("Cannot write file \"%1\". The file could not be read.")
                          .arg(QDir::toNativeSeparators(fileName_)));
  if (!modified_) return;
  WriteFileSafely(fileName_, ToBytes(), false);
  modified_ = false;
}

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize,
                                const QString& fileName) {
  return PrivateProfileFile(fileName).ReadString(section, key, defaultValue, bufferSize);
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value, const QString& fileName) {
  try {
    PrivateProfileFile document(fileName);
    document.WriteString(section, key, value);
    document.UpdateFile();
    return true;
  } catch (const EWriteError&) {
    return false;
  }
}
