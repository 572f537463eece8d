#include "ui/TdCommon.h"

#include "core/BTodo.h"

#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>

static void InitCommonImages() { Q_INIT_RESOURCE(TdCommonImages); }

namespace {

QImage RenderStrip(const QString& resource, int count, int size) {
  QImage strip(count * size, size, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QSvgRenderer renderer(resource);
  QPainter p(&strip);
  renderer.render(&p, QRectF(0, 0, count * size, size));
  return strip;
}

// A grey silhouette at half strength: the look of a disabled button.
QImage Disabled(const QImage& source) {
  QImage out = source.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = line[x];
      const int grey = 96 + qGray(c) / 2;
      line[x] = qRgba(grey, grey, grey, qAlpha(c) / 2);
    }
  }
  return out;
}

// A lighter, warmer copy: the look under the mouse.
QImage Hot(const QImage& source) {
  QImage out = source.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = line[x];
      line[x] = qRgba(qMin(255, qRed(c) + 40), qMin(255, qGreen(c) + 30), qMin(255, qBlue(c) + 10), qAlpha(c));
    }
  }
  return out;
}

// Fills the normal, disabled and hot lists of one size. An action with a theme icon
// takes the theme's pictures for all three.
void FillActionLists(TLTImageList& normal, TLTImageList& disabled, TLTImageList& hot, int count, int size,
                     const QString& resource) {
  const QImage strip = RenderStrip(resource, count, size);
  for (int i = 0; i < count; ++i) {
    QImage own = strip.copy(i * size, 0, size, size);
    const QString themeName = ActionThemeIconName(i);
    const QIcon theme = themeName.isEmpty() ? QIcon() : QIcon::fromTheme(themeName);
    if (!theme.isNull()) {
      normal.Add(theme.pixmap(size, size).toImage());
      disabled.Add(theme.pixmap(size, size, QIcon::Disabled).toImage());
      hot.Add(theme.pixmap(size, size, QIcon::Active).toImage());
      continue;
    }
    normal.Add(own);
    disabled.Add(Disabled(own));
    hot.Add(Hot(own));
  }
}

QIcon IconOf(const TLTImageList* normal, const TLTImageList* disabled, const TLTImageList* hot, int index) {
  QIcon icon;
  if (!normal || !normal->IsValidIndex(index)) return icon;
  icon.addPixmap(QPixmap::fromImage(normal->Image(index)), QIcon::Normal);
  if (disabled && disabled->IsValidIndex(index))
    icon.addPixmap(QPixmap::fromImage(disabled->Image(index)), QIcon::Disabled);
  if (hot && hot->IsValidIndex(index)) icon.addPixmap(QPixmap::fromImage(hot->Image(index)), QIcon::Active);
  return icon;
}

}  // namespace

TCommonModule::TCommonModule(QObject* parent)
    : QObject(parent),
      large_(new TLTImageList(24, 24, this)),
      disabledLarge_(new TLTImageList(24, 24, this)),
      hotLarge_(new TLTImageList(24, 24, this)),
      small_(new TLTImageList(16, 16, this)),
      disabledSmall_(new TLTImageList(16, 16, this)),
      hotSmall_(new TLTImageList(16, 16, this)),
      taskTree_(new TLTImageList(16, 16, this)) {
  InitCommonImages();
  FillActionLists(*large_, *disabledLarge_, *hotLarge_, kLargeImageCount, 24, QStringLiteral(":/common/large.svg"));
  FillActionLists(*small_, *disabledSmall_, *hotSmall_, kSmallImageCount, 16, QStringLiteral(":/common/small.svg"));
  taskTree_->AddStrip(RenderStrip(QStringLiteral(":/common/tasktree.svg"), kTaskTreeImageCount, 16));
}

TCommonModule::~TCommonModule() = default;

QIcon TCommonModule::LargeIcon(int index) const { return IconOf(large_, disabledLarge_, hotLarge_, index); }
QIcon TCommonModule::SmallIcon(int index) const { return IconOf(small_, disabledSmall_, hotSmall_, index); }
QIcon TCommonModule::TaskTreeIcon(int index) const { return IconOf(taskTree_, nullptr, nullptr, index); }

TCommonModule& CommonModule() {
  // Made at the first call (after the application object, which icons need) and kept
  // to the end of the program, so no window or dialog outlives its images.
  static TCommonModule* module = new TCommonModule();
  return *module;
}

int PriorityImage(int32_t priority, int defaultIndex) { return PriorityImageIndex(priority, defaultIndex); }
int StatusImage(int32_t status, int defaultIndex) { return StatusImageIndex(status, defaultIndex); }
int ReminderImage(int32_t reminderType, int defaultIndex) {
  return ReminderTypeImageIndex(reminderType, defaultIndex);
}

QString ActionThemeIconName(int actionImage) {
  switch (actionImage) {
    case aiAddTask: return QStringLiteral("list-add");
    case aiDeleteTask: return QStringLiteral("edit-delete");
    case aiPrint: return QStringLiteral("document-print");
    case aiOptions: return QStringLiteral("preferences-system");
    case aiSort: return QStringLiteral("view-sort-ascending");
    case aiHelp: return QStringLiteral("help-contents");
    case aiExit: return QStringLiteral("application-exit");
    case aiFind: return QStringLiteral("edit-find");
    case aiEditTask: return QStringLiteral("document-properties");
    case aiBackup: return QStringLiteral("document-save");
    case aiExport: return QStringLiteral("document-save-as");
    case aiUndoDelete: return QStringLiteral("edit-undo");
    case aiSearchAgain: return QStringLiteral("go-next");
    case aiAbout: return QStringLiteral("help-about");
    case aiWebLink: return QStringLiteral("internet-web-browser");
    default: return {};
  }
}
