// The drop-down calendar of a date box.
#include "CalendarDropDown.h"

#include "DbDateEdit.h"
#include "EditButton.h"

#include <QAction>
#include <QCalendarWidget>
#include <QTextCharFormat>

namespace kvl {

CalendarDropDown *CalendarDropDown::attach(DbDateEdit *box)
{
    return new CalendarDropDown(box);
}

CalendarDropDown::CalendarDropDown(DbDateEdit *box)
    : QObject(box)
    , m_box(box)
    , m_button(new EditButton(box))
{
    m_button->action()->setText(QStringLiteral("日历"));
    m_button->action()->setToolTip(QStringLiteral("日历 F4"));
    connect(m_button, &EditButton::clicked, this, &CalendarDropDown::dropDown);
}

void CalendarDropDown::dropDown()
{
    if (m_calendar || !m_box->dataLink()->canModify())
        return;
    auto *c = new QCalendarWidget(m_box);
    c->setWindowFlags(Qt::Popup);
    c->setAttribute(Qt::WA_DeleteOnClose);
    c->setGridVisible(true);
    QTextCharFormat today;
    today.setFontWeight(QFont::Bold);
    today.setForeground(Qt::red);
    c->setDateTextFormat(QDate::currentDate(), today);
    // Text typed but not yet written counts: the calendar opens on what the box shows.
    m_box->commit();
    const Value v = m_box->dataLink()->value();
    c->setSelectedDate(v.isNull() ? QDate::currentDate() : v.toDateTime().date());
    connect(c, &QCalendarWidget::clicked, this, &CalendarDropDown::choose);
    connect(c, &QCalendarWidget::activated, this, &CalendarDropDown::choose);
    c->adjustSize();
    c->move(m_box->mapToGlobal(QPoint(0, m_box->height())));
    m_calendar = c;
    c->show();
    c->setFocus(Qt::PopupFocusReason);
}

void CalendarDropDown::choose(const QDate &day)
{
    if (!m_calendar)
        return;
    m_calendar->close();
    m_calendar = nullptr;
    if (!m_box->dataLink()->write(Value::dateTime(day.startOfDay())))
        return;
    emit closedUp();
}

} // namespace kvl
