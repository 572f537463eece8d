#pragma once
// Version information of a program file. The program's own record is compiled in from
// the project version; any other file carries none, so its values are empty.
#include "platform/Exception.h"

#include <QString>
#include <cstdint>

// Raised when the file asked about does not exist; the number picks the message.
class EUtVersionInfoError : public Exception {
public:
  EUtVersionInfoError(int number, const QString& fileName);
  int Number() const { return number_; }

private:
  int number_;
};

// The fixed part of the record: the four parts of the file version.
struct TFixedFileInfo {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t release = 0;
  uint16_t build = 0;
};

class TUtVersionInfo {
public:
  // An empty name stands for the program's own file. The file is read on first use;
  // a name that does not exist raises EUtVersionInfoError then.
  explicit TUtVersionInfo(QString fileName = QString());

  QString CompanyName() const { return Strings().companyName; }
  QString FileDescription() const { return Strings().fileDescription; }
  QString FileVersion() const { return Strings().fileVersion; }
  QString InternalName() const { return Strings().internalName; }
  QString LegalCopyright() const { return Strings().legalCopyright; }
  QString LegalTrademarks() const { return Strings().legalTrademarks; }
  QString OriginalFilename() const { return Strings().originalFilename; }
  QString ProductName() const { return Strings().productName; }
  QString ProductVersion() const { return Strings().productVersion; }
  QString Comments() const { return Strings().comments; }
  TFixedFileInfo FixedFileInfo() const { return Record().fixed; }

  const QString& FileName() const { return fileName_; }

private:
  struct StringValues {
    QString companyName, fileDescription, fileVersion, internalName, legalCopyright, legalTrademarks,
        originalFilename, productName, productVersion, comments;
  };
  struct VersionRecord {
    StringValues strings;
    TFixedFileInfo fixed;
  };

  const StringValues& Strings() const { return Record().strings; }
  const VersionRecord& Record() const;

  QString fileName_;
  mutable bool loaded_ = false;
  mutable VersionRecord record_;
};

// Values of the program's own file, as the about box shows them.
QString GetAppLegalCopyright();
QString GetAppFileVersion();
QString GetAppProductVersion();
