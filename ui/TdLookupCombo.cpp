#include "ui/TdLookupCombo.h"

#include "core/BCat.h"
#include "core/BType.h"

#include <QComboBox>

namespace {

template <typename Handler>
void Fill(QComboBox* box, const Handler& handler, int defaultImage, const TImageSource& images) {
  box->clear();
  for (const auto& entry : handler.Items())
    box->addItem(images(entry->ImageIndex == -1 ? defaultImage : entry->ImageIndex), entry->Name);
}

}  // namespace

void FillComboBox(QComboBox* box, const TTdCategoryHandler& categories, int defaultImage, const TImageSource& images) {
  Fill(box, categories, defaultImage, images);
}

void FillComboBox(QComboBox* box, const TTdTypeHandler& types, int defaultImage, const TImageSource& images) {
  Fill(box, types, defaultImage, images);
}
