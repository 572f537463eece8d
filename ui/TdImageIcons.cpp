#include "ui/TdImageIcons.h"

#include "treeview/LazyTreeImageList.h"

#include <QPixmap>

QIcon ImageIcon(const TLTImageList& images, int index) {
  if (!images.IsValidIndex(index)) return {};
  return QIcon(QPixmap::fromImage(images.Image(index)));
}

TImageSource ImageSourceOf(const TLTImageList& images) {
  return [&images](int index) { return ImageIcon(images, index); };
}
