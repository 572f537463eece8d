#pragma once
// Text as the table files hold it: UTF-8, or Windows-1252 where the bytes are not valid
// UTF-8 (files of earlier versions). A leading byte-order mark is kept as a character,
// so text survives a save unchanged.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Shared text blocks build strings on Qt's own string storage, whose layout is Qt 6's;
// any other Qt gets one allocation per text.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0) && QT_VERSION < QT_VERSION_CHECK(7, 0, 0)
#define VELMORA_SHARED_TEXT_BLOCKS 1
#else
#define VELMORA_SHARED_TEXT_BLOCKS 0
#endif

QString DecodeFileText(QByteArrayView bytes);

QByteArray EncodeFileText(const QString& text);

// The value of an ASCII hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
constexpr int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Decodes into out, which must have room for bytes.size() units: neither encoding
// yields more UTF-16 units than it has bytes. Returns the end of the text written.
char16_t* DecodeFileTextInto(QByteArrayView bytes, char16_t* out);

// Decodes the many short texts of one file into shared blocks instead of one
// allocation each: a file of 100,000 tasks holds some 150,000 texts, and allocating
// them one by one was most of its load time. Every text keeps its block alive, and a
// block is freed with the last text that uses it, so the texts outlive the pool and
// may be copied and changed like any other (a change copies the text out first unless
// the block has no other user).
class FileTextPool {
public:
  static constexpr qsizetype kUnbounded = -1;

  // atMost bounds the units all texts still to come can need, so the pool of a small
  // file takes no more than that file needs.
  QString Decode(QByteArrayView bytes, qsizetype atMost = kUnbounded);

private:
#if VELMORA_SHARED_TEXT_BLOCKS
  QString::DataPointer block_;
  char16_t* free_ = nullptr;
  char16_t* end_ = nullptr;
#endif
};
