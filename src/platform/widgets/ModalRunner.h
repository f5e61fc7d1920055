// Every modal dialog of the program is run through here, so tests can drive nested dialogs.
#pragma once

class QDialog;

namespace kvl {

class ModalRunner
{
public:
    // Runs the dialog modally and returns its result (a ModalResult code or QDialog's).
    // With a ModalHandlers scope alive, the dialog is shown and handed to the next queued
    // handler instead of entering a nested event loop. A dialog with Qt::WA_DeleteOnClose is
    // deleted afterwards, as QDialog::exec() does.
    static int exec(QDialog &dialog);
};

} // namespace kvl
