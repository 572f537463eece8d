#pragma once
// Small text helpers the library's editors share. Positions count from 0; a position
// past the end is forgiven rather than raised, as editing code calls these with
// caret positions that may already be stale.
#include <QString>
#include <optional>

// Removes the character at `pos`; nothing happens when `pos` is past the end.
void StrDeleteChar(QString& text, int pos);
// Inserts `c` at `pos`, or appends it when `pos` is past the end.
void StrInsertChar(QString& text, QChar c, int pos);
// First position of `c`; none for an empty text or when `c` is absent.
std::optional<int> StrFindChar(const QString& text, QChar c);
// First position of `part`; none when either text is empty or `part` is the longer.
std::optional<int> StrFindSubstr(const QString& text, const QString& part);
