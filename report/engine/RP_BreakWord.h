#pragma once
// The syllable rule for breaking a Cyrillic word at the end of a line.
#include <QStringView>

#include <vector>

// Where `word` may be broken, as the number of UTF-16 units before each break, in
// ascending order. The word is compared in upper case; vowels are А Е Ё И О У Ы Э Ю Я,
// signs Ъ Ь, separators blank , - . and every other character counts as a consonant.
// Counting characters (code points) from 1, a break after character i (2 ≤ i ≤ length
// − 2) is allowed when
//   - i is a vowel and i+1 or i+2 is a vowel, or
//   - i is a sign and i+2 is not a separator, or
//   - otherwise (a consonant, or a sign before a separator) i+1 is neither a vowel nor
//     a sign and i+2 is a vowel.
// Words of three characters or fewer have no breaks; a break never splits a surrogate
// pair. O(length).
std::vector<int> BreakWord(QStringView word);
