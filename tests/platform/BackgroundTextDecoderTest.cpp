// The decoder puts every committed text where it belongs, whether its thread runs or
// none can start, and drops the texts of a record cut short.
#include "platform/BackgroundTextDecoder.h"
#include "platform/FileText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <system_error>
#include <vector>

namespace {

// Texts of a file: mostly short, UTF-8 and Windows-1252, some empty, one larger than a
// whole batch; several megabytes in all, so batches are reused while others are decoded.
std::vector<QByteArray> SampleTexts() {
  std::mt19937 rng(3);
  const QByteArray pieces[] = {"Call the bank ", "Caf\xC3\xA9 ", "Caf\xE9 ", "\xE2\x82\xAC" "50 ", "", "x"};
  std::vector<QByteArray> texts;
  for (int i = 0; i < 40000; ++i) {
    QByteArray text;
    for (int n = static_cast<int>(rng() % 12); n > 0; --n) text += pieces[rng() % std::size(pieces)];
    texts.push_back(text);
  }
  texts[20000] = QByteArray(700 * 1024, 'L');
  return texts;
}

struct StartCase {
  const char* name;
  bool threadStarts;
};

class BackgroundTextDecoderTest : public ::testing::TestWithParam<StartCase> {
protected:
  BackgroundTextDecoder::StartThread Starter() {
    return [this](std::function<void()> run) {
      ++starts;
      if (!GetParam().threadStarts) throw std::system_error(EAGAIN, std::generic_category());
      return std::thread(std::move(run));
    };
  }
  int starts = 0;
};

}  // namespace

TEST_P(BackgroundTextDecoderTest, CommittedTextsArriveWhole) {
  const std::vector<QByteArray> texts = SampleTexts();
  std::vector<QString> targets(texts.size(), QStringLiteral("untouched"));
  {
    BackgroundTextDecoder decoder(Starter());
    // Records of three texts; the last record is cut short and never committed.
    for (size_t i = 0; i < texts.size(); ++i) {
      decoder.Defer(texts[i], &targets[i]);
      if (i % 3 == 2 && i + 3 < texts.size()) decoder.Commit();
    }
    decoder.Finish();
    EXPECT_EQ(starts, 1) << "one thread for the whole file, or one failed try";
  }
  const size_t committed = (texts.size() - 3) / 3 * 3;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i < committed && !texts[i].isEmpty()) ASSERT_EQ(targets[i], DecodeFileText(texts[i])) << i;
    else ASSERT_EQ(targets[i], QStringLiteral("untouched")) << i;
  }
}

// The destructor finishes what was committed, as a load that raises relies on.
TEST_P(BackgroundTextDecoderTest, DestroyingFinishes) {
  QString first, second = QStringLiteral("untouched");
  {
    BackgroundTextDecoder decoder(Starter());
    decoder.Defer(QByteArray(300 * 1024, 'a'), &first);  // fills a batch, which is handed over
    decoder.Commit();
    decoder.Defer("cut", &second);
  }
  EXPECT_EQ(first, QString(300 * 1024, QLatin1Char('a')));
  EXPECT_EQ(second, QStringLiteral("untouched"));
}

INSTANTIATE_TEST_SUITE_P(Threads, BackgroundTextDecoderTest,
                         ::testing::Values(StartCase{"SecondThread", true}, StartCase{"NoThreadCanStart", false}),
                         [](const auto& info) { return std::string(info.param.name); });
