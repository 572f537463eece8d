#include "core/UtStrings.h"

#include <climits>
#include <gtest/gtest.h>

TEST(UtStrings, FastSameText) {
  struct Case {
    QString a, b;
    bool same;
  } cases[] = {
      {"", "", true},
      {QString(), "", true},
      {"", "a", false},
      {"Todo", "TODO", true},
      {"Todo", "Todos", false},
      {"abc", "abd", false},
      {QString::fromUtf8("Grüße"), QString::fromUtf8("GRÜßE"), true},
      {QString::fromUtf8("ÿ"), QString::fromUtf8("Ÿ"), true},  // upper case outside Latin-1
      {QString::fromUtf8("šŽ"), QString::fromUtf8("Šž"), true},
      {QString::fromUtf8("Ωμέγα"), QString::fromUtf8("ΩΜΈΓΑ"), true},
      {QString(QChar(0x9A)), QString(QChar(0x160)), false},  // a control character is no š
      {"a1", "A2", false},
  };
  for (const Case& c : cases) EXPECT_EQ(FastSameText(c.a, c.b), c.same) << c.a.toStdString() << " / " << c.b.toStdString();
  const QString same = "x";
  EXPECT_TRUE(FastSameText(same, same));
}

TEST(UtStrings, CharacterTables) {
  const auto& upper = UpperCaseTable();
  const auto& lower = LowerCaseTable();
  const auto& swap = SwapCaseTable();
  const auto& type = CharTypeTable();
  EXPECT_EQ(upper['a'], QChar('A'));
  EXPECT_EQ(upper[0xE9], QChar(0xC9));   // é
  EXPECT_EQ(upper[0x9A], QChar(0x160));  // š -> Š in the code page
  EXPECT_EQ(upper[0xFF], QChar(0x178));  // ÿ -> Ÿ
  EXPECT_EQ(upper[0xB5], QChar(0xB5));   // µ: its upper case is not in the code page
  EXPECT_EQ(upper[0xDF], QChar(0xDF));   // ß stays
  EXPECT_EQ(lower['Q'], QChar('q'));
  EXPECT_EQ(lower[0x8A], QChar(0x161));
  EXPECT_EQ(swap['a'], QChar('A'));
  EXPECT_EQ(swap['A'], QChar('a'));
  EXPECT_EQ(swap['5'], QChar('5'));
  EXPECT_EQ(type['A'], CharUpper | CharAlpha | CharHexDigit);
  EXPECT_EQ(type['7'], CharDigit | CharHexDigit);
  EXPECT_EQ(type[' '], CharSpace | CharBlank);
  EXPECT_EQ(type['\t'], CharSpace | CharBlank | CharControl);
  EXPECT_TRUE(type[0x80] & CharPunct);  // €
}

TEST(UtStrings, Words) {
  struct Case {
    QString text, separators;
    int count;
    int n;
    int position;
    QString word;
  } cases[] = {
      {";1;;4;", ";", 2, 2, 5, "4"},
      {";1;;4;", ";", 2, 1, 2, "1"},
      {";1;;4;", ";", 2, 3, 0, ""},
      {"1;4;5;", ";", 3, 3, 5, "5"},
      {"", ";", 0, 1, 0, ""},
      {";;;", ";", 0, 1, 0, ""},
      {"one two,three", " ,", 3, 3, 9, "three"},
      {"abc", "", 1, 1, 1, "abc"},
      {"abc", ";", 1, 0, 0, ""},
      {"abc", ";", 1, -1, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WordCount(c.text, c.separators), c.count) << c.text.toStdString();
    EXPECT_EQ(WordPosition(c.n, c.text, c.separators), c.position) << c.text.toStdString() << " #" << c.n;
    EXPECT_EQ(ExtractWord(c.n, c.text, c.separators), c.word) << c.text.toStdString() << " #" << c.n;
  }
}

TEST(UtStrings, SmallHelpers) {
  EXPECT_EQ(FastIntToStr(0), "0");
  EXPECT_EQ(FastIntToStr(-42), "-42");
  EXPECT_EQ(FastIntToStr(INT_MIN), "-2147483648");
  EXPECT_TRUE(CharInSet(";,", ','));
  EXPECT_FALSE(CharInSet("", ','));
  EXPECT_EQ(FindCharPos("a.b.c", '.'), 2);
  EXPECT_EQ(FindCharPos("abc", '.'), 0);
  EXPECT_EQ(TranslateChars("a\\b\\c", "\\", "/"), "a/b/c");
  EXPECT_EQ(TranslateChars("abcab", "aba", "xyz"), "xycxy");  // the first occurrence in from wins
  EXPECT_EQ(TranslateChars("abc", "ab", "x"), "abc");
}

TEST(UtStrings, XorWithKey) {
  const QByteArray key = "k\x01Z\xff";
  for (const QByteArray& text : {QByteArray("velmora-works"), QByteArray("\xffZ\x01k\xffZ\x01k"), QByteArray("\x80\x7f"),
                                 QByteArray()}) {
    const QByteArray once = XorWithKey(text, key);
    EXPECT_FALSE(once.contains('\0')) << text.toHex().constData();
    EXPECT_EQ(XorWithKey(once, key), text) << text.toHex().constData();
  }
  // The key is walked from its last byte backwards.
  EXPECT_EQ(XorWithKey(QByteArray("\x01\x01\x01", 3), QByteArray("\x02\x04", 2)), QByteArray("\x05\x03\x05", 3));
  EXPECT_EQ(XorWithKey("abc", QByteArray()), "abc");
}

TEST(UtStrings, Bits) {
  EXPECT_TRUE(BitIsSet(1u, 1));
  EXPECT_FALSE(BitIsSet(1u, 2));
  EXPECT_TRUE(BitIsSet(0x80000000u, 32));
  EXPECT_FALSE(BitIsSet(0xFFFFFFFFu, 0));
  EXPECT_FALSE(BitIsSet(0xFFFFFFFFu, 33));

  struct Case {
    uint32_t mask;
    int n;
    int next;
  } cases[] = {
      {0u, 0, 0},          {0u, 15, 0},         {0u, 31, 0},          {0x80000000u, 31, 32},
      {0x80000000u, 30, 32}, {0x80000000u, 0, 32}, {0b1011u, 0, 1},      {0b1011u, 1, 2},
      {0b1011u, 2, 4},     {0b1011u, 4, 0},     {0xFFFFFFFFu, 5, 6},  {0xFFFFFFFFu, 32, 0},
      {0b0011u, 1, 2},  // Monday then Tuesday: the day right after is not skipped
      {0xFFFFFFFFu, -1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(NextSetBit(c.mask, c.n), c.next) << std::hex << c.mask << " n=" << std::dec << c.n;
}

TEST(UtStrings, StrToIntDef) {
  struct Case {
    QString text;
    int value;
  } cases[] = {
      {"12", 12},       {"-7", -7},         {"+7", 7},          {"  3", 3},
      {"$1F", 31},      {"0x10", 16},       {"x10", 16},        {"$FFFFFFFF", -1},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", 99}, {"$100000000", 99},
      {"", 99},         {"abc", 99},        {"12abc", 99},      {"1 ", 99},
      {"-", 99},        {"$", 99},          {"1.5", 99},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToIntDef(c.text, 99), c.value) << c.text.toStdString();
}
