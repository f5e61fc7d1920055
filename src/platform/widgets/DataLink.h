// The tie between one data-aware control and one field of a dataset: it follows the
// dataset's notifications, tells the control when to show the current row again,
// and writes the control's value into the row, putting the dataset into edit state first.
#pragma once

#include "Dataset.h"
#include "Value.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace kvl {

class DataLink : public QObject
{
    Q_OBJECT
public:
    // Owned by the control it serves.
    explicit DataLink(QWidget *control);

    void bind(Dataset *dataset, const QString &field);
    Dataset *dataset() const { return m_dataset; }
    const QString &fieldName() const { return m_field; }

    // The field while the dataset is open and has it; null otherwise.
    const FieldDef *field() const;
    // The current row's value; null without a row.
    Value value() const;
    // True when typing may change the field: the dataset is open, the field exists and is
    // neither read-only nor a lookup.
    bool canModify() const;
    bool editing() const;

    // Puts the dataset into edit state, as typing into a data-aware control does, and writes
    // the value. A refusal of the dataset shows its message and gives false.
    bool write(const Value &v);
    // Only the edit state (the first key typed).
    bool startEdit();

    // The control's pending text goes into the record (Delphi's UpdateRecord); false when the
    // control refused its text. Controls that write while typing have nothing pending.
    void setCommitter(std::function<bool()> committer) { m_committer = std::move(committer); }
    bool updateRecord();

    // Commits every data control inside `root` that holds text not yet written (the one
    // being typed in, or one left for a button); false at the first that refuses.
    static bool updateAll(QWidget *root);
    static DataLink *of(const QWidget *control);

signals:
    // Show the current row again. `rowMoved` is true when another row (or new rows) came,
    // false when only values of the same row changed.
    void refresh(bool rowMoved);
    // Whether the control may be typed into has changed.
    void editableChanged();

private:
    void connectDataset();
    void onRowChanged(int index);

    QWidget *m_control;
    QPointer<Dataset> m_dataset;
    QString m_field;
    bool m_writing = false;
    std::function<bool()> m_committer;
    QList<QMetaObject::Connection> m_links;
};

} // namespace kvl
