// Where a picker opens and how big: as high as the screen less 60 pixels, as wide
// as its grid's columns plus 45 (350 to 600 pixels), centred on its owner's window,
// with a close box and a maximise box.
#pragma once

class QDialog;

namespace kvl {

// 45 + the columns' widths, within 350 and 600.
int PickerWidth(int columnWidths);

// Gives `picker` the width (from PickerWidth) and the screen's height less 60 and
// centres it on its parent widget's window.
void PlacePicker(QDialog &picker, int width);

} // namespace kvl
