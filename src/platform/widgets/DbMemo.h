// Data-aware memo: a multi-line text field, limited to the field's size (and to its own
// limit), written into the record on every change the user makes.
#pragma once

#include "DataLink.h"

#include <QPlainTextEdit>

namespace kvl {

class DbMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DbMemo(QWidget *parent = nullptr);

    void bind(Dataset *dataset, const QString &field);
    DataLink *dataLink() const { return m_link; }

    // The memo's own limit of characters; the field's size, when smaller, counts instead.
    void setMaxLength(int characters);
    int maxLength() const;

    // In entry dialogs Enter moves on like everywhere else; Ctrl+Enter then breaks the line.
    void setEnterMovesFocus(bool on) { m_enterMovesFocus = on; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void showValue();
    void onChanged();
    void updateEditable();

    DataLink *m_link;
    int m_maxLength = 1000;
    bool m_enterMovesFocus = false;
    bool m_showing = false;
};

} // namespace kvl
