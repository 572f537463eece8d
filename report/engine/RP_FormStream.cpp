// The report form stream: writing a report's pages, objects, dictionary and
// information, and reading them back into new pages that replace the report's only
// when the whole form was read.
#include "platform/FileText.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_ObjectRegistry.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QBuffer>
#include <QtEndian>
#include <cstring>

namespace {

constexpr uint8_t kPageMarker = 255, kDictionaryMarker = 254, kExtensionMarker = 253, kEndMarker = 252;
const QString kVirtualPrinterCode = QStringLiteral("\x01");

[[noreturn]] void Unsupported() { throw ErpLoadError(rpLoadStr(rpStrings::UnsupportedFormat)); }

void WriteRawString(QIODevice& stream, const QString& text) {
  const QByteArray bytes = EncodeFileText(text);
  if (bytes.size() > 0xFFFF) throw EWriteError(rpLoadStr(rpStrings::TextTooLong));
  rpWriteWord(stream, static_cast<uint16_t>(bytes.size()));
  if (stream.write(bytes) != bytes.size()) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
}

QByteArray ReadRaw(QIODevice& stream, qint64 length) {
  if (length > rpRemaining(stream)) Unsupported();
  const QByteArray bytes = stream.read(length);
  if (bytes.size() != length) Unsupported();
  return bytes;
}

QString ReadRawString(QIODevice& stream) { return DecodeFileText(ReadRaw(stream, rpReadWord(stream))); }

void WriteDouble(QIODevice& stream, double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  char bytes[8];
  qToLittleEndian(bits, bytes);
  if (stream.write(bytes, 8) != 8) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
}

double ReadDouble(QIODevice& stream) {
  const QByteArray bytes = ReadRaw(stream, 8);
  const uint64_t bits = qFromLittleEndian<uint64_t>(bytes.constData());
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void Seek(QIODevice& stream, qint64 pos) {
  if (!stream.seek(pos)) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
}

}  // namespace

// Reads one form into a fresh report; the caller takes its parts when it succeeds.
class TrpFormReader {
public:
  TrpFormReader(TrpReport& into, QIODevice& stream) : into_(into), s_(stream) {}

  void Read() {
    const qint64 start = s_.pos();
    version_ = rpReadByte(s_);
    if (version_ <= 20) {
      version_ = 21;  // a form without a version byte
      Seek(s_, start);
    }
    if (version_ > kRpStreamVersion) Unsupported();
    ReadPages();
    if (!missing_.isEmpty()) ThrowMissing();
    if (rpRemaining(s_) > 0) {
      ReadInformation();
    } else if (version_ == kRpStreamVersion) {
      Unsupported();  // this version always carries its information: the form was cut
    }
    for (int p = 0; p < into_.PageCount(); ++p) {
      for (const auto& object : into_.Page(p)->Objects()) object->Loaded();
    }
  }

private:
  [[noreturn]] void ThrowMissing() const {
    QString text = rpLoadStr(rpStrings::NonPlugged) + u'\n';
    for (const QString& name : missing_) text += name + u'\n';
    throw EClassNotFound(text + rpLoadStr(rpStrings::IncludeComponents));
  }

  void ReadPages() {
    into_.UseDefaultPrinter = rpReadWord(s_) != 0;
    into_.TwoPass = rpReadWord(s_) != 0;
    const QString printer = rpReadStringOfVersion(s_, version_);
    into_.PrinterName = printer == kVirtualPrinterCode ? rpLoadStr(rpStrings::VirtualPrinter) : printer;
    bool ended = false;
    while (!ended && rpRemaining(s_) > 0) {
      const uint8_t marker = rpReadByte(s_);
      switch (marker) {
        case kPageMarker:
          ReadPage();
          break;
        case kDictionaryMarker:
          into_.Dictionary.ReadFromStream(s_, version_);
          break;
        case kExtensionMarker:
          Unsupported();  // no extension is installed that could read its block
        case kEndMarker:
          ended = true;
          break;
        default:
          if (marker > rpObjectType::AddIn) Unsupported();
          ReadObject(marker);
      }
    }
    // Forms of these versions always end their page part with the end byte.
    if (!ended && version_ >= 24) Unsupported();
  }

