#include "core/UtVersion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <utility>

namespace {

constexpr int kFileNotFound = 1;

struct VersionMessage {
  int number;
  const char* text;
};

constexpr VersionMessage kVersionMessages[] = {
    {kFileNotFound, "Version information: the file %1 does not exist"},
};

QString MessageText(int number, const QString& fileName) {
  for (const VersionMessage& message : kVersionMessages) {
    if (message.number == number) return QString::fromUtf8(message.text).arg(fileName);
  }
  return QStringLiteral("Version information error %1").arg(number);
}

QString OwnFile() {
  return QCoreApplication::instance() != nullptr ? QCoreApplication::applicationFilePath() : QString();
}

bool IsOwnFile(const QString& fileName) {
  const QString own = OwnFile();
  return !own.isEmpty() && QFileInfo(fileName).canonicalFilePath() == QFileInfo(own).canonicalFilePath();
}

}  // namespace

EUtVersionInfoError::EUtVersionInfoError(int number, const QString& fileName)
    : Exception(MessageText(number, fileName)), number_(number) {}

TUtVersionInfo::TUtVersionInfo(QString fileName) : fileName_(std::move(fileName)) {
  if (fileName_.isEmpty()) fileName_ = OwnFile();
}

const TUtVersionInfo::VersionRecord& TUtVersionInfo::Record() const {
  if (loaded_) return record_;
  if (fileName_.isEmpty() || !QFileInfo(fileName_).isFile()) throw EUtVersionInfoError(kFileNotFound, fileName_);
  if (IsOwnFile(fileName_)) {
    StringValues& s = record_.strings;
    s.companyName = QStringLiteral("Velmora Software");
    s.fileDescription = QStringLiteral("Velmora task list manager");
    s.fileVersion = QStringLiteral(VELMORA_VERSION);
    s.internalName = QStringLiteral("velmora");
    s.legalCopyright = QStringLiteral("Copyright © 2026 Velmora Software");
    s.originalFilename = QStringLiteral("velmora");
    s.productName = QStringLiteral("Velmora");
    s.productVersion = QStringLiteral(VELMORA_VERSION);
    record_.fixed = {VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR, VELMORA_VERSION_PATCH, 0};
  }
  loaded_ = true;
  return record_;
}

QString GetAppLegalCopyright() { return TUtVersionInfo().LegalCopyright(); }
QString GetAppFileVersion() { return TUtVersionInfo().FileVersion(); }
QString GetAppProductVersion() { return TUtVersionInfo().ProductVersion(); }
