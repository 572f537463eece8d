#pragma once
// Pictures of an image list as icons, for the lists and combo boxes of the dialogs.
#include "ui/TdComboFill.h"

#include <QIcon>

class TLTImageList;

// The image at `index` as an icon; a null icon for an index outside the list.
QIcon ImageIcon(const TLTImageList& images, int index);
// ImageIcon on the list, which must outlive the source.
TImageSource ImageSourceOf(const TLTImageList& images);
