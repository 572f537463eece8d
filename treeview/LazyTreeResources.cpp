#include "treeview/LazyTreeResources.h"

#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeImageList.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPixmap>

#include <array>
#include <map>
#include <memory>

namespace {

struct SharedLists {
  std::array<std::unique_ptr<TLTImageList>, ckSystemFlat + 1> checks;
  std::unique_ptr<TLTImageList> utilities;
  std::map<QString, QCursor> cursors;
  qint64 paletteKey = -1;
};

SharedLists*& Lists() {
  static SharedLists* lists = nullptr;
  return lists;
}

void FreeLists() {
  delete Lists();
  Lists() = nullptr;
}

// The lists follow the palette: remapped colours and the style's indicators come from it.
SharedLists& Current() {
  SharedLists*& lists = Lists();
  if (!lists) {
    lists = new SharedLists;
    qAddPostRoutine(FreeLists);
  }
  const qint64 key = QGuiApplication::palette().cacheKey();
  if (lists->paletteKey != key) {
    for (auto& list : lists->checks) list.reset();
    lists->utilities.reset();
    lists->paletteKey = key;
  }
  return *lists;
}

}  // namespace

TLTImageList& CheckImageList(TCheckImageKind kind) {
  if (kind == ckCustom) kind = ckLightCheck;
  auto& slot = Current().checks[kind];
  if (!slot) {
    slot = std::make_unique<TLTImageList>(16, 16);
    switch (kind) {
      case ckLightCheck: LoadImageStrip(*slot, QStringLiteral("LT_CHECK_LIGHT"), true); break;
      case ckDarkCheck: LoadImageStrip(*slot, QStringLiteral("LT_CHECK_DARK"), true); break;
      case ckLightTick: LoadImageStrip(*slot, QStringLiteral("LT_TICK_LIGHT"), true); break;
      case ckDarkTick: LoadImageStrip(*slot, QStringLiteral("LT_TICK_DARK"), true); break;
      case ckFlat: LoadImageStrip(*slot, QStringLiteral("LT_FLAT"), true); break;
      case ckXP: LoadImageStrip(*slot, QStringLiteral("LT_XP"), false); break;
      case ckSystem: BuildSystemCheckImages(*slot, false, QApplication::style()); break;
      case ckSystemFlat: BuildSystemCheckImages(*slot, true, QApplication::style()); break;
      case ckCustom: break;
    }
  }
  return *slot;
}

TLTImageList& UtilityImages() {
  auto& slot = Current().utilities;
  if (!slot) {
    slot = std::make_unique<TLTImageList>(16, 16);
    LoadImageStrip(*slot, QStringLiteral("LT_UTILITIES"), true);
  }
  return *slot;
}

QCursor TreeCursor(const QString& name) {
  auto& cache = Current().cursors;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  const QImage picture = BuiltInCursorImage(name);
  QCursor cursor = picture.isNull() ? QCursor(Qt::ArrowCursor)
                                    : QCursor(QPixmap::fromImage(picture), picture.width() / 2, picture.height() / 2);
  cache.emplace(name, cursor);
  return cursor;
}
