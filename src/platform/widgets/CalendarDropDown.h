// A calendar that drops down from a data-aware date box: its button (click, F4,
// double click) shows a month view on the box's date; choosing a day writes it
// into the field and closes the calendar up.
#pragma once

#include <QObject>
#include <QPointer>

#include <QCalendarWidget>

namespace kvl {

class DbDateEdit;
class EditButton;

class CalendarDropDown : public QObject
{
    Q_OBJECT
public:
    // Owned by the box.
    static CalendarDropDown *attach(DbDateEdit *box);

    EditButton *button() const { return m_button; }
    // The month view while it is dropped down, else null.
    QCalendarWidget *calendar() const { return m_calendar; }
    void dropDown();

signals:
    // The calendar closed after a day was chosen (the field holds it).
    void closedUp();

private:
    explicit CalendarDropDown(DbDateEdit *box);
    void choose(const QDate &day);

    DbDateEdit *m_box;
    EditButton *m_button;
    QPointer<QCalendarWidget> m_calendar;
};

} // namespace kvl
