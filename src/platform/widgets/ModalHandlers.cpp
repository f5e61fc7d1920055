// Shows a dialog for real (offscreen in tests) and lets the next queued handler drive it.
#include "ModalHandlers.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace kvl {

namespace {
ModalHandlers *g_active = nullptr;

QString nameOf(const QDialog &dialog)
{
    return dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                         : dialog.objectName();
}
} // namespace

ModalHandlers::ModalHandlers()
    : m_outer(g_active)
{
    g_active = this;
}

ModalHandlers::~ModalHandlers()
{
    g_active = m_outer;
}

ModalHandlers &ModalHandlers::enqueue(Handler handler)
{
    m_handlers.append(std::move(handler));
    return *this;
}

int ModalHandlers::pending() const
{
    return int(m_handlers.size());
}

const QStringList &ModalHandlers::shown() const
{
    return m_shown;
}

int ModalHandlers::unexpected() const
{
    return m_unexpected;
}

int ModalHandlers::leftOpen() const
{
    return m_leftOpen;
}

ModalHandlers *ModalHandlers::active()
{
    return g_active;
}

int ModalHandlers::run(QDialog &dialog)
{
    m_shown.append(nameOf(dialog));
    if (m_handlers.isEmpty()) {
        ++m_unexpected;
        qWarning("ModalHandlers: no handler queued for dialog %s", qPrintable(nameOf(dialog)));
        dialog.setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    const Handler handler = m_handlers.takeFirst();

    // Shown and active as under exec(), so focus, key events and findChild behave as for a user.
    QPointer<QWidget> previous = QApplication::activeWindow();
    QPointer<QDialog> guard(&dialog);
    dialog.setResult(0);
    dialog.setModal(true);
    dialog.show();
    QApplication::setActiveWindow(&dialog);

    handler(dialog);

    if (!guard)
        return QDialog::Rejected;
    if (dialog.isVisible()) {
        ++m_leftOpen;
        qWarning("ModalHandlers: handler left dialog %s open", qPrintable(nameOf(dialog)));
        dialog.setResult(QDialog::Rejected);
        dialog.hide();
    }
    if (previous && previous->isVisible())
        QApplication::setActiveWindow(previous);
    return dialog.result();
}

} // namespace kvl
