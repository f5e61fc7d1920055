// Centring a dialog on the main window.
#include "CentreOnMainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace kvl {

void CentreOnMainWindow(QWidget *dialog)
{
    QWidget *anchor = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    if (!anchor)
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != dialog && w->isVisible() && !qobject_cast<QDialog *>(w) && w->isWindow()) {
                anchor = w;
                break;
            }
    if (anchor && anchor != dialog)
        dialog->move(anchor->frameGeometry().center()
                     - QPoint(dialog->frameGeometry().width() / 2, dialog->frameGeometry().height() / 2));
}

} // namespace kvl
