// Memo binding, its length limit and its Enter key.
#include "DbMemo.h"

#include <QKeyEvent>
#include <QTextBlock>

namespace kvl {

DbMemo::DbMemo(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_link(new DataLink(this))
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_link, &DataLink::refresh, this, [this] { showValue(); });
    connect(m_link, &DataLink::editableChanged, this, &DbMemo::updateEditable);
    connect(this, &QPlainTextEdit::textChanged, this, &DbMemo::onChanged);
    updateEditable();
}

void DbMemo::bind(Dataset *dataset, const QString &field)
{
    m_link->bind(dataset, field);
}

void DbMemo::setMaxLength(int characters)
{
    m_maxLength = characters;
}

int DbMemo::maxLength() const
{
    const FieldDef *f = m_link->field();
    if (f && f->type == ValueType::Text && f->size > 0)
        return std::min(m_maxLength, f->size);
    return m_maxLength;
}

void DbMemo::showValue()
{
    const Value v = m_link->value();
    const QString text = v.isNull() ? QString() : v.toString();
    if (text == toPlainText())
        return;
    m_showing = true;
    setPlainText(text);
    m_showing = false;
}

void DbMemo::updateEditable()
{
    setReadOnly(!m_link->canModify());
}

void DbMemo::onChanged()
{
    if (m_showing)
        return;
    QString text = toPlainText();
    const int limit = maxLength();
    if (text.size() > limit) {
        // What goes beyond the limit is not taken, as a one-line edit with a maximum length does.
        QTextCursor c = textCursor();
        const int at = c.position();
        text.truncate(limit);
        m_showing = true;
        setPlainText(text);
        m_showing = false;
        c = textCursor();
        c.setPosition(std::min(at, int(text.size())));
        setTextCursor(c);
    }
    if (!m_link->write(Value(text)))
        showValue();
}

void DbMemo::keyPressEvent(QKeyEvent *e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && m_enterMovesFocus) {
        if (e->modifiers() & Qt::ControlModifier) {
            insertPlainText(QStringLiteral("\n"));
            return;
        }
        if ((e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            focusNextChild();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

} // namespace kvl
