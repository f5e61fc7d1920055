// Tool-bar buttons and separators.
#include "ToolBarButton.h"

#include "GlyphIcon.h"

#include <QFrame>
#include <QToolButton>

namespace kvl {

QToolButton *ToolBarButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setIcon(GlyphIcon::make(caption.left(1), QColor(0x1F, 0x5F, 0x9F), 20));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFixedSize(38, 38);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QFrame *ToolBarSeparator(QWidget *parent, const QString &name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

} // namespace kvl
