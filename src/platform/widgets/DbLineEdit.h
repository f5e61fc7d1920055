// The one-line data-aware edit the text, numeric and date edits share: it shows the
// current row's value in the field's display format while it has no focus and the raw
// value while it is being edited, and turns typed text into the field's value.
#pragma once

#include "DataLink.h"

#include <QLineEdit>

namespace kvl {

class DbLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DbLineEdit(QWidget *parent = nullptr);

    void bind(Dataset *dataset, const QString &field);
    DataLink *dataLink() const { return m_link; }

    // Overrides the field's display format for this control ("" keeps the field's).
    void setDisplayFormat(const QString &format);
    QString displayFormat() const { return m_format; }

    // Writes text typed since the last write into the record; false after a refusal
    // (its message shown, the text left as typed and the focus back here).
    bool commit();
    bool hasPendingText() const { return m_pending; }

protected:
    // Typed text to the field's value; false with the reason in `error`.
    virtual bool parse(const QString &text, Value *out, QString *error) const = 0;
    // The text that stands in the box while it is being edited.
    virtual QString editText(const Value &v) const;
    // The format used when neither this control nor the field sets one.
    virtual QString defaultFormat() const { return QString(); }
    // Text edits write on every key; numbers and dates when the user leaves the box.
    virtual bool writesWhileTyping() const { return false; }
    // Called before showing a value; the text edit sizes its length limit here.
    virtual void prepareFor(const Value &) {}

    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void showValue(bool rowMoved);
    void showText(const QString &text);
    void onEdited();
    void updateEditable();
    QString shownText(const Value &v) const;

    DataLink *m_link;
    QString m_format;
    bool m_pending = false;
    bool m_refusing = false;
};

} // namespace kvl
