#pragma once
// Fills a combo box with every category or type, entry 0 included, each with its picture.
#include "ui/TdComboFill.h"

class TTdCategoryHandler;
class TTdTypeHandler;

// An entry without an image (-1) shows defaultImage.
void FillComboBox(QComboBox* box, const TTdCategoryHandler& categories, int defaultImage, const TImageSource& images);
void FillComboBox(QComboBox* box, const TTdTypeHandler& types, int defaultImage, const TImageSource& images);
