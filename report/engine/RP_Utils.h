#pragma once
// The small pieces the rest of the engine stands on: the string and string-list
// encodings of every engine stream, the password and display-format encodings, number
// and name helpers, and the lookup of components, data sets and fields by name.
//
// Streams are little-endian. Text is written as UTF-8; on reading, bytes that are not
// valid UTF-8 are read as Windows-1252, so older streams load. Every reader is bounded
// by its count and by the bytes that remain: a cut or damaged stream raises
// ErpLoadError and never reads past its end.
#include "report/engine/RP_DBSet.h"
#include "report/engine/RP_Locale.h"

#include <QFont>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <cstdint>
#include <memory>

class TrpReportHost;

// Streams of this version and later hold the current string layouts; older ones the
// zero-terminated ones.
constexpr int kRpFirstCurrentLayoutVersion = 23;

void rpWriteByte(QIODevice& stream, uint8_t value);
void rpWriteWord(QIODevice& stream, uint16_t value);
void rpWriteInt(QIODevice& stream, int32_t value);
uint8_t rpReadByte(QIODevice& stream);
uint16_t rpReadWord(QIODevice& stream);
int32_t rpReadInt(QIODevice& stream);
// The bytes between the position and the end: a count read from a stream is checked
// against it before anything is allocated for it.
inline qint64 rpRemaining(QIODevice& stream) { return stream.size() - stream.pos(); }

// A run of numbers of a record gathered into one write, in the same bytes as the
// single writers above: a prepared page holds tens of thousands of records, and each
// call into the device costs more than the few bytes it carries.
class TrpPackedFields {
 public:
  TrpPackedFields& Byte(uint8_t value) { return Put(value); }
  TrpPackedFields& Word(uint16_t value) { return Put(value); }
  TrpPackedFields& Int(int32_t value) { return Put(value); }
  void WriteTo(QIODevice& stream);

 private:
  template <typename T>
  TrpPackedFields& Put(T value) {
    Q_ASSERT(size_ + static_cast<int>(sizeof(T)) <= static_cast<int>(sizeof bytes_));
    qToLittleEndian(value, bytes_ + size_);
    size_ += static_cast<int>(sizeof(T));
    return *this;
  }
  char bytes_[64];
  int size_ = 0;
};

// The reading side: `count` bytes read at once (ErpLoadError when fewer remain), then
// taken field by field; taking more than was read raises the same error.
class TrpFieldsReader {
 public:
  TrpFieldsReader(QIODevice& stream, int count);
  uint8_t Byte() { return Take<uint8_t>(); }
  uint16_t Word() { return Take<uint16_t>(); }
  int32_t Int() { return Take<int32_t>(); }

 private:
  template <typename T>
  T Take() {
    if (pos_ + static_cast<int>(sizeof(T)) > size_) TooShort();
    const T value = qFromLittleEndian<T>(bytes_ + pos_);
    pos_ += static_cast<int>(sizeof(T));
    return value;
  }
  [[noreturn]] static void TooShort();
  char bytes_[64];
  int size_ = 0;
  int pos_ = 0;
};

// A 16-bit byte count, the bytes and one 0 byte. A text longer than 65535 bytes raises
// EWriteError rather than being cut.
void rpWriteString(QIODevice& stream, const QString& text);
QString rpReadString(QIODevice& stream);
// A 16-bit line count; each line a 16-bit byte count and the bytes, followed by the
// byte 13 except after the last; then one 0 byte.
void rpWriteMemo(QIODevice& stream, const QStringList& lines);
QStringList rpReadMemo(QIODevice& stream);
// The older layouts: the bytes up to a 0 byte; a list is such a text with 13 between
// its lines (an empty text is an empty list).
QString rpReadOldString(QIODevice& stream);
QStringList rpReadOldMemo(QIODevice& stream);
// The layout of a stream of that version.
QString rpReadStringOfVersion(QIODevice& stream, int version);
QStringList rpReadMemoOfVersion(QIODevice& stream, int version);

// Each byte of the password's text as two upper-case hexadecimal digits, high first.
QString rpPasswordToHex(const QString& password);
// Pairs of digits in either case; anything else raises ErpLoadError.
QString rpHexToPassword(const QString& hex);

// The display format of a view: bits 24-27 the category, 16-23 the kind within it,
// 8-15 the decimal digits, 0-7 the decimal separator.
namespace rpFormatCategory {
constexpr int Text = 0, Number = 1, Date = 2, Time = 3, Boolean = 4;
}
struct TrpDisplayFormat {
  int category = rpFormatCategory::Text;
  int kind = 0;
  int decimals = 0;
  QChar separator;
};
uint32_t rpMakeFormat(const TrpDisplayFormat& format);
TrpDisplayFormat rpSplitFormat(uint32_t format);
// A new view's: text, two decimals and the locale's separator.
uint32_t rpDefaultFormat();

// Every "," and "." becomes the locale's decimal separator, then the trimmed text is
// read (EConvertError when it is no number).
double rpStrToFloat(const QString& text);
// A ";"-separated text as its parts.
QStringList rpSplitText(const QString& text);
// One pair of enclosing double quotes off a name longer than two characters.
QString rpUnquote(const QString& name);

// Top-level components (forms and data modules) that «A.B» names can start from.
void rpRegisterTopLevelComponent(QObject* component);
void rpUnregisterTopLevelComponent(QObject* component);
// «A.B»: the top-level component A, then B in it; «A.B.C» one level further; a plain
// name in owner. Names match without regard to case. Raises EClassNotFound with
// "Missing " and the name.
QObject* rpFindComponent(QObject* owner, const QString& name);

struct TrpDataSetAndField {
  TrpTableDataSet* dataSet = nullptr;
  QString fieldName;  // empty unless the data set lists the field
};
// «field» in the current data set, «dataset.field» in the report's owner,
// «form.dataset.field», «form.frame.dataset.field»; a part that begins with a double
// quote runs to the end. Nothing found is no data set (it does not raise).
TrpDataSetAndField rpGetDataSetAndField(const QString& text);
// The field's value, its data set opened first: the display text for a field with a
// text handler or a wide-string field; a null value is "" for string fields, false for
// boolean ones and 0 otherwise.
TrpValue rpGetFieldValue(TrpField& field);
bool rpIsBlob(const TrpField& field);
// Writes the field's bytes and rewinds the stream.
void rpCopyBlobToStream(const TrpField& field, QIODevice& stream);

struct TrpFoundDataSet {
  TrpDataset* dataSet = nullptr;
  std::unique_ptr<TrpDataset> owned;  // set when the name made a new one
};
// A name beginning with a digit 1-9 makes a user data set of that many records (the
// caller owns it); any other names a TrpDataset (EClassNotFound otherwise). Init is
// called on it.
TrpFoundDataSet rpGetDataSet(QObject* owner, const QString& name);
// The table data set behind the band being printed (or the report's default data set);
// null unless that is a TrpDBDataSet.
TrpTableDataSet* rpCurrentDataSet();

// A font for text written upward: escapement and orientation in tenths of a degree.
struct TrpRotatedFont {
  QFont font;
  int escapement = 900;
  int orientation = 900;
};
TrpRotatedFont rpCreateRotatedFont(const QFont& font);
