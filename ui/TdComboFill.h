#pragma once
// Fills a combo box with the status or priority texts and their pictures.
#include <QIcon>

#include <functional>

class QComboBox;

// The picture of an index of the shared task image list.
using TImageSource = std::function<QIcon(int imageIndex)>;

void FillStatusComboBox(QComboBox* box, const TImageSource& images);
void FillPriorityComboBox(QComboBox* box, const TImageSource& images);
