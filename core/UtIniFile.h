#pragma once
// The settings-file class: typed reads and writes of one INI file. Reads come from the
// file as it was when the object was made; writes collect in memory and reach the disk
// in one go through UpdateFile.
#include "platform/PrivateProfile.h"

#include <QString>

class TExtendedIniFile {
public:
  explicit TExtendedIniFile(const QString& fileName);
  // A document parsed from bytes, as if it were the file's content.
  static TExtendedIniFile FromBytes(const QByteArray& bytes, const QString& fileName);

  const QString& FileName() const { return file_.FileName(); }

  // At most 2047 characters, like the plain settings-file class.
  QString ReadString(const QString& section, const QString& ident, const QString& defaultValue) const;
  // At most 4095 characters: long values (folders, file names) survive.
  QString ReadIniString(const QString& section, const QString& ident, const QString& defaultValue) const;
  // The default for a missing key and for text that is no integer (see StrToIntDef).
  int ReadInteger(const QString& section, const QString& ident, int defaultValue) const;
  // Any integer other than 0 is true; text that is no integer gives the default.
  bool ReadBool(const QString& section, const QString& ident, bool defaultValue) const;

  void WriteString(const QString& section, const QString& ident, const QString& value);
  void WriteInteger(const QString& section, const QString& ident, int value);
  // "1" or "0".
  void WriteBool(const QString& section, const QString& ident, bool value);

  // Writes the changes to the file; raises EWriteError naming the file on failure.
  void UpdateFile();
  // The document as UpdateFile would write it.
  QByteArray ToBytes() const { return file_.ToBytes(); }

  static constexpr int kReadStringBuffer = 2048;
  static constexpr int kIniStringBuffer = 4096;

private:
  explicit TExtendedIniFile(PrivateProfileFile file) : file_(std::move(file)) {}

  PrivateProfileFile file_;
};
