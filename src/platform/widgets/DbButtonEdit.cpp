// Data-aware button edit.
#include "DbButtonEdit.h"

#include "EditButton.h"

namespace kvl {

DbButtonEdit::DbButtonEdit(QWidget *parent)
    : DbEdit(parent)
    , m_button(new EditButton(this))
{
    connect(m_button, &EditButton::clicked, this, [this] {
        if (dataLink()->canModify())
            emit buttonClicked();
    });
}

void DbButtonEdit::setEnterTriggers(bool on)
{
    m_button->setEnterTriggers(on);
}

} // namespace kvl
