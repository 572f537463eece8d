// Reading and writing the table files' fields, in memory and through a window on a
// file, and the shared storage of the texts read.
#include "platform/BinaryStream.h"
#include "platform/Exception.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Texts of every length class, ASCII and not, with one far larger than the window.
std::vector<QString> SampleTexts(int count) {
  std::mt19937 rng(7);
  const QString pieces[] = {"plain ", QString::fromUtf8("Grüße "), QString::fromUtf8("€ "), QString::fromUtf8("😀"), "x"};
  std::vector<QString> texts;
  for (int i = 0; i < count; ++i) {
    QString text;
    const int words = i % 97 == 0 ? 3000 : static_cast<int>(rng() % 60);
    for (int w = 0; w < words; ++w) text += pieces[rng() % std::size(pieces)];
    texts.push_back(text);
  }
  texts.push_back(QString(400 * 1024, QLatin1Char('w')));
  return texts;
}

void WriteSample(BinaryWriter& out, const std::vector<QString>& texts) {
  for (size_t i = 0; i < texts.size(); ++i) {
    out.WriteInt32(static_cast<int32_t>(i));
    out.WriteString(texts[i]);
    out.WriteDouble(i + 0.5);
  }
}

void ExpectSample(BinaryReader& in, const std::vector<QString>& texts) {
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(in.ReadInt32(), static_cast<int32_t>(i));
    ASSERT_EQ(in.ReadString(), texts[i]) << i;
    ASSERT_EQ(in.ReadDouble(), i + 0.5);
  }
  EXPECT_EQ(in.Remaining(), 0);
  EXPECT_THROW(in.ReadUInt8(), EReadError);
}

}  // namespace

TEST(BinaryStream, ReaderChecksEveryLength) {
  BinaryWriter w;
  w.WriteInt32(-7);
  w.WriteString(QString::fromUtf8("Grüße"));
  w.WriteString({});
  w.WriteDouble(45000.25);
  w.WriteUInt8(200);
  const QByteArray bytes = w.Take();
  BinaryReader r(bytes, "t.tbl");
  EXPECT_EQ(r.ReadInt32(), -7);
  EXPECT_EQ(r.ReadString(), QString::fromUtf8("Grüße"));
  EXPECT_EQ(r.ReadString(), QString());
  EXPECT_EQ(r.ReadDouble(), 45000.25);
  EXPECT_EQ(r.ReadUInt8(), 200);
  EXPECT_THROW(r.ReadUInt8(), EReadError);

  QByteArray huge;
  BinaryWriter hw;
  hw.WriteInt32(0x7fffffff);
  huge = hw.Take();
  BinaryReader hr(huge, "t.tbl");
  EXPECT_THROW(hr.ReadString(), EReadError);
}

TEST(BinaryStream, TextThatIsNotUtf8ReadsAsWindows1252) {
  EXPECT_EQ(DecodeFileText(QByteArray("caf\xe9 \x80", 6)), QString::fromUtf8("café €"));
  struct Case {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"caf\xc3\xa9", QString::fromUtf8("café")},
      {"\xef\xbb\xbfkeep the mark", QChar(0xFEFF) + QStringLiteral("keep the mark")},
      {"long ascii run and \xe2\x82\xac and \xf0\x9f\x98\x80", QString::fromUtf8("long ascii run and € and 😀")},
      {"overlong \xc0\xaf", QString::fromUtf8("overlong À¯")},
      {"surrogate \xed\xa0\x80", QString::fromUtf8("surrogate í\u00a0€")},
      {"cut \xe2\x82", QString::fromUtf8("cut â‚")},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeFileText(c.bytes), c.text) << c.bytes.toHex().constData();
}

TEST(BinaryStream, WindowOnAFileReadsWhatTheBufferHolds) {
  const std::vector<QString> texts = SampleTexts(3000);
  BinaryWriter memory;
  WriteSample(memory, texts);
  const QByteArray bytes = memory.Take();
  ASSERT_GT(bytes.size(), 1024 * 1024) << "fields must cross window edges";

  BinaryReader fromBuffer(bytes, "t.tbl");
  ExpectSample(fromBuffer, texts);

  QBuffer device;
  device.setData(bytes);
  ASSERT_TRUE(device.open(QIODevice::ReadOnly));
  BinaryReader fromDevice(device, bytes.size(), "t.tbl");
  ExpectSample(fromDevice, texts);

  // A writer that hands its window on writes the same bytes.
  QByteArray streamed;
  qsizetype largestPiece = 0;
  BinaryWriter windowed([&](QByteArrayView piece) {
    streamed += piece;
    largestPiece = std::max(largestPiece, piece.size());
  });
  WriteSample(windowed, texts);
  windowed.Flush();
  EXPECT_EQ(streamed, bytes);
  EXPECT_LT(largestPiece, bytes.size() / 2);
}

TEST(BinaryStream, FileShorterThanItsSizeRaises) {
  BinaryWriter w;
  w.WriteString(QStringLiteral("cut"));
  const QByteArray bytes = w.Take();
  QBuffer device;
  device.setData(bytes);
  ASSERT_TRUE(device.open(QIODevice::ReadOnly));
  // The file lost bytes between asking its size and reading it.
  BinaryReader in(device, bytes.size() + 100, "t.tbl");
  EXPECT_EQ(in.ReadString(), QStringLiteral("cut"));
  EXPECT_THROW(in.ReadInt32(), EReadError);
}

TEST(FileTextPool, DecodesLikeTheSingleDecoder) {
  const std::vector<QString> texts = SampleTexts(2000);
  FileTextPool pool;
  for (const QString& text : texts) {
    const QByteArray bytes = text.toUtf8();
    ASSERT_EQ(pool.Decode(bytes), text);
  }
  EXPECT_TRUE(pool.Decode(QByteArrayView()).isNull());
  EXPECT_EQ(pool.Decode(QByteArray("caf\xe9", 4)), QString::fromUtf8("café"));
}

TEST(FileTextPool, TextsOutliveThePoolAndChangeAlone) {
  const char* const sources[] = {"alpha", "Grüße", "caf\xe9", "omega"};
  std::vector<QString> texts;
  {
    FileTextPool pool;
    for (const char* source : sources) texts.push_back(pool.Decode(QByteArrayView(source), 100));
  }
  const std::vector<QString> expected = {"alpha", QString::fromUtf8("Grüße"), QString::fromUtf8("café"), "omega"};
  EXPECT_EQ(texts, expected);
  for (const QString& text : texts) EXPECT_EQ(text.utf16()[text.size()], 0) << "zero after the text";

  const QString copy = texts[0];
  texts[0] += " and more";
  texts[2].replace(0, 1, "C");
  EXPECT_EQ(copy, "alpha");
  EXPECT_EQ(texts[1], QString::fromUtf8("Grüße"));
  EXPECT_EQ(texts[3], "omega");

  // The last text left in a block may grow into the room its neighbours left.
  texts.erase(texts.begin() + 2, texts.end());
  texts.erase(texts.begin());
  texts[0] += "!!";
  texts[0].append(QString(50, QLatin1Char('z')));
  EXPECT_EQ(texts[0], QString::fromUtf8("Grüße!!") + QString(50, QLatin1Char('z')));
}
