// Display and edit text, the write into the record and the refusal of bad input.
#include "DbLineEdit.h"

#include "Formatter.h"
#include "Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace kvl {

DbLineEdit::DbLineEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_link(new DataLink(this))
{
    connect(m_link, &DataLink::refresh, this, &DbLineEdit::showValue);
    connect(m_link, &DataLink::editableChanged, this, &DbLineEdit::updateEditable);
    connect(this, &QLineEdit::textEdited, this, &DbLineEdit::onEdited);
    m_link->setCommitter([this] { return commit(); });
    updateEditable();
}

void DbLineEdit::bind(Dataset *dataset, const QString &field)
{
    m_pending = false;
    m_link->bind(dataset, field);
}

void DbLineEdit::setDisplayFormat(const QString &format)
{
    m_format = format;
    showValue(false);
}

QString DbLineEdit::editText(const Value &v) const
{
    return v.isNull() ? QString() : v.toString();
}

QString DbLineEdit::shownText(const Value &v) const
{
    const FieldDef *f = m_link->field();
    if (!f)
        return QString();
    if (hasFocus())
        return editText(v);
    QString format = m_format.isEmpty() ? f->displayFormat : m_format;
    if (format.isEmpty())
        format = defaultFormat();
    return Formatter::displayText(v, f->type, format, f->currency);
}

void DbLineEdit::showText(const QString &text)
{
    // Setting the same text again would move the cursor under the user's hands.
    if (text != QLineEdit::text())
        setText(text);
}

void DbLineEdit::showValue(bool rowMoved)
{
    // Text being typed stays until the user leaves the box, unless the record goes away.
    if (m_pending && !rowMoved)
        return;
    m_pending = false;
    const Value v = m_link->value();
    prepareFor(v);
    showText(shownText(v));
}

void DbLineEdit::updateEditable()
{
    setReadOnly(!m_link->canModify());
}

void DbLineEdit::onEdited()
{
    // Pending before the edit state comes, so its notification leaves the typed text alone.
    m_pending = true;
    if (!m_link->startEdit()) {
        // The dataset refused (its message is shown): the field's value comes back.
        m_pending = false;
        showValue(false);
        return;
    }
    if (writesWhileTyping())
        commit();
}

bool DbLineEdit::commit()
{
    if (!m_pending)
        return true;
    Value v;
    QString why;
    if (!parse(text(), &v, &why)) {
        if (!m_refusing) {
            m_refusing = true;
            const FieldDef *f = m_link->field();
            Messages::warning(f ? f->caption() + QStringLiteral("：") + why : why, window());
            m_refusing = false;
        }
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (!m_link->write(v)) {
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    m_pending = false;
    return true;
}

void DbLineEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (!m_pending)
        showValue(false);
}

void DbLineEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    // A message box or a menu takes the focus only for a moment; the edit goes on after it.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason || m_refusing)
        return;
    // A button of the same window acts on the record itself (确定 saves it, 取消 asks), and
    // the text is checked then, once, instead of here and there again.
    QWidget *to = QApplication::focusWidget();
    if (to && to != this && to->window() == window() && qobject_cast<QAbstractButton *>(to))
        return;
    if (commit())
        showValue(false);
}

void DbLineEdit::keyPressEvent(QKeyEvent *e)
{
    // Enter ends the typing as leaving the box does, also where Enter does not move on.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !commit())
        return;
    QLineEdit::keyPressEvent(e);
}

} // namespace kvl
