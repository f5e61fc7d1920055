// exec() for the program, handler queue for tests.
#include "ModalRunner.h"

#include "ModalHandlers.h"

#include <QDialog>
#include <QPointer>

namespace kvl {

int ModalRunner::exec(QDialog &dialog)
{
    if (ModalHandlers *handlers = ModalHandlers::active()) {
        QPointer<QDialog> guard(&dialog);
        const bool deleteOnClose = dialog.testAttribute(Qt::WA_DeleteOnClose);
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        const int result = handlers->run(dialog);
        if (deleteOnClose && guard)
            delete guard.data();
        return result;
    }
    return dialog.exec();
}

} // namespace kvl
