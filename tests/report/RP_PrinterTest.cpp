// The engine's printer wrapper over printers described in memory: the virtual printer's
// papers and page information, reading and applying a printer's settings, switching
// printers, and the page lists of print requests with the order pages go out in.
#include "FakePrinterBackend.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_PrinterPageList.h"
#include "report/engine/RP_PrinterPaper.h"

#include <climits>

namespace {

class PrinterTest : public ReportEngineTest {};

TEST_F(PrinterTest, WithoutPrintersOnlyTheVirtualPrinterIsThere) {
  FakePrinterBackend none({});
  TrpPrinter printer;
  printer.AttachPrinter(&none);
  EXPECT_EQ(printer.Printers, QStringList{QStringLiteral("Virtual printer")});
  EXPECT_EQ(printer.PrinterIndex, 0);
  EXPECT_TRUE(printer.IsVirtual());
  EXPECT_EQ(printer.PaperSize, 9);
  EXPECT_EQ(printer.PaperCodes.size(), 67u);
  EXPECT_EQ(printer.PaperCodes.back(), 256);
  EXPECT_EQ(printer.BinCodes, std::vector<int16_t>{-1});
}

struct VirtualPaperCase {
  const char* name;
  int paper;
  int orientation;
  int widthTenths, heightTenths;
  int widthUnits, heightUnits;
};

class VirtualPaperTest : public ReportEngineTest, public ::testing::WithParamInterface<VirtualPaperCase> {};

TEST_P(VirtualPaperTest, SizesOffsetsAndPrintableArea) {
  const VirtualPaperCase& c = GetParam();
  TrpPrinter printer;
  printer.AttachPrinter(nullptr);
  printer.SetPageFormat(c.paper, 0, 0, c.orientation, -1, false);
  EXPECT_EQ(printer.PaperWidth, c.widthTenths);
  EXPECT_EQ(printer.PaperHeight, c.heightTenths);
  TrpPageInfo info;
  info.PaperWidthPx = 99;  // a real printer's leftovers do not stay
  printer.FillPageInfo(info);
  TrpPageInfo expected;
  expected.PaperWidth = c.widthUnits;
  expected.PaperHeight = c.heightUnits;
  expected.OffsetX = expected.OffsetY = 18;
  expected.PrintWidth = c.widthUnits - 36;
  expected.PrintHeight = c.heightUnits - 36;
  EXPECT_EQ(info, expected);
}

INSTANTIATE_TEST_SUITE_P(Papers, VirtualPaperTest,
                         ::testing::Values(VirtualPaperCase{"A4Portrait", 9, 0, 2100, 2970, 758, 1071},
                                           VirtualPaperCase{"A4Landscape", 9, 1, 2970, 2100, 1071, 758},
                                           VirtualPaperCase{"LetterPortrait", 1, 0, 2159, 2794, 779, 1008},
                                           VirtualPaperCase{"LetterLandscape", 1, 1, 2794, 2159, 1008, 779},
                                           VirtualPaperCase{"A3Portrait", 8, 0, 2970, 4200, 1071, 1515},
                                           VirtualPaperCase{"EnvelopeInvite", 47, 0, 2200, 2200, 794, 794},
                                           VirtualPaperCase{"SuperB", 68, 1, 4450, 3220, 1605, 1162}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrinterTest, UserSizeWithinATenthIsCurrentUnlessForced) {
  FakePrinterBackend backend({NamedPrinter("Laser")});
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  printer.SetPageFormat(256, 1000, 1500, 0, -1, false);
  ASSERT_EQ(backend.modesSet.size(), 1u);
  EXPECT_TRUE(backend.modesSet.back().userSize);
  EXPECT_EQ(backend.modesSet.back().paperWidth, 1000);
  EXPECT_EQ(backend.modesSet.back().paperHeight, 1500);
  // The fake reports A4's measures whatever the mode; put the size back as asked.
  printer.PaperWidth = 1000;
  printer.PaperHeight = 1500;

  printer.SetPageFormat(256, 1001, 1499, 0, -1, false);
  EXPECT_EQ(backend.modesSet.size(), 1u);
  printer.SetPageFormat(256, 1002, 1500, 0, -1, false);
  EXPECT_EQ(backend.modesSet.size(), 2u);
  printer.PaperWidth = 1000;
  printer.PaperHeight = 1500;
  printer.SetPageFormat(256, 1001, 1500, 0, -1, true);
  EXPECT_EQ(backend.modesSet.size(), 3u);
}

TEST_F(PrinterTest, NamedPaperIsCurrentWithTheSameOrientationAndAnyOrTheSameBin) {
  FakePrinter laser = NamedPrinter("Laser");
  laser.bins = {{256, QStringLiteral("Tray 1")}, {257, QStringLiteral("Tray 2")}};
  FakePrinterBackend backend({laser});
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  printer.SetPageFormat(9, 0, 0, 0, -1, false);
  EXPECT_TRUE(backend.modesSet.empty());  // A4 portrait on the default bin already
  printer.SetPageFormat(9, 0, 0, 0, 257, false);
  ASSERT_EQ(backend.modesSet.size(), 1u);
  EXPECT_EQ(backend.modesSet.back().defaultSource, 257);
  EXPECT_EQ(printer.Bin, 257);
  printer.SetPageFormat(9, 0, 0, 0, -1, false);
  EXPECT_EQ(backend.modesSet.size(), 1u);
  printer.SetPageFormat(9, 0, 0, 1, -1, false);
  ASSERT_EQ(backend.modesSet.size(), 2u);
  EXPECT_EQ(backend.modesSet.back().orientation, 2);
  EXPECT_EQ(backend.modesSet.back().defaultSource, 257);  // -1 keeps the bin in use
  EXPECT_EQ(printer.Orientation, 1);
}

TEST_F(PrinterTest, NothingChangesWhileThePrinterPrints) {
  FakePrinterBackend backend({NamedPrinter("Laser")});
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  backend.printing = true;
  printer.SetPageFormat(1, 0, 0, 1, -1, true);
  EXPECT_TRUE(backend.modesSet.empty());
  EXPECT_EQ(printer.PaperSize, 9);
}

TEST_F(PrinterTest, RealPrinterSettingsAndPageInformation) {
  FakePrinter laser = NamedPrinter("Laser");
  laser.bins = {{256, QStringLiteral("Tray 1")}, {257, QStringLiteral("Manual feed")}};
  FakePrinterBackend backend({NamedPrinter("Ink"), laser}, 1);
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  EXPECT_EQ(printer.Printers,
            (QStringList{QStringLiteral("Ink"), QStringLiteral("Laser"), QStringLiteral("Virtual printer")}));
  EXPECT_EQ(printer.PrinterIndex, 1);
  EXPECT_EQ(printer.VirtualIndex, 2);
  EXPECT_EQ(printer.Device, QStringLiteral("Laser"));
  EXPECT_EQ(printer.PaperWidth, 2100);  // 4960 pixels at 600 dpi
  EXPECT_EQ(printer.PaperHeight, 2970);
  EXPECT_EQ(printer.PaperCodes, (std::vector<int16_t>{1, 9}));
  EXPECT_EQ(printer.PaperNames, (QStringList{QStringLiteral("Letter"), QStringLiteral("A4")}));
  EXPECT_EQ(printer.BinCodes, (std::vector<int16_t>{-1, 256, 257}));
  EXPECT_EQ(printer.BinNames,
            (QStringList{QStringLiteral("default"), QStringLiteral("Tray 1"), QStringLiteral("Manual feed")}));

  TrpPageInfo info;
  printer.FillPageInfo(info);
  // units = round(pixels x 91.6256157635468 / 600)
  const TrpPageInfo expected{4960, 7016, 757, 1071, 100, 100, 15, 15, 4760, 6816, 727, 1041};
  EXPECT_EQ(info, expected);
}

TEST_F(PrinterTest, AFailingPrinterChangeKeepsThePrinterInUse) {
  FakePrinter broken = NamedPrinter("Broken");
  broken.selectable = false;
  FakePrinterBackend backend({NamedPrinter("Laser"), broken});
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  try {
    printer.SelectPrinterIndex(1);
    FAIL() << "no error";
  } catch (const ErpPrinterError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Printer selected is not valid"));
  }
  EXPECT_EQ(printer.PrinterIndex, 0);
  EXPECT_EQ(printer.Device, QStringLiteral("Laser"));
  EXPECT_EQ(backend.CurrentIndex(), 0);
  EXPECT_THROW(printer.SelectPrinterIndex(7), ErpPrinterError);
}

TEST_F(PrinterTest, APrinterThatCannotTellItsSettingsFallsBackToTheVirtualPrinter) {
  FakePrinter mute = NamedPrinter("Mute");
  mute.tellsSettings = false;
  FakePrinterBackend backend({NamedPrinter("Laser"), mute});
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  printer.SelectPrinterIndex(1);
  EXPECT_TRUE(printer.IsVirtual());
  EXPECT_EQ(printer.PrinterIndex, 2);
  EXPECT_EQ(printer.PaperWidth, 2100);
  // Back to a real printer from the virtual one.
  printer.SelectPrinterIndex(0);
  EXPECT_EQ(printer.PrinterIndex, 0);
  EXPECT_FALSE(printer.IsVirtual());
}

TEST_F(PrinterTest, PropertiesDialogTakesWhatTheUserConfirmed) {
  FakePrinterBackend backend({NamedPrinter("Laser")});
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  EXPECT_FALSE(printer.PropertiesDialog());  // cancelled
  EXPECT_EQ(printer.Orientation, 0);
  TrpDeviceMode landscape;
  landscape.orientation = 2;
  backend.propertiesAnswer = landscape;
  EXPECT_TRUE(printer.PropertiesDialog());
  EXPECT_EQ(printer.Orientation, 1);
  EXPECT_EQ(printer.PaperWidth, 2970);
}

struct PageListCase {
  const char* name;
  const char* text;
  int pageCount;
  std::vector<TrpPageRange> ranges;
};

class PageListTest : public ReportEngineTest, public ::testing::WithParamInterface<PageListCase> {};

TEST_P(PageListTest, Parses) {
  const PageListCase& c = GetParam();
  const TrpPageList list = TrpPageList::Parse(QString::fromUtf8(c.text), c.pageCount);
  EXPECT_FALSE(list.IsAll());
  EXPECT_EQ(list.Ranges(), c.ranges);
  EXPECT_EQ(list.SelectsNothing(), c.ranges.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageListTest,
    ::testing::Values(PageListCase{"SinglesAndRange", "1,3,5-7", 10, {{1, 1}, {3, 3}, {5, 7}}},
                      PageListCase{"BackwardsRange", "3-1", 10, {}},
                      PageListCase{"OpenEnd", "2-", 4, {{2, 4}}},
                      PageListCase{"OpenEndPastTheLastPage", "5-", 4, {}},
                      PageListCase{"Blanks", " 1 , 2 ", 4, {{1, 2}}},
                      PageListCase{"PastTheEndIsClipped", "3-9,12", 4, {{3, 4}}},
                      PageListCase{"HugeRangeStaysOneInterval", "1-2000000000", 3, {{1, 3}}},
                      PageListCase{"NumberBeyondInt", "99999999999", 3, {}},
                      PageListCase{"PageZero", "0,2", 3, {{2, 2}}},
                      PageListCase{"OverlapsMergeInPageOrder", "6,2-4,3-5", 9, {{2, 6}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrinterTest, NoTextMeansEveryPage) {
  for (const char* text : {"", "   "}) {
    const TrpPageList list = TrpPageList::Parse(QString::fromLatin1(text), 5);
    EXPECT_TRUE(list.IsAll());
    EXPECT_FALSE(list.SelectsNothing());
    EXPECT_TRUE(list.Contains(5));
  }
}

TEST_F(PrinterTest, MalformedPageTextIsAConversionError) {
  for (const char* text : {"a", "1-a", "-3", "1,,2", "1-2-3", "1;2", "1.5"})
    EXPECT_THROW(TrpPageList::Parse(QString::fromLatin1(text), 5), EConvertError) << text;
}

TEST_F(PrinterTest, ContainsFollowsTheIntervals) {
  const TrpPageList list = TrpPageList::Parse(QStringLiteral("2,5-7"), 10);
  std::vector<int> in;
  for (int page = 0; page <= 11; ++page)
    if (list.Contains(page)) in.push_back(page);
  EXPECT_EQ(in, (std::vector<int>{2, 5, 6, 7}));
}

struct SendCase {
  const char* name;
  const char* text;
  int pageCount;
  int copies;
  bool collate;
  TrpPageParity parity;
  std::vector<int> sent;
};

class PagesSentTest : public ReportEngineTest, public ::testing::WithParamInterface<SendCase> {};

TEST_P(PagesSentTest, Order) {
  const SendCase& c = GetParam();
  std::vector<int> sent;
  EXPECT_TRUE(rpForEachPageToSend(TrpPageList::Parse(QString::fromLatin1(c.text), c.pageCount), c.pageCount, c.copies,
                                  c.collate, c.parity, [&](int page) {
                                    sent.push_back(page);
                                    return true;
                                  }));
  EXPECT_EQ(sent, c.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, PagesSentTest,
    ::testing::Values(SendCase{"AllOnce", "", 3, 1, true, TrpPageParity::All, {1, 2, 3}},
                      SendCase{"Collated", "", 3, 2, true, TrpPageParity::All, {1, 2, 3, 1, 2, 3}},
                      SendCase{"Uncollated", "", 3, 2, false, TrpPageParity::All, {1, 1, 2, 2, 3, 3}},
                      SendCase{"CopiesBelowOneCountAsOne", "", 2, 0, false, TrpPageParity::All, {1, 2}},
                      SendCase{"RangeCollated", "4,1-2", 5, 2, true, TrpPageParity::All, {1, 2, 4, 1, 2, 4}},
                      SendCase{"EvenOfOneToThree", "1-3", 3, 1, true, TrpPageParity::Even, {2}},
                      SendCase{"OddUncollated", "", 5, 2, false, TrpPageParity::Odd, {1, 1, 3, 3, 5, 5}},
                      SendCase{"HugeRangeOnlyExistingPages", "1-2000000000", 2, 1, true, TrpPageParity::All, {1, 2}},
                      SendCase{"NoPages", "3-1", 5, 3, true, TrpPageParity::All, {}},
                      SendCase{"EmptyReport", "", 0, 2, true, TrpPageParity::All, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrinterTest, SendingStopsWhenAsked) {
  std::vector<int> sent;
  const bool finished = rpForEachPageToSend(TrpPageList::AllPages(), 5, 3, true, TrpPageParity::All, [&](int page) {
    sent.push_back(page);
    return sent.size() < 4;
  });
  EXPECT_FALSE(finished);
  EXPECT_EQ(sent, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(PrinterTest, TheEnginePrinterRemembersItsFirstPaper) {
  FakePrinterBackend backend({NamedPrinter("Laser")});
  backend.mode.paperSize = 1;
  rpSetPrinterBackend(&backend);
  EXPECT_EQ(rpPrinter().Device, QStringLiteral("Laser"));
  EXPECT_EQ(rpDefaultPaperSize(), 1);
  rpSetPrinterBackend(nullptr);
  EXPECT_EQ(rpPrinter().Printers, (QStringList{QStringLiteral("PDF file"), QStringLiteral("Virtual printer")}));
  EXPECT_EQ(rpDefaultPaperSize(), 9);
}

}  // namespace
