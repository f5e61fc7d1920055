// Plain button edit.
#include "ButtonEdit.h"

#include "EditButton.h"

namespace kvl {

ButtonEdit::ButtonEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_button(new EditButton(this))
{
    connect(m_button, &EditButton::clicked, this, &ButtonEdit::buttonClicked);
}

void ButtonEdit::setEnterTriggers(bool on)
{
    m_button->setEnterTriggers(on);
}

} // namespace kvl
