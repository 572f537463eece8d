// Starting the program on a data folder of 1k, 10k and 100k tasks, as the user waits for
// it: from the start to the first painted frame of the main window (settings read,
// folders checked, the four stores loaded, association icons built, the window made,
// shown and painted), next to reading the same files raw, in the same states as the
// store benchmark (see RawBaseline.h); the ratios are printed at the end.
#include "platform/ProcessHeap.h"
#include "RawBaseline.h"
#include "RealisticTasks.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "core/TdDataFolder.h"
#include "platform/AppContext.h"
#include "ui/TdMain.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

const QStringList kFiles = {"pendra.ini", "cat.tbl", "res.tbl", "type.tbl", "todo.tbl"};

// A data folder of realistic tasks: short titles, notes on half of them, file links on
// some, reminders on some, a few templates; filled lookup lists and a settings file.
struct Fixture {
  QTemporaryDir dir;
  QString folder;
  qint64 bytes = 0;
};

Fixture& FixtureFor(int count) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[count];
  if (f) return *f;
  f = std::make_unique<Fixture>();
  f->folder = f->dir.path() + QStringLiteral("/");
  std::mt19937 rng(42);

  TTdCategoryHandler categories(f->folder + QStringLiteral("cat.tbl"));
  categories.Load();
  for (int i = 0; i < 12; ++i) categories.AddCategory()->Name = Words(rng, 2);
  categories.Save();
  TTdResourceHandler resources(f->folder + QStringLiteral("res.tbl"));
  resources.Load();
  for (int i = 0; i < 8; ++i) resources.AddResource()->Name = Words(rng, 1);
  resources.Save();
  TTdTypeHandler types(f->folder + QStringLiteral("type.tbl"));
  types.Load();
  types.Save();

  TTdTodoHandler todos(f->folder + QStringLiteral("todo.tbl"));
  AddRealisticTasks(todos, count, rng, true);
  todos.SetModified(true);
  todos.Save();

  const TAppContextScope dataFolder(ContextWith([&](TAppContext& c) { c.DataFolder = f->folder; }));
  TTdAppOptionsHandler options(f->folder + QStringLiteral("pendra.ini"));
  options.ReadOptions();
  options.WriteOptions(-1, -1, 800, 600);
  for (const QString& name : kFiles) f->bytes += QFile(f->folder + name).size();
  return *f;
}

QStringList Files(const Fixture& f) {
  QStringList files;
  for (const QString& name : kFiles) files << f.folder + name;
  return files;
}

void Report(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.bytes);
  state.counters["files_MB"] = static_cast<double>(f.bytes) / 1e6;
}

void RawRead(benchmark::State& state, Cache cache, Memory memory) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  const QStringList files = Files(f);
  TimeReads(state, cache, memory, files, [&] { return ReadFilesRaw(files); });
  Report(state, f);
}

// Notes the first paint of the window it watches.
class FirstPaint : public QObject {
public:
  bool painted = false;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

// A started program: its handler, and its main window (declared last, so closed first).
struct Started {
  std::unique_ptr<TTodoAppHandler> handler;
  std::unique_ptr<TTodoMainForm> window;
};

void AppStart(benchmark::State& state, Cache cache, Memory memory) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  const TAppContextScope dataFolder(ContextWith([&](TAppContext& c) { c.DataFolder = f.folder; }));
  // Shutting down (which saves the settings again) is not part of the start. The paint
  // happens inside the event processing that sets the flag, so the time includes it.
  TimeReads(state, cache, memory, Files(f), [&] {
    Started started;
    started.handler = std::make_unique<TTodoAppHandler>();
    started.window = std::make_unique<TTodoMainForm>(*started.handler);
    FirstPaint paint;
    started.window->installEventFilter(&paint);
    started.window->show();
    while (!paint.painted) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    started.window->removeEventFilter(&paint);
    return started;
  });
  Report(state, f);
}

// The four stores loaded by themselves: what the handler adds is the rest of the start.
struct Stores {
  std::unique_ptr<TTdCategoryHandler> categories;
  std::unique_ptr<TTdResourceHandler> resources;
  std::unique_ptr<TTdTypeHandler> types;
  std::unique_ptr<TTdTodoHandler> todos;
};

void LoadStores(benchmark::State& state, Cache cache, Memory memory) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReads(state, cache, memory, Files(f), [&] {
    Stores s{std::make_unique<TTdCategoryHandler>(f.folder + QStringLiteral("cat.tbl")),
             std::make_unique<TTdResourceHandler>(f.folder + QStringLiteral("res.tbl")),
             std::make_unique<TTdTypeHandler>(f.folder + QStringLiteral("type.tbl")),
             std::make_unique<TTdTodoHandler>(f.folder + QStringLiteral("todo.tbl"))};
    s.categories->Load();
    s.resources->Load();
    s.types->Load();
    s.todos->Load();
    return s;
  });
  Report(state, f);
}

}  // namespace

// The handler's timers and the file-type icons need the application object.
int main(int argc, char** argv) {
  KeepLargeFreedBlocksForReuse();  // as the program does at its start; every side runs under it
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::vector<int> sizes = {1000, 10000, 100000};
  RegisterStates("RawReadFiles", RawRead, sizes);
  RegisterStates("LoadStores", LoadStores, sizes);
  RegisterStates("AppStart", AppStart, sizes);
  RatioReporter reporter("RawReadFiles", {"LoadStores", "AppStart"});
  return RunWithRatios(argc, argv, reporter);
}
