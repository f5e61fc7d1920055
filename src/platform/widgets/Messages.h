// The one way the program shows a message box: its title, icon, buttons and line breaks.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace kvl {

enum class MessageKind { Warning, Question, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };

class Messages
{
public:
    // "《Kavelo》应收应付款管理系统 3.6": the title of every box and of the main window.
    static QString title();

    // Messages are written with a single carriage return per line break.
    static QString withLineBreaks(const QString &text);

    // Shows the box modally (or answers it from an active MessageRecorder) and returns the
    // button chosen. Without a parent the box centres on the active window.
    static QMessageBox::StandardButton show(MessageKind kind, const QString &text,
                                            MessageButtons buttons, QWidget *parent = nullptr);

    // Refusals and errors: warning icon, OK.
    static void warning(const QString &text, QWidget *parent = nullptr);
    static void information(const QString &text, QWidget *parent = nullptr);
    // Confirmations: question icon, Yes/No; Yes or No comes back.
    static QMessageBox::StandardButton question(const QString &text, QWidget *parent = nullptr);
    static bool confirm(const QString &text, QWidget *parent = nullptr);
    // Save/discard/stay: question icon, Yes/No/Cancel.
    static QMessageBox::StandardButton questionWithCancel(const QString &text,
                                                          QWidget *parent = nullptr);
};

} // namespace kvl
