// Test seam of the modal runner: a queue of handlers, each receiving one modal dialog.
#pragma once

#include <QStringList>

#include <functional>

class QDialog;

namespace kvl {

class ModalHandlers
{
public:
    using Handler = std::function<void(QDialog &)>;

    // While alive, this is the scope the modal runner hands dialogs to (the innermost one when
    // scopes are nested, for example a handler that opens a scope of its own).
    ModalHandlers();
    ~ModalHandlers();
    ModalHandlers(const ModalHandlers &) = delete;
    ModalHandlers &operator=(const ModalHandlers &) = delete;

    // Handlers run in the order queued, one per dialog. A handler acts on the shown dialog
    // (findChild, QTest key and mouse events, done()) and should leave it closed; a handler
    // that clicks a button opening a nested dialog sees that dialog handled by the next
    // handler before its click returns.
    ModalHandlers &enqueue(Handler handler);
    int pending() const;

    // The objectName (or class name) of each dialog handed over, in order.
    const QStringList &shown() const;
    // Dialogs that came with no handler queued (rejected unseen), and dialogs a handler left
    // open (rejected by the runner).
    int unexpected() const;
    int leftOpen() const;

    static ModalHandlers *active();
    // Called by ModalRunner::exec.
    int run(QDialog &dialog);

private:
    ModalHandlers *m_outer;
    QList<Handler> m_handlers;
    QStringList m_shown;
    int m_unexpected = 0;
    int m_leftOpen = 0;
};

} // namespace kvl