  void ReadPage() {
    TrpPage* page = into_.AddPage();
    page->ReadFromStream(s_, version_);
    if (page->Name.isEmpty() && version_ < 24) {
      for (int i = 1; i <= 10000; ++i) {
        const QString name = QStringLiteral("Page") + QString::number(i);
        bool used = false;
        for (int p = 0; p < into_.PageCount(); ++p) used = used || into_.Page(p)->Name == name;
        if (!used) {
          page->Name = name;
          break;
        }
      }
    }
  }

  void ReadObject(int type) {
    if (type != rpObjectType::Memo && type != rpObjectType::Picture && type != rpObjectType::Band &&
        type != rpObjectType::SubReport && type != rpObjectType::Line && type != rpObjectType::AddIn) {
      Unsupported();  // 5 to 9 name no object
    }
    QString className;
    int extraBytes = 0;
    if (type == rpObjectType::AddIn) {
      className = rpReadStringOfVersion(s_, version_);
      const QString upper = className.toUpper();
      if (upper == QLatin1String("TRPDBALOOKUPCONTROL") || upper == QLatin1String("TRPDBBLOOKUPCONTROL")) {
        className = QStringLiteral("TrpDBLookupControl");
      } else if (upper == QLatin1String("TRPFRAMEDMEMOVIEW")) {
        type = rpObjectType::Memo;
        extraBytes = 8;
      }
    }
    const int pageIndex = rpReadByte(s_);
    if (pageIndex >= into_.PageCount()) Unsupported();
    qint64 end = 0;
    if (version_ > 23) {
      end = rpReadInt(s_);
      if (end <= s_.pos() || end > s_.size()) Unsupported();
    }
    std::unique_ptr<TrpView> view;
    try {
      view = rpCreateObject(type, className);
    } catch (const EClassNotFound& e) {
      if (!missing_.contains(e.Message())) missing_ << e.Message();
      if (end == 0) ThrowMissing();  // nothing tells where the unknown record ends
      Seek(s_, end);
      return;
    }
    TrpPage* page = into_.Page(pageIndex);
    view->SetParent(page);
    try {
      view->ReadFromStream(s_, version_);
      for (int i = 0; i < extraBytes; ++i) rpReadByte(s_);
      if (end != 0 && s_.pos() > end) Unsupported();  // the record ran past its frame
    } catch (const ErpError&) {
      // Older forms cannot tell where a damaged record ends; newer ones skip it.
      if (end == 0) throw;
      Seek(s_, end);
      return;
    }
    view->SetPropValue(QStringLiteral("Name"), view->Name);
    page->Add(std::move(view));
    if (end != 0) Seek(s_, end);
  }

  void ReadInformation() {
    into_.InfoComment = ReadRawString(s_);
    into_.InfoName = ReadRawString(s_);
    into_.InfoAuthor = ReadRawString(s_);
    into_.InfoVersionMajor = ReadRawString(s_);
    into_.InfoVersionMinor = ReadRawString(s_);
    into_.InfoVersionRelease = ReadRawString(s_);
    into_.InfoVersionBuild = ReadRawString(s_);
    const uint16_t hexLength = rpReadWord(s_);
    into_.ReportPassword = rpHexToPassword(QString::fromLatin1(ReadRaw(s_, hexLength)));
    into_.WriterVersion = rpReadByte(s_);
    into_.ReportProtected = rpReadByte(s_) != 0;
    into_.InfoCreateDate = ReadDouble(s_);
    into_.InfoLastChange = ReadDouble(s_);
  }

