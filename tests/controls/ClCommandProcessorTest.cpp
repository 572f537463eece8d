#include "platform/VirtualKeys.h"
#include "controls/clcmd.h"
#include "platform/BinaryStream.h"
#include "support/TempDir.h"

#include <QKeyEvent>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

constexpr int Shift = 2, Ctrl = 4, Alt = 8;

struct KeyPress {
  int key;
  int shift;
};

TEST(ClCommandProcessor, BuiltInTablesTranslateTheirKeys) {
  const struct {
    const char* table;  // the one active table; null for the default set-up
    KeyPress key;
    int command;
  } cases[] = {
      {nullptr, {vk::Left, 0}, 46},
      {nullptr, {vk::Prior, Ctrl}, 71},
      {nullptr, {vk::Back, Alt}, 54},
      {nullptr, {'Z', Ctrl | Shift}, 53},
      {nullptr, {'7', Ctrl | Shift}, 65},
      {nullptr, {vk::Tab, Ctrl}, 68},
      {nullptr, {vk::Left, Alt}, ClCmd::NoCommand},
      {"Grid", {vk::Up, Ctrl}, 70},
      {"Grid", {vk::F1 + 1, 0}, 69},
      {"Grid", {'Z', Ctrl}, 54},
      {"WordStar", {'S', Ctrl}, 46},
      {"WordStar", {'S', 0}, ClCmd::NoCommand},
  };
  for (const auto& c : cases) {
    TClCommandProcessor processor;
    if (c.table != nullptr) {
      for (int i = 0; i < processor.Count(); ++i) {
        processor.Tables(i).SetIsActive(processor.Tables(i).TableName() == QLatin1String(c.table));
      }
    }
    EXPECT_EQ(processor.Translate(c.key.key, c.key.shift), c.command)
        << (c.table ? c.table : "Default") << " key " << c.key.key << " shift " << c.key.shift;
  }
}

TEST(ClCommandProcessor, TwoKeyCommandsLiteralKeysAndShiftKeys) {
  // Each sequence runs on a fresh processor with "WordStar" active as well.
  const struct {
    const char* what;
    std::vector<KeyPress> keys;
    std::vector<int> commands;
  } cases[] = {
      {"second key with Ctrl", {{'Q', Ctrl}, {'S', Ctrl}}, {255, 42}},
      {"second key without Ctrl", {{'Q', Ctrl}, {'S', 0}}, {255, 42}},
      {"second key with Shift", {{'Q', Ctrl}, {'S', Shift}}, {255, 254}},
      {"unmapped second key", {{'Q', Ctrl}, {'B', 0}}, {255, 254}},
      {"after a break the state is normal", {{'Q', Ctrl}, {'B', 0}, {vk::Left, 0}}, {255, 254, 46}},
      {"shift keys keep the wait", {{'Q', Ctrl}, {vk::Shift, Ctrl}, {vk::Control, Ctrl}, {'D', 0}}, {255, 255, 255, 16}},
      {"Ctrl+P takes the next key literally", {{'P', Ctrl}, {vk::Left, 0}, {vk::Left, 0}}, {7, 252, 46}},
      {"literal after a shift key", {{'P', Ctrl}, {vk::Shift, Shift}, {'A', Shift}}, {7, 252, 252}},
  };
  for (const auto& c : cases) {
    TClCommandProcessor processor;
    processor.GetCommandTable("WordStar")->SetIsActive(true);
    std::vector<int> commands;
    for (const KeyPress& key : c.keys) commands.push_back(processor.Translate(key.key, key.shift));
    EXPECT_EQ(commands, c.commands) << c.what;
  }
}

TEST(ClCommandProcessor, ShiftAloneLeavesTheStateAlone) {
  TClCommandProcessor processor;
  EXPECT_EQ(processor.Translate(vk::Shift, Shift), ClCmd::NoCommand);
  EXPECT_EQ(processor.TranslateState(), TClCommandProcessor::State::Normal);
}

