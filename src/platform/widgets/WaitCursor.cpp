// Wait-cursor guard over QGuiApplication's override-cursor stack.
#include "WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace kvl {

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace kvl
