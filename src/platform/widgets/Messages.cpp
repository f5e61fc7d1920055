// Builds every message box the same way; a MessageRecorder, when one is active, answers it.
#include "Messages.h"

#include "MessageRecorder.h"
#include "ModalRunner.h"

#include <QApplication>
#include <QPushButton>

namespace kvl {

namespace {

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Question: return QMessageBox::Question;
    case MessageKind::Information: return QMessageBox::Information;
    }
    return QMessageBox::Warning;
}

QMessageBox::StandardButtons buttonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The captions of the system's own boxes, whatever translation Qt has loaded.
void setCaptions(QMessageBox &box)
{
    const struct { QMessageBox::StandardButton button; const char *caption; } captions[] = {
        {QMessageBox::Ok, "确定"},
        {QMessageBox::Yes, "是(&Y)"},
        {QMessageBox::No, "否(&N)"},
        {QMessageBox::Cancel, "取消"},
    };
    for (const auto &c : captions) {
        if (QAbstractButton *b = box.button(c.button))
            b->setText(QString::fromUtf8(c.caption));
    }
}

} // namespace

QString Messages::title()
{
    return QStringLiteral("《Kavelo》应收应付款管理系统 3.6");
}

QString Messages::withLineBreaks(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QMessageBox::StandardButton Messages::show(MessageKind kind, const QString &text,
                                           MessageButtons buttons, QWidget *parent)
{
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(title());
    box.setIcon(iconOf(kind));
    // Texts carry user data (names, database messages); never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineBreaks(text));
    box.setStandardButtons(buttonsOf(buttons));
    box.setDefaultButton(buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::Yes);
    if (buttons == MessageButtons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    setCaptions(box);

    if (MessageRecorder *recorder = MessageRecorder::active())
        return recorder->answer(kind, box.windowTitle(), box.text(), buttons);

    ModalRunner::exec(box);
    const auto chosen = box.standardButton(box.clickedButton());
    if (chosen != QMessageBox::NoButton)
        return chosen;
    // Closed without a button (close box, Esc): the box's own escape answer.
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

void Messages::warning(const QString &text, QWidget *parent)
{
    show(MessageKind::Warning, text, MessageButtons::Ok, parent);
}

void Messages::information(const QString &text, QWidget *parent)
{
    show(MessageKind::Information, text, MessageButtons::Ok, parent);
}

QMessageBox::StandardButton Messages::question(const QString &text, QWidget *parent)
{
    return show(MessageKind::Question, text, MessageButtons::YesNo, parent);
}

bool Messages::confirm(const QString &text, QWidget *parent)
{
    return question(text, parent) == QMessageBox::Yes;
}

QMessageBox::StandardButton Messages::questionWithCancel(const QString &text, QWidget *parent)
{
    return show(MessageKind::Question, text, MessageButtons::YesNoCancel, parent);
}

} // namespace kvl
