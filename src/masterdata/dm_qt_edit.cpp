// The code-table entry dialog: binding by table name and the pinyin code that follows
// the name.
#include "dm_qt_edit.h"

#include "AccessibleBuddy.h"
#include "CodeTables.h"
#include "Dataset.h"
#include "DbEdit.h"
#include "ZPY.h"

#include <QEvent>
#include <QLabel>

namespace kvl {

RecordEditForm TFMdm_qt_edit::form()
{
    RecordEditForm f;
    f.objectName = QStringLiteral("TFMdm_qt_edit");
    f.codeField = QStringLiteral("拼音简码");
    f.trimmed = {QStringLiteral("拼音简码")}; // and the name field, once bound
    // Entries carry no id; a refused change keeps the focus where it was.
    f.focusFirstAfterRefusedChange = false;
    using R = EditRow;
    f.rows = {
        R::make(R::Text, "RzDBEdit1", QString(), QString(), "Label3").tipColour().fixed(220),
        R::make(R::Text, "RzDBEdit2", "拼音简码", "拼音简码", "Label4").fixed(220),
    };
    return f;
}

TFMdm_qt_edit::TFMdm_qt_edit(QWidget *parent)
    : RecordEditDialog(form(), parent)
    , Label3(rowLabel(QStringLiteral("RzDBEdit1")))
    , RzDBEdit1(qobject_cast<DbEdit *>(control(QStringLiteral("RzDBEdit1"))))
    , RzDBEdit2(qobject_cast<DbEdit *>(control(QStringLiteral("RzDBEdit2"))))
{
    RzDBEdit1->installEventFilter(this);
    // An input method hands over its characters without key events of their own.
    connect(RzDBEdit1, &QLineEdit::textEdited, this, &TFMdm_qt_edit::PYKeyUp);
}

bool TFMdm_qt_edit::bindTable(const QString &table)
{
    Dataset *d = CodeTables::dataset(table);
    if (!d || !CodeTables::names().contains(table))
        return false;
    setWindowTitle(table);
    setRowField(QStringLiteral("RzDBEdit1"), table);
    RecordEditForm &f = editableForm();
    f.nameField = table;
    f.trimmed = {table, QStringLiteral("拼音简码")};
    bindRecord(d);
    FormActivate();
    return true;
}

void TFMdm_qt_edit::FormActivate()
{
    Label3->setText(windowTitle());
    AccessibleBuddy::attach(Label3, RzDBEdit1);
}

void TFMdm_qt_edit::PYKeyUp()
{
    if (!RzDBEdit1->dataLink()->canModify() || !RzDBEdit2->dataLink()->canModify())
        return;
    const QString code = GetPinyinCode(trimBlanks(RzDBEdit1->text()), pyKeepOther);
    // A key that changes nothing (an arrow, Shift) leaves the record unchanged.
    if (RzDBEdit2->dataLink()->value().toString() != code)
        RzDBEdit2->dataLink()->write(Value(code));
}

void TFMdm_qt_edit::PYRzDBEdit1Exit()
{
    if (dataset() && dataset()->modified())
        PYKeyUp();
}

bool TFMdm_qt_edit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == RzDBEdit1) {
        if (event->type() == QEvent::KeyRelease)
            PYKeyUp();
        else if (event->type() == QEvent::FocusOut)
            PYRzDBEdit1Exit();
    }
    return RecordEditDialog::eventFilter(watched, event);
}

void TFMdm_qt_edit::changeEvent(QEvent *e)
{
    RecordEditDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

} // namespace kvl
