#include "ui/TdComboFill.h"

#include "core/BTodo.h"

#include <QComboBox>

namespace {

void Fill(QComboBox* box, const TStringList& names, int (*imageOf)(int32_t, int), const TImageSource& images) {
  box->clear();
  for (const TStringItem& item : names) box->addItem(images(imageOf(item.object, -1)), item.text);
}

}  // namespace

void FillStatusComboBox(QComboBox* box, const TImageSource& images) {
  TStringList names;
  FillStatusNames(names);
  Fill(box, names, StatusImageIndex, images);
}

void FillPriorityComboBox(QComboBox* box, const TImageSource& images) {
  TStringList names;
  FillPriorityNames(names);
  Fill(box, names, PriorityImageIndex, images);
}
