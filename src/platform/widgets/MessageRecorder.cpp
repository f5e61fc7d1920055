// Queue of answers and transcript of the boxes a test has caused.
#include "MessageRecorder.h"

#include <QtGlobal>

namespace kvl {

namespace {
MessageRecorder *g_active = nullptr;

bool offers(MessageButtons buttons, QMessageBox::StandardButton b)
{
    switch (buttons) {
    case MessageButtons::Ok: return b == QMessageBox::Ok;
    case MessageButtons::YesNo: return b == QMessageBox::Yes || b == QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return b == QMessageBox::Yes || b == QMessageBox::No || b == QMessageBox::Cancel;
    }
    return false;
}

QMessageBox::StandardButton escapeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}
} // namespace

MessageRecorder::MessageRecorder()
    : m_outer(g_active)
{
    g_active = this;
}

MessageRecorder::~MessageRecorder()
{
    g_active = m_outer;
}

void MessageRecorder::queueAnswer(QMessageBox::StandardButton answer)
{
    m_answers.append(answer);
}

int MessageRecorder::pendingAnswers() const
{
    return int(m_answers.size());
}

const QList<ShownMessage> &MessageRecorder::transcript() const
{
    return m_transcript;
}

QStringList MessageRecorder::texts() const
{
    QStringList out;
    for (const ShownMessage &m : m_transcript)
        out.append(m.text);
    return out;
}

void MessageRecorder::clear()
{
    m_answers.clear();
    m_transcript.clear();
}

MessageRecorder *MessageRecorder::active()
{
    return g_active;
}

QMessageBox::StandardButton MessageRecorder::answer(MessageKind kind, const QString &title,
                                                    const QString &text, MessageButtons buttons)
{
    ShownMessage shown{kind, title, text, buttons, escapeAnswer(buttons), false};
    // An OK box needs no decision, so it never consumes an answer meant for a question.
    if (buttons != MessageButtons::Ok && !m_answers.isEmpty()) {
        const auto queued = m_answers.takeFirst();
        if (offers(buttons, queued)) {
            shown.answer = queued;
            shown.queued = true;
        } else {
            qWarning("MessageRecorder: queued answer %d is not a button of \"%s\"", int(queued),
                     qPrintable(text));
        }
    }
    m_transcript.append(shown);
    return shown.answer;
}

} // namespace kvl