  TrpReport& into_;
  QIODevice& s_;
  int version_ = kRpStreamVersion;
  QStringList missing_;
};

void TrpReport::WriteToStream(QIODevice& stream) {
  rpWriteByte(stream, kRpStreamVersion);
  rpWriteWord(stream, UseDefaultPrinter ? 1 : 0);
  rpWriteWord(stream, TwoPass ? 1 : 0);
  rpWriteString(stream, PrinterName == rpLoadStr(rpStrings::VirtualPrinter) ? kVirtualPrinterCode : PrinterName);
  for (const auto& page : pages_) {
    rpWriteByte(stream, kPageMarker);
    page->WriteToStream(stream);
  }
  for (size_t p = 0; p < pages_.size(); ++p) {
    if (p > 255 && !pages_[p]->Objects().empty()) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
    for (const auto& object : pages_[p]->Objects()) {
      rpWriteByte(stream, object->Typ);
      if (object->Typ == rpObjectType::AddIn) rpWriteString(stream, object->ClassName());
      rpWriteByte(stream, static_cast<uint8_t>(p));
      const qint64 offsetAt = stream.pos();
      rpWriteInt(stream, 0);  // patched once the record is written
      const bool mode = object->PreparedMode;
      object->PreparedMode = false;
      object->WriteToStream(stream);
      object->PreparedMode = mode;
      const qint64 end = stream.pos();
      Seek(stream, offsetAt);
      rpWriteInt(stream, static_cast<int32_t>(end));
      Seek(stream, end);
    }
  }
  rpWriteByte(stream, kDictionaryMarker);
  Dictionary.WriteToStream(stream);
  rpWriteByte(stream, kEndMarker);
  for (const QString* text : {&InfoComment, &InfoName, &InfoAuthor, &InfoVersionMajor, &InfoVersionMinor,
                              &InfoVersionRelease, &InfoVersionBuild}) {
    WriteRawString(stream, *text);
  }
  WriteRawString(stream, rpPasswordToHex(ReportPassword));
  WriterVersion = 88;
  rpWriteByte(stream, WriterVersion);
  rpWriteByte(stream, ReportProtected ? 1 : 0);
  WriteDouble(stream, InfoCreateDate);
  InfoLastChange = Now ? Now() : 0;
  WriteDouble(stream, InfoLastChange);
}

bool TrpReport::ReadFromStream(QIODevice& stream) {
  lastError_.clear();
  if (stream.size() - stream.pos() <= 0) {
    Dictionary.Clear();
    return true;
  }
  TrpReport incoming;
  QString error;
  try {
    TrpFormReader(incoming, stream).Read();
  } catch (const EClassNotFound& e) {
    error = e.Message();
  } catch (const Exception&) {
    error = rpLoadStr(rpStrings::UnsupportedFormat);
  }
  if (!error.isEmpty()) {
    lastError_ = error;
    if (TrpWindows* windows = rpWindows()) windows->MessageBox(error, rpLoadStr(rpStrings::Error), 16);
    return false;
  }
  // A protected report from a file asks for its password; a refusal leaves an empty,
  // usable report rather than an error.
  bool refused = false;
  if (incoming.ReportProtected && !qobject_cast<QBuffer*>(&stream)) {
    const std::optional<QString> answer = OnAskPassword ? OnAskPassword() : std::nullopt;
    refused = !answer || *answer != incoming.ReportPassword;
  }
  currentView_ = nullptr;
  currentPage_ = nullptr;
  if (refused) {
    pages_.clear();
    Dictionary.Clear();
    ClearInfo();
    FileName = rpLoadStr(rpStrings::Untitled);
    AddPage();
    return true;
  }
  pages_ = std::move(incoming.pages_);
  for (const auto& page : pages_) page->SetReport(this);
  Dictionary = std::move(incoming.Dictionary);
  UseDefaultPrinter = incoming.UseDefaultPrinter;
  TwoPass = incoming.TwoPass;
  PrinterName = incoming.PrinterName;
  InfoComment = incoming.InfoComment;
  InfoName = incoming.InfoName;
  InfoAuthor = incoming.InfoAuthor;
  InfoVersionMajor = incoming.InfoVersionMajor;
  InfoVersionMinor = incoming.InfoVersionMinor;
  InfoVersionRelease = incoming.InfoVersionRelease;
  InfoVersionBuild = incoming.InfoVersionBuild;
  ReportPassword = incoming.ReportPassword;
  WriterVersion = incoming.WriterVersion;
  ReportProtected = incoming.ReportProtected;
  InfoCreateDate = incoming.InfoCreateDate;
  InfoLastChange = incoming.InfoLastChange;
  return true;
}
