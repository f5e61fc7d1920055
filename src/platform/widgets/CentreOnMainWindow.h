// Where the program's dialogs appear: centred on the window the user works in.
#pragma once

class QWidget;

namespace kvl {

// Centres `dialog` on its parent's window or, without a parent, on the first
// visible top-level window that is not a dialog (the main window). Call it once
// the dialog is shown, so its frame has its final size.
void CentreOnMainWindow(QWidget *dialog);

} // namespace kvl
