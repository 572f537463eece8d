#pragma once
// String and bit routines the stores and the options rely on.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <array>
#include <cstdint>

// Character classes of the type table.
enum CharTypeFlag : uint16_t {
  CharUpper = 0x0001,
  CharLower = 0x0002,
  CharDigit = 0x0004,
  CharSpace = 0x0008,
  CharPunct = 0x0010,
  CharControl = 0x0020,
  CharBlank = 0x0040,
  CharHexDigit = 0x0080,
  CharAlpha = 0x0100,
};

// Tables for the 256 characters of the 8-bit code page (Windows-1252), indexed by the
// code, filled once on first use. Case forms that the code page cannot hold leave the
// character as it is.
const std::array<uint16_t, 256>& CharTypeTable();
const std::array<QChar, 256>& LowerCaseTable();
const std::array<QChar, 256>& UpperCaseTable();
const std::array<QChar, 256>& SwapCaseTable();

// Equal texts, comparing from the last character to the first, each character also
// after upper-casing (the upper-case table for the code page's characters).
bool FastSameText(const QString& a, const QString& b);

QString FastIntToStr(int value);

bool CharInSet(const QString& set, QChar c);

// Words are maximal runs of characters that are not in separators.
int WordCount(const QString& text, const QString& separators);
// 1-based start of the n-th word (n from 1), 0 when there is none.
int WordPosition(int n, const QString& text, const QString& separators);
// The n-th word, empty when there is none.
QString ExtractWord(int n, const QString& text, const QString& separators);

// 1-based position of the first c, 0 when absent.
int FindCharPos(const QString& text, QChar c);

// Each character of text found in from is replaced by the character at the same place
// of to; when from and to differ in length the text comes back unchanged.
QString TranslateChars(const QString& text, const QString& from, const QString& to);

// Each byte combined by exclusive or with the key, walked from its last byte to its
// first and round again; a byte equal to its key byte stays, so no zero byte appears.
// Applying it twice gives the text back. An empty key changes nothing.
QByteArray XorWithKey(const QByteArray& text, const QByteArray& key);

// Bit n - 1 of the mask (n from 1 to 32); false for any other n.
bool BitIsSet(uint32_t mask, int n);
// The 1-based number of the lowest set bit whose number is above n (n from 0 to 31);
// n = 0 gives the lowest set bit. 0 when there is none or n is outside 0..31.
int NextSetBit(uint32_t mask, int n);

// Integer text: optional blanks and sign, then decimal digits, or hexadecimal after
// "$", "0x" or "x" (hexadecimal up to 32 bits, so "$FFFFFFFF" is -1). Anything else,
// or a number outside 32 bits, is no integer.
bool TryStrToInt(const QString& text, int& value);
int StrToIntDef(const QString& text, int defaultValue);
