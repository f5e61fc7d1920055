// The line over a grid cell that collects typed text.
#include "CellTypeIn.h"

#include "DataGrid.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace kvl {

CellTypeIn::CellTypeIn(DataGrid *grid, std::function<bool(int)> accepts)
    : QObject(grid)
    , m_grid(grid)
    , m_accepts(std::move(accepts))
{
    grid->installEventFilter(this);
}

void CellTypeIn::open(const QString &text)
{
    const QModelIndex cell = m_grid->currentIndex();
    if (!cell.isValid())
        return;
    auto *line = new QLineEdit(m_grid->viewport());
    line->setObjectName(QStringLiteral("CellTypeIn"));
    line->setFrame(false);
    line->setGeometry(m_grid->visualRect(cell));
    line->setText(text);
    line->installEventFilter(this);
    m_line = line;
    line->show();
    line->setFocus(Qt::OtherFocusReason);
}

void CellTypeIn::finish(bool handOver, int key)
{
    if (!m_line)
        return;
    QLineEdit *line = m_line;
    const QString text = line->text().trimmed();
    m_line = nullptr;
    line->removeEventFilter(this);
    line->setObjectName(QString());
    line->hide();
    line->deleteLater();
    m_grid->setFocus(Qt::OtherFocusReason);
    if (handOver && !text.isEmpty())
        emit typed(text, key);
}

bool CellTypeIn::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_line) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
                finish(true, key);
                return true;
            }
            if (key == Qt::Key_Escape) {
                finish(false, key);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Whatever was typed is dropped: nothing but a choice names the cell's value.
            QMetaObject::invokeMethod(this, [this] { finish(false, 0); }, Qt::QueuedConnection);
        }
        return false;
    }
    if (watched != m_grid || m_line || m_grid->isEditing() || m_grid->isReadOnly()
        || !m_accepts(m_grid->currentColumn()))
        return false;
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const QString text = key->text();
        if (mods != Qt::NoModifier || text.isEmpty() || !text.at(0).isPrint() || text.at(0).isSpace())
            return false;
        open(text);
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        const QString text = static_cast<QInputMethodEvent *>(event)->commitString();
        if (text.isEmpty())
            return false;
        open(text);
        return true;
    }
    return false;
}

} // namespace kvl