TEST(ClCommandProcessor, TranslatesQtKeyEvents) {
  TClCommandProcessor processor;
  const QKeyEvent ctrlShiftOne(QEvent::KeyPress, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(processor.Translate(ctrlShiftOne), 59) << "Shift+1 is reported as '!'";
  const QKeyEvent ctrlPageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(processor.Translate(ctrlPageDown), 2);
  const QKeyEvent keypadHome(QEvent::KeyPress, Qt::Key_Home, Qt::KeypadModifier);
  EXPECT_EQ(processor.Translate(keypadHome), 42);
}

TEST(ClCommandProcessor, TableNamesAreMadeUniqueAndFoundWithoutCase) {
  TClCommandProcessor processor;
  const struct {
    const char* given;
    const char* named;
  } cases[] = {
      {"Default", "Default1"}, {"default", "default2"}, {"Default7", "Default3"},
      {"Mine", "Mine"},        {"Mine12", "Mine1"},     {"7", "7"},
      {"77", "71"},
  };
  for (const auto& c : cases) {
    processor.CreateCommandTable(QString::fromLatin1(c.given), true);
    EXPECT_EQ(processor.Tables(processor.Count() - 1).TableName(), QLatin1String(c.named)) << c.given;
  }
  EXPECT_EQ(processor.GetCommandTableIndex("WORDSTAR"), 1);
  EXPECT_EQ(processor.GetCommandTable("nothing"), nullptr);
}

TEST(ClCommandProcessor, AddingCommandsChecksTableAndKeys) {
  TClCommandProcessor processor;
  processor.AddCommand("grid", {'K', Ctrl, 0, 0, 300});
  EXPECT_EQ(processor.GetCommandTable("Grid")->Count(), 39);
  EXPECT_THROW(processor.AddCommand("Grid", {'K', Ctrl, 0, 0, 301}), EDuplicateCommand);
  EXPECT_THROW(processor.AddCommand("None", {'K', Ctrl, 0, 0, 301}), ETableNotFound);
  EXPECT_THROW(processor.Tables(3), ETableNotFound);
  try {
    processor.AddCommand("Default", {vk::Left, 0, 0, 0, 1});
    FAIL();
  } catch (const EDuplicateCommand& error) {
    EXPECT_EQ(error.Message(), "Duplicate command found while adding a new command to the table");
  }
}

TEST(ClCommandProcessor, UserCommandsOfAnAddedTable) {
  TClCommandProcessor processor;
  TClCommandTable& mine = processor.CreateCommandTable("Mine", true);
  mine.AddCommand({'K', Ctrl, 'B', kNoShiftOrCtrl, 300});
  EXPECT_EQ(processor.Translate('K', Ctrl), 255);
  EXPECT_EQ(processor.Translate('B', Ctrl), 300);
  processor.Translate('K', Ctrl);
  processor.ResetCommandProcessor();
  EXPECT_EQ(processor.Translate('B', Ctrl), ClCmd::NoCommand);
}

TEST(ClCommandTable, TextFileRoundTrip) {
  TempDir dir;
  TClCommandProcessor processor;
  processor.SaveCommandTable("WordStar", dir.File("ws.txt"));
  processor.SaveCommandTable("Missing", dir.File("missing.txt"));
  EXPECT_FALSE(QFile::exists(dir.File("missing.txt")));
  const QByteArray text = ReadAll(dir.File("ws.txt"));
  EXPECT_TRUE(text.startsWith("WordStar\n  83   4   0   0    46\n")) << text.left(60).toStdString();
  EXPECT_TRUE(text.contains("\n  81   4  83 128    42\n"));

  const int index = processor.LoadCommandTable(dir.File("ws.txt"));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(processor.Tables(3).TableName(), "WordStar1");
  EXPECT_EQ(processor.Tables(3).Entries(), processor.Tables(1).Entries());
}

TEST(ClCommandTable, BadTextFilesRaiseAndAddNothing) {
  TempDir dir;
  const struct {
    const char* what;
    QByteArray text;
  } cases[] = {
      {"four numbers", "T\n1 2 3 4\n"},
      {"not a number", "T\n1 2 3 4 x\n"},
      {"key out of range", "T\n256 0 0 0 1\n"},
      {"command out of range", "T\n1 0 0 0 65536\n"},
  };
  for (const auto& c : cases) {
    WriteAll(dir.File("t.txt"), c.text);
    TClCommandProcessor processor;
    EXPECT_THROW(processor.LoadCommandTable(dir.File("t.txt")), EReadError) << c.what;
    EXPECT_EQ(processor.Count(), 3) << c.what;
  }
  TClCommandProcessor processor;
  EXPECT_THROW(processor.LoadCommandTable(dir.File("absent.txt")), EReadError);
  WriteAll(dir.File("blank.txt"), "Blank lines\r\n\r\n 65 4 0 0 300\r\n\r\n");
  processor.LoadCommandTable(dir.File("blank.txt"));
  EXPECT_EQ(processor.Tables(3).TableName(), "Blank lines");
  EXPECT_EQ(processor.Tables(3).Count(), 1);
}

TEST(ClCommandStreaming, BuiltInTablesStoreOnlyTheirDifferences) {
  TClCommandProcessor processor;
  TClCommandTable& defaults = *processor.GetCommandTable("Default");
  EXPECT_TRUE(StoredCommandList(defaults).empty());

  const TClCommandEntry home = defaults.GetCommand(defaults.FindCommand({vk::Home, 0, 0, 0, 0}));
  defaults.DeleteCommand(defaults.FindCommand(home));
  EXPECT_EQ(StoredCommandList(defaults), (std::vector<std::pair<uint32_t, int>>{{home.Keys(), 0}}));

  defaults.PutCommand(0, {vk::Left, 0, 0, 0, 300});
  defaults.AddCommand({'K', Ctrl, 0, 0, 301});
  const std::vector<std::pair<uint32_t, int>> expected{
      {home.Keys(), 0}, {TClCommandEntry{vk::Left, 0, 0, 0, 0}.Keys(), 300}, {TClCommandEntry{'K', Ctrl, 0, 0, 0}.Keys(), 301}};
  EXPECT_EQ(StoredCommandList(defaults), expected);
}

TEST(ClCommandStreaming, TablesRoundTrip) {
  TClCommandProcessor written;
  TClCommandTable& defaults = *written.GetCommandTable("Default");
  defaults.DeleteCommand(defaults.FindCommand({vk::End, 0, 0, 0, 0}));
  defaults.PutCommand(0, {vk::Left, 0, 0, 0, 300});
  written.GetCommandTable("WordStar")->SetIsActive(true);
  written.GetCommandTable("Grid")->Clear();
  TClCommandTable& mine = written.CreateCommandTable("Mine", false);
  mine.AddCommand({'K', Ctrl, 'B', kNoShiftOrCtrl, 400});
  written.CreateCommandTable("Empty", true);

  BinaryWriter writer;
  written.WriteTableList(writer);
  const QByteArray bytes = writer.Take();
  TClCommandProcessor read;
  BinaryReader reader(bytes, "tables");
  read.ReadTableList(reader);

  ASSERT_EQ(read.Count(), 4) << "an empty table of its own is not stored";
  for (int i = 0; i < read.Count(); ++i) {
    EXPECT_EQ(read.Tables(i).TableName(), written.Tables(i).TableName());
    EXPECT_EQ(read.Tables(i).IsActive(), written.Tables(i).IsActive());
    EXPECT_EQ(read.Tables(i).Entries(), written.Tables(i).Entries()) << written.Tables(i).TableName().toStdString();
  }
  EXPECT_EQ(read.Tables(2).Count(), 0) << "an emptied built-in table stays empty";
}

TEST(ClCommandStreaming, ACutStreamLeavesTheTables) {
  TClCommandProcessor written;
  written.CreateCommandTable("Mine", true).AddCommand({'K', Ctrl, 0, 0, 300});
  BinaryWriter writer;
  written.WriteTableList(writer);
  const QByteArray bytes = writer.Take();
  for (const qsizetype cut : {qsizetype{2}, bytes.size() / 2, bytes.size() - 1}) {
    TClCommandProcessor read;
    const QByteArray part = bytes.left(cut);
    BinaryReader reader(part, "tables");
    EXPECT_THROW(read.ReadTableList(reader), EReadError) << cut;
    EXPECT_EQ(read.Count(), 3) << cut;
    EXPECT_EQ(read.Tables(0).Count(), 64) << cut;
  }
}

}  // namespace
