// The shared pattern of the master-data edit dialogs: data controls bound to the current
// record of a shared dataset, Enter as Tab, saving with the id from PH in one transaction
// and a series of new records, the questions before a changed record is left, previous and
// next record, and the pinyin button.
#pragma once

#include "RecordEditForm.h"

#include <QDialog>
#include <QHash>

class QLabel;
class QPushButton;
class QToolButton;

namespace kvl {

class Dataset;
class DbButtonEdit;

class RecordEditDialog : public QDialog
{
    Q_OBJECT
public:
    ~RecordEditDialog() override;

    Dataset *dataset() const { return m_dataset; }
    const RecordEditForm &form() const { return m_form; }

    // What the list windows do before showing the dialog. Adding: a new empty record,
    // SpeedButton1 and SpeedButton2 disabled. Changing: the current record in edit state and
    // the data controls (with the pinyin button) enabled as `editable` says; false, and
    // nothing done, on an empty dataset.
    void startAdding();
    bool startChanging(bool editable);
    // The same, then shown through the modal runner; the close code comes back
    // (mrNone when there was no record to change).
    int runAdding();
    int runChanging(bool editable);

    void setDataControlsEnabled(bool enabled);

    // Writes the current record; true: the dialog may close.
    bool SaveRecord();
    // Settles unsaved changes with the user; true: the record may be left.
    bool CanLeaveRecord();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

    // The data control of a row, by its objectName.
    QWidget *control(const QString &objectName) const { return m_controls.value(objectName); }
    QWidget *firstControl() const;
    // The data control that edits `field`.
    QWidget *controlFor(const QString &field) const;

    // RzBitBtn1: mrOk through SaveRecord; everything else (RzBitBtn2 and Esc mrAbort, the
    // close box mrCancel) through CanLeaveRecord. The dialog closes only when they agree.
    void done(int result) override;
    void reject() override;

    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr; // null without a pinyin button
    QPushButton *RzBitBtn1 = nullptr;
    QPushButton *RzBitBtn2 = nullptr;

protected:
    RecordEditDialog(RecordEditForm form, QWidget *parent);

    // Binds every data control to `dataset` (the code-table dialog binds at run time).
    void bindRecord(Dataset *dataset);
    void setRowField(const QString &objectName, const QString &field);
    RecordEditForm &editableForm() { return m_form; }
    // Blanks as the program trims them: spaces and control characters at both ends.
    static QString trimBlanks(const QString &s);
    QLabel *rowLabel(const QString &objectName) const { return m_labels.value(objectName); }

    // A pick field's button, F4, Enter or double click.
    virtual void pickButtonClicked(DbButtonEdit *edit);

    void showEvent(QShowEvent *e) override;

private:
    void build();
    void updateMoveButtons();
    void moveTo(bool previous);
    void trimFields();
    void focusFirst();
    bool editing() const;

    RecordEditForm m_form;
    Dataset *m_dataset = nullptr;
    QHash<QString, QWidget *> m_controls;
    QHash<QString, QLabel *> m_labels;
    QList<QWidget *> m_order;
};

} // namespace kvl
