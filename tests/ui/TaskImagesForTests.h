#pragma once
// A stand-in for the task tree's image list: as many 16 x 16 squares as the real one
// has, each of its own colour, so a test can tell which picture a control shows.
#include "treeview/LazyTreeImageList.h"

#include <QColor>
#include <QIcon>
#include <QImage>

#include <memory>

constexpr int kTestTaskImageCount = 55;

inline QColor TestImageColor(int index) { return QColor(40 + index * 3, 200 - index * 2, index * 4); }

inline std::unique_ptr<TLTImageList> MakeTestTaskImages() {
  auto images = std::make_unique<TLTImageList>(16, 16);
  for (int i = 0; i < kTestTaskImageCount; ++i) {
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(TestImageColor(i));
    images->Add(square);
  }
  return images;
}

// The colour in the middle of an icon or image; invalid for a null one.
inline QColor CentreColor(const QImage& image) {
  return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}
inline QColor CentreColor(const QIcon& icon) {
  return icon.isNull() ? QColor() : CentreColor(icon.pixmap(16, 16).toImage());
}
