// The main window's start, close query and destroy around the application handler.
#include "core/TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "ui/TdMain.h"

#include <QFileInfo>

namespace {

class MainFormTest : public ::testing::Test {
protected:
  static void ModifyTasks(TTodoMainForm& form) {
    form.AppHandler().TodoHandler().AddTodo()->Title = QStringLiteral("Plant the roses");
    form.AppHandler().TodoHandler().SetModified(true);
  }

  FakeDesktop desktop;  // a 1024 x 768 screen
  DataFolderPin data;
};

// A start as the program makes it: the handler first, then the window it is given.
struct Started {
  Started() : handler(std::make_unique<TTodoAppHandler>()), form(std::make_unique<TTodoMainForm>(*handler)) {}
  std::unique_ptr<TTodoAppHandler> handler;
  std::unique_ptr<TTodoMainForm> form;
};

struct BoundsCase {
  const char* name;
  const char* settings;
  QRect expected;
};

class MainFormBoundsTest : public MainFormTest, public ::testing::WithParamInterface<BoundsCase> {};

}  // namespace

TEST_P(MainFormBoundsTest, StartsWithTheStoredBounds) {
  data.WriteSettings(QString::fromLatin1(GetParam().settings));
  Started start;
  const TTodoMainForm& form = *start.form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Velmora"));
  EXPECT_EQ(QRect(form.x(), form.y(), form.width(), form.height()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MainFormBoundsTest,
    ::testing::Values(
        // No settings: nine tenths of the screen, centred.
        BoundsCase{"Default", "", QRect(51, 38, 921, 691)},
        BoundsCase{"Stored", "[General]\nLeft=30\nTop=40\nWidth=700\nHeight=500\n", QRect(30, 40, 700, 500)},
        BoundsCase{"LeftMinusOneCentres", "[General]\nLeft=-1\nTop=40\nWidth=700\nHeight=500\n",
                   QRect(162, 134, 700, 500)},
        BoundsCase{"TopMinusOneCentres", "[General]\nLeft=30\nTop=-1\nWidth=700\nHeight=500\n",
                   QRect(162, 134, 700, 500)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainFormTest, TheCloseQuerySavesEverythingAndKeepsTheStatusText) {
  Started start;
  TTodoMainForm& form = *start.form;
  ModifyTasks(form);
  form.SetStatusText(QStringLiteral("1 task"));
  form.move(70, 80);

  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.AppHandler().TodoHandler().Modified());
  EXPECT_EQ(form.StatusText(), QStringLiteral("1 task"));
  for (const char* name : {"todo.tbl", "cat.tbl", "res.tbl", "type.tbl", "pendra.ini"})
    EXPECT_TRUE(QFileInfo(data.File(QString::fromLatin1(name))).isFile()) << name;
  TTdAppOptionsHandler saved(data.File(QStringLiteral("pendra.ini")));
  saved.ReadOptions();
  EXPECT_EQ(saved.Options().Left, 70);
  EXPECT_EQ(saved.Options().Top, 80);
  EXPECT_EQ(saved.Options().Width, form.width());
  EXPECT_EQ(saved.Options().Height, form.height());
  EXPECT_TRUE(desktop.Calls(QStringLiteral("message:")).isEmpty()) << "no question without ConfirmExit";
}

TEST_F(MainFormTest, WithConfirmExitOnlyYesCloses) {
  data.WriteSettings(QStringLiteral("[General]\nConfirmExit=1\n"));
  Started start;
  TTodoMainForm& form = *start.form;
  for (const auto& [answer, closes] :
       {std::pair{Msg::No, false}, std::pair{Msg::Cancel, false}, std::pair{Msg::Yes, true}}) {
    ModifyTasks(form);
    desktop.Clear();
    desktop.messageResult = answer;
    EXPECT_EQ(form.close(), closes) << answer;
    EXPECT_FALSE(form.AppHandler().TodoHandler().Modified()) << "saved before asking";
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Message"));
    EXPECT_EQ(desktop.Messages()[0].text, QStringLiteral("Quit Velmora?"));
    EXPECT_EQ(desktop.Messages()[0].icon, Msg::Question);
    EXPECT_EQ(desktop.Messages()[0].buttons, Msg::Yes | Msg::No | Msg::Cancel);
  }
}

// Closing anyway would lose what the save could not write.
TEST_F(MainFormTest, AFailedSaveIsShownAndTheWindowStaysOpen) {
  Started start;
  TTodoMainForm& form = *start.form;
  ModifyTasks(form);
  ASSERT_TRUE(QDir().mkpath(data.File(QStringLiteral("todo.tbl"))));

  EXPECT_FALSE(form.close());
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  EXPECT_TRUE(form.AppHandler().TodoHandler().Modified());

  ASSERT_TRUE(QDir(data.File(QStringLiteral("todo.tbl"))).removeRecursively());
  EXPECT_TRUE(form.close());
}

TEST_F(MainFormTest, TheLastSaveWritesTheTasksAndTheBoundsOfTheGoneWindow) {
  std::unique_ptr<TTodoAppHandler> handler = CreateAppHandler();
  ASSERT_NE(handler, nullptr);
  auto form = std::make_unique<TTodoMainForm>(*handler);
  ModifyTasks(*form);
  form->setGeometry(60, 70, 500, 400);
  const QRect bounds(form->x(), form->y(), form->width(), form->height());
  form.reset();
  EXPECT_TRUE(handler->FinalSave());
  handler.reset();

  TTdTodoHandler saved(data.File(QStringLiteral("todo.tbl")));
  saved.Load();
  ASSERT_EQ(saved.TaskCount(), 1);
  EXPECT_EQ(saved.GetTodo(0)->Title, QStringLiteral("Plant the roses"));
  TTdAppOptionsHandler settings(data.File(QStringLiteral("pendra.ini")));
  settings.ReadOptions();
  EXPECT_EQ(QRect(settings.Options().Left, settings.Options().Top, settings.Options().Width,
                  settings.Options().Height),
            bounds);
}

TEST_F(MainFormTest, AFailedLastSaveIsReportedAndTold) {
  auto handler = CreateAppHandler();
  ASSERT_NE(handler, nullptr);
  handler->TodoHandler().AddTodo()->Title = QStringLiteral("Plant the roses");
  handler->TodoHandler().SetModified(true);
  ASSERT_TRUE(QDir().mkpath(data.File(QStringLiteral("todo.tbl"))));
  EXPECT_FALSE(handler->FinalSave());
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  handler.reset();
  EXPECT_EQ(desktop.Messages().size(), 1u) << "the handler does not save a second time";
}

TEST(WindowPositions, WaylandKeepsThemToItself) {
  for (const auto& [platform, reports] : {std::pair{"xcb", true}, std::pair{"offscreen", true},
                                          std::pair{"wayland", false}, std::pair{"wayland-egl", false}})
    EXPECT_EQ(PlatformReportsWindowPositions(QString::fromLatin1(platform)), reports) << platform;
}

TEST_F(MainFormTest, ADamagedTaskFileStopsTheStartWithItsMessage) {
  data.Write(QStringLiteral("todo.tbl"), QByteArray("\x07\0\0\0", 4));
  const auto before = data.Snapshot();

  EXPECT_EQ(CreateAppHandler(), nullptr);
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  EXPECT_EQ(desktop.Messages()[0].text,
            QStringLiteral("Wrong version in Todo-file ") + data.File(QStringLiteral("todo.tbl")));
  EXPECT_EQ(data.Snapshot(), before) << "nothing written";
}
