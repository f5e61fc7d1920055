// Typing any text into a widget as key events, Chinese included: QTest::keyClicks takes
// only Latin-1, so every other character comes as a key of unknown code carrying its text,
// as an input method's keys do.
#pragma once

#include <QTest>

namespace kvl::testing {

inline void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace kvl::testing
