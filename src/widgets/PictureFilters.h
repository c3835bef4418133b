#pragma once
// The file dialogs behind the four picture file-name edits: the bitmap filter
// of the mask edit and the picture filter of the skin and button pictures.

#include "widgets/Dialogs.h"

namespace fabulor {

// "Bitmapy (*.bmp)": the mask edit.
FileDialogOptions MaskFileDialogOptions();
// The five-entry picture filter ("All", GIF, PCX, ANI, GIF again): the skin
// picture and the two button-picture edits.
FileDialogOptions PictureFileDialogOptions();

} // namespace fabulor
