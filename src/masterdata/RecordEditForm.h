// What one record dialog consists of, as data: its title, dataset, the rows of labels and
// data controls in tab order, the fields trimmed before saving, the id counter and the
// pinyin button. The partner, goods, staff and code-table dialogs differ only here.
#pragma once

#include "PhCounters.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kvl {

class Dataset;

struct EditRow
{
    enum Kind { Text, Pick, Numeric, Check, Memo };

    Kind kind = Text;
    QString objectName;        // RzDBEdit1, splb, RzDBNumericEdit1, RzDBCheckBox1, RzDBMemo1
    QString field;             // the dataset field the control edits
    QString label;             // the caption beside it; for a check box its own text
    QString labelName;         // objectName of the label; empty: none given
    QString labelHint;         // tool tip of the label
    bool highlighted = false;  // code and name fields: the background of tool tips
    bool besidePrevious = false; // stands on the previous row, right of its control
    int width = 0;             // fixed width in pixels; 0: as wide as the row allows
    QString displayFormat;     // overrides the field's format (numeric edits)

    static EditRow make(Kind kind, const QString &objectName, const QString &field, const QString &label,
                        const QString &labelName = QString())
    {
        EditRow r;
        r.kind = kind;
        r.objectName = objectName;
        r.field = field;
        r.label = label;
        r.labelName = labelName;
        return r;
    }
    EditRow &tipColour() { highlighted = true; return *this; }
    EditRow &fixed(int pixels) { width = pixels; return *this; }
    EditRow &hint(const QString &text) { labelHint = text; return *this; }
    EditRow &beside() { besidePrevious = true; return *this; }
    EditRow &format(const QString &f) { displayFormat = f; return *this; }
};

struct RecordEditForm
{
    QString objectName;        // TFMdm_wldw_edit
    QString title;             // 往来单位
    std::function<Dataset *()> dataset; // the shared dataset; may be bound later
    QString codeField;         // where the pinyin button writes
    QString nameField;         // what it reads
    QStringList trimmed;       // blanks removed at both ends before saving
    std::optional<NumberedRow> counter; // new records take their id from PH; none: no id
    QString pinyinCaption;     // caption of SpeedButton3; empty: no pinyin button
    // After a refused change of an existing record the focus goes back to the first box.
    bool focusFirstAfterRefusedChange = true;
    QList<EditRow> rows;
};

} // namespace kvl
