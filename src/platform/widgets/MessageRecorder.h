// Test seam of the message boxes: while one is alive, boxes are answered from its queue
// and written to its transcript instead of being shown.
#pragma once

#include "Messages.h"

#include <QList>
#include <QStringList>

namespace kvl {

struct ShownMessage
{
    MessageKind kind;
    QString title;
    QString text;                        // as the box shows it, line breaks as '\n'
    MessageButtons buttons;
    QMessageBox::StandardButton answer;
    bool queued;                         // false: no answer was queued, the default was taken
};

class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    // Answers are taken in order. With none queued, an OK box gets OK, a Yes/No box No and a
    // Yes/No/Cancel box Cancel, and the entry says it was not queued.
    void queueAnswer(QMessageBox::StandardButton answer);
    int pendingAnswers() const;

    const QList<ShownMessage> &transcript() const;
    QStringList texts() const;
    void clear();

    // The innermost recorder alive, or null.
    static MessageRecorder *active();

    // Called by Messages::show.
    QMessageBox::StandardButton answer(MessageKind kind, const QString &title,
                                       const QString &text, MessageButtons buttons);

private:
    MessageRecorder *m_outer;
    QList<QMessageBox::StandardButton> m_answers;
    QList<ShownMessage> m_transcript;
};

} // namespace kvl
