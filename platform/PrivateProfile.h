#pragma once
// Private-profile (INI) files: sections and keys match without regard to case, the
// first matching section and key win, and a write changes only the line of its key,
// so comments, blank lines, unknown sections and the order of the file survive.
// Lines before the first section, comments (";"), lines without "=" and a "[" without
// "]" hold no key; they are kept as they are. Files are read as UTF-8 (Windows-1252
// where the bytes are not UTF-8) and written as UTF-8 with "\n" line ends.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

// One INI file held in memory: loaded once, read and changed in memory, and written
// back whole by UpdateFile. Updating a key costs one hash look-up; a new key is placed
// after the last key line of its section, a new section goes to the end of the file.
class PrivateProfileFile {
public:
  // Loads the file; a missing file is an empty document. A damaged file loads what
  // can be read as lines and never fails.
  explicit PrivateProfileFile(QString fileName);

  // A document parsed from bytes, for callers that hold the content already.
  static PrivateProfileFile FromBytes(const QByteArray& bytes, QString fileName = {});

  const QString& FileName() const { return fileName_; }

  // The value of the key with blanks around it and one pair of matching quotes (' or ")
  // removed, cut to bufferSize - 1 characters. A missing section or key gives the
  // default without its trailing blanks, cut the same way.
  QString ReadString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize) const;
  // The value as ReadString sees it, uncut; nothing when the key is missing.
  std::optional<QString> FindValue(const QString& section, const QString& key) const;

  // Line breaks in section, key or value become blanks, so a value cannot add lines.
  // An empty key name changes nothing (such a line could not be read back).
  void WriteString(const QString& section, const QString& key, const QString& value);
  // Removes the first line of the key; false when there is none.
  bool DeleteKey(const QString& section, const QString& key);

  bool Modified() const { return modified_; }
  QByteArray ToBytes() const;
  // Writes the document back (temporary file, fsync, rename) when it was changed.
  // Raises EWriteError naming the file on failure, and also when the file existed but
  // could not be read, so a file we could not see is never overwritten.
  void UpdateFile();

private:
  struct Line {
    QString text;
    qsizetype equals = -1;  // position of "=" in a key line, -1 for every other line
  };
  struct Section {
    QString name;  // as written between the brackets, blanks removed
    QString header;
    std::vector<Line> lines;
    QHash<QString, int> keys;  // folded key -> its first line
    int lastKeyLine = -1;
  };

  PrivateProfileFile() = default;
  void Parse(const QString& text);
  void IndexKeys(Section& section);
  const Section* FindSection(const QString& name) const;

  QString fileName_;
  std::vector<Line> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  QHash<QString, int> sectionIndex_;  // folded name -> first section of that name
  bool modified_ = false;
  bool unreadable_ = false;
};

// Reads one value from the file (see PrivateProfileFile::ReadString).
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize,
                                const QString& fileName);
// Writes one value into the file, creating the file when it is absent (its folder must
// exist). False when the file could not be written.
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value, const QString& fileName);
