#include "core/UtIniFile.h"

#include "core/UtStrings.h"

TExtendedIniFile::TExtendedIniFile(const QString& fileName) : file_(fileName) {}

TExtendedIniFile TExtendedIniFile::FromBytes(const QByteArray& bytes, const QString& fileName) {
  return TExtendedIniFile(PrivateProfileFile::FromBytes(bytes, fileName));
}

QString TExtendedIniFile::ReadString(const QString& section, const QString& ident, const QString& defaultValue) const {
  return file_.ReadString(section, ident, defaultValue, kReadStringBuffer);
}

QString TExtendedIniFile::ReadIniString(const QString& section, const QString& ident,
                                        const QString& defaultValue) const {
  return file_.ReadString(section, ident, defaultValue, kIniStringBuffer);
}

int TExtendedIniFile::ReadInteger(const QString& section, const QString& ident, int defaultValue) const {
  return StrToIntDef(ReadString(section, ident, QString()), defaultValue);
}

bool TExtendedIniFile::ReadBool(const QString& section, const QString& ident, bool defaultValue) const {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TExtendedIniFile::WriteString(const QString& section, const QString& ident, const QString& value) {
  file_.WriteString(section, ident, value);
}

void TExtendedIniFile::WriteInteger(const QString& section, const QString& ident, int value) {
  WriteString(section, ident, FastIntToStr(value));
}

void TExtendedIniFile::WriteBool(const QString& section, const QString& ident, bool value) {
  WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TExtendedIniFile::UpdateFile() { file_.UpdateFile(); }
