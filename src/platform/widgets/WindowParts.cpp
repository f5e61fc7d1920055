// The controls working windows share.
#include "WindowParts.h"

#include <QCalendarWidget>
#include <QDate>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QTextCharFormat>
#include <QToolButton>

namespace kvl {

QLabel *MakeTitleLabel(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    l->setFont(f);
    return l;
}

QToolButton *MakeToolButton(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                            const QKeySequence &key)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    b->setMinimumWidth(56);
    if (!key.isEmpty())
        b->setShortcut(key);
    return b;
}

QWidget *MakeToolSeparator(QWidget *parent, const char *name)
{
    auto *sep = new QFrame(parent);
    sep->setObjectName(QString::fromLatin1(name));
    sep->setFrameShape(QFrame::VLine);
    sep->setFrameShadow(QFrame::Sunken);
    return sep;
}

QDateEdit *MakeDatePicker(QWidget *parent, const char *name)
{
    auto *d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    QTextCharFormat today;
    today.setFontWeight(QFont::Bold);
    today.setForeground(Qt::red);
    d->calendarWidget()->setDateTextFormat(QDate::currentDate(), today);
    return d;
}

} // namespace kvl
